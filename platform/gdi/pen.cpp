// Pen creation.
#include "platform/gdi/pen.h"

#include <climits>

#include "platform/gdi/gdi.h"
#include "platform/gdi/trace.h"

using namespace brimlox::gdi;

namespace brimlox::gdi {

PenObject* LookupPen(HGDIOBJ handle) {
    GdiObject* o = HandleTable::Instance().Lookup(handle);
    if (!o || (o->Kind() != ObjectKind::Pen && o->Kind() != ObjectKind::ExtPen)) return nullptr;
    return static_cast<PenObject*>(o);
}

}  // namespace brimlox::gdi

namespace {
HPEN AddPen(std::unique_ptr<PenObject> p) {
    return static_cast<HPEN>(HandleTable::Instance().Add(std::move(p)));
}

// The rules ExtCreatePen checks before it makes a pen (checked against Windows): a cosmetic
// pen is exactly one unit wide with a solid brush (its end cap and join bits are ignored);
// PS_ALTERNATE is cosmetic only; PS_USERSTYLE needs 1..16 entries and no other style takes any.
bool ExtPenArgumentsValid(DWORD style, DWORD width, const LOGBRUSH& brush, DWORD styleCount, const DWORD* styles) {
    DWORD type = style & PS_TYPE_MASK;
    DWORD kind = style & PS_STYLE_MASK;
    if (type != PS_COSMETIC && type != PS_GEOMETRIC) return false;
    if (type == PS_COSMETIC && (width != 1 || brush.lbStyle != BS_SOLID)) return false;
    if (kind > PS_ALTERNATE || (kind == PS_ALTERNATE && type != PS_COSMETIC)) return false;
    if ((kind == PS_USERSTYLE) != (styleCount > 0) || styleCount > 16 || (styleCount && !styles)) return false;
    if (type == PS_GEOMETRIC && ((style & PS_ENDCAP_MASK) > PS_ENDCAP_FLAT || (style & PS_JOIN_MASK) > PS_JOIN_MITER))
        return false;
    return true;
}
}  // namespace

HPEN CreatePen(int style, int width, COLORREF color) {
    TraceCall tc("CreatePen");
    if (tc) tc.Args(style, width, color);
    // Styles Windows does not know for CreatePen make solid pens rather than failing
    // (checked against Windows: 7, 8, 9, 15, 16 and -1 all give PS_SOLID).
    if (style < PS_SOLID || style > PS_INSIDEFRAME) style = PS_SOLID;
    auto p = std::make_unique<PenObject>(false);
    p->styleBits = static_cast<DWORD>(style);
    // Negative widths count as their magnitude. A styled pen wider than one pixel keeps its
    // style for GetObject but draws solid (the line painter decides that).
    p->width = width < 0 ? (width == INT_MIN ? INT_MAX : -width) : width;
    p->color = color & 0xFFFFFF;
    p->brush.lbStyle = BS_SOLID;
    p->brush.lbColor = p->color;
    return tc.Return(AddPen(std::move(p)));
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
    if (!lp) return nullptr;
    return CreatePen(static_cast<int>(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles) {
    TraceCall tc("ExtCreatePen");
    if (tc) tc.Args(style, width, brush, styleCount, std::span<const DWORD>(styles, styles && styleCount <= 16 ? styleCount : 0));
    if (!brush || !ExtPenArgumentsValid(style, width, *brush, styleCount, styles))
        return tc.Return(static_cast<HPEN>(nullptr));
    auto p = std::make_unique<PenObject>(true);
    // A cosmetic pen has no end caps or joins: those bits are dropped.
    p->styleBits = (style & PS_TYPE_MASK) == PS_COSMETIC ? (style & PS_STYLE_MASK) : style;
    p->width = static_cast<int>(width > 0x7FFF ? 0x7FFF : width);
    p->brush = *brush;
    p->color = brush->lbColor & 0xFFFFFF;
    if (styleCount) p->userStyle.assign(styles, styles + styleCount);
    return tc.Return(AddPen(std::move(p)));
}

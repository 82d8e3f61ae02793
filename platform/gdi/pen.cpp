// Pen creation.
#include "platform/gdi/pen.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/trace.h"

using namespace brimlox::gdi;

namespace {
HPEN AddPen(std::unique_ptr<PenObject> p) {
    return static_cast<HPEN>(HandleTable::Instance().Add(std::move(p)));
}
}  // namespace

HPEN CreatePen(int style, int width, COLORREF color) {
    TraceCall tc("CreatePen");
    if (tc) tc.Args(style, width, color);
    if (style < PS_SOLID || style > PS_INSIDEFRAME) return tc.Return(static_cast<HPEN>(nullptr));
    auto p = std::make_unique<PenObject>(false);
    p->styleBits = static_cast<DWORD>(style);
    // Negative widths count as their magnitude; styled pens wider than one pixel are solid.
    p->width = width < 0 ? -width : width;
    if (p->width > 1 && style >= PS_DASH && style <= PS_DASHDOTDOT) p->styleBits = PS_SOLID;
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
    if (tc) tc.Args(style, width, brush, styleCount, std::span<const DWORD>(styles, styles ? styleCount : 0));
    if (!brush) return tc.Return(static_cast<HPEN>(nullptr));
    DWORD type = style & PS_TYPE_MASK;
    DWORD kind = style & PS_STYLE_MASK;
    if (type != PS_COSMETIC && type != PS_GEOMETRIC) return tc.Return(static_cast<HPEN>(nullptr));
    // A cosmetic pen is one pixel wide, takes a solid colour, and has no caps or joins.
    if (type == PS_COSMETIC && (width != 1 || brush->lbStyle != BS_SOLID ||
                                (style & (PS_ENDCAP_MASK | PS_JOIN_MASK)) != 0))
        return tc.Return(static_cast<HPEN>(nullptr));
    if (kind > PS_ALTERNATE || (kind == PS_ALTERNATE && type != PS_COSMETIC) ||
        (kind == PS_USERSTYLE) != (styleCount > 0) || (styleCount > 16) || (styleCount && !styles))
        return tc.Return(static_cast<HPEN>(nullptr));
    if ((style & PS_ENDCAP_MASK) > PS_ENDCAP_FLAT || (style & PS_JOIN_MASK) > PS_JOIN_MITER)
        return tc.Return(static_cast<HPEN>(nullptr));
    auto p = std::make_unique<PenObject>(true);
    p->styleBits = style;
    p->width = static_cast<int>(width > 0x7FFF ? 0x7FFF : width);
    p->brush = *brush;
    p->color = brush->lbColor & 0xFFFFFF;
    return tc.Return(AddPen(std::move(p)));
}

// Brush creation.
#include "platform/gdi/brush.h"

#include "platform/gdi/bitmap.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/trace.h"

namespace brimlox::gdi {

COLORREF BrushObject::EffectiveColor() const {
    return sysColorIndex >= 0 ? GetSysColor(sysColorIndex) : color;
}

bool HatchBit(int hatch, int x, int y) {
    x &= 7;
    y &= 7;
    switch (hatch) {
        // Checked against Windows: the horizontal line is row 3 and the vertical one column 4
        // of the 8x8 cell; the diagonals pass through the cell's corners.
        case HS_HORIZONTAL: return y == 3;
        case HS_VERTICAL: return x == 4;
        case HS_FDIAGONAL: return x == y;
        case HS_BDIAGONAL: return x + y == 7;
        case HS_CROSS: return y == 3 || x == 4;
        case HS_DIAGCROSS: return x == y || x + y == 7;
        default: return false;
    }
}

namespace {

HBRUSH AddBrush(std::unique_ptr<BrushObject> b) {
    return static_cast<HBRUSH>(HandleTable::Instance().Add(std::move(b)));
}

HBRUSH MakePatternBrush(HBITMAP bitmap) {
    auto* bmp = HandleTable::Instance().Get<BitmapObject>(bitmap);
    if (!bmp) return nullptr;
    auto b = std::make_unique<BrushObject>();
    b->style = BS_PATTERN;
    const Surface& s = *bmp->surface;
    b->patternMono = s.Format() == PixelFormat::Mono1;
    // Windows uses the top-left 8x8 cell of the bitmap, repeating smaller bitmaps.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) b->pattern[y * 8 + x] = s.Get(x % s.Width(), y % s.Height());
    return AddBrush(std::move(b));
}

}  // namespace

}  // namespace brimlox::gdi

using namespace brimlox::gdi;

HBRUSH CreateSolidBrush(COLORREF color) {
    TraceCall tc("CreateSolidBrush");
    if (tc) tc.Args(color);
    auto b = std::make_unique<BrushObject>();
    b->style = BS_SOLID;
    b->color = color & 0xFFFFFF;
    return tc.Return(AddBrush(std::move(b)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    TraceCall tc("CreateHatchBrush");
    if (tc) tc.Args(hatch, color);
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return tc.Return(static_cast<HBRUSH>(nullptr));
    auto b = std::make_unique<BrushObject>();
    b->style = BS_HATCHED;
    b->hatch = hatch;
    b->color = color & 0xFFFFFF;
    return tc.Return(AddBrush(std::move(b)));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    TraceCall tc("CreatePatternBrush");
    if (tc) tc.Args(bitmap);
    return tc.Return(MakePatternBrush(bitmap));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
    TraceCall tc("CreateBrushIndirect");
    if (tc) tc.Args(lb);
    if (!lb) return tc.Return(static_cast<HBRUSH>(nullptr));
    switch (lb->lbStyle) {
        case BS_SOLID: {
            auto b = std::make_unique<BrushObject>();
            b->color = lb->lbColor & 0xFFFFFF;
            return tc.Return(AddBrush(std::move(b)));
        }
        case BS_NULL: return tc.Return(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
        case BS_HATCHED: {
            int hatch = static_cast<int>(lb->lbHatch);
            if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return tc.Return(static_cast<HBRUSH>(nullptr));
            auto b = std::make_unique<BrushObject>();
            b->style = BS_HATCHED;
            b->hatch = hatch;
            b->color = lb->lbColor & 0xFFFFFF;
            return tc.Return(AddBrush(std::move(b)));
        }
        case BS_PATTERN:
            return tc.Return(MakePatternBrush(HandleFromValue<HBITMAP>(static_cast<std::uint32_t>(lb->lbHatch))));
        default: return tc.Return(static_cast<HBRUSH>(nullptr));
    }
}

HBRUSH GetSysColorBrush(int index) {
    static HBRUSH brushes[SYSCOLOR_COUNT] = {};
    if (index < 0 || index >= SYSCOLOR_COUNT) return nullptr;
    if (!brushes[index]) {
        auto b = std::make_unique<BrushObject>();
        b->sysColorIndex = index;
        b->MarkStock();
        brushes[index] = AddBrush(std::move(b));
    }
    return brushes[index];
}

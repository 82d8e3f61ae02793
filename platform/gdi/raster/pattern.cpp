#include "platform/gdi/raster/pattern.h"

#include "platform/gdi/brush.h"

namespace brimlox::gdi::raster {

bool BrushPattern::FullyOpaque() const {
    if (solid) return true;
    for (bool o : opaque)
        if (!o) return false;
    return true;
}

std::uint32_t DeviceColor(const Surface& target, COLORREF color) {
    if (target.Format() != PixelFormat::Mono1) return ToPixel(color);
    int sum = GetRValue(color) + GetGValue(color) + GetBValue(color);
    return sum >= 384 ? 0xFFFFFF : 0;
}

namespace {

void RealizeHatch(const DcObject& dc, const BrushObject& b, const Surface& target, BrushPattern& p) {
    std::uint32_t fore = DeviceColor(target, b.color);
    std::uint32_t back = DeviceColor(target, dc.bkColor);
    bool transparentBack = dc.bkMode == TRANSPARENT;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            bool line = HatchBit(b.hatch, x, y);
            p.values[y * 8 + x] = line ? fore : back;
            p.opaque[y * 8 + x] = line || !transparentBack;
        }
    }
}

void RealizePattern(const DcObject& dc, const BrushObject& b, const Surface& target, BrushPattern& p) {
    for (int i = 0; i < 64; ++i) {
        std::uint32_t v = b.pattern[i];
        if (b.patternMono) {
            // A mono pattern takes the DC's text colour for 0 bits and background for 1 bits.
            v = DeviceColor(target, v ? dc.bkColor : dc.textColor);
        } else if (target.Format() == PixelFormat::Mono1) {
            v = DeviceColor(target, ToColorRef(v));
        }
        p.values[i] = v;
        p.opaque[i] = true;
    }
}

}  // namespace

BrushPattern RealizeBrush(const DcObject& dc, HBRUSH handle) {
    BrushPattern p;
    const Surface* target = dc.Target();
    const auto* b = HandleTable::Instance().Get<BrushObject>(handle);
    if (!target || !b || b->style == BS_NULL) return p;
    p.null = false;
    p.originX = dc.origin.x + dc.brushOrg.x;
    p.originY = dc.origin.y + dc.brushOrg.y;
    switch (b->style) {
        case BS_HATCHED:
            RealizeHatch(dc, *b, *target, p);
            break;
        case BS_PATTERN:
            RealizePattern(dc, *b, *target, p);
            break;
        default: {
            COLORREF c = b->dcBrush ? dc.dcBrushColor : b->EffectiveColor();
            p.solid = true;
            p.solidValue = DeviceColor(*target, c);
            break;
        }
    }
    return p;
}

}  // namespace brimlox::gdi::raster

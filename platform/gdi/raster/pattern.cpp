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
    if (target.Format() != PixelFormat::Mono1) return target.FromRgb(ToPixel(color));
    // The nearer of black and white: white when R + G + B exceeds 382.5.
    int sum = GetRValue(color) + GetGValue(color) + GetBValue(color);
    return sum >= 383 ? 0xFFFFFF : 0;
}

std::uint32_t DrawingColor(const Surface& target, COLORREF color, COLORREF back) {
    if (target.Format() != PixelFormat::Indexed || target.BitsPerPixel() != 1) return DeviceColor(target, color);
    const auto& table = target.Colours();
    for (std::uint32_t i = 0; i < 2; ++i)
        if (table[i] == ToPixel(color)) return i;
    const std::uint32_t backValue = DeviceColor(target, back);
    return (color & 0xFFFFFF) == (back & 0xFFFFFF) ? backValue : backValue ^ 1u;
}

namespace {

// Ordered-dither thresholds of brush colours on mono targets, by pattern cell: a cell is
// white when the colour's brightness (30 R + 59 G + 11 B) / 100 reaches its threshold.
// Measured cell by cell with grey brushes on Windows; the cells follow the brush origin.
constexpr std::uint8_t kDither[8][8] = {
    {254, 126, 222, 94, 246, 118, 214, 86},  {62, 190, 30, 158, 54, 182, 22, 150},
    {206, 78, 238, 110, 198, 70, 230, 102},  {14, 142, 46, 174, 6, 134, 38, 166},
    {242, 114, 210, 82, 250, 122, 218, 90},  {50, 178, 18, 146, 58, 186, 26, 154},
    {194, 66, 226, 98, 202, 74, 234, 106},   {2, 130, 34, 162, 10, 138, 42, 170},
};

int Brightness(COLORREF c) { return (30 * GetRValue(c) + 59 * GetGValue(c) + 11 * GetBValue(c)) / 100; }

std::uint32_t DitherCell(COLORREF c, int cell) {
    return Brightness(c) >= kDither[cell >> 3][cell & 7] ? 0xFFFFFFu : 0u;
}

bool IsBlackOrWhite(COLORREF c) { return c == RGB(0, 0, 0) || c == RGB(255, 255, 255); }

// A hatch on a mono target keeps its lines visible: equal colours map to the nearer of black
// and white; otherwise an exact black or white line colour is kept and the background takes
// the other value, and any other line colour is the opposite of the background's nearest.
void MonoHatchValues(const Surface& target, COLORREF line, COLORREF back, std::uint32_t& fore, std::uint32_t& bg) {
    if (line == back) {
        fore = bg = DeviceColor(target, line);
    } else if (IsBlackOrWhite(line)) {
        fore = DeviceColor(target, line);
        bg = fore ^ 0xFFFFFFu;
    } else {
        bg = DeviceColor(target, back);
        fore = bg ^ 0xFFFFFFu;
    }
}

void RealizeHatch(const DcObject& dc, const BrushObject& b, const Surface& target, BrushPattern& p) {
    std::uint32_t fore = DeviceColor(target, b.color);
    std::uint32_t back = DeviceColor(target, dc.bkColor);
    if (target.Format() == PixelFormat::Mono1) MonoHatchValues(target, b.color, dc.bkColor, fore, back);
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
    const bool monoTarget = target.Format() == PixelFormat::Mono1;
    for (int i = 0; i < 64; ++i) {
        std::uint32_t v = b.pattern[i];
        if (b.patternMono && !monoTarget) {
            // A mono pattern takes the DC's text colour for 0 bits and background for 1 bits;
            // on a mono target its bits are copied as they are.
            v = DeviceColor(target, v ? dc.bkColor : dc.textColor);
        } else if (!b.patternMono && monoTarget) {
            // A colour pattern is dithered on a mono target, cell by cell.
            v = DitherCell(ToColorRef(v), i);
        }
        p.values[i] = v;
        p.opaque[i] = true;
    }
}

// A solid brush on a mono target becomes an 8x8 dither of black and white.
void RealizeMonoSolid(COLORREF c, BrushPattern& p) {
    bool uniform = true;
    for (int i = 0; i < 64; ++i) {
        p.values[i] = DitherCell(c, i);
        p.opaque[i] = true;
        uniform = uniform && p.values[i] == p.values[0];
    }
    if (uniform) {
        p.solid = true;
        p.solidValue = p.values[0];
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
            if (target->Format() == PixelFormat::Mono1) {
                RealizeMonoSolid(c, p);
            } else {
                p.solid = true;
                p.solidValue = DrawingColor(*target, c, dc.bkColor);
            }
            break;
        }
    }
    return p;
}

}  // namespace brimlox::gdi::raster

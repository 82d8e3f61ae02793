#include "foundation/painters/picture_effects.h"

#include <vector>

#include "foundation/dib/dib_surface.h"
#include "platform/gdi/gdi.h"

namespace brimlox::foundation {

namespace {

struct Bgr {
    std::uint8_t b, g, r;
};

Bgr ToBgr(COLORREF c) { return {GetBValue(c), GetGValue(c), GetRValue(c)}; }
bool Same(const std::uint8_t* p, Bgr c) { return p[0] == c.b && p[1] == c.g && p[2] == c.r; }
void Store(std::uint8_t* p, Bgr c) { p[0] = c.b, p[1] = c.g, p[2] = c.r; }

// The highlight colour with each channel that equals the mask's channel flipped in its low
// bits, so it can never be taken for the mask colour.
Bgr HighlightApartFrom(Bgr mask) {
    Bgr h = ToBgr(GetSysColor(COLOR_BTNHIGHLIGHT));
    if (h.r == mask.r) h.r ^= 7;
    if (h.g == mask.g) h.g ^= 7;
    if (h.b == mask.b) h.b ^= 7;
    return h;
}

}  // namespace

int EffectLuminance(int red, int green, int blue) {
    int n = 222 * red + 707 * green + 71 * blue;
    int q = n / 1000, rem = n % 1000;
    if (rem > 500 || (rem == 500 && (q & 1))) ++q;
    return q;
}

void ApplyGreyscaleEffect(CUlvaroDIBS& dib, COLORREF mask) {
    std::span<std::uint8_t> bits = dib.Bits();
    if (bits.empty()) return;
    const Bgr key = ToBgr(mask);
    const bool keyIsGrey = key.r == key.g && key.g == key.b;
    const int stride = dib.BytesPerScanLine(), width = dib.Width();
    // Rows in any order give the same result as column order: each pixel depends on itself.
    for (int y = 0; y < dib.Height(); ++y) {
        std::uint8_t* p = bits.data() + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x, p += 3) {
            if (Same(p, key)) continue;
            int grey = EffectLuminance(p[2], p[1], p[0]);
            if (p[0] == grey && p[1] == grey && p[2] == grey) grey ^= 7;
            if (keyIsGrey && grey == key.r) grey ^= 7;
            p[0] = p[1] = p[2] = static_cast<std::uint8_t>(grey);
        }
    }
}

void ApplyDisabledEffect(CUlvaroDIBS& dib, COLORREF mask) {
    std::span<std::uint8_t> bits = dib.Bits();
    if (bits.empty()) return;
    const Bgr key = ToBgr(mask);
    const Bgr face = ToBgr(GetSysColor(COLOR_MENU));
    const Bgr shadow = ToBgr(GetSysColor(COLOR_BTNSHADOW));
    const Bgr highlight = HighlightApartFrom(key);
    const int width = dib.Width(), height = dib.Height(), stride = dib.BytesPerScanLine();
    std::vector<std::uint8_t> marked(static_cast<std::size_t>(width) * height, 0);
    auto mark = [&](int x, int row) -> std::uint8_t& { return marked[static_cast<std::size_t>(row) * width + x]; };

    // Columns left to right, each from the top of the picture (the last DIB row) down, so a
    // mark always lands on a pixel that is still to be visited.
    for (int x = 0; x < width; ++x) {
        for (int row = height - 1; row >= 0; --row) {
            std::uint8_t* p = bits.data() + static_cast<std::size_t>(row) * stride + x * 3;
            if (Same(p, key)) {
                if (mark(x, row)) Store(p, highlight);
                continue;
            }
            if (row != 0 && x + 1 < width) mark(x + 1, row - 1) = 1;
            int luminance = EffectLuminance(p[2], p[1], p[0]);
            bool light = luminance == 192 || luminance > 237 || (luminance == 237 && (x & 1) == (row & 1));
            Store(p, light ? face : shadow);
        }
    }
}

}  // namespace brimlox::foundation

#include "foundation/painters/gradient.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "foundation/helpers/colour.h"
#include "platform/gdi/gdi.h"

namespace brimlox::foundation {

namespace {

int GradientSteps(HDC hdc) { return GetDeviceCaps(hdc, BITSPIXEL) * GetDeviceCaps(hdc, PLANES) >= 16 ? 256 : 32; }

struct Channels {
    double r = 0, g = 0, b = 0;

    COLORREF Colour() const {
        auto byte = [](double v) { return std::clamp(RoundHalfEven(v), 0, 255); };
        return RGB(byte(r), byte(g), byte(b));
    }
};

// Each band is filled with the DC's own brush in the band's colour: a gradient of a few dozen
// bands then creates and deletes no brush at all.
void FillWith(HDC hdc, const RECT& band, COLORREF colour) {
    SetDCBrushColor(hdc, colour);
    FillRect(hdc, &band, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

}  // namespace

void GradientFill(HDC hdc, const RECT& rect, COLORREF colorA, COLORREF colorB, bool vertical) {
    const int steps = GradientSteps(hdc);
    Channels current{double(GetRValue(colorB)), double(GetGValue(colorB)), double(GetBValue(colorB))};
    const Channels step{(double(GetRValue(colorA)) - current.r) / steps,
                        (double(GetGValue(colorA)) - current.g) / steps,
                        (double(GetBValue(colorA)) - current.b) / steps};
    const double extent = vertical ? double(rect.bottom - rect.top) : double(rect.right - rect.left);
    const double bandSize = extent / steps;

    // The band walks from colour B's edge toward colour A's; each step paints only when its
    // far side moved past the near side, i.e. when it covers at least one pixel.
    // The bands are disjoint, so they are collected first and painted from the top (or left)
    // edge on: the same pixels, written in the order memory lies.
    std::vector<std::pair<RECT, COLORREF>> bands;
    bands.reserve(static_cast<std::size_t>(steps) + 1);
    RECT band = rect;
    double offset = bandSize;
    for (int i = 0; i < steps; ++i) {
        // The colour is worked out only for the steps that paint a band.
        if (vertical) {
            band.top = RoundHalfEven(rect.bottom - offset);
            if (band.top < band.bottom) {
                bands.emplace_back(band, current.Colour());
                band.bottom = band.top;
            }
        } else {
            band.left = RoundHalfEven(rect.right - offset);
            if (band.left < band.right) {
                bands.emplace_back(band, current.Colour());
                band.right = band.left;
            }
        }
        offset += bandSize;
        current.r += step.r, current.g += step.g, current.b += step.b;
    }
    if (vertical) {
        band.top = rect.top;
    } else {
        band.left = rect.left;
    }
    bands.emplace_back(band, current.Colour());
    // The caller's DC brush colour is left as it was.
    const COLORREF callers = SetDCBrushColor(hdc, current.Colour());
    for (auto it = bands.rbegin(); it != bands.rend(); ++it) FillWith(hdc, it->first, it->second);
    SetDCBrushColor(hdc, callers);
}

}  // namespace brimlox::foundation

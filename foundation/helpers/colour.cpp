#include "foundation/helpers/colour.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/gdi/gdi.h"

namespace brimlox::foundation {

COLORREF TranslateColor(std::uint32_t oleColor) {
    COLORREF rgb = 0;
    if (OleTranslateColor(oleColor, nullptr, &rgb) != S_OK) return 0;
    return rgb;
}

HLS RGBToHLS(int red, int green, int blue) {
    float r = static_cast<float>(red) / 255.0f;
    float g = static_cast<float>(green) / 255.0f;
    float b = static_cast<float>(blue) / 255.0f;
    float max = std::max({r, g, b});
    float min = std::min({r, g, b});
    HLS out;
    out.L = (max + min) / 2.0f;
    if (max == min) return out;
    float d = max - min;
    out.S = out.L <= 0.5f ? d / (max + min) : d / (2.0f - max - min);
    if (r == max) {
        out.H = (g - b) / d;
    } else if (g == max) {
        out.H = 2.0f + (b - r) / d;
    } else {
        out.H = 4.0f + (r - g) / d;
    }
    return out;
}

HLS ColorToHLS(std::uint32_t oleColor) {
    COLORREF c = TranslateColor(oleColor);
    return RGBToHLS(GetRValue(c), GetGValue(c), GetBValue(c));
}

namespace {

int Channel(float value) { return std::clamp(RoundHalfEven(static_cast<double>(value) * 255.0), 0, 255); }

}  // namespace

COLORREF HLSToRGB(float h, float s, float l) {
    float r, g, b;
    if (s == 0) {
        r = g = b = l;
    } else {
        float m1 = l <= 0.5f ? l * (1.0f - s) : l - (1.0f - l) * s;
        float m2 = 2.0f * l - m1;
        float d = m2 - m1;
        if (h < 0) {
            r = m2, g = m1, b = m1 - d * h;
        } else if (h < 1) {
            r = m2, g = m1 + d * h, b = m1;
        } else if (h < 2) {
            r = m1 + d * (2.0f - h), g = m2, b = m1;
        } else if (h < 3) {
            r = m1, g = m2, b = m1 + d * (h - 2.0f);
        } else if (h < 4) {
            r = m1, g = m1 + d * (4.0f - h), b = m2;
        } else {
            r = m1 + d * (h - 4.0f), g = m1, b = m2;
        }
    }
    return RGB(Channel(r), Channel(g), Channel(b));
}

COLORREF AdjustLuminance(std::uint32_t oleColor, float delta) {
    HLS hls = ColorToHLS(oleColor);
    hls.L = std::clamp(hls.L + delta, 0.0f, 1.0f);
    return HLSToRGB(hls);
}

}  // namespace brimlox::foundation

// Colour helpers every painter and control uses: OLE colours (system colours included) to
// RGB, and the HLS model with a luminance shift built on it.
//
// HLS values are singles: hue in sextants (-1 to 5, no scaling to degrees and no wrapping),
// saturation and luminance in 0..1. RGB values carry red in the low byte.
#pragma once

#include <cstdint>
#include <climits>

#include "platform/gdi/wintypes.h"

namespace brimlox::foundation {

struct HLS {
    float H = 0;
    float S = 0;
    float L = 0;
};

// The RGB value of an OLE colour. A system colour whose index lies past the table gives 0,
// as GetSysColor does for an unknown index; any other colour the system cannot translate
// gives 0 too.
COLORREF TranslateColor(std::uint32_t oleColor);

HLS RGBToHLS(int red, int green, int blue);
HLS ColorToHLS(std::uint32_t oleColor);
COLORREF HLSToRGB(float h, float s, float l);
inline COLORREF HLSToRGB(const HLS& hls) { return HLSToRGB(hls.H, hls.S, hls.L); }

// The colour with its luminance moved by `delta` (clamped to 0..1).
COLORREF AdjustLuminance(std::uint32_t oleColor, float delta);

// Rounds to the nearest integer with halves to even, the rule for every float that becomes
// an integer in the controls' arithmetic; values past the 32-bit range are clamped, and not a
// number gives 0.
inline int RoundHalfEven(double value) {
    // Adding and taking away 1.5 * 2^52 leaves the nearest integer, halves to even, in the
    // default rounding mode: one addition instead of a library call on the painters' paths.
    constexpr double kShift = 6755399441055744.0;
    if (value > -2147483648.0 && value < 2147483647.0) return static_cast<int>((value + kShift) - kShift);
    if (value != value) return 0;
    return value < 0 ? INT32_MIN : INT32_MAX;
}

}  // namespace brimlox::foundation

// The picture effects the transparent painter applies to a 24-bit DIB before painting it:
// greyscale, and the embossed "disabled" look. Pixels of the mask colour stay transparent.
#pragma once

#include "platform/gdi/wintypes.h"

namespace brimlox::foundation {

class CUlvaroDIBS;

// Every pixel that is not the mask colour becomes grey by its luminance
// (222 R + 707 G + 71 B) / 1000; a pixel that was that grey already is nudged (grey XOR 7) so
// the effect stays visible on grey art, and a result equal to the mask colour is nudged too,
// so no opaque pixel turns transparent.
void ApplyGreyscaleEffect(CUlvaroDIBS& dib, COLORREF mask);

// Light pixels become the menu face colour, the rest the button shadow colour, and the
// transparent pixels one to the right of and below a shape become the button highlight, so
// the picture looks engraved.
void ApplyDisabledEffect(CUlvaroDIBS& dib, COLORREF mask);

// The luminance the effects use, rounded halves to even.
int EffectLuminance(int red, int green, int blue);

}  // namespace brimlox::foundation

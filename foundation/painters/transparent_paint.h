// The colour-keyed picture blit: paints a bitmap with every pixel of one colour left
// transparent, optionally greyed out or in the engraved "disabled" look, and stretched when
// the destination differs in size from the source.
#pragma once

#include <cstdint>

#include "platform/gdi/wintypes.h"

#include "platform/compat/push_x11_macros.h"

namespace brimlox::foundation {

enum class PictureEffect : int { None = 0, Disabled = 1, Greyscale = 2 };

// Paints `src` of `bitmap` into `dest` of `hdc`. A negative mask colour takes the colour of
// the bitmap's top-left pixel. Effect 0 paints as is, 1 disabled, any other greyscale; when
// no DIB can be made for an effect the picture is painted without it. Empty rectangles paint
// nothing. The bitmap must not be selected into a DC.
void TransparentPaint(HDC hdc, HBITMAP bitmap, const RECT& src, const RECT& dest, int effect, std::int32_t maskColor);

}  // namespace brimlox::foundation

#include "platform/compat/pop_x11_macros.h"

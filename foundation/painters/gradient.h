// The banded gradient fill behind button faces, bars and menu items.
#pragma once

#include "platform/gdi/wintypes.h"

namespace brimlox::foundation {

// Fills `rect` with bands running from colour A (top, or left) to colour B (bottom, or right).
// Devices of 16 bits per pixel or more get 256 steps, others 32; a band is painted only when
// it covers at least one new pixel, so a small rectangle paints fewer bands than steps. The
// band colours are the running channel values rounded halves to even.
void GradientFill(HDC hdc, const RECT& rect, COLORREF colorA, COLORREF colorB, bool vertical);

}  // namespace brimlox::foundation

// The soft shaded edge: rings of light and dark shades of one colour around a rectangle.
#pragma once

#include "platform/gdi/wintypes.h"

namespace brimlox::foundation {

// Draws `width` rings inside `rect`, from the inside out, each lighter on one side and darker
// on the other than the last; the outermost ring lies on `rect` itself and has the strongest
// contrast. A raised edge is light at the top and left, a sunken one at the bottom and right.
void DrawSoftEdge(HDC hdc, const RECT& rect, COLORREF color, int width, bool sunken);

}  // namespace brimlox::foundation

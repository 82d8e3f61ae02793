// The tiling painter: covers an area with copies of a bitmap, continuing a tiling that the
// area's owner (a container tiling its picture behind its children) started elsewhere.
#pragma once

#include "platform/gdi/wintypes.h"

namespace brimlox::foundation {

// Fills the `width` x `height` pixels at the origin of `hdc` with copies of `tile`, placed so
// that the pixel at (0, 0) shows the tile's pixel at (offsetX, offsetY) taken modulo the
// tile's size. Offsets may be negative or many tiles large; every pixel of the area is
// covered, however many tiles that takes. Returns false, drawing nothing, when `tile` is not
// a bitmap or has no pixels, so the caller can fall back to a plain colour. The bitmap must
// not be selected into a DC.
bool TileBitmap(HDC hdc, int width, int height, HBITMAP tile, long long offsetX, long long offsetY);
// The same with only the top-left `partWidth` x `partHeight` pixels of the bitmap as the tile
// (a part larger than the bitmap is cut to it), for owners whose tiling step is smaller than
// their picture.
bool TileBitmap(HDC hdc, int width, int height, HBITMAP bitmap, long long offsetX, long long offsetY, int partWidth,
                int partHeight);

}  // namespace brimlox::foundation

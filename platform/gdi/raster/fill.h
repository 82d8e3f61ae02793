// Rectangle fills: the inner loop of FillRect, PatBlt, Rectangle interiors and DrawEdge.
#pragma once

#include "platform/gdi/raster/pattern.h"

#include "platform/compat/push_x11_macros.h"

namespace brimlox::gdi::raster {

// Clips a rectangle (surface coordinates) to the DC's clip; false when nothing is left.
bool ClipToDc(const DcObject& dc, RECT& r);

// Fills a surface rectangle (already clipped) with the brush through a ROP2 mode.
void FillRop2(Surface& target, const RECT& r, const BrushPattern& brush, int rop2);

// Fills a surface rectangle (already clipped) with one device value, replacing what is there.
void FillSolid(Surface& target, const RECT& r, std::uint32_t value);

}  // namespace brimlox::gdi::raster

#include "platform/compat/pop_x11_macros.h"

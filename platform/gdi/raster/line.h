// Cosmetic lines: one pixel wide, pixels chosen as Windows chooses them, optionally styled
// (dashes and dots) and always written through a ROP2 mode.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/gdi/surface.h"

namespace brimlox::gdi::raster {

// How a cosmetic pen paints: its colour, its dash pattern (run lengths in pixels along the
// major axis, starting with a dash; empty for a solid pen) and what the gaps get.
struct CosmeticPen {
    std::uint32_t color = 0;
    std::vector<int> dashes;
    bool paintGaps = false;  // opaque background mode on a pen that fills its gaps
    std::uint32_t gapColor = 0;
    int rop2 = 13;  // R2_COPYPEN
};

// Where a styled line is in its dash pattern. A Polyline keeps one for all its segments so
// the pattern runs on around corners; each LineTo starts a new one.
struct DashPosition {
    std::int64_t pixels = 0;
};

// Draws the line from a to b (surface coordinates, any 32-bit values) clipped to `clip`.
// The last pixel is left out unless includeLast is set, as cosmetic lines do. Each pixel of
// the line is written once. The dash position advances by the line's length in pixels.
void DrawCosmeticLine(Surface& target, const RECT& clip, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                      std::int64_t y1, const CosmeticPen& pen, DashPosition& dash, bool includeLast = false);

// Writes one pixel through a ROP2 mode (callers clip).
void PutRop2(Surface& target, int x, int y, std::uint32_t value, int rop2);

}  // namespace brimlox::gdi::raster

// Putting text pixels on a surface: a run of characters placed along the baseline, painted
// glyph by glyph at the font's angle, and bands (backgrounds, underlines, strike-outs)
// filled in the run's rotated frame. Callers pass surface coordinates and a clip rectangle
// already limited to the surface.
#pragma once

#include <cmath>
#include <string_view>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/gdi/text/typeface.h"

namespace brimlox::gdi::text {

// Characters with the pen offset of each along the baseline and the run's total advance.
struct PlacedRun {
    std::string_view chars;
    std::vector<int> pens;
    int width = 0;
};

// Places a string with the font's advances, `extra` pixels after each character
// (SetTextCharacterExtra), or the caller's own advances when dx is given.
PlacedRun PlaceRun(Typeface& face, std::string_view chars, const INT* dx, int extra);

// The origin of a run in its rotated frame: where pen offset u and baseline offset v
// (y down, as in the unrotated text) land on the surface, rounded to whole pixels.
struct RunFrame {
    int originX = 0;  // surface position of the pen at the start of the baseline
    int originY = 0;
    double cos = 1;
    double sin = 0;
    int ToX(double u, double v) const { return originX + static_cast<int>(std::lround(u * cos + v * sin)); }
    int ToY(double u, double v) const { return originY + static_cast<int>(std::lround(-u * sin + v * cos)); }
};

// Paints each glyph of the run in one device value.
void PaintGlyphs(Surface& target, const RECT& clip, Typeface& face, const PlacedRun& run, const RunFrame& frame,
                 std::uint32_t value);

// Fills the band u0 <= u < u1, v0 <= v < v1 of the run's frame with one device value.
void FillBand(Surface& target, const RECT& clip, const RunFrame& frame, int u0, int u1, int v0, int v1,
              std::uint32_t value);

}  // namespace brimlox::gdi::text

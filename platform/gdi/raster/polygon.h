// Polygon scan conversion with the fill rules of Windows: a pixel belongs to the interior
// when its integer sample point is inside, left and top edges included, right and bottom
// edges excluded, under ALTERNATE (even-odd) or WINDING (non-zero) rules.
#pragma once

#include <span>
#include <vector>

#include "platform/gdi/raster/coverage.h"

namespace brimlox::gdi::raster {

// A closed ring of vertices in surface coordinates (64-bit, so logical coordinates near the
// 32-bit limits shifted by a DC origin stay exact).
struct Ring {
    std::vector<std::int64_t> xs;
    std::vector<std::int64_t> ys;
    void Add(std::int64_t x, std::int64_t y) {
        xs.push_back(x);
        ys.push_back(y);
    }
};

// Adds the interior of the rings (together, as one polygon set) to the mask.
void FillRings(CoverageMask& mask, std::span<const Ring> rings, int fillMode);

}  // namespace brimlox::gdi::raster

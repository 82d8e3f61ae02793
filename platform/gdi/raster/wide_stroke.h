// Solid wide strokes on the integer grid, the way Windows rasterises them: every piece of the
// stroke (segment bodies, square caps, bevel and miter joins) is a polygon with integer
// corners filled by the region rule (a pixel is in when its top-left corner lies inside, left
// and top edges included), and round caps and joins are elliptic-region discs of the pen's
// width. The corner offsets are rounded separately for each side of a segment, so a stroke
// is not always symmetric about its centre line; the pixels match Windows' own for every
// width, cap, join and slope we recorded (see tests/platform/gdi/wide_pen_test.cpp).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/gdi/raster/coverage.h"
#include "platform/gdi/raster/stroke.h"

namespace brimlox::gdi::raster {

struct PointI {
    std::int64_t x, y;
};

// Adds the stroke of one figure (points in surface coordinates) to the mask. The pen's
// dashes are ignored: dashed strokes go through StrokeFigure.
void StrokeIntegerFigure(CoverageMask& mask, std::span<const PointI> points, bool closed, const GeometricPen& pen);

// The rows of a circular region `size` pixels across, as CreateEllipticRgn makes it for a
// bounding box one pixel larger: spans[i] = {x0, x1} of row i, relative to the box's corner.
std::vector<std::pair<int, int>> DiscSpans(int size);

}  // namespace brimlox::gdi::raster

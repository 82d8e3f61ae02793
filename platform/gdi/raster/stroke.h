// Geometric (wide) strokes in continuous coordinates: a polyline widened into convex pieces
// (segment bodies, caps, joins) that are unioned into a coverage mask, so the pen's ROP
// touches each pixel once. Dashed pens and inside-frame outlines, whose pieces start and end
// between grid points, are stroked here; solid strokes on the grid go through wide_stroke.h.
//
// Geometry: a pixel is covered when its centre lies inside the outline. The centre line runs
// through pixel centres for odd widths and along pixel corners for even widths, which is
// where Windows puts it (a width-3 line from (3,4) covers rows 3..5, a width-4 line rows
// 2..5). Round caps and joins are discs of the pen's diameter.
#pragma once

#include <span>
#include <vector>

#include "platform/gdi/raster/coverage.h"

namespace brimlox::gdi::raster {

enum class CapStyle { Round, Square, Flat };
enum class JoinStyle { Round, Bevel, Miter };

struct GeometricPen {
    int width = 1;
    CapStyle cap = CapStyle::Round;
    JoinStyle join = JoinStyle::Round;
    double miterLimit = 10.0;
    std::vector<double> dashes;  // lengths along the line, starting with a dash; empty: solid
};

struct PointD {
    double x, y;
};

// Adds the stroke of one figure (points in surface coordinates) to the mask.
void StrokeFigure(CoverageMask& mask, std::span<const PointD> points, bool closed, const GeometricPen& pen);

}  // namespace brimlox::gdi::raster

// Drawing with the DC's selected pen: the part of LineTo, Polyline, Polygon, Rectangle and
// StrokePath that turns figures into pixels. A pen is either cosmetic (one pixel wide,
// styled per pixel) or geometric (a wide outline with caps and joins, rasterised into a
// coverage mask first so that its ROP touches each pixel once).
#pragma once

#include <span>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/pen.h"
#include "platform/gdi/raster/line.h"
#include "platform/gdi/raster/pattern.h"
#include "platform/gdi/raster/stroke.h"
#include "platform/gdi/raster/wide_stroke.h"

#include "platform/compat/push_x11_macros.h"

namespace brimlox::gdi {

// A figure in logical coordinates; a closed figure returns to its first point.
struct LogicalFigure {
    std::span<const POINT> points;
    bool closed = false;
};

// A figure in continuous surface coordinates (pixel (x, y) covers [x, x+1) x [y, y+1)).
struct ContinuousFigure {
    std::vector<raster::PointD> points;
    bool closed = false;
};

class PenPainter {
public:
    explicit PenPainter(DcObject& dc);

    // False for a null pen or a DC with nothing to draw on.
    bool Draws() const { return kind_ != Kind::None; }
    bool Wide() const { return kind_ == Kind::Geometric; }
    int Width() const { return geometric_.width; }
    bool InsideFrame() const { return insideFrame_; }
    // Where the centre line of a wide pen runs relative to a logical point: through pixel
    // centres for odd widths, along pixel corners for even ones.
    double CentreOffset() const { return geometric_.width % 2 ? 0.5 : 0.0; }

    void Draw(std::span<const LogicalFigure> figures);
    // Wide pens: strokes figures given in continuous surface coordinates.
    void StrokeContinuous(std::span<const ContinuousFigure> figures);

private:
    enum class Kind { None, Cosmetic, Geometric };
    void ResolveCosmetic(const PenObject& pen, COLORREF color);
    void ResolveGeometric(const PenObject& pen, COLORREF color);
    void DrawCosmetic(const LogicalFigure& figure);
    // Solid wide pens: the figures on the integer grid, as Windows rasterises them.
    void StrokeSolid(std::span<const LogicalFigure> figures);
    RECT StrokeBounds(std::span<const ContinuousFigure> figures) const;

    DcObject& dc_;
    Surface* target_ = nullptr;
    Kind kind_ = Kind::None;
    bool insideFrame_ = false;
    bool includeLast_ = false;  // geometric pens one pixel wide keep their end pixel
    raster::CosmeticPen cosmetic_;
    raster::GeometricPen geometric_;
    raster::BrushPattern paint_;
};

}  // namespace brimlox::gdi

#include "platform/compat/pop_x11_macros.h"

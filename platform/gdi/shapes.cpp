// Rectangle and Polygon: the brush fills the interior, then the pen draws the outline.
#include "platform/gdi/gdi.h"
#include "platform/gdi/line.h"
#include "platform/gdi/raster/fill.h"
#include "platform/gdi/raster/polygon.h"
#include "platform/gdi/trace.h"

using namespace brimlox::gdi;

namespace {

// Most points one Polygon may hold; more is refused as bad input.
constexpr int kMaxPolygonPoints = 1 << 24;

// Fills a rectangle given in 64-bit surface coordinates with the DC's brush and ROP2.
void FillInterior(DcObject& dc, std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
    RECT clip = dc.Clip();
    l = std::max<std::int64_t>(l, clip.left);
    t = std::max<std::int64_t>(t, clip.top);
    r = std::min<std::int64_t>(r, clip.right);
    b = std::min<std::int64_t>(b, clip.bottom);
    if (l >= r || t >= b) return;
    RECT area{static_cast<LONG>(l), static_cast<LONG>(t), static_cast<LONG>(r), static_cast<LONG>(b)};
    raster::FillRop2(*dc.Target(), area, raster::RealizeBrush(dc, dc.brush), dc.rop2);
}

// The frame of a PS_INSIDEFRAME pen: the centre line runs half a pen width inside the
// rectangle's edges, so the whole pen stays within [left, right) x [top, bottom).
ContinuousFigure InsideFrame(const DcObject& dc, const RECT& r, int width) {
    const double half = width / 2.0;
    double l = r.left + dc.origin.x + half, t = r.top + dc.origin.y + half;
    double rr = r.right + dc.origin.x - half, b = r.bottom + dc.origin.y - half;
    if (rr < l) l = rr = (l + rr) / 2;
    if (b < t) t = b = (t + b) / 2;
    return ContinuousFigure{{{l, t}, {rr, t}, {rr, b}, {l, b}}, true};
}

}  // namespace

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    TraceCall tc("Rectangle");
    if (tc) tc.Args(hdc, left, top, right, bottom);
    DcObject* dc = LookupDc(hdc);
    if (!dc) return tc.Return(FALSE);
    RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    // The outline runs through the last column and row inside the rectangle (an empty
    // rectangle at the lowest coordinate keeps its edge rather than wrapping around).
    const LONG lastX = r.right > r.left ? r.right - 1 : r.right, lastY = r.bottom > r.top ? r.bottom - 1 : r.bottom;
    const POINT corners[4] = {{r.left, r.top}, {lastX, r.top}, {lastX, lastY}, {r.left, lastY}};
    if (dc->pathOpen) {
        dc->path.push_back(PathFigure{{corners[0], corners[1], corners[2], corners[3]}, true});
        return tc.Return(TRUE);
    }
    if (r.left == r.right || r.top == r.bottom || !dc->Target()) return tc.Return(TRUE);
    PenPainter pen(*dc);
    const std::int64_t ox = dc->origin.x, oy = dc->origin.y;
    // With a pen the interior stops inside the outline; without one it covers one column
    // and row less than the rectangle (checked against Windows).
    const int inset = pen.Draws() ? 1 : 0;
    FillInterior(*dc, r.left + ox + inset, r.top + oy + inset, r.right + ox - 1, r.bottom + oy - 1);
    if (pen.Wide() && pen.InsideFrame()) {
        const ContinuousFigure frame = InsideFrame(*dc, r, pen.Width());
        pen.StrokeContinuous(std::span<const ContinuousFigure>(&frame, 1));
    } else {
        const LogicalFigure outline{corners, true};
        pen.Draw(std::span<const LogicalFigure>(&outline, 1));
    }
    return tc.Return(TRUE);
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
    TraceCall tc("Polygon");
    const bool countOk = points && count >= 2 && count <= kMaxPolygonPoints;
    if (tc) tc.Args(hdc, std::span<const POINT>(points, countOk ? static_cast<std::size_t>(count) : 0), count);
    DcObject* dc = LookupDc(hdc);
    if (!dc || !countOk) return tc.Return(FALSE);
    std::span<const POINT> pts(points, static_cast<std::size_t>(count));
    if (dc->pathOpen) {
        dc->path.push_back(PathFigure{std::vector<POINT>(pts.begin(), pts.end()), true});
        return tc.Return(TRUE);
    }
    if (!dc->Target()) return tc.Return(TRUE);
    raster::Ring ring;
    for (const POINT& p : pts) ring.Add(std::int64_t{p.x} + dc->origin.x, std::int64_t{p.y} + dc->origin.y);
    raster::CoverageMask interior(dc->Clip());
    raster::FillRings(interior, std::span<const raster::Ring>(&ring, 1), dc->polyFillMode);
    interior.Paint(*dc->Target(), raster::RealizeBrush(*dc, dc->brush), dc->rop2);
    PenPainter pen(*dc);
    const LogicalFigure outline{pts, true};
    pen.Draw(std::span<const LogicalFigure>(&outline, 1));
    return tc.Return(TRUE);
}

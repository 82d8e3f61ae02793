#include "platform/gdi/raster/wide_stroke.h"

#include <algorithm>
#include <cmath>

namespace brimlox::gdi::raster {

namespace {

// Rounds half-way values up (towards +infinity), as the offsets of a stroke's corners are.
std::int64_t RoundHalfUp(double v) { return static_cast<std::int64_t>(std::floor(v + 0.5)); }

// Rounds away from zero; a value a hair off a whole number (from the division by the
// segment's length) counts as that number.
std::int64_t CeilMagnitude(double v) {
    const double m = std::ceil(std::fabs(v) - 1e-9);
    return static_cast<std::int64_t>(v < 0 ? -m : m);
}

PointI Add(PointI a, PointI b) { return PointI{a.x + b.x, a.y + b.y}; }
PointI Sub(PointI a, PointI b) { return PointI{a.x - b.x, a.y - b.y}; }
bool Same(PointI a, PointI b) { return a.x == b.x && a.y == b.y; }

// Ceiling of n / d for d > 0. Products of two coordinates (each up to 33 bits once the DC's
// origin is added) need more than 64 bits.
using Wide = __int128;
std::int64_t CeilDiv(Wide n, Wide d) {
    const Wide q = n / d;
    return static_cast<std::int64_t>(q * d < n ? q + 1 : q);
}

// Fills a convex polygon with integer corners by the region rule: on row y the points
// (x, y) inside, the left edge in and the right edge out; an edge counts for rows
// y0 <= y < y1. Exact integer arithmetic, so ties fall the same way every time.
void AddConvexPolygon(CoverageMask& mask, std::span<const PointI> poly) {
    if (poly.size() < 3) return;
    std::int64_t top = poly[0].y, bottom = poly[0].y;
    for (const PointI& p : poly) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    const RECT& b = mask.Bounds();
    top = std::max<std::int64_t>(top, b.top);
    bottom = std::min<std::int64_t>(bottom, b.bottom);
    for (std::int64_t y = top; y < bottom; ++y) {
        // Each crossing as ceil(x): the first column at or right of the edge.
        std::int64_t left = INT64_MAX, right = INT64_MIN;
        for (std::size_t i = 0; i < poly.size(); ++i) {
            PointI a = poly[i], c = poly[(i + 1) % poly.size()];
            if (a.y == c.y) continue;
            if (a.y > c.y) std::swap(a, c);
            if (y < a.y || y >= c.y) continue;
            const std::int64_t x = a.x + CeilDiv(static_cast<Wide>(y - a.y) * (c.x - a.x), c.y - a.y);
            left = std::min(left, x);
            right = std::max(right, x);
        }
        if (left < right) mask.AddSpan(y, left, right);
    }
}

void AddDisc(CoverageMask& mask, PointI centre, int width) {
    const std::int64_t left = centre.x - width / 2, top = centre.y - width / 2;
    const std::int64_t y0 = std::max<std::int64_t>(top, mask.Bounds().top);
    const std::int64_t y1 = std::min<std::int64_t>(top + width, mask.Bounds().bottom);
    if (y0 >= y1) return;
    const std::vector<std::pair<int, int>> spans = DiscSpans(width);
    for (std::int64_t y = y0; y < y1; ++y) {
        const auto& [x0, x1] = spans[static_cast<std::size_t>(y - top)];
        mask.AddSpan(y, left + x0, left + x1);
    }
}

void AddSquareDot(CoverageMask& mask, PointI centre, int width) {
    const PointI c{centre.x - width / 2, centre.y - width / 2};
    const PointI square[] = {c, {c.x + width, c.y}, {c.x + width, c.y + width}, {c.x, c.y + width}};
    AddConvexPolygon(mask, square);
}

// The corners of a segment's body: its end points moved to either side of the centre line.
struct Sides {
    PointI plus;   // towards the left normal (-dy, dx) of the segment's own direction
    PointI minus;  // towards the other side
};

// Windows rounds the two sides differently, depending only on the segment's slope: the
// direction is first turned to point down (or right when level); the side on that
// direction's left normal is half the width rounded, the other side is what is left of the
// whole width rounded away from the line.
Sides SegmentSides(PointI from, PointI to, int width) {
    std::int64_t dx = to.x - from.x, dy = to.y - from.y;
    const bool turned = dy < 0 || (dy == 0 && dx < 0);
    if (turned) {
        dx = -dx;
        dy = -dy;
    }
    const double len = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
    const double nx = -static_cast<double>(dy) / len, ny = static_cast<double>(dx) / len;
    const PointI near{RoundHalfUp(nx * width / 2.0), RoundHalfUp(ny * width / 2.0)};
    const PointI whole{CeilMagnitude(nx * width), CeilMagnitude(ny * width)};
    const PointI far = Sub(near, whole);
    return turned ? Sides{far, near} : Sides{near, far};
}

enum class End { Flat, Square };

// Adds a segment's body, lengthened at either end by a square cap.
void AddSegment(CoverageMask& mask, PointI from, PointI to, int width, End startCap, End endCap) {
    std::int64_t dx = to.x - from.x, dy = to.y - from.y;
    // Caps are placed along the downward (or rightward) direction too.
    if (dy < 0 || (dy == 0 && dx < 0)) {
        std::swap(from, to);
        std::swap(startCap, endCap);
        dx = -dx;
        dy = -dy;
    }
    PointI back{0, 0}, ahead{0, 0};
    if (dx == 0 || dy == 0) {
        // Level and upright lines grow by half the width, rounded down, at each end.
        const std::int64_t half = width / 2;
        const PointI step{dx == 0 ? 0 : half, dy == 0 ? 0 : half};
        if (startCap == End::Square) back = PointI{-step.x, -step.y};
        if (endCap == End::Square) ahead = step;
    } else {
        const double len = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
        const double ux = static_cast<double>(dx) / len, uy = static_cast<double>(dy) / len;
        const PointI start{RoundHalfUp(-ux * width / 2.0), RoundHalfUp(-uy * width / 2.0)};
        if (startCap == End::Square) back = start;
        if (endCap == End::Square) ahead = Add(start, PointI{CeilMagnitude(ux * width), CeilMagnitude(uy * width)});
    }
    const PointI a = Add(from, back), b = Add(to, ahead);
    const Sides s = SegmentSides(from, to, width);
    const PointI body[] = {Add(a, s.plus), Add(b, s.plus), Add(b, s.minus), Add(a, s.minus)};
    AddConvexPolygon(mask, body);
}

// The join at `at` between prev->at and at->next, on the outer side of the turn.
void AddJoin(CoverageMask& mask, PointI prev, PointI at, PointI next, const GeometricPen& pen) {
    if (pen.join == JoinStyle::Round) {
        AddDisc(mask, at, pen.width);
        return;
    }
    const PointI d1 = Sub(at, prev), d2 = Sub(next, at);
    const double cross = static_cast<double>(d1.x) * d2.y - static_cast<double>(d1.y) * d2.x;
    if (cross == 0) return;  // straight on (or straight back): the bodies already meet
    const Sides in = SegmentSides(prev, at, pen.width), out = SegmentSides(at, next, pen.width);
    const PointI pa = Add(at, cross > 0 ? in.minus : in.plus);
    const PointI pb = Add(at, cross > 0 ? out.minus : out.plus);
    if (pen.join == JoinStyle::Miter) {
        // The miter's length over the pen's half width is 1 / sin(theta / 2), theta the
        // angle between the two segments.
        const double l1 = std::hypot(static_cast<double>(d1.x), static_cast<double>(d1.y));
        const double l2 = std::hypot(static_cast<double>(d2.x), static_cast<double>(d2.y));
        const double cosTheta = -(static_cast<double>(d1.x) * d2.x + static_cast<double>(d1.y) * d2.y) / (l1 * l2);
        const double sinHalf = std::sqrt(std::max(0.0, (1.0 - cosTheta) / 2.0));
        if (sinHalf > 0 && 1.0 / sinHalf <= pen.miterLimit) {
            // The tip: where the outer edges of the two bodies meet, rounded to the grid.
            const double det = static_cast<double>(d1.x) * -d2.y - static_cast<double>(d1.y) * -d2.x;
            const double t = (static_cast<double>(pb.x - pa.x) * -d2.y - static_cast<double>(pb.y - pa.y) * -d2.x) / det;
            const PointI tip{RoundHalfUp(pa.x + t * d1.x), RoundHalfUp(pa.y + t * d1.y)};
            const PointI miter[] = {at, pa, tip, pb};
            AddConvexPolygon(mask, miter);
            return;
        }
    }
    const PointI bevel[] = {at, pa, pb};
    AddConvexPolygon(mask, bevel);
}

}  // namespace

std::vector<std::pair<int, int>> DiscSpans(int size) {
    std::vector<std::pair<int, int>> spans(static_cast<std::size_t>(std::max(size, 0)), {0, 0});
    if (size <= 0) return spans;
    // A midpoint walk round the quarter circle of radius (size - 1) / 2 through the pixel
    // centres, in half-pixel units so that every quantity is an integer: X and Y are twice
    // the offsets from the centre (odd when the centre falls on a pixel corner).
    const std::int64_t r = size - 1;
    std::int64_t x = size % 2 ? 0 : 1, y = r;
    auto outside = [r](std::int64_t px, std::int64_t py) { return px * px + py * py - r * r; };
    auto record = [&](std::int64_t px, std::int64_t py) {
        const auto x0 = static_cast<int>((r - px) / 2), x1 = static_cast<int>((r + px) / 2 + 1);
        spans[static_cast<std::size_t>((r - py) / 2)] = {x0, x1};
        spans[static_cast<std::size_t>((r + py) / 2)] = {x0, x1};
    };
    // Steep part near the top: step across, and down when the midpoint below is outside.
    while (x < y) {
        record(x, y);
        const bool down = outside(x + 2, y - 1) >= 0;
        x += 2;
        if (down) y -= 2;
    }
    // Upright part: step down, and across when the midpoint beside is inside.
    while (y >= 0) {
        record(x, y);
        const bool across = outside(x + 1, y - 2) < 0;
        y -= 2;
        if (across) x += 2;
    }
    return spans;
}

void StrokeIntegerFigure(CoverageMask& mask, std::span<const PointI> points, bool closed, const GeometricPen& pen) {
    if (mask.Empty() || points.empty() || pen.width <= 0) return;
    std::vector<PointI> pts;
    for (const PointI& p : points)
        if (pts.empty() || !Same(p, pts.back())) pts.push_back(p);
    if (closed && pts.size() > 1 && Same(pts.front(), pts.back())) pts.pop_back();
    if (closed && pts.size() < 3) closed = false;
    if (pts.size() == 1) {
        if (closed) return;
        if (pen.cap == CapStyle::Round) AddDisc(mask, pts[0], pen.width);
        if (pen.cap == CapStyle::Square) AddSquareDot(mask, pts[0], pen.width);
        return;
    }
    const std::size_t n = pts.size();
    const std::size_t segments = closed ? n : n - 1;
    const End cap = pen.cap == CapStyle::Square ? End::Square : End::Flat;
    for (std::size_t i = 0; i < segments; ++i) {
        const bool first = !closed && i == 0, last = !closed && i == segments - 1;
        AddSegment(mask, pts[i], pts[(i + 1) % n], pen.width, first ? cap : End::Flat, last ? cap : End::Flat);
    }
    for (std::size_t i = closed ? 0 : 1; i < (closed ? n : n - 1); ++i)
        AddJoin(mask, pts[(i + n - 1) % n], pts[i], pts[(i + 1) % n], pen);
    if (!closed && pen.cap == CapStyle::Round) {
        AddDisc(mask, pts.front(), pen.width);
        AddDisc(mask, pts.back(), pen.width);
    }
}

}  // namespace brimlox::gdi::raster

#include "platform/gdi/raster/stroke.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace brimlox::gdi::raster {

namespace {

// A convex outline, vertices in order.
using Convex = std::vector<PointD>;

// Adds the pixels whose centres lie inside a convex outline: for each pixel row, the
// horizontal line through the centres meets the outline in one interval.
// ceil() of a coordinate without a library call: a stroke of a long line asks for it twice a
// row. Exact for every value a long long holds; anything larger goes to the library.
long long CeilOf(double v) {
    if (!(std::fabs(v) < 9e18)) return static_cast<long long>(std::ceil(v));
    const auto t = static_cast<long long>(v);
    return t + (static_cast<double>(t) < v ? 1 : 0);
}

void AddConvex(CoverageMask& mask, const Convex& poly) {
    if (poly.size() < 3) return;
    double top = poly[0].y, bottom = poly[0].y;
    for (const PointD& p : poly) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    // The edges that cross some row, with what the crossing needs (same arithmetic as
    // a.x + (cy - a.y) * (c.x - a.x) / (c.y - a.y), evaluated in that order).
    struct Edge {
        double lo, hi, ax, ay, dx, dy;
    };
    Edge edges[8];
    std::vector<Edge> more;
    std::size_t count = 0;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const PointD& a = poly[i];
        const PointD& c = poly[(i + 1) % poly.size()];
        if (a.y == c.y) continue;
        const Edge e{std::min(a.y, c.y), std::max(a.y, c.y), a.x, a.y, c.x - a.x, c.y - a.y};
        if (count < 8) edges[count++] = e;
        else more.push_back(e);
    }
    const RECT& b = mask.Bounds();
    long long y0 = std::max<long long>(CeilOf(top - 0.5), b.top);
    long long y1 = std::min<long long>(CeilOf(bottom - 0.5), b.bottom);
    for (long long y = y0; y < y1; ++y) {
        const double cy = static_cast<double>(y) + 0.5;
        double left = 1e300, right = -1e300;
        auto cross = [&](const Edge& e) {
            if (e.lo <= cy && cy < e.hi) {
                const double x = e.ax + (cy - e.ay) * e.dx / e.dy;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        };
        for (std::size_t i = 0; i < count; ++i) cross(edges[i]);
        for (const Edge& e : more) cross(e);
        if (left > right) continue;
        mask.AddSpan(y, CeilOf(left - 0.5), CeilOf(right - 0.5));
    }
}

// A disc of the pen's diameter: a pixel is in when its centre is closer to the middle than
// the radius, less a quarter pixel so that small discs come out as Windows draws them
// (a width-3 dot is a plus sign, not a 3x3 square).
void AddDisc(CoverageMask& mask, PointD c, int width) {
    const double r2 = (static_cast<double>(width) * width - 1.0) / 4.0;
    const double r = std::sqrt(std::max(r2, 0.0));
    const RECT& b = mask.Bounds();
    long long y0 = std::max<long long>(static_cast<long long>(std::floor(c.y - r - 0.5)), b.top);
    long long y1 = std::min<long long>(static_cast<long long>(std::ceil(c.y + r + 0.5)), b.bottom);
    for (long long y = y0; y < y1; ++y) {
        const double dy = static_cast<double>(y) + 0.5 - c.y;
        const double h2 = r2 - dy * dy;
        if (h2 <= 0) continue;
        const double h = std::sqrt(h2);
        // Centres strictly inside: c.x - h < x + 0.5 < c.x + h.
        long long x0 = static_cast<long long>(std::floor(c.x - h - 0.5)) + 1;
        long long x1 = static_cast<long long>(std::ceil(c.x + h - 0.5));
        mask.AddSpan(y, x0, x1);
    }
}

PointD Normal(PointD a, PointD b, double half) {
    double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    return PointD{-dy / len * half, dx / len * half};
}

void AddSegment(CoverageMask& mask, PointD a, PointD b, double half, double extendA, double extendB) {
    double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    PointD u{dx / len, dy / len};
    PointD n{-u.y * half, u.x * half};
    PointD s{a.x - u.x * extendA, a.y - u.y * extendA};
    PointD e{b.x + u.x * extendB, b.y + u.y * extendB};
    AddConvex(mask, Convex{{s.x + n.x, s.y + n.y}, {e.x + n.x, e.y + n.y}, {e.x - n.x, e.y - n.y}, {s.x - n.x, s.y - n.y}});
}

// The join between segments prev->at and at->next on the outer side of the turn.
void AddJoin(CoverageMask& mask, PointD prev, PointD at, PointD next, const GeometricPen& pen) {
    const double half = pen.width / 2.0;
    if (pen.join == JoinStyle::Round) {
        AddDisc(mask, at, pen.width);
        return;
    }
    PointD n1 = Normal(prev, at, half), n2 = Normal(at, next, half);
    double cross = (at.x - prev.x) * (next.y - at.y) - (at.y - prev.y) * (next.x - at.x);
    if (cross == 0) return;  // straight on: the segment bodies already meet
    // The outer side is opposite to the turn direction.
    double sign = cross > 0 ? -1.0 : 1.0;
    PointD p1{at.x + sign * n1.x, at.y + sign * n1.y}, p2{at.x + sign * n2.x, at.y + sign * n2.y};
    if (pen.join == JoinStyle::Miter) {
        // The miter tip lies on the bisector; its distance over the half width is 1/cos(theta/2).
        double cosTheta = (n1.x * n2.x + n1.y * n2.y) / (half * half);
        double ratio = std::sqrt(2.0 / (1.0 + cosTheta));
        if (1.0 + cosTheta > 1e-12 && ratio <= pen.miterLimit) {
            PointD mid{(n1.x + n2.x) / 2, (n1.y + n2.y) / 2};
            double midLen = std::hypot(mid.x, mid.y);
            double tipLen = half * ratio;
            PointD tip{at.x + sign * mid.x / midLen * tipLen, at.y + sign * mid.y / midLen * tipLen};
            AddConvex(mask, Convex{at, p1, tip, p2});
            return;
        }
    }
    AddConvex(mask, Convex{at, p1, p2});
}

void AddCap(CoverageMask& mask, PointD at, const GeometricPen& pen) {
    if (pen.cap == CapStyle::Round) AddDisc(mask, at, pen.width);
}

// Strokes one run of points without dashes.
void StrokeRun(CoverageMask& mask, const std::vector<PointD>& input, bool closed, const GeometricPen& pen) {
    const double half = pen.width / 2.0;
    std::vector<PointD> pts;
    for (const PointD& p : input)
        if (pts.empty() || p.x != pts.back().x || p.y != pts.back().y) pts.push_back(p);
    if (closed && pts.size() > 1 && pts.front().x == pts.back().x && pts.front().y == pts.back().y) pts.pop_back();
    if (closed && pts.size() < 3) closed = false;
    if (pts.size() == 1) {
        if (closed) return;
        if (pen.cap == CapStyle::Round) AddDisc(mask, pts[0], pen.width);
        if (pen.cap == CapStyle::Square)
            AddConvex(mask, Convex{{pts[0].x - half, pts[0].y - half}, {pts[0].x + half, pts[0].y - half},
                                   {pts[0].x + half, pts[0].y + half}, {pts[0].x - half, pts[0].y + half}});
        return;
    }
    const std::size_t n = pts.size();
    const std::size_t segments = closed ? n : n - 1;
    const double square = pen.cap == CapStyle::Square ? half : 0.0;
    for (std::size_t i = 0; i < segments; ++i) {
        bool first = !closed && i == 0, last = !closed && i == segments - 1;
        AddSegment(mask, pts[i], pts[(i + 1) % n], half, first ? square : 0.0, last ? square : 0.0);
    }
    for (std::size_t i = closed ? 0 : 1; i < (closed ? n : n - 1); ++i)
        AddJoin(mask, pts[(i + n - 1) % n], pts[i], pts[(i + 1) % n], pen);
    if (!closed) {
        AddCap(mask, pts.front(), pen);
        AddCap(mask, pts.back(), pen);
    }
}

// The part [t0, t1] of segment a-b (as fractions of its length) near enough to the mask
// for the stroke to reach it; t0 > t1 when none is.
std::pair<double, double> VisiblePart(const CoverageMask& mask, PointD a, PointD b, int width) {
    const RECT& r = mask.Bounds();
    double t0 = 0, t1 = 1, pad = width + 2.0;
    double lo[2] = {r.left - pad, r.top - pad}, hi[2] = {r.right + pad, r.bottom + pad};
    double p0[2] = {a.x, a.y}, d[2] = {b.x - a.x, b.y - a.y};
    for (int k = 0; k < 2; ++k) {
        if (d[k] == 0) {
            if (p0[k] < lo[k] || p0[k] > hi[k]) return {1, 0};
            continue;
        }
        double u = (lo[k] - p0[k]) / d[k], v = (hi[k] - p0[k]) / d[k];
        if (u > v) std::swap(u, v);
        t0 = std::max(t0, u);
        t1 = std::min(t1, v);
    }
    return {t0, t1};
}

// Where a dashed stroke is in its pattern.
class DashCursor {
public:
    explicit DashCursor(const std::vector<double>& dashes)
        : dashes_(dashes), total_(std::accumulate(dashes.begin(), dashes.end(), 0.0)), left_(dashes[0]) {}
    bool InDash() const { return index_ % 2 == 0; }
    double Left() const { return left_; }
    void NextEntry() {
        index_ = (index_ + 1) % dashes_.size();
        left_ = dashes_[index_];
    }
    // Moves along the pattern without drawing; whole repeats are skipped at once so a very
    // long dashed line costs only what it shows.
    void Skip(double distance) {
        distance = std::fmod(distance, total_);
        while (distance >= left_) {
            distance -= left_;
            NextEntry();
        }
        left_ -= distance;
    }
    void Consume(double distance) { left_ -= distance; }

private:
    const std::vector<double>& dashes_;
    double total_;
    std::size_t index_ = 0;
    double left_;
};

// Cuts a figure into its dashes and strokes each as an open run with caps.
void StrokeDashed(CoverageMask& mask, const std::vector<PointD>& pts, bool closed, const GeometricPen& pen) {
    std::vector<PointD> path = pts;
    if (closed) path.push_back(pts.front());
    DashCursor dash(pen.dashes);
    std::vector<PointD> run;
    auto at = [](PointD a, PointD b, double t) { return PointD{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; };
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const PointD a = path[i], b = path[i + 1];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        auto [t0, t1] = VisiblePart(mask, a, b, pen.width);
        if (t0 > t1) {
            if (dash.InDash() && run.size() > 1) StrokeRun(mask, run, false, pen);
            run.clear();
            dash.Skip(len);
            continue;
        }
        double pos = 0;
        if (t0 > 0) {
            if (dash.InDash() && run.size() > 1) StrokeRun(mask, run, false, pen);
            dash.Skip(t0 * len);
            pos = t0 * len;
            run.clear();
        }
        if (run.empty()) run.push_back(at(a, b, pos / len));
        const double end = t1 * len;
        while (end - pos > dash.Left()) {
            pos += dash.Left();
            PointD p = at(a, b, pos / len);
            if (dash.InDash()) {
                run.push_back(p);
                StrokeRun(mask, run, false, pen);
            }
            run.assign(1, p);
            dash.NextEntry();
        }
        dash.Consume(end - pos);
        run.push_back(at(a, b, t1));
        if (t1 < 1) {
            if (dash.InDash() && run.size() > 1) StrokeRun(mask, run, false, pen);
            run.assign(1, b);
            dash.Skip(len - end);
        }
    }
    if (dash.InDash() && run.size() > 1) StrokeRun(mask, run, false, pen);
}

}  // namespace

void StrokeFigure(CoverageMask& mask, std::span<const PointD> points, bool closed, const GeometricPen& pen) {
    if (mask.Empty() || points.empty() || pen.width <= 0) return;
    std::vector<PointD> pts;
    for (const PointD& p : points)
        if (pts.empty() || p.x != pts.back().x || p.y != pts.back().y) pts.push_back(p);
    if (closed && pts.size() > 1 && pts.front().x == pts.back().x && pts.front().y == pts.back().y) pts.pop_back();
    if (closed && pts.size() < 2) closed = false;
    double total = std::accumulate(pen.dashes.begin(), pen.dashes.end(), 0.0);
    if (pen.dashes.empty() || total <= 0 || pts.size() < 2) {
        StrokeRun(mask, pts, closed, pen);
        return;
    }
    StrokeDashed(mask, pts, closed, pen);
}

}  // namespace brimlox::gdi::raster

#include "platform/gdi/raster/polygon.h"

#include <algorithm>

namespace brimlox::gdi::raster {

namespace {

using i128 = __int128;

struct Edge {
    std::int64_t x0, y0, x1, y1;  // y0 < y1
    int direction;                 // +1 when the ring runs downwards here
};

struct Crossing {
    std::int64_t x;  // first pixel at or right of the exact crossing
    int direction;
};

std::int64_t CeilDiv(i128 num, i128 den) {  // den > 0
    i128 q = num / den;
    if (num % den != 0 && num > 0) ++q;
    return static_cast<std::int64_t>(q);
}

std::vector<Edge> CollectEdges(std::span<const Ring> rings) {
    std::vector<Edge> edges;
    for (const Ring& ring : rings) {
        const std::size_t n = ring.xs.size();
        for (std::size_t i = 0; i < n; ++i) {
            std::size_t j = (i + 1) % n;
            std::int64_t ax = ring.xs[i], ay = ring.ys[i], bx = ring.xs[j], by = ring.ys[j];
            if (ay == by) continue;  // horizontal edges never cross a sample row
            if (ay < by) edges.push_back(Edge{ax, ay, bx, by, 1});
            else edges.push_back(Edge{bx, by, ax, ay, -1});
        }
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    return edges;
}

// The exact crossing of row y with an edge, rounded up to a pixel column (a sample point
// exactly on the edge counts as inside for the left edge and outside for the right one).
std::int64_t CrossingColumn(const Edge& e, std::int64_t y) {
    i128 num = static_cast<i128>(e.x0) * (e.y1 - e.y0) + static_cast<i128>(y - e.y0) * (e.x1 - e.x0);
    return CeilDiv(num, e.y1 - e.y0);
}

void EmitRow(CoverageMask& mask, std::int64_t y, std::vector<Crossing>& xs, int fillMode) {
    std::sort(xs.begin(), xs.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    int winding = 0;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        winding += fillMode == 2 ? xs[i].direction : 1;  // WINDING counts directions
        bool inside = fillMode == 2 ? winding != 0 : (winding & 1) != 0;
        if (inside) mask.AddSpan(y, xs[i].x, xs[i + 1].x);
    }
}

}  // namespace

void FillRings(CoverageMask& mask, std::span<const Ring> rings, int fillMode) {
    if (mask.Empty()) return;
    std::vector<Edge> edges = CollectEdges(rings);
    if (edges.empty()) return;
    std::int64_t yMax = edges.front().y1;
    for (const Edge& e : edges) yMax = std::max(yMax, e.y1);
    const RECT& b = mask.Bounds();
    std::int64_t yStart = std::max<std::int64_t>(edges.front().y0, b.top);
    std::int64_t yEnd = std::min<std::int64_t>(yMax, b.bottom);
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    std::size_t next = 0;
    for (std::int64_t y = yStart; y < yEnd; ++y) {
        while (next < edges.size() && edges[next].y0 <= y) active.push_back(&edges[next++]);
        std::erase_if(active, [y](const Edge* e) { return e->y1 <= y; });
        crossings.clear();
        for (const Edge* e : active) crossings.push_back(Crossing{CrossingColumn(*e, y), e->direction});
        EmitRow(mask, y, crossings, fillMode);
    }
}

}  // namespace brimlox::gdi::raster

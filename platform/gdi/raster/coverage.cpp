#include "platform/gdi/raster/coverage.h"

#include <algorithm>

#include "platform/gdi/raster/fill.h"

namespace brimlox::gdi::raster {

CoverageMask::CoverageMask(const RECT& bounds) : bounds_(bounds) {}

void CoverageMask::AddSpan(std::int64_t y, std::int64_t x0, std::int64_t x1) {
    if (y < bounds_.top || y >= bounds_.bottom) return;
    x0 = std::max<std::int64_t>(x0, bounds_.left);
    x1 = std::min<std::int64_t>(x1, bounds_.right);
    if (x0 >= x1) return;
    spans_.push_back(Span{static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1)});
}

void CoverageMask::ForEachSpan(const std::function<void(int, int, int)>& fn) {
    std::sort(spans_.begin(), spans_.end(),
              [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
    // Overlapping or touching spans of a row merge, so each pixel is reported once.
    for (std::size_t i = 0; i < spans_.size();) {
        Span run = spans_[i++];
        while (i < spans_.size() && spans_[i].y == run.y && spans_[i].x0 <= run.x1) run.x1 = std::max(run.x1, spans_[i++].x1);
        fn(run.y, run.x0, run.x1);
    }
}

void CoverageMask::Paint(Surface& target, const BrushPattern& brush, int rop2) {
    ForEachSpan([&](int y, int x0, int x1) { FillRop2(target, RECT{x0, y, x1, y + 1}, brush, rop2); });
}

}  // namespace brimlox::gdi::raster

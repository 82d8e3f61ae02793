#include "platform/gdi/raster/coverage.h"

#include <algorithm>

#include "platform/gdi/raster/fill.h"

namespace brimlox::gdi::raster {

CoverageMask::CoverageMask(const RECT& bounds) : bounds_(bounds) {
    if (!Empty()) rows_.resize(static_cast<std::size_t>(bounds_.bottom - bounds_.top));
}

void CoverageMask::AddSpan(std::int64_t y, std::int64_t x0, std::int64_t x1) {
    if (y < bounds_.top || y >= bounds_.bottom) return;
    x0 = std::max<std::int64_t>(x0, bounds_.left);
    x1 = std::min<std::int64_t>(x1, bounds_.right);
    if (x0 >= x1) return;
    rows_[static_cast<std::size_t>(y - bounds_.top)].push_back(Span{static_cast<int>(x0), static_cast<int>(x1)});
}

void CoverageMask::Normalise(std::vector<Span>& row) {
    if (row.size() < 2) return;
    std::sort(row.begin(), row.end(), [](const Span& a, const Span& b) { return a.x0 < b.x0; });
    std::size_t out = 0;
    for (std::size_t i = 1; i < row.size(); ++i) {
        if (row[i].x0 <= row[out].x1) {
            row[out].x1 = std::max(row[out].x1, row[i].x1);
        } else {
            row[++out] = row[i];
        }
    }
    row.resize(out + 1);
}

void CoverageMask::ForEachSpan(const std::function<void(int, int, int)>& fn) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        Normalise(rows_[i]);
        for (const Span& s : rows_[i]) fn(bounds_.top + static_cast<int>(i), s.x0, s.x1);
    }
}

void CoverageMask::Paint(Surface& target, const BrushPattern& brush, int rop2) {
    ForEachSpan([&](int y, int x0, int x1) { FillRop2(target, RECT{x0, y, x1, y + 1}, brush, rop2); });
}

}  // namespace brimlox::gdi::raster

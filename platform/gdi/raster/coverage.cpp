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

// Orders the spans by row, then by start. Shapes add their rows top to bottom one piece after
// another (a stroke's body, then its caps), so a bucket per row costs one pass where a
// comparison sort of every span would cost a logarithm more.
void CoverageMask::SortSpans() {
    auto before = [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; };
    if (std::is_sorted(spans_.begin(), spans_.end(), before)) return;
    const int top = bounds_.top;
    const auto rows = static_cast<std::size_t>(bounds_.bottom - bounds_.top);
    std::vector<std::uint32_t> first(rows + 1, 0);
    for (const Span& s : spans_) ++first[static_cast<std::size_t>(s.y - top) + 1];
    for (std::size_t r = 0; r < rows; ++r) first[r + 1] += first[r];
    std::vector<Span> sorted(spans_.size());
    std::vector<std::uint32_t> next(first.begin(), first.end() - 1);
    for (const Span& s : spans_) sorted[next[static_cast<std::size_t>(s.y - top)]++] = s;
    for (std::size_t r = 0; r < rows; ++r)
        if (first[r + 1] - first[r] > 1) std::sort(sorted.begin() + first[r], sorted.begin() + first[r + 1], before);
    spans_ = std::move(sorted);
}

// Sorts, then merges overlapping or touching spans of a row in place, so each pixel is
// covered by one span.
void CoverageMask::MergeSpans() {
    SortSpans();
    std::size_t out = 0;
    for (std::size_t i = 0; i < spans_.size();) {
        Span run = spans_[i++];
        while (i < spans_.size() && spans_[i].y == run.y && spans_[i].x0 <= run.x1) run.x1 = std::max(run.x1, spans_[i++].x1);
        spans_[out++] = run;
    }
    spans_.resize(out);
}

void CoverageMask::ForEachSpan(const std::function<void(int, int, int)>& fn) {
    MergeSpans();
    for (const Span& s : spans_) fn(s.y, s.x0, s.x1);
}

// A row with one span that covers the same columns as the only span of the row above
// continues that rectangle: every pixel is still written once, and the straight part of a
// wide stroke costs one fill instead of one a row.
void CoverageMask::Paint(Surface& target, const BrushPattern& brush, int rop2) {
    MergeSpans();
    std::size_t i = 0;
    while (i < spans_.size()) {
        const Span first = spans_[i];
        const bool alone = i + 1 == spans_.size() || spans_[i + 1].y != first.y;
        if (!alone) {
            FillRop2(target, RECT{first.x0, first.y, first.x1, first.y + 1}, brush, rop2);
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        int bottom = first.y + 1;
        while (j < spans_.size() && spans_[j].y == bottom && spans_[j].x0 == first.x0 && spans_[j].x1 == first.x1 &&
               (j + 1 == spans_.size() || spans_[j + 1].y != bottom)) {
            ++bottom;
            ++j;
        }
        FillRop2(target, RECT{first.x0, first.y, first.x1, bottom}, brush, rop2);
        i = j;
    }
}

}  // namespace brimlox::gdi::raster

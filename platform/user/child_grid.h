// A coarse grid over the children of one window, so that a hit test among thousands of
// siblings looks at the few children near the point instead of all of them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/gdi/wintypes.h"

namespace brimlox::user {

class WindowObject;

// One child as hit tests read it: its rectangle in the parent's client coordinates and flags.
struct ChildSpot {
    RECT rect;
    WindowObject* window;
    bool visible;
    bool enabled;
};

// Buckets of child indices, one bucket per cell of a grid laid over the visible children's
// bounding box. A bucket lists every visible child whose rectangle reaches into the cell, in
// the order of the spots (z-order, topmost first), so the first child in a bucket that holds
// a point is the topmost child there, exactly as a walk over all the children finds it.
// Few children, or children overlapping so much that the buckets would grow far beyond the
// child count, get no grid: the walk over all of them is as quick then.
class ChildGrid {
public:
    static constexpr std::size_t kMinChildren = 24;

    void Build(std::span<const ChildSpot> spots);
    bool Built() const { return cols_ > 0; }
    // The indices of the children that may hold `p`, topmost first; empty outside every child.
    std::span<const std::uint32_t> CandidatesAt(POINT p) const;
    // Calls `visit` with the bucket of every cell that `area` reaches into, until it returns true.
    template <typename Visit>
    bool AnyCellOver(const RECT& area, Visit&& visit) const;

private:
    int CellColumn(int x) const { return (x - static_cast<int>(bounds_.left)) / cellWidth_; }
    int CellRow(int y) const { return (y - static_cast<int>(bounds_.top)) / cellHeight_; }
    std::span<const std::uint32_t> Bucket(int col, int row) const;
    bool Fill(std::span<const ChildSpot> spots);

    RECT bounds_{};
    int cols_ = 0;
    int rows_ = 0;
    int cellWidth_ = 1;
    int cellHeight_ = 1;
    std::vector<std::uint32_t> starts_;   // bucket i is entries_[starts_[i], starts_[i + 1])
    std::vector<std::uint32_t> entries_;
};

template <typename Visit>
bool ChildGrid::AnyCellOver(const RECT& area, Visit&& visit) const {
    if (!Built() || !RectsOverlap(area, bounds_)) return false;
    const int c0 = CellColumn(std::max(area.left, bounds_.left));
    const int c1 = CellColumn(std::min(area.right, bounds_.right) - 1);
    const int r0 = CellRow(std::max(area.top, bounds_.top));
    const int r1 = CellRow(std::min(area.bottom, bounds_.bottom) - 1);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            if (visit(Bucket(c, r))) return true;
    return false;
}

}  // namespace brimlox::user

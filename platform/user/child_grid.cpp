// The hit-test grid over a window's children: sizing the cells and filling the buckets.
#include "platform/user/child_grid.h"

#include <cmath>

namespace brimlox::user {

namespace {

// Buckets may hold up to this many entries per child before the grid is given up: children
// that each span many cells (large overlapping panes) gain nothing from it.
constexpr std::size_t kMaxEntriesPerChild = 8;
constexpr int kMaxCellsPerSide = 256;

bool Indexed(const ChildSpot& s) { return s.visible && s.rect.left < s.rect.right && s.rect.top < s.rect.bottom; }

}  // namespace

void ChildGrid::Build(std::span<const ChildSpot> spots) {
    cols_ = rows_ = 0;
    starts_.clear();
    entries_.clear();
    if (spots.size() < kMinChildren) return;
    std::size_t indexed = 0;
    for (const ChildSpot& s : spots) {
        if (!Indexed(s)) continue;
        bounds_ = indexed++ == 0 ? s.rect
                                 : RECT{std::min(bounds_.left, s.rect.left), std::min(bounds_.top, s.rect.top),
                                        std::max(bounds_.right, s.rect.right), std::max(bounds_.bottom, s.rect.bottom)};
    }
    if (indexed < kMinChildren) return;
    // About one cell per child, shaped like the bounding box.
    const double width = static_cast<double>(bounds_.right - bounds_.left);
    const double height = static_cast<double>(bounds_.bottom - bounds_.top);
    const double side = std::sqrt(width * height / static_cast<double>(indexed));
    cols_ = std::clamp(static_cast<int>(std::ceil(width / side)), 1, kMaxCellsPerSide);
    rows_ = std::clamp(static_cast<int>(std::ceil(height / side)), 1, kMaxCellsPerSide);
    cellWidth_ = std::max(1, static_cast<int>(std::ceil(width / cols_)));
    cellHeight_ = std::max(1, static_cast<int>(std::ceil(height / rows_)));
    if (!Fill(spots)) {
        cols_ = rows_ = 0;
        starts_.clear();
        entries_.clear();
    }
}

// Counts the entries of each bucket, then places the child indices in spot order, so every
// bucket lists its children topmost first.
bool ChildGrid::Fill(std::span<const ChildSpot> spots) {
    const std::size_t cells = static_cast<std::size_t>(cols_) * static_cast<std::size_t>(rows_);
    starts_.assign(cells + 1, 0);
    std::size_t total = 0;
    const auto forEachCell = [this](const RECT& r, auto&& f) {
        for (int row = CellRow(r.top); row <= CellRow(r.bottom - 1); ++row)
            for (int col = CellColumn(r.left); col <= CellColumn(r.right - 1); ++col)
                f(static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(col));
    };
    for (const ChildSpot& s : spots) {
        if (!Indexed(s)) continue;
        forEachCell(s.rect, [&](std::size_t cell) { ++starts_[cell + 1]; });
        total += static_cast<std::size_t>(CellRow(s.rect.bottom - 1) - CellRow(s.rect.top) + 1) *
                 static_cast<std::size_t>(CellColumn(s.rect.right - 1) - CellColumn(s.rect.left) + 1);
        if (total > kMaxEntriesPerChild * spots.size()) return false;
    }
    for (std::size_t i = 1; i <= cells; ++i) starts_[i] += starts_[i - 1];
    entries_.resize(total);
    std::vector<std::uint32_t> fill(starts_.begin(), starts_.end() - 1);
    for (std::size_t i = 0; i < spots.size(); ++i) {
        if (!Indexed(spots[i])) continue;
        forEachCell(spots[i].rect, [&](std::size_t cell) { entries_[fill[cell]++] = static_cast<std::uint32_t>(i); });
    }
    return true;
}

std::span<const std::uint32_t> ChildGrid::Bucket(int col, int row) const {
    const std::size_t cell = static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(col);
    return std::span<const std::uint32_t>(entries_).subspan(starts_[cell], starts_[cell + 1] - starts_[cell]);
}

std::span<const std::uint32_t> ChildGrid::CandidatesAt(POINT p) const {
    if (!RectContains(bounds_, p)) return {};
    return Bucket(CellColumn(p.x), CellRow(p.y));
}

}  // namespace brimlox::user

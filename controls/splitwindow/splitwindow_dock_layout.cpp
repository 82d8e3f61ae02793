// The tool bar's arrangement as geometry: springs first (they take what the other items leave
// of the bar's length), then the items in order along the bar, a new row whenever the next one
// would pass the far end, and each item centred across the row it sits in.
#include "controls/splitwindow/splitwindow_dock_layout.h"

#include <algorithm>

namespace brimlox::controls {

namespace {

// The length each spring gets: an equal share of what the fixed items leave free, counting
// one spacing after every item but the last.
int SpringLength(std::span<const ToolItem> items, const ToolBarMetrics& m) {
    int springs = 0, taken = 0;
    for (const auto& item : items) {
        if (item.kind == ToolItemKind::Spring) ++springs;
        else taken += std::max(0, item.length);
        taken += kToolSpacing;
    }
    if (springs == 0) return 0;
    const int room = m.barLength - m.borderGap - m.leading + kToolSpacing;
    return std::max(kSpringMinLength, (room - taken) / springs);
}

}  // namespace

ToolBarLayout LayOutToolBar(std::span<const ToolItem> items, const ToolBarMetrics& m) {
    ToolBarLayout out;
    out.places.resize(items.size());
    const int spring = SpringLength(items, m);
    const int end = m.barLength - m.borderGap;
    std::vector<int> rowOf(items.size(), 0);
    std::vector<int> rowThickness(1, 0);
    int pos = m.leading;
    int lastInRow = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int length = items[i].kind == ToolItemKind::Spring ? spring : std::max(0, items[i].length);
        if (lastInRow >= 0 && pos + length > end) {
            // The row is full: a divider at its end would separate nothing.
            if (items[lastInRow].kind == ToolItemKind::Divider) out.places[lastInRow].shown = false;
            rowThickness.push_back(0);
            pos = m.leading;
        }
        const int row = static_cast<int>(rowThickness.size()) - 1;
        rowOf[i] = row;
        out.places[i].along = pos;
        out.places[i].length = length;
        rowThickness[row] = std::max(rowThickness[row], std::max(0, items[i].thickness));
        pos += length + kToolSpacing;
        lastInRow = static_cast<int>(i);
    }
    // Rows follow each other across the bar; items are centred in their row.
    std::vector<int> rowStart(rowThickness.size(), m.borderGap);
    for (std::size_t r = 1; r < rowThickness.size(); ++r)
        rowStart[r] = rowStart[r - 1] + rowThickness[r - 1] + kToolSpacing;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int row = rowOf[i];
        out.places[i].across = rowStart[row] + (rowThickness[row] - std::max(0, items[i].thickness)) / 2;
    }
    out.rows = items.empty() ? 0 : static_cast<int>(rowThickness.size());
    const int used = rowStart.back() + rowThickness.back() + m.borderGap;
    out.thickness = std::max(kToolBarMinThickness, used);
    return out;
}

}  // namespace brimlox::controls

// The geometry of a tool bar's arrangement, apart from the controls it moves: items laid out
// from the bar's leading end in rows (or columns), spring dividers sharing the free length,
// a divider that would end a wrapped row hidden, and the thickness the bar needs. Everything is
// in pixels along and across the bar, so the rules hold at any twips per pixel.
#pragma once

#include <span>
#include <vector>

namespace brimlox::controls {

enum class ToolItemKind { Control, Divider, Spring };

// One visible control on the bar: its extent along the bar and across it.
struct ToolItem {
    ToolItemKind kind = ToolItemKind::Control;
    int length = 0;
    int thickness = 0;
};

// Where an item goes: its start along and across the bar, its length along the bar (a
// spring's is computed), and whether it is shown.
struct ToolPlace {
    int along = 0;
    int across = 0;
    int length = 0;
    bool shown = true;
};

struct ToolBarMetrics {
    int barLength = 0;   // the bar's extent along its long side
    int leading = 0;     // grip plus border gap before the first item
    int borderGap = 0;   // gap kept at the far end and on both sides across the bar
};

struct ToolBarLayout {
    std::vector<ToolPlace> places;  // one per item, in the items' order
    int thickness = 0;              // the bar's extent across, for all rows
    int rows = 0;
};

// The spacing between neighbours along the bar and between rows, the thickness of an empty
// bar, and the shortest a spring divider gets.
inline constexpr int kToolSpacing = 2;
inline constexpr int kToolBarMinThickness = 20;
inline constexpr int kSpringMinLength = 3;

ToolBarLayout LayOutToolBar(std::span<const ToolItem> items, const ToolBarMetrics& metrics);

}  // namespace brimlox::controls

// The tool bar's arrangement as geometry: spacing, springs, wrapping into rows with the
// divider at a row's end hidden, centring across a row, and the bar's thickness.
#include <gtest/gtest.h>

#include <vector>

#include "controls/splitwindow/splitwindow_dock_layout.h"

namespace brimlox::test {
namespace {

using controls::LayOutToolBar;
using controls::ToolBarMetrics;
using controls::ToolItem;
using controls::ToolItemKind;

ToolItem Button(int length = 23, int thickness = 22) { return {ToolItemKind::Control, length, thickness}; }
ToolItem Line() { return {ToolItemKind::Divider, 8, 22}; }
ToolItem Spring() { return {ToolItemKind::Spring, 1, 22}; }

TEST(ToolBarLayout, ControlsFollowTheGripTwoPixelsApartInOneRow) {
    const std::vector<ToolItem> items{Button(), Line(), Button(30, 16)};
    const auto layout = LayOutToolBar(items, ToolBarMetrics{200, 13, 3});
    ASSERT_EQ(layout.places.size(), 3u);
    EXPECT_EQ(layout.places[0].along, 13);
    EXPECT_EQ(layout.places[1].along, 13 + 23 + 2);
    EXPECT_EQ(layout.places[2].along, 13 + 23 + 2 + 8 + 2);
    EXPECT_EQ(layout.rows, 1);
    // The row is as thick as its thickest item; a thinner one sits in its middle.
    EXPECT_EQ(layout.places[0].across, 3);
    EXPECT_EQ(layout.places[2].across, 3 + 3);
    EXPECT_EQ(layout.thickness, 3 + 22 + 3);
    for (const auto& p : layout.places) EXPECT_TRUE(p.shown);
}

TEST(ToolBarLayout, SpringsShareTheFreeLengthAndNeverShrinkBelowThreePixels) {
    // 200 long: 13 leading, 3 at the end; two buttons and two springs.
    const std::vector<ToolItem> items{Button(), Spring(), Button(), Spring()};
    auto layout = LayOutToolBar(items, ToolBarMetrics{200, 13, 3});
    const int free = (200 - 3 - 13 + 2) - 4 * 2 - 2 * 23;
    EXPECT_EQ(layout.places[1].length, free / 2);
    EXPECT_EQ(layout.places[3].length, free / 2);
    // The last spring ends at the far end less the border gap (up to the rounding of the share).
    const auto& last = layout.places[3];
    EXPECT_LE(last.along + last.length, 200 - 3);
    EXPECT_GE(last.along + last.length, 200 - 3 - 1);
    EXPECT_EQ(layout.rows, 1);

    // No room left: springs keep 3 pixels, and the bar wraps rather than overlapping.
    const std::vector<ToolItem> crowded{Button(90), Spring(), Button(90)};
    layout = LayOutToolBar(crowded, ToolBarMetrics{150, 13, 3});
    EXPECT_EQ(layout.places[1].length, 3);
    EXPECT_EQ(layout.rows, 2);
}

TEST(ToolBarLayout, AFullRowWrapsAndTheDividerEndingItIsHidden) {
    // Three buttons fit in 100 pixels after a 13-pixel grip; the divider after them would end
    // the row, so it is hidden and the fourth button starts a new row.
    const std::vector<ToolItem> items{Button(), Button(), Button(), Line(), Button()};
    const auto layout = LayOutToolBar(items, ToolBarMetrics{100, 13, 3});
    EXPECT_EQ(layout.rows, 2);
    EXPECT_TRUE(layout.places[2].shown);
    EXPECT_EQ(layout.places[3].along, 13 + 3 * 25);
    EXPECT_EQ(layout.places[3].across, 3);
    // The divider fitted (8 pixels) but the button after it did not: the divider ends row one.
    EXPECT_FALSE(layout.places[3].shown);
    EXPECT_EQ(layout.places[4].along, 13);
    EXPECT_EQ(layout.places[4].across, 3 + 22 + 2);
    EXPECT_EQ(layout.thickness, 3 + 22 + 2 + 22 + 3);
}

TEST(ToolBarLayout, AnEmptyOrThinBarIsTwentyPixelsThick) {
    EXPECT_EQ(LayOutToolBar({}, ToolBarMetrics{100, 13, 3}).thickness, 20);
    const std::vector<ToolItem> thin{Button(10, 6)};
    EXPECT_EQ(LayOutToolBar(thin, ToolBarMetrics{100, 10, 0}).thickness, 20);
    // An item longer than the whole bar keeps its own row and does not make an empty one.
    const std::vector<ToolItem> huge{Button(500), Button()};
    const auto layout = LayOutToolBar(huge, ToolBarMetrics{100, 13, 3});
    EXPECT_EQ(layout.rows, 2);
    EXPECT_EQ(layout.places[0].along, 13);
    EXPECT_EQ(layout.places[1].across, 3 + 22 + 2);
}

}  // namespace
}  // namespace brimlox::test

// The tool-bar arrangement on real controls: buttons after the grip, dividers turned across
// the bar, a spring divider taking the free length, wrapping with the divider at a row's end
// hidden (and shown again when the bar grows), and the bar turned into a column.
#include <gtest/gtest.h>

#include "controls/splitwindow/splitwindow_dock_test.h"

namespace brimlox::test {
namespace {

using controls::BumpDivider;
using controls::SpringDivider;

class SplitWindowToolBarTest : public DockTest {};

TEST_F(SplitWindowToolBarTest, ControlsFollowTheGripWithDividersAcrossAndASpringFillingTheRow) {
    MakeForm();
    auto bar = AddToolBar(20, 100, 300, 40);
    auto one = AddButton(*bar), two = AddButton(*bar);
    auto bump = AddDivider(*bar, BumpDivider, 23, 8);  // lying along the bar at first
    auto spring = AddDivider(*bar, SpringDivider);
    auto last = AddButton(*bar);
    bar->Refresh();
    // Grip 10 + border gap 3; 2 pixels between controls; one row 3 + 23 + 3 thick.
    EXPECT_EQ(one->Left(), Px(13));
    EXPECT_EQ(one->Top(), Px(3));
    EXPECT_EQ(two->Left(), Px(13 + 25));
    EXPECT_EQ(bump->Width(), Px(8)) << "turned across the bar";
    EXPECT_EQ(bump->Height(), Px(23));
    EXPECT_EQ(bump->Left(), Px(13 + 50));
    EXPECT_EQ(bar->Height(), Px(29));
    // The spring takes what is left, so the last button ends at the far border gap.
    EXPECT_EQ(spring->Left(), Px(13 + 50 + 10));
    EXPECT_EQ(last->Left() + last->Width(), Px(300 - 3));
    EXPECT_EQ(spring->Width(), last->Left() - Px(2) - spring->Left());

    // A line drawn on the bar is stretched across it, inside the border gaps, where it stands.
    auto line = form->Add("Line", "", bar.get());
    host::LetProperty(*line, "X1", host::Variant(std::int32_t{Px(50)}));
    host::LetProperty(*line, "X2", host::Variant(std::int32_t{Px(90)}));
    bar->Refresh();
    EXPECT_EQ(host::GetProperty(*line, "X2").ToLong(), Px(50));
    EXPECT_EQ(host::GetProperty(*line, "Y1").ToLong(), Px(3));
    EXPECT_EQ(host::GetProperty(*line, "Y2").ToLong(), Px(29 - 3));
    EXPECT_EQ(last->Left() + last->Width(), Px(300 - 3)) << "a line takes no room from the controls";
}

TEST_F(SplitWindowToolBarTest, ANarrowBarWrapsHidesTheDividerEndingARowAndShowsItWhenWidened) {
    MakeForm();
    auto bar = AddToolBar(20, 100, 100, 28);
    auto a = AddButton(*bar), b = AddButton(*bar), c = AddButton(*bar);
    auto bump = AddDivider(*bar, BumpDivider);
    auto d = AddButton(*bar);
    bar->Refresh();
    EXPECT_FALSE(bump->Visible()) << "it would end the first row";
    EXPECT_EQ(d->Left(), Px(13));
    EXPECT_EQ(d->Top(), Px(3 + 23 + 2));
    EXPECT_EQ(bar->Height(), Px(3 + 23 + 2 + 23 + 3));

    bar->Move(bar->Left(), bar->Top(), Px(200), bar->Height());
    bar->Refresh();
    EXPECT_TRUE(bump->Visible());
    EXPECT_EQ(d->Top(), Px(3));
    EXPECT_EQ(d->Left(), Px(13 + 3 * 25 + 10));
    EXPECT_EQ(bar->Height(), Px(29));
    (void)a, (void)b, (void)c;
}

TEST_F(SplitWindowToolBarTest, DockedLeftTheBarBecomesAColumnOfItsControls) {
    MakeForm();
    auto bar = AddToolBar(20, 100, 120, 28);
    auto a = AddButton(*bar), b = AddButton(*bar);
    auto bump = AddDivider(*bar, BumpDivider);
    bar->SetDock(host::kAlignLeft);
    bar->Refresh();
    EXPECT_TRUE(bar->Vertical());
    EXPECT_EQ(bar->Height(), Px(300));
    EXPECT_EQ(a->Top(), Px(13));
    EXPECT_EQ(b->Top(), Px(13 + 25));
    EXPECT_GT(bump->Width(), bump->Height()) << "a divider lies across a column";
    EXPECT_EQ(bar->Width(), Px(3 + 23 + 3));
    EXPECT_EQ(a->Left(), Px(3));
}

}  // namespace
}  // namespace brimlox::test

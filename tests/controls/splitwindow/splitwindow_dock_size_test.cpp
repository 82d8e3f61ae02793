// Sizing a floating SplitWindow by its edges within its limits, and turning a tool bar: by a
// right press on its grip, by code, refused without an allowed edge, held to its maximum.
#include <gtest/gtest.h>

#include "controls/splitwindow/splitwindow_dock_test.h"

namespace brimlox::test {
namespace {

using controls::SplitWindow;

class SplitWindowSizeTest : public DockTest {};

TEST_F(SplitWindowSizeTest, TheCornerSizesBothWaysWithinMinimumAndMaximum) {
    MakeForm();
    auto win = std::static_pointer_cast<SplitWindow>(form->Add("SplitWindow"));
    win->SetActive(true);
    win->SetSizeable(true);
    win->SetMaxWidth(Px(200));
    win->Move(Px(50), Px(50), Px(100), Px(80));
    // Grabbed 2 pixels inside the bottom-right corner: the size follows the pointer.
    Play("at 10ms move 148 128\ndown left\nat 50ms move 178 158\nat 90ms up left\n");
    EXPECT_EQ(win->Width(), Px(130));
    EXPECT_EQ(win->Height(), Px(110));
    EXPECT_EQ(win->FloatWidth(), Px(130)) << "sizing a floating window sets its float size";
    EXPECT_EQ(win->FloatHeight(), Px(110));

    // Far out and far in: MaxWidth and the 300-twip minimum hold.
    Play("at 10ms move 178 158\ndown left\nat 50ms move 390 290\nat 90ms up left\n");
    EXPECT_EQ(win->Width(), Px(200));
    EXPECT_EQ(win->Height(), Px(290 - 50 + 2));
    Play("at 10ms move 248 290\ndown left\nat 50ms move 20 20\nat 90ms up left\n");
    EXPECT_EQ(win->Width(), 300);
    EXPECT_EQ(win->Height(), 300);

    // The right edge alone changes only the width; the bottom edge only the height.
    win->Move(Px(50), Px(50), Px(100), Px(80));
    Play("at 10ms move 148 90\ndown left\nat 50ms move 170 200\nat 90ms up left\n");
    EXPECT_EQ(win->Width(), Px(122));
    EXPECT_EQ(win->Height(), Px(80));
    Play("at 10ms move 100 128\ndown left\nat 50ms move 10 140\nat 90ms up left\n");
    EXPECT_EQ(win->Width(), Px(122));
    EXPECT_EQ(win->Height(), Px(92));

    // Not Sizeable: the same press sizes nothing.
    win->SetSizeable(false);
    Play("at 10ms move 170 140\ndown left\nat 50ms move 250 250\nat 90ms up left\n");
    EXPECT_EQ(win->Width(), Px(122));
}

TEST_F(SplitWindowSizeTest, ARightPressOnTheGripTurnsAFloatingBarAndRaisesChanged) {
    MakeForm();
    auto bar = AddToolBar(100, 100, 120, 28);
    int changed = 0;
    bar->Connect("Changed", [&](std::span<host::Variant>) { ++changed; });
    Play("at 10ms move 104 110\ndown right\nat 40ms up right\n");
    EXPECT_TRUE(bar->Vertical());
    EXPECT_EQ(bar->Width(), Px(28));
    EXPECT_EQ(bar->Height(), Px(180)) << "the new long side is 1.5 times the old short side";
    EXPECT_EQ(bar->FloatWidth(), Px(28));
    EXPECT_EQ(changed, 1);

    // Without UserOrientation the press still raises Changed but turns nothing.
    bar->SetUserOrientation(false);
    Play("at 10ms move 110 104\ndown right\nat 40ms up right\n");
    EXPECT_TRUE(bar->Vertical());
    EXPECT_EQ(changed, 2);

    // Off the grip, or docked, a right press does nothing.
    bar->SetUserOrientation(true);
    Play("at 10ms move 110 200\ndown right\nat 40ms up right\n");
    EXPECT_TRUE(bar->Vertical());
    EXPECT_EQ(changed, 2);
}

TEST_F(SplitWindowSizeTest, TurningByCodeNeedsAnAllowedEdgeAndKeepsWithinTheLimitsAndTheForm) {
    MakeForm();
    auto bar = AddToolBar(100, 100, 120, 28);
    bar->SetVertical(false);
    bar->SetDockLeft(false);
    bar->SetDockRight(false);
    bar->SetVertical(true);
    EXPECT_FALSE(bar->Vertical()) << "no side to dock to: the bar stays a row";
    EXPECT_EQ(bar->Width(), Px(120));

    bar->SetDockRight(true);
    bar->SetMaxHeight(Px(150));
    bar->SetVertical(true);
    EXPECT_TRUE(bar->Vertical());
    EXPECT_EQ(bar->Width(), Px(28));
    EXPECT_EQ(bar->Height(), Px(150)) << "the turn respects MaxHeight";

    // Turned back near the form's right end, the longer row is shifted to stay on the form.
    bar->SetMaxHeight(0);
    bar->Move(Px(380), Px(100), Px(20), Px(100));
    bar->SetVertical(false);
    EXPECT_EQ(bar->Width(), Px(150));
    EXPECT_EQ(bar->Height(), Px(20));
    EXPECT_EQ(bar->Left() + bar->Width(), Px(400));
}

}  // namespace
}  // namespace brimlox::test

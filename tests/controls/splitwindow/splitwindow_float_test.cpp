// Moving a SplitWindow by its grip with scripted mouse input: snapping and docking at the
// form's edges (the edge across the long side wins in a corner), Shift keeping it floating,
// pulling a docked bar off its edge, the process-wide move flag, Moved, and Ctrl-drops into
// another container.
#include <gtest/gtest.h>

#include "controls/splitwindow/splitwindow_dock_test.h"
#include "platform/user/timer.h"

namespace brimlox::test {
namespace {

using controls::SplitWindow;
using host::kAlignLeft;
using host::kAlignNone;
using host::kAlignTop;

class SplitWindowFloatTest : public DockTest {
protected:
    int moved = 0;
    void Count(SplitWindow& bar) {
        bar.Connect("Moved", [this](std::span<host::Variant>) { ++moved; });
    }
};

TEST_F(SplitWindowFloatTest, AWideBarDraggedIntoTheTopLeftCornerDocksToTheTop) {
    MakeForm();
    auto bar = AddToolBar(100, 100, 120, 28);
    Count(*bar);
    bool flagSeen = false, movingSeen = false;
    user::HostTimer probe([&] {
        flagSeen = flagSeen || SplitWindow::ToolWindowMoving();
        movingSeen = movingSeen || bar->Moving();
    });
    probe.SetInterval(20);
    probe.SetEnabled(true);
    Play("at 10ms move 104 110\ndown left\nat 60ms move 60 60\nat 100ms move 1 1\nat 140ms up left\n");
    EXPECT_TRUE(flagSeen) << "the move flag is process-wide while the bar moves";
    EXPECT_TRUE(movingSeen);
    EXPECT_FALSE(SplitWindow::ToolWindowMoving());
    EXPECT_FALSE(bar->Moving());
    EXPECT_EQ(bar->Dock(), kAlignTop) << "the vertical test runs last for a wide bar";
    EXPECT_EQ(bar->Align(), kAlignTop);
    EXPECT_EQ(bar->Width(), Px(400));
    EXPECT_EQ(moved, 1);
}

TEST_F(SplitWindowFloatTest, BarsDockedToOneEdgeStackAndThePulledOffOneLeavesNoGap) {
    MakeForm();
    auto first = AddToolBar(100, 100, 120, 28);
    auto second = AddToolBar(100, 200, 120, 28);
    Play("at 10ms move 104 110\ndown left\nat 60ms move 150 2\nat 100ms up left\n");
    Play("at 10ms move 104 210\ndown left\nat 60ms move 150 2\nat 100ms up left\n");
    ASSERT_EQ(first->Dock(), kAlignTop);
    ASSERT_EQ(second->Dock(), kAlignTop);
    EXPECT_EQ(first->Top(), 0);
    EXPECT_EQ(second->Top(), first->Height()) << "the later bar docks below the one already there";

    // The first pulled off its edge: the second moves up to the form's top.
    Play("at 10ms move 4 10\ndown left\nat 60ms move 200 150\nat 100ms up left\n");
    EXPECT_EQ(first->Dock(), kAlignNone);
    EXPECT_EQ(second->Top(), 0);
}

TEST_F(SplitWindowFloatTest, ShiftAtTheReleaseKeepsTheBarFloatingWhereItSnapped) {
    MakeForm();
    auto bar = AddToolBar(100, 100, 120, 28);
    Play("at 10ms move 104 110\ndown left\nat 60ms move 60 60\nat 100ms move 1 1\nkey down VK_SHIFT\n"
         "at 140ms up left\nkey up VK_SHIFT\n");
    EXPECT_EQ(bar->Dock(), kAlignNone);
    EXPECT_EQ(bar->Align(), kAlignNone);
    EXPECT_EQ(bar->Left(), 0);
    EXPECT_EQ(bar->Top(), 0);
    EXPECT_EQ(bar->Width(), Px(120));

    // A tall window at the left edge docks left; moving it away from every edge floats it.
    auto column = AddToolBar(200, 60, 28, 150);
    Play("at 10ms move 210 64\ndown left\nat 60ms move 100 80\nat 100ms move 5 90\nat 140ms up left\n");
    EXPECT_EQ(column->Dock(), kAlignLeft);
    EXPECT_EQ(column->Align(), kAlignLeft);
    EXPECT_TRUE(column->Vertical());
}

TEST_F(SplitWindowFloatTest, PullingADockedBarByItsGripFloatsItAtItsFloatSizeUnderThePointer) {
    MakeForm();
    auto bar = AddToolBar(100, 100, 120, 28);
    Count(*bar);
    bar->SetDock(kAlignTop);
    ASSERT_EQ(bar->Align(), kAlignTop);
    Play("at 10ms move 5 10\ndown left\nat 60ms move 150 120\nat 100ms move 200 150\nat 140ms up left\n");
    EXPECT_EQ(bar->Dock(), kAlignNone);
    EXPECT_EQ(bar->Align(), kAlignNone);
    EXPECT_EQ(bar->Width(), Px(120));
    EXPECT_EQ(bar->Height(), Px(28));
    // The grab point moved to the middle of the floating bar, 8 pixels down.
    EXPECT_EQ(bar->Left(), Px(200 - 60));
    EXPECT_EQ(bar->Top(), Px(150 - 8));
    EXPECT_EQ(moved, 1);

    // A press that is not on the grip moves nothing.
    Play("at 10ms move 230 155\ndown left\nat 60ms move 300 200\nat 100ms up left\n");
    EXPECT_EQ(bar->Left(), Px(140));
    EXPECT_EQ(moved, 1);
}

TEST_F(SplitWindowFloatTest, CtrlDropsTheBarIntoTheContainerUnderThePointerAndLiftsItOut) {
    MakeForm();
    auto host = form->Add("PictureBox", "picHost");
    host->Move(Px(200), Px(120), Px(180), Px(160));
    POINT inner{0, 0};  // the container's client origin on the screen
    ClientToScreen(host->hWnd(), &inner);
    RECT client{};
    GetClientRect(host->hWnd(), &client);
    auto bar = AddToolBar(20, 20, 100, 28);
    Count(*bar);
    Play("at 10ms key down VK_CONTROL\nmove 24 30\ndown left\nat 60ms move 150 150\nat 100ms move 250 200\n"
         "at 140ms up left\nkey up VK_CONTROL\n");
    ASSERT_EQ(bar->ContainerControl(), host.get());
    EXPECT_EQ(bar->Dock(), kAlignNone);
    // It stays where it was dropped on the screen: pointer at 250, 200 with the grab 4, 10 in.
    EXPECT_EQ(bar->Left(), Px(250 - 4 - inner.x));
    EXPECT_EQ(bar->Top(), Px(200 - 10 - inner.y));
    EXPECT_EQ(moved, 1);

    // Ctrl while moving lifts it onto the form (it then snaps at the form's right edge);
    // dropped over the container again, it goes back in, held inside the container.
    Play("at 10ms key down VK_CONTROL\nmove 250 200\ndown left\nat 60ms move 370 270\n"
         "at 140ms up left\nkey up VK_CONTROL\n");
    ASSERT_EQ(bar->ContainerControl(), host.get());
    EXPECT_EQ(bar->Dock(), kAlignNone);
    EXPECT_EQ(bar->Left() + bar->Width(), Px(client.right));
    EXPECT_EQ(bar->Top() + bar->Height(), Px(client.bottom));

    // Released over the form alone, the lifted bar stays on the form, floating.
    POINT grip{4, 10};
    ClientToScreen(bar->hWnd(), &grip);
    Play("at 10ms key down VK_CONTROL\nmove " + std::to_string(grip.x) + " " + std::to_string(grip.y) +
         "\ndown left\nat 60ms move 100 60\nat 100ms move 90 50\nat 140ms up left\nkey up VK_CONTROL\n");
    EXPECT_EQ(bar->ContainerControl(), nullptr);
    EXPECT_EQ(bar->Dock(), kAlignNone);
    EXPECT_EQ(bar->Left(), Px(90 - 4));
    EXPECT_EQ(bar->Top(), Px(50 - 10));
    EXPECT_EQ(moved, 3);
}

// The pointer may end up over a container inside the bar itself (the bar stops at an edge
// while the pointer goes on): that one is never a drop target, the container under the bar is.
TEST_F(SplitWindowFloatTest, ACtrlDropNeverPutsTheBarIntoItselfButIntoTheContainerUnderIt) {
    MakeForm();
    auto host = form->Add("PictureBox", "picHost");
    host->Move(Px(250), Px(100), Px(150), Px(100));
    auto bar = AddToolBar(100, 150, 120, 29);
    auto inner = form->Add("PictureBox", "picInner", bar.get());
    inner->Move(Px(40), Px(3), Px(70), Px(23));
    // Snapped at the form's right edge the bar spans 280 to 400, so the pointer at 380 is over
    // its own inner box, and over the host below the bar.
    Play("at 10ms key down VK_CONTROL\nmove 104 160\ndown left\nat 60ms move 380 120\n"
         "at 140ms up left\nkey up VK_CONTROL\n");
    EXPECT_EQ(bar->ContainerControl(), host.get());
    EXPECT_EQ(inner->ContainerControl(), bar.get());
    EXPECT_EQ(bar->Dock(), kAlignNone);
}

TEST_F(SplitWindowFloatTest, ACaptureTakenAwayEndsTheMoveFloatingWhereTheBarIs) {
    MakeForm();
    auto bar = AddToolBar(100, 100, 120, 28);
    Count(*bar);
    bool thief = false;
    user::HostTimer steal([&] {
        if (bar->Moving() && !thief) thief = true, SetCapture(form->hWnd());
    });
    steal.SetInterval(20);
    steal.SetEnabled(true);
    // Carried to the top edge, but the capture goes before the release: no docking.
    Play("at 10ms move 104 110\ndown left\nat 15ms move 60 5\nat 200ms move 2 2\nat 240ms up left\n");
    EXPECT_TRUE(thief);
    EXPECT_FALSE(bar->Moving());
    EXPECT_FALSE(SplitWindow::ToolWindowMoving()) << "no move flag is left behind for the other windows";
    EXPECT_EQ(bar->Dock(), kAlignNone);
    EXPECT_EQ(bar->Align(), kAlignNone);
    EXPECT_EQ(moved, 1);
}

}  // namespace
}  // namespace brimlox::test

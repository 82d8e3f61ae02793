// SplitWindow's cursor timer on the virtual clock: MouseEnter on the second tick inside,
// MouseOver only for a new position, MouseExit on leaving, the pointer over gaps, the timer's
// life with Active, and the hand-over of an open menu between the buttons on the control.
#include "controls/command/command.h"
#include "controls/splitwindow/splitwindow_test.h"
#include "menus/popup_menu.h"

namespace brimlox::test {
namespace {

using controls::SplitWindow;
using host::Variant;

class SplitWindowInputTest : public SplitWindowTest {
protected:
    // An active splitter of 300 x 200 pixels at (50, 50) with two panes; its gap covers
    // pixels 198 to 201 of the screen.
    std::shared_ptr<SplitWindow> Watched(bool vertical = true) {
        MakeForm();
        auto s = AddSplitter(50, 50, 300, 200);
        s->SetVertical(vertical);
        AddChildren(*s, 2);
        s->SetActive(true);
        host::DoEvents();
        Record(*s, {"MouseEnter", "MouseOver", "MouseExit"});
        return s;
    }
};

TEST_F(SplitWindowInputTest, TheTimerReportsEnteringHoveringAndLeaving) {
    auto s = Watched();
    EXPECT_TRUE(s->CursorTimerEnabled());
    EXPECT_EQ(s->CursorTimerInterval(), 100);
    // Over the first pane's child: the splitter's own events come from its timer, which sees
    // the cursor whatever window is under it.
    Play("at 0ms move 10 10\nat 250ms move 60 60\nat 650ms move 70 60\nat 1050ms move 500 290\n");
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events[0], "MouseEnter") << "on the second tick inside";
    EXPECT_EQ(events[1], "MouseOver(150,150)");
    EXPECT_EQ(events[2], "MouseOver(300,150)") << "a still mouse raises no more MouseOver";
    EXPECT_EQ(events[3], "MouseExit");
    EXPECT_EQ(events.size(), 4u);
}

TEST_F(SplitWindowInputTest, EnteringTakesTwoTicksInside) {
    auto s = Watched();
    // In for one tick only, then out: no event at all.
    Play("at 0ms move 10 10\nat 250ms move 60 60\nat 330ms move 10 10\n");
    EXPECT_TRUE(events.empty());
}

TEST_F(SplitWindowInputTest, ThePointerShowsWhichWayAGapMoves) {
    auto s = Watched();
    Play("at 10ms move 200 100\nat 300ms move 201 101\n");
    EXPECT_EQ(s->MousePointer(), 9) << "size west-east over a vertical splitter's gap";
    Play("at 10ms move 120 100\nat 300ms move 121 100\n");
    EXPECT_EQ(s->MousePointer(), 0) << "over a pane";
}

TEST_F(SplitWindowInputTest, AHorizontalSplittersGapShowsTheNorthSouthPointer) {
    auto h = Watched(false);
    // Panes of 95 pixels from 3: the gap covers rows 148 to 150 of the screen.
    Play("at 10ms move 120 150\nat 300ms move 121 150\n");
    EXPECT_EQ(h->MousePointer(), 7) << "size north-south over a horizontal splitter's gap";

}

TEST_F(SplitWindowInputTest, TheTimerRunsExactlyWhileActive) {
    auto s = Watched();
    s->SetActive(false);
    EXPECT_FALSE(s->CursorTimerEnabled());
    Play("at 0ms move 10 10\nat 100ms move 60 60\nat 500ms move 70 60\n");
    EXPECT_TRUE(events.empty());
    s->SetActive(true);
    EXPECT_TRUE(s->CursorTimerEnabled());
    s->Refresh();
    EXPECT_TRUE(s->CursorTimerEnabled());
}

TEST_F(SplitWindowInputTest, MovingOntoAnotherMenuButtonHandsTheOpenMenuOver) {
    MakeForm();
    auto bar = AddSplitter(0, 0, 300, 40);
    auto file = std::static_pointer_cast<controls::Command>(form->Add("Command", "cmdFile", bar.get()));
    auto edit = std::static_pointer_cast<controls::Command>(form->Add("Command", "cmdEdit", bar.get()));
    file->Move(15, 15, 900, 300);
    edit->Move(1500, 15, 900, 300);
    file->Menu().AddMenu("New", Variant("new"));
    file->Menu().AddMenu("Open", Variant("open"));
    edit->Menu().AddMenu("Copy", Variant("copy"));
    edit->Menu().AddMenu("Paste", Variant("paste"));
    bar->SetActive(true);
    host::DoEvents();
    std::vector<std::string> chosen;
    for (auto* b : {file.get(), edit.get()})
        b->Connect("MenuClick", [&](std::span<Variant> a) { chosen.push_back(a[0].ToString()); });
    // File's menu opens; the mouse goes over Edit and stays: Edit's menu takes over, and the
    // keys choose from it.
    Play("at 10ms move 60 20\nclick left\nat 300ms move 230 20\nat 320ms move 231 20\n"
         "at 900ms key press VK_DOWN\nkey press VK_DOWN\nkey press VK_RETURN\n");
    EXPECT_EQ(chosen, (std::vector<std::string>{"paste"}));
    EXPECT_FALSE(menus::Popup().menuShowing);
    EXPECT_EQ(menus::Popup().nextMenuOwner, nullptr);

    // Within the open button's own band nothing is handed over.
    chosen.clear();
    Play("at 10ms move 60 20\nclick left\nat 300ms move 80 20\nat 320ms move 81 20\n"
         "at 900ms key press VK_DOWN\nkey press VK_RETURN\n");
    EXPECT_EQ(chosen, (std::vector<std::string>{"new"}));
}

}  // namespace
}  // namespace brimlox::test

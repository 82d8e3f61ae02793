// SplitWindow's pane arithmetic: the even spread, rescaling on resize, children moved, resized,
// hidden, added or removed by code, the gap setter, and the gap hit test. Lengths are twips at
// 15 twips per pixel, so one 3-pixel gap is 45.
#include <algorithm>

#include "controls/splitwindow/splitwindow_test.h"

namespace brimlox::test {
namespace {

using controls::SplitWindow;

class SplitWindowPanesTest : public SplitWindowTest {
protected:
    // An active vertical splitter of 300 x 200 pixels at the form's origin with `count`
    // children, painted once.
    std::shared_ptr<SplitWindow> ActiveSplitter(int count, bool vertical = true) {
        MakeForm();
        auto s = AddSplitter(0, 0, 300, 200);
        s->SetVertical(vertical);
        children = AddChildren(*s, count);
        s->SetActive(true);
        host::DoEvents();
        return s;
    }

    // Every shown child lies on its pane (children and panes taken in order along the axis),
    // filling the splitter across the axis inside the border gaps, and consecutive shown panes
    // are one gap apart.
    void ExpectChildrenOnPanes(const SplitWindow& s) {
        const auto panes = s.Panes();
        ASSERT_EQ(panes.size(), children.size());
        auto along = [&](const host::Control& c) { return s.Vertical() ? c.Left() : c.Top(); };
        auto sorted = children;
        std::stable_sort(sorted.begin(), sorted.end(), [&](const auto& a, const auto& b) { return along(*a) < along(*b); });
        const std::int32_t gap = s.GapInPixels() * 15, border = s.Border() ? gap : 0;
        std::int32_t expectedStart = border;
        for (std::size_t i = 0; i < panes.size(); ++i) {
            const host::Control& c = *sorted[i];
            EXPECT_GE(panes[i].size, 0) << "pane " << i;
            if (!c.Visible()) continue;
            EXPECT_EQ(panes[i].start, expectedStart) << "pane " << i;
            EXPECT_EQ(along(c), panes[i].start) << "child " << i;
            EXPECT_EQ(s.Vertical() ? c.Width() : c.Height(), panes[i].size) << "child " << i;
            const std::int32_t across = s.Vertical() ? s.Height() : s.Width();
            EXPECT_EQ(s.Vertical() ? c.Top() : c.Left(), border) << "child " << i;
            EXPECT_EQ(s.Vertical() ? c.Height() : c.Width(), across - 2 * border) << "child " << i;
            expectedStart = panes[i].start + panes[i].size + gap;
        }
    }

    void TearDown() override {
        children.clear();
        SplitWindowTest::TearDown();
    }

    std::vector<std::shared_ptr<host::Control>> children;
};

TEST_F(SplitWindowPanesTest, BecomingActiveSpreadsTheChildrenEvenly) {
    auto s = ActiveSplitter(2);
    // Free length 4500 - 3 x 45 = 4365, half of it 2182.5, rounded to even: 2182, which the
    // child snaps to 145 pixels. The last pane takes what is left before the border gap.
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"45+2175", "2265+2190"}));
    ExpectChildrenOnPanes(*s);

    // Without the border there are no border gaps: one gap between two panes.
    s->SetBorder(false);
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"0+2235", "2280+2220"}));
    ExpectChildrenOnPanes(*s);
}

TEST_F(SplitWindowPanesTest, AHorizontalSplitterStacksItsPanesTopToBottom) {
    auto s = ActiveSplitter(3, false);
    // Free length 3000 - 4 x 45 = 2820, a third each: 940, 63 pixels once placed.
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"45+945", "1035+945", "2025+930"}));
    ExpectChildrenOnPanes(*s);
}

TEST_F(SplitWindowPanesTest, ResizingScalesEveryPaneButTheLastWhichTakesTheRest) {
    auto s = ActiveSplitter(3);
    // 4500 - 180 = 4320, 1440 each.
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"45+1440", "1530+1440", "3015+1440"}));
    s->Move(0, 0, 200 * 15, 200 * 15);
    // Ratio 3000 / 4500: 960 each for the first two; the last ends one gap before the edge.
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"45+960", "1050+960", "2055+900"}));
    ExpectChildrenOnPanes(*s);

    // A shrink far below the panes' total leaves them empty, never negative.
    s->Move(0, 0, 6 * 15, 200 * 15);
    for (const auto& p : s->Panes()) EXPECT_GE(p.size, 0);
    for (const auto& c : children) EXPECT_GE(c->Width(), 0);
    s->Move(0, 0, 300 * 15, 200 * 15);
    Settle();
    ExpectChildrenOnPanes(*s);
}

TEST_F(SplitWindowPanesTest, ChildrenResizedOrMovedByCodeAreFollowed) {
    auto s = ActiveSplitter(3);
    // The middle child grows by 300: the pane after it gives the room.
    children[1]->SetWidth(1440 + 300);
    Settle();
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"45+1440", "1530+1740", "3315+1140"}));
    ExpectChildrenOnPanes(*s);

    // The last child shrinks: the pane before it takes the room.
    children[2]->SetWidth(990);
    Settle();
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"45+1440", "1530+1890", "3465+990"}));
    ExpectChildrenOnPanes(*s);

    // A neighbour never gives more than down to the minimum pane: the first child asks for
    // everything and gets what leaves the second at the held minimum (5 pixels = 75 twips).
    children[0]->SetWidth(4000);
    Settle();
    const auto panes = s->Panes();
    EXPECT_EQ(panes[1].size, 75);
    EXPECT_EQ(panes[0].size, 1440 + 1890 - 75);
    ExpectChildrenOnPanes(*s);

    // A child moved by code to the far end reorders the panes by position.
    auto first = children[0];
    first->Move(4300, first->Top(), first->Width(), first->Height());
    Settle();
    EXPECT_EQ(s->Panes().size(), 3u);
    auto moved = s->Panes();
    EXPECT_EQ(first->Left(), moved[2].start) << "the moved child is the last pane now";
    EXPECT_EQ(first->Left() + first->Width(), 4500 - 45);
}

TEST_F(SplitWindowPanesTest, HiddenChildrenTakeNoRoomAndAreNeverResized) {
    MakeForm();
    auto s = AddSplitter(0, 0, 300, 200);
    children = AddChildren(*s, 3);
    children[1]->SetVisible(false);
    s->SetActive(true);
    Settle();
    // Two shown panes share the free length of two: 4500 - 3 x 45 = 4365.
    auto panes = s->Panes();
    EXPECT_EQ(panes[0].start, 45);
    EXPECT_EQ(panes[2].start, 45 + panes[0].size + 45) << "the hidden pane takes no room";
    EXPECT_EQ(panes[0].size, 2175) << "half of 4365, snapped to pixels";
    EXPECT_EQ(panes[2].size, 2190) << "the last shown pane takes the rest";
    // The gap between the two shown panes belongs to the third pane.
    const float atGap = static_cast<float>(panes[2].start - 20);
    EXPECT_EQ(s->GapAt(atGap, 100), std::optional<std::size_t>(2));
    const std::int32_t hiddenBefore = children[1]->Width();
    children[0]->SetWidth(panes[0].size - 300);
    Settle();
    EXPECT_EQ(children[1]->Width(), hiddenBefore) << "the hidden child is not resized";
    EXPECT_EQ(s->Panes()[2].size, panes[2].size + 300) << "the shown neighbour takes the room";
}

TEST_F(SplitWindowPanesTest, ChildrenAddedRemovedOrTakenAwayLeadToAFreshSpread) {
    auto s = ActiveSplitter(2);
    auto extra = form->Add("Probe", "", s.get());
    extra->Move(15, 15, 300, 300);
    children.push_back(extra);
    Settle();
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"45+1440", "1530+1440", "3015+1440"}));

    // A child removed from the form: the panes are rebuilt without it, never touching it.
    form->Remove(*children[1]);
    children.erase(children.begin() + 1);
    Settle();
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"45+2175", "2265+2190"}));
    ExpectChildrenOnPanes(*s);

    // A child taken onto the form is no longer a pane; its place is not kept by the splitter.
    children[0]->SetContainer(form);
    const std::int32_t leftOnForm = children[0]->Left();
    children.erase(children.begin());
    Settle();
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"45+4410"}));
    ExpectChildrenOnPanes(*s);
    EXPECT_EQ(form->Controls().size(), 3u);
    EXPECT_EQ(leftOnForm, form->Controls()[1]->Left()) << "the splitter does not place it";
}

TEST_F(SplitWindowPanesTest, ANewGapRescalesBuiltPanesAndOtherwiseWaitsForTheNextPaint) {
    auto s = ActiveSplitter(2);
    s->SetGapInPixels(5);
    // Free length 4365 becomes 4500 - 3 x 75 = 4275: each pane scales by 4275 / 4365, the last
    // takes the rest.
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"75+2130", "2280+2145"}));
    ExpectChildrenOnPanes(*s);

    // A splitter too narrow for its gaps: nothing is scaled by zero; the next paint spreads.
    s->Move(0, 0, 10 * 15, 200 * 15);
    Settle();
    s->SetGapInPixels(8);
    Settle();
    for (const auto& p : s->Panes()) EXPECT_GE(p.size, 0);
    s->Move(0, 0, 300 * 15, 200 * 15);
    Settle();
    ExpectChildrenOnPanes(*s);
    EXPECT_GT(s->Panes()[0].size, 1000) << "both panes have room again";
    EXPECT_GT(s->Panes()[1].size, 1000);

}

TEST_F(SplitWindowPanesTest, ANewGapBeforeThePanesExistOnlyWaits) {
    MakeForm();
    auto fresh = AddSplitter(0, 0, 300, 200);
    auto kids = AddChildren(*fresh, 2);
    fresh->SetGapInPixels(4);
    EXPECT_EQ(kids[0]->Width(), 300) << "the children are left alone";
    EXPECT_EQ(kids[1]->Width(), 300);
    fresh->SetActive(true);
    Settle();
    EXPECT_EQ(kids[0]->Width(), (4500 - 3 * 60) / 2);
}

TEST_F(SplitWindowPanesTest, TheHitTestFindsOnlyGapsBetweenPanes) {
    auto s = ActiveSplitter(2);
    EXPECT_FALSE(s->GapAt(20, 100)) << "the border gap before the first pane";
    EXPECT_FALSE(s->GapAt(1000, 100)) << "inside the first pane";
    EXPECT_EQ(s->GapAt(2250, 100), std::optional<std::size_t>(1));
    EXPECT_EQ(s->GapAt(2265, 100), std::optional<std::size_t>(1)) << "up to the next pane's start";
    EXPECT_FALSE(s->GapAt(3000, 100));
    EXPECT_FALSE(s->GapAt(4480, 100)) << "past the last pane";
    s->SetStyle(controls::ToolBarWindow);
    EXPECT_FALSE(s->GapAt(2250, 100)) << "a tool bar has no gaps";
}

TEST_F(SplitWindowPanesTest, PaneSizeReadsAndResizesAPane) {
    auto s = ActiveSplitter(3);
    auto paneSize = [&](std::uint8_t i) {
        std::vector<host::Variant> args{host::Variant(i)};
        return host::Invoke(*s, "PaneSize", host::InvokeKind::PropertyGet, args).ToLong();
    };
    EXPECT_EQ(paneSize(0), 1440);
    EXPECT_EQ(paneSize(7), 0) << "no such pane";
    std::vector<host::Variant> args{host::Variant(std::uint8_t{0}), host::Variant(std::int32_t{1995})};
    host::Invoke(*s, "PaneSize", host::InvokeKind::PropertyLet, args);
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"45+1995", "2085+885", "3015+1440"}));
    ExpectChildrenOnPanes(*s);
}

}  // namespace
}  // namespace brimlox::test

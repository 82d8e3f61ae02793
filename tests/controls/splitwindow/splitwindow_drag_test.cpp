// Dragging a gap, scripted on the virtual clock: the line on the screen while the button is
// down, the panes after the release, the limits, and every way a drag is cancelled leaving the
// screen exactly as it was.
#include "controls/splitwindow/splitwindow_test.h"

namespace brimlox::test {
namespace {

using controls::SplitWindow;

class SplitWindowDragTest : public SplitWindowTest {
protected:
    // An active vertical splitter of 300 x 200 pixels at the screen's origin with two panes of
    // 145 pixels (children snap to whole pixels): 45+2175 and 2265+2190 twips (the last pane
    // takes the rest); the gap between them covers pixels 148 to 150.
    std::shared_ptr<SplitWindow> TwoPanes() {
        MakeForm();
        auto s = AddSplitter(0, 0, 300, 200);
        children = AddChildren(*s, 2);
        s->SetActive(true);
        Settle();
        Record(*s, {"Changed", "MouseDown", "MouseUp", "Click"});
        return s;
    }

    // Samples the screen at (x, y) whenever the script takes a screenshot: the desktop takes
    // those while waiting for input, with no message of any window running.
    void SampleOnScreenshots(int x, int y) {
        desktop::Desktop::Instance().SetScreenshotHandler([this, x, y](const std::string&) {
            samples.push_back(desktop::Desktop::Instance().Screen().Get(x, y));
        });
    }

    void TearDown() override {
        children.clear();
        SplitWindowTest::TearDown();
    }

    std::vector<std::shared_ptr<host::Control>> children;
    std::vector<std::uint32_t> samples;
};

TEST_F(SplitWindowDragTest, DraggingAGapShowsTheLineAndMovesTheBoundaryOnRelease) {
    auto s = TwoPanes();
    const auto before = ScreenPixels();
    const std::uint32_t under = before[100 * desktop::Desktop::Instance().Screen().Width() + 200];
    SampleOnScreenshots(200, 100);
    // The cursor timer ticks (and is dispatched) during the drag; the line stays on the screen.
    Play("at 10ms move 150 100\ndown left\nat 50ms move 200 100\nat 290ms screenshot during\n"
         "at 300ms move 210 100\nup left\n");
    desktop::Desktop::Instance().SetScreenshotHandler(nullptr);
    ASSERT_EQ(samples.size(), 1u);
    EXPECT_EQ(samples[0], ~under & 0xFFFFFFu) << "the line inverts what is under it";
    // 60 pixels to the right: 900 twips from the first pane to the second.
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"45+3075", "3165+1290"}));
    EXPECT_EQ(children[0]->Width(), 3075);
    EXPECT_EQ(children[1]->Left(), 3165);
    EXPECT_EQ(children[1]->Width(), 1290);
    EXPECT_EQ(events, (std::vector<std::string>{"Changed"}))
        << "no MouseDown for a press on a gap, and the loop takes the release";
    EXPECT_FALSE(s->SplitDragging());
}

TEST_F(SplitWindowDragTest, AfterADragEveryPaneShowsItsChildOverTheSplittersBackground) {
    MakeForm();
    auto s = AddSplitter(0, 0, 300, 100);
    s->SetBackColor(RGB(0, 0, 0));
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (COLORREF colour : colours) {
        auto box = form->Add("PictureBox", "", s.get());
        box->SetBackColor(colour);
        children.push_back(box);
    }
    s->SetActive(true);
    Settle();
    // Three panes of 96 pixels from 3; the first gap covers pixels 99 to 101.
    Play("at 10ms move 100 50\ndown left\nat 50ms move 140 50\nup left\n");
    const auto& screen = desktop::Desktop::Instance().Screen();
    auto pixel = [&](int x, int y) {
        const std::uint32_t v = screen.Get(x, y);
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    };
    EXPECT_EQ(pixel(120, 50), colours[0]) << "the first pane grew";
    EXPECT_EQ(pixel(160, 50), colours[1]);
    EXPECT_EQ(pixel(250, 50), colours[2]) << "the pane that did not move is still seen";
}

TEST_F(SplitWindowDragTest, TheLineStopsWhereAPaneWouldBecomeSmallerThanTheMinimum) {
    auto s = TwoPanes();
    Play("at 10ms move 150 100\ndown left\nat 50ms move 399 100\nup left\n");
    // The line stops 5 pixels (the held minimum) before the second pane's end at 297.
    auto panes = s->Panes();
    EXPECT_EQ(panes[1].start, 2265 + (292 - 150) * 15);
    EXPECT_EQ(panes[1].start + panes[1].size, 4455) << "the far end stays";
    Play("at 10ms move 292 100\ndown left\nat 50ms move 0 100\nat 60ms move -20 100\nup left\n");
    panes = s->Panes();
    // Back to 5 pixels after the first pane's start at 3.
    EXPECT_EQ(panes[1].start, 2265 + (292 - 150) * 15 + (8 - 292) * 15);
    EXPECT_EQ(panes[0].start, 45);
    EXPECT_EQ(panes[0].size + 45, panes[1].start - 45);
}

TEST_F(SplitWindowDragTest, EscapeRightPressAndALostCaptureChangeNothingAndRestoreTheScreen) {
    auto s = TwoPanes();
    const auto panes = PaneText(*s);
    const auto before = ScreenPixels();
    const std::string drag = "at 10ms move 150 100\ndown left\nat 50ms move 220 100\n";

    Play(drag + "key press VK_ESCAPE\nat 90ms move 250 100\nup left\n");
    EXPECT_EQ(PaneText(*s), panes);
    EXPECT_EQ(ScreenPixels(), before) << "Escape";

    Play(drag + "down right\nup right\nat 90ms move 250 100\nup left\n");
    EXPECT_EQ(PaneText(*s), panes);
    EXPECT_EQ(ScreenPixels(), before) << "right press";

    // A second Escape and a right press after it find no line to erase: drawing one then
    // would leave it on the screen.
    Play(drag + "key press VK_ESCAPE\nat 70ms key press VK_ESCAPE\ndown right\nup right\nat 90ms up left\n");
    EXPECT_EQ(PaneText(*s), panes);
    EXPECT_EQ(ScreenPixels(), before) << "Escape twice, then a right press";

    user::HostTimer thief([&] { SetCapture(form->hWnd()); });
    thief.SetInterval(70);
    thief.SetEnabled(true);
    Play(drag + "at 100ms move 240 100\nup left\n");
    thief.SetEnabled(false);
    ReleaseCapture();
    EXPECT_EQ(PaneText(*s), panes);
    EXPECT_EQ(ScreenPixels(), before) << "capture lost";
    EXPECT_TRUE(std::find(events.begin(), events.end(), "Changed") == events.end());
    EXPECT_FALSE(s->SplitDragging());
}

TEST_F(SplitWindowDragTest, PanesTooNarrowForBothLimitsKeepTheirGap) {
    auto s = TwoPanes();
    s->SetMinimumPane(160 * 15);  // more than half the splitter on each side
    const auto panes = PaneText(*s);
    const auto before = ScreenPixels();
    Play("at 10ms move 150 100\ndown left\nat 50ms move 250 100\nat 60ms move 20 100\nup left\n");
    EXPECT_EQ(PaneText(*s), panes);
    EXPECT_TRUE(std::find(events.begin(), events.end(), "Changed") == events.end());
    EXPECT_EQ(ScreenPixels(), before);
}

TEST_F(SplitWindowDragTest, PressesElsewhereAreOrdinaryPresses) {
    auto s = TwoPanes();
    const auto panes = PaneText(*s);
    // The border gap before the first pane, and a press of an inactive splitter on a gap.
    Play("at 10ms move 1 100\ndown left\nat 40ms move 100 100\nup left\n");
    EXPECT_EQ(PaneText(*s), panes);
    EXPECT_EQ(events, (std::vector<std::string>{"MouseDown(1,0,15,1500)", "MouseUp(1,0,1500,1500)", "Click"}));
    events.clear();
    s->SetActive(false);
    Play("at 10ms move 150 100\ndown left\nat 40ms move 200 100\nup left\n");
    EXPECT_EQ(PaneText(*s), panes);
    EXPECT_EQ(events.front(), "MouseDown(1,0,2250,1500)");
    EXPECT_EQ(s->GetMouseInfo().Button, 1);
    EXPECT_FLOAT_EQ(s->GetMouseInfo().x, 3000) << "moves update the position";
}

TEST_F(SplitWindowDragTest, AHorizontalSplitterDragsAlongY) {
    MakeForm();
    auto s = AddSplitter(0, 0, 300, 200);
    s->SetVertical(false);
    children = AddChildren(*s, 2);
    s->SetActive(true);
    host::DoEvents();
    // Free 3000 - 135 = 2865: 1432.5 each, 95 pixels once the children snap to pixels; the
    // last pane takes the rest. The gap covers rows 98 to 100.
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"45+1425", "1515+1440"}));
    Play("at 10ms move 150 100\ndown left\nat 50ms move 150 60\nup left\n");
    EXPECT_EQ(PaneText(*s), (std::vector<std::string>{"45+825", "915+2040"}));
    EXPECT_EQ(children[1]->Top(), 915);
}

}  // namespace
}  // namespace brimlox::test

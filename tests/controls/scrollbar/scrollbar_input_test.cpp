// The scroll bar under real input: scripted mouse events through the host's event loop on the
// virtual clock. The bar is 300 x 17 pixels at (20, 40): arrows at x 0..16 and 283..299.
#include <limits>

#include "controls/scrollbar/scrollbar_cursors.h"
#include "controls/scrollbar/scrollbar_test.h"
#include "platform/host/picture.h"

namespace brimlox::test {
namespace {

using controls::ScrollBar;

constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

class ScrollBarInputTest : public ScrollBarTest {
protected:
    ScrollBar& Standard() { return MakeBar(20, 40, 300, 17); }
    // The first pixel of the thumb.
    int ThumbPixel() const { return static_cast<int>(bar->Geometry().thumbPos / 15); }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (const auto& e : events) out.push_back(e.name);
        return out;
    }
};

bool Raised(COLORREF innerTopLeft) { return innerTopLeft == GetSysColor(COLOR_3DHILIGHT); }

TEST_F(ScrollBarInputTest, HeldArrowRepeatsAfterAutoDelayThenEveryAutoIntervalUntilMax) {
    ScrollBar& b = Standard();
    b.SetMax(12);
    b.SetSmallChange(3);
    Play("at 10ms " + At(291, 8) + "down left\nwait 90ms\n");
    EXPECT_EQ(Distances(), std::vector<std::int32_t>{3});
    EXPECT_FALSE(Raised(BarPixel(284, 1))) << "the held arrow is sunken";
    EXPECT_EQ(BarPixel(291, 8), GetSysColor(COLOR_BTNTEXT));
    Play("wait 700ms\n");  // still held
    EXPECT_EQ(Distances(), (std::vector<std::int32_t>{3, 3, 3, 3}));
    EXPECT_EQ(Times(), (std::vector<std::uint64_t>{10, 510, 565, 620}));
    EXPECT_EQ(b.Value(), 12);
    EXPECT_TRUE(Raised(BarPixel(284, 1))) << "at Max the held arrow comes up";
    EXPECT_EQ(BarPixel(291, 8), GetSysColor(COLOR_GRAYTEXT)) << "and its glyph is grey";
    EXPECT_EQ(BarPixel(8, 8), GetSysColor(COLOR_BTNTEXT));
    Play("up left\n");
    EXPECT_EQ(events.size(), 4u);
}

TEST_F(ScrollBarInputTest, RightButtonOnAnArrowStepsTwiceSmallChangeWhileMoreThanOneAboveMin) {
    ScrollBar& b = Standard();
    b.SetMax(100);
    b.SetValue(5);
    Play("at 10ms " + At(8, 8) + "down right\nat 700ms up right\n");
    EXPECT_EQ(Distances(), (std::vector<std::int32_t>{-2, -2, -1}));
    EXPECT_EQ(b.Value(), 0);
}

TEST_F(ScrollBarInputTest, TrackPressStepsByLargeChangeUntilTheThumbReachesThePointer) {
    ScrollBar& b = Standard();
    b.SetMax(100);
    Play("at 10ms " + At(100, 8) + "down left\nat 2000ms up left\n");
    EXPECT_EQ(Distances(), (std::vector<std::int32_t>{10, 10, 10}));
    EXPECT_EQ(Times(), (std::vector<std::uint64_t>{10, 510, 565}));
    const auto& g = b.Geometry();
    EXPECT_LE(g.thumbPos, 1500);
    EXPECT_GE(g.thumbPos + g.thumbLen, 1500);
    // Before the thumb the value shrinks, again until the thumb covers the pointer.
    events.clear();
    Play(At(20, 8) + "down left\nwait 1500ms\nup left\n");
    EXPECT_EQ(Distances(), (std::vector<std::int32_t>{-10, -10, -10}));
    EXPECT_LE(b.Geometry().thumbPos, 300);
}

TEST_F(ScrollBarInputTest, LeavingAHeldArrowStopsTheRepeatAndComingBackDoesNotRestartIt) {
    ScrollBar& b = Standard();
    b.SetMax(100);
    Play("at 10ms " + At(291, 8) + "down left\nat 300ms " + At(200, 8) + "at 400ms " + At(291, 8) +
         "at 1500ms up left\n");
    EXPECT_EQ(Distances(), std::vector<std::int32_t>{1});
    EXPECT_FALSE(b.RepeatTimer().Enabled());
}

TEST_F(ScrollBarInputTest, DraggingWithoutActiveScrollReportsScrollPerTickAndOneChangeOnRelease) {
    ScrollBar& b = Standard();
    b.SetMax(100);
    std::int32_t seenAfterSet = -1;
    b.Connect("Scroll", [&](std::span<host::Variant>) {
        if (!b.Dragging()) return;
        b.SetValue(1);  // ignored while the user drags
        seenAfterSet = b.Value();
    });
    // The thumb starts at pixel 17; ticks come every 55 ms from the press.
    Play("at 10ms " + At(30, 8) + "down left\nat 100ms " + At(130, 8) + "at 200ms " + At(180, 8) +
         "at 250ms up left\n");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Scroll", "Scroll", "Change"}));
    EXPECT_EQ(events[0].time, 120u);
    EXPECT_EQ(events[1].time, 230u);
    EXPECT_EQ(events[2].distance, b.Value());
    EXPECT_GT(b.Value(), events[0].value);
    EXPECT_EQ(seenAfterSet, events[1].value);
    EXPECT_FALSE(b.Dragging());

    // Dragged away and back before the release: no Change, but a last Scroll.
    events.clear();
    std::int32_t start = b.Value();
    Play(At(ThumbPixel() + 5, 8) + "down left\nat 100ms " + At(250, 8) + "at 150ms " +
         At(ThumbPixel() + 5, 8) + "at 160ms up left\n");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Scroll", "Scroll"}));
    EXPECT_EQ(b.Value(), start);
}

TEST_F(ScrollBarInputTest, DraggingWithActiveScrollReportsEachTicksDistanceAndTheRestOnRelease) {
    ScrollBar& b = Standard();
    b.SetMax(100);
    b.SetActiveScroll(true);
    Play("at 10ms " + At(30, 8) + "down left\nat 100ms " + At(130, 8) + "at 200ms " + At(180, 8) +
         "at 240ms " + At(200, 8) + "at 250ms up left\n");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Change", "Change", "Change"}));
    EXPECT_EQ(Times(), (std::vector<std::uint64_t>{120, 230, 250}));
    std::int32_t sum = 0;
    for (auto d : Distances()) sum += d;
    EXPECT_EQ(sum, b.Value());
    // Released with nothing new since the last tick: nothing more.
    events.clear();
    Play(At(200, 8) + "down left\nat 20ms " + At(100, 8) + "at 100ms up left\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"Change"});
    EXPECT_LT(Distances()[0], 0);
}

TEST_F(ScrollBarInputTest, RightClickInTheTrackCentresTheThumbWithOneChange) {
    ScrollBar& b = Standard();
    b.SetMax(100);
    Play("at 10ms " + At(200, 8) + "click right\nat 1000ms " + At(200, 9) + "\n");
    EXPECT_EQ(Names(), std::vector<std::string>{"Change"});
    EXPECT_EQ(Distances()[0], b.Value());
    const auto& g = b.Geometry();
    EXPECT_NEAR(g.thumbPos + g.thumbLen / 2, 200 * 15, 15);
}

TEST_F(ScrollBarInputTest, PressesAreIgnoredWhenMinEqualsMaxAndNoThumbIsDrawn) {
    ScrollBar& b = Standard();
    b.SetMax(5);
    b.SetMin(5);
    ASSERT_EQ(b.Value(), 5);
    Play("at 10ms " + At(291, 8) + "down left\nat 600ms up left\n" + At(8, 8) + "click right\n" + At(150, 8) +
         "click left\nclick right\nwait 100ms\nclick left\nwait 600ms\n");
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(b.Value(), 5);
    EXPECT_FALSE(b.RepeatTimer().Enabled());
    for (int x : {18, 30, 150, 281}) EXPECT_EQ(BarPixel(x, 8), GetSysColor(COLOR_SCROLLBAR)) << x;
}

// Renders two pictures and compares their pixels.
bool SamePicture(const host::StdPicture& a, const host::StdPicture& b) {
    Canvas ca(32, 32, RGB(0, 128, 0)), cb(32, 32, RGB(0, 128, 0));
    a.Render(ca.dc(), 0, 0, 32, 32);
    b.Render(cb.dc(), 0, 0, 32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (ca.At(x, y) != cb.At(x, y)) return false;
    return true;
}

TEST_F(ScrollBarInputTest, MiddleClickAutoScrollsPastTheDeadZoneWithDirectionCursors) {
    ScrollBar& b = Standard();
    b.SetMax(1000);
    b.SetValue(500);
    b.SetDeadZone(1);
    auto neutral = controls::MakeAutoScrollPicture(controls::kCursorNeutralH);
    auto grow = controls::MakeAutoScrollPicture(controls::kCursorGrowH);
    auto shrink = controls::MakeAutoScrollPicture(controls::kCursorShrinkH);
    ASSERT_FALSE(SamePicture(*neutral, *grow));

    Play("at 10ms " + At(20, 8) + "click middle\n");  // 45 twips from the arrow: too close
    EXPECT_FALSE(b.AutoScrolling());
    Play("at 10ms " + At(150, 8) + "click middle\n");
    ASSERT_TRUE(b.AutoScrolling());
    EXPECT_EQ(GetCapture(), b.hWnd());
    EXPECT_EQ(b.MousePointer(), 99);
    EXPECT_TRUE(SamePicture(*b.MouseIcon(), *neutral));

    // Inside the dead zone (5 of 10 pixels) nothing moves and the cursor stays neutral.
    Play(At(155, 8) + "wait 700ms\n");
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(b.ScrollDirection(), 0);
    EXPECT_TRUE(SamePicture(*b.MouseIcon(), *neutral));

    // One dead zone past the anchor: one SmallChange per tick, every AutoInterval.
    Play(At(160, 8) + "wait 120ms\n");
    EXPECT_EQ(Distances(), (std::vector<std::int32_t>{1, 1}));
    EXPECT_EQ(Times()[1] - Times()[0], 55u);
    EXPECT_EQ(b.ScrollDirection(), 1);
    EXPECT_TRUE(SamePicture(*b.MouseIcon(), *grow));

    // Two and a half dead zones before it: two per tick, the other way.
    events.clear();
    Play(At(125, 8) + "wait 60ms\n");
    EXPECT_EQ(Distances(), std::vector<std::int32_t>{-2});
    EXPECT_TRUE(SamePicture(*b.MouseIcon(), *shrink));

    std::int32_t before = b.Value();
    Play("click left\nwait 500ms\n");  // any release ends the mode
    EXPECT_FALSE(b.AutoScrolling());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(b.MousePointer(), 1);
    EXPECT_EQ(b.Value(), before);
}

// Value plus a change used to overflow 32 bits near the limits.
TEST_F(ScrollBarInputTest, StepsNearThe32BitLimitsStopAtMaxAndMin) {
    ScrollBar& b = Standard();
    b.SetValue(kMax32 - 47);
    b.SetSmallChange(30000);
    Play("at 10ms " + At(291, 8) + "down left\nat 600ms up left\n");
    EXPECT_EQ(Distances(), std::vector<std::int32_t>{47});
    EXPECT_EQ(b.Value(), kMax32);

    // A LargeChange as large as the range: the thumb takes 0.99 of the track, and a press in
    // the few pixels after it steps past the 32-bit limit.
    events.clear();
    b.SetValue(1);
    b.SetLargeChange(kMax32);
    Play(At(281, 8) + "down left\nwait 600ms\nup left\n");
    EXPECT_EQ(Distances(), std::vector<std::int32_t>{kMax32 - 1});

    events.clear();
    b.SetMin(-kMax32);  // Max - Min overflows: Max becomes 0
    ASSERT_EQ(b.Max(), 0);
    b.SetValue(-kMax32 + 47);
    Play(At(8, 8) + "down right\nwait 600ms\nup right\n");  // doubled to 60000
    EXPECT_EQ(Distances(), std::vector<std::int32_t>{-47});
    EXPECT_EQ(b.Value(), -kMax32);
}

// A bar too short for the minimum thumb: the thumb fills the track and the arrows still work.
TEST_F(ScrollBarInputTest, ArrowsOfAShortBarStepAndTheThumbNeverCoversThem) {
    ScrollBar& b = MakeBar(20, 40, 45, 17);
    EXPECT_EQ(b.Width(), 675);
    b.SetMax(10);
    // At Min a minimum-length thumb would reach 2 pixels into the second arrow.
    Play("at 10ms " + At(29, 8) + "down left\nwait 20ms\n");
    EXPECT_FALSE(b.Dragging()) << "a press on the second arrow is no drag";
    Play("up left\nwait 10ms\n" + At(8, 8) + "click left\nwait 600ms\n");
    EXPECT_EQ(Distances(), (std::vector<std::int32_t>{1, -1}));
    // The full-track thumb dragged forward goes to Max.
    Play(At(22, 8) + "down left\nat 20ms " + At(26, 8) + "at 30ms up left\n");
    EXPECT_EQ(b.Value(), 10);
    EXPECT_EQ(Distances().back(), 10);

    // Thicker than a third of its length: no track, no thumb, arrows only.
    b.Move(20 * 15, 40 * 15, 675, 400);
    events.clear();
    Play(At(5, 13) + "click left\nwait 600ms\n" + At(40, 13) + "click left\nwait 600ms\n");
    EXPECT_FALSE(b.Geometry().thumbVisible);
    EXPECT_EQ(Distances(), (std::vector<std::int32_t>{-1, 1}));

    // Shorter than the shortest bar: the long side grows to 675 twips.
    b.Move(20 * 15, 40 * 15, 600, 200);
    EXPECT_EQ(b.Width(), 675);
    EXPECT_FALSE(b.Vertical());
}

TEST_F(ScrollBarInputTest, BadInputKeepsTheValueInRange) {
    ScrollBar& b = Standard();
    b.SetMax(100);
    b.SetValue(50);
    // Turning the bar while its thumb is dragged.
    bool turned = false;
    b.Connect("Scroll", [&](std::span<host::Variant>) {
        if (!turned) b.SetVertical(true);
        turned = true;
    });
    Play("at 10ms " + At(ThumbPixel() + 5, 8) + "down left\nat 50ms " + At(250, 8) + "at 130ms " +
         At(400, 300) + "at 200ms " + At(-30, -100) + "at 300ms up left\n");
    EXPECT_TRUE(turned);
    EXPECT_TRUE(b.Geometry().vertical);
    for (const auto& e : events) EXPECT_TRUE(e.value >= 0 && e.value <= 100);
    EXPECT_TRUE(b.Value() >= 0 && b.Value() <= 100);
    b.SetVertical(false);

    // LargeChange 0 and negative: track presses never leave the range.
    for (std::int32_t change : {0, -30}) {
        b.SetLargeChange(change);
        Play(At(250, 8) + "down left\nwait 800ms\nup left\n" + At(40, 8) + "down left\nwait 800ms\nup left\n");
        EXPECT_TRUE(b.Value() >= 0 && b.Value() <= 100) << change;
    }

    // Below the minimum size the bar keeps its geometry and presses do no harm.
    b.Move(20 * 15, 40 * 15, 300, 300);
    Play(At(5, 5) + "click left\nclick right\nwait 600ms\n" + At(10, 10) + "click middle\nclick left\n");
    EXPECT_TRUE(b.Value() >= 0 && b.Value() <= 100);
}

// A Change handler that pumps messages must not get a second timer step inside it.
TEST_F(ScrollBarInputTest, AStepIsNotReenteredFromAChangeHandlerThatPumpsMessages) {
    ScrollBar& b = Standard();
    b.SetMax(100);
    int depth = 0, deepest = 0;
    b.Connect("Change", [&](std::span<host::Variant>) {
        deepest = std::max(deepest, ++depth);
        if (events.size() == 1) {
            PostMessageA(b.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(291, 8));
            host::DoEvents();
            PostMessageA(b.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(291, 8));
            host::DoEvents();
        }
        --depth;
    });
    Play("at 10ms " + At(291, 8) + "click left\nwait 700ms\n");
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(Distances(), std::vector<std::int32_t>{1});
}

TEST_F(ScrollBarInputTest, TheSecondClickOfADoubleClickIsAnotherPress) {
    ScrollBar& b = Standard();
    b.SetMax(100);
    Play("at 10ms " + At(291, 8) + "click left\nat 100ms click left\nwait 700ms\n");
    EXPECT_EQ(Distances(), (std::vector<std::int32_t>{1, 1}));
    EXPECT_EQ(Times(), (std::vector<std::uint64_t>{10, 100}));
}

}  // namespace
}  // namespace brimlox::test

// ScrollBar and the keyboard: arrows, Page Up/Down, Home and End move Value with the Change
// events the mouse gives, a held key repeats on the bar's timer as a held arrow does, and the
// thumb carries the focus frame after Tab.
#include "controls/scrollbar/scrollbar_test.h"
#include "support/gdi_test.h"
#include "platform/host/keyboard.h"

namespace brimlox::test {
namespace {

using controls::ScrollBar;

TEST_F(ScrollBarTest, KeysStepByTheChangesAndStopAtTheEnds) {
    ScrollBar& b = MakeBar(20, 40, 300, 17);
    b.SetMax(100);
    b.SetSmallChange(3);
    b.SetLargeChange(20);
    b.SetValue(50);
    ASSERT_TRUE(host::SetFocus(b));
    Play("key press VK_RIGHT\nkey press VK_DOWN\nkey press VK_LEFT\nkey press VK_NEXT\nkey press VK_PRIOR\n"
         "key press VK_UP\n");
    EXPECT_EQ(Distances(), (std::vector<std::int32_t>{3, 3, -3, 20, -20, -3}));
    EXPECT_EQ(b.Value(), 50);
    events.clear();
    Play("key press VK_END\nkey press VK_RIGHT\nkey press VK_END\nkey press VK_HOME\nkey press VK_PRIOR\n");
    EXPECT_EQ(Distances(), (std::vector<std::int32_t>{50, -100})) << "nothing moves past an end";
    EXPECT_EQ(b.Value(), 0);
    // Keys Windows scroll bars ignore, and an empty range, change nothing.
    events.clear();
    b.SetMax(0);
    Play("key press VK_RIGHT\nkey press A\nkey press VK_SPACE\n");
    EXPECT_TRUE(events.empty());
}

TEST_F(ScrollBarTest, AHeldKeyRepeatsAsAHeldArrowAndStopsWithItsKeyOrTheFocus) {
    ScrollBar& b = MakeBar(20, 40, 300, 17);
    b.SetMax(1000);
    b.SetSmallChange(5);
    ASSERT_TRUE(host::SetFocus(b));
    // The keyboard's own repeats (another key down while held) add nothing: the bar's timer
    // repeats after AutoDelay (500 ms), then every AutoInterval (55 ms).
    Play("at 10ms key down VK_RIGHT\nat 300ms key down VK_RIGHT\nat 630ms key down VK_RIGHT\nat 700ms key up VK_RIGHT\n"
         "wait 300ms\n");
    EXPECT_EQ(Times(), (std::vector<std::uint64_t>{10, 510, 565, 620, 675}));
    EXPECT_EQ(b.Value(), 25);
    // The same held by the mouse on the second arrow gives the same times.
    std::vector<std::uint64_t> keyTimes = Times();
    events.clear();
    Play("at 10ms " + At(291, 8) + "down left\nat 700ms up left\nwait 300ms\n");
    std::vector<std::uint64_t> mouseTimes;
    for (auto t : Times()) mouseTimes.push_back(t - Times().front() + 10);
    EXPECT_EQ(mouseTimes, keyTimes);
    EXPECT_EQ(b.Value(), 50);

    // Losing the focus ends the repeat; Page Down repeats too.
    ASSERT_TRUE(host::SetFocus(b));
    events.clear();
    Play("at 10ms key down VK_NEXT\nwait 10ms\n");
    EXPECT_EQ(Distances(), (std::vector<std::int32_t>{10}));
    ::SetFocus(form->hWnd());
    Play("wait 1000ms\nkey up VK_NEXT\n");
    EXPECT_EQ(Distances(), (std::vector<std::int32_t>{10}));
    EXPECT_FALSE(b.RepeatTimer().Enabled());
}

TEST_F(ScrollBarTest, TheThumbCarriesTheFocusFrameAfterTabButNotAfterAClick) {
    ScrollBar& b = MakeBar(20, 40, 300, 17);
    b.SetMax(100);
    b.SetValue(50);
    auto shot = [&] {
        host::DoEvents();
        Canvas canvas(300, 17);
        HDC screen = GetDC(nullptr);
        BitBlt(canvas.dc(), 0, 0, 300, 17, screen, barLeft, barTop, SRCCOPY);
        ReleaseDC(nullptr, screen);
        std::vector<COLORREF> px;
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 300; ++x) px.push_back(canvas.At(x, y));
        return px;
    };
    const auto before = shot();
    const int thumb = static_cast<int>(b.Geometry().thumbPos / 15);
    Play(At(thumb + 6, 8) + "click left\n");
    ASSERT_TRUE(host::HasFocus(b));
    EXPECT_EQ(shot(), before) << "a click shows no frame";
    EXPECT_EQ(b.Value(), 50);
    // Tab on a form with this one control keeps the focus here and shows the cue.
    Play("key press VK_TAB\n");
    ASSERT_TRUE(host::HasFocus(b));
    const auto tabbed = shot();
    const int thumbEnd = static_cast<int>((b.Geometry().thumbPos + b.Geometry().thumbLen) / 15);
    int dots = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 300; ++x) {
            const auto i = static_cast<std::size_t>(y * 300 + x);
            if (tabbed[i] == before[i]) continue;
            ++dots;
            EXPECT_TRUE(x >= thumb + 3 && x < thumbEnd - 3 && y >= 3 && y < 14) << x << "," << y << " is outside the thumb";
            EXPECT_EQ(tabbed[i], before[i] ^ 0xFFFFFFu) << "inverted";
        }
    EXPECT_GT(dots, 20);
    // The frame follows the thumb and goes with the focus.
    Play("key press VK_RIGHT\n");
    ::SetFocus(form->hWnd());
    EXPECT_NE(shot(), before) << "the thumb moved";
    b.SetValue(50);
    EXPECT_EQ(shot(), before);
}

}  // namespace
}  // namespace brimlox::test

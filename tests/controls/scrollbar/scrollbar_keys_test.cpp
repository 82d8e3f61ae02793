// ScrollBar and the keyboard: arrows, Page Up/Down, Home and End move Value with the Change
// events the mouse gives, a held key repeats on the bar's timer as a held arrow does, and the
// thumb carries the focus frame after Tab.
#include "controls/scrollbar/scrollbar_test.h"
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

}  // namespace
}  // namespace brimlox::test

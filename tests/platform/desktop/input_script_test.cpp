// The input script parser: the documented commands and clear messages for bad lines.
#include <gtest/gtest.h>

#include "platform/desktop/input_script.h"
#include "platform/user/winuser.h"

namespace brimlox::desktop {
namespace {

TEST(InputScript, ParsesTimedEventsCommentsAndWaits) {
    InputScript s;
    std::string error;
    ASSERT_TRUE(ParseInputScript("# a drag\n"
                                 "at 120ms move 40 30   # start\n"
                                 "down left\n"
                                 "\n"
                                 "wait 500ms\n"
                                 "move -3 7\n"
                                 "key down VK_MENU\n"
                                 "key press a\n"
                                 "at 2s click right\n"
                                 "wheel -120\n"
                                 "screenshot after-drag_1.png\n"
                                 "wait 1s\n",
                                 s, error))
        << error;
    ASSERT_EQ(s.events.size(), 10u);
    EXPECT_EQ(s.events[0].type, InputType::MouseMove);
    EXPECT_EQ(s.events[0].timeMs, 120u);
    EXPECT_EQ(s.events[0].x, 40);
    EXPECT_EQ(s.events[0].line, 2);
    EXPECT_EQ(s.events[1].type, InputType::ButtonDown);
    EXPECT_EQ(s.events[2].timeMs, 620u);
    EXPECT_EQ(s.events[2].x, -3);
    EXPECT_EQ(s.events[3].vk, VK_MENU);
    EXPECT_EQ(s.events[4].vk, 'A');
    EXPECT_EQ(s.events[5].type, InputType::KeyUp);
    EXPECT_EQ(s.events[6].timeMs, 2000u);
    EXPECT_EQ(s.events[6].button, MouseButton::Right);
    EXPECT_EQ(s.events[7].type, InputType::ButtonUp);
    EXPECT_EQ(s.events[8].x, -120);
    ASSERT_TRUE(s.events[9].name);
    EXPECT_STREQ(s.events[9].name, "after-drag_1.png");
    EXPECT_EQ(s.endTime, 3000u);
    ASSERT_TRUE(ParseInputScript("", s, error));
    EXPECT_TRUE(s.events.empty());
}

TEST(InputScript, BadLinesAreRejectedWithTheLineAndTheReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"move 1 2\njump 3\n", "line 2: unknown command \"jump\""},
        {"move 1\n", "line 1: expected \"move X Y\""},
        {"move a b\n", "line 1: move needs two whole-number screen coordinates"},
        {"move 1 99999999999\n", "line 1: move needs two whole-number screen coordinates"},
        {"down sideways\n", "line 1: unknown mouse button \"sideways\" (left, right or middle)"},
        {"key down VK_NOPE\n", "line 1: unknown key \"VK_NOPE\" (a VK_ name, a letter, a digit or 0xNN)"},
        {"key hold A\n", "line 1: key needs down, up or press, not \"hold\""},
        {"at 5ms move 1 1\nat 2ms move 1 1\n", "line 2: time goes backwards (2ms is before 5ms)"},
        {"at soon move 1 1\n", "line 1: a time must be a whole number of milliseconds (\"120ms\") or seconds (\"2s\")"},
        {"at 5ms\n", "line 1: \"at TIME\" must be followed by a command"},
        {"wait -5ms\n", "line 1: a time must be a whole number of milliseconds (\"120ms\") or seconds (\"2s\")"},
        {"wait 99999999999999s\n", "line 1: the time is too large"},
        {"screenshot ../etc/passwd\n", "line 1: a screenshot name uses letters, digits, '_', '-' and '.', does not "
                                       "start with '.', and has at most 128 characters"},
        {"quit now\n", "line 1: expected \"quit\""},
        {"wheel 40000\n", "line 1: wheel needs a whole-number delta between -32767 and 32767"},
    };
    for (auto [text, message] : cases) {
        InputScript s;
        std::string error;
        EXPECT_FALSE(ParseInputScript(text, s, error)) << text;
        EXPECT_EQ(error, message) << text;
        EXPECT_TRUE(s.events.empty());
    }
    InputScript s;
    std::string error;
    EXPECT_FALSE(LoadInputScript("/nonexistent/script.txt", s, error));
    EXPECT_EQ(error, "cannot open input script /nonexistent/script.txt");
}

}  // namespace
}  // namespace brimlox::desktop

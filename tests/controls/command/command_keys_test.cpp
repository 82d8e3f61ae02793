// Command and the keyboard: Space and the Default key give exactly a mouse click's events, a
// press by Space is cancelled when the focus leaves, toggles flip on Space, and the focus frame
// shows after Tab but not after a click.
#include <gtest/gtest.h>

#include "controls/command/command_test.h"
#include "platform/desktop/desktop.h"
#include "platform/host/keyboard.h"

namespace brimlox::test {
namespace {

using controls::Command;
using Events = std::vector<std::string>;

// Each mouse event with its arguments, to compare a key's click with the mouse's.
void LogArguments(Command& b, Events& out) {
    for (const char* event : {"MouseDown", "MouseUp"})
        b.Connect(event, [&out, event](std::span<host::Variant> a) {
            std::string line = event;
            for (auto& v : a) line += " " + v.ToString();
            out.push_back(line);
        });
}

void Capture(host::Form& form, Canvas& canvas) {
    host::DoEvents();
    desktop::Desktop::Instance().ComposeAll();
    RECT r{};
    GetWindowRect(form.hWnd(), &r);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
}

TEST_F(CommandTest, SpaceAndTheDefaultKeyClickExactlyAsTheMouseDoes) {
    MakeForm();
    auto b = AddButton(*form, "cmdK", 10, 10, 75, 25);
    Events args;
    LogArguments(*b, args);
    // The reference: a click at the button's top-left pixel, which also gives it the focus.
    Script("move 10 10\nclick left\nmove 300 200\n");
    host::Run();
    const Events mouse = events, mouseArgs = args;
    ASSERT_EQ(mouse, (Events{"cmdK:MouseDown", "cmdK:Click", "cmdK:MouseUp"}));
    ASSERT_TRUE(host::HasFocus(*b));

    // Space: the press with the key going down (held keys do not press again), the click and
    // the release with the key coming up, wherever the pointer is.
    events.clear(), args.clear();
    Script("key down VK_SPACE\nkey down VK_SPACE\nkey down VK_SPACE\n");
    host::Run();
    EXPECT_EQ(events, (Events{"cmdK:MouseDown"}));
    EXPECT_TRUE(b->Pressed());
    Script("key up VK_SPACE\n");
    host::Run();
    EXPECT_EQ(events, mouse);
    EXPECT_EQ(args, mouseArgs);
    EXPECT_FALSE(b->Pressed());

    // Enter clicks the default button.
    b->SetDefault(true);
    events.clear(), args.clear();
    Script("key press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(events, mouse);
    EXPECT_EQ(args, mouseArgs);
}

TEST_F(CommandTest, APressBySpaceEndsWithoutClickWhenTheFocusLeavesAndTogglesFlip) {
    MakeForm();
    auto a = AddButton(*form, "cmdA", 10, 10, 75, 25);
    auto t = AddButton(*form, "cmdT", 100, 10, 75, 25);
    t->SetToggle(true);
    ASSERT_TRUE(host::SetFocus(*a));
    Script("key down VK_SPACE\nkey press VK_TAB\nkey up VK_SPACE\n");
    host::Run();
    EXPECT_EQ(events, (Events{"cmdA:MouseDown"}));
    EXPECT_FALSE(a->Pressed());
    EXPECT_FALSE(a->Value());
    EXPECT_TRUE(host::HasFocus(*t));

    // A toggle flips on Space and clicks on the press, as with the mouse.
    events.clear();
    Script("key press VK_SPACE\n");
    host::Run();
    EXPECT_TRUE(t->Value());
    EXPECT_EQ(events, (Events{"cmdT:MouseDown", "cmdT:Click", "cmdT:MouseUp"}));
    Script("key press VK_SPACE\n");
    host::Run();
    EXPECT_FALSE(t->Value());

    // A disabled button ignores Space (and loses the focus anyway).
    t->SetEnabled(false);
    events.clear();
    Script("key press VK_SPACE\n");
    host::Run();
    EXPECT_TRUE(events.empty());
}

TEST_F(CommandTest, TheFocusFrameShowsAfterTabAndNotAfterAClick) {
    MakeForm();
    form->Move(0, 0, 200 * 15, 45 * 15);
    auto a = AddButton(*form, "cmdOne", 10, 10, 75, 25);
    a->SetCaption("One");
    auto b = AddButton(*form, "cmdTwo", 100, 10, 75, 25);
    b->SetCaption("Two");
    b->SetDefault(true);
    Canvas before(200, 45);
    Capture(*form, before);

    // A click focuses the button but shows no frame: after the release it looks as before.
    Script("move 30 20\nclick left\nmove 190 40\n");
    host::Run();
    ASSERT_TRUE(host::HasFocus(*a));
    Canvas clicked(200, 45);
    Capture(*form, clicked);
    EXPECT_TRUE(MatchesGolden(clicked.surface(), "controls/command_focus_none"));
    EXPECT_TRUE(MatchesGolden(before.surface(), "controls/command_focus_none"));

    // Tab moves the focus to the default button and shows the frame from now on.
    Script("key press VK_TAB\n");
    host::Run();
    Canvas tabbed(200, 45);
    Capture(*form, tabbed);
    EXPECT_TRUE(MatchesGolden(tabbed.surface(), "controls/command_focus_tab"));
    Script("key press VK_TAB\n");
    host::Run();
    Canvas back(200, 45);
    Capture(*form, back);
    EXPECT_TRUE(MatchesGolden(back.surface(), "controls/command_focus_back"));
}

}  // namespace
}  // namespace brimlox::test

// Command and the keyboard: Space, Enter and the Default and Cancel keys give exactly a mouse
// click's events (Enter pressing the focused button before the default one), a press by Space is
// cancelled when the focus leaves, toggles flip on Space, the focus frame shows after Tab but
// not after a click, and keys that arrive while a menu is open or after the focused button went
// away end somewhere sensible.
#include <gtest/gtest.h>

#include "controls/command/command_test.h"
#include "menus/popup_menu.h"
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

    // Enter on a focused button that is not the default presses the focused one, once however
    // long the key is held; Enter elsewhere is the default button's, Escape the cancel button's.
    auto other = AddButton(*form, "cmdO", 100, 10, 75, 25);
    auto cancel = AddButton(*form, "cmdC", 190, 10, 75, 25);
    cancel->SetCancel(true);
    auto bar = form->Add("ScrollBar", "sbrK");
    bar->Move(10 * 15, 50 * 15, 150 * 15, 17 * 15);
    LogArguments(*other, args);
    ASSERT_TRUE(host::SetFocus(*other));
    events.clear(), args.clear();
    Script("key down VK_RETURN\nkey down VK_RETURN\nkey down VK_RETURN\nkey up VK_RETURN\n");
    host::Run();
    EXPECT_EQ(events, (Events{"cmdO:MouseDown", "cmdO:Click", "cmdO:MouseUp"}));
    EXPECT_EQ(args, mouseArgs);
    ASSERT_TRUE(host::SetFocus(*bar));
    events.clear();
    Script("key press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(events, mouse);
    EXPECT_TRUE(host::HasFocus(*bar)) << "a click for a key leaves the focus where it is";
    events.clear();
    Script("key press VK_ESCAPE\nkey press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(events, (Events{"cmdC:MouseDown", "cmdC:Click", "cmdC:MouseUp", "cmdK:MouseDown", "cmdK:Click",
                              "cmdK:MouseUp"}));
    // A disabled focused button takes no Enter: it has lost the focus, so the default has it.
    ASSERT_TRUE(host::SetFocus(*other));
    other->SetEnabled(false);
    events.clear();
    Script("key press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(events, mouse);
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

TEST_F(CommandTest, KeysDuringAnOpenMenuOrAfterTheFocusedButtonWentEndSomewhereSensible) {
    MakeForm();
    auto menu = AddButton(*form, "cmdMenu", 10, 10, 75, 25);
    menu->Menu().AddMenu("One", host::Variant("one"));
    menu->Menu().AddMenu("Two", host::Variant("two"));
    auto next = AddButton(*form, "cmdNext", 100, 10, 75, 25);
    auto cancel = AddButton(*form, "cmdCancel", 190, 10, 75, 25);
    cancel->SetCancel(true);
    std::vector<std::string> tags;
    menu->Connect("MenuClick", [&](std::span<host::Variant> a) { tags.push_back(a[0].ToString()); });

    // Enter opens the focused button's menu as a click does; while it is open, Tab and Space
    // do not move the focus or press anything, Escape closes the menu instead of clicking the
    // cancel button, and the focus is where it was.
    ASSERT_TRUE(host::SetFocus(*menu));
    Script("key press VK_RETURN\nat 200ms key press VK_TAB\nkey press VK_SPACE\nkey press VK_ESCAPE\n");
    host::Run();
    EXPECT_EQ(events, (Events{"cmdMenu:MouseDown", "cmdMenu:MouseUp"}));
    EXPECT_TRUE(tags.empty());
    EXPECT_FALSE(menus::Popup().menuShowing);
    EXPECT_TRUE(host::HasFocus(*menu));
    // Space opens it too, and Enter chooses in it.
    events.clear();
    Script("at 300ms key press VK_SPACE\nat 500ms key press VK_DOWN\nkey press VK_DOWN\nkey press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(tags, (std::vector<std::string>{"two"}));
    EXPECT_EQ(events, (Events{"cmdMenu:MouseDown", "cmdMenu:MenuClick", "cmdMenu:MouseUp"}));

    // As a split button, Space presses the button part; the Down arrow opens the menu as a
    // click on its strip does, twice over.
    menu->SetMenuButton(true);
    events.clear(), tags.clear();
    Script("at 300ms key press VK_SPACE\nat 500ms key press VK_DOWN\nat 700ms key press VK_DOWN\n"
           "key press VK_RETURN\nat 900ms key press VK_DOWN\nat 1100ms key press VK_DOWN\nkey press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(tags, (std::vector<std::string>{"one", "one"}));
    EXPECT_EQ(events, (Events{"cmdMenu:MouseDown", "cmdMenu:Click", "cmdMenu:MouseUp", "cmdMenu:MouseDown",
                              "cmdMenu:MenuClick", "cmdMenu:MouseUp", "cmdMenu:MouseDown", "cmdMenu:MenuClick",
                              "cmdMenu:MouseUp"}));
    menu->SetMenuButton(false);

    // Hidden in the middle of a press by Space: no Click, the form keeps the keys, and Tab
    // goes on from the start of the round.
    ASSERT_TRUE(host::SetFocus(*next));
    events.clear();
    Script("key down VK_SPACE\n");
    host::Run();
    next->SetVisible(false);
    Script("key up VK_SPACE\n");
    host::Run();
    EXPECT_EQ(events, (Events{"cmdNext:MouseDown"}));
    EXPECT_FALSE(next->Pressed());
    EXPECT_EQ(GetFocus(), form->hWnd());
    Script("key press VK_TAB\n");
    host::Run();
    EXPECT_TRUE(host::HasFocus(*menu));

    // Removed while focused: the focus goes to the form; the gone button cannot take it back
    // (its window is destroyed) and Tab goes on among those left.
    ASSERT_TRUE(host::SetFocus(*cancel));
    HWND gone = cancel->hWnd();
    form->Remove(*cancel);
    EXPECT_EQ(GetFocus(), form->hWnd());
    EXPECT_FALSE(host::SetFocus(*cancel));
    EXPECT_EQ(::SetFocus(gone), nullptr);
    EXPECT_EQ(GetFocus(), form->hWnd());
    events.clear();
    Script("key press VK_ESCAPE\nkey press VK_TAB\nkey press VK_TAB\n");
    host::Run();
    EXPECT_TRUE(events.empty()) << "no cancel button any more";
    EXPECT_TRUE(host::HasFocus(*menu)) << "the round wraps past the hidden button";

    // A form whose controls take no focus keeps it itself.
    auto other = host::Form::Create("frmNoFocus");
    other->SetBorderStyle(0);
    other->Move(0, 0, 200 * 15, 100 * 15);
    other->Add("ProgressBar", "prgOnly")->Move(0, 0, 100 * 15, 20 * 15);
    other->Add("Divider", "divOnly")->Move(0, 30 * 15, 100 * 15, 8 * 15);
    other->Show();
    Script("key press VK_TAB\nkey down VK_SHIFT\nkey press VK_TAB\nkey up VK_SHIFT\nkey press VK_SPACE\n");
    host::Run();
    EXPECT_EQ(GetFocus(), other->hWnd());
    other->Unload();
}

// A keyboard move of the form from its window menu owns Enter and Escape: Enter puts the form
// where the arrows took it and Escape puts it back, and neither presses the default or the
// cancel button.
TEST_F(CommandTest, EnterAndEscapeEndAKeyboardMoveOfTheFormAndPressNoButton) {
    MakeForm();
    form->SetBorderStyle(2);
    auto ok = AddButton(*form, "cmdOK", 10, 10, 75, 25);
    ok->SetDefault(true);
    auto cancel = AddButton(*form, "cmdC", 100, 10, 75, 25);
    cancel->SetCancel(true);
    host::DoEvents();
    RECT before{}, after{};
    GetWindowRect(form->hWnd(), &before);
    const std::string move = "key down VK_MENU\nkey press VK_SPACE\nkey up VK_MENU\nwait 200ms\nkey press M\n"
                             "wait 100ms\nkey press VK_RIGHT\nwait 100ms\n";
    events.clear();
    Script(move + "key press VK_RETURN\nwait 100ms\n");
    host::Run();
    GetWindowRect(form->hWnd(), &after);
    EXPECT_EQ(after.left, before.left + 8);
    EXPECT_TRUE(events.empty()) << events.front();
    Script(move + "key press VK_ESCAPE\nwait 100ms\n");
    host::Run();
    GetWindowRect(form->hWnd(), &before);
    EXPECT_EQ(before.left, after.left) << "Escape put the form back";
    EXPECT_TRUE(events.empty()) << events.front();
    // With the loop over, the keys are the buttons' again.
    Script("key press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(events, (Events{"cmdOK:MouseDown", "cmdOK:Click", "cmdOK:MouseUp"}));
}

}  // namespace
}  // namespace brimlox::test

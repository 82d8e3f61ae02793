// Command: the drop-down menu cycle through a real popup, the hand-over between menu buttons,
// the guard after a menu closes, and the keyboard roles registered from the caption.
#include <gtest/gtest.h>

#include "controls/command/command_test.h"
#include "menus/keyboard_registry.h"
#include "menus/popup_menu.h"
#include "platform/desktop/desktop.h"
#include "platform/user/timer.h"

namespace brimlox::test {
namespace {

using controls::Command;
using host::Variant;

std::shared_ptr<Command> WithFileMenu(std::shared_ptr<Command> b) {
    b->Menu().AddMenu("File", Variant("file"));
    b->Menu().AddMenu(">New", Variant("new"));
    b->Menu().AddMenu(">Open", Variant("open"));
    b->Menu().AddMenu("Exit", Variant("exit"));
    return b;
}

TEST_F(CommandTest, AReleaseOpensTheMenuAndAChoiceRaisesMenuClickWithTheTag) {
    MakeForm();
    auto b = WithFileMenu(AddButton(*form, "cmdFile", 10, 10, 75, 25));
    std::vector<std::string> tags;
    b->Connect("MenuClick", [&](std::span<Variant> a) { tags.push_back(a[0].ToString()); });
    Script("at 10ms move 40 20\nclick left\nat 200ms key press VK_DOWN\nkey press VK_RIGHT\nkey press VK_DOWN\n"
           "key press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(tags, (std::vector<std::string>{"open"}));
    EXPECT_EQ(b->MenuSelected(), 2);
    EXPECT_EQ(b->Menu().MenuItem(), 2);
    EXPECT_FALSE(menus::Popup().menuShowing);
    EXPECT_FALSE(b->Value());
    // MenuDown, the menu, MenuClick and MouseUp; no Click for a menu press.
    EXPECT_EQ(events, (std::vector<std::string>{"cmdFile:MouseDown", "cmdFile:MenuClick", "cmdFile:MouseUp"}));

    // With the strip, only the right 9 pixels open the menu; the rest is a plain button.
    events.clear();
    b->SetMenuButton(true);
    Script("at 300ms move 30 20\nclick left\nat 1000ms move 80 20\nclick left\nat 1200ms key press VK_ESCAPE\n");
    host::Run();
    EXPECT_EQ(events, (std::vector<std::string>{"cmdFile:MouseDown", "cmdFile:Click", "cmdFile:MouseUp",
                                                "cmdFile:MouseDown", "cmdFile:MouseUp"}));
}

TEST_F(CommandTest, PressesRightAfterAMenuClosesAreIgnoredEvenAcrossMidnight) {
    // The menu closes 50 ms before midnight on the desktop clock.
    desktop::Desktop::Instance().UseVirtualClock(86400000ull - 300);
    MakeForm();
    auto b = WithFileMenu(AddButton(*form, "cmdMidnight", 10, 10, 75, 25));
    b->SetMenuButton(true);
    Script("at 10ms move 80 20\nclick left\nat 240ms key press VK_ESCAPE\n"  // closes at 23:59:59.950
           "at 280ms move 30 20\nclick left\n"                                 // 40 ms later: ignored
           "at 900ms click left\n");                                           // after midnight: a click
    host::Run();
    EXPECT_EQ(std::count(events.begin(), events.end(), "cmdMidnight:Click"), 1);
    EXPECT_EQ(events.back(), "cmdMidnight:MouseUp");
}

TEST_F(CommandTest, ArrowKeysHandTheOpenMenuToTheNeighbouringButton) {
    MakeForm();
    auto left = WithFileMenu(AddButton(*form, "cmdLeft", 10, 10, 75, 25));
    left->SetCaption("&File");  // an accelerator puts the keyboard hook in place, which sees the arrows
    auto right = AddButton(*form, "cmdRight", 90, 10, 75, 25);
    right->Menu().AddMenu("Copy", Variant("copy"));
    right->Menu().AddMenu("Paste", Variant("paste"));
    std::vector<std::string> chosen;
    right->Connect("MenuClick", [&](std::span<Variant> a) { chosen.push_back(a[0].ToString()); });
    // Right on an item without a submenu moves to the right button.
    Script("at 10ms move 40 20\nclick left\nat 200ms key press VK_UP\nkey press VK_RIGHT\nat 400ms key press VK_DOWN\n"
           "key press VK_DOWN\nkey press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(chosen, (std::vector<std::string>{"paste"}));
    EXPECT_FALSE(menus::Popup().arrowRight);
    EXPECT_FALSE(menus::Popup().menuShowing);
}

TEST_F(CommandTest, TheArrowKeyHandOverOpensTheMenuOfANeighbouringMenuButton) {
    MakeForm();
    auto a = AddButton(*form, "cmdA", 10, 10, 75, 25);
    auto b = AddButton(*form, "cmdB", 90, 10, 75, 25);
    for (auto& button : {a, b}) {
        button->SetMenuButton(true);
        button->Menu().AddMenu("One", Variant("one"));
        button->Menu().AddMenu("Two", Variant("two"));
    }
    a->SetCaption("&A");
    b->SetCaption("&B");
    std::vector<std::string> chosen;
    b->Connect("MenuClick", [&](std::span<Variant> args) { chosen.push_back(args[0].ToString()); });
    // A's strip opens A's menu; Right hands over to B, whose menu opens with nothing clicked.
    Script("at 10ms move 80 20\nclick left\nat 200ms key press VK_RIGHT\nat 400ms key press VK_DOWN\n"
           "key press VK_DOWN\nkey press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(chosen, (std::vector<std::string>{"two"}));
    EXPECT_EQ(std::count(events.begin(), events.end(), "cmdB:Click"), 0);
    EXPECT_EQ(std::count(events.begin(), events.end(), "cmdA:Click"), 0);
    EXPECT_FALSE(a->Value());
    EXPECT_FALSE(b->Value());
    EXPECT_FALSE(b->Pressed());
}

TEST_F(CommandTest, RightMovesAcrossTheColumnsOfAMenuBeforeLeavingIt) {
    MakeForm();
    auto a = AddButton(*form, "cmdA", 10, 10, 75, 25);
    a->SetCaption("&A");
    a->Menu().AddMenu("One", Variant("one"));
    a->Menu().AddMenu("|", Variant());
    a->Menu().AddMenu("Two", Variant("two"));
    auto b = AddButton(*form, "cmdB", 90, 10, 75, 25);
    b->SetCaption("&B");
    b->Menu().AddMenu("Other", Variant("other"));
    std::vector<std::string> chosen;
    for (auto& button : {a, b})
        button->Connect("MenuClick", [&](std::span<Variant> args) { chosen.push_back(args[0].ToString()); });
    Script("at 10ms move 40 20\nclick left\nat 200ms key press VK_DOWN\nkey press VK_RIGHT\nkey press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(chosen, (std::vector<std::string>{"two"}));
    EXPECT_EQ(a->MenuSelected(), 2);

    // From the last column Right still hands the menu over.
    chosen.clear();
    Script("at 1000ms move 40 20\nclick left\nat 1200ms key press VK_DOWN\nkey press VK_RIGHT\nkey press VK_RIGHT\n"
           "at 1400ms key press VK_DOWN\nkey press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(chosen, (std::vector<std::string>{"other"})) << testing::PrintToString(events);
}

TEST_F(CommandTest, AHandlerMayClearTheMenuOrUnloadTheFormWhileTheButtonIsWorking) {
    MakeForm();
    auto b = WithFileMenu(AddButton(*form, "cmdGone", 10, 10, 75, 25));
    b->Connect("MenuClick", [&](std::span<Variant> a) {
        a[0] = Variant("changed");
        b->Menu().ClearMenu();
    });
    Script("at 10ms move 40 20\nclick left\nat 200ms key press VK_UP\nkey press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(b->MenuItemCount(), 0);

    // A Click handler that unloads the form: the button stops touching itself.
    auto plain = AddButton(*form, "cmdUnload", 100, 10, 75, 25);
    plain->SetAutoDelay(100);
    plain->Connect("Click", [&](std::span<Variant>) { form->Unload(); });
    Script("at 1000ms move 120 20\ndown left\nat 1500ms up left\n");
    host::Run();
    EXPECT_TRUE(form->Unloaded());
}

TEST_F(CommandTest, AMenuWhoseHostGoesAwayLeavesTheKeyboardRolesWorking) {
    MakeForm();
    auto other = host::Form::Create("frmOther");
    other->SetBorderStyle(0);
    other->Move(200 * 15, 150 * 15, 150 * 15, 100 * 15);
    auto ok = std::static_pointer_cast<Command>(other->Add("Command", "cmdOk"));
    ok->Move(10 * 15, 10 * 15, 75 * 15, 25 * 15);
    ok->SetDefault(true);
    int okClicks = 0;
    ok->Connect("Click", [&](std::span<Variant>) { ++okClicks; });
    auto b = WithFileMenu(AddButton(*form, "cmdHost", 10, 10, 75, 25));
    // While the menu is open its host (the form the button sits on) is destroyed.
    user::HostTimer closer([&] {
        if (menus::Popup().menuShowing) form->Unload();
    });
    closer.SetInterval(100);
    closer.SetEnabled(true);
    Script("at 10ms move 40 20\nclick left\nat 400ms move 0 0\n");
    host::Run();
    closer.SetEnabled(false);
    EXPECT_TRUE(form->Unloaded());
    EXPECT_FALSE(menus::Popup().menuShowing);
    EXPECT_FALSE(menus::Popup().hostDestroyed);
    other->Show();
    SetActiveWindow(other->hWnd());
    Script("at 10ms key press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(okClicks, 1) << "Enter still reaches the default button";
    other->Unload();
}

TEST_F(CommandTest, TheCaptionRegistersItsAcceleratorAndDefaultAndCancelAnswerEnterAndEscape) {
    MakeForm();
    auto save = AddButton(*form, "cmdSave", 10, 10, 75, 25);
    auto bang = AddButton(*form, "cmdBang", 100, 10, 75, 25);
    auto plain = AddButton(*form, "cmdPlain", 190, 10, 75, 25);
    plain->SetCaption("Plain");  // a caption without "&" registers nothing and removes nothing
    save->SetCaption("&Save");
    bang->SetCaption("Go&!");  // punctuation after "&": no letter, but the roles still count
    bang->SetDefault(true);
    plain->SetCancel(true);
    SetActiveWindow(form->hWnd());
    Script("at 10ms key down VK_MENU\nkey press S\nkey up VK_MENU\nat 100ms key press VK_RETURN\n"
           "at 200ms key press VK_ESCAPE\n");
    host::Run();
    EXPECT_EQ(std::count(events.begin(), events.end(), "cmdSave:Click"), 1);
    EXPECT_EQ(std::count(events.begin(), events.end(), "cmdBang:Click"), 1);
    EXPECT_EQ(std::count(events.begin(), events.end(), "cmdPlain:Click"), 1);

    // A new caption replaces the old accelerator.
    events.clear();
    save->SetCaption("&Keep");
    Script("at 10ms key down VK_MENU\nkey press S\nkey press K\nkey up VK_MENU\n");
    host::Run();
    EXPECT_EQ(events, (std::vector<std::string>{"cmdSave:MouseDown", "cmdSave:Click", "cmdSave:MouseUp"}));
    form->Unload();
    EXPECT_EQ(menus::RegisteredAcceleratorCount(), 0u);
    EXPECT_FALSE(menus::AcceleratorHookInstalled());
}

TEST_F(CommandTest, AnAcceleratorClicksAMoveableButtonAndOnlyTheMouseStartsAnAltDrag) {
    MakeForm();
    auto save = AddButton(*form, "cmdSave", 10, 10, 75, 25);
    save->SetCaption("&Save");
    save->SetMoveable(true);
    SetActiveWindow(form->hWnd());
    Script("at 10ms key down VK_MENU\nkey press S\nkey up VK_MENU\n");
    host::Run();
    EXPECT_EQ(events, (std::vector<std::string>{"cmdSave:MouseDown", "cmdSave:Click", "cmdSave:MouseUp"}));
    EXPECT_EQ(save->Left(), 10 * 15) << "the button stays where it is";

    // Alt with a real press still drags the same button.
    events.clear();
    Script("at 10ms move 40 20\nkey down VK_MENU\ndown left\nat 50ms move 60 30\nup left\nkey up VK_MENU\n");
    host::Run();
    EXPECT_EQ(events, (std::vector<std::string>{"cmdSave:MouseDown", "cmdSave:MouseUp"}));
    EXPECT_EQ(save->Left(), 30 * 15);
}

}  // namespace
}  // namespace brimlox::test

// Command: real mouse and keyboard input through the event loop on the virtual clock.
#include <gtest/gtest.h>

#include "controls/command/command_test.h"
#include "platform/desktop/desktop.h"
#include "platform/user/timer.h"

namespace brimlox::test {
namespace {

using controls::Command;
using Events = std::vector<std::string>;

std::uint64_t Now() { return desktop::Desktop::Instance().Now(); }

TEST_F(CommandTest, AClickInsideRaisesDownClickUpAndOutsideNoClick) {
    MakeForm();
    AddButton(*form, "cmdA", 10, 10, 75, 25);
    Script("at 10ms move 40 20\nclick left\n"
              "at 1000ms down left\nat 1050ms move 200 200\nup left\n"
              "at 2000ms move 40 20\nat 2100ms click left\nat 2200ms click left\n");
    host::Run();
    EXPECT_EQ(events, (Events{"cmdA:MouseDown", "cmdA:Click", "cmdA:MouseUp",                // inside
                           "cmdA:MouseDown", "cmdA:MouseUp",                              // released outside
                           "cmdA:MouseDown", "cmdA:Click", "cmdA:MouseUp",                // a double click: two
                           "cmdA:MouseDown", "cmdA:Click"}));  // full clicks; the host's last release finds none
}

TEST_F(CommandTest, AutoRepeatClicksAfterTheDelayThenEveryIntervalAndNotOnRelease) {
    MakeForm();
    auto b = AddButton(*form, "cmdRep", 10, 10, 75, 25);
    b->SetAutoDelay(400);
    b->SetAutoInterval(100);
    std::vector<std::uint64_t> clicks;
    std::uint64_t pressedAt = 0;
    b->Connect("MouseDown", [&](std::span<host::Variant>) { pressedAt = Now(); });
    b->Connect("Click", [&](std::span<host::Variant>) { clicks.push_back(Now() - pressedAt); });
    Script("at 10ms move 40 20\ndown left\nat 960ms up left\n");
    host::Run();
    EXPECT_EQ(clicks, (std::vector<std::uint64_t>{400, 500, 600, 700, 800, 900}));
    EXPECT_EQ(events.back(), "cmdRep:MouseUp");

    // Without a delay or interval: one Click, on the release.
    b->SetAutoDelay(0);
    b->SetAutoInterval(0);
    clicks.clear();
    Script("at 10ms down left\nat 900ms up left\n");
    host::Run();
    EXPECT_EQ(clicks, (std::vector<std::uint64_t>{890}));
}

TEST_F(CommandTest, TogglesClickOnThePressAndAGroupKeepsOneButtonDown) {
    MakeForm();
    std::shared_ptr<Command> buttons[3];
    for (int i = 0; i < 3; ++i) {
        buttons[i] = AddButton(*form, "cmdT" + std::to_string(i), 10 + i * 80, 10, 75, 25);
        buttons[i]->SetToggle(true);
        buttons[i]->SetAllowAllup(false);  // a toggle without all-up goes down at once
        buttons[i]->SetGroup(1);
    }
    int down = 0;
    for (auto& b : buttons) down += b->Value() ? 1 : 0;
    EXPECT_EQ(down, 1);

    std::vector<std::uint64_t> clickTimes;
    buttons[1]->Connect("Click", [&](std::span<host::Variant>) { clickTimes.push_back(Now()); });
    std::uint64_t start = Now();
    Script("at 10ms move 125 20\ndown left\nat 300ms up left\n");
    host::Run();
    EXPECT_TRUE(buttons[1]->Value());
    EXPECT_FALSE(buttons[0]->Value());
    EXPECT_FALSE(buttons[2]->Value());
    ASSERT_EQ(clickTimes.size(), 1u);
    EXPECT_EQ(clickTimes[0] - start, 10u);  // on the press

    // Pressing the down button again changes nothing on the press and clicks on the release.
    clickTimes.clear();
    start = Now();
    Script("at 1000ms down left\nat 1300ms up left\n");  // far enough apart not to be a double click
    host::Run();
    EXPECT_TRUE(buttons[1]->Value());
    ASSERT_EQ(clickTimes.size(), 1u);
    EXPECT_EQ(clickTimes[0] - start, 1300u);

    // A button joining the group becomes a toggle with the group's AllowAllup.
    auto late = AddButton(*form, "cmdLate", 10, 50, 75, 25);
    late->SetGroup(1);
    EXPECT_TRUE(late->Toggle());
    EXPECT_FALSE(late->AllowAllup());
    EXPECT_TRUE(buttons[1]->Value());
}

TEST_F(CommandTest, AltDragMovesTheButtonAndEscapePutsItBackWithoutCancellingTheForm) {
    MakeForm();
    auto b = AddButton(*form, "cmdMove", 10, 10, 75, 25);
    b->SetMoveable(true);
    auto cancel = AddButton(*form, "cmdCancel", 10, 100, 75, 25);
    cancel->SetCancel(true);
    Script("at 10ms move 40 20\nkey down VK_MENU\ndown left\nat 50ms move 60 30\nat 90ms move 80 45\nup left\n"
              "key up VK_MENU\n");
    host::Run();
    EXPECT_EQ(b->Left(), 50 * 15);
    EXPECT_EQ(b->Top(), 35 * 15);

    events.clear();
    Script("at 10ms move 60 40\nkey down VK_MENU\ndown left\nat 50ms move 100 80\nkey press VK_ESCAPE\n"
              "at 90ms move 120 90\nup left\nkey up VK_MENU\n");
    host::Run();
    EXPECT_EQ(b->Left(), 50 * 15);
    EXPECT_EQ(b->Top(), 35 * 15);
    for (const auto& e : events) EXPECT_NE(e, "cmdCancel:Click") << "Escape during the drag reached the Cancel button";
}

TEST_F(CommandTest, ALostCaptureEndsTheDragAndItsKeyboardWatch) {
    MakeForm();
    auto b = AddButton(*form, "cmdLost", 10, 10, 75, 25);
    b->SetMoveable(true);
    // Another window takes the capture in the middle of the drag.
    user::HostTimer thief([&] { SetCapture(form->hWnd()); });
    thief.SetInterval(60);
    thief.SetEnabled(true);
    Script("at 10ms move 40 20\nkey down VK_MENU\ndown left\nat 40ms move 50 25\n"
              "at 80ms move 90 90\nup left\nkey up VK_MENU\nat 200ms move 150 150\n");
    host::Run();
    thief.SetEnabled(false);
    ReleaseCapture();
    // The button stopped where it was when the capture went; the hook is gone (the fixture
    // fails a test that leaves a hook behind).
    EXPECT_EQ(b->Left(), 20 * 15);
    EXPECT_EQ(b->Top(), 15 * 15);
}

TEST_F(CommandTest, AFlatButtonRaisesUnderTheMouseAndFallsBackWhenItLeaves) {
    MakeForm();
    auto b = AddButton(*form, "cmdHover", 10, 10, 75, 25);
    b->SetActiveBorder(true);
    bool hoveredInside = false;
    user::HostTimer probe([&] { hoveredInside = hoveredInside || b->Hovering(); });
    probe.SetInterval(30);
    probe.SetEnabled(true);
    Script("at 10ms move 40 20\nat 100ms move 300 250\nat 400ms move 310 250\n");
    host::Run();
    probe.SetEnabled(false);
    EXPECT_TRUE(hoveredInside);
    EXPECT_FALSE(b->Hovering());

    // A disabled button raises nothing.
    events.clear();
    b->SetEnabled(false);
    Script("at 10ms move 40 20\nclick left\n");
    host::Run();
    EXPECT_TRUE(events.empty());
}

TEST_F(CommandTest, ARightClickRaisesOneMouseUpAlsoWhenItOpensTheMenu) {
    MakeForm();
    auto b = AddButton(*form, "cmdR", 10, 10, 75, 25);
    b->Menu().AddMenu("One", host::Variant("one"));
    Script("at 10ms move 40 20\nclick right\nat 200ms key press VK_ESCAPE\n"
           "at 1000ms click right\nat 1200ms key press VK_DOWN\nkey press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(events, (Events{"cmdR:MouseDown", "cmdR:MouseUp",                      // cancelled
                              "cmdR:MouseDown", "cmdR:MouseUp", "cmdR:MenuClick"}));  // chosen
    EXPECT_FALSE(b->Pressed());

    // A right click on a locked button: one MouseUp too.
    events.clear();
    b->SetLocked(true);
    Script("at 1000ms click right\n");
    host::Run();
    EXPECT_EQ(events, (Events{"cmdR:MouseDown", "cmdR:MouseUp"}));
}

TEST_F(CommandTest, APressWhileLockedLeavesNoStateBehind) {
    MakeForm();
    auto b = AddButton(*form, "cmdL", 10, 10, 75, 25);
    b->SetLocked(true);
    Script("at 10ms move 40 20\nclick left\nat 100ms click left\n");  // a click and a double click
    host::Run();
    EXPECT_EQ(events, (Events{"cmdL:MouseDown", "cmdL:MouseUp", "cmdL:MouseDown", "cmdL:MouseUp"}));
    EXPECT_FALSE(b->Pressed());
    EXPECT_FALSE(b->Value());

    // Unlocked, the next click is an ordinary one.
    events.clear();
    b->SetLocked(false);
    Script("at 1000ms click left\n");
    host::Run();
    EXPECT_EQ(events, (Events{"cmdL:MouseDown", "cmdL:Click", "cmdL:MouseUp"}));

    // Unlocking between a locked press and its release: the release still clicks nothing.
    events.clear();
    b->SetLocked(true);
    Script("at 1000ms down left\nat 1100ms up left\nat 2000ms click left\n");
    user::HostTimer unlock([&] { b->SetLocked(false); });
    unlock.SetInterval(1050);
    unlock.SetEnabled(true);
    host::Run();
    unlock.SetEnabled(false);
    EXPECT_EQ(events, (Events{"cmdL:MouseDown", "cmdL:MouseUp", "cmdL:MouseDown", "cmdL:Click", "cmdL:MouseUp"}));
}

}  // namespace
}  // namespace brimlox::test

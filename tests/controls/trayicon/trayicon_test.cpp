// TrayIcon: the records it hands the notification area after each property change, hide and
// show cycles, the callback decoding and the delayed click on the virtual clock (real clicks on
// the tray strip), the menu at the cursor, the designer look and the form-file round trip.
#include <gtest/gtest.h>

#include "controls/divider/divider_test.h"
#include "controls/trayicon/trayicon.h"
#include "menus/popup_menu.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/host/form_file.h"
#include "platform/shell/notify_area.h"
#include "platform/user/user.h"

namespace brimlox::test {
namespace {

using controls::TrayIcon;
using Events = std::vector<std::string>;

std::uint64_t Now() { return desktop::Desktop::Instance().Now(); }
const std::vector<shell::TrayEntry>& Entries() { return shell::NotifyArea::Instance().Entries(); }

class TrayIconTest : public HostTest {
protected:
    void TearDown() override {
        menus::Popup() = {};
        if (form && !form->Unloaded()) form->Unload();
        form.reset();
        HostTest::TearDown();
    }
    std::shared_ptr<TrayIcon> MakeTray(bool designMode = false) {
        form = host::Form::Create("frmTray", designMode);
        form->SetCaption("Tray form");
        form->Move(0, 0, 300 * 15, 200 * 15);
        form->Show();
        return std::static_pointer_cast<TrayIcon>(form->Add("TrayIcon"));
    }
    // Logs the control's events as "Name(arg)@ms after `start`".
    void Listen(TrayIcon& tray) {
        for (const char* name : {"Click", "DblClick", "MenuClick"})
            tray.Connect(name, [this, name](std::span<host::Variant> a) {
                events.push_back(std::string(name) + "(" + a[0].ToString() + ")@" + std::to_string(Now() - start));
            });
    }
    void Play(const std::string& script) {
        desktop::InputScript parsed;
        std::string error;
        ASSERT_TRUE(desktop::ParseInputScript(script, parsed, error)) << error;
        start = Now();
        for (auto& e : parsed.events) e.timeMs += start;
        desktop::Desktop::Instance().SetInputSource(
            std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), parsed.endTime + start));
        host::Run();
    }
    // "move X Y" to the middle of the first icon of the tray strip.
    static std::string OverIcon() {
        const RECT strip = shell::NotifyArea::Instance().StripRect();
        return "move " + std::to_string(strip.left + 12) + " " + std::to_string(strip.top + 12);
    }

    std::shared_ptr<host::Form> form;
    Events events;
    std::uint64_t start = 0;
};

TEST_F(TrayIconTest, ShellRecordsFollowEveryPropertyChangeAndHideShowCycles) {
    auto tray = MakeTray();
    EXPECT_FALSE(IsWindowVisible(tray->hWnd())) << "a running form shows only the tray icon";
    tray->SetVisible(false), tray->SetVisible(true);
    EXPECT_FALSE(IsWindowVisible(tray->hWnd()));
    tray->SetToolTip("Before the icon");
    EXPECT_TRUE(Entries().empty()) << "no icon, nothing in the tray";
    tray->SetIcon(SolidIcon(RGB(0, 0, 255)));
    ASSERT_EQ(Entries().size(), 1u);
    EXPECT_TRUE(tray->Added());
    EXPECT_EQ(Entries()[0].hwnd, tray->hWnd());
    EXPECT_EQ(Entries()[0].id, HandleValue(tray->hWnd()));
    EXPECT_TRUE(Entries()[0].hasCallback);
    EXPECT_EQ(Entries()[0].callbackMessage, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_NE(Entries()[0].icon, nullptr);
    EXPECT_EQ(Entries()[0].tip, "Before the icon");
    EXPECT_EQ(tray->Record().uFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    EXPECT_EQ(tray->Record().szTip[20], ' ') << "blank-padded after the terminator";

    tray->SetToolTip("Changed");
    EXPECT_EQ(tray->Record().uFlags, NIF_TIP);
    EXPECT_EQ(Entries()[0].tip, "Changed");

    // Hidden, a tooltip changed meanwhile, then shown: the icon comes back whole, with the new
    // tip and its callback; showing twice adds once.
    tray->SetHidden(true);
    EXPECT_TRUE(Entries().empty());
    EXPECT_FALSE(tray->Added());
    tray->SetToolTip("Set while hidden");
    EXPECT_TRUE(Entries().empty());
    for (int i = 0; i < 2; ++i) tray->SetHidden(false);
    ASSERT_EQ(Entries().size(), 1u);
    EXPECT_TRUE(Entries()[0].hasCallback);
    EXPECT_NE(Entries()[0].icon, nullptr);
    EXPECT_EQ(Entries()[0].tip, "Set while hidden");

    // A long tooltip is cut to 63 characters and its terminator.
    tray->SetToolTip(std::string(100, 'T'));
    EXPECT_EQ(Entries()[0].tip, std::string(63, 'T'));
    EXPECT_EQ(tray->Record().szTip[63], '\0');
    EXPECT_EQ(tray->ToolTip().size(), 100u) << "the property keeps the whole text";

    // A bitmap is refused with a message; the icon stays. A new icon changes the entry.
    host::ClearMessageBoxLog();
    auto old = tray->Icon();
    tray->SetIcon(GridPicture(8, 8));
    ASSERT_EQ(host::MessageBoxLog().size(), 1u);
    EXPECT_EQ(host::MessageBoxLog()[0].text, "Only Icons are supported");
    EXPECT_EQ(tray->Icon(), old);
    HICON before = Entries()[0].icon;
    tray->SetIcon(SolidIcon(RGB(255, 0, 0)));
    ASSERT_EQ(Entries().size(), 1u);
    EXPECT_NE(Entries()[0].icon, before);
    host::DoEvents();
    HDC screen = GetDC(nullptr);
    const RECT strip = shell::NotifyArea::Instance().StripRect();
    EXPECT_EQ(GetPixel(screen, strip.left + 12, strip.top + 12), RGB(255, 0, 0));
    ReleaseDC(nullptr, screen);

    // No icon: out of the tray; hiding and showing without an icon adds nothing.
    tray->SetIcon(nullptr);
    EXPECT_TRUE(Entries().empty());
    tray->SetHidden(true), tray->SetHidden(false);
    EXPECT_TRUE(Entries().empty());
    tray->SetIcon(SolidIcon(RGB(0, 255, 0)));
    EXPECT_EQ(Entries().size(), 1u);
    form->Unload();
    EXPECT_TRUE(Entries().empty()) << "the control takes its icon along";
}

TEST_F(TrayIconTest, ClicksOnTheStripDecodeOnTheVirtualClockAndTheMenuOpensAfterTheDelay) {
    auto tray = MakeTray();
    tray->SetIcon(SolidIcon(RGB(0, 0, 255)));
    tray->Menu().AddMenu("&Open", host::Variant("open"));
    tray->Menu().AddMenu("E&xit", host::Variant("exit"));
    Listen(*tray);
    std::string popupSeen;
    desktop::Desktop::Instance().SetScreenshotHandler([&](const std::string& name) {
        popupSeen += name + (menus::Popup().menuShowing ? "+" : "-");
    });
    // A single left click: Click(1) one double-click time after the release, then the menu,
    // where Down and Enter choose the first item.
    Play("at 100ms " + OverIcon() + "\nclick left\nat 700ms screenshot open\n"
         "at 800ms key press VK_DOWN\nat 900ms key press VK_RETURN\nat 1000ms screenshot closed\n");
    EXPECT_EQ(events, (Events{"Click(1)@600", "MenuClick(open)@900"}));
    EXPECT_EQ(popupSeen, "open+closed-");
    EXPECT_EQ(tray->MenuSelected(), 0);

    // A left double click: DblClick(1) only, no Click and no menu, also after the time passes.
    events.clear();
    Play("at 100ms " + OverIcon() + "\nclick left\nat 200ms click left\nat 2000ms screenshot after\n");
    EXPECT_EQ(events, (Events{"DblClick(1)@200"}));
    EXPECT_FALSE(tray->DelayRunning());

    // Right and middle: at once, never a menu; a right double click reports both.
    events.clear();
    popupSeen.clear();
    Play("at 100ms " + OverIcon() + "\nclick right\nat 150ms screenshot right\nat 1000ms click middle\n"
         "at 2000ms click right\nat 2100ms click right\n");
    EXPECT_EQ(events, (Events{"Click(2)@100", "Click(4)@1000", "Click(2)@2000", "DblClick(2)@2100", "Click(2)@2100"}));
    EXPECT_EQ(popupSeen, "right-");

    // A left click and then a right one within the time: the right click stops the left one.
    events.clear();
    Play("at 100ms " + OverIcon() + "\nclick left\nat 300ms click right\nat 1500ms screenshot x\n");
    EXPECT_EQ(events, (Events{"Click(2)@300"}));
}

TEST_F(TrayIconTest, AClickWhileTheMenuIsOpenClosesItAndAnotherPopupKeepsTheMenuShut) {
    auto tray = MakeTray();
    tray->SetIcon(SolidIcon(RGB(0, 0, 255)));
    tray->Menu().AddMenu("One", host::Variant("1"));
    Listen(*tray);
    // The menu is open after 600 ms; a click on the icon closes it and starts no new delay.
    Play("at 100ms " + OverIcon() + "\nclick left\nat 800ms click left\nat 2500ms wait 1ms\n");
    EXPECT_EQ(events, (Events{"Click(1)@600"}));
    EXPECT_FALSE(menus::Popup().menuShowing);

    // Another popup open when the delay runs out: Click(1) is raised but no second menu opens.
    events.clear();
    tray->Connect("Click", [&](std::span<host::Variant>) { menus::Popup().menuShowing = true; });
    std::string popupSeen;
    desktop::Desktop::Instance().SetScreenshotHandler([&](const std::string&) {
        EnumWindows([](HWND h, LPARAM out) -> WINBOOL {
            char cls[64];
            GetClassNameA(h, cls, sizeof cls);
            if (IsWindowVisible(h)) *reinterpret_cast<std::string*>(out) += std::string(cls) + ";";
            return TRUE;
        }, reinterpret_cast<LPARAM>(&popupSeen));
    });
    SendMessageA(tray->hWnd(), WM_MOUSEMOVE, 0, WM_LBUTTONUP);
    EXPECT_TRUE(tray->DelayRunning());
    Play("at 1000ms screenshot during\n");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].substr(0, 8), "Click(1)");
    EXPECT_EQ(popupSeen.find("#32768"), std::string::npos) << popupSeen;
    EXPECT_TRUE(menus::Popup().menuShowing) << "the other popup's flag is left alone";
    menus::Popup().menuShowing = false;
}

TEST_F(TrayIconTest, TheFormGoingWhileTheMenuIsOpenLeavesLaterClicksWorking) {
    auto tray = MakeTray();
    tray->SetIcon(SolidIcon(RGB(0, 0, 255)));
    tray->Menu().AddMenu("One", host::Variant("1"));
    Listen(*tray);
    auto unload = std::make_unique<user::HostTimer>([&] {
        if (menus::Popup().menuShowing && form && !form->Unloaded()) form->Unload();
    });
    unload->SetInterval(800);
    unload->SetEnabled(true);
    Play("at 100ms " + OverIcon() + "\nclick left\nat 2000ms wait 1ms\n");
    unload.reset();
    EXPECT_EQ(events, (Events{"Click(1)@600"})) << "no MenuClick";
    EXPECT_FALSE(menus::Popup().menuShowing);
    EXPECT_TRUE(Entries().empty());

    // A new tray icon's left click starts its delay: nothing swallows it.
    auto second = MakeTray();
    second->SetIcon(SolidIcon(RGB(0, 255, 0)));
    SendMessageA(second->hWnd(), WM_MOUSEMOVE, 0, WM_LBUTTONUP);
    EXPECT_TRUE(second->DelayRunning());
}

// The shell's callback reaching Click handlers that disconnect themselves, remove the icon or
// unload its form: the icon goes with its control, and the control lives out the callback.
TEST_F(TrayIconTest, ClickHandlersMayDisconnectThemselvesRemoveTheIconOrUnloadTheForm) {
    auto tray = MakeTray();
    tray->SetIcon(SolidIcon(RGB(0, 0, 255)));
    std::vector<std::string> ran;
    int selfId = 0;
    selfId = tray->Connect("Click", [&](std::span<host::Variant> a) {
        ran.push_back("once(" + a[0].ToString() + ")");
        tray->Disconnect(selfId);
    });
    tray->Connect("Click", [&](std::span<host::Variant> a) { ran.push_back("every(" + a[0].ToString() + ")"); });
    SendMessageA(tray->hWnd(), WM_MOUSEMOVE, 0, WM_RBUTTONUP);
    SendMessageA(tray->hWnd(), WM_MOUSEMOVE, 0, WM_MBUTTONUP);
    EXPECT_EQ(ran, (Events{"once(2)", "every(2)", "every(4)"}));

    // Removed by its own handler: the only owner is the form, and the icon leaves the tray.
    std::weak_ptr<TrayIcon> weak = tray;
    TrayIcon* raw = tray.get();
    const HWND hwnd = tray->hWnd();
    tray.reset();
    std::string nameAfter;
    raw->Connect("Click", [&](std::span<host::Variant>) {
        form->Remove(*raw);
        nameAfter = raw->Name();
    });
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, WM_RBUTTONUP);
    EXPECT_EQ(nameAfter, "TrayIcon1");
    EXPECT_TRUE(weak.expired());
    EXPECT_TRUE(Entries().empty());

    // Unloading the form from the handler.
    tray = std::static_pointer_cast<TrayIcon>(form->Add("TrayIcon"));
    tray->SetIcon(SolidIcon(RGB(0, 0, 255)));
    weak = tray;
    raw = tray.get();
    tray.reset();
    int clicks = 0;
    raw->Connect("Click", [&](std::span<host::Variant>) {
        ++clicks;
        form->Unload();
        EXPECT_FALSE(raw->hWnd());
    });
    SendMessageA(raw->hWnd(), WM_MOUSEMOVE, 0, WM_MBUTTONUP);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(weak.expired());
    EXPECT_TRUE(form->Unloaded());
    EXPECT_TRUE(Entries().empty());
}

TEST_F(TrayIconTest, DesignerLookFixedSizeAndFormFileRoundTrip) {
    auto tray = MakeTray(true);
    tray->SetIcon(SolidIcon(RGB(0, 0, 255)));
    EXPECT_TRUE(Entries().empty()) << "the designer puts nothing in the tray";
    EXPECT_TRUE(IsWindowVisible(tray->hWnd()));
    tray->Move(150, 150, 2000, 600);
    EXPECT_EQ(tray->Width(), TrayIcon::kSideTwips);
    EXPECT_EQ(tray->Height(), TrayIcon::kSideTwips);
    EXPECT_EQ(tray->Name(), "traIcon");
    host::DoEvents();
    // A flat outline round the box, the icon at its top left inside.
    EXPECT_EQ(GetPixel(tray->hDC(), 0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(tray->hDC(), 32, 32), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(tray->hDC(), 8, 8), RGB(0, 0, 255));

    tray->SetToolTip("");
    tray->Menu().AddMenu("Show", host::Variant("show"));
    tray->Menu().AddMenu(">Sub", host::Variant("sub"));
    tray->SetHidden(true);
    const std::string text = host::SaveFormText(*form);
    form->Unload();
    form = host::LoadFormText(text, "tray-roundtrip.json");
    auto again = std::static_pointer_cast<TrayIcon>(form->Controls()[0]);
    EXPECT_EQ(again->ToolTip(), "Tray form") << "an empty tooltip comes back as the form's caption";
    EXPECT_TRUE(again->Hidden());
    ASSERT_NE(again->Icon(), nullptr);
    EXPECT_EQ(again->Icon()->Type(), host::PictureType::Icon);
    EXPECT_EQ(again->MenuItemCount(), 2);
    EXPECT_EQ(again->Menu().Items()[1].Caption, ">Sub");
    EXPECT_TRUE(Entries().empty()) << "hidden: loaded without entering the tray";
    EXPECT_FALSE(IsWindowVisible(again->hWnd()));
    again->SetHidden(false);
    ASSERT_EQ(Entries().size(), 1u);
    EXPECT_EQ(Entries()[0].tip, "Tray form");
}

}  // namespace
}  // namespace brimlox::test

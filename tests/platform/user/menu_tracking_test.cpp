// TrackPopupMenu sessions driven by scripted input on the virtual clock: the messages the
// owner gets and their order, hover and keyboard navigation into submenus, choosing by mouse,
// by key and by mnemonic, and every way a menu is cancelled.
#include "menu_test.h"

#include "platform/desktop/desktop.h"

namespace brimlox::test {
namespace {

using MenuTrackingTest = MenuTest;

// Open (id 1) and More, a submenu with Alpha (id 11) and Beta (id 12); all owner-drawn with
// their item data 1 to 4. Shown at (100, 100) the popup is 126 pixels wide (a 3-pixel frame
// around 120-pixel items), its items 20 pixels high from y = 103; the submenu opens at the
// parent item's right edge (x = 223) with its first item level with the parent item (y = 123).
struct TwoLevelMenu {
    HMENU top = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    TwoLevelMenu() {
        Owner().texts = {"Open", "More", "Alpha", "Beta"};
        AppendMenuA(sub, MF_OWNERDRAW, 11, reinterpret_cast<LPCSTR>(3));
        AppendMenuA(sub, MF_OWNERDRAW, 12, reinterpret_cast<LPCSTR>(4));
        AppendMenuA(top, MF_OWNERDRAW, 1, reinterpret_cast<LPCSTR>(1));
        AppendMenuA(top, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), reinterpret_cast<LPCSTR>(2));
    }
    ~TwoLevelMenu() { DestroyMenu(top); }
};

std::vector<std::string> Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    return OwnerLog({"WM_COMMAND"});
}

TEST_F(MenuTrackingTest, HoverOpensTheSubmenuAfterTheShowDelayAndAClickChooses) {
    HWND owner = MakeMenuOwner({0, 0, 400, 400});
    TwoLevelMenu menu;
    std::vector<std::pair<std::uint64_t, HWND>> idle;
    char cls[16] = {};
    Owner().onIdle = [&](HWND) {
        if (idle.empty() || idle.back().second != Owner().idleWindow)
            idle.emplace_back(desktop::Desktop::Instance().Now(), Owner().idleWindow);
        GetClassNameA(Owner().idleWindow, cls, sizeof cls);
    };
    UseScript("at 10ms move 150 130\nat 500ms move 250 150\nat 600ms click left\n");
    EXPECT_EQ(TrackPopupMenu(menu.top, TPM_LEFTALIGN, 100, 100, 0, owner, nullptr), TRUE);
    // Order and values checked against Windows: the loop notifications, the popup item
    // reported by position with MF_POPUP, owner-drawn items with MF_OWNERDRAW, the close
    // notification with 0xFFFF flags and no menu, and WM_COMMAND only after the loop.
    EXPECT_EQ(Owner().log, (std::vector<std::string>{
                               "WM_ENTERMENULOOP 1", "WM_INITMENU", "WM_INITMENUPOPUP 0", "WM_MEASUREITEM 1",
                               "WM_MEASUREITEM 2", "WM_ENTERIDLE 2", "WM_MENUSELECT 1 0x8190", "WM_INITMENUPOPUP 1",
                               "WM_MEASUREITEM 3", "WM_MEASUREITEM 4", "WM_MENUSELECT 12 0x8180",
                               "WM_UNINITMENUPOPUP", "WM_UNINITMENUPOPUP", "WM_MENUSELECT 0 0xffff 0",
                               "WM_EXITMENULOOP 1"}));
    EXPECT_EQ(Drain(), (std::vector<std::string>{"WM_COMMAND 12"}));
    // The submenu window appeared when the 400 ms show delay had passed after the move at 10 ms.
    ASSERT_EQ(idle.size(), 2u);
    EXPECT_EQ(idle[1].first, 410u);
    EXPECT_STREQ(cls, "#32768");
    EXPECT_FALSE(IsWindow(idle[0].second)) << "popup windows go with the menu";
    DestroyWindow(owner);
}

TEST_F(MenuTrackingTest, ArrowKeysWrapEnterAndLeaveSubmenusAndEnterChooses) {
    HWND owner = MakeMenuOwner({0, 0, 400, 400});
    TwoLevelMenu menu;
    UseScript(
        "key press VK_DOWN\nkey press VK_DOWN\nkey press VK_RIGHT\nkey press VK_DOWN\nkey press VK_DOWN\n"
        "key press VK_ESCAPE\nkey press VK_UP\nkey press VK_UP\nkey press VK_LEFT\nkey press VK_RETURN\n"
        "key press VK_RETURN\n");
    EXPECT_EQ(TrackPopupMenu(menu.top, TPM_LEFTALIGN | TPM_RETURNCMD, 100, 100, 0, owner, nullptr), 11);
    // Right opens the submenu with its first item selected (checked against Windows), Down
    // wraps, Escape closes one level, Up wraps upwards, Left on the first level does nothing,
    // Enter on a popup item opens it and Enter again chooses.
    EXPECT_EQ(OwnerLog({"WM_MENUSELECT", "WM_INITMENUPOPUP", "WM_UNINITMENUPOPUP"}),
              (std::vector<std::string>{"WM_INITMENUPOPUP 0", "WM_MENUSELECT 1 0x180", "WM_MENUSELECT 1 0x190",
                                        "WM_INITMENUPOPUP 1", "WM_MENUSELECT 11 0x180", "WM_MENUSELECT 12 0x180",
                                        "WM_MENUSELECT 11 0x180", "WM_UNINITMENUPOPUP", "WM_MENUSELECT 1 0x180",
                                        "WM_MENUSELECT 1 0x190", "WM_INITMENUPOPUP 1", "WM_MENUSELECT 11 0x180",
                                        "WM_UNINITMENUPOPUP", "WM_UNINITMENUPOPUP", "WM_MENUSELECT 0 0xffff 0"}));
    EXPECT_TRUE(Drain().empty()) << "TPM_RETURNCMD posts no WM_COMMAND";
    DestroyWindow(owner);
}

TEST_F(MenuTrackingTest, LeftAndRightMoveBetweenColumnsBeforeOpeningOrClosingSubmenus) {
    HWND owner = MakeMenuOwner({0, 0, 400, 400});
    // Two columns: One and Sub | Two and More (with Nine).
    HMENU top = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    HMENU more = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 8, "Eight");
    AppendMenuA(more, MF_STRING, 9, "Nine");
    AppendMenuA(top, MF_STRING, 1, "One");
    AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Sub");
    AppendMenuA(top, MF_STRING | MF_MENUBARBREAK, 2, "Two");
    AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "More");
    UseScript(
        "key press VK_DOWN\nkey press VK_RIGHT\nkey press VK_LEFT\nkey press VK_DOWN\nkey press VK_RIGHT\n"
        "key press VK_DOWN\nkey press VK_RIGHT\nkey press VK_LEFT\nkey press VK_LEFT\nkey press VK_LEFT\n"
        "key press VK_RIGHT\nkey press VK_DOWN\nkey press VK_RIGHT\nkey press VK_RETURN\n");
    EXPECT_EQ(TrackPopupMenu(top, TPM_LEFTALIGN | TPM_RETURNCMD, 100, 100, 0, owner, nullptr), 9);
    // Right goes to the first item of the next column, also from the popup item Sub (whose
    // submenu never opens); Left comes back. In the last column Right opens More, Left closes
    // it again, and Left in the first column of the first level does nothing.
    EXPECT_EQ(OwnerLog({"WM_MENUSELECT", "WM_INITMENUPOPUP", "WM_UNINITMENUPOPUP"}),
              (std::vector<std::string>{"WM_INITMENUPOPUP 0", "WM_MENUSELECT 1 0x80", "WM_MENUSELECT 2 0x80",
                                        "WM_MENUSELECT 1 0x80", "WM_MENUSELECT 1 0x90", "WM_MENUSELECT 2 0x80",
                                        "WM_MENUSELECT 3 0x90", "WM_INITMENUPOPUP 3", "WM_MENUSELECT 9 0x80",
                                        "WM_UNINITMENUPOPUP", "WM_MENUSELECT 1 0x80", "WM_MENUSELECT 2 0x80",
                                        "WM_MENUSELECT 3 0x90", "WM_INITMENUPOPUP 3", "WM_MENUSELECT 9 0x80",
                                        "WM_UNINITMENUPOPUP", "WM_UNINITMENUPOPUP", "WM_MENUSELECT 0 0xffff 0"}));
    DestroyMenu(top);
    DestroyWindow(owner);
}

}  // namespace
}  // namespace brimlox::test

namespace brimlox::test {
namespace {

using MenuCancelTest = MenuTest;

// Runs a one-level menu of two string items at (100, 100) and returns TrackPopupMenu's result.
int TrackSimple(HWND owner, UINT flags = TPM_RETURNCMD) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 5, "&First");
    AppendMenuA(menu, MF_STRING, 6, "&Second");
    int r = TrackPopupMenu(menu, flags, 100, 100, 0, owner, nullptr);
    DestroyMenu(menu);
    return r;
}

TEST_F(MenuCancelTest, EscapeAltOutsideClicksAndPostedButtonsCancelAndLeaveTheClickQueued) {
    HWND owner = MakeMenuOwner({0, 0, 400, 400});
    HWND other = MakeTopLevel("other", {500, 500, 600, 600});
    SetActiveWindow(owner);
    UseScript("key press VK_DOWN\nkey press VK_ESCAPE\n");
    EXPECT_EQ(TrackSimple(owner), 0);
    UseScript("key press VK_DOWN\nkey press VK_MENU\n");
    EXPECT_EQ(TrackSimple(owner), 0) << "Alt closes every level";

    // A press on another window ends the menu and that window still gets its click.
    MessageLog().clear();
    UseScript("move 510 510\nat 10ms click left\n");
    EXPECT_EQ(TrackSimple(owner), 0);
    RunLoop();
    EXPECT_EQ(Filtered(MessageLog(), {"WM_LBUTTONDOWN", "WM_LBUTTONUP"}),
              (std::vector<std::string>{"other:WM_LBUTTONDOWN(10,10)", "other:WM_LBUTTONUP(10,10)"}));

    // The controls close a menu by posting a button press and release to the thread from
    // WM_ENTERIDLE (checked against Windows: the menu ends and both messages stay queued).
    Owner().log.clear();
    Owner().idleCount = 0;
    Owner().onIdle = [](HWND) {
        PostMessageA(nullptr, WM_LBUTTONDOWN, 0, 0);
        PostMessageA(nullptr, WM_LBUTTONUP, 0, 0);
    };
    UseScript("");
    EXPECT_EQ(TrackSimple(owner, 0), TRUE);
    EXPECT_EQ(Owner().idleCount, 1);
    MSG m;
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_LBUTTONDOWN);
    ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_LBUTTONUP);
    EXPECT_TRUE(OwnerLog({"WM_COMMAND"}).empty());
    EXPECT_EQ(OwnerLog({"WM_EXITMENULOOP"}).size(), 1u);
    DestroyWindow(other);
    DestroyWindow(owner);
}

TEST_F(MenuCancelTest, DestroyingTheOwnerOrTheMenuAndASecondTrackEndTheLoopCleanly) {
    HWND owner = MakeMenuOwner({0, 0, 400, 400});
    // A second TrackPopupMenu while one runs fails.
    int nested = -1;
    Owner().onIdle = [&](HWND hwnd) {
        HMENU m = CreatePopupMenu();
        AppendMenuA(m, MF_STRING, 1, "x");
        nested = TrackPopupMenu(m, TPM_RETURNCMD, 0, 0, 0, hwnd, nullptr);
        DestroyMenu(m);
        PostMessageA(nullptr, WM_LBUTTONDOWN, 0, 0);
    };
    UseScript("");
    TrackSimple(owner);
    EXPECT_EQ(nested, 0);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }

    // The menu destroyed by its owner while it shows: the loop ends, nothing is chosen.
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 9, "Nine");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Sub");
    Owner().onIdle = [&](HWND) { DestroyMenu(menu); };
    UseScript("key press VK_DOWN\nkey press VK_RIGHT\n");
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, owner, nullptr), 0);
    EXPECT_FALSE(IsMenu(sub)) << "DestroyMenu takes the submenus with it";

    // The owner destroyed during tracking: the popup windows go with it and the call fails.
    Owner().onIdle = [](HWND hwnd) { DestroyWindow(hwnd); };
    UseScript("");
    EXPECT_EQ(TrackSimple(owner, 0), FALSE);
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_FALSE(TrackSimple(owner)) << "a dead owner cannot track";
}

TEST_F(MenuCancelTest, TheRightButtonChoosesOnlyWithTpmRightButtonAndTheEndOfInputCancels) {
    HWND owner = MakeMenuOwner({0, 0, 400, 400});
    UseScript("at 10ms move 150 106\nat 20ms click right\n");
    EXPECT_EQ(TrackSimple(owner), 0) << "ignored without TPM_RIGHTBUTTON; the script then runs out";
    UseScript("at 10ms move 150 106\nat 20ms click right\n");
    EXPECT_EQ(TrackSimple(owner, TPM_RETURNCMD | TPM_RIGHTBUTTON), 5);
    UseScript("at 10ms move 150 106\nat 20ms click left\n");
    EXPECT_EQ(TrackSimple(owner), 5);
    DestroyWindow(owner);
}

TEST_F(MenuCancelTest, TheLoopPumpsOtherWindowsAndKeyboardHooksStillSeeKeys) {
    HWND owner = MakeMenuOwner({0, 0, 400, 400});
    HWND ticking = MakeTopLevel("ticking", {500, 0, 600, 100});
    SetActiveWindow(owner);
    SetTimer(ticking, 7, 100, nullptr);
    static std::vector<WPARAM> hooked;
    hooked.clear();
    HHOOK hook = SetWindowsHookExA(
        WH_KEYBOARD,
        [](int code, WPARAM vk, LPARAM data) -> LRESULT {
            if (code >= 0 && !(data & (1L << 31))) hooked.push_back(vk);
            return CallNextHookEx(nullptr, code, vk, data);
        },
        nullptr, GetCurrentThreadId());
    MessageLog().clear();
    UseScript("at 350ms key press VK_DOWN\nat 360ms key press VK_RETURN\n");
    EXPECT_EQ(TrackSimple(owner), 5);
    EXPECT_EQ(Filtered(MessageLog(), {"WM_TIMER"}).size(), 3u) << "timers of other windows tick during the menu";
    EXPECT_EQ(hooked, (std::vector<WPARAM>{VK_DOWN, VK_RETURN}));
    UnhookWindowsHookEx(hook);
    KillTimer(ticking, 7);
    DestroyWindow(ticking);
    DestroyWindow(owner);
}

}  // namespace
}  // namespace brimlox::test

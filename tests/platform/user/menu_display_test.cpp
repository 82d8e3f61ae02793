// What a tracked popup shows and how keys pick items: mnemonics of string items and through
// WM_MENUCHAR, columns, the owner-draw records and how few items a selection change redraws,
// placement on the screen, and golden images of open menus.
#include "menu_test.h"

#include "platform/desktop/desktop.h"

namespace brimlox::test {
namespace {

using MenuDisplayTest = MenuTest;

HMENU MnemonicMenu() {
    HMENU m = CreatePopupMenu();
    AppendMenuA(m, MF_STRING, 1, "&Alpha");
    AppendMenuA(m, MF_STRING, 2, "&Beta");
    AppendMenuA(m, MF_STRING, 3, "&Bold");
    AppendMenuA(m, MF_OWNERDRAW, 4, reinterpret_cast<LPCSTR>(1));
    AppendMenuA(m, MF_OWNERDRAW, 5, reinterpret_cast<LPCSTR>(2));
    return m;
}

TEST_F(MenuDisplayTest, MnemonicsRunStringItemsAndAskTheOwnerForOwnerDrawnOnes) {
    HWND owner = MakeMenuOwner({0, 0, 400, 400});
    HMENU menu = MnemonicMenu();
    LPARAM askedMenu = 0;
    Owner().onMenuChar = [&](WPARAM w, LPARAM l) -> LRESULT {
        askedMenu = l;
        switch (LOWORD(w)) {
            case 'x': return MAKELPARAM(3, MNC_SELECT);
            case 'z': return MAKELPARAM(4, MNC_EXECUTE);
            case 'q': return MAKELPARAM(0, MNC_CLOSE);
            default: return MAKELPARAM(0, MNC_IGNORE);
        }
    };
    // Two items share "B": each press selects the next; a single match runs at once.
    UseScript("key press B\nkey press B\nkey press X\nkey press Y\nkey press Z\n");
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, owner, nullptr), 5);
    EXPECT_EQ(OwnerLog({"WM_MENUSELECT", "WM_MENUCHAR"}),
              (std::vector<std::string>{"WM_MENUSELECT 2 0x80", "WM_MENUSELECT 3 0x80", "WM_MENUCHAR x 0x10",
                                        "WM_MENUSELECT 4 0x180", "WM_MENUCHAR y 0x10", "WM_MENUCHAR z 0x10",
                                        "WM_MENUSELECT 5 0x180", "WM_MENUSELECT 0 0xffff 0"}));
    // WM_MENUCHAR carries the typed character, MF_POPUP and the menu (checked against Windows).
    EXPECT_EQ(askedMenu, reinterpret_cast<LPARAM>(menu));
    UseScript("key press A\n");
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, owner, nullptr), 1);
    UseScript("key press Q\nkey press A\n");
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, owner, nullptr), 0) << "MNC_CLOSE";
    // MNC_EXECUTE on a grayed item ends the menu with nothing chosen (checked against Windows).
    EnableMenuItem(menu, 5, MF_GRAYED);
    UseScript("key press Z\nkey press A\n");
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, owner, nullptr), 0);
    DestroyMenu(menu);
    DestroyWindow(owner);
}

TEST_F(MenuDisplayTest, ColumnBreaksBarsAndTallMenusMakeColumnsThatKeysCross) {
    HWND owner = MakeMenuOwner({0, 0, 400, 400});
    HMENU menu = CreatePopupMenu();
    const char* names[] = {"One", "Two", "Three", "Four", "Five", "Six"};
    for (UINT i = 0; i < 6; ++i) {
        UINT flags = MF_STRING | (i == 3 ? MF_MENUBARBREAK : 0) | (i == 5 ? MF_MENUBREAK : 0);
        AppendMenuA(menu, flags, i + 1, names[i]);
    }
    std::vector<RECT> rects(6);
    Owner().onIdle = [&](HWND hwnd) {
        for (UINT i = 0; i < 6; ++i) GetMenuItemRect(hwnd, menu, i, &rects[i]);
    };
    UseScript("at 10ms key press VK_UP\nat 20ms key press VK_DOWN\nat 30ms key press VK_RETURN\n");
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, owner, nullptr), 1) << "Up wraps to the last, Down back";
    EXPECT_EQ(rects[0].left, 103);
    EXPECT_EQ(rects[0].top, 103);
    EXPECT_EQ(rects[3].top, rects[0].top) << "a bar break starts a new column at the top";
    EXPECT_EQ(rects[3].left, rects[0].right + 4) << "with room for the bar";
    EXPECT_EQ(rects[5].left, rects[3].right) << "a plain break has no bar";
    EXPECT_EQ(rects[1].top, rects[0].bottom);
    EXPECT_EQ(OwnerLog({"WM_MENUSELECT"}).front(), "WM_MENUSELECT 6 0x80");
    DestroyMenu(menu);

    // A menu taller than the screen wraps into columns instead of running off it.
    Owner().itemHeight = 20;
    HMENU tall = CreatePopupMenu();
    for (UINT i = 0; i < 100; ++i) AppendMenuA(tall, MF_OWNERDRAW, i + 1, reinterpret_cast<LPCSTR>(0));
    RECT first{}, wrapped{}, popup{};
    Owner().onIdle = [&](HWND hwnd) {
        GetMenuItemRect(hwnd, tall, 0, &first);
        GetMenuItemRect(hwnd, tall, 38, &wrapped);
        GetWindowRect(Owner().idleWindow, &popup);
    };
    UseScript("");
    TrackPopupMenu(tall, TPM_RETURNCMD, 0, 0, 0, owner, nullptr);
    EXPECT_EQ(wrapped.top, first.top) << "38 items of 20 pixels fill a 768-pixel screen";
    EXPECT_EQ(wrapped.left, first.right);
    EXPECT_LE(popup.bottom, 768);
    DestroyMenu(tall);
    DestroyWindow(owner);
}

TEST_F(MenuDisplayTest, OwnerDrawRecordsCarryTheStatesAndASelectionMoveRedrawsTwoItems) {
    HWND owner = MakeMenuOwner({0, 0, 400, 400});
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_OWNERDRAW, 50, reinterpret_cast<LPCSTR>(50));
    for (UINT i = 0; i < 8; ++i) AppendMenuA(menu, MF_OWNERDRAW, 10 + i, reinterpret_cast<LPCSTR>(100 + i));
    AppendMenuA(menu, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), reinterpret_cast<LPCSTR>(108));
    CheckMenuItem(menu, 11, MF_CHECKED);
    EnableMenuItem(menu, 12, MF_GRAYED);
    EnableMenuItem(menu, 13, MF_DISABLED);
    SetMenuDefaultItem(menu, 14, FALSE);
    std::vector<int> selectDraws;
    std::size_t entireDraws = 0;
    Owner().onIdle = [&](HWND) {
        selectDraws.push_back(Owner().selectDraws);
        if (!entireDraws) entireDraws = Owner().draws.size();
    };
    UseScript("at 10ms key press VK_DOWN\nat 20ms key press VK_DOWN\nat 30ms key press VK_DOWN\nat 40ms key press VK_ESCAPE\n");
    TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, owner, nullptr);
    // The first paint draws all nine items; then the first Down draws one item, each further
    // move exactly two (the old and the new selection).
    EXPECT_EQ(entireDraws, 9u);
    EXPECT_EQ(selectDraws, (std::vector<int>{0, 1, 3, 5}));
    const auto& d = Owner().draws;
    ASSERT_GE(d.size(), 9u);
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(d[i].CtlType, ODT_MENU);
        EXPECT_EQ(d[i].itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
        EXPECT_EQ(d[i].hwndItem, HandleFromValue<HWND>(HandleValue(menu)));
        EXPECT_EQ(d[i].itemData, 100 + i);
        EXPECT_EQ(d[i].rcItem.right - d[i].rcItem.left, 120 + 13) << "widened by the check mark, as on Windows";
    }
    EXPECT_EQ(d[1].itemState, static_cast<UINT>(ODS_CHECKED));
    // Checked against Windows: the first paint draws every item entire, hwndItem is the menu,
    // a grayed item is also disabled, and the selection is redrawn before WM_MENUSELECT.
    EXPECT_EQ(d[2].itemState, static_cast<UINT>(ODS_GRAYED | ODS_DISABLED));
    EXPECT_EQ(d[3].itemState, static_cast<UINT>(ODS_DISABLED));
    EXPECT_EQ(d[4].itemState, static_cast<UINT>(ODS_DEFAULT));
    EXPECT_EQ(d[8].itemID, HandleValue(sub)) << "a popup item reports its submenu as the item id";
    EXPECT_EQ(d[9].itemState, static_cast<UINT>(ODS_SELECTED));
    EXPECT_EQ(d.back().itemState, static_cast<UINT>(ODS_SELECTED | ODS_GRAYED | ODS_DISABLED))
        << "keys select grayed items (checked against Windows)";
    DestroyMenu(menu);
    DestroyWindow(owner);
}

TEST_F(MenuDisplayTest, PopupsStayOnTheScreenAndAlignAsAsked) {
    HWND owner = MakeMenuOwner({0, 0, 400, 400});
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_OWNERDRAW, 1, nullptr);
    AppendMenuA(menu, MF_OWNERDRAW, 2, nullptr);
    RECT r{};
    Owner().onIdle = [&](HWND) { GetWindowRect(Owner().idleWindow, &r); };
    auto track = [&](UINT flags, int x, int y) {
        UseScript("");
        TrackPopupMenu(menu, flags | TPM_RETURNCMD, x, y, 0, owner, nullptr);
        return r;
    };
    EXPECT_EQ(track(TPM_LEFTALIGN, 300, 200), (RECT{300, 200, 439, 246}));
    EXPECT_EQ(track(TPM_RIGHTALIGN, 300, 200), (RECT{161, 200, 300, 246}));
    EXPECT_EQ(track(TPM_CENTERALIGN | TPM_BOTTOMALIGN, 300, 200), (RECT{231, 154, 370, 200}));
    // Near the bottom right corner the popup opens up and to the left of the point.
    EXPECT_EQ(track(TPM_LEFTALIGN, 1000, 750), (RECT{861, 704, 1000, 750}));
    EXPECT_EQ(track(TPM_RIGHTALIGN, 10, 5000), (RECT{0, 722, 139, 768}));
    DestroyMenu(menu);
    DestroyWindow(owner);
}

}  // namespace
}  // namespace brimlox::test

namespace brimlox::test {
namespace {

using MenuGoldenTest = MenuTest;

// Copies a screen rectangle into a canvas, so a golden image holds just the menu.
void CaptureScreen(Canvas& canvas, const RECT& r) {
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
}

TEST_F(MenuGoldenTest, OpenOwnerDrawnMenuWithSubmenu) {
    HWND owner = MakeMenuOwner({0, 0, 400, 300});
    HMENU top = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    Owner().texts = {"Open", "More", "Alpha", "Beta", "Disabled"};
    AppendMenuA(sub, MF_OWNERDRAW, 11, reinterpret_cast<LPCSTR>(3));
    AppendMenuA(sub, MF_OWNERDRAW, 12, reinterpret_cast<LPCSTR>(4));
    AppendMenuA(top, MF_OWNERDRAW, 1, reinterpret_cast<LPCSTR>(1));
    AppendMenuA(top, MF_OWNERDRAW | MF_GRAYED, 2, reinterpret_cast<LPCSTR>(5));
    AppendMenuA(top, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), reinterpret_cast<LPCSTR>(2));
    Canvas canvas(260, 90);
    RECT area{20, 20, 280, 110};
    Owner().onIdle = [&](HWND) { CaptureScreen(canvas, area); };
    // Hover "More" until its submenu opens, then rest on Beta.
    UseScript("at 10ms move 80 70\nat 500ms move 170 90\nat 600ms wait 1ms\n");
    TrackPopupMenu(top, TPM_RETURNCMD, 23, 23, 0, owner, nullptr);
    EXPECT_TRUE(MatchesGolden(canvas.surface(), "menus/open_owner_drawn"));
    DestroyMenu(top);
    DestroyWindow(owner);
}

TEST_F(MenuGoldenTest, ClassicStringMenuWithMarksArrowsSeparatorsAndColumns) {
    HWND owner = MakeMenuOwner({0, 0, 400, 300});
    HMENU top = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 20, "Inner");
    AppendMenuA(top, MF_STRING, 1, "&Open\tCtrl+O");
    AppendMenuA(top, MF_STRING | MF_CHECKED, 2, "&Word wrap");
    AppendMenuA(top, MF_STRING | MF_GRAYED, 3, "&Grayed\tDel");
    AppendMenuA(top, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(top, MF_STRING, 4, "&Small");
    AppendMenuA(top, MF_STRING, 5, "&Large");
    AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
    AppendMenuA(top, MF_STRING | MF_MENUBARBREAK, 6, "&Column");
    AppendMenuA(top, MF_STRING | MF_GRAYED | MF_CHECKED, 7, "Grey check");
    CheckMenuRadioItem(top, 4, 5, 5, MF_BYCOMMAND);
    SetMenuDefaultItem(top, 1, FALSE);
    RECT popup{};
    Owner().onIdle = [&](HWND) { GetWindowRect(Owner().idleWindow, &popup); };
    std::unique_ptr<Canvas> canvas;
    Owner().onIdle = [&](HWND) {
        GetWindowRect(Owner().idleWindow, &popup);
        canvas = std::make_unique<Canvas>(popup.right - popup.left, popup.bottom - popup.top);
        CaptureScreen(*canvas, popup);
    };
    UseScript("at 10ms key press VK_DOWN\nat 20ms key press VK_DOWN\n");
    TrackPopupMenu(top, TPM_RETURNCMD, 20, 20, 0, owner, nullptr);
    ASSERT_TRUE(canvas);
    EXPECT_TRUE(MatchesGolden(canvas->surface(), "menus/classic_string_menu"));
    canvas.reset();
    DestroyMenu(top);
    DestroyWindow(owner);
}

}  // namespace
}  // namespace brimlox::test

// Menu objects without tracking: items and their states, queries, destruction with submenus,
// and hostile input (cycles, too many items, huge or empty texts, stale handles).
#include "menu_test.h"

namespace brimlox::test {
namespace {

using MenuObjectTest = MenuTest;

TEST_F(MenuObjectTest, ItemsStatesAndQueriesFollowWindows) {
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    ASSERT_TRUE(menu && sub);
    EXPECT_TRUE(AppendMenuA(menu, MF_STRING, 10, "&Open"));
    EXPECT_TRUE(AppendMenuA(menu, MF_OWNERDRAW, 11, reinterpret_cast<LPCSTR>(77)));
    EXPECT_TRUE(AppendMenuA(menu, MF_SEPARATOR, 0, nullptr));
    EXPECT_TRUE(AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), "Sub\tCtrl+S"));
    EXPECT_TRUE(AppendMenuA(sub, MF_STRING, 20, "x"));
    // Checked against Windows: four items, a popup item reads back id -1.
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(GetMenuItemID(menu, 0), 10u);
    EXPECT_EQ(GetMenuItemID(menu, 3), 0xFFFFFFFFu);
    EXPECT_EQ(GetMenuItemID(menu, 9), 0xFFFFFFFFu);
    EXPECT_EQ(GetSubMenu(menu, 3), sub);
    EXPECT_EQ(GetSubMenu(menu, 0), nullptr);
    // CheckMenuItem and EnableMenuItem return the previous state, -1 for a missing item, and
    // find items inside submenus by command.
    EXPECT_EQ(CheckMenuItem(menu, 10, MF_CHECKED), 0u);
    EXPECT_EQ(CheckMenuItem(menu, 10, MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(menu, 20, MF_CHECKED), 0u);
    EXPECT_EQ(GetMenuState(sub, 20, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(EnableMenuItem(menu, 10, MF_GRAYED), 0);
    EXPECT_EQ(EnableMenuItem(menu, 10, MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
    EXPECT_EQ(EnableMenuItem(menu, 99, MF_GRAYED), -1);
    EXPECT_EQ(CheckMenuItem(menu, 2, MF_BYPOSITION | MF_CHECKED), 0u);
    EXPECT_EQ(CheckMenuItem(menu, 4, MF_BYPOSITION | MF_CHECKED), static_cast<DWORD>(-1));
    // Radio groups: one checked item with the radio mark, the others cleared.
    HMENU radio = CreatePopupMenu();
    for (UINT id = 30; id < 34; ++id) AppendMenuA(radio, MF_STRING | MF_CHECKED, id, "r");
    EXPECT_TRUE(CheckMenuRadioItem(radio, 31, 33, 32, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuState(radio, 30, 0) & MF_CHECKED, MF_CHECKED) << "outside the range: untouched";
    EXPECT_EQ(GetMenuState(radio, 31, 0) & MF_CHECKED, 0u);
    EXPECT_EQ(GetMenuState(radio, 32, 0) & (MF_CHECKED | MFT_RADIOCHECK), MF_CHECKED | MFT_RADIOCHECK);
    EXPECT_FALSE(CheckMenuRadioItem(radio, 33, 31, 32, MF_BYCOMMAND)) << "a reversed range";
    EXPECT_TRUE(CheckMenuRadioItem(radio, 0, 1, 0, MF_BYPOSITION));
    // The default item, ModifyMenuA, strings and bitmaps.
    EXPECT_TRUE(SetMenuDefaultItem(menu, 10, FALSE));
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 10u);
    EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), 0u);
    EXPECT_TRUE(SetMenuDefaultItem(menu, 0xFFFFFFFFu, FALSE));
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 0xFFFFFFFFu);
    EXPECT_TRUE(ModifyMenuA(menu, 11, MF_BYCOMMAND | MF_STRING, 12, "&Renamed"));
    char text[32];
    EXPECT_EQ(GetMenuStringA(menu, 12, text, sizeof text, MF_BYCOMMAND), 8);
    EXPECT_STREQ(text, "&Renamed");
    EXPECT_TRUE(SetMenuItemBitmaps(menu, 12, MF_BYCOMMAND, nullptr, nullptr));
    EXPECT_FALSE(SetMenuItemBitmaps(menu, 99, MF_BYCOMMAND, nullptr, nullptr));
    EXPECT_EQ(LOWORD(static_cast<DWORD>(GetMenuCheckMarkDimensions())), 13);
    // A top-level window created with a menu bar reports it; a child's "menu" is its id.
    HMENU bar = CreateMenu();
    HWND framed = CreateWindowExA(0, RecorderClass(), "framed", WS_POPUP, 0, 0, 50, 50, nullptr, bar, nullptr, nullptr);
    HWND child = CreateWindowExA(0, RecorderClass(), "child", WS_CHILD, 0, 0, 5, 5, framed, HandleFromValue<HMENU>(7),
                                 nullptr, nullptr);
    EXPECT_EQ(GetMenu(framed), bar);
    EXPECT_EQ(GetMenu(child), nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), 7);
    DestroyWindow(framed);
    DestroyMenu(bar);
    // DestroyMenu takes the submenus with it (checked against Windows).
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_FALSE(DestroyMenu(menu)) << "a stale handle";
    EXPECT_TRUE(DestroyMenu(radio));
}

TEST_F(MenuObjectTest, HostileInputIsRefusedOrBounded) {
    HMENU a = CreatePopupMenu();
    HMENU b = CreatePopupMenu();
    EXPECT_TRUE(AppendMenuA(a, MF_POPUP, reinterpret_cast<UINT_PTR>(b), "b"));
    EXPECT_FALSE(AppendMenuA(b, MF_POPUP, reinterpret_cast<UINT_PTR>(a), "a")) << "a cycle";
    EXPECT_FALSE(AppendMenuA(a, MF_POPUP, reinterpret_cast<UINT_PTR>(a), "self"));
    EXPECT_FALSE(AppendMenuA(a, MF_POPUP, 0x12345, "not a menu"));
    EXPECT_FALSE(AppendMenuA(HandleFromValue<HMENU>(0x4242), MF_STRING, 1, "x"));
    EXPECT_FALSE(AppendMenuA(a, MF_BITMAP, 1, nullptr)) << "bitmap items are not supported";
    EXPECT_EQ(GetMenuItemCount(nullptr), -1);
    // Texts are kept up to a bound; an empty string item is a separator, as on Windows.
    std::string huge(100000, 'W');
    EXPECT_TRUE(AppendMenuA(b, MF_STRING, 1, huge.c_str()));
    EXPECT_EQ(GetMenuStringA(b, 1, nullptr, 0, MF_BYCOMMAND), static_cast<int>(user::kMaxMenuTextLength));
    EXPECT_TRUE(AppendMenuA(b, MF_STRING, 2, ""));
    EXPECT_EQ(GetMenuState(b, 1, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    // A menu holds at most 65535 items.
    HMENU big = CreatePopupMenu();
    for (std::size_t i = 0; i < user::kMaxMenuItems; ++i) ASSERT_TRUE(AppendMenuA(big, MF_STRING, i + 1, "i"));
    EXPECT_FALSE(AppendMenuA(big, MF_STRING, 1, "one too many"));
    EXPECT_TRUE(DestroyMenu(big));
    // Deep nesting: a chain of 200 menus is destroyed from the top without trouble.
    HMENU chain = CreatePopupMenu();
    HMENU last = chain;
    for (int i = 0; i < 200; ++i) {
        HMENU next = CreatePopupMenu();
        ASSERT_TRUE(AppendMenuA(last, MF_POPUP, reinterpret_cast<UINT_PTR>(next), "deeper"));
        last = next;
    }
    EXPECT_TRUE(DestroyMenu(chain));
    EXPECT_TRUE(DestroyMenu(a));
}

}  // namespace
}  // namespace brimlox::test

// Building nested menus from captions: levels and ids, hidden subtrees, separators, columns,
// titles, radio groups, shortcut text, and the captions the grammar leaves open (skipped and
// too deep levels, empty captions, children that have no item to open them).
#include "menus/popup_internal.h"
#include "menus_test.h"

namespace brimlox::test {
namespace {

using menus::detail::BuildPopup;
using menus::detail::DestroyPopup;
using menus::detail::PopupBuild;
using menus::typPopUpItem;

std::vector<typPopUpItem> Items(const std::vector<std::string>& captions) {
    std::vector<typPopUpItem> items;
    for (const std::string& c : captions) {
        typPopUpItem it;
        it.Caption = c;
        it.Enabled = it.Visible = true;
        items.push_back(it);
    }
    return items;
}

std::vector<UINT> Ids(HMENU menu) {
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) ids.push_back(GetMenuItemID(menu, i));
    return ids;
}

UINT State(HMENU menu, int pos) { return GetMenuState(menu, static_cast<UINT>(pos), MF_BYPOSITION); }

constexpr UINT kPopupId = 0xFFFFFFFFu;

using PopupBuildTest = MenusTest;

TEST_F(PopupBuildTest, LevelsMakeSubmenusAndHiddenItemsTakeTheirChildrenAlong) {
    PopupBuild b;
    ASSERT_TRUE(BuildPopup(Items({"File", ">New", ">&Open", "Exit"}), 4, b));
    EXPECT_EQ(Ids(b.top), (std::vector<UINT>{kPopupId, 4}));
    HMENU sub = GetSubMenu(b.top, 0);
    EXPECT_EQ(Ids(sub), (std::vector<UINT>{2, 3})) << "ids are index + 1";
    EXPECT_EQ(b.records[0].submenu, sub);
    EXPECT_EQ(b.records[2].menu, sub);
    EXPECT_EQ(b.records[2].position, 1);
    EXPECT_EQ(b.records[2].text, "&Open");
    EXPECT_EQ(menus::detail::FindRecord(b, HandleValue(sub)), &b.records[0]) << "popup items report their submenu";
    EXPECT_EQ(b.menus.size(), 2u);
    DestroyPopup(b);

    auto items = Items({"A", "Hidden", ">h1", ">>h2", "B", ">b1"});
    items[1].Visible = false;
    items[5].Visible = false;
    ASSERT_TRUE(BuildPopup(items, items.size(), b));
    EXPECT_EQ(Ids(b.top), (std::vector<UINT>{1, 5})) << "a hidden item opens no submenu either";
    EXPECT_EQ(b.menus.size(), 1u);
    DestroyPopup(b);
}

TEST_F(PopupBuildTest, SeparatorsColumnsTitlesAndShortcutsBecomeItemsWithTheirFlags) {
    auto items = Items({"A", "-", "&B", "|", "C\\tCtrl+C", "[Title]", "-Part-", "Off", ">child"});
    items[5].Checked = 1;
    items[5].Icon = MakeIconPicture(RGB(255, 0, 0));
    items[7].Enabled = false;
    PopupBuild b;
    ASSERT_TRUE(BuildPopup(items, items.size(), b));
    EXPECT_EQ(Ids(b.top), (std::vector<UINT>{1, 0, 3, 5, 6, 7, kPopupId}));
    EXPECT_TRUE(State(b.top, 1) & MF_SEPARATOR);
    EXPECT_EQ(b.records[2].position, 2) << "positions count separators: they index the menu";
    EXPECT_TRUE(State(b.top, 3) & MF_MENUBARBREAK) << "the item after \"|\" starts a column";
    EXPECT_FALSE(State(b.top, 2) & MF_MENUBARBREAK);
    EXPECT_EQ(b.records[4].text, "C\tCtrl+C");
    EXPECT_EQ(State(b.top, 4) & (MF_GRAYED | MF_CHECKED), static_cast<UINT>(MF_GRAYED)) << "a title bar";
    EXPECT_FALSE(b.records[5].icon) << "titles have no icons";
    EXPECT_TRUE(State(b.top, 5) & MF_GRAYED) << "a titled separator";
    EXPECT_TRUE(State(b.top, 6) & MF_POPUP);
    EXPECT_TRUE(State(b.top, 6) & MF_GRAYED) << "a disabled item keeps its state when it gets a submenu";
    DestroyPopup(b);
}

TEST_F(PopupBuildTest, RadioRunsMarkTheirFirstOrCheckedItem) {
    auto items = Items({"R1", "R2", "R3", "Plain", "S1", "S2"});
    for (int i : {0, 1, 2, 4, 5}) items[static_cast<std::size_t>(i)].Radio = true;
    items[3].Checked = 1;
    items[5].Checked = 1;
    items[0].Icon = MakeIconPicture(RGB(0, 0, 255));
    PopupBuild b;
    ASSERT_TRUE(BuildPopup(items, items.size(), b));
    std::vector<bool> checked;
    for (int i = 0; i < 6; ++i) checked.push_back((State(b.top, i) & MF_CHECKED) != 0);
    EXPECT_EQ(checked, (std::vector<bool>{true, false, false, true, false, true}));
    EXPECT_TRUE(b.records[0].radio);
    EXPECT_TRUE(b.records[0].icon);
    EXPECT_FALSE(b.records[3].radio);
    DestroyPopup(b);
}

// Captions that skip levels count one level deeper than the item before them; nothing goes
// deeper than level 15; empty captions are left out without changing any other item's id;
// children of a separator have no item to open them and are left out.
TEST_F(PopupBuildTest, OpenCaptionsAreClampedSkippedOrLeftOut) {
    PopupBuild b;
    ASSERT_TRUE(BuildPopup(Items({"A", ">>>B", ">>>C", "D"}), 4, b));
    EXPECT_EQ(Ids(GetSubMenu(b.top, 0)), (std::vector<UINT>{2, 3}));
    EXPECT_EQ(Ids(b.top), (std::vector<UINT>{kPopupId, 4}));
    DestroyPopup(b);

    std::vector<std::string> chain;
    for (int level = 0; level <= 20; ++level) chain.push_back(std::string(static_cast<std::size_t>(level), '>') + "L");
    chain.push_back(std::string(20, '>') + "deepest");
    chain.push_back("Top");
    ASSERT_TRUE(BuildPopup(Items(chain), chain.size(), b));
    EXPECT_EQ(b.menus.size(), 16u) << "levels 0 to 15";
    HMENU m = b.top;
    for (int depth = 0; depth < 15; ++depth) m = GetSubMenu(m, 0);
    EXPECT_EQ(Ids(m), (std::vector<UINT>{16, 17, 18, 19, 20, 21, 22}));
    EXPECT_EQ(Ids(b.top), (std::vector<UINT>{kPopupId, 23}));
    DestroyPopup(b);

    ASSERT_TRUE(BuildPopup(Items({"A", "", ">a1", "", "B", "-", ">lost", "|", ">lost too", "C"}), 10, b));
    EXPECT_EQ(Ids(b.top), (std::vector<UINT>{kPopupId, 5, 0, 10}));
    EXPECT_EQ(Ids(GetSubMenu(b.top, 0)), (std::vector<UINT>{3}));
    EXPECT_TRUE(State(b.top, 3) & MF_MENUBARBREAK);
    DestroyPopup(b);

    // The empty list and a list of nothing but empty captions show nothing.
    ASSERT_TRUE(BuildPopup(Items({""}), 1, b));
    EXPECT_EQ(b.topItems, 0);
    DestroyPopup(b);
}

TEST_F(PopupBuildTest, WindowListItemsArePlainTopLevelItems) {
    PopupBuild b;
    ASSERT_TRUE(BuildPopup(Items({"A", ">a1", "&1 a > b", "-x-", "|"}), 2, b));
    EXPECT_EQ(Ids(b.top), (std::vector<UINT>{kPopupId, 3, 4, 5}));
    EXPECT_EQ(b.records[2].text, "&1 a > b");
    EXPECT_FALSE(State(b.top, 2) & MF_GRAYED) << "a title that looks like a separator is still a window";
    EXPECT_FALSE(b.records[3].title);
    DestroyPopup(b);
}

}  // namespace
}  // namespace brimlox::test

// The item list: adding (slot 0, appending, BeforeTag), deleting by tag and index, the cursor
// and its copy with the PropertyChanged names, emptiness judged by the list's size, the item
// limit, the shared look flags, and the property-bag round trip.
#include <gtest/gtest.h>

#include "menus/popup_item_list.h"
#include "menus_test.h"
#include "platform/host/host_error.h"
#include "platform/host/runtime.h"

namespace brimlox::test {
namespace {

using host::Variant;
using menus::AddMenuOptions;
using menus::PopupItemList;

std::vector<std::string> Captions(const PopupItemList& list) {
    std::vector<std::string> out;
    for (const auto& item : list.Items()) out.push_back(item.Caption);
    return out;
}

AddMenuOptions Before(const Variant& tag) {
    AddMenuOptions o;
    o.BeforeTag = tag;
    return o;
}

int ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const host::HostError& e) {
        return e.Number();
    }
    return 0;
}

TEST(MenuItemListTest, AddMenuFillsSlotZeroAppendsAndInsertsBeforeATag) {
    PopupItemList list;
    list.InitProperties();
    EXPECT_EQ(list.MenuItemCount(), 0);
    EXPECT_FALSE(list.IsPopupMenu());
    list.SetMenuWindowList(true);
    EXPECT_TRUE(list.IsPopupMenu()) << "a window list alone makes a popup";
    EXPECT_EQ(list.MenuItemCount(), 0);
    list.SetMenuWindowList(false);

    list.AddMenu("A", Variant("a"));
    EXPECT_EQ(list.Items().size(), 1u) << "the first item goes into the empty slot";
    list.AddMenu("B", Variant("b"));
    list.AddMenu("C", Variant(std::int32_t{3}));
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(list.MenuItemCount(), 3);

    // Before the item tagged "b": the new item takes index 1 and B moves to 2.
    list.AddMenu("X", Variant("x"), Before(Variant("b")));
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"A", "X", "B", "C"}));
    // Tags compare as the host compares values: the string "3" equals the number 3.
    list.AddMenu("Y", Variant("y"), Before(Variant("3")));
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"A", "X", "B", "Y", "C"}));
    // No item has the tag: the new item goes to the top.
    list.AddMenu("Z", Variant("z"), Before(Variant("none")));
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"Z", "A", "X", "B", "Y", "C"}));

    AddMenuOptions o;
    o.MenuEnabled = false;
    o.MenuChecked = true;
    o.MenuRadio = true;
    list.AddMenu("R", Variant(), o);
    const auto& r = list.Items().back();
    EXPECT_FALSE(r.Enabled);
    EXPECT_TRUE(r.Visible);
    EXPECT_EQ(r.Checked, -1) << "True widened to 32 bits";
    EXPECT_TRUE(r.Radio);
    EXPECT_EQ(list.MenuItem(), 0) << "adding leaves the cursor alone";
}

TEST(MenuItemListTest, DeleteMenuByTagOrIndexNeverFailsAndKeepsTheCursorInTheList) {
    PopupItemList list;
    std::vector<std::string> signals;
    list.SetChangeSink([&](const std::string& p) { signals.push_back(p); });
    for (const char* c : {"A", "B", "C", "D"}) list.AddMenu(c, Variant(c));
    list.Items()[1].Tag = Variant("dup");
    list.Items()[2].Tag = Variant("dup");

    std::int16_t index = 7;
    list.DeleteMenu(Variant("dup"), &index);
    EXPECT_EQ(index, 2) << "the higher index of two equal tags";
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"A", "B", "D"}));

    signals.clear();
    index = 5;
    list.DeleteMenu(Variant("missing"), &index);
    EXPECT_EQ(index, -1);
    std::int16_t minus = -1, beyond = 3;
    list.DeleteMenu(std::nullopt, &minus);
    list.DeleteMenu(std::nullopt, &beyond);
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"A", "B", "D"}));
    EXPECT_TRUE(signals.empty()) << "nothing deleted, nothing signalled";

    // The cursor on the last item: deleting before it moves it to the new last index and
    // signals the ten cursor names in order.
    list.SetMenuItem(2);
    signals.clear();
    list.DeleteMenu(std::nullopt, nullptr);  // an omitted index is 0
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"B", "D"}));
    EXPECT_EQ(list.MenuItem(), 1);
    EXPECT_EQ(list.MenuItemCaption(), "D");
    EXPECT_EQ(signals, (std::vector<std::string>{"MenuItem", "MenuItemCaption", "MenuItemChecked", "MenuItemAutoCheck",
                                                 "MenuItemRadio", "MenuItemEnabled", "MenuItemTag", "MenuItemVisible",
                                                 "MenuItemIcon", "MenuItemIconChk"}));

    index = 0;
    list.DeleteMenu(std::nullopt, &index);
    index = 0;
    list.DeleteMenu(std::nullopt, &index);
    EXPECT_EQ(list.MenuItemCount(), 0) << "deleting the only item leaves the empty slot";
    ASSERT_EQ(list.Items().size(), 1u);
    const auto& slot = list.Items()[0];
    EXPECT_TRUE(slot.Caption.empty());
    EXPECT_TRUE(slot.Tag.IsString());
    EXPECT_TRUE(slot.Enabled && slot.Visible);
    EXPECT_EQ(list.MenuItem(), 0);

    list.AddMenu("Q", Variant("q"));
    list.ClearMenu();
    EXPECT_EQ(list.MenuItemCount(), 0);
    EXPECT_FALSE(list.IsPopupMenu());
}

TEST(MenuItemListTest, CursorAppendsSelectsAndWritesThroughItsCopy) {
    PopupItemList list;
    list.InitProperties();
    std::vector<std::string> signals;
    list.SetChangeSink([&](const std::string& p) { signals.push_back(p); });
    list.AddMenu("A", Variant("a"));
    list.AddMenu("B", Variant(std::int16_t{12}));

    list.SetMenuItem(-3);
    EXPECT_TRUE(signals.empty()) << "a negative cursor is ignored";
    list.SetMenuItem(1);
    EXPECT_EQ(list.MenuItemTag(), "12") << "the copy holds the tag as text";
    list.SetMenuItem(list.MenuItemCount());
    EXPECT_EQ(list.MenuItemCount(), 3) << "one past the end appends an empty item";
    EXPECT_EQ(list.MenuItem(), 2);
    EXPECT_EQ(list.MenuItemCaption(), "");
    list.SetMenuItem(40);
    EXPECT_EQ(list.MenuItem(), 3) << "far beyond the end appends one item and selects it";

    list.SetMenuItem(2);
    signals.clear();
    list.SetMenuItemCaption("C");
    list.SetMenuItemRadio(5);
    list.SetMenuItemChecked(7);
    list.SetMenuItemTag("tag");
    list.SetMenuItemVisible(false);
    EXPECT_EQ(signals, (std::vector<std::string>{"MenuItemCaption", "MenuItemRadio", "MenuItemChecked", "MenuItemTag",
                                                 "MenuItemVisible"}));
    EXPECT_EQ(list.MenuItemRadio(), 5) << "the copy keeps the number";
    const auto& c = list.Items()[2];
    EXPECT_TRUE(c.Radio);
    EXPECT_EQ(c.Checked, 7);
    EXPECT_TRUE(c.Tag == Variant("tag"));
    EXPECT_FALSE(c.Visible);
    EXPECT_EQ(c.Caption, "C");

    list.SetMenuItemCaption("");
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"A", "B", ""})) << "an empty caption deletes the item";

    // MenuSelect moves without appending or signalling; an index past the end raises 9 and
    // leaves the cursor where it was, so writes through it still reach an item.
    signals.clear();
    list.MenuSelect(0);
    EXPECT_EQ(list.MenuItemCaption(), "A");
    EXPECT_EQ(ErrorOf([&] { list.MenuSelect(9); }), host::kErrSubscript);
    EXPECT_EQ(list.MenuItem(), 0);
    EXPECT_TRUE(signals.empty());

    // A cursor beyond the list (a form file can hold one) fails writes with 9 and changes
    // nothing; MenuSelect checks the index it is given and so brings the cursor back.
    host::PropertyBag bag;
    list.WriteProperties(bag);
    bag.WriteProperty("MenuItem", Variant(std::int16_t{9}));
    list.ReadProperties(bag);
    EXPECT_EQ(list.MenuItem(), 9);
    EXPECT_EQ(ErrorOf([&] { list.SetMenuItemEnabled(false); }), host::kErrSubscript);
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"A", "B", ""}));
    list.MenuSelect(1);
    EXPECT_EQ(list.MenuItem(), 1);
    EXPECT_EQ(list.MenuItemCaption(), "B");
}

// Emptiness is the list's size: element 0 with an empty caption in front of other items
// neither hides the menu nor loses them.
TEST(MenuItemListTest, AnEmptyFirstItemInFrontOfOthersIsNotTheEmptyList) {
    PopupItemList list;
    list.AddMenu("A", Variant("a"));
    list.AddMenu("", Variant("e"), Before(Variant("a")));
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"", "A"}));
    EXPECT_EQ(list.MenuItemCount(), 2);
    EXPECT_TRUE(list.IsPopupMenu());
    list.AddMenu("B", Variant("b"));
    EXPECT_EQ(Captions(list), (std::vector<std::string>{"", "A", "B"})) << "appended, not written into slot 0";

    PopupItemList other;
    other.AddMenu("X", Variant("x"));
    other.AddMenu("", Variant(""));
    other.AddMenu("Y", Variant("y"));
    std::int16_t zero = 0;
    other.DeleteMenu(std::nullopt, &zero);
    EXPECT_EQ(other.MenuItemCount(), 2);
    EXPECT_TRUE(other.IsPopupMenu());

    host::PropertyBag bag;
    other.WriteProperties(bag);
    EXPECT_FALSE(bag.Contains("MenuCaption0"));
    PopupItemList back;
    back.ReadProperties(bag);
    EXPECT_EQ(Captions(back), (std::vector<std::string>{"", "Y"}));
    EXPECT_TRUE(back.Items()[1].Tag == Variant("y"));
}

TEST(MenuItemListTest, ItemsPastTheSixteenBitCountAreRefusedWithAClearError) {
    PopupItemList list;
    for (std::size_t i = 0; i < PopupItemList::kMaxItems; ++i) list.AddMenu("item", Variant());
    EXPECT_EQ(list.MenuItemCount(), 32767);
    try {
        list.AddMenu("one too many", Variant());
        ADD_FAILURE() << "no error";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), host::kErrOverflow);
        EXPECT_NE(e.Description().find("32767"), std::string::npos) << e.Description();
    }
    EXPECT_EQ(ErrorOf([&] { list.SetMenuItem(32767); }), host::kErrOverflow);
    EXPECT_EQ(list.MenuItemCount(), 32767);

    host::PropertyBag bag;
    bag.WriteProperty("MenuItems", Variant(std::int16_t{32767}));
    bag.WriteProperty("MenuCaption0", Variant("x"));
    PopupItemList read;
    EXPECT_EQ(ErrorOf([&] { read.ReadProperties(bag); }), host::kErrOverflow);
}

TEST(MenuItemListTest, TheGradientFlagsAreSharedByEveryListAndSignalOnTheOneUsed) {
    PopupItemList a, b;
    std::vector<std::string> signals;
    a.SetChangeSink([&](const std::string& p) { signals.push_back(p); });
    a.SetMenuGradient(true);
    a.SetMenuGradient3D(true);
    EXPECT_TRUE(b.MenuGradient());
    EXPECT_TRUE(b.MenuGradient3D());
    EXPECT_EQ(signals, (std::vector<std::string>{"MenuGradient", "MenuGradient3D"}));
    b.SetMenuGradient(false);
    b.SetMenuGradient3D(false);
    EXPECT_FALSE(a.MenuGradient());
    EXPECT_FALSE(menus::MenuGradient3D());
}

class MenuBagTest : public GdiTest {
protected:
    void SetUp() override {
        host::StartHost();  // the picture codec of form files
        GdiTest::SetUp();
    }
};

TEST_F(MenuBagTest, RoundTripKeepsIndexesFlagsPicturesAndTheCopy) {
    auto icon = MakeIconPicture(RGB(0, 128, 0));
    PopupItemList list;
    list.InitProperties();
    AddMenuOptions o;
    o.MenuEnabled = false;
    o.MenuAutoCheck = true;
    o.MenuIcon = icon;
    list.AddMenu("Zero", Variant(std::int32_t{100}), o);
    list.AddMenu("One", Variant("one"));
    list.AddMenu("Two", Variant("two"));
    list.AddMenu("Three", Variant("three"));
    list.Items()[1].Checked = 5;
    list.Items()[3].Radio = true;
    list.Items()[3].Visible = false;
    list.SetMenuItem(1);
    list.SetMenuWindowList(true);
    list.Items()[2].Caption.clear();  // item 2 is not written

    host::PropertyBag bag;
    list.WriteProperties(bag);
    std::vector<std::string> keys;
    for (const auto& [k, v] : bag.Entries()) keys.push_back(k);
    EXPECT_EQ(keys, (std::vector<std::string>{"MenuItems", "MenuItem", "MenuTag0", "MenuCaption0", "MenuAutoCheck0",
                                              "MenuEnabled0", "MenuIcon0", "MenuTag1", "MenuCaption1", "MenuChecked1",
                                              "MenuTag3", "MenuCaption3", "MenuRadio3", "MenuVisible3", "MenuItemCaption",
                                              "MenuItemTag", "MenuItemChecked", "MenuWindowList"}));

    // Through a form file's JSON and back.
    host::PropertyBag reread = host::PropertyBag::FromJson(bag.ToJson());
    PopupItemList back;
    back.ReadProperties(reread);
    EXPECT_EQ(Captions(back), (std::vector<std::string>{"Zero", "One", "", "Three"}));
    const auto& items = back.Items();
    EXPECT_TRUE(items[0].Tag == Variant(std::int32_t{100}));
    EXPECT_FALSE(items[0].Enabled);
    EXPECT_TRUE(items[0].AutoCheck);
    ASSERT_TRUE(items[0].Icon);
    EXPECT_EQ(items[0].Icon->FileBytes(), icon->FileBytes());
    EXPECT_EQ(items[1].Checked, 5);
    EXPECT_TRUE(items[3].Radio);
    EXPECT_FALSE(items[3].Visible);
    // The unwritten item comes back with the read defaults.
    EXPECT_TRUE(items[2].Tag == Variant(""));
    EXPECT_TRUE(items[2].Enabled && items[2].Visible);
    EXPECT_EQ(items[2].Checked, 0);
    EXPECT_FALSE(items[2].Icon);
    EXPECT_EQ(back.MenuItem(), 1);
    EXPECT_EQ(back.MenuItemCaption(), "One");
    EXPECT_EQ(back.MenuItemTag(), "one");
    EXPECT_TRUE(back.MenuWindowList());

    // A list that was never filled reads back as the empty list.
    host::PropertyBag emptyBag;
    PopupItemList fresh;
    fresh.InitProperties();
    fresh.WriteProperties(emptyBag);
    EXPECT_EQ(emptyBag.Entries().size(), 0u) << "empty pictures are the default and are not stored";
    PopupItemList none;
    none.ReadProperties(emptyBag);
    EXPECT_EQ(none.MenuItemCount(), 0);
    ASSERT_TRUE(none.MenuItemIcon()) << "the copy holds an empty picture, as a new list's does";
    EXPECT_EQ(none.MenuItemIcon()->Type(), host::PictureType::None);
    ASSERT_TRUE(none.MenuItemIconChk());
}

}  // namespace
}  // namespace brimlox::test

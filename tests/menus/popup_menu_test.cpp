// ShowPopupMenu through a real TrackPopupMenu with scripted input: the chosen id, mnemonics,
// placement, hidden items, radio runs and AutoCheck, grayed titles, shortcut text, the MDI
// window list, a host destroyed while the menu is open, and the arrow keys that leave it.
#include "menus_test.h"
#include "platform/host/runtime.h"

namespace brimlox::test {
namespace {

using host::Variant;
using menus::Popup;
using menus::PopupItemList;
using menus::ShowPopupMenu;

PopupItemList ListOf(const std::vector<std::string>& captions) {
    PopupItemList list;
    list.InitProperties();
    for (std::size_t i = 0; i < captions.size(); ++i) list.AddMenu(captions[i], Variant("t" + std::to_string(i)));
    return list;
}

class PopupMenuTest : public MenusTest {
protected:
    void SetUp() override {
        MenusTest::SetUp();
        owner = MakeTopLevel("owner", {0, 0, 400, 400});
        SetActiveWindow(owner);
    }
    void TearDown() override {
        DestroyWindow(owner);
        MenusTest::TearDown();
    }
    // Shows the list at (100, 100) pixels of the owner with the given input.
    std::int32_t Show(PopupItemList& list, const std::string& script, HWND host = nullptr) {
        UseScriptFromNow(script);
        return ShowPopupMenu(owner, host ? host : owner, 1500, 1500, list, false);
    }
    HWND owner = nullptr;
};

TEST_F(PopupMenuTest, KeysAndMnemonicsChooseNestedItemsByIndexPlusOne) {
    PopupItemList list = ListOf({"File", ">New", ">Open", "Exit"});
    LONG proc = GetWindowLongA(owner, GWL_WNDPROC);
    EXPECT_EQ(Show(list, "key press VK_DOWN\nkey press VK_RIGHT\nkey press VK_DOWN\nkey press VK_RETURN\n"), 3);
    EXPECT_EQ(Popup().chosenId, 3);
    EXPECT_EQ(GetWindowLongA(owner, GWL_WNDPROC), proc) << "the owner's procedure is back";
    EXPECT_EQ(Show(list, "key press VK_UP\nkey press VK_RETURN\n"), 4);
    EXPECT_EQ(Show(list, "key press VK_DOWN\nkey press VK_ESCAPE\n"), 0);

    // "&" marks the letter; the position it answers counts the separator in front of it.
    PopupItemList marked = ListOf({"&File", ">&New", ">-", ">&Open", "E&xit"});
    EXPECT_EQ(Show(marked, "key press F\nkey press O\n"), 4);
    EXPECT_EQ(Show(marked, "key press X\n"), 5);
}

TEST_F(PopupMenuTest, ThePopupOpensAtTheGivenTwipsOrRightAlignedAtTheCursor) {
    PopupItemList list = ListOf({"One", "Two"});
    RECT first{};
    UseScriptFromNow("wait 100ms\nkey press VK_ESCAPE\n");
    AfterDelay look(50, [&] { first = OpenItemRect(0); });
    ShowPopupMenu(owner, owner, 1500, 750, list, false);
    EXPECT_TRUE(look.Ran());
    EXPECT_EQ(first.left, 103) << "100 pixels in and the menu's 3-pixel frame";
    EXPECT_EQ(first.top, 53);

    SetCursorPos(300, 200);
    UseScriptFromNow("wait 100ms\nkey press VK_ESCAPE\n");
    AfterDelay again(50, [&] { first = OpenItemRect(0); });
    host::ScreenInfo screen = host::Screen();
    ShowPopupMenu(owner, owner, static_cast<float>(screen.Width), static_cast<float>(screen.Height), list, false);
    EXPECT_EQ(first.right, 297) << "right-aligned at the cursor";
    EXPECT_EQ(first.top, 203);
}

TEST_F(PopupMenuTest, HiddenItemsKeepIdsAndChoicesApplyRadioRunsAndAutoCheck) {
    PopupItemList list = ListOf({"Auto", "Hidden", ">h1", ">h2", "R1", "R2", "R3"});
    auto& items = list.Items();
    items[0].AutoCheck = true;
    items[0].Checked = 5;
    items[1].Visible = false;
    for (std::size_t i = 4; i <= 6; ++i) items[i].Radio = true;

    EXPECT_EQ(Show(list, "key press VK_DOWN\nkey press VK_RETURN\n"), 1);
    EXPECT_EQ(items[0].Checked, 0) << "any check state counts as checked";
    Show(list, "key press VK_DOWN\nkey press VK_RETURN\n");
    EXPECT_EQ(items[0].Checked, 1);

    // Four items are shown: Auto, R1, R2, R3; the last keeps the id of index 6.
    EXPECT_EQ(Show(list, "key press VK_UP\nkey press VK_RETURN\n"), 7);
    EXPECT_EQ(items[4].Checked, 0);
    EXPECT_EQ(items[5].Checked, 0);
    EXPECT_EQ(items[6].Checked, 1);
    EXPECT_EQ(Show(list, "key press VK_UP\nkey press VK_UP\nkey press VK_RETURN\n"), 6);
    EXPECT_EQ(items[5].Checked, 1);
    EXPECT_EQ(items[6].Checked, 0);
    EXPECT_EQ(items[0].Checked, 1) << "an item outside the run keeps its state";
}

TEST_F(PopupMenuTest, TitlesAreGrayedAndCannotBeChosen) {
    PopupItemList list = ListOf({"[Title]", "-Part-", "Go"});
    EXPECT_EQ(Show(list, "key press VK_DOWN\nkey press VK_RETURN\nkey press VK_DOWN\nkey press VK_RETURN\n"
                         "key press VK_ESCAPE\n"),
              0);
    // A click on the title does nothing; one on Go chooses it.
    UseScriptFromNow("wait 1s\nkey press VK_ESCAPE\n");
    AfterDelay click(50, [&] {
        RECT title = OpenItemRect(0), go = OpenItemRect(2);
        auto at = [](const RECT& r) { return std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2); };
        UseScriptFromNow("move " + at(title) + "\nclick left\nwait 50ms\nmove " + at(go) + "\nwait 100ms\nclick left\n");
    });
    EXPECT_EQ(ShowPopupMenu(owner, owner, 1500, 1500, list, false), 3);
    EXPECT_TRUE(click.Ran());
}

// Scans one row of the screen for text pixels (anything that is neither the menu colour nor
// the highlight colour) and returns the leftmost and rightmost.
std::pair<int, int> TextExtent(const RECT& row) {
    HDC screen = GetDC(nullptr);
    int left = -1, right = -1;
    for (int y = row.top; y < row.bottom; ++y)
        for (int x = row.left; x < row.right; ++x) {
            COLORREF c = GetPixel(screen, x, y);
            if (c == GetSysColor(COLOR_MENU)) continue;
            if (left < 0 || x < left) left = x;
            right = std::max(right, x);
        }
    ReleaseDC(nullptr, screen);
    return {left, right};
}

TEST_F(PopupMenuTest, ShortcutTextEndsNineteenPixelsInsideTheItem) {
    PopupItemList list = ListOf({"Save\\tCtrl+S", "Quit"});
    RECT item{};
    std::pair<int, int> extent;
    UseScriptFromNow("wait 100ms\nkey press VK_ESCAPE\n");
    AfterDelay look(50, [&] {
        item = OpenItemRect(0);
        extent = TextExtent(item);
    });
    ShowPopupMenu(owner, owner, 1500, 1500, list, false);
    ASSERT_TRUE(look.Ran());
    int textRight = item.right - 19;
    EXPECT_LT(extent.second, textRight);
    EXPECT_GE(extent.second, textRight - 3) << "right-aligned against that edge";
    EXPECT_GE(extent.first, item.left + 16 + 6) << "the item text starts after the check column";
    EXPECT_LE(extent.first, item.left + 16 + 6 + 2);
}

TEST_F(PopupMenuTest, TheWindowListFocusesAChildWindowAndRaisesNoChoice) {
    HWND frame = MakeTopLevel("frame", {0, 0, 600, 500});
    HWND client = MakeChild(frame, "client", {0, 40, 600, 500});
    HWND bar = MakeChild(frame, "bar", {0, 0, 600, 40});
    std::vector<HWND> children;
    for (int i = 0; i < 10; ++i) {
        std::string title = i == 1 ? "  Beta  " : "Doc " + std::to_string(i);
        children.push_back(MakeChild(client, title.c_str(), {i * 10, i * 10, i * 10 + 200, i * 10 + 150}));
    }
    HWND untitled = MakeChild(client, "", {0, 0, 10, 10});
    HWND grandchild = MakeChild(children[0], "Inner", {0, 0, 10, 10});
    PopupItemList list = ListOf({"Item"});
    std::vector<std::string> captions;
    std::vector<std::int32_t> checks;
    UseScriptFromNow("wait 100ms\nkey press 2\n");
    AfterDelay look(50, [&] {
        for (const auto& it : list.Items()) {
            captions.push_back(it.Caption);
            checks.push_back(it.Checked);
        }
    });
    EXPECT_EQ(ShowPopupMenu(bar, bar, 0, 600, list, true), 0) << "a window choice is no item choice";
    EXPECT_EQ(Popup().chosenId, 0);
    EXPECT_EQ(GetFocus(), children[1]);
    EXPECT_EQ(list.Items().size(), 1u) << "the window items are gone again";
    ASSERT_EQ(captions.size(), 11u);
    EXPECT_EQ(captions[1], "&1 Doc 0");
    EXPECT_EQ(captions[2], "&2 Beta") << "blanks trimmed";
    EXPECT_EQ(captions[9], "&9 Doc 8");
    EXPECT_EQ(captions[10], "Doc 9") << "no number from the tenth on";
    EXPECT_EQ(checks[1], 1);
    EXPECT_EQ(checks[2], 0);
    DestroyWindow(grandchild);
    DestroyWindow(untitled);
    DestroyWindow(frame);
}

TEST_F(PopupMenuTest, AHostDestroyedWhileOpenCancelsTheChoiceAndAcceleratorsWorkOnceTheCallerClearsTheFlag) {
    HWND form = MakeTopLevel("form", {0, 0, 400, 300});
    HWND button = MakeChild(form, "button", {10, 10, 110, 40});
    HWND host = MakeChild(form, "host", {10, 50, 110, 80});
    SetActiveWindow(form);
    menus::RegisterAccelerator(form, button, 'K', false, false);
    PopupItemList list = ListOf({"Auto"});
    list.Items()[0].AutoCheck = true;

    Popup().menuShowing = true;  // as the calling control does
    UseScriptFromNow("wait 100ms\nkey press VK_DOWN\nkey press VK_RETURN\n");
    AfterDelay destroy(50, [&] { DestroyWindow(host); });
    EXPECT_EQ(ShowPopupMenu(button, host, 0, 600, list, false), 0);
    EXPECT_TRUE(Popup().hostDestroyed);
    EXPECT_EQ(list.Items()[0].Checked, 0) << "the list of a control whose window is gone is left alone";

    // While menuShowing stays set, the hook passes every accelerator on.
    MessageLog().clear();
    UseScriptFromNow("key down VK_MENU\nkey press K\nkey up VK_MENU\n");
    RunLoop();
    EXPECT_TRUE(Filtered(MessageLog(), {"WM_LBUTTONDOWN"}).empty());

    // The caller's part: a popup whose host died clears both flags and raises no MenuClick.
    Popup().hostDestroyed = false;
    Popup().menuShowing = false;
    MessageLog().clear();
    UseScriptFromNow("key down VK_MENU\nkey press K\nkey up VK_MENU\n");
    RunLoop();
    EXPECT_EQ(Filtered(MessageLog(), {"WM_LBUTTONDOWN", "WM_LBUTTONUP"}),
              (std::vector<std::string>{"button:WM_LBUTTONDOWN(0,0)", "button:WM_LBUTTONUP(0,0)"}));
    menus::RegisterAccelerator(form, button, 0, false, false);
    DestroyWindow(form);
}

TEST_F(PopupMenuTest, ArrowKeysThatNoSubmenuTakesCloseTheMenuForTheNeighbouringButton) {
    menus::RegisterAccelerator(owner, owner, 'Z', false, false);  // installs the hook
    PopupItemList list = ListOf({"Plain", "Sub", ">Inner"});
    Popup().menuShowing = true;
    EXPECT_EQ(Show(list, "key press VK_DOWN\nkey press VK_RIGHT\nwait 500ms\nkey press VK_ESCAPE\n"), 0);
    EXPECT_TRUE(Popup().arrowRight) << "the menu closed at once, before the Escape";
    EXPECT_FALSE(Popup().arrowLeft);

    // Right on an item with a submenu opens it: the arrow is used up, the menu stays open.
    Show(list, "key press VK_DOWN\nkey press VK_DOWN\nkey press VK_RIGHT\nwait 100ms\nkey press VK_RETURN\n");
    EXPECT_EQ(Popup().chosenId, 3);
    EXPECT_FALSE(Popup().arrowRight);
    Show(list, "key press VK_DOWN\nkey press VK_LEFT\nwait 500ms\nkey press VK_ESCAPE\n");
    EXPECT_TRUE(Popup().arrowLeft);
    Popup().menuShowing = false;
    menus::RegisterAccelerator(owner, owner, 0, false, false);
}

TEST_F(PopupMenuTest, EmptyListsAndASecondPopupShowNothing) {
    PopupItemList list;
    list.InitProperties();
    EXPECT_EQ(Show(list, "key press VK_RETURN\n"), 0);
    PopupItemList outer = ListOf({"A"});
    PopupItemList inner = ListOf({"B"});
    std::int32_t nested = -1;
    UseScriptFromNow("wait 100ms\nkey press VK_DOWN\nkey press VK_RETURN\n");
    AfterDelay during(50, [&] { nested = ShowPopupMenu(owner, owner, 0, 0, inner, false); });
    EXPECT_EQ(ShowPopupMenu(owner, owner, 1500, 1500, outer, false), 1);
    EXPECT_TRUE(during.Ran());
    EXPECT_EQ(nested, 0) << "one popup at a time";
}

}  // namespace
}  // namespace brimlox::test

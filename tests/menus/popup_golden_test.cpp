// Golden images of an open owner-drawn popup: a title bar, icons, a check mark, a radio run, a
// titled separator, a grayed item, shortcut text, a submenu item, and the gradient highlight
// bar flat and in 3D.
#include "menus_test.h"

namespace brimlox::test {
namespace {

using host::Variant;
using menus::PopupItemList;

PopupItemList SampleList() {
    PopupItemList list;
    list.InitProperties();
    auto add = [&](const std::string& caption) {
        list.AddMenu(caption, Variant(caption));
        return &list.Items().back();
    };
    add("[Brimlox]");
    add("&Open\\tCtrl+O")->Icon = MakeIconPicture(RGB(0, 160, 0));
    add("&Save\\tCtrl+S")->Checked = 1;
    auto* both = add("&Pinned");
    both->Icon = MakeIconPicture(RGB(200, 0, 0));
    both->IconCheck = MakeIconPicture(RGB(0, 0, 200));
    both->Checked = 1;
    add("-Options-");
    add("Radio &A")->Radio = true;
    add("Radio &B")->Radio = true;
    add("Grayed")->Enabled = false;
    add("-");
    add("&More");
    add(">Inside");
    return list;
}

void CaptureScreen(Canvas& canvas, int x, int y) {
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, 240, 280, screen, x, y, SRCCOPY);
    ReleaseDC(nullptr, screen);
}

using PopupGoldenTest = MenusTest;

TEST_F(PopupGoldenTest, OpenPopupWithIconsChecksTitlesAndGradientHighlight) {
    HWND owner = MakeTopLevel("owner", {0, 0, 400, 400});
    PopupItemList list = SampleList();
    Canvas flat(240, 280), raised(240, 280);
    menus::SetMenuGradient(true);
    {
        UseScriptFromNow("key press VK_DOWN\nkey press VK_DOWN\nwait 200ms\nkey press VK_ESCAPE\n");
        AfterDelay capture(100, [&] { CaptureScreen(flat, 90, 90); });
        menus::ShowPopupMenu(owner, owner, 1500, 1500, list, false);
        ASSERT_TRUE(capture.Ran());
    }
    menus::SetMenuGradient3D(true);
    {
        // Six presses land on the radio item after the titled separator.
        std::string keys;
        for (int i = 0; i < 6; ++i) keys += "key press VK_DOWN\n";
        UseScriptFromNow(keys + "wait 200ms\nkey press VK_ESCAPE\n");
        AfterDelay capture(100, [&] { CaptureScreen(raised, 90, 90); });
        menus::ShowPopupMenu(owner, owner, 1500, 1500, list, false);
        ASSERT_TRUE(capture.Ran());
    }
    EXPECT_TRUE(MatchesGolden(flat.surface(), "menus/popup_gradient_highlight"));
    EXPECT_TRUE(MatchesGolden(raised.surface(), "menus/popup_gradient_3d"));
    DestroyWindow(owner);
}

}  // namespace
}  // namespace brimlox::test

// The focus frame and the keyboard cues: DrawFocusRect against what Windows draws, the cue
// flags passed through a window tree, Alt revealing them, and the focus leaving windows that
// are hidden or destroyed.
#include <fstream>
#include <sstream>

#include "focus_rect_cases.h"
#include "platform/user/keyboard_cues.h"
#include "support/paths.h"
#include "user_test.h"

namespace brimlox::test {
namespace {

using FocusCuesTest = UserTest;
using namespace focus_rect_cases;

std::string DrawCase(const Case& c) {
    Canvas canvas(kWidth, kHeight);
    RECT r{c.left, c.top, c.right, c.bottom};
    EXPECT_TRUE(DrawFocusRect(canvas.dc(), &r));
    std::ostringstream out;
    out << "case " << c.left << ' ' << c.top << ' ' << c.right << ' ' << c.bottom << '\n';
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) out << (canvas.At(x, y) == RGB(0, 0, 0) ? '#' : '.');
        out << '\n';
    }
    return out.str();
}

WORD Cues(HWND hwnd) { return static_cast<WORD>(SendMessageA(hwnd, WM_QUERYUISTATE, 0, 0)); }

TEST_F(FocusCuesTest, DrawFocusRectInvertsTheDotsWindowsInverts) {
    std::ifstream file(SourceDir() + "/tests/golden/user/focus_rect_wine.txt");
    ASSERT_TRUE(file) << "tools/wine/run_focus_rect_probe.sh writes the reference";
    std::stringstream expected;
    expected << file.rdbuf();
    std::string actual;
    for (const Case& c : kCases) actual += DrawCase(c);
    EXPECT_EQ(actual, expected.str());

    // Inverting, not painting: any colour flips, and the same frame again restores it.
    Canvas canvas(20, 20, RGB(10, 200, 30));
    RECT r{2, 2, 18, 12};
    DrawFocusRect(canvas.dc(), &r);
    EXPECT_EQ(canvas.At(17, 2), RGB(245, 55, 225));
    EXPECT_EQ(canvas.At(16, 2), RGB(10, 200, 30));
    EXPECT_EQ(canvas.At(8, 8), RGB(10, 200, 30)) << "the inside stays";
    DrawFocusRect(canvas.dc(), &r);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(canvas.At(x, y), RGB(10, 200, 30)) << x << "," << y;
    EXPECT_FALSE(DrawFocusRect(canvas.dc(), nullptr));
    EXPECT_FALSE(DrawFocusRect(nullptr, &r));
}

TEST_F(FocusCuesTest, CuesStartHiddenAndAChangeAnywhereUpdatesTheWholeTree) {
    HWND top = MakeTopLevel("top", RECT{0, 0, 100, 100});
    HWND child = MakeChild(top, "child", RECT{0, 0, 50, 50});
    HWND grandchild = MakeChild(child, "grand", RECT{0, 0, 20, 20});
    constexpr WORD kHidden = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    EXPECT_EQ(Cues(top), kHidden);
    EXPECT_EQ(Cues(grandchild), kHidden);

    // A request from the innermost window goes up to the top and comes down to every window.
    MessageLog().clear();
    SendMessageA(grandchild, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    for (HWND h : {top, child, grandchild}) EXPECT_EQ(Cues(h), UISF_HIDEACCEL);
    const std::string update = "0x" + std::to_string(WM_UPDATEUISTATE);
    EXPECT_EQ(Filtered(MessageLog(), {update}).size(), 3u);
    // Asking for what is already so sends nothing down; a bad action changes nothing.
    MessageLog().clear();
    SendMessageA(grandchild, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SendMessageA(child, WM_CHANGEUISTATE, MAKEWPARAM(9, UISF_HIDEACCEL), 0);
    EXPECT_TRUE(Filtered(MessageLog(), {update}).empty());
    EXPECT_EQ(Cues(child), UISF_HIDEACCEL);
    // A window made now starts as its parent is.
    HWND late = MakeChild(child, "late", RECT{30, 30, 40, 40});
    EXPECT_EQ(Cues(late), UISF_HIDEACCEL);
    // Initialising from code (not from a key) hides the cues again.
    SendMessageA(child, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, kHidden), 0);
    EXPECT_EQ(Cues(late), kHidden);

    // Alt reveals both cues, wherever the focus is.
    SetFocus(late);
    UseScript("key press VK_MENU\n");
    RunLoop();
    for (HWND h : {top, child, grandchild, late}) EXPECT_EQ(Cues(h), 0) << h;
    DestroyWindow(top);
}

TEST_F(FocusCuesTest, TheFocusLeavesHiddenAndDestroyedWindowsForTheirParent) {
    HWND top = MakeTopLevel("top", RECT{0, 0, 100, 100});
    HWND a = MakeChild(top, "a", RECT{0, 0, 20, 20});
    HWND b = MakeChild(a, "b", RECT{0, 0, 10, 10});
    SetFocus(b);
    ShowWindow(a, SW_HIDE);
    EXPECT_EQ(GetFocus(), top) << "hiding a window with the focus inside";
    // A hidden window may still be given the focus by code; destroying it hands the focus on.
    SetFocus(b);
    ASSERT_EQ(GetFocus(), b);
    MessageLog().clear();
    DestroyWindow(a);
    EXPECT_EQ(GetFocus(), top);
    EXPECT_EQ(Filtered(MessageLog(), {"WM_KILLFOCUS"}), (std::vector<std::string>{"b:WM_KILLFOCUS"}));
    // The focus cannot go to a window that is gone; keys then reach the active window.
    EXPECT_EQ(SetFocus(b), nullptr);
    EXPECT_EQ(GetFocus(), top);
    MessageLog().clear();
    UseScript("key press Q\n");
    RunLoop();
    EXPECT_EQ(Filtered(MessageLog(), {"WM_KEYDOWN"}), (std::vector<std::string>{"top:WM_KEYDOWN(81)"}));
    DestroyWindow(top);
}

}  // namespace
}  // namespace brimlox::test

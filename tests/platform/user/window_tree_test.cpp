// The window tree: creation, z-order, parents and owners, geometry, text, window longs, and
// destruction order.
#include "user_test.h"

namespace brimlox::test {
namespace {

using WindowTreeTest = UserTest;

BOOL CALLBACK CollectText(HWND hwnd, LPARAM lParam) {
    char text[32];
    GetWindowTextA(hwnd, text, sizeof text);
    reinterpret_cast<std::vector<std::string>*>(lParam)->push_back(text);
    return TRUE;
}

// Checked against Windows: GW_CHILD names the first child created, a new top-level window is
// on top, GetParent names the owner of a popup only.
TEST_F(WindowTreeTest, ChildrenKeepCreationOrderAndTopLevelWindowsStackNewestFirst) {
    HWND a = MakeTopLevel("a", {10, 10, 200, 200});
    HWND b = MakeTopLevel("b", {50, 50, 300, 300});
    HWND c1 = MakeChild(a, "c1", {0, 0, 20, 20});
    HWND c2 = MakeChild(a, "c2", {30, 0, 50, 20});
    HWND g = MakeChild(c1, "g", {1, 1, 5, 5});
    EXPECT_EQ(GetTopWindow(nullptr), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
    EXPECT_EQ(GetWindow(a, GW_CHILD), c1);
    EXPECT_EQ(GetWindow(c1, GW_HWNDNEXT), c2);
    EXPECT_EQ(GetWindow(c2, GW_HWNDPREV), c1);
    EXPECT_EQ(GetWindow(c2, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetParent(g), c1);
    EXPECT_EQ(GetParent(a), nullptr);  // a popup without owner
    EXPECT_TRUE(IsChild(a, g));
    EXPECT_EQ(GetAncestor(g, GA_ROOT), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetParent(GetDesktopWindow()), nullptr);

    std::vector<std::string> names;
    EnumChildWindows(a, CollectText, reinterpret_cast<LPARAM>(&names));
    EXPECT_EQ(names, (std::vector<std::string>{"c1", "g", "c2"}));
    names.clear();
    EnumWindows(CollectText, reinterpret_cast<LPARAM>(&names));
    EXPECT_EQ(names, (std::vector<std::string>{"b", "a"}));

    // Bringing a to the front and re-parenting a child.
    BringWindowToTop(a);
    EXPECT_EQ(GetTopWindow(nullptr), a);
    EXPECT_EQ(SetParent(c2, b), a);
    EXPECT_EQ(GetParent(c2), b);
    EXPECT_EQ(GetWindow(b, GW_CHILD), c2);
    EXPECT_EQ(SetParent(a, g), nullptr) << "a window cannot move under its own descendant";
    DestroyWindow(a);
    DestroyWindow(b);
}

TEST_F(WindowTreeTest, GeometryFollowsParentsAndFrames) {
    HWND top = CreateWindowExA(0, RecorderClass(), "top", WS_POPUP | WS_BORDER | WS_VISIBLE, 100, 50, 202, 102,
                               nullptr, nullptr, nullptr, nullptr);
    HWND child = MakeChild(top, "child", {10, 20, 60, 50});
    RECT r;
    GetClientRect(top, &r);
    EXPECT_EQ(r, (RECT{0, 0, 200, 100}));
    GetWindowRect(top, &r);
    EXPECT_EQ(r, (RECT{100, 50, 302, 152}));
    GetWindowRect(child, &r);
    EXPECT_EQ(r, (RECT{111, 71, 161, 101}));
    POINT p{5, 6};
    ClientToScreen(child, &p);
    EXPECT_EQ(p, (POINT{116, 77}));
    ScreenToClient(child, &p);
    EXPECT_EQ(p, (POINT{5, 6}));
    POINT pts[1] = {{0, 0}};
    MapWindowPoints(child, top, pts, 1);
    EXPECT_EQ(pts[0], (POINT{10, 20}));

    MessageLog().clear();
    MoveWindow(child, 15, 25, 40, 30, TRUE);
    EXPECT_EQ(Filtered(MessageLog(), {"WM_MOVE", "WM_SIZE"}), (std::vector<std::string>{"child:WM_MOVE", "child:WM_SIZE"}));
    GetClientRect(child, &r);
    EXPECT_EQ(r, (RECT{0, 0, 40, 30}));

    EXPECT_EQ(WindowFromPoint(POINT{116, 77}), child);
    EXPECT_EQ(WindowFromPoint(POINT{105, 55}), top);
    EXPECT_EQ(WindowFromPoint(POINT{5, 5}), nullptr);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{16, 26}), child);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{1, 1}), top);
    // A disabled child is transparent to the hit test: the point belongs to its parent.
    // Checked against Windows: WindowFromPoint skips a disabled child, ChildWindowFromPoint not.
    EnableWindow(child, FALSE);
    EXPECT_EQ(WindowFromPoint(POINT{116, 77}), top);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT{16, 26}), child);
    ShowWindow(child, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(child));
    EXPECT_EQ(WindowFromPoint(POINT{116, 77}), top);
    DestroyWindow(top);
}

// Hit tests keep what they learnt about a parent's children until the tree changes; every
// kind of change must show in the next answer, also for a point asked about just before.
TEST_F(WindowTreeTest, HitTestsFollowEveryChangeOfTheChildren) {
    HWND top = MakeTopLevel("top", {0, 0, 300, 200});
    HWND a = MakeChild(top, "a", {10, 10, 110, 110});
    HWND b = MakeChild(top, "b", {60, 60, 160, 160});
    const POINT overlap{80, 80};
    auto hit = [](POINT p) {
        WindowFromPoint(POINT{1, 199});  // another answer in between, to move the last-hit memory
        return WindowFromPoint(p);
    };
    BringWindowToTop(a);
    EXPECT_EQ(hit(overlap), a);
    SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(hit(overlap), b);
    MoveWindow(b, 200, 10, 50, 50, FALSE);
    EXPECT_EQ(hit(overlap), a);
    EXPECT_EQ(hit(POINT{210, 20}), b);
    ShowWindow(a, SW_HIDE);
    EXPECT_EQ(hit(overlap), top);
    ShowWindow(a, SW_SHOW);
    EXPECT_EQ(hit(overlap), a);
    EnableWindow(a, FALSE);
    EXPECT_EQ(hit(overlap), top);
    EnableWindow(a, TRUE);
    DestroyWindow(a);
    EXPECT_EQ(hit(overlap), top);
    HWND c = MakeChild(top, "c", {70, 70, 90, 90});
    EXPECT_EQ(hit(overlap), c);
    HWND grandchild = MakeChild(b, "g", {5, 5, 20, 20});
    EXPECT_EQ(hit(POINT{210, 20}), grandchild);
    SetWindowPos(grandchild, nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(hit(POINT{210, 20}), b);
    EXPECT_EQ(hit(POINT{235, 45}), grandchild);
    DestroyWindow(top);
    EXPECT_EQ(hit(overlap), nullptr);
}

// The children of `parent` topmost first, with their rectangles in its client coordinates.
struct ChildAt {
    HWND hwnd;
    RECT rect;
    bool visible;
    bool enabled;
};
std::vector<ChildAt> ChildrenOf(HWND parent) {
    std::vector<ChildAt> out;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        out.push_back({c, r, IsWindowVisible(c) != FALSE, IsWindowEnabled(c) != FALSE});
    }
    return out;
}

// The window under a screen point found by walking every child of `parent` (the parent itself
// when no visible child holds the point, or when the one that does is disabled).
HWND HitByWalkingAllChildren(HWND parent, const std::vector<ChildAt>& children, POINT screen) {
    POINT client = screen;
    ScreenToClient(parent, &client);
    RECT area;
    GetClientRect(parent, &area);
    if (!PtInRect(&area, client)) return parent;
    for (const ChildAt& c : children)
        if (c.visible && PtInRect(&c.rect, client)) return c.enabled ? c.hwnd : parent;
    return parent;
}

// Thousands of children: the hit tests answer from a grid over the children, and must give
// what a walk over all of them gives, through overlaps, hidden, disabled, reordered, moved,
// grown and destroyed children, and children large enough that the grid is given up.
TEST_F(WindowTreeTest, HitTestsAmongManyChildrenMatchAWalkOverAllOfThem) {
    HWND top = MakeTopLevel("top", {0, 0, 900, 700});
    std::vector<HWND> kids;
    for (int i = 0; i < 1200; ++i) {
        const int x = (i * 37) % 860, y = (i * 53) % 660;
        const int w = 8 + (i * 7) % 40, h = 6 + (i * 11) % 30;
        kids.push_back(MakeChild(top, "k", {x, y, x + w, y + h}));
    }
    const auto compare = [&](const char* stage) {
        int mismatches = 0, onChildren = 0;
        const std::vector<ChildAt> children = ChildrenOf(top);
        for (int y = 1; y < 700; y += 7)
            for (int x = 2; x < 900; x += 5) {
                const HWND expected = HitByWalkingAllChildren(top, children, POINT{x, y});
                onChildren += expected != top;
                if (WindowFromPoint(POINT{x, y}) != expected) ++mismatches;
            }
        EXPECT_EQ(mismatches, 0) << stage;
        EXPECT_GT(onChildren, 1000) << stage;  // the points do land on children
    };
    compare("created");
    for (std::size_t i = 0; i < kids.size(); i += 5) ShowWindow(kids[i], SW_HIDE);
    for (std::size_t i = 1; i < kids.size(); i += 9) EnableWindow(kids[i], FALSE);
    compare("hidden and disabled");
    for (std::size_t i = 2; i < kids.size(); i += 4) BringWindowToTop(kids[i]);
    for (std::size_t i = 3; i < kids.size(); i += 6) MoveWindow(kids[i], 450 - static_cast<int>(i % 400), 20 + static_cast<int>(i % 600), 25, 25, FALSE);
    compare("reordered and moved");
    for (std::size_t i = 4; i < kids.size(); i += 8) {
        DestroyWindow(kids[i]);
        kids[i] = nullptr;
    }
    compare("destroyed");
    HWND cover = MakeChild(top, "cover", {100, 100, 400, 300});  // created last: at the bottom
    compare("a large child below");
    BringWindowToTop(cover);
    compare("a large child on top");
    for (int i = 0; i < 40; ++i) SetWindowPos(MakeChild(top, "pane", {0, 0, 900, 700}), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    compare("panes under everything");  // each pane spans the whole grid
    DestroyWindow(top);
}

TEST_F(WindowTreeTest, TextWordsAndLongs) {
    HWND w = MakeTopLevel("hello", {0, 0, 10, 10});
    char buf[4];
    EXPECT_EQ(GetWindowTextA(w, buf, sizeof buf), 3);
    EXPECT_STREQ(buf, "hel");
    EXPECT_EQ(GetWindowTextLengthA(w), 5);
    SetWindowTextA(w, "bye");
    char full[16];
    GetWindowTextA(w, full, sizeof full);
    EXPECT_STREQ(full, "bye");

    EXPECT_EQ(SetWindowWord(w, 2, 0xBEEF), 0);
    EXPECT_EQ(GetWindowWord(w, 2), 0xBEEF);
    EXPECT_EQ(SetWindowLongA(w, 4, 0x12345678), 0);
    EXPECT_EQ(GetWindowLongA(w, 4), 0x12345678);
    EXPECT_EQ(GetWindowLongA(w, 14), 0) << "past the 16 extra bytes";
    EXPECT_EQ(SetWindowLongA(w, GWL_USERDATA, 77), 0);
    EXPECT_EQ(GetWindowLongA(w, GWL_USERDATA), 77);
    EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE);
    SetWindowLongA(w, GWL_STYLE, static_cast<LONG>(WS_POPUP));
    EXPECT_FALSE(IsWindowVisible(w)) << "clearing WS_VISIBLE hides the window";
    DestroyWindow(w);
}

// Checked against Windows: WM_DESTROY goes parent first, WM_NCDESTROY children first.
TEST_F(WindowTreeTest, DestroySendsDestroyTopDownAndNcDestroyBottomUp) {
    HWND a = MakeTopLevel("a", {0, 0, 100, 100});
    HWND b = MakeChild(a, "b", {0, 0, 50, 50});
    MakeChild(b, "c", {0, 0, 10, 10});
    MakeChild(a, "d", {60, 0, 70, 10});
    MessageLog().clear();
    EXPECT_TRUE(DestroyWindow(a));
    EXPECT_EQ(Filtered(MessageLog(), {"WM_DESTROY", "WM_NCDESTROY"}),
              (std::vector<std::string>{"a:WM_DESTROY", "b:WM_DESTROY", "c:WM_DESTROY", "d:WM_DESTROY",
                                        "c:WM_NCDESTROY", "b:WM_NCDESTROY", "d:WM_NCDESTROY", "a:WM_NCDESTROY"}));
    EXPECT_FALSE(IsWindow(a));
    EXPECT_FALSE(IsWindow(b));
    EXPECT_FALSE(DestroyWindow(a)) << "a stale handle is refused";
    EXPECT_EQ(SendMessageA(a, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessageA(a, WM_USER, 0, 0));
    EXPECT_FALSE(SetWindowTextA(b, "x"));
}

TEST_F(WindowTreeTest, OwnedWindowsStayAboveAndDieWithTheirOwner) {
    HWND owner = MakeTopLevel("owner", {0, 0, 100, 100});
    HWND owned = CreateWindowExA(0, RecorderClass(), "owned", WS_POPUP | WS_VISIBLE, 10, 10, 20, 20, owner, nullptr,
                                 nullptr, nullptr);
    HWND other = MakeTopLevel("other", {0, 0, 50, 50});
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    EXPECT_EQ(GetParent(owned), owner) << "GetParent of a popup names its owner";
    BringWindowToTop(owner);
    EXPECT_EQ(GetTopWindow(nullptr), owned);
    EXPECT_EQ(GetWindow(owned, GW_HWNDNEXT), owner);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(owned));
    DestroyWindow(other);
}

TEST_F(WindowTreeTest, BadClassesAndParentsAreRefused) {
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateWindowExA(0, RecorderClass(), "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    HWND bogus = HandleFromValue<HWND>(0x21010005);
    EXPECT_EQ(CreateWindowExA(0, RecorderClass(), "", WS_CHILD, 0, 0, 1, 1, bogus, nullptr, nullptr, nullptr), nullptr);
    WNDCLASSA wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "recorder";  // class names compare without case
    EXPECT_EQ(RegisterClassA(&wc), 0);
    // A hook handle is not a window.
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, [](int c, WPARAM w, LPARAM l) { return CallNextHookEx(nullptr, c, w, l); },
                                   nullptr, GetCurrentThreadId());
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(hook)));
    EXPECT_FALSE(DestroyWindow(reinterpret_cast<HWND>(hook)));
    UnhookWindowsHookEx(hook);
}

}  // namespace
}  // namespace brimlox::test

namespace brimlox::test {
namespace {

class WindowTreeCaptureTest : public UserTest {};

// A window dragged from one parent to another (a tool bar dropped into a panel) keeps the
// mouse capture it holds, and hears of no capture change; other windows' captures are theirs.
TEST_F(WindowTreeCaptureTest, SetParentKeepsTheCaptureOfTheWindowItMoves) {
    HWND top = MakeTopLevel("top", {0, 0, 300, 200});
    HWND panel = MakeChild(top, "panel", {100, 20, 280, 180});
    HWND bar = MakeChild(top, "bar", {10, 10, 90, 40});
    HWND button = MakeChild(bar, "button", {2, 2, 20, 20});
    SetCapture(button);
    MessageLog().clear();
    EXPECT_EQ(SetParent(bar, panel), top);
    EXPECT_EQ(GetCapture(), button) << "a window inside the moved one keeps its capture";
    EXPECT_EQ(SetParent(bar, top), panel);
    EXPECT_EQ(GetCapture(), button);
    EXPECT_TRUE(Filtered(MessageLog(), {"WM_CAPTURECHANGED"}).empty());
    // Moving some other window leaves the capture where it is, too.
    HWND other = MakeChild(top, "other", {0, 100, 50, 150});
    EXPECT_EQ(SetParent(other, panel), top);
    EXPECT_EQ(GetCapture(), button);
    // Hiding the capturing window still ends the capture.
    ShowWindow(bar, SW_HIDE);
    EXPECT_EQ(GetCapture(), nullptr);
    DestroyWindow(top);
}

}  // namespace
}  // namespace brimlox::test

// Painting and the screen: WM_PAINT synthesis and order, erasing with the class brush,
// clipping by parents, composition in z-order, and XOR drawing on the screen DC.
#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "user_test.h"

namespace brimlox::test {
namespace {

using PaintTest = UserTest;

COLORREF ScreenAt(int x, int y) {
    return gdi::ToColorRef(desktop::Desktop::Instance().Screen().Get(x, y));
}

const char* BrushClass(const char* name, HBRUSH brush) {
    WNDCLASSA wc;
    if (!GetClassInfoA(nullptr, name, &wc)) {
        wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            char text[16] = {};
            DefWindowProcA(h, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
            if (m == WM_PAINT || m == WM_ERASEBKGND || m == WM_USER) MessageLog().push_back(std::string(text) + ":" + Describe(m, w, l));
            return DefWindowProcA(h, m, w, l);
        };
        wc.hbrBackground = brush;
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
    return name;
}

// A child that moves or hides inside a framed parent leaves the parent's background where it
// was: the area its parent repaints is the child's old rectangle in the parent's client area,
// not shifted by the parent's border and caption.
TEST_F(PaintTest, AChildMovedOrHiddenInAFramedParentUncoversItsWholeOldPlace) {
    const char* white = BrushClass("WhiteFramed", static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const char* face = BrushClass("FaceMoved", HandleFromValue<HBRUSH>(COLOR_BTNFACE + 1));
    HWND top = CreateWindowExA(0, white, "framed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150, nullptr, nullptr,
                               nullptr, nullptr);
    HWND kid = MakeChild(top, "kid", {20, 20, 60, 60}, face);
    RunLoop();
    POINT origin{0, 0};
    ClientToScreen(top, &origin);
    ASSERT_GT(origin.y, 20) << "a caption above the client area";
    auto oldPlace = [&] {
        int covered = 0;
        for (int y = 20; y < 60; ++y)
            for (int x = 20; x < 60; ++x) covered += ScreenAt(origin.x + x, origin.y + y) != RGB(255, 255, 255);
        return covered;
    };
    EXPECT_EQ(oldPlace(), 40 * 40);
    SetWindowPos(kid, nullptr, 100, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RunLoop();
    EXPECT_EQ(oldPlace(), 0) << "moved away";
    EXPECT_EQ(ScreenAt(origin.x + 110, origin.y + 30), GetSysColor(COLOR_BTNFACE));
    SetWindowPos(kid, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RunLoop();
    ShowWindow(kid, SW_HIDE);
    RunLoop();
    EXPECT_EQ(oldPlace(), 0) << "hidden";
    DestroyWindow(top);
}

TEST_F(PaintTest, PaintsComeWhenTheQueueIsEmptyParentsFirstAndEraseWithTheClassBrush) {
    // A class brush may also be a system colour index plus one.
    const char* white = BrushClass("WhitePaint", static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const char* face = BrushClass("FacePaint", HandleFromValue<HBRUSH>(COLOR_BTNFACE + 1));
    HWND top = MakeTopLevel("top", {10, 10, 110, 110}, white);
    HWND kid = MakeChild(top, "kid", {20, 20, 60, 60}, face);
    PostMessageA(top, WM_USER, 0, 0);
    RunLoop();
    EXPECT_EQ(Filtered(MessageLog(), {"WM_USER", "WM_PAINT", "WM_ERASEBKGND"}),
              (std::vector<std::string>{"top:WM_USER", "top:WM_PAINT", "top:WM_ERASEBKGND", "kid:WM_PAINT",
                                        "kid:WM_ERASEBKGND"}));
    EXPECT_EQ(ScreenAt(15, 15), RGB(255, 255, 255));
    EXPECT_EQ(ScreenAt(35, 35), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ScreenAt(5, 5), GetSysColor(COLOR_BACKGROUND)) << "the desktop shows around windows";

    // Without erase there is no WM_ERASEBKGND; UpdateWindow paints at once.
    MessageLog().clear();
    RECT part{0, 0, 5, 5};
    InvalidateRect(kid, &part, FALSE);
    RECT u;
    EXPECT_TRUE(GetUpdateRect(kid, &u, FALSE));
    EXPECT_EQ(u, part);
    UpdateWindow(kid);
    EXPECT_EQ(MessageLog(), (std::vector<std::string>{"kid:WM_PAINT"}));
    EXPECT_FALSE(GetUpdateRect(kid, &u, FALSE));
    // Validated areas are not painted.
    InvalidateRect(top, nullptr, TRUE);
    ValidateRect(top, nullptr);
    ValidateRect(kid, nullptr);
    MessageLog().clear();
    RunLoop();
    EXPECT_TRUE(MessageLog().empty());
    DestroyWindow(top);
}

TEST_F(PaintTest, ChildDrawingIsClippedByItsParentAndTheScreenComposesInZOrder) {
    HWND back = MakeTopLevel("back", {0, 0, 100, 100});
    HWND front = MakeTopLevel("front", {50, 50, 150, 150});
    HWND kid = MakeChild(back, "kid", {80, 20, 140, 60});  // sticks out of its parent
    RunLoop();
    HDC dc = GetDC(kid);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all{0, 0, 60, 60};
    FillRect(dc, &all, red);
    ReleaseDC(kid, dc);
    DeleteObject(red);
    HDC fdc = GetDC(front);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT fr{0, 0, 100, 100};
    FillRect(fdc, &fr, blue);
    ReleaseDC(front, fdc);
    DeleteObject(blue);
    EXPECT_EQ(ScreenAt(85, 45), RGB(255, 0, 0)) << "the child inside its parent";
    EXPECT_EQ(ScreenAt(99, 45), RGB(255, 0, 0));
    EXPECT_EQ(ScreenAt(101, 45), GetSysColor(COLOR_BACKGROUND)) << "clipped at the parent's edge";
    EXPECT_EQ(ScreenAt(85, 85), RGB(0, 0, 255)) << "the front window covers the back one";
    // Raising the back window changes the overlap without any repaint.
    MessageLog().clear();
    BringWindowToTop(back);
    EXPECT_EQ(ScreenAt(85, 85), RGB(255, 255, 255));
    EXPECT_EQ(ScreenAt(120, 120), RGB(0, 0, 255));
    EXPECT_TRUE(Filtered(MessageLog(), {"WM_PAINT"}).empty());
    // Moving a top-level window moves its pixels; hiding shows what lies below.
    SetWindowPos(back, nullptr, 200, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(ScreenAt(285, 45), RGB(255, 0, 0));
    EXPECT_EQ(ScreenAt(85, 85), RGB(0, 0, 255));
    ShowWindow(front, SW_HIDE);
    EXPECT_EQ(ScreenAt(85, 85), GetSysColor(COLOR_BACKGROUND));
    RunLoop();
    DestroyWindow(back);
    DestroyWindow(front);
    EXPECT_EQ(ScreenAt(285, 45), GetSysColor(COLOR_BACKGROUND));
}

// The screen is composed again only where something may have changed: a DC taken and given
// back without drawing composes nothing (an own DC neither, once it has drawn before), showing
// a framed window composes its area with the frame, and destroying a visible window composes
// what was under it once.
TEST_F(PaintTest, TheScreenIsComposedOnlyWhenSomethingMayHaveChanged) {
    auto& desktop = desktop::Desktop::Instance();
    HWND plain = MakeTopLevel("plain", {0, 0, 100, 100});
    HWND own = CreateWindowExA(0, user::EnsureWindowClass("OwnDcWindow", DefWindowProcA, CS_OWNDC), "", WS_POPUP | WS_VISIBLE,
                               120, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    RunLoop();
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT all{0, 0, 100, 100};
    for (HWND w : {plain, own}) {
        const std::uint64_t start = desktop.FrameSerial();
        HDC dc = GetDC(w);
        ReleaseDC(w, dc);
        EXPECT_EQ(desktop.FrameSerial(), start) << "nothing drawn";
        dc = GetDC(w);
        FillRect(dc, &all, red);
        ReleaseDC(w, dc);
        EXPECT_EQ(desktop.FrameSerial(), start + 1) << "drawn";
        dc = GetDC(w);
        ReleaseDC(w, dc);
        EXPECT_EQ(desktop.FrameSerial(), start + 1) << "nothing drawn since the last release";
    }
    EXPECT_EQ(ScreenAt(50, 50), RGB(255, 0, 0));
    EXPECT_EQ(ScreenAt(170, 50), RGB(255, 0, 0));
    DeleteObject(red);

    HWND framed = CreateWindowExA(0, RecorderClass(), "framed", WS_OVERLAPPEDWINDOW, 300, 0, 200, 150, nullptr, nullptr,
                                  nullptr, nullptr);
    std::uint64_t start = desktop.FrameSerial();
    ShowWindow(framed, SW_SHOWNA);
    EXPECT_EQ(desktop.FrameSerial(), start + 2) << "the frame and the window's area";
    EXPECT_NE(ScreenAt(400, 10), GetSysColor(COLOR_BACKGROUND)) << "the caption shows before any paint";
    RunLoop();

    // A window without a frame has nothing to show before its first paint, which brings it to
    // the screen once.
    HWND popup = CreateWindowExA(0, RecorderClass(), "popup", WS_POPUP, 300, 200, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    start = desktop.FrameSerial();
    ShowWindow(popup, SW_SHOWNA);
    EXPECT_EQ(desktop.FrameSerial(), start) << "nothing drawn yet";
    EXPECT_EQ(ScreenAt(350, 250), GetSysColor(COLOR_BACKGROUND));
    UpdateWindow(popup);
    EXPECT_EQ(desktop.FrameSerial(), start + 1) << "its first paint";
    EXPECT_EQ(ScreenAt(350, 250), RGB(255, 255, 255));
    DestroyWindow(popup);

    start = desktop.FrameSerial();
    ASSERT_NE(GetActiveWindow(), plain);  // no other window takes the activation from it
    DestroyWindow(plain);
    EXPECT_EQ(desktop.FrameSerial(), start + 1);
    EXPECT_EQ(ScreenAt(50, 50), GetSysColor(COLOR_BACKGROUND)) << "what was under the destroyed window";
    DestroyWindow(framed);
    DestroyWindow(own);
}

// Siblings share their parent's surface. A child with WS_CLIPSIBLINGS never ends up over the
// siblings above it, however its paints come; one without may draw over them, as on Windows.
TEST_F(PaintTest, AChildWithClipSiblingsStaysUnderTheSiblingsAboveIt) {
    const char* lowerClass = BrushClass("LowerPaint", HandleFromValue<HBRUSH>(COLOR_HIGHLIGHT + 1));
    const char* upperClass = BrushClass("UpperPaint", HandleFromValue<HBRUSH>(COLOR_INFOBK + 1));
    const COLORREF lowerColour = GetSysColor(COLOR_HIGHLIGHT), upperColour = GetSysColor(COLOR_INFOBK);
    HWND top = MakeTopLevel("top", {0, 0, 300, 200});
    auto child = [&](const char* cls, const char* name, int x, int y, DWORD extra) {
        return CreateWindowExA(0, cls, name, WS_CHILD | WS_VISIBLE | extra, x, y, 100, 100, top, nullptr, nullptr,
                               nullptr);
    };
    HWND lower = child(lowerClass, "lower", 10, 10, WS_CLIPSIBLINGS);
    HWND upper = child(upperClass, "upper", 60, 60, WS_CLIPSIBLINGS);
    HWND plainLower = child(lowerClass, "plainLower", 160, 10, 0);
    HWND plainUpper = child(upperClass, "plainUpper", 180, 60, 0);
    for (HWND h : {plainUpper, upper}) SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RunLoop();
    EXPECT_EQ(ScreenAt(80, 80), upperColour);
    EXPECT_EQ(ScreenAt(30, 30), lowerColour);

    // The lower window paints again, alone and with its whole area invalid.
    MessageLog().clear();
    InvalidateRect(lower, nullptr, TRUE);
    InvalidateRect(plainLower, nullptr, TRUE);
    RunLoop();
    EXPECT_EQ(ScreenAt(80, 80), upperColour) << "the sibling above was painted over";
    EXPECT_EQ(ScreenAt(30, 30), lowerColour);
    EXPECT_EQ(ScreenAt(200, 80), lowerColour) << "without WS_CLIPSIBLINGS the lower window draws over";
    const auto paints = Filtered(MessageLog(), {"WM_PAINT"});
    EXPECT_EQ(std::count(paints.begin(), paints.end(), "upper:WM_PAINT"), 1) << "the covered sibling painted once";
    DestroyWindow(top);
}

// A window floating over a panel stays over the panel's own children too: a child of the
// lower panel that paints covers the floating window on the shared surface, so the floating
// window (whose sibling, the panel, clips siblings) paints again on top.
TEST_F(PaintTest, AWindowAboveAPanelStaysAboveThePanelsChildren) {
    const char* panelClass = BrushClass("PanelPaint", HandleFromValue<HBRUSH>(COLOR_HIGHLIGHT + 1));
    const char* floatClass = BrushClass("FloatPaint", HandleFromValue<HBRUSH>(COLOR_INFOBK + 1));
    const COLORREF panelColour = GetSysColor(COLOR_HIGHLIGHT), floatColour = GetSysColor(COLOR_INFOBK);
    HWND top = MakeTopLevel("top", {0, 0, 300, 200});
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    HWND floating = CreateWindowExA(0, floatClass, "floating", style, 50, 50, 100, 40, top, nullptr, nullptr, nullptr);
    HWND panel = CreateWindowExA(0, panelClass, "panel", style, 10, 10, 250, 150, top, nullptr, nullptr, nullptr);
    HWND inner = CreateWindowExA(0, panelClass, "inner", style, 20, 20, 150, 100, panel, nullptr, nullptr, nullptr);
    ASSERT_EQ(GetWindow(top, GW_CHILD), floating) << "the floating window is topmost";
    RunLoop();
    EXPECT_EQ(ScreenAt(60, 60), floatColour);
    MessageLog().clear();
    InvalidateRect(inner, nullptr, TRUE);
    RunLoop();
    EXPECT_EQ(ScreenAt(60, 60), floatColour) << "the panel's child painted over the floating window";
    EXPECT_EQ(ScreenAt(40, 40), panelColour);
    const auto paints = Filtered(MessageLog(), {"WM_PAINT"});
    EXPECT_EQ(std::count(paints.begin(), paints.end(), "floating:WM_PAINT"), 1);
    DestroyWindow(top);
}

// Overlapping windows, some hanging off the screen, each filled with its own colour: every
// screen pixel, after a full and after a partial composition, shows the topmost window over it.
TEST_F(PaintTest, EveryScreenPixelShowsTheTopmostWindowOverIt) {
    const RECT places[] = {{-30, -20, 90, 70},  {40, 10, 200, 60},   {60, 30, 75, 250},
                           {150, -5, 700, 40},  {5, 100, 40, 101},   {20, 20, 120, 120},
                           {300, 200, 900, 900}, {100, 55, 101, 300}};
    std::vector<HWND> windows;
    for (const RECT& r : places) windows.push_back(MakeTopLevel("w", r));
    RunLoop();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        HDC dc = GetDC(windows[i]);
        HBRUSH brush = CreateSolidBrush(RGB(20 * i + 10, 255 - 30 * i, 7 * i));
        RECT all{0, 0, 2000, 2000};
        FillRect(dc, &all, brush);
        ReleaseDC(windows[i], dc);
        DeleteObject(brush);
    }
    BringWindowToTop(windows[2]);
    auto expected = [&](int x, int y) {
        for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
            RECT r;
            GetWindowRect(h, &r);
            POINT p{x, y};
            if (!IsWindowVisible(h) || !PtInRect(&r, p)) continue;
            for (std::size_t i = 0; i < windows.size(); ++i)
                if (windows[i] == h) return RGB(20 * i + 10, 255 - 30 * i, 7 * i);
        }
        return GetSysColor(COLOR_BACKGROUND);
    };
    auto& desktop = desktop::Desktop::Instance();
    gdi::Surface& screen = desktop.Screen();
    auto checkScreen = [&](const char* when) {
        int wrong = 0;
        for (int y = 0; y < screen.Height(); ++y)
            for (int x = 0; x < screen.Width(); ++x)
                if (ScreenAt(x, y) != expected(x, y) && ++wrong <= 3)
                    ADD_FAILURE() << when << ": pixel " << x << "," << y;
        EXPECT_EQ(wrong, 0) << when;
    };
    desktop.ComposeAll();
    checkScreen("full composition");
    // Damage a rectangle of the screen and compose only it back.
    for (int y = 50; y < 130; ++y)
        for (int x = 30; x < 160; ++x) screen.Put(x, y, 0x123456);
    desktop.Compose(RECT{30, 50, 160, 130});
    checkScreen("partial composition");
    for (HWND h : windows) DestroyWindow(h);
}

// An idle loop that found nothing to paint still notices the next invalidation, also one
// made while the window was hidden and due when it is shown.
TEST_F(PaintTest, APaintAfterAnIdleLookIsNotMissed) {
    HWND top = MakeTopLevel("top", {0, 0, 100, 100});
    HWND kid = MakeChild(top, "kid", {10, 10, 50, 50});
    RunLoop();
    MSG m;
    auto nextPaint = [&]() -> HWND {
        if (!PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) return nullptr;
        return m.hwnd;
    };
    EXPECT_EQ(nextPaint(), nullptr);
    InvalidateRect(kid, nullptr, FALSE);
    EXPECT_EQ(nextPaint(), kid);
    ValidateRect(kid, nullptr);
    EXPECT_EQ(nextPaint(), nullptr);
    ShowWindow(kid, SW_HIDE);
    RunLoop();
    InvalidateRect(kid, nullptr, FALSE);
    EXPECT_EQ(nextPaint(), nullptr) << "hidden windows are not painted";
    ShowWindow(kid, SW_SHOWNA);
    EXPECT_NE(nextPaint(), nullptr);
    RunLoop();
    EXPECT_EQ(nextPaint(), nullptr);
    DestroyWindow(top);
}

// A DC kept across moves draws where its window is now: moving, resizing or reparenting an
// ancestor moves the DCs of every window below it; destroying a sibling moves none.
TEST_F(PaintTest, HeldDcsFollowTheirWindowWhenAnAncestorMoves) {
    HWND top = MakeTopLevel("top", {0, 0, 300, 300});
    HWND middle = MakeChild(top, "middle", {10, 10, 110, 110});
    HWND inner = MakeChild(middle, "inner", {5, 5, 45, 45});
    HWND sibling = MakeChild(top, "sibling", {200, 200, 250, 250});
    RunLoop();
    HDC dc = GetDC(inner);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT dot{0, 0, 4, 4};
    auto paintDot = [&] {
        FillRect(dc, &dot, red);
        ReleaseDC(inner, dc);  // composes the dot and frees the DC
        dc = GetDC(inner);     // the DC the rest of the test holds
    };
    paintDot();
    EXPECT_EQ(ScreenAt(16, 16), RGB(255, 0, 0));
    HDC kept = dc;
    MoveWindow(middle, 100, 120, 100, 100, FALSE);
    FillRect(kept, &dot, red);
    ReleaseDC(inner, kept);
    EXPECT_EQ(ScreenAt(106, 126), RGB(255, 0, 0)) << "the held DC moved with the middle window";
    dc = GetDC(inner);
    DestroyWindow(sibling);
    FillRect(dc, &dot, red);
    EXPECT_EQ(ScreenAt(107, 127), RGB(255, 0, 0));
    HWND other = MakeTopLevel("other", {400, 300, 500, 400});
    SetParent(middle, other);
    SetWindowPos(middle, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &dot, blue);
    ReleaseDC(inner, dc);
    EXPECT_EQ(ScreenAt(426, 336), RGB(0, 0, 255)) << "reparented into another top-level window";
    DeleteObject(red);
    DeleteObject(blue);
    DestroyWindow(other);
    DestroyWindow(top);
}

TEST_F(PaintTest, XorDrawingOnTheScreenDcShowsOverWindowsAndUndoesItself) {
    HWND a = MakeTopLevel("a", {0, 0, 200, 200});
    RunLoop();
    const gdi::Surface& screen = desktop::Desktop::Instance().Screen();
    std::vector<std::uint8_t> before(screen.Bits(), screen.Bits() + screen.ByteSize());
    HDC sdc = GetDC(nullptr);
    // A 4-pixel black pen under R2_NOTXORPEN, as a splitter draws its track line.
    HPEN pen = CreatePen(PS_SOLID, 4, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(sdc, pen);
    SetROP2(sdc, R2_NOTXORPEN);
    MoveToEx(sdc, 100, 10, nullptr);
    LineTo(sdc, 100, 300);
    EXPECT_EQ(ScreenAt(100, 50), RGB(0, 0, 0)) << "white window pixels turn black";
    EXPECT_NE(ScreenAt(100, 250), GetSysColor(COLOR_BACKGROUND)) << "and the desktop shows the line too";
    MoveToEx(sdc, 100, 10, nullptr);
    LineTo(sdc, 100, 300);
    SelectObject(sdc, old);
    DeleteObject(pen);
    ReleaseDC(nullptr, sdc);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), screen.Bits())) << "drawing the line twice restores the screen";
    DestroyWindow(a);
}

// Marks screen pixel (5, 5) red through the screen DC after each of its paints.
LRESULT CALLBACK ScreenMarkerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m != WM_PAINT) return DefWindowProcA(h, m, w, l);
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    EndPaint(h, &ps);
    HDC screen = GetDC(nullptr);
    SetPixel(screen, 5, 5, RGB(255, 0, 0));
    ReleaseDC(nullptr, screen);
    return 0;
}

// A window repainted with its children at once reaches the screen once, after the last child
// has painted; drawing on the screen during those paints still lands over what was painted
// before it.
TEST_F(PaintTest, AWindowRepaintedWithItsChildrenReachesTheScreenOnce) {
    auto& desktop = desktop::Desktop::Instance();
    const char* face = BrushClass("FaceBatched", HandleFromValue<HBRUSH>(COLOR_BTNFACE + 1));
    HWND top = MakeTopLevel("top", {0, 0, 300, 200});
    for (int i = 0; i < 10; ++i) MakeChild(top, "kid", {20 + 25 * i, 20, 40 + 25 * i, 60}, face);
    RunLoop();
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HDC dc = GetDC(top);
    const RECT all{0, 0, 300, 200};
    FillRect(dc, &all, red);
    ReleaseDC(top, dc);
    ASSERT_EQ(ScreenAt(30, 30), RGB(255, 0, 0));

    std::uint64_t start = desktop.FrameSerial();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(desktop.FrameSerial(), start + 1) << "eleven paints, one composition";
    EXPECT_EQ(ScreenAt(30, 30), GetSysColor(COLOR_BTNFACE)) << "a child";
    EXPECT_EQ(ScreenAt(5, 100), RGB(255, 255, 255)) << "the parent";
    start = desktop.FrameSerial();
    UpdateWindow(top);
    EXPECT_EQ(desktop.FrameSerial(), start) << "nothing to paint, nothing composed";

    HWND marker = CreateWindowExA(0, user::EnsureWindowClass("ScreenMarker", ScreenMarkerProc, 0), "", WS_CHILD | WS_VISIBLE,
                                  200, 100, 30, 30, top, nullptr, nullptr, nullptr);
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(ScreenAt(5, 5), RGB(255, 0, 0)) << "the mark made after the parent painted stays over it";
    EXPECT_EQ(ScreenAt(5, 6), RGB(255, 255, 255));
    DestroyWindow(marker);
    DeleteObject(red);
    DestroyWindow(top);
}

}  // namespace
}  // namespace brimlox::test

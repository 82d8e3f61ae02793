// The background erase of host windows: it fills around visible child windows and leaves the
// pixels under them alone.
#include "platform/host/erase.h"

#include "host_test.h"

namespace brimlox::test {
namespace {

using EraseTest = HostTest;

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// Overlapping children, one reaching out of the erased area, a hidden one, one that shows its
// parent through, and a grandchild: every pixel of the window is checked against what the
// erase may touch.
TEST_F(EraseTest, FillsAroundVisibleChildWindowsOnly) {
    HWND top = CreateWindowExA(0, RecorderClass(), "top", WS_POPUP | WS_VISIBLE, 0, 0, 130, 110, nullptr, nullptr,
                               nullptr, nullptr);
    const RECT a{10, 10, 40, 40}, b{30, 20, 70, 50}, c{90, -5, 120, 30}, hidden{50, 60, 80, 90}, clear{5, 70, 25, 95};
    HWND childA = MakeChild(top, "a", a);
    MakeChild(childA, "grandchild", {25, 25, 60, 60});  // clipped by its parent: adds nothing
    MakeChild(top, "b", b);
    MakeChild(top, "c", c);
    ShowWindow(MakeChild(top, "hidden", hidden), SW_HIDE);
    CreateWindowExA(WS_EX_TRANSPARENT, RecorderClass(), "clear", WS_CHILD | WS_VISIBLE, clear.left, clear.top,
                    clear.right - clear.left, clear.bottom - clear.top, top, nullptr, nullptr, nullptr);

    HDC dc = GetDC(top);
    const RECT whole{0, 0, 130, 110}, area{0, 0, 100, 100};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &whole, red);
    host::FillAroundChildWindows(top, dc, area, blue);
    int wrong = 0;
    for (int y = 0; y < 110; ++y)
        for (int x = 0; x < 130; ++x) {
            const bool underChild = Inside(a, x, y) || Inside(b, x, y) || Inside(c, x, y);
            const COLORREF expected = Inside(area, x, y) && !underChild ? RGB(0, 0, 255) : RGB(255, 0, 0);
            if (GetPixel(dc, x, y) != expected && ++wrong <= 5) ADD_FAILURE() << "pixel " << x << "," << y;
        }
    EXPECT_EQ(wrong, 0);

    // Without children the whole area is filled; an empty area fills nothing.
    HWND lone = CreateWindowExA(0, RecorderClass(), "lone", WS_POPUP | WS_VISIBLE, 200, 0, 40, 30, nullptr, nullptr,
                                nullptr, nullptr);
    HDC loneDc = GetDC(lone);
    const RECT loneArea{0, 0, 40, 30}, empty{10, 10, 10, 20};
    FillRect(loneDc, &loneArea, red);
    host::FillAroundChildWindows(lone, loneDc, empty, blue);
    EXPECT_EQ(GetPixel(loneDc, 10, 10), RGB(255, 0, 0));
    host::FillAroundChildWindows(lone, loneDc, loneArea, blue);
    EXPECT_EQ(GetPixel(loneDc, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(loneDc, 39, 29), RGB(0, 0, 255));

    ReleaseDC(lone, loneDc);
    ReleaseDC(top, dc);
    DeleteObject(red);
    DeleteObject(blue);
    DestroyWindow(lone);
    DestroyWindow(top);
}

}  // namespace
}  // namespace brimlox::test

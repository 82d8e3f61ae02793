// FillRect, FrameRect, pixels, rectangles and colours.
#include <cstdint>

#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/gdi/syscolors.h"
#include "support/gdi_test.h"

using brimlox::test::Canvas;
using brimlox::test::GdiTest;

class GdiFill : public GdiTest {};

TEST_F(GdiFill, FillRectCoversLeftTopButNotRightBottomAndClips) {
    Canvas c(10, 10);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT r{2, 3, 5, 7};
    EXPECT_EQ(FillRect(c.dc(), &r, red), 1);
    EXPECT_EQ(c.At(2, 3), RGB(255, 0, 0));
    EXPECT_EQ(c.At(4, 6), RGB(255, 0, 0));
    EXPECT_EQ(c.At(5, 6), RGB(255, 255, 255));
    EXPECT_EQ(c.At(4, 7), RGB(255, 255, 255));
    // Partly and wholly outside, inverted and empty rectangles are harmless.
    RECT outside{-5, -5, 3, 2};
    EXPECT_EQ(FillRect(c.dc(), &outside, red), 1);
    EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
    RECT inverted{8, 8, 2, 2};
    EXPECT_EQ(FillRect(c.dc(), &inverted, red), 1);
    EXPECT_EQ(c.At(5, 5), RGB(255, 255, 255));
    RECT huge{-2000000000, -2000000000, 2000000000, 2000000000};
    EXPECT_EQ(FillRect(c.dc(), &huge, red), 1);
    EXPECT_EQ(c.At(9, 9), RGB(255, 0, 0));
    EXPECT_EQ(FillRect(c.dc(), nullptr, red), 0);
    DeleteObject(red);
}

// Fills of every width class (one-pixel sides, short runs, long runs) land on the right bytes
// of a 32-bit DIB section, whichever way up its rows lie in memory.
TEST_F(GdiFill, FillRectWritesTheRightRowsOfTopDownAndBottomUpDibs) {
    constexpr int kW = 320, kH = 9;
    for (const bool topDown : {true, false}) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kW;
        info.bmiHeader.biHeight = topDown ? -kH : kH;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(dib, nullptr);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, dib);
        HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
        const RECT rects[] = {{1, 1, 2, 8}, {4, 2, 7, 6}, {10, 3, 310, 7}, {0, 8, 320, 9}};
        for (const RECT& r : rects) FillRect(dc, &r, brush);
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                bool inside = false;
                for (const RECT& r : rects) inside |= x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                const int memoryRow = topDown ? y : kH - 1 - y;
                ASSERT_EQ(pixels[memoryRow * kW + x], inside ? 0x123456u : 0u)
                    << (topDown ? "top-down" : "bottom-up") << " at " << x << "," << y;
            }
        SelectObject(dc, old);
        DeleteObject(brush);
        DeleteDC(dc);
        DeleteObject(dib);
    }
}

TEST_F(GdiFill, SystemColourBrushesFollowTheSchemeAndIndexPlusOneWorks) {
    Canvas c(4, 4);
    RECT r{0, 0, 4, 4};
    // (COLOR_BTNFACE + 1) as a brush, the window-class idiom.
    EXPECT_EQ(FillRect(c.dc(), &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), 1);
    EXPECT_EQ(c.At(1, 1), GetSysColor(COLOR_BTNFACE));
    INT index = COLOR_BTNFACE;
    COLORREF green = RGB(0, 200, 0);
    EXPECT_TRUE(SetSysColors(1, &index, &green));
    FillRect(c.dc(), &r, GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(c.At(2, 2), green);
    brimlox::gdi::ResetSysColors();
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
    EXPECT_EQ(GetSysColor(99), 0u);
}

TEST_F(GdiFill, FrameRectDrawsOnePixelBorder) {
    Canvas c(6, 6);
    HBRUSH b = CreateSolidBrush(RGB(0, 0, 255));
    RECT r{1, 1, 5, 5};
    FrameRect(c.dc(), &r, b);
    EXPECT_EQ(c.At(1, 1), RGB(0, 0, 255));
    EXPECT_EQ(c.At(4, 4), RGB(0, 0, 255));
    EXPECT_EQ(c.At(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(c.At(5, 5), RGB(255, 255, 255));
    DeleteObject(b);
}

TEST_F(GdiFill, PixelsOnMonoBitmapsSnapToBlackOrWhite) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateBitmap(8, 1, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(dc, mono);
    EXPECT_EQ(SetPixel(dc, 0, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
    EXPECT_EQ(SetPixel(dc, 1, 0, RGB(100, 0, 0)), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 8, 0), CLR_INVALID);
    SelectObject(dc, old);
    DeleteObject(mono);
    DeleteDC(dc);
}

TEST(GdiRects, RectangleArithmeticMatchesWindows) {
    RECT r{0, 0, 10, 10};
    InflateRect(&r, -3, 2);
    EXPECT_EQ(r, (RECT{3, -2, 7, 12}));
    OffsetRect(&r, 1, 1);
    EXPECT_EQ(r, (RECT{4, -1, 8, 13}));
    RECT a{0, 0, 5, 5}, b{5, 0, 9, 5}, out{1, 1, 1, 1};
    EXPECT_FALSE(IntersectRect(&out, &a, &b)) << "touching rectangles do not intersect";
    EXPECT_EQ(out, (RECT{}));
    RECT c{2, 2, 7, 7};
    EXPECT_TRUE(IntersectRect(&out, &a, &c));
    EXPECT_EQ(out, (RECT{2, 2, 5, 5}));
    RECT inverted{5, 5, 1, 1};
    EXPECT_TRUE(IsRectEmpty(&inverted));
    EXPECT_TRUE(IsRectEmpty(nullptr));
    EXPECT_FALSE(PtInRect(&a, POINT{5, 2})) << "right edge is outside";
}

TEST(GdiColours, OleTranslateColorResolvesSystemColoursAndRejectsBadOnes) {
    COLORREF out = 0;
    EXPECT_EQ(OleTranslateColor(0x8000000F, nullptr, &out), S_OK);
    EXPECT_EQ(out, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(OleTranslateColor(0x00123456, nullptr, &out), S_OK);
    EXPECT_EQ(out, 0x123456u);
    EXPECT_EQ(OleTranslateColor(0x80000040, nullptr, &out), E_INVALIDARG);
    EXPECT_EQ(OleTranslateColor(0x40000000, nullptr, &out), E_INVALIDARG);
}

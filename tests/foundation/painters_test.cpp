// The bevel painter, the gradient fill and the soft edge, on real surfaces.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "foundation/helpers/colour.h"
#include "foundation/painters/bevel.h"
#include "foundation/painters/gradient.h"
#include "foundation/painters/soft_edge.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"
#include "support/gdi_test.h"

namespace brimlox::test {
namespace {

using namespace brimlox::foundation;

class PaintersTest : public GdiTest {};

TEST_F(PaintersTest, EveryBevelStyleTakesFourPixelsAndUnknownStylesNone) {
    Canvas canvas(20, 20, RGB(0, 128, 128));
    for (int style = -1; style <= 12; ++style) {
        workRect = RECT{2, 3, 18, 17};
        DrawBevel(canvas.dc(), style, BF_RECT);
        bool draws = style >= Inset && style <= MonoOutline;
        RECT expected = draws ? RECT{6, 7, 14, 13} : RECT{2, 3, 18, 17};
        EXPECT_TRUE(EqualRect(&workRect, &expected)) << "style " << style;
    }
    // An unknown style leaves the surface alone too.
    Canvas untouched(20, 20, RGB(0, 128, 128));
    workRect = RECT{0, 0, 20, 20};
    DrawBevel(untouched.dc(), 11, BF_RECT);
    EXPECT_EQ(untouched.At(0, 0), RGB(0, 128, 128));
}

TEST_F(PaintersTest, BevelStylesMatchTheirPictures) {
    // Eleven styles side by side, each on a 24 x 24 cell with a white interior so the
    // space left inside is visible.
    Canvas canvas(11 * 28 + 4, 32, RGB(0, 128, 128));
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    for (int style = NoBevel; style <= MonoOutline; ++style) {
        workRect = RECT{4 + style * 28, 4, 28 + style * 28, 28};
        RECT face = workRect;
        HBRUSH faceBrush = GetSysColorBrush(COLOR_BTNFACE);
        FillRect(canvas.dc(), &face, faceBrush);
        DrawBevel(canvas.dc(), style, BF_RECT);
        FillRect(canvas.dc(), &workRect, white);
    }
    DeleteObject(white);
    EXPECT_TRUE(MatchesGolden(canvas.surface(), "foundation/bevel_styles"));
}

TEST_F(PaintersTest, VerticalGradientRoundsItsBandsAndPaintsOnlyWhenABandMoves) {
    Canvas canvas(4, 10, RGB(0, 255, 0));
    SetDCBrushColor(canvas.dc(), RGB(1, 2, 3));
    GradientFill(canvas.dc(), RECT{0, 0, 4, 10}, RGB(255, 0, 0), RGB(0, 0, 255), true);
    EXPECT_EQ(SetDCBrushColor(canvas.dc(), RGB(0, 0, 0)), RGB(1, 2, 3)) << "the caller's DC brush colour is kept";
    // 256 steps over 10 rows: the first band to cover a pixel is step 12, so the bottom row
    // is not pure blue; the last is step 243, so the top row is close to, but not, red.
    EXPECT_EQ(canvas.At(0, 9), RGB(12, 0, 243));
    EXPECT_EQ(canvas.At(3, 8), RGB(38, 0, 217));
    EXPECT_EQ(canvas.At(0, 5), RGB(115, 0, 140));
    EXPECT_EQ(canvas.At(2, 0), RGB(242, 0, 13));
}

TEST_F(PaintersTest, HorizontalGradientPutsColourBOnTheRightAndFillsEveryColumn) {
    Canvas canvas(256, 2, RGB(0, 255, 0));
    GradientFill(canvas.dc(), RECT{0, 0, 256, 2}, RGB(255, 255, 255), RGB(0, 0, 0), false);
    // One column per step: column x shows step 255 - x, i.e. (255 - x) * 255 / 256.
    for (int x = 0; x < 256; ++x) {
        int v = RoundHalfEven((255 - x) * 255.0 / 256.0);
        ASSERT_EQ(canvas.At(x, 1), RGB(v, v, v)) << "column " << x;
    }
    // A rectangle wider than the steps leaves no gap: the rest takes the last colour.
    Canvas wide(600, 1, RGB(0, 255, 0));
    GradientFill(wide.dc(), RECT{0, 0, 600, 1}, RGB(255, 0, 0), RGB(0, 0, 255), false);
    for (int x = 0; x < 600; ++x) ASSERT_NE(wide.At(x, 0), RGB(0, 255, 0)) << "column " << x;
    EXPECT_EQ(wide.At(599, 0), RGB(0, 0, 255));
    // The last step lands exactly on the left edge, so colour A itself is never reached.
    EXPECT_EQ(wide.At(0, 0), RGB(254, 0, 1));
}

// The colours along a 256-step gradient as the band walk defines them, step by step: the
// moving side and the running channels accumulate one step at a time, and a band is painted
// whenever the side passes the last one. Index 0 is the pixel at colour A's edge; `far` is
// where colour B's edge lies (halves round to even, so the bands move with its parity).
std::vector<COLORREF> AccumulatedGradient(int extent, COLORREF a, COLORREF b, std::optional<int> farEdge = {}) {
    const int far = farEdge.value_or(extent);
    std::vector<COLORREF> pixels(static_cast<std::size_t>(std::max(extent, 0)), CLR_INVALID);
    const int steps = 256;
    double r = GetRValue(b), g = GetGValue(b), bl = GetBValue(b);
    const double dr = (GetRValue(a) - r) / steps, dg = (GetGValue(a) - g) / steps, db = (GetBValue(a) - bl) / steps;
    const double size = double(extent) / steps;
    auto colour = [&] {
        auto byte = [](double v) { return std::clamp(RoundHalfEven(v), 0, 255); };
        return RGB(byte(r), byte(g), byte(bl));
    };
    int edge = extent;
    double offset = size;
    auto paint = [&](int from, int to) {
        for (int p = std::max(from, 0); p < to; ++p) pixels[static_cast<std::size_t>(p)] = colour();
    };
    for (int i = 0; i < steps; ++i) {
        const int side = RoundHalfEven(far - offset) - (far - extent);
        if (side < edge) paint(side, edge), edge = side;
        offset += size;
        r += dr, g += dg, bl += db;
    }
    paint(0, edge);
    return pixels;
}

TEST_F(PaintersTest, GradientsOfEverySizeMatchTheStepByStepWalk) {
    // Sizes around the step count and its multiples, where a band covers less than a pixel,
    // exactly one, or several; colours in both directions and with equal channels.
    const int sizes[] = {1, 2, 3, 5, 7, 12, 13, 25, 75, 127, 128, 129, 255, 256, 257, 300, 511, 512, 513, 640, 1000, 1921};
    const COLORREF pairs[][2] = {{RGB(255, 0, 0), RGB(0, 0, 255)},
                                 {RGB(212, 208, 200), RGB(255, 255, 255)},
                                 {RGB(1, 2, 3), RGB(250, 3, 129)},
                                 {RGB(90, 90, 90), RGB(90, 90, 90)}};
    // Gradients across are several rows tall (their rows are copied from the first).
    for (bool vertical : {false, true}) {
        for (int size : sizes) {
            Canvas canvas(vertical ? 3 : size + 6, vertical ? size + 6 : 9, RGB(0, 255, 0));
            for (const auto& pair : pairs) {
                RECT rect = vertical ? RECT{1, 4, 2, 4 + size} : RECT{4, 1, 4 + size, 8};
                GradientFill(canvas.dc(), rect, pair[0], pair[1], vertical);
                const std::vector<COLORREF> expected = AccumulatedGradient(size, pair[0], pair[1]);
                for (int p = 0; p < size; ++p) {
                    for (int row = 1; row < (vertical ? 2 : 8); ++row) {
                        const COLORREF got = vertical ? canvas.At(1, 4 + p) : canvas.At(4 + p, row);
                        ASSERT_EQ(got, expected[static_cast<std::size_t>(p)])
                            << (vertical ? "vertical" : "horizontal") << " size " << size << " pixel " << p << " row " << row;
                    }
                }
                // Nothing outside the rectangle is touched.
                ASSERT_EQ(vertical ? canvas.At(1, 3) : canvas.At(3, 1), RGB(0, 255, 0));
                ASSERT_EQ(vertical ? canvas.At(1, 4 + size) : canvas.At(4 + size, 1), RGB(0, 255, 0));
                ASSERT_EQ(vertical ? canvas.At(0, 4) : canvas.At(4, 0), RGB(0, 255, 0));
                ASSERT_EQ(vertical ? canvas.At(2, 4) : canvas.At(4, 8), RGB(0, 255, 0));
            }
        }
    }
    // An empty or reversed rectangle paints nothing.
    Canvas untouched(8, 8, RGB(0, 255, 0));
    GradientFill(untouched.dc(), RECT{2, 2, 2, 6}, RGB(255, 0, 0), RGB(0, 0, 255), false);
    GradientFill(untouched.dc(), RECT{6, 2, 2, 6}, RGB(255, 0, 0), RGB(0, 0, 255), false);
    GradientFill(untouched.dc(), RECT{2, 6, 6, 2}, RGB(255, 0, 0), RGB(0, 0, 255), true);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(untouched.At(x, y), RGB(0, 255, 0)) << x << "," << y;
}

// A DC whose clip is part of its surface (as a window's DC is) gets the gradient inside the
// clip only, and the same pixels there as an unclipped one.
TEST_F(PaintersTest, AGradientUnderAClipPaintsOnlyInsideIt) {
    auto surface = gdi::Surface::Create(48, 32, gdi::PixelFormat::Bgrx32);
    const std::uint32_t green = gdi::ToPixel(RGB(0, 255, 0));
    const RECT clip{10, 8, 30, 20};  // surface coordinates
    for (bool vertical : {false, true}) {
        surface->Clear(green);
        HDC dc = gdi::CreateSurfaceDC(surface.get(), POINT{5, 3}, clip);
        RECT box{};
        ASSERT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
        const RECT logicalClip{5, 5, 25, 17};
        EXPECT_TRUE(EqualRect(&box, &logicalClip)) << box.left << "," << box.top << "," << box.right << "," << box.bottom;
        GradientFill(dc, RECT{0, 0, 40, 24}, RGB(255, 0, 0), RGB(0, 0, 255), vertical);
        DeleteDC(dc);
        const std::vector<COLORREF> expected = AccumulatedGradient(vertical ? 24 : 40, RGB(255, 0, 0), RGB(0, 0, 255));
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 48; ++x) {
                const POINT p{x, y};
                const bool inside = PtInRect(&clip, p);
                const COLORREF want =
                    inside ? expected[static_cast<std::size_t>(vertical ? y - 3 : x - 5)] : RGB(0, 255, 0);
                ASSERT_EQ(gdi::ToColorRef(surface->Get(x, y)), want) << (vertical ? "vertical " : "across ") << x << "," << y;
            }
        }
    }
    // Left of and above the logical origin the walk rounds halves to even as it does right of
    // and below it; odd and even far edges round their halves differently.
    for (bool vertical : {false, true}) {
        surface->Clear(green);
        HDC dc = gdi::CreateSurfaceDC(surface.get(), POINT{44, 30}, RECT{0, 0, 48, 32});
        GradientFill(dc, RECT{-41, -27, -4, -1}, RGB(10, 200, 30), RGB(250, 0, 99), vertical);
        DeleteDC(dc);
        const int extent = vertical ? 26 : 37;
        const std::vector<COLORREF> expected =
            AccumulatedGradient(extent, RGB(10, 200, 30), RGB(250, 0, 99), vertical ? -1 : -4);
        for (int p = 0; p < extent; ++p) {
            const int x = vertical ? 20 : 3 + p, y = vertical ? 3 + p : 15;
            ASSERT_EQ(gdi::ToColorRef(surface->Get(x, y)), expected[static_cast<std::size_t>(p)])
                << (vertical ? "vertical " : "across ") << p;
        }
        EXPECT_EQ(surface->Get(vertical ? 20 : 2, vertical ? 2 : 15), green);
        EXPECT_EQ(surface->Get(vertical ? 20 : 40, vertical ? 29 : 15), green);
    }
    // A DC that may draw nowhere says so, and paints nothing.
    surface->Clear(green);
    HDC none = gdi::CreateSurfaceDC(surface.get(), POINT{0, 0}, RECT{60, 40, 70, 50});
    RECT box{};
    EXPECT_EQ(GetClipBox(none, &box), NULLREGION);
    GradientFill(none, RECT{0, 0, 48, 32}, RGB(255, 0, 0), RGB(0, 0, 255), false);
    DeleteDC(none);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x) ASSERT_EQ(surface->Get(x, y), green) << x << "," << y;
    EXPECT_EQ(GetClipBox(nullptr, &box), RGN_ERROR);
}

// On a DIB section with a palette or 16-bit pixels a colour may land on another pixel value
// through a blit than through a brush: the gradient there is exactly what its bands' brushes
// paint, row by row.
TEST_F(PaintersTest, GradientsOnDibSectionsPaintWhatTheirBrushesPaint) {
    struct Layout {
        WORD bits;
        int colours;
    };
    for (Layout layout : {Layout{4, 16}, Layout{8, 256}, Layout{16, 0}, Layout{32, 0}}) {
        std::vector<std::uint8_t> storage(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
        auto* info = reinterpret_cast<BITMAPINFO*>(storage.data());
        info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info->bmiHeader.biWidth = 6;
        info->bmiHeader.biHeight = -40;
        info->bmiHeader.biPlanes = 1;
        info->bmiHeader.biBitCount = layout.bits;
        info->bmiHeader.biCompression = BI_RGB;
        info->bmiHeader.biClrUsed = static_cast<DWORD>(layout.colours);
        for (int i = 0; i < layout.colours; ++i) {
            // A coarse ramp of reds and blues, so neighbouring gradient steps share entries.
            const int level = i * 255 / (layout.colours - 1);
            info->bmiColors[i] = RGBQUAD{static_cast<BYTE>(255 - level), 0, static_cast<BYTE>(level), 0};
        }
        HDC dcs[2]{};
        HGDIOBJ old[2]{};
        HBITMAP dibs[2]{};
        for (int k = 0; k < 2; ++k) {
            void* bits = nullptr;
            dibs[k] = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
            ASSERT_NE(dibs[k], nullptr) << layout.bits;
            dcs[k] = CreateCompatibleDC(nullptr);
            old[k] = SelectObject(dcs[k], dibs[k]);
        }
        GradientFill(dcs[0], RECT{1, 2, 5, 38}, RGB(255, 0, 0), RGB(0, 0, 255), true);
        const std::vector<COLORREF> expected = AccumulatedGradient(36, RGB(255, 0, 0), RGB(0, 0, 255));
        for (int row = 0; row < 36; ++row) {
            HBRUSH brush = CreateSolidBrush(expected[static_cast<std::size_t>(row)]);
            RECT r{1, 2 + row, 5, 3 + row};
            FillRect(dcs[1], &r, brush);
            DeleteObject(brush);
        }
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 6; ++x)
                ASSERT_EQ(GetPixel(dcs[0], x, y), GetPixel(dcs[1], x, y)) << layout.bits << " bits at " << x << "," << y;
        for (int k = 0; k < 2; ++k) {
            SelectObject(dcs[k], old[k]);
            DeleteDC(dcs[k]);
            DeleteObject(dibs[k]);
        }
    }
}

TEST_F(PaintersTest, MonochromeDevicesGetThirtyTwoSteps) {
    // A DC holding a 1-bpp bitmap reports 1 bit per pixel, so its gradient has 32 bands of
    // 8 columns; each band is the dither of its step's colour.
    HBITMAP bitmaps[2] = {CreateBitmap(256, 8, 1, 1, nullptr), CreateBitmap(256, 8, 1, 1, nullptr)};
    HDC gradient = CreateCompatibleDC(nullptr), reference = CreateCompatibleDC(nullptr);
    HGDIOBJ old[2] = {SelectObject(gradient, bitmaps[0]), SelectObject(reference, bitmaps[1])};
    ASSERT_EQ(GetDeviceCaps(gradient, BITSPIXEL), 1);
    GradientFill(gradient, RECT{0, 0, 256, 8}, RGB(255, 255, 255), RGB(0, 0, 0), false);
    for (int band = 0; band < 32; ++band) {
        int v = RoundHalfEven(band * 255.0 / 32.0);
        HBRUSH brush = CreateSolidBrush(RGB(v, v, v));
        RECT r{256 - 8 * (band + 1), 0, 256 - 8 * band, 8};
        FillRect(reference, &r, brush);
        DeleteObject(brush);
    }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 256; ++x) ASSERT_EQ(GetPixel(gradient, x, y), GetPixel(reference, x, y)) << x << "," << y;
    SelectObject(gradient, old[0]);
    SelectObject(reference, old[1]);
    DeleteDC(gradient);
    DeleteDC(reference);
    DeleteObject(bitmaps[0]);
    DeleteObject(bitmaps[1]);
}

TEST_F(PaintersTest, SoftEdgeRingsGrowStrongerOutwardOnTheirCorners) {
    const COLORREF base = RGB(100, 120, 140);
    const HLS hls = RGBToHLS(100, 120, 140);
    // The luminance moves in single-precision steps of 0.04 (light) and 0.03 (dark) per ring.
    auto shade = [&](float step, int rings) {
        float l = hls.L;
        for (int i = 0; i < rings; ++i) l = std::clamp(l + step, 0.0f, 1.0f);
        return HLSToRGB(hls.H, hls.S, l);
    };
    Canvas raised(14, 14, RGB(0, 0, 0));
    DrawSoftEdge(raised.dc(), RECT{1, 1, 11, 11}, base, 2, false);
    // The outer ring lies on the rectangle's own values (right and bottom included), the
    // inner one a pixel inside.
    EXPECT_EQ(raised.At(1, 5), shade(0.04f, 2));   // left, outer: light
    EXPECT_EQ(raised.At(5, 1), shade(0.04f, 2));   // top, outer
    EXPECT_EQ(raised.At(2, 5), shade(0.04f, 1));   // left, inner
    EXPECT_EQ(raised.At(11, 5), shade(-0.03f, 2)); // right, outer: dark
    EXPECT_EQ(raised.At(5, 11), shade(-0.03f, 2)); // bottom, outer
    EXPECT_EQ(raised.At(10, 5), shade(-0.03f, 1)); // right, inner
    EXPECT_EQ(raised.At(5, 5), RGB(0, 0, 0));   // the inside stays

    Canvas sunken(14, 14, RGB(0, 0, 0));
    DrawSoftEdge(sunken.dc(), RECT{1, 1, 11, 11}, base, 1, true);
    EXPECT_EQ(sunken.At(5, 11), shade(0.04f, 1));  // bottom light
    EXPECT_EQ(sunken.At(11, 5), shade(0.04f, 1));  // right light
    EXPECT_EQ(sunken.At(1, 5), shade(-0.03f, 1));  // left dark
    EXPECT_EQ(sunken.At(5, 1), shade(-0.03f, 1));  // top dark

    // Luminance saturates: white stays white on the light side however wide the edge.
    Canvas white(30, 30, RGB(0, 0, 0));
    DrawSoftEdge(white.dc(), RECT{0, 0, 29, 29}, RGB(255, 255, 255), 12, false);
    EXPECT_EQ(white.At(0, 10), RGB(255, 255, 255));
}

}  // namespace
}  // namespace brimlox::test

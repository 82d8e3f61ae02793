// Cosmetic and wide lines: pixel choice per octant, end pixels, dash patterns, ROP2 modes,
// clipping and the pen creation rules.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <utility>

#include "platform/gdi/gdi.h"
#include "support/gdi_test.h"
#include "tests/platform/gdi/pixel_map.h"

using brimlox::test::Canvas;
using brimlox::test::GdiTest;
using brimlox::test::PixelMap;

namespace {

class GdiLine : public GdiTest {};

using PixelSet = std::set<std::pair<int, int>>;

PixelSet DrawnPixels(const Canvas& c, int w, int h) {
    PixelSet out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (c.At(x, y) != RGB(255, 255, 255)) out.insert({x, y});
    return out;
}

struct OctantCase {
    int dx, dy;
    PixelSet pixels;
};

}  // namespace

// Checked against Windows: lines from (20,20) in every octant, with ties (slopes 1/2) in each
// direction. The minor coordinate is the exact one rounded to nearest, halves towards
// negative infinity, and the end point is never drawn.
TEST_F(GdiLine, PixelsPerOctantAndTiesMatchWindows) {
    const OctantCase cases[] = {
        {5, 2, {{20, 20}, {21, 20}, {22, 21}, {23, 21}, {24, 22}}},
        {2, 5, {{20, 20}, {20, 21}, {21, 22}, {21, 23}, {22, 24}}},
        {-5, 2, {{19, 20}, {20, 20}, {17, 21}, {18, 21}, {16, 22}}},
        {-2, 5, {{20, 20}, {20, 21}, {19, 22}, {19, 23}, {18, 24}}},
        {5, -2, {{24, 18}, {22, 19}, {23, 19}, {20, 20}, {21, 20}}},
        {-5, -2, {{16, 18}, {17, 19}, {18, 19}, {19, 20}, {20, 20}}},
        {2, -5, {{22, 16}, {21, 17}, {21, 18}, {20, 19}, {20, 20}}},
        {-2, -5, {{18, 16}, {19, 17}, {19, 18}, {20, 19}, {20, 20}}},
        {4, 2, {{20, 20}, {21, 20}, {22, 21}, {23, 21}}},
        {2, 4, {{20, 20}, {20, 21}, {21, 22}, {21, 23}}},
        {-4, 2, {{19, 20}, {20, 20}, {17, 21}, {18, 21}}},
        {4, -2, {{23, 18}, {21, 19}, {22, 19}, {20, 20}}},
        {-4, -2, {{17, 18}, {18, 19}, {19, 19}, {20, 20}}},
        {2, -4, {{21, 17}, {21, 18}, {20, 19}, {20, 20}}},
        {-2, 4, {{20, 20}, {19, 21}, {19, 22}, {18, 23}}},
        {-2, -4, {{18, 17}, {19, 18}, {19, 19}, {20, 20}}},
        {-6, 3, {{19, 20}, {20, 20}, {17, 21}, {18, 21}, {15, 22}, {16, 22}}},
        {3, -6, {{22, 15}, {22, 16}, {21, 17}, {21, 18}, {20, 19}, {20, 20}}},
        {-4, 4, {{20, 20}, {19, 21}, {18, 22}, {17, 23}}},
        {-5, 0, {{16, 20}, {17, 20}, {18, 20}, {19, 20}, {20, 20}}},
        {0, -5, {{20, 16}, {20, 17}, {20, 18}, {20, 19}, {20, 20}}},
        {7, -2, {{26, 18}, {22, 19}, {23, 19}, {24, 19}, {25, 19}, {20, 20}, {21, 20}}},
        {-2, 7, {{20, 20}, {20, 21}, {19, 22}, {19, 23}, {19, 24}, {19, 25}, {18, 26}}},
        {8, 3, {{20, 20}, {21, 20}, {22, 21}, {23, 21}, {24, 21}, {25, 22}, {26, 22}, {27, 23}}},
        {-3, -8, {{17, 13}, {18, 14}, {18, 15}, {18, 16}, {19, 17}, {19, 18}, {20, 19}, {20, 20}}},
    };
    for (const OctantCase& oc : cases) {
        Canvas c(64, 64);
        MoveToEx(c.dc(), 20, 20, nullptr);
        EXPECT_TRUE(LineTo(c.dc(), 20 + oc.dx, 20 + oc.dy));
        EXPECT_EQ(DrawnPixels(c, 64, 64), oc.pixels) << "line to +" << oc.dx << "," << oc.dy;
        POINT pos{};
        GetCurrentPositionEx(c.dc(), &pos);
        EXPECT_EQ(pos.x, 20 + oc.dx);
        EXPECT_EQ(pos.y, 20 + oc.dy);
    }
}

// Checked against Windows: the dash lengths of the styled CreatePen pens, gaps painted with
// the background colour only in OPAQUE mode, the pattern restarting at every LineTo and
// running on around the corners of a Polyline.
TEST_F(GdiLine, StyledPensFollowWindowsDashLengths) {
    struct Styled {
        int style;
        const char* opaque;
        const char* lineTos;
    };
    const Styled cases[] = {
        {PS_DASH, "##################RRRRRR##################RRRRRR############..",
         "######################################RRRRRR################.."},
        {PS_DOT, "###RRR###RRR###RRR###RRR###RRR###RRR###RRR###RRR###RRR###RRR..",
         "###RRR###R###RRR###R###RRR###RRR###RRR###RRR###RRR###RRR###R.."},
        {PS_DASHDOT, "#########RRRRRR###RRRRRR#########RRRRRR###RRRRRR#########RRR..",
         "#########R#########R#########RRRRRR###RRRRRR#########RRRRRR#.."},
        {PS_DASHDOTDOT, "#########RRR###RRR###RRR#########RRR###RRR###RRR#########RRR..",
         "#########R#########R#########RRR###RRR###RRR#########RRR###R.."},
    };
    for (const Styled& s : cases) {
        Canvas c(62, 8);
        HPEN pen = CreatePen(s.style, 1, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(c.dc(), pen);
        SetBkColor(c.dc(), RGB(255, 0, 0));
        SetBkMode(c.dc(), OPAQUE);
        MoveToEx(c.dc(), 0, 1, nullptr);
        LineTo(c.dc(), 60, 1);
        MoveToEx(c.dc(), 0, 3, nullptr);
        LineTo(c.dc(), 10, 3);
        LineTo(c.dc(), 20, 3);
        LineTo(c.dc(), 60, 3);
        const POINT run[] = {{0, 5}, {10, 5}, {20, 5}, {60, 5}};
        Polyline(c.dc(), run, 4);
        SetBkMode(c.dc(), TRANSPARENT);
        MoveToEx(c.dc(), 0, 7, nullptr);
        LineTo(c.dc(), 60, 7);
        EXPECT_EQ(PixelMap(c, 0, 1, 62, 2), s.opaque) << "style " << s.style;
        EXPECT_EQ(PixelMap(c, 0, 3, 62, 4), s.lineTos) << "style " << s.style;
        EXPECT_EQ(PixelMap(c, 0, 5, 62, 6), s.opaque) << "style " << s.style;
        std::string transparent = s.opaque;
        for (char& ch : transparent) ch = ch == 'R' ? '.' : ch;
        EXPECT_EQ(PixelMap(c, 0, 7, 62, 8), transparent) << "style " << s.style;
        SelectObject(c.dc(), old);
        DeleteObject(pen);
    }
}

// Checked against Windows: the dash position counts pixels along the major axis, from the
// start point whichever way the line runs; a diagonal PS_DOT line alternates in threes.
TEST_F(GdiLine, DashesCountAlongTheMajorAxisInBothDirections) {
    Canvas c(62, 40);
    HPEN pen = CreatePen(PS_DASH, 1, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(c.dc(), pen);
    SetBkColor(c.dc(), RGB(255, 0, 0));
    MoveToEx(c.dc(), 60, 1, nullptr);
    LineTo(c.dc(), 0, 1);
    EXPECT_EQ(PixelMap(c, 0, 1, 62, 2), ".############RRRRRR##################RRRRRR##################.");
    MoveToEx(c.dc(), 0, 10, nullptr);
    LineTo(c.dc(), 40, 30);
    // Columns 18..23 of the diagonal are the first gap.
    for (int x = 0; x < 40; ++x) {
        const int y = 10 + x / 2;  // ties (odd x) round up the screen
        EXPECT_EQ(c.At(x, y), (x >= 18 && x < 24) ? RGB(255, 0, 0) : RGB(0, 0, 0)) << x;
    }
    SelectObject(c.dc(), old);
    DeleteObject(pen);
}

// Checked against Windows: ExtCreatePen cosmetic PS_ALTERNATE lights every other pixel and
// PS_USERSTYLE counts its entries in units of three pixels; neither paints its gaps.
TEST_F(GdiLine, AlternateAndUserStylePens) {
    Canvas c(42, 4);
    LOGBRUSH lb{BS_SOLID, RGB(0, 0, 0), 0};
    HPEN alternate = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr);
    const DWORD entries[] = {2, 3, 4};
    HPEN user = ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &lb, 3, entries);
    ASSERT_TRUE(alternate && user);
    SetBkMode(c.dc(), OPAQUE);
    SetBkColor(c.dc(), RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(c.dc(), alternate);
    MoveToEx(c.dc(), 0, 1, nullptr);
    LineTo(c.dc(), 20, 1);
    SelectObject(c.dc(), user);
    MoveToEx(c.dc(), 0, 3, nullptr);
    LineTo(c.dc(), 40, 3);
    EXPECT_EQ(PixelMap(c, 0, 1, 42, 2), "#.#.#.#.#.#.#.#.#.#.......................");
    EXPECT_EQ(PixelMap(c, 0, 3, 42, 4), "######.........############......#######..");
    // A user style of zeros has no length and draws solid instead of looping forever.
    const DWORD zeros[] = {0, 0};
    HPEN none = ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &lb, 2, zeros);
    ASSERT_NE(none, nullptr);
    SelectObject(c.dc(), none);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 10, 0);
    EXPECT_EQ(PixelMap(c, 0, 0, 12, 1), "##########..");
    SelectObject(c.dc(), old);
    DeleteObject(alternate);
    DeleteObject(user);
    DeleteObject(none);
}

// Checked against Windows: pen RGB(0x33,0x0F,0xF0) over RGB(0x55,0xAA,0x0F) in each mode.
TEST_F(GdiLine, AllSixteenRop2ModesApplyToPens) {
    const COLORREF expected[16] = {0x000000, 0x005088, 0x0fa044, 0x0ff0cc, 0xf00522, 0xf055aa, 0xffa566, 0xfff5ee,
                                   0x000a11, 0x005a99, 0x0faa55, 0x0ffadd, 0xf00f33, 0xf05fbb, 0xffaf77, 0xffffff};
    Canvas c(8, 17, RGB(0x55, 0xAA, 0x0F));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0x33, 0x0F, 0xF0));
    HGDIOBJ old = SelectObject(c.dc(), pen);
    for (int mode = 1; mode <= 16; ++mode) {
        SetROP2(c.dc(), mode);
        MoveToEx(c.dc(), 0, mode, nullptr);
        LineTo(c.dc(), 8, mode);
        EXPECT_EQ(c.At(2, mode), expected[mode - 1]) << "mode " << mode;
    }
    SelectObject(c.dc(), old);
    DeleteObject(pen);
}

// A clipped line lights exactly the pixels of the unclipped one that fall inside, and
// coordinates near the 32-bit limits neither crash nor write outside the surface.
TEST_F(GdiLine, ClippingKeepsPixelChoiceAndExtremeCoordinatesAreSafe) {
    Canvas big(300, 200), small(100, 100);
    for (HDC dc : {big.dc(), small.dc()}) {
        MoveToEx(dc, -50, 7, nullptr);
        LineTo(dc, 250, 133);
        MoveToEx(dc, 97, -40, nullptr);
        LineTo(dc, 3, 190);
    }
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(small.At(x, y), big.At(x, y)) << x << "," << y;
    Canvas c(16, 16);
    MoveToEx(c.dc(), INT_MIN, INT_MIN, nullptr);
    EXPECT_TRUE(LineTo(c.dc(), INT_MAX, INT_MAX));
    EXPECT_EQ(c.At(5, 5), RGB(0, 0, 0));  // the diagonal passes through the canvas
    MoveToEx(c.dc(), INT_MAX, 3, nullptr);
    EXPECT_TRUE(LineTo(c.dc(), INT_MIN, 3));
    EXPECT_EQ(c.At(9, 3), RGB(0, 0, 0));
    HPEN wide = CreatePen(PS_SOLID, 7, RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(c.dc(), wide);
    EXPECT_TRUE(LineTo(c.dc(), INT_MAX, INT_MIN));
    SelectObject(c.dc(), old);
    DeleteObject(wide);
    EXPECT_FALSE(LineTo(nullptr, 1, 1));
    POINT two[2] = {{0, 0}, {5, 5}};
    EXPECT_FALSE(Polyline(c.dc(), two, 1));
    EXPECT_FALSE(Polyline(c.dc(), nullptr, 2));
    EXPECT_FALSE(Polyline(c.dc(), two, -3));
    EXPECT_FALSE(Polyline(reinterpret_cast<HDC>(0x1234), two, 2));
}

// Checked against Windows: CreatePen width 2..5 with round caps covers rows y-w/2 .. and the
// caps reach w/2 beyond the end points; ExtCreatePen square caps reach half the width,
// flat caps stop at the end points; a geometric pen one unit wide keeps its end pixel.
TEST_F(GdiLine, WidePensCoverTheRowsAndCapsWindowsCovers) {
    Canvas c(40, 60);
    for (int width = 2; width <= 5; ++width) {
        HPEN pen = CreatePen(PS_SOLID, width, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(c.dc(), pen);
        const int y = 4 + (width - 2) * 8;
        MoveToEx(c.dc(), 3, y, nullptr);
        LineTo(c.dc(), 15, y);
        SelectObject(c.dc(), old);
        DeleteObject(pen);
    }
    EXPECT_EQ(PixelMap(c, 0, 2, 18, 6, '/'), ".................."
                                             "/..##############.."
                                             "/..##############.."
                                             "/..................");
    EXPECT_EQ(PixelMap(c, 0, 10, 18, 14, '/'), "................../...#############../..###############./...#############..");
    EXPECT_EQ(PixelMap(c, 0, 17, 18, 23, '/'),
              "................../..##############../.################./.################./..##############../..................");
    EXPECT_EQ(PixelMap(c, 0, 25, 18, 32, '/'),
              "................../..###############./.#################/.#################/.#################/..###############./..................");
    LOGBRUSH lb{BS_SOLID, RGB(0, 0, 0), 0};
    const DWORD caps[] = {PS_ENDCAP_SQUARE, PS_ENDCAP_FLAT};
    for (int i = 0; i < 2; ++i) {
        HPEN pen = ExtCreatePen(PS_GEOMETRIC | caps[i], 5, &lb, 0, nullptr);
        HGDIOBJ old = SelectObject(c.dc(), pen);
        MoveToEx(c.dc(), 23, 4 + i * 10, nullptr);
        LineTo(c.dc(), 35, 4 + i * 10);
        SelectObject(c.dc(), old);
        DeleteObject(pen);
    }
    // The square cap reaches two pixels before the start; flat caps cover [start, end).
    EXPECT_EQ(PixelMap(c, 20, 4, 24, 5), ".###");
    EXPECT_EQ(PixelMap(c, 20, 1, 24, 8, '/'), "..../.###/.###/.###/.###/.###/....");
    EXPECT_EQ(PixelMap(c, 20, 14, 40, 15), "...############.....");
    HPEN thin = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT, 1, &lb, 0, nullptr);
    HGDIOBJ old = SelectObject(c.dc(), thin);
    MoveToEx(c.dc(), 3, 40, nullptr);
    LineTo(c.dc(), 30, 50);
    EXPECT_EQ(c.At(30, 50), RGB(0, 0, 0));
    EXPECT_EQ(c.At(29, 50), RGB(0, 0, 0));
    EXPECT_EQ(c.At(8, 42), RGB(0, 0, 0));
    SelectObject(c.dc(), old);
    DeleteObject(thin);
}

// A wide round pen under R2_NOTXORPEN touches each pixel once per stroke, so a track line
// drawn twice leaves the surface as it was (checked against Windows), and a dashed
// geometric pen of width 3 draws 9 on, 3 off.
TEST_F(GdiLine, NotXorWideStrokeTwiceRestoresAndGeometricDashesScale) {
    Canvas c(60, 60);
    RECT stripe{0, 20, 60, 30};
    HBRUSH brush = CreateSolidBrush(RGB(12, 200, 99));
    FillRect(c.dc(), &stripe, brush);
    DeleteObject(brush);
    std::vector<COLORREF> before;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) before.push_back(c.At(x, y));
    HPEN pen = CreatePen(PS_SOLID, 5, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(c.dc(), pen);
    SetROP2(c.dc(), R2_NOTXORPEN);
    const POINT track[] = {{5, 5}, {30, 20}, {10, 40}, {50, 55}, {12, 8}};
    Polyline(c.dc(), track, 5);
    // A black pen under NOT-XOR inverts what it covers; at a joint, covered by two segment
    // bodies and the round join, it still inverts exactly once.
    EXPECT_EQ(c.At(30, 20), RGB(243, 55, 156));
    EXPECT_EQ(c.At(5, 5), RGB(0, 0, 0));
    Polyline(c.dc(), track, 5);
    std::size_t i = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(c.At(x, y), before[i++]) << x << "," << y;
    SetROP2(c.dc(), R2_COPYPEN);
    SelectObject(c.dc(), old);
    DeleteObject(pen);
    LOGBRUSH lb{BS_SOLID, RGB(0, 0, 0), 0};
    HPEN dashed = ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT, 3, &lb, 0, nullptr);
    old = SelectObject(c.dc(), dashed);
    MoveToEx(c.dc(), 3, 55, nullptr);
    LineTo(c.dc(), 60, 55);
    EXPECT_EQ(PixelMap(c, 0, 55, 60, 56), "...#########...#########...#########...#########...#########");
    SelectObject(c.dc(), old);
    DeleteObject(dashed);
}

// Checked against Windows: CreatePen turns unknown styles into PS_SOLID and keeps a wide
// pen's dash style (which then draws solid); ExtCreatePen refuses cosmetic pens that are
// not one unit wide or not solid, PS_ALTERNATE on geometric pens and style lists that do
// not match PS_USERSTYLE, and accepts end-cap bits on a cosmetic pen.
TEST_F(GdiLine, PenCreationRulesMatchWindows) {
    for (int style : {7, 8, 9, -1, 16}) {
        HPEN p = CreatePen(style, 1, 0);
        LOGPEN lp{};
        ASSERT_NE(p, nullptr) << style;
        GetObjectA(p, sizeof lp, &lp);
        EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_SOLID)) << style;
        DeleteObject(p);
    }
    HPEN dash3 = CreatePen(PS_DASH, -3, 0);
    LOGPEN lp{};
    GetObjectA(dash3, sizeof lp, &lp);
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(lp.lopnWidth.x, 3);
    Canvas c(20, 6);
    HGDIOBJ old = SelectObject(c.dc(), dash3);
    MoveToEx(c.dc(), 2, 2, nullptr);
    LineTo(c.dc(), 18, 2);
    EXPECT_EQ(PixelMap(c, 0, 2, 20, 3), ".###################");
    SelectObject(c.dc(), old);
    DeleteObject(dash3);
    LOGBRUSH solid{BS_SOLID, 0, 0}, hatched{BS_HATCHED, 0, HS_CROSS};
    const DWORD entries[] = {1, 2};
    struct Ext {
        DWORD style, width;
        const LOGBRUSH* brush;
        DWORD count;
        bool ok;
    };
    const Ext cases[] = {
        {PS_COSMETIC, 2, &solid, 0, false},
        {PS_COSMETIC, 1, &hatched, 0, false},
        {PS_COSMETIC | PS_ENDCAP_FLAT, 1, &solid, 0, true},
        {PS_GEOMETRIC | PS_ALTERNATE, 3, &solid, 0, false},
        {PS_COSMETIC | PS_USERSTYLE, 1, &solid, 0, false},
        {PS_COSMETIC, 1, &solid, 2, false},
        {PS_GEOMETRIC, 0, &solid, 0, true},
        {PS_GEOMETRIC, 3, &hatched, 0, true},
        {PS_COSMETIC | PS_USERSTYLE, 1, &solid, 17, false},
        {PS_COSMETIC, 0, &solid, 0, false},
        {PS_GEOMETRIC | PS_INSIDEFRAME, 3, &solid, 0, true},
        {PS_COSMETIC, 1, nullptr, 0, false},
    };
    for (const Ext& e : cases) {
        HPEN p = ExtCreatePen(e.style, e.width, e.brush, e.count, entries);
        EXPECT_EQ(p != nullptr, e.ok) << std::hex << e.style << " width " << e.width;
        if (p) DeleteObject(p);
    }
}

namespace {

// A DIB section of `bits` per pixel, `height` negative for top-down, selected into its own DC.
struct DibCanvas {
    DibCanvas(int width, int height, int bits) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = static_cast<WORD>(bits);
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        old = SelectObject(dc, bitmap);
        RECT all{0, 0, width, height < 0 ? -height : height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~DibCanvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
};

}  // namespace

// Solid copy-pen lines take a direct path into the screen's 32-bpp rows; every other layout
// goes pixel by pixel. Random lines, inside or crossing the edges on either axis, must choose
// the same pixels there, and on 32-bpp DIBs of both row orders, as on a 24-bpp DIB.
TEST_F(GdiLine, DirectThirtyTwoBitLinesChooseThePixelsOfEveryOtherLayout) {
    constexpr int kW = 61, kH = 47;
    DibCanvas reference(kW, kH, 24), bottomUp(kW, kH, 32), topDown(kW, -kH, 32);
    ASSERT_TRUE(reference.bitmap && bottomUp.bitmap && topDown.bitmap);
    Canvas device(kW, kH);  // the screen's own 32-bpp layout
    unsigned seed = 12345;
    auto next = [&](int lo, int hi) {
        seed = seed * 1103515245u + 12345u;
        return lo + static_cast<int>((seed >> 8) % static_cast<unsigned>(hi - lo + 1));
    };
    for (int line = 0; line < 400; ++line) {
        const int reach = line % 2 ? 30 : 0;  // every other line lies wholly inside
        const int x0 = next(-reach, kW + reach), y0 = next(-reach, kH + reach);
        const int x1 = next(-reach, kW + reach), y1 = next(-reach, kH + reach);
        HPEN pen = CreatePen(PS_SOLID, 0, RGB(next(0, 255), next(0, 255), next(0, 255)));
        for (HDC dc : {reference.dc, bottomUp.dc, topDown.dc, device.dc()}) {
            HGDIOBJ old = SelectObject(dc, pen);
            MoveToEx(dc, x0, y0, nullptr);
            LineTo(dc, x1, y1);
            SelectObject(dc, old);
        }
        DeleteObject(pen);
    }
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            ASSERT_EQ(GetPixel(bottomUp.dc, x, y), GetPixel(reference.dc, x, y)) << x << "," << y;
            ASSERT_EQ(GetPixel(topDown.dc, x, y), GetPixel(reference.dc, x, y)) << x << "," << y;
            ASSERT_EQ(device.At(x, y), GetPixel(reference.dc, x, y)) << x << "," << y;
        }
}

// DrawEdge: colours per edge and flag at every pixel, BF_ADJUST, BF_MIDDLE, diagonals and
// bad input.
#include "support/paths.h"
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/syscolors.h"
#include "support/gdi_test.h"
#include "tests/platform/gdi/pixel_map.h"

using brimlox::test::Canvas;
using brimlox::test::GdiTest;
using brimlox::test::PixelMap;

namespace {

// Gives the colours DrawEdge uses distinct values (the codes of pixel_map.h) for the test
// and restores the classic scheme afterwards.
class GdiEdge : public GdiTest {
protected:
    void SetUp() override {
        GdiTest::SetUp();
        const INT indices[] = {COLOR_3DLIGHT, COLOR_3DHILIGHT, COLOR_3DSHADOW, COLOR_3DDKSHADOW,
                               COLOR_3DFACE,  COLOR_WINDOW,    COLOR_WINDOWFRAME};
        const COLORREF colors[] = {RGB(10, 10, 10), RGB(20, 20, 20), RGB(30, 30, 30), RGB(40, 40, 40),
                                   RGB(50, 50, 50), RGB(60, 60, 60), RGB(70, 70, 70)};
        SetSysColors(7, indices, colors);
    }
    void TearDown() override {
        brimlox::gdi::ResetSysColors();
        GdiTest::TearDown();
    }
};

struct Recorded {
    UINT edge = 0, flags = 0;
    int ok = 0;
    RECT adjusted{};
    std::string pixels;
};

// One line of drawedge_windows.txt: "E edge flags result l,t,r,b row/row/...", all in hex
// except the result and the rectangle.
bool ParseRecorded(const std::string& line, Recorded& r) {
    std::istringstream in(line);
    std::string tag, rect;
    in >> tag >> std::hex >> r.edge >> r.flags >> std::dec >> r.ok >> rect >> r.pixels;
    return tag == "E" && std::sscanf(rect.c_str(), "%d,%d,%d,%d", &r.adjusted.left, &r.adjusted.top,
                                     &r.adjusted.right, &r.adjusted.bottom) == 4;
}

}  // namespace

// Checked against Windows: every edge (each border alone, the four EDGE_* values and the
// contradictory BDR_OUTER / BDR_INNER) with plain, BF_SOFT, BF_FLAT, BF_MONO and BF_MIDDLE
// combinations on each side set and the four diagonal ends, drawn on the 8x6 rectangle
// (1,1)-(9,7); the file holds what Windows drew, pixel by pixel, and the BF_ADJUST result.
// Diagonals with only BF_TOP or only BF_RIGHT are left out: Windows draws those by running
// its line past the face, which no caller relies on.
TEST_F(GdiEdge, EveryEdgeAndFlagMatchesWindowsPixelForPixel) {
    std::ifstream file(brimlox::test::SourceDir() + "/tests/golden/gdi/drawedge_windows.txt");
    ASSERT_TRUE(file.good());
    std::string line;
    int compared = 0;
    while (std::getline(file, line)) {
        Recorded rec;
        ASSERT_TRUE(ParseRecorded(line, rec)) << line;
        const UINT sides = rec.flags & (BF_RECT | BF_DIAGONAL);
        if (sides == (BF_DIAGONAL | BF_TOP) || sides == (BF_DIAGONAL | BF_RIGHT)) continue;
        Canvas c(10, 8);
        RECT r{1, 1, 9, 7};
        EXPECT_EQ(DrawEdge(c.dc(), &r, rec.edge, rec.flags), rec.ok) << line;
        EXPECT_EQ(PixelMap(c, 0, 0, 10, 8, '/'), rec.pixels) << std::hex << "edge " << rec.edge << " flags " << rec.flags;
        RECT a{1, 1, 9, 7};
        DrawEdge(c.dc(), &a, rec.edge, rec.flags | BF_ADJUST);
        EXPECT_EQ(a, rec.adjusted) << std::hex << "edge " << rec.edge << " flags " << rec.flags;
        ++compared;
    }
    EXPECT_GT(compared, 1300);
}

// Checked against Windows: raised diagonal edges with BF_MIDDLE on a 12x8 rectangle, the
// face filling the side of the line the end flags name, and BF_ADJUST moving the sides named.
TEST_F(GdiEdge, DiagonalEdgesWithMiddleOnAWiderRectangle) {
    const struct {
        UINT flags;
        RECT adjusted;
        const char* pixels;
    } cases[] = {
        {BF_DIAGONAL_ENDTOPRIGHT, {1, 3, 11, 9},
         "............../........l...../.......lh...../......lhfffff./.....lhffffff./....lhfffffff./"
         "...lhffffffff./..lhfffffffff./.lhffffffffff./.............."},
        {BF_DIAGONAL_ENDTOPLEFT, {3, 3, 13, 9},
         "............../.lhffffffffff./..lhfffffffff./...lhffffffff./....lhfffffff./.....lhffffff./"
         "......lhfffff./.......lh...../........l...../.............."},
        {BF_DIAGONAL_ENDBOTTOMLEFT, {3, 1, 13, 7},
         "............../.ffffffsd...../.fffffsd....../.ffffsd......./.fffsd......../.ffsd........./"
         ".fsd........../.sd.........../.d............/.............."},
        {BF_DIAGONAL_ENDBOTTOMRIGHT, {1, 1, 11, 7},
         "............../.d............/.sd.........../.fsd........../.ffsd........./.fffsd......../"
         ".ffffsd......./.fffffsd....../.ffffffsd...../.............."},
    };
    for (const auto& tc : cases) {
        Canvas c(14, 10);
        RECT r{1, 1, 13, 9};
        EXPECT_TRUE(DrawEdge(c.dc(), &r, EDGE_RAISED, tc.flags | BF_MIDDLE | BF_ADJUST));
        EXPECT_EQ(r, tc.adjusted) << std::hex << tc.flags;
        EXPECT_EQ(PixelMap(c, 0, 0, 14, 10, '/'), tc.pixels) << std::hex << tc.flags;
    }
}

// Checked against Windows: a rectangle too small for its borders ends up inverted by
// BF_ADJUST, and the middle is then filled like a PatBlt with negative extents; edges ignore
// the DC's ROP2 mode; a bad DC still succeeds and adjusts; no rectangle fails.
TEST_F(GdiEdge, SmallRectanglesRopModesAndBadInput) {
    {
        Canvas c(6, 6);
        RECT r{1, 1, 4, 4};
        EXPECT_TRUE(DrawEdge(c.dc(), &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
        EXPECT_EQ(r, (RECT{3, 3, 2, 2}));
        EXPECT_EQ(PixelMap(c, 0, 0, 6, 5, '/'), "....../.lld../.lsd../.ddf../......");
    }
    {
        Canvas c(8, 8);
        SetROP2(c.dc(), R2_XORPEN);
        RECT r{1, 1, 7, 7};
        EXPECT_TRUE(DrawEdge(c.dc(), &r, EDGE_RAISED, BF_RECT));
        EXPECT_EQ(PixelMap(c, 0, 0, 8, 8, '/'),
                  "......../.llllld./.lhhhsd./.lh..sd./.lh..sd./.lssssd./.dddddd./........");
    }
    RECT r{1, 1, 9, 7};
    EXPECT_TRUE(DrawEdge(reinterpret_cast<HDC>(0x1234), &r, EDGE_RAISED, BF_RECT | BF_ADJUST));
    EXPECT_EQ(r, (RECT{3, 3, 7, 5}));
    Canvas c(4, 4);
    EXPECT_FALSE(DrawEdge(c.dc(), nullptr, EDGE_RAISED, BF_RECT));
    RECT extreme{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    EXPECT_TRUE(DrawEdge(c.dc(), &extreme, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_ADJUST));
    EXPECT_EQ(c.At(2, 2), RGB(50, 50, 50));
    RECT diagonal{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    EXPECT_TRUE(DrawEdge(c.dc(), &diagonal, EDGE_SUNKEN, BF_DIAGONAL_ENDTOPLEFT | BF_MIDDLE));
}

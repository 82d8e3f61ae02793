// PatBlt, BitBlt and StretchBlt: the facts below were checked against Windows (a small
// Win32 program reading pixels back with GetPixel), and each test says which.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/trace_replay.h"
#include "layout_dc.h"
#include "support/gdi_test.h"

using brimlox::test::Canvas;
using brimlox::test::GdiTest;

namespace {

// A fresh bitmap of one layout filled with one colour.
class BitmapDc : public brimlox::test::LayoutDc {
public:
    BitmapDc(int w, int h, int bpp, COLORREF fill = RGB(255, 255, 255)) : LayoutDc(w, h, bpp) {
        HBRUSH b = CreateSolidBrush(fill);
        RECT r{0, 0, w, h};
        if (bpp == 1) {
            PatBlt(dc(), 0, 0, w, h, fill == RGB(0, 0, 0) ? BLACKNESS : WHITENESS);
        } else {
            FillRect(dc(), &r, b);
        }
        DeleteObject(b);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc(), x, y); }
    // Row y as '1' (white) and '0' (other) characters.
    std::string Bits(int y, int w) const {
        std::string s;
        for (int x = 0; x < w; ++x) s += At(x, y) == RGB(255, 255, 255) ? '1' : '0';
        return s;
    }
    // The red channel of each pixel of row y, 255 meaning "untouched white".
    std::vector<int> Reds(int y, int x0, int x1) const {
        std::vector<int> v;
        for (int x = x0; x < x1; ++x) v.push_back(GetRValue(At(x, y)));
        return v;
    }
};

// A 32-bpp row whose pixel x has red value x * step (green and blue 0), for following mappings.
class RampDc : public BitmapDc {
public:
    explicit RampDc(int n, bool vertical = false, int step = 1) : BitmapDc(vertical ? 1 : n, vertical ? n : 1, 32) {
        for (int i = 0; i < n; ++i) SetPixel(dc(), vertical ? 0 : i, vertical ? i : 0, RGB(i * step, 0, 0));
    }
};

}  // namespace

class GdiBlit : public GdiTest {};

TEST_F(GdiBlit, HatchStylesHaveTheWindowsCellLayout) {
    // Checked against Windows with the brush origin at 0,0: horizontal on row 3, vertical on
    // column 4, the diagonals through the corners.
    const char* expected[6][8] = {
        {"11111111", "11111111", "11111111", "00000000", "11111111", "11111111", "11111111", "11111111"},
        {"11110111", "11110111", "11110111", "11110111", "11110111", "11110111", "11110111", "11110111"},
        {"01111111", "10111111", "11011111", "11101111", "11110111", "11111011", "11111101", "11111110"},
        {"11111110", "11111101", "11111011", "11110111", "11101111", "11011111", "10111111", "01111111"},
        {"11110111", "11110111", "11110111", "00000000", "11110111", "11110111", "11110111", "11110111"},
        {"01111110", "10111101", "11011011", "11100111", "11100111", "11011011", "10111101", "01111110"},
    };
    for (int hatch = HS_HORIZONTAL; hatch <= HS_DIAGCROSS; ++hatch) {
        BitmapDc c(16, 8, 32);
        HBRUSH b = CreateHatchBrush(hatch, RGB(0, 0, 0));
        RECT r{0, 0, 16, 8};
        FillRect(c.dc(), &r, b);
        for (int y = 0; y < 8; ++y) {
            EXPECT_EQ(c.Bits(y, 8), expected[hatch][y]) << "hatch " << hatch << " row " << y;
            EXPECT_EQ(c.Bits(y, 16).substr(8), expected[hatch][y]) << "the cell repeats";
        }
        DeleteObject(b);
    }
}

TEST_F(GdiBlit, ColoursOnMonoBitmapsFollowTheWindowsRules) {
    BitmapDc m(16, 8, 1, RGB(0, 0, 0));
    // Checked against Windows: a single colour takes the nearer of black and white, so white
    // from R + G + B = 383 up.
    EXPECT_EQ(SetPixel(m.dc(), 0, 0, RGB(127, 128, 127)), RGB(0, 0, 0));
    EXPECT_EQ(SetPixel(m.dc(), 0, 0, RGB(128, 128, 127)), RGB(255, 255, 255));
    EXPECT_EQ(SetPixel(m.dc(), 0, 0, RGB(255, 127, 0)), RGB(0, 0, 0));
    EXPECT_EQ(SetPixel(m.dc(), 0, 0, RGB(255, 128, 0)), RGB(255, 255, 255));
    // Checked against Windows: a solid brush is dithered by brightness (30 R + 59 G + 11 B) /
    // 100 with an 8x8 ordered dither that follows the brush origin; grey 128 is a checkerboard,
    // pure red sets 19 of 64 cells, pure green 38, pure blue 7.
    RECT r{0, 0, 16, 8};
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    FillRect(m.dc(), &r, grey);
    EXPECT_EQ(m.Bits(0, 8), "01010101");
    EXPECT_EQ(m.Bits(1, 8), "10101010");
    SetBrushOrgEx(m.dc(), 1, 0, nullptr);
    FillRect(m.dc(), &r, grey);
    EXPECT_EQ(m.Bits(0, 8), "10101010");
    SetBrushOrgEx(m.dc(), 0, 0, nullptr);
    DeleteObject(grey);
    const std::pair<COLORREF, int> counts[] = {{RGB(255, 0, 0), 19}, {RGB(0, 255, 0), 38}, {RGB(0, 0, 255), 7},
                                               {RGB(10, 200, 30), 31}, {RGB(60, 120, 180), 27},
                                               {RGB(254, 254, 254), 64}, {RGB(1, 1, 1), 0}};
    for (auto [colour, whites] : counts) {
        HBRUSH b = CreateSolidBrush(colour);
        FillRect(m.dc(), &r, b);
        int n = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) n += m.At(x, y) == RGB(255, 255, 255);
        EXPECT_EQ(n, whites) << std::hex << colour;
        DeleteObject(b);
    }
}

TEST_F(GdiBlit, HatchAndPatternBrushesOnMonoBitmaps) {
    BitmapDc m(8, 8, 1, RGB(0, 0, 0));
    RECT r{0, 0, 8, 8};
    // Checked against Windows: equal hatch and background colours both take the nearer of
    // black and white; otherwise an exact black or white line keeps its value and the
    // background takes the other; any other line colour is the opposite of the background.
    struct HatchCase {
        COLORREF line, back;
        const char* lineBack;  // line bit, background bit
    };
    const HatchCase cases[] = {{RGB(128, 128, 128), RGB(128, 128, 128), "11"}, {RGB(0, 0, 0), RGB(10, 10, 10), "01"},
                               {RGB(255, 0, 0), RGB(0, 0, 255), "10"},         {RGB(255, 0, 0), RGB(255, 255, 255), "01"},
                               {RGB(200, 200, 200), RGB(0, 0, 0), "10"},       {RGB(10, 10, 10), RGB(128, 128, 127), "01"},
                               {RGB(10, 10, 10), RGB(127, 128, 127), "10"},    {RGB(255, 255, 255), RGB(245, 245, 245), "10"}};
    for (const HatchCase& c : cases) {
        HBRUSH h = CreateHatchBrush(HS_HORIZONTAL, c.line);
        SetBkColor(m.dc(), c.back);
        FillRect(m.dc(), &r, h);
        std::string got = m.Bits(3, 1) + m.Bits(0, 1);
        EXPECT_EQ(got, c.lineBack) << std::hex << c.line << " on " << c.back;
        DeleteObject(h);
    }
    // Checked against Windows: a mono pattern brush is copied bit for bit onto a mono bitmap
    // whatever the text and background colours; a colour pattern brush is dithered.
    WORD bits[8] = {0xB2, 0xB2, 0xB2, 0xB2, 0xB2, 0xB2, 0xB2, 0xB2};
    HBITMAP monoPattern = CreateBitmap(8, 8, 1, 1, bits);
    HBRUSH monoBrush = CreatePatternBrush(monoPattern);
    HGDIOBJ old = SelectObject(m.dc(), monoBrush);
    SetTextColor(m.dc(), RGB(255, 255, 255));
    SetBkColor(m.dc(), RGB(0, 0, 0));
    EXPECT_TRUE(PatBlt(m.dc(), 0, 0, 8, 1, PATCOPY));
    EXPECT_EQ(m.Bits(0, 8), "10110010");
    BitmapDc colourPattern(8, 8, 32);
    const COLORREF columns[8] = {RGB(255, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(128, 128, 128),
                                 RGB(200, 200, 200), RGB(0, 0, 255), RGB(0, 255, 0), RGB(50, 50, 50)};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) SetPixel(colourPattern.dc(), x, y, columns[x]);
    HBRUSH colourBrush = CreatePatternBrush(static_cast<HBITMAP>(GetCurrentObject(colourPattern.dc(), OBJ_BITMAP)));
    SelectObject(m.dc(), colourBrush);
    EXPECT_TRUE(PatBlt(m.dc(), 0, 0, 8, 1, PATCOPY));
    EXPECT_EQ(m.Bits(0, 8), "01010000");
    // Checked against Windows: on a colour bitmap a mono pattern's 0 bits take the text colour
    // and its 1 bits the background colour.
    Canvas c(8, 1);
    SelectObject(c.dc(), monoBrush);
    SetTextColor(c.dc(), RGB(255, 0, 0));
    SetBkColor(c.dc(), RGB(0, 0, 255));
    PatBlt(c.dc(), 0, 0, 8, 1, PATCOPY);
    EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(c.At(1, 0), RGB(255, 0, 0));
    SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
    SelectObject(m.dc(), old);
    DeleteObject(colourBrush);
    DeleteObject(monoBrush);
    DeleteObject(monoPattern);
}

TEST_F(GdiBlit, ColourAndMonoConversionUseTheRightDcColours) {
    const COLORREF row[6] = {RGB(255, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(128, 128, 128), RGB(0, 0, 255),
                             RGB(10, 20, 30)};
    for (int bpp : {32, 24}) {
        BitmapDc src(6, 1, bpp);
        for (int x = 0; x < 6; ++x) SetPixel(src.dc(), x, 0, row[x]);
        BitmapDc dst(6, 1, 1, RGB(0, 0, 0));
        // Checked against Windows: the source DC's background colour becomes white and every
        // other colour black; the destination DC's colours play no part.
        SetBkColor(src.dc(), RGB(0, 0, 255));
        SetBkColor(dst.dc(), RGB(255, 0, 0));
        SetTextColor(dst.dc(), RGB(255, 255, 255));
        EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 6, 1, src.dc(), 0, 0, SRCCOPY));
        EXPECT_EQ(dst.Bits(0, 6), "000010") << bpp;
        SetBkColor(src.dc(), RGB(255, 255, 255));
        BitBlt(dst.dc(), 0, 0, 6, 1, src.dc(), 0, 0, SRCCOPY);
        EXPECT_EQ(dst.Bits(0, 6), "010000") << bpp;
    }
    WORD bits[1] = {0xB2};
    HBITMAP mono = CreateBitmap(8, 1, 1, 1, bits);
    HDC monoDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(monoDc, mono);
    SetTextColor(monoDc, RGB(0, 255, 0));
    SetBkColor(monoDc, RGB(255, 255, 0));
    for (int bpp : {32, 24, 1}) {
        BitmapDc dst(8, 1, bpp, RGB(0, 0, 0));
        SetTextColor(dst.dc(), RGB(255, 0, 0));
        SetBkColor(dst.dc(), RGB(0, 0, 255));
        // Checked against Windows: a mono source paints 0 in the destination's text colour and
        // 1 in its background colour; mono onto mono copies the bits unchanged.
        EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 8, 1, monoDc, 0, 0, SRCCOPY));
        COLORREF one = bpp == 1 ? RGB(255, 255, 255) : RGB(0, 0, 255);
        COLORREF zero = bpp == 1 ? RGB(0, 0, 0) : RGB(255, 0, 0);
        const char* pattern = "10110010";
        for (int x = 0; x < 8; ++x) EXPECT_EQ(dst.At(x, 0), pattern[x] == '1' ? one : zero) << bpp << " at " << x;
    }
    SelectObject(monoDc, old);
    DeleteObject(mono);
    DeleteDC(monoDc);
}

TEST_F(GdiBlit, SourceOutsideItsBitmapClipsAndArgumentsAreChecked) {
    BitmapDc src(4, 4, 32, RGB(255, 0, 0));
    Canvas dst(8, 8);
    // Checked against Windows: only pixels with a source inside the 4x4 bitmap change.
    EXPECT_TRUE(BitBlt(dst.dc(), 1, 1, 6, 6, src.dc(), -2, -1, SRCCOPY));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(dst.At(x, y), x >= 3 && x < 7 && y >= 2 && y < 6 ? RGB(255, 0, 0) : RGB(255, 255, 255)) << x << "," << y;
    // Checked against Windows: the same holds when stretching, and an operation without a
    // source is not limited by the source bitmap.
    RECT all{0, 0, 8, 8};
    FillRect(dst.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(StretchBlt(dst.dc(), 0, 0, 8, 8, src.dc(), -2, -2, 4, 4, SRCCOPY));
    EXPECT_EQ(dst.At(4, 4), RGB(255, 0, 0));
    EXPECT_EQ(dst.At(3, 4), RGB(255, 255, 255));
    EXPECT_EQ(dst.At(4, 3), RGB(255, 255, 255));
    EXPECT_TRUE(BitBlt(dst.dc(), 1, 1, 6, 6, src.dc(), -2, -1, BLACKNESS));
    EXPECT_EQ(dst.At(1, 1), RGB(0, 0, 0));
    // Checked against Windows: zero sizes succeed without drawing; a missing or wrong source
    // fails for an operation that reads one; PatBlt refuses source operations.
    FillRect(dst.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 0, 3, src.dc(), 0, 0, SRCCOPY));
    EXPECT_TRUE(StretchBlt(dst.dc(), 0, 0, 3, 3, src.dc(), 0, 0, 0, 3, SRCCOPY));
    EXPECT_TRUE(PatBlt(dst.dc(), 0, 0, 3, 0, BLACKNESS));
    EXPECT_FALSE(BitBlt(dst.dc(), 0, 0, 3, 3, nullptr, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(dst.dc(), 0, 0, 3, 3, reinterpret_cast<HDC>(GetStockObject(WHITE_BRUSH)), 0, 0, SRCCOPY));
    EXPECT_FALSE(PatBlt(dst.dc(), 0, 0, 3, 3, SRCCOPY));
    EXPECT_FALSE(PatBlt(nullptr, 0, 0, 3, 3, PATCOPY));
    EXPECT_FALSE(StretchBlt(dst.dc(), 0, 0, 3, 3, nullptr, 0, 0, 2, 2, SRCCOPY));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(dst.At(x, y), RGB(255, 255, 255));
    EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 3, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(dst.At(2, 0), RGB(0, 0, 0));
    // Huge values neither overflow nor write outside the bitmap.
    EXPECT_TRUE(BitBlt(dst.dc(), -2000000000, 0, 2100000000, 8, src.dc(), 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dst.dc(), 2147483600, 2147483600, 2147483647, 2147483647, src.dc(), 0, 0, SRCCOPY));
    EXPECT_TRUE(PatBlt(dst.dc(), -2147483647, -2147483647, -2147483647, 2147483647, WHITENESS));
    EXPECT_TRUE(StretchBlt(dst.dc(), 0, 1, 2147483647, 1, src.dc(), 0, 0, 3, 1, SRCCOPY));
    EXPECT_EQ(dst.At(7, 1), RGB(255, 0, 0));
    EXPECT_TRUE(StretchBlt(dst.dc(), -2147483647, 0, 2147483647, 8, src.dc(), -2147483647, 0, 2147483647, 4, SRCCOPY));
}

TEST_F(GdiBlit, NegativeExtentsAndMirroring) {
    RampDc src(10);
    BitmapDc d(12, 1, 32);
    auto reset = [&] { PatBlt(d.dc(), 0, 0, 12, 1, WHITENESS); };
    using V = std::vector<int>;
    // Checked against Windows: a negative extent covers pos + len + 1 .. pos, in BitBlt,
    // PatBlt and StretchBlt alike; BitBlt never mirrors.
    EXPECT_TRUE(BitBlt(d.dc(), 6, 0, -3, 1, src.dc(), 4, 0, SRCCOPY));
    EXPECT_EQ(d.Reds(0, 3, 8), (V{255, 2, 3, 4, 255}));
    reset();
    EXPECT_TRUE(PatBlt(d.dc(), 5, 0, -3, 1, BLACKNESS));
    EXPECT_EQ(d.Reds(0, 2, 7), (V{255, 0, 0, 0, 255}));
    // Checked against Windows: StretchBlt mirrors when exactly one of the two widths is negative.
    SetStretchBltMode(d.dc(), COLORONCOLOR);
    reset();
    StretchBlt(d.dc(), 5, 0, -4, 1, src.dc(), 1, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(d.Reds(0, 1, 7), (V{255, 4, 3, 2, 1, 255}));
    reset();
    StretchBlt(d.dc(), 1, 0, 4, 1, src.dc(), 5, 0, -4, 1, SRCCOPY);
    EXPECT_EQ(d.Reds(0, 0, 6), (V{255, 5, 4, 3, 2, 255}));
    reset();
    StretchBlt(d.dc(), 5, 0, -4, 1, src.dc(), 5, 0, -4, 1, SRCCOPY);
    EXPECT_EQ(d.Reds(0, 1, 7), (V{255, 2, 3, 4, 5, 255}));
    reset();
    StretchBlt(d.dc(), 4, 0, -3, 1, src.dc(), 0, 0, 10, 1, SRCCOPY);
    EXPECT_EQ(d.Reds(0, 1, 6), (V{255, 9, 6, 2, 255}));
    reset();
    StretchBlt(d.dc(), 8, 0, -7, 1, src.dc(), 1, 0, 3, 1, SRCCOPY);
    EXPECT_EQ(d.Reds(0, 2, 9), (V{3, 3, 2, 2, 2, 1, 1}));
    // Vertical mirroring.
    RampDc column(4, true);
    BitmapDc v(1, 4, 32);
    BitBlt(v.dc(), 0, 0, 1, 4, column.dc(), 0, 0, SRCCOPY);
    StretchBlt(v.dc(), 0, 3, 1, -4, column.dc(), 0, 0, 1, 4, SRCCOPY);
    EXPECT_EQ(GetRValue(v.At(0, 0)), 3);
    EXPECT_EQ(GetRValue(v.At(0, 3)), 0);
}

TEST_F(GdiBlit, StretchingPicksAndMergesPixelsAsWindowsDoes) {
    using V = std::vector<int>;
    RampDc src(40);
    BitmapDc d(40, 1, 32);
    SetStretchBltMode(d.dc(), COLORONCOLOR);
    auto stretch = [&](int from, int to, int at = 0) {
        StretchBlt(d.dc(), 0, 0, to, 1, src.dc(), at, 0, from, 1, SRCCOPY);
        return d.Reds(0, 0, to);
    };
    // Checked against Windows: a shrink keeps the last column of each run of source columns,
    // run k ending at round((k + 1) * src / dst) - 1; an enlargement repeats each source
    // column over the same kind of runs of destination columns.
    EXPECT_EQ(stretch(10, 3), (V{2, 6, 9}));
    EXPECT_EQ(stretch(10, 4), (V{2, 4, 7, 9}));
    EXPECT_EQ(stretch(10, 7), (V{0, 2, 3, 5, 6, 8, 9}));
    EXPECT_EQ(stretch(7, 6), (V{0, 1, 3, 4, 5, 6}));
    EXPECT_EQ(stretch(3, 10), (V{0, 0, 0, 1, 1, 1, 1, 2, 2, 2}));
    EXPECT_EQ(stretch(4, 10), (V{0, 0, 0, 1, 1, 2, 2, 2, 3, 3}));
    EXPECT_EQ(stretch(5, 8), (V{0, 0, 1, 2, 2, 3, 4, 4}));
    EXPECT_EQ(stretch(10, 3, 5), (V{7, 11, 14}));
    // Checked against Windows: vertically the first row of each run is kept.
    RampDc column(10, true);
    BitmapDc v(1, 10, 32);
    SetStretchBltMode(v.dc(), COLORONCOLOR);
    StretchBlt(v.dc(), 0, 0, 1, 3, column.dc(), 0, 0, 1, 10, SRCCOPY);
    EXPECT_EQ((V{GetRValue(v.At(0, 0)), GetRValue(v.At(0, 1)), GetRValue(v.At(0, 2))}), (V{0, 3, 7}));
    // Checked against Windows: BLACKONWHITE (the default) ANDs a run's pixels and WHITEONBLACK
    // ORs them, channel by channel: 70 & 80 & 90 = 64.
    RampDc tens(10, false, 10);
    SetStretchBltMode(d.dc(), BLACKONWHITE);
    StretchBlt(d.dc(), 0, 0, 3, 1, tens.dc(), 0, 0, 10, 1, SRCCOPY);
    EXPECT_EQ(d.Reds(0, 0, 3), (V{0, 0, 64}));
    SetStretchBltMode(d.dc(), WHITEONBLACK);
    StretchBlt(d.dc(), 0, 0, 3, 1, tens.dc(), 0, 0, 10, 1, SRCCOPY);
    EXPECT_EQ(d.Reds(0, 0, 3), (V{0 | 10 | 20, 30 | 40 | 50 | 60, 70 | 80 | 90}));
    // Checked against Windows: shrinking a white 4x4 with one black pixel to 2x2 keeps the
    // black pixel with BLACKONWHITE (also on mono bitmaps) and loses it with WHITEONBLACK.
    for (int bpp : {32, 1}) {
        BitmapDc q(4, 4, bpp);
        SetPixel(q.dc(), 1, 2, RGB(0, 0, 0));
        BitmapDc r(2, 2, bpp, RGB(0, 0, 0));
        SetStretchBltMode(r.dc(), BLACKONWHITE);
        StretchBlt(r.dc(), 0, 0, 2, 2, q.dc(), 0, 0, 4, 4, SRCCOPY);
        EXPECT_EQ(r.Bits(0, 2) + r.Bits(1, 2), "1101") << bpp;
        SetStretchBltMode(r.dc(), WHITEONBLACK);
        StretchBlt(r.dc(), 0, 0, 2, 2, q.dc(), 0, 0, 4, 4, SRCCOPY);
        EXPECT_EQ(r.Bits(0, 2) + r.Bits(1, 2), "1111") << bpp;
    }
    // Checked against Windows: a colour source is converted to mono before its runs merge,
    // and a run partly outside the source merges only the pixels inside; a run wholly outside
    // leaves its destination pixel alone.
    BitmapDc four(4, 1, 32);
    const COLORREF fourColours[4] = {RGB(0, 0, 255), RGB(255, 255, 255), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (int x = 0; x < 4; ++x) SetPixel(four.dc(), x, 0, fourColours[x]);
    SetBkColor(four.dc(), RGB(0, 0, 255));
    BitmapDc monoPair(2, 1, 1);
    const std::pair<int, const char*> monoRuns[] = {{BLACKONWHITE, "00"}, {WHITEONBLACK, "11"}, {COLORONCOLOR, "01"}};
    for (auto [mode, bits] : monoRuns) {
        SetStretchBltMode(monoPair.dc(), mode);
        StretchBlt(monoPair.dc(), 0, 0, 2, 1, four.dc(), 0, 0, 4, 1, SRCCOPY);
        EXPECT_EQ(monoPair.Bits(0, 2), bits) << mode;
    }
    const COLORREF magenta = RGB(255, 0, 255);
    const std::pair<int, COLORREF> partial[] = {{BLACKONWHITE, RGB(0, 255, 0)}, {WHITEONBLACK, RGB(255, 255, 255)},
                                                {COLORONCOLOR, RGB(0, 255, 0)}};
    for (auto [mode, third] : partial) {
        BitmapDc out(4, 1, 32, magenta);
        SetStretchBltMode(out.dc(), mode);
        StretchBlt(out.dc(), 0, 0, 4, 1, four.dc(), -3, 0, 8, 1, SRCCOPY);
        EXPECT_EQ(out.At(0, 0), magenta) << mode;
        EXPECT_EQ(out.At(1, 0), RGB(0, 0, 255)) << mode;
        EXPECT_EQ(out.At(2, 0), third) << mode;
        EXPECT_EQ(out.At(3, 0), RGB(0, 0, 255)) << mode;
    }
    // HALFTONE takes the rounded average of a run, channel by channel (our own filter; the
    // reference program picked one pixel instead).
    BitmapDc pair(2, 1, 32);
    SetPixel(pair.dc(), 0, 0, RGB(100, 50, 200));
    SetPixel(pair.dc(), 1, 0, RGB(30, 61, 90));
    SetStretchBltMode(d.dc(), HALFTONE);
    StretchBlt(d.dc(), 0, 0, 1, 1, pair.dc(), 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(d.At(0, 0), RGB(65, 56, 145));
}

TEST_F(GdiBlit, OverlappingCopiesAndTransparentHatches) {
    // Copies within one bitmap behave as memmove in every direction.
    for (auto [dx, dy] : {std::pair{2, 1}, std::pair{-2, -1}, std::pair{3, 0}, std::pair{0, -2}}) {
        RampDc ramp(16);
        BitmapDc c(16, 6, 32);
        for (int y = 0; y < 6; ++y) BitBlt(c.dc(), 0, y, 16, 1, ramp.dc(), 0, 0, SRCCOPY);
        for (int y = 0; y < 6; ++y) SetPixel(c.dc(), 0, y, RGB(0, 0, 100 + y));
        std::vector<COLORREF> before;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 16; ++x) before.push_back(c.At(x, y));
        EXPECT_TRUE(BitBlt(c.dc(), 4 + dx, 2 + dy, 8, 3, c.dc(), 4, 2, SRCINVERT));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 8; ++x)
                ASSERT_EQ(c.At(4 + dx + x, 2 + dy + y), before[(2 + y) * 16 + 4 + x] ^ before[(2 + dy + y) * 16 + 4 + dx + x])
                    << dx << "," << dy;
    }
    // Checked against Windows: under TRANSPARENT a hatch brush leaves its background alone
    // for every operation, and its lines go through the operation.
    Canvas c(8, 1, RGB(255, 0, 0));
    HBRUSH h = CreateHatchBrush(HS_VERTICAL, RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(c.dc(), h);
    SetBkMode(c.dc(), TRANSPARENT);
    SetBkColor(c.dc(), RGB(0, 255, 0));
    PatBlt(c.dc(), 0, 0, 8, 1, PATCOPY);
    EXPECT_EQ(c.At(3, 0), RGB(255, 0, 0));
    EXPECT_EQ(c.At(4, 0), RGB(0, 0, 255));
    PatBlt(c.dc(), 0, 0, 8, 1, PATINVERT);
    EXPECT_EQ(c.At(3, 0), RGB(255, 0, 0));
    EXPECT_EQ(c.At(4, 0), RGB(0, 0, 0));
    SetBkMode(c.dc(), OPAQUE);
    PatBlt(c.dc(), 0, 0, 8, 1, PATCOPY);
    EXPECT_EQ(c.At(3, 0), RGB(0, 255, 0));
    SelectObject(c.dc(), old);
    DeleteObject(h);
}

TEST_F(GdiBlit, ReplayHandlersRedrawTheBlits) {
    namespace replay = brimlox::gdi::replay;
    Canvas dst(4, 4);
    BitmapDc src(4, 4, 32, RGB(0, 0, 255));
    replay::Context ctx;
    // Traced handles 1 and 2 stand for this run's destination and source DCs.
    ctx.Bind(1u, dst.dc());
    ctx.Bind(2u, src.dc());
    auto& handlers = replay::Handlers();
    ASSERT_TRUE(handlers.count("PatBlt") && handlers.count("BitBlt") && handlers.count("StretchBlt"));
    handlers["PatBlt"](ctx, replay::Json::parse("[1,0,0,4,1,66]"), replay::Json(1));
    EXPECT_EQ(dst.At(3, 0), RGB(0, 0, 0));
    handlers["BitBlt"](ctx, replay::Json::parse("[1,0,1,2,1,2,0,0,13369376]"), replay::Json(1));
    EXPECT_EQ(dst.At(1, 1), RGB(0, 0, 255));
    EXPECT_EQ(dst.At(2, 1), RGB(255, 255, 255));
    handlers["StretchBlt"](ctx, replay::Json::parse("[1,0,2,4,2,2,0,0,1,1,13369376]"), replay::Json(1));
    EXPECT_EQ(dst.At(3, 3), RGB(0, 0, 255));
    EXPECT_THROW(handlers["BitBlt"](ctx, replay::Json::parse("[1,0]"), replay::Json(1)), replay::ReplayError);
    ASSERT_TRUE(handlers.count("TransparentBlt"));
    // Blue is the key: nothing changes; then red through the same call.
    handlers["TransparentBlt"](ctx, replay::Json::parse("[1,0,0,4,4,2,0,0,4,4,16711680]"), replay::Json(1));
    EXPECT_EQ(dst.At(0, 0), RGB(0, 0, 0));
    SetPixel(src.dc(), 0, 0, RGB(255, 0, 0));
    handlers["TransparentBlt"](ctx, replay::Json::parse("[1,0,0,1,1,2,0,0,1,1,16711680]"), replay::Json(1));
    EXPECT_EQ(dst.At(0, 0), RGB(255, 0, 0));
}

namespace {

// An 8 x 4 source whose pixel (x, y) is RGB(x + 1, y + 1, 0), and a 16 x 8 destination of one
// marker colour. Rows of the destination print as "xy" pairs of the source pixel each pixel
// came from, ".." where the marker is left.
struct KeyedCase {
    BitmapDc src{8, 4, 32};
    BitmapDc dst{16, 8, 32};
    static constexpr COLORREF kMarker = RGB(0xEF, 0xCD, 0xAB);
    static constexpr COLORREF kKey = RGB(3, 2, 0);  // the pixel (2, 1)

    KeyedCase() {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x) SetPixel(src.dc(), x, y, RGB(x + 1, y + 1, 0));
        HBRUSH b = CreateSolidBrush(kMarker);
        RECT all{0, 0, 16, 8};
        FillRect(dst.dc(), &all, b);
        DeleteObject(b);
    }
    std::string Row(int y, int w = 16) const {
        std::string s;
        for (int x = 0; x < w; ++x) {
            COLORREF c = dst.At(x, y);
            s += c == kMarker ? std::string("..")
                              : std::to_string(GetRValue(c) - 1) + std::to_string(GetGValue(c) - 1);
        }
        return s;
    }
};

}  // namespace

TEST_F(GdiBlit, TransparentBltKeysCopiesAndStretchesAsWindowsDoes) {
    // Each expectation was read off Windows' GDI as wine implements it (tools/wine).
    {
        KeyedCase k;
        EXPECT_TRUE(TransparentBlt(k.dst.dc(), 1, 1, 8, 4, k.src.dc(), 0, 0, 8, 4, KeyedCase::kKey));
        EXPECT_EQ(k.Row(0), "................................");
        EXPECT_EQ(k.Row(2), "..0111..3141516171..............");
        EXPECT_EQ(k.Row(4), "..0313233343536373..............");
    }
    {
        KeyedCase k;  // mirroring is refused and draws nothing
        EXPECT_FALSE(TransparentBlt(k.dst.dc(), 9, 1, -8, 4, k.src.dc(), 0, 0, 8, 4, KeyedCase::kKey));
        EXPECT_FALSE(TransparentBlt(k.dst.dc(), 1, 1, 8, 4, k.src.dc(), 8, 0, -8, 4, KeyedCase::kKey));
        EXPECT_FALSE(TransparentBlt(k.dst.dc(), 1, 1, 8, 4, nullptr, 0, 0, 8, 4, KeyedCase::kKey));
        EXPECT_EQ(k.Row(1), "................................");
    }
    {
        KeyedCase k;  // enlarging by 11/8 and 6/4 repeats pixels at the rounded run ends
        EXPECT_TRUE(TransparentBlt(k.dst.dc(), 0, 0, 11, 6, k.src.dc(), 0, 0, 8, 4, KeyedCase::kKey));
        EXPECT_EQ(k.Row(0), "0010102030304050606070..........");
        EXPECT_EQ(k.Row(1), "0010102030304050606070..........");
        EXPECT_EQ(k.Row(2), "011111..31314151616171..........");
        EXPECT_EQ(k.Row(4), "0212122232324252626272..........");
        EXPECT_EQ(k.Row(5), "0313132333334353636373..........");
        EXPECT_EQ(k.Row(6), "................................");
    }
    {
        KeyedCase k;  // onto itself: the copy reads the pixels as they were before it
        EXPECT_TRUE(TransparentBlt(k.src.dc(), 1, 0, 6, 2, k.src.dc(), 0, 0, 6, 2, KeyedCase::kKey));
        std::string row;
        for (int x = 0; x < 8; ++x) {
            COLORREF c = k.src.At(x, 1);
            row += std::to_string(GetRValue(c) - 1) + std::to_string(GetGValue(c) - 1);
        }
        EXPECT_EQ(row, "0101113131415171");
    }
    {
        // Pixels whose source lies outside the source bitmap are not drawn (wine paints them
        // black, reading the missing pixels as zero; the destination is kept here as BitBlt
        // keeps it).
        KeyedCase k;
        EXPECT_TRUE(TransparentBlt(k.dst.dc(), 1, 1, 6, 4, k.src.dc(), 5, 0, 6, 4, KeyedCase::kKey));
        EXPECT_EQ(k.Row(1), "..506070........................");
        EXPECT_TRUE(TransparentBlt(k.dst.dc(), 8, 4, 6, 4, k.src.dc(), -2, -1, 6, 4, KeyedCase::kKey));
        EXPECT_EQ(k.Row(4).substr(16), "................");
        EXPECT_EQ(k.Row(5).substr(16), "....00102030....");
        EXPECT_EQ(k.Row(6).substr(16), "....0111..31....");
    }
    {
        // A mono destination takes white where the source has the source DC's background
        // colour, as BitBlt converts.
        BitmapDc mono(4, 1, 1, RGB(0, 0, 0));
        BitmapDc colours(4, 1, 32);
        SetPixel(colours.dc(), 0, 0, RGB(1, 2, 3));
        SetPixel(colours.dc(), 1, 0, RGB(9, 9, 9));
        SetPixel(colours.dc(), 2, 0, RGB(1, 2, 3));
        SetPixel(colours.dc(), 3, 0, RGB(7, 7, 7));
        SetBkColor(colours.dc(), RGB(9, 9, 9));
        EXPECT_TRUE(TransparentBlt(mono.dc(), 0, 0, 4, 1, colours.dc(), 0, 0, 4, 1, RGB(7, 7, 7)));
        EXPECT_EQ(mono.Bits(0, 4), "0100");
    }
}

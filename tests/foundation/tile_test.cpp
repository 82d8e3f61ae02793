// The tiling painter: every pixel of the area shows the tile pixel its offset asks for, for
// offsets of any sign and size and for areas of a few or of thousands of tiles.
#include <gtest/gtest.h>

#include <climits>

#include "foundation/painters/tile.h"
#include "platform/gdi/gdi.h"
#include "support/gdi_test.h"

namespace brimlox::test {
namespace {

using foundation::TileBitmap;

class TileTest : public GdiTest {
protected:
    // A tile whose every pixel has its own colour: red = x, green = y.
    HBITMAP MakeTile(int width, int height) {
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateBitmap(width, height, 1, 32, nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) SetPixel(dc, x, y, RGB(10 * x, 10 * y, 99));
        SelectObject(dc, old);
        DeleteDC(dc);
        return bitmap;
    }

    // Counts the pixels of the w x h area that do not show the tile pixel at their place
    // plus the offset, modulo the tile.
    static int WrongPixels(const Canvas& canvas, int w, int h, int tileW, int tileH, long long ox, long long oy) {
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const long long tx = ((x + ox) % tileW + tileW) % tileW, ty = ((y + oy) % tileH + tileH) % tileH;
                if (canvas.At(x, y) != RGB(10 * tx, 10 * ty, 99)) ++wrong;
            }
        return wrong;
    }
};

TEST_F(TileTest, EveryPixelShowsTheTilePixelOfItsOffsetWhateverTheOffset) {
    HBITMAP tile = MakeTile(7, 5);
    const long long offsets[][2] = {{0, 0},   {3, 2},     {7, 5},      {16, 11},   {-1, -1},  {-8, -13},
                                    {-7, -5}, {1000003, -999}, {LLONG_MIN / 2, LLONG_MAX / 2}};
    for (const auto& o : offsets) {
        Canvas canvas(30, 12, RGB(0, 0, 255));
        ASSERT_TRUE(TileBitmap(canvas.dc(), 30, 12, tile, o[0], o[1]));
        EXPECT_EQ(WrongPixels(canvas, 30, 12, 7, 5, o[0], o[1]), 0) << "offset " << o[0] << ", " << o[1];
    }
    // Only the area is drawn on.
    Canvas larger(40, 20, RGB(0, 0, 255));
    TileBitmap(larger.dc(), 30, 12, tile, -3, 4);
    EXPECT_EQ(larger.At(30, 0), RGB(0, 0, 255));
    EXPECT_EQ(larger.At(0, 12), RGB(0, 0, 255));
    EXPECT_EQ(larger.At(29, 11), RGB(10 * ((29 - 3 + 35) % 7), 10 * ((11 + 4) % 5), 99));
    DeleteObject(tile);
}

TEST_F(TileTest, AreasOfManyTilesAreCoveredToTheLastPixel) {
    // A 1 x 1 tile, a thin one, and one whose size does not divide the area.
    const int tiles[][2] = {{1, 1}, {2, 1}, {1, 3}, {5, 3}, {13, 9}};
    for (const auto& t : tiles) {
        HBITMAP tile = MakeTile(t[0], t[1]);
        for (long long offset : {0LL, -1LL, 12345LL}) {
            Canvas canvas(333, 77, RGB(0, 0, 255));
            ASSERT_TRUE(TileBitmap(canvas.dc(), 333, 77, tile, offset, -offset));
            EXPECT_EQ(WrongPixels(canvas, 333, 77, t[0], t[1], offset, -offset), 0)
                << "tile " << t[0] << " x " << t[1] << ", offset " << offset;
        }
        DeleteObject(tile);
    }
}

TEST_F(TileTest, NothingToTileIsReportedAndDrawsNothing) {
    Canvas canvas(10, 10, RGB(0, 0, 255));
    EXPECT_FALSE(TileBitmap(canvas.dc(), 10, 10, nullptr, 0, 0));
    // A handle of another kind (a brush) is no tile.
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_FALSE(TileBitmap(canvas.dc(), 10, 10, reinterpret_cast<HBITMAP>(brush), 0, 0));
    DeleteObject(brush);
    // A bitmap that another DC holds cannot be selected for copying.
    HBITMAP tile = MakeTile(4, 4);
    HDC holder = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(holder, tile);
    EXPECT_FALSE(TileBitmap(canvas.dc(), 10, 10, tile, 0, 0));
    SelectObject(holder, old);
    DeleteDC(holder);
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(9, 9), RGB(0, 0, 255));
    // An empty area is no failure: there is nothing to cover.
    EXPECT_TRUE(TileBitmap(canvas.dc(), 0, 10, tile, 0, 0));
    EXPECT_TRUE(TileBitmap(canvas.dc(), -5, -5, tile, 0, 0));
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 255));
    DeleteObject(tile);
}

}  // namespace
}  // namespace brimlox::test

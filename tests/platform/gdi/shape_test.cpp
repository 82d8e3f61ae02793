// Rectangle and Polygon: which pixels the outline and the interior get, wide and inside-frame
// pens, fill modes, and bad input.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <string>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/trace.h"
#include "platform/gdi/trace_replayer.h"
#include "support/gdi_test.h"
#include "tests/platform/gdi/pixel_map.h"

using brimlox::test::Canvas;
using brimlox::test::GdiTest;
using brimlox::test::PixelMap;

namespace {

class GdiShape : public GdiTest {};

// Selects a pen or brush for the lifetime of the guard and puts the previous one back.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace

// Checked against Windows: a one-pixel pen outlines [left, right) x [top, bottom) and the
// brush fills inside it; with a null pen the fill covers one column and row less than the
// rectangle; a null brush leaves the inside alone; inverted corners are swapped; a
// rectangle of zero width draws nothing, one of width one a line.
TEST_F(GdiShape, RectanglePixelsMatchWindows) {
    Canvas c(42, 8);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    Selected brush(c.dc(), red);
    EXPECT_TRUE(Rectangle(c.dc(), 1, 1, 7, 6));
    {
        Selected pen(c.dc(), GetStockObject(NULL_PEN));
        EXPECT_TRUE(Rectangle(c.dc(), 9, 1, 15, 6));
    }
    {
        Selected hollow(c.dc(), GetStockObject(NULL_BRUSH));
        EXPECT_TRUE(Rectangle(c.dc(), 17, 1, 23, 6));
    }
    EXPECT_TRUE(Rectangle(c.dc(), 31, 6, 25, 1));
    EXPECT_TRUE(Rectangle(c.dc(), 33, 1, 33, 6));
    EXPECT_TRUE(Rectangle(c.dc(), 35, 1, 36, 6));
    EXPECT_TRUE(Rectangle(c.dc(), 38, 1, 40, 3));
    EXPECT_EQ(PixelMap(c, 0, 0, 42, 8), std::string(
        "..........................................\n"
        ".######..RRRRR...######..######....#..##..\n"
        ".#RRRR#..RRRRR...#....#..#RRRR#....#..##..\n"
        ".#RRRR#..RRRRR...#....#..#RRRR#....#......\n"
        ".#RRRR#..RRRRR...#....#..#RRRR#....#......\n"
        ".######..........######..######....#......\n"
        "..........................................\n"
        ".........................................."));
    DeleteObject(red);
}

// Checked against Windows: wide pens centre on the outline with round corners (width 3 and
// 4), PS_INSIDEFRAME keeps the whole pen inside the rectangle, and the interior is filled
// before the pen is drawn over it.
TEST_F(GdiShape, WideAndInsideFramePensOnRectangles) {
    Canvas c(62, 14);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    Selected brush(c.dc(), red);
    const struct {
        int style, width, left;
    } pens[] = {{PS_SOLID, 3, 3}, {PS_INSIDEFRAME, 3, 18}, {PS_SOLID, 4, 33}, {PS_INSIDEFRAME, 4, 48}};
    for (const auto& p : pens) {
        HPEN pen = CreatePen(p.style, p.width, RGB(0, 0, 255));
        {
            Selected use(c.dc(), pen);
            Rectangle(c.dc(), p.left, 3, p.left + 10, 11);
        }
        DeleteObject(pen);
    }
    EXPECT_EQ(PixelMap(c, 0, 0, 62, 14), std::string(
        "..............................................................\n"
        "................................BBBBBBBBBBB...................\n"
        "...BBBBBBBBBB..................BBBBBBBBBBBBB..................\n"
        "..BBBBBBBBBBBB.....BBBBBBBB....BBBBBBBBBBBBB.....BBBBBBBB.....\n"
        "..BBBBBBBBBBBB....BBBBBBBBBB...BBBBBBBBBBBBB....BBBBBBBBBB....\n"
        "..BBBRRRRRRBBB....BBBBBBBBBB...BBBBRRRRRBBBB....BBBBBBBBBB....\n"
        "..BBBRRRRRRBBB....BBBRRRRBBB...BBBBRRRRRBBBB....BBBBBBBBBB....\n"
        "..BBBRRRRRRBBB....BBBRRRRBBB...BBBBRRRRRBBBB....BBBBBBBBBB....\n"
        "..BBBRRRRRRBBB....BBBBBBBBBB...BBBBBBBBBBBBB....BBBBBBBBBB....\n"
        "..BBBBBBBBBBBB....BBBBBBBBBB...BBBBBBBBBBBBB....BBBBBBBBBB....\n"
        "..BBBBBBBBBBBB.....BBBBBBBB....BBBBBBBBBBBBB.....BBBBBBBB.....\n"
        "...BBBBBBBBBB...................BBBBBBBBBBB...................\n"
        "..............................................................\n"
        ".............................................................."));
    DeleteObject(red);
}

// Checked against Windows: a polygon's interior holds the pixels whose integer sample point
// is inside, left and top edges in, right and bottom edges out, so a 10x10 square fills
// exactly 10x10 pixels and a triangle's apex row stays empty; the outline is the closed
// cosmetic polyline drawn after the fill.
TEST_F(GdiShape, PolygonEdgePixelsMatchWindows) {
    const POINT t1[] = {{1, 1}, {15, 4}, {5, 12}};
    const POINT square[] = {{18, 1}, {28, 1}, {28, 11}, {18, 11}};
    const POINT t2[] = {{31, 12}, {36, 1}, {41, 12}};
    const POINT t3[] = {{44, 1}, {60, 6}, {44, 11}};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    {
        Canvas c(62, 14);
        Selected brush(c.dc(), red);
        Selected pen(c.dc(), GetStockObject(NULL_PEN));
        EXPECT_TRUE(Polygon(c.dc(), t1, 3));
        EXPECT_TRUE(Polygon(c.dc(), square, 4));
        EXPECT_TRUE(Polygon(c.dc(), t2, 3));
        EXPECT_TRUE(Polygon(c.dc(), t3, 3));
        EXPECT_EQ(PixelMap(c, 0, 0, 62, 14), std::string(
        "..............................................................\n"
        "..................RRRRRRRRRR..................................\n"
        "..RRRR............RRRRRRRRRR........R.......RRRR..............\n"
        "..RRRRRRRRR.......RRRRRRRRRR........R.......RRRRRRR...........\n"
        "...RRRRRRRRRRRR...RRRRRRRRRR.......RRR......RRRRRRRRRR........\n"
        "...RRRRRRRRRRR....RRRRRRRRRR.......RRR......RRRRRRRRRRRRR.....\n"
        "...RRRRRRRRRR.....RRRRRRRRRR......RRRRR.....RRRRRRRRRRRRRRRR..\n"
        "....RRRRRRRR......RRRRRRRRRR......RRRRR.....RRRRRRRRRRRRR.....\n"
        "....RRRRRR........RRRRRRRRRR.....RRRRRRR....RRRRRRRRRR........\n"
        "....RRRRR.........RRRRRRRRRR.....RRRRRRR....RRRRRRR...........\n"
        ".....RRR..........RRRRRRRRRR....RRRRRRRRR...RRRR..............\n"
        ".....RR.........................RRRRRRRRR.....................\n"
        "..............................................................\n"
        ".............................................................."));
    }
    {
        Canvas c(62, 14);
        Selected brush(c.dc(), red);
        Polygon(c.dc(), t1, 3);
        Polygon(c.dc(), square, 4);
        Polygon(c.dc(), t2, 3);
        EXPECT_EQ(PixelMap(c, 0, 0, 62, 14), std::string(
        "..............................................................\n"
        ".###..............###########.......#.........................\n"
        ".#RR#####.........#RRRRRRRRR#.......#.........................\n"
        "..#RRRRRR####.....#RRRRRRRRR#......#R#........................\n"
        "..#RRRRRRRRRR###..#RRRRRRRRR#......#R#........................\n"
        "..#RRRRRRRRRRR#...#RRRRRRRRR#.....#RRR#.......................\n"
        "...#RRRRRRRR##....#RRRRRRRRR#.....#RRR#.......................\n"
        "...#RRRRRRR#......#RRRRRRRRR#....#RRRRR#......................\n"
        "....#RRRRR#.......#RRRRRRRRR#....#RRRRR#......................\n"
        "....#RRRR#........#RRRRRRRRR#...#RRRRRRR#.....................\n"
        "....#RR##.........#RRRRRRRRR#...#RRRRRRR#.....................\n"
        ".....##...........###########..#RRRRRRRRR#....................\n"
        ".....#.........................###########....................\n"
        ".............................................................."));
    }
    DeleteObject(red);
}

// Checked against Windows: a self-intersecting star leaves its centre empty under ALTERNATE
// and fills it under WINDING.
TEST_F(GdiShape, PolygonFillModes) {
    Canvas c(44, 21);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    Selected brush(c.dc(), red);
    Selected pen(c.dc(), GetStockObject(NULL_PEN));
    POINT star[] = {{10, 1}, {16, 19}, {1, 7}, {19, 7}, {4, 19}};
    EXPECT_EQ(SetPolyFillMode(c.dc(), ALTERNATE), ALTERNATE);
    Polygon(c.dc(), star, 5);
    for (POINT& p : star) p.x += 22;
    SetPolyFillMode(c.dc(), WINDING);
    Polygon(c.dc(), star, 5);
    EXPECT_EQ(PixelMap(c, 0, 0, 44, 21), std::string(
        "............................................\n"
        "............................................\n"
        "..........R.....................R...........\n"
        "..........R.....................R...........\n"
        ".........RR....................RR...........\n"
        ".........RRR...................RRR..........\n"
        ".........RRR...................RRR..........\n"
        ".RRRRRRR....RRRRRRR....RRRRRRRRRRRRRRRRRR...\n"
        "...RRRRR.....RRRRR.......RRRRRRRRRRRRRRR....\n"
        "....RRRR.....RRRR.........RRRRRRRRRRRRR.....\n"
        ".....RR......RRR...........RRRRRRRRRRR......\n"
        "......R.....................RRRRRRRR........\n"
        ".......R.....R...............RRRRRRR........\n"
        "......RRR...RR..............RRRRRRRR........\n"
        "......RRRR.RRRR.............RRRRRRRRR.......\n"
        "......RRR..RRRR.............RRR..RRRR.......\n"
        ".....RRR.....RR............RRR.....RR.......\n"
        ".....RR.......RR...........RR.......RR......\n"
        ".....R.........R...........R.........R......\n"
        "............................................\n"
        "............................................"));
    DeleteObject(red);
}

// Checked against Windows: Polygon needs two points (a two-point polygon succeeds), Polyline
// two; bad DCs fail; coordinates near the 32-bit limits are clipped without overflow.
TEST_F(GdiShape, BadInputFailsAsWindowsDoes) {
    Canvas c(16, 16);
    const POINT pts[] = {{0, 0}, {5, 5}, {0, 9}};
    EXPECT_FALSE(Polygon(c.dc(), pts, 1));
    EXPECT_TRUE(Polygon(c.dc(), pts, 2));
    EXPECT_FALSE(Polygon(c.dc(), pts, -1));
    EXPECT_FALSE(Polygon(c.dc(), nullptr, 3));
    EXPECT_FALSE(Polygon(reinterpret_cast<HDC>(0x1234), pts, 3));
    EXPECT_FALSE(Rectangle(reinterpret_cast<HDC>(0x1234), 0, 0, 5, 5));
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    DeleteObject(pen);
    {
        // A deleted pen handle is refused by SelectObject; the DC keeps drawing with its own.
        EXPECT_EQ(SelectObject(c.dc(), pen), nullptr);
        EXPECT_TRUE(Rectangle(c.dc(), 1, 1, 4, 4));
        EXPECT_EQ(c.At(1, 1), RGB(0, 0, 0));
    }
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    Selected brush(c.dc(), blue);
    EXPECT_TRUE(Rectangle(c.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_EQ(c.At(8, 8), RGB(0, 0, 255));
    const POINT huge[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
    EXPECT_TRUE(Polygon(c.dc(), huge, 4));
    HPEN wide = CreatePen(PS_SOLID, 9, RGB(0, 255, 0));
    {
        Selected use(c.dc(), wide);
        EXPECT_TRUE(Polygon(c.dc(), huge, 4));
        EXPECT_TRUE(Rectangle(c.dc(), INT_MIN, 2, INT_MAX, 10));
    }
    EXPECT_EQ(c.At(8, 6), RGB(0, 255, 0));
    // An empty rectangle at the lowest coordinate, drawn and recorded in a path.
    EXPECT_TRUE(Rectangle(c.dc(), INT_MIN, INT_MIN, INT_MIN, INT_MIN));
    EXPECT_TRUE(BeginPath(c.dc()));
    EXPECT_TRUE(Rectangle(c.dc(), INT_MIN, INT_MIN, INT_MIN, INT_MIN));
    EXPECT_TRUE(EndPath(c.dc()));
    EXPECT_TRUE(FillPath(c.dc()));
    DeleteObject(wide);
    DeleteObject(blue);
}

namespace {

// A scene of pens, shapes, paths and edges, the way the controls combine them.
void DrawScene(HDC dc) {
    RECT all{0, 0, 240, 160};
    FillRect(dc, &all, GetSysColorBrush(COLOR_3DFACE));
    const UINT edges[] = {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP};
    for (int i = 0; i < 4; ++i) {
        RECT r{4 + i * 40, 4, 40 + i * 40, 26};
        DrawEdge(dc, &r, edges[i], BF_RECT | BF_MIDDLE);
    }
    RECT flat{164, 4, 198, 26}, mono{202, 4, 236, 26}, diag{164, 30, 198, 52}, soft{202, 30, 236, 52};
    DrawEdge(dc, &flat, EDGE_SUNKEN, BF_RECT | BF_FLAT);
    DrawEdge(dc, &mono, EDGE_RAISED, BF_RECT | BF_MONO | BF_MIDDLE);
    DrawEdge(dc, &diag, EDGE_RAISED, BF_DIAGONAL_ENDTOPRIGHT | BF_MIDDLE);
    DrawEdge(dc, &soft, EDGE_RAISED, BF_RECT | BF_SOFT | BF_ADJUST);
    DrawEdge(dc, &soft, EDGE_SUNKEN, BF_RECT);
    SetBkColor(dc, RGB(255, 255, 0));
    for (int style = PS_DASH; style <= PS_DASHDOTDOT; ++style) {
        HPEN pen = CreatePen(style, 1, RGB(0, 0, 128));
        HGDIOBJ old = SelectObject(dc, pen);
        SetBkMode(dc, style % 2 ? OPAQUE : TRANSPARENT);
        MoveToEx(dc, 4, 30 + style * 4, nullptr);
        LineTo(dc, 150, 36 + style * 6);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    // A fan of lines through every octant, ties included.
    const POINT spokes[] = {{24, 0}, {22, 9}, {16, 8}, {9, 22}, {0, 24}, {-9, 22}, {-8, 16}, {-22, 9},
                            {-24, 0}, {-22, -9}, {-16, -8}, {-9, -22}, {0, -24}, {9, -22}, {8, -16}, {22, -9}};
    for (const POINT& s : spokes) {
        MoveToEx(dc, 40, 90, nullptr);
        LineTo(dc, 40 + s.x, 90 + s.y);
    }
    HPEN round = CreatePen(PS_SOLID, 7, RGB(200, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, round);
    const POINT zigzag[] = {{80, 70}, {100, 100}, {120, 72}, {140, 100}};
    Polyline(dc, zigzag, 4);
    LOGBRUSH solid{BS_SOLID, RGB(0, 120, 0), 0}, hatch{BS_HATCHED, RGB(0, 0, 160), HS_DIAGCROSS};
    HPEN miter = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_SQUARE | PS_JOIN_MITER, 6, &solid, 0, nullptr);
    SelectObject(dc, miter);
    const POINT chevron[] = {{150, 70}, {170, 95}, {190, 70}};
    Polyline(dc, chevron, 3);
    HPEN hatched = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_BEVEL | PS_DASH, 8, &hatch, 0, nullptr);
    SelectObject(dc, hatched);
    MoveToEx(dc, 80, 118, nullptr);
    LineTo(dc, 230, 118);
    HBRUSH cross = CreateHatchBrush(HS_CROSS, RGB(128, 0, 128));
    HGDIOBJ oldBrush = SelectObject(dc, cross);
    HPEN frame = CreatePen(PS_INSIDEFRAME, 4, RGB(0, 0, 0));
    SelectObject(dc, frame);
    Rectangle(dc, 196, 60, 236, 100);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SetPolyFillMode(dc, WINDING);
    const POINT star[] = {{30, 124}, {40, 156}, {14, 136}, {46, 136}, {20, 156}};
    Polygon(dc, star, 5);
    SetPolyFillMode(dc, ALTERNATE);
    BeginPath(dc);
    Rectangle(dc, 60, 128, 100, 156);
    const POINT tri[] = {{70, 132}, {120, 150}, {64, 152}};
    Polygon(dc, tri, 3);
    EndPath(dc);
    FillPath(dc);
    SelectObject(dc, miter);
    BeginPath(dc);
    MoveToEx(dc, 140, 132, nullptr);
    LineTo(dc, 180, 132);
    LineTo(dc, 160, 152);
    CloseFigure(dc);
    EndPath(dc);
    StrokePath(dc);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(round), static_cast<HGDIOBJ>(miter), static_cast<HGDIOBJ>(hatched),
                      static_cast<HGDIOBJ>(cross), static_cast<HGDIOBJ>(frame)})
        DeleteObject(o);
}

}  // namespace

// The composite scene matches its reviewed golden image, and its drawing trace replays to
// the same pixels.
TEST_F(GdiShape, CompositeSceneMatchesGoldenAndReplays) {
    using brimlox::gdi::PixelFormat;
    using brimlox::gdi::Surface;
    auto window = Surface::Create(240, 160, PixelFormat::Bgrx32);
    HDC dc = brimlox::gdi::CreateSurfaceDC(window.get(), POINT{0, 0}, RECT{0, 0, 240, 160});
    const std::string path = brimlox::test::OutputDir() + "/shapes_scene.trace";
    ASSERT_TRUE(brimlox::gdi::TraceStart(path));
    DrawScene(dc);
    brimlox::gdi::TraceStop();
    EXPECT_TRUE(brimlox::test::MatchesGolden(*window, "gdi/shapes_scene"));
    std::ifstream in(path);
    brimlox::gdi::replay::TraceReplayer replayer;
    replayer.Run(in);
    ASSERT_EQ(replayer.Surfaces().size(), 1u);
    const Surface& replayed = *replayer.Surfaces()[0].pixels;
    int differing = 0;
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 240; ++x) differing += replayed.Get(x, y) != window->Get(x, y);
    EXPECT_EQ(differing, 0);
    DeleteDC(dc);
}

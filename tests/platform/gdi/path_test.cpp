// Paths: figures recorded between BeginPath and EndPath, stroked and filled as Windows does,
// and the bracket's return values.
#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/gdi.h"
#include "support/gdi_test.h"
#include "tests/platform/gdi/pixel_map.h"

using brimlox::test::Canvas;
using brimlox::test::GdiTest;
using brimlox::test::PixelMap;

namespace {
class GdiPath : public GdiTest {};
}  // namespace

// Checked against Windows: the bracket calls fail outside a path; CloseFigure needs an open
// path (an empty one will do); StrokePath and FillPath need a closed one and discard it, so
// a second StrokePath fails; a second BeginPath starts over; drawing calls inside a path
// draw nothing.
TEST_F(GdiPath, BracketReturnValuesMatchWindows) {
    Canvas c(10, 10);
    HDC dc = c.dc();
    EXPECT_FALSE(EndPath(dc));
    EXPECT_FALSE(StrokePath(dc));
    EXPECT_FALSE(FillPath(dc));
    EXPECT_FALSE(CloseFigure(dc));
    EXPECT_TRUE(AbortPath(dc));
    EXPECT_TRUE(BeginPath(dc));
    EXPECT_TRUE(CloseFigure(dc));
    EXPECT_FALSE(StrokePath(dc));
    MoveToEx(dc, 1, 1, nullptr);
    EXPECT_TRUE(LineTo(dc, 5, 1));
    EXPECT_TRUE(Rectangle(dc, 0, 0, 9, 9));
    EXPECT_EQ(c.At(2, 1), RGB(255, 255, 255)) << "nothing is drawn while the path is open";
    EXPECT_TRUE(CloseFigure(dc));
    EXPECT_TRUE(EndPath(dc));
    EXPECT_FALSE(EndPath(dc));
    EXPECT_TRUE(StrokePath(dc));
    EXPECT_FALSE(StrokePath(dc));
    EXPECT_EQ(c.At(2, 1), RGB(0, 0, 0));
    EXPECT_TRUE(BeginPath(dc));
    EXPECT_TRUE(BeginPath(dc));
    EXPECT_TRUE(EndPath(dc));
    EXPECT_TRUE(FillPath(dc));
    EXPECT_TRUE(BeginPath(dc));
    EXPECT_TRUE(AbortPath(dc));
    EXPECT_FALSE(EndPath(dc));
    EXPECT_FALSE(BeginPath(reinterpret_cast<HDC>(0x1234)));
    EXPECT_FALSE(StrokePath(reinterpret_cast<HDC>(0x1234)));
}

// Checked against Windows: FillPath of a Rectangle path fills one column and row less than
// the rectangle; StrokePath of it draws Rectangle's outline; a filled Polygon path fills as
// Polygon does; a closed figure strokes its closing line and keeps every corner, an open one
// leaves out its last pixel; FillPath closes open figures.
TEST_F(GdiPath, StrokeAndFillPixelsMatchWindows) {
    Canvas c(62, 13);
    HDC dc = c.dc();
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(dc, red);
    BeginPath(dc);
    Rectangle(dc, 1, 1, 8, 7);
    EndPath(dc);
    FillPath(dc);
    BeginPath(dc);
    Rectangle(dc, 10, 1, 17, 7);
    EndPath(dc);
    StrokePath(dc);
    const POINT t1[] = {{20, 1}, {34, 4}, {24, 12}};
    BeginPath(dc);
    Polygon(dc, t1, 3);
    EndPath(dc);
    FillPath(dc);
    BeginPath(dc);
    MoveToEx(dc, 36, 1, nullptr);
    LineTo(dc, 46, 1);
    LineTo(dc, 46, 8);
    CloseFigure(dc);
    EndPath(dc);
    StrokePath(dc);
    BeginPath(dc);
    MoveToEx(dc, 48, 1, nullptr);
    LineTo(dc, 58, 1);
    LineTo(dc, 58, 8);
    EndPath(dc);
    StrokePath(dc);
    EXPECT_EQ(PixelMap(c, 0, 0, 62, 13), std::string(
        "..............................................................\n"
        ".RRRRRR...#######...................###########.###########...\n"
        ".RRRRRR...#.....#....RRRR............##.......#...........#...\n"
        ".RRRRRR...#.....#....RRRRRRRRR.........#......#...........#...\n"
        ".RRRRRR...#.....#.....RRRRRRRRRRRR......##....#...........#...\n"
        ".RRRRRR...#.....#.....RRRRRRRRRRR.........#...#...........#...\n"
        "..........#######.....RRRRRRRRRR...........#..#...........#...\n"
        ".......................RRRRRRRR.............###...........#...\n"
        ".......................RRRRRR.................#...............\n"
        ".......................RRRRR..................................\n"
        "........................RRR...................................\n"
        "........................RR....................................\n"
        ".............................................................."));
    SelectObject(dc, old);
    DeleteObject(red);
}

// Checked against Windows: a path stroked with a geometric pen of width 3 and miter joins
// (square caps on the open figure), and an open figure filled as a closed one.
TEST_F(GdiPath, GeometricStrokeOfAPath) {
    Canvas c(62, 14);
    HDC dc = c.dc();
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ oldBrush = SelectObject(dc, red);
    BeginPath(dc);
    MoveToEx(dc, 2, 15 - 14, nullptr);
    LineTo(dc, 12, 1);
    LineTo(dc, 12, 8);
    EndPath(dc);
    FillPath(dc);
    LOGBRUSH lb{BS_SOLID, RGB(0, 0, 255), 0};
    HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_SQUARE | PS_JOIN_MITER, 3, &lb, 0, nullptr);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    BeginPath(dc);
    Rectangle(dc, 50, 2, 58, 10);
    EndPath(dc);
    StrokePath(dc);
    EXPECT_EQ(PixelMap(c, 0, 0, 62, 11), std::string(
        "..............................................................\n"
        "..RRRRRRRRRR.....................................BBBBBBBBBB...\n"
        "....RRRRRRRR.....................................BBBBBBBBBB...\n"
        ".....RRRRRRR.....................................BBBBBBBBBB...\n"
        ".......RRRRR.....................................BBB....BBB...\n"
        "........RRRR.....................................BBB....BBB...\n"
        "..........RR.....................................BBB....BBB...\n"
        "...........R.....................................BBB....BBB...\n"
        ".................................................BBBBBBBBBB...\n"
        ".................................................BBBBBBBBBB...\n"
        ".................................................BBBBBBBBBB..."));
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(red);
}

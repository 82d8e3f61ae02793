// Whole text scenes compared with golden images: rotated text and a sampler of the styles
// the controls use. Font files come from scripts/packages.txt, so the images are exact.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/gdi/gdi.h"
#include "support/gdi_test.h"

using brimlox::test::Canvas;
using brimlox::test::GdiTest;
using brimlox::test::MatchesGolden;

namespace {

HFONT MakeFont(const char* face, LONG height, LONG escapement = 0, LONG weight = FW_NORMAL, BYTE italic = 0,
               BYTE underline = 0, BYTE strike = 0) {
    LOGFONTA lf;
    lf.lfHeight = height;
    lf.lfEscapement = lf.lfOrientation = escapement;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strike;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

void Mark(HDC dc, int x, int y) {
    SetPixel(dc, x, y, RGB(255, 0, 0));
}

}  // namespace

class TextGolden : public GdiTest {};

// Checked against Windows: at 90 degrees a TA_LEFT | TA_TOP run reads upwards from the
// reference point with its baseline tmAscent pixels to the right of it; at 270 degrees it
// reads downwards with the baseline tmAscent pixels to the left. The red dots mark the
// reference points; opaque backgrounds follow the rotated cell.
TEST_F(TextGolden, RotatedText) {
    Canvas c(220, 160);
    HDC dc = c.dc();
    SetBkColor(dc, RGB(255, 255, 160));
    struct Run {
        LONG angle;
        int x, y;
        int mode;
    } runs[] = {{900, 20, 140, TRANSPARENT}, {450, 60, 140, OPAQUE}, {2700, 200, 10, OPAQUE}, {0, 60, 10, TRANSPARENT}};
    for (const Run& r : runs) {
        HFONT f = MakeFont("Arial", -16, r.angle);
        HGDIOBJ old = SelectObject(dc, f);
        SetBkMode(dc, r.mode);
        TextOutA(dc, r.x, r.y, "Rotate &Me", 10);
        SelectObject(dc, old);
        DeleteObject(f);
        Mark(dc, r.x, r.y);
    }
    // 90 degrees: the text stays right of x and above y.
    bool rightOf = true;
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 20; ++x) rightOf = rightOf && c.At(x, y) == RGB(255, 255, 255);
    EXPECT_TRUE(rightOf);
    EXPECT_TRUE(MatchesGolden(c.surface(), "text/rotated"));
}

TEST_F(TextGolden, StyleSampler) {
    Canvas c(240, 150, RGB(212, 208, 200));
    HDC dc = c.dc();
    SetBkMode(dc, TRANSPARENT);
    struct Line {
        const char* face;
        LONG height, weight;
        BYTE italic, underline, strike;
        const char* text;
    } lines[] = {{"MS Sans Serif", -11, FW_NORMAL, 0, 0, 0, "MS Sans Serif 8 pt"},
                 {"Tahoma", -11, FW_BOLD, 0, 0, 0, "Tahoma bold caption"},
                 {"Times New Roman", -14, FW_NORMAL, 1, 0, 0, "Times italic"},
                 {"Courier New", -13, FW_NORMAL, 0, 1, 1, "Courier underline strike"},
                 {"Segoe UI", 16, FW_BOLD, 1, 0, 0, "Bold italic cell 16"}};
    int y = 4;
    for (const Line& l : lines) {
        HFONT f = MakeFont(l.face, l.height, 0, l.weight, l.italic, l.underline, l.strike);
        HGDIOBJ old = SelectObject(dc, f);
        TextOutA(dc, 4, y, l.text, static_cast<int>(std::strlen(l.text)));
        TEXTMETRICA tm;
        GetTextMetricsA(dc, &tm);
        y += tm.tmHeight + 2;
        SelectObject(dc, old);
        DeleteObject(f);
    }
    HFONT ui = MakeFont("MS Sans Serif", -11);
    HGDIOBJ old = SelectObject(dc, ui);
    RECT r{4, y, 160, y + 30};
    DrawTextA(dc, "&File\tCtrl+F  a &&b", -1, &r, DT_SINGLELINE | DT_EXPANDTABS);
    SelectObject(dc, old);
    DeleteObject(ui);
    HFONT marlett = MakeFont("Marlett", -13);
    old = SelectObject(dc, marlett);
    TextOutA(dc, 170, 4, "3456", 4);
    SelectObject(dc, old);
    DeleteObject(marlett);
    HFONT big = MakeFont("Marlett", -26, 900);
    old = SelectObject(dc, big);
    TextOutA(dc, 170, 60, "56", 2);
    SelectObject(dc, old);
    DeleteObject(big);
    EXPECT_TRUE(MatchesGolden(c.surface(), "text/styles"));
}

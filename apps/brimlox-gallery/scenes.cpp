#include "apps/brimlox-gallery/scenes.h"

#include <cstring>
#include <iterator>

namespace brimlox::gallery {

namespace {

void Background(HDC dc, int w, int h) {
    RECT all{0, 0, w, h};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
}

// Draws a label in the default GUI font with a transparent background.
void Label(HDC dc, int x, int y, const char* text) {
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
    SelectObject(dc, old);
}

void DrawFills(HDC dc) {
    static const COLORREF colours[] = {RGB(200, 40, 40), RGB(40, 160, 40), RGB(40, 60, 200), RGB(230, 180, 30)};
    for (int i = 0; i < 4; ++i) {
        HBRUSH b = CreateSolidBrush(colours[i]);
        RECT r{10 + i * 40, 24, 44 + i * 40, 58};
        FillRect(dc, &r, b);
        FrameRect(dc, &r, GetSysColorBrush(COLOR_3DDKSHADOW));
        DeleteObject(b);
    }
    for (int hatch = HS_HORIZONTAL; hatch <= HS_DIAGCROSS; ++hatch) {
        HBRUSH b = CreateHatchBrush(hatch, RGB(0, 0, 128));
        RECT r{10 + hatch * 28, 66, 34 + hatch * 28, 90};
        SetBkMode(dc, OPAQUE);
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
}

void DrawPens(HDC dc) {
    static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    for (int i = 0; i < 5; ++i) {
        HPEN pen = CreatePen(styles[i], 1, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, 190, 26 + i * 8, nullptr);
        LineTo(dc, 330, 26 + i * 8);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    LOGBRUSH lb{BS_SOLID, RGB(160, 30, 30), 0};
    static const DWORD caps[] = {PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE, PS_ENDCAP_FLAT};
    for (int i = 0; i < 3; ++i) {
        HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | caps[i] | PS_JOIN_MITER, 7, &lb, 0, nullptr);
        HGDIOBJ old = SelectObject(dc, pen);
        BeginPath(dc);
        MoveToEx(dc, 200 + i * 45, 90, nullptr);
        LineTo(dc, 215 + i * 45, 72);
        LineTo(dc, 230 + i * 45, 90);
        EndPath(dc);
        StrokePath(dc);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
}

void DrawShapes(HDC dc) {
    HBRUSH brush = CreateSolidBrush(RGB(250, 220, 120));
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(90, 60, 0));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Rectangle(dc, 10, 110, 70, 160);
    POINT star[] = {{110, 108}, {122, 160}, {84, 126}, {136, 126}, {98, 160}};
    SetPolyFillMode(dc, ALTERNATE);
    Polygon(dc, star, 5);
    for (POINT& p : star) p.x += 60;
    SetPolyFillMode(dc, WINDING);
    Polygon(dc, star, 5);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

void DrawEdges(HDC dc) {
    static const UINT edges[] = {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP, BDR_RAISEDINNER, BDR_SUNKENOUTER};
    for (int i = 0; i < 6; ++i) {
        RECT r{220 + (i % 3) * 40, 108 + (i / 3) * 30, 254 + (i % 3) * 40, 132 + (i / 3) * 30};
        DrawEdge(dc, &r, edges[i], BF_RECT | BF_MIDDLE);
    }
}

void DrawingScene(HDC dc, int w, int h) {
    Background(dc, w, h);
    Label(dc, 10, 6, "Fills and hatches");
    Label(dc, 190, 6, "Pens, caps and joins");
    DrawFills(dc);
    DrawPens(dc);
    DrawShapes(dc);
    DrawEdges(dc);
}

HFONT MakeFont(const char* face, int height, int weight = 400, bool italic = false, bool underline = false,
               int escapement = 0) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

void TextLine(HDC dc, HFONT font, int x, int y, const char* text) {
    HGDIOBJ old = SelectObject(dc, font);
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
    SelectObject(dc, old);
    DeleteObject(font);
}

void TextScene(HDC dc, int w, int h) {
    Background(dc, w, h);
    SetBkMode(dc, TRANSPARENT);
    TextLine(dc, MakeFont("MS Sans Serif", -11), 10, 8, "MS Sans Serif 8pt: The quick brown fox");
    TextLine(dc, MakeFont("Tahoma", -11, FW_BOLD), 10, 26, "Tahoma bold: Sphinx of black quartz");
    TextLine(dc, MakeFont("Times New Roman", -16, 400, true), 10, 44, "Times New Roman italic 12pt");
    TextLine(dc, MakeFont("Courier New", -13, 400, false, true), 10, 66, "Courier New underlined");
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT box{10, 92, 170, 150};
    DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT);
    InflateRect(&box, -4, -2);
    static const char para[] = "DrawTextA wraps words to the box and draws &mnemonics underlined.";
    DrawTextA(dc, para, -1, &box, DT_WORDBREAK | DT_CENTER);
    SelectObject(dc, old);
    SetTextColor(dc, RGB(128, 0, 0));
    TextLine(dc, MakeFont("Arial", -14, 700, false, false, 900), 200, 150, "90 degrees");
    TextLine(dc, MakeFont("Arial", -14, 700, false, false, 450), 225, 150, "45 degrees");
    SetTextColor(dc, RGB(0, 0, 0));
    HFONT marlett = MakeFont("Marlett", -16);
    old = SelectObject(dc, marlett);
    TextOutA(dc, 300, 100, "3456", 4);
    SelectObject(dc, old);
    DeleteObject(marlett);
}

}  // namespace

std::vector<Scene> Scenes() {
    return {
        {"drawing", "Fills, hatch brushes, cosmetic pen styles, geometric caps and joins, Rectangle, Polygon "
                    "(alternate and winding) and DrawEdge borders",
         340, 170, DrawingScene},
        {"text", "Fonts found through fontconfig, bold, italic, underline, DrawTextA word wrapping with a "
                 "mnemonic, rotated text and the Marlett arrow glyphs",
         340, 170, TextScene},
        ScrollBarScene(),
    };
}

}  // namespace brimlox::gallery

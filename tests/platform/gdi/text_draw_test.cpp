// Drawing text: anchoring, backgrounds, clipping, DrawTextA layout and rectangles,
// mnemonics, tabs, rotated text and every target layout.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/gdi/gdi.h"
#include "support/gdi_test.h"

using brimlox::test::Canvas;
using brimlox::test::GdiTest;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// Bounding box of the pixels that differ from a colour (right and bottom exclusive).
RECT InkBox(const Canvas& c, int w, int h, COLORREF background = kWhite) {
    RECT box{w, h, -1, -1};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (c.At(x, y) != background) {
                box.left = std::min<LONG>(box.left, x), box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1), box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

int Count(const Canvas& c, int w, int h, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) n += c.At(x, y) == colour;
    return n;
}

// Selects a font for the life of the object.
class FontScope {
public:
    FontScope(HDC dc, const char* face, LONG height, LONG escapement = 0, LONG weight = FW_NORMAL) : dc_(dc) {
        LOGFONTA lf;
        lf.lfHeight = height;
        lf.lfEscapement = lf.lfOrientation = escapement;
        lf.lfWeight = weight;
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
        font_ = CreateFontIndirectA(&lf);
        old_ = SelectObject(dc, font_);
        GetTextMetricsA(dc, &tm);
    }
    ~FontScope() {
        SelectObject(dc_, old_);
        DeleteObject(font_);
    }
    TEXTMETRICA tm;

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
};

SIZE Extent(HDC dc, const char* s) {
    SIZE size{};
    GetTextExtentPoint32A(dc, s, static_cast<int>(std::strlen(s)), &size);
    return size;
}

}  // namespace

class TextDraw : public GdiTest {};

// Checked against Windows (wine, "HH" at (100, 50)): TA_TOP ink ends on row y + tmAscent - 1,
// TA_BASELINE on row y - 1, TA_BOTTOM on row y - tmDescent - 1; TA_RIGHT ends the advance at
// x; TA_CENTER starts it at x - width / 2.
TEST_F(TextDraw, ReferencePointFollowsTextAlign) {
    Canvas c(200, 120);
    FontScope font(c.dc(), "Arial", -16);
    SetBkMode(c.dc(), TRANSPARENT);
    SIZE hh = Extent(c.dc(), "HH");
    struct Case {
        UINT align;
        int lastRow;
    } cases[] = {{TA_TOP, 50 + font.tm.tmAscent - 1}, {TA_BASELINE, 49}, {TA_BOTTOM, 50 - font.tm.tmDescent - 1}};
    RECT top{};
    for (const Case& k : cases) {
        RECT all{0, 0, 200, 120};
        FillRect(c.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetTextAlign(c.dc(), k.align);
        TextOutA(c.dc(), 100, 50, "HH", 2);
        RECT box = InkBox(c, 200, 120);
        EXPECT_EQ(box.bottom - 1, k.lastRow) << "align " << k.align;
        EXPECT_GE(box.left, 100);
        EXPECT_LE(box.right, 100 + hh.cx);
        if (k.align == TA_TOP) top = box;
    }
    for (UINT align : {TA_RIGHT, TA_CENTER}) {
        RECT all{0, 0, 200, 120};
        FillRect(c.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EXPECT_EQ(SetTextAlign(c.dc(), align), align == TA_RIGHT ? TA_BOTTOM : TA_RIGHT);
        TextOutA(c.dc(), 100, 50, "HH", 2);
        RECT box = InkBox(c, 200, 120);
        int shift = align == TA_RIGHT ? -hh.cx : -(hh.cx / 2);
        EXPECT_EQ(box.left, top.left + shift);
        EXPECT_EQ(box.top, top.top);
    }
    EXPECT_EQ(GetTextAlign(c.dc()), TA_CENTER);
    EXPECT_EQ(GetTextAlign(nullptr), GDI_ERROR);
}

// Checked against Windows: with TA_UPDATECP the current position moves right by the width
// for TA_LEFT, left by it for TA_RIGHT and stays for TA_CENTER; x and y are ignored.
TEST_F(TextDraw, UpdateCurrentPosition) {
    Canvas c(120, 40);
    FontScope font(c.dc(), "Arial", -16);
    int w = Extent(c.dc(), "HH").cx;
    POINT p;
    struct Case {
        UINT align;
        int expected;
    } cases[] = {{TA_LEFT, 10 + w}, {TA_RIGHT, 100 - w}, {TA_CENTER, 100}};
    for (const Case& k : cases) {
        SetTextAlign(c.dc(), k.align | TA_UPDATECP);
        MoveToEx(c.dc(), k.align == TA_LEFT ? 10 : 100, 10, nullptr);
        TextOutA(c.dc(), 500, 500, "HH", 2);
        GetCurrentPositionEx(c.dc(), &p);
        EXPECT_EQ(p.x, k.expected);
        EXPECT_EQ(p.y, 10);
    }
    EXPECT_NE(InkBox(c, 120, 40).right, -1);  // drawn at the current position, not at (500, 500)
}

// Checked against Windows: an opaque background covers exactly the advance width by
// tmHeight from the reference point; ETO_OPAQUE | ETO_CLIPPED fills the rectangle and leaves
// nothing outside it; ETO_GRAYED draws exactly what no option draws.
TEST_F(TextDraw, BackgroundsAndClipping) {
    Canvas c(120, 60);
    FontScope font(c.dc(), "Arial", -16);
    SIZE hh = Extent(c.dc(), "HH");
    SetBkColor(c.dc(), RGB(255, 0, 0));
    SetBkMode(c.dc(), OPAQUE);
    TextOutA(c.dc(), 20, 20, "HH", 2);
    EXPECT_EQ(Count(c, 120, 60, RGB(255, 0, 0)) + Count(c, 120, 60, 0), hh.cx * font.tm.tmHeight);
    RECT red = InkBox(c, 120, 60);
    EXPECT_EQ(red.left, 20);
    EXPECT_EQ(red.top, 20);
    EXPECT_EQ(red.right, 20 + hh.cx);
    EXPECT_EQ(red.bottom, 20 + font.tm.tmHeight);

    Canvas t(120, 60);
    FontScope tfont(t.dc(), "Arial", -16);
    SetBkMode(t.dc(), TRANSPARENT);
    TextOutA(t.dc(), 20, 20, "HH", 2);
    EXPECT_EQ(Count(t, 120, 60, 0) + Count(t, 120, 60, kWhite), 120 * 60);
    int plain = Count(t, 120, 60, 0);
    EXPECT_GT(plain, 20);

    Canvas e(120, 60);
    FontScope efont(e.dc(), "Arial", -16);
    SetBkColor(e.dc(), RGB(0, 0, 255));
    RECT rc{25, 25, 35, 30};
    EXPECT_TRUE(ExtTextOutA(e.dc(), 20, 20, ETO_OPAQUE | ETO_CLIPPED, &rc, "HH", 2, nullptr));
    RECT box = InkBox(e, 120, 60);
    EXPECT_EQ(box.left, 25);
    EXPECT_EQ(box.top, 25);
    EXPECT_EQ(box.right, 35);
    EXPECT_EQ(box.bottom, 30);
    EXPECT_EQ(Count(e, 120, 60, RGB(0, 0, 255)) + Count(e, 120, 60, 0), 50);

    Canvas g(120, 60);
    FontScope gfont(g.dc(), "Arial", -16);
    SetBkMode(g.dc(), TRANSPARENT);
    ExtTextOutA(g.dc(), 20, 20, ETO_GRAYED, nullptr, "HH", 2, nullptr);
    EXPECT_EQ(Count(g, 120, 60, 0), plain);
    // Explicit advances place each character.
    INT dx[2] = {40, 40};
    Canvas d(120, 60);
    FontScope dfont(d.dc(), "Arial", -16);
    ExtTextOutA(d.dc(), 0, 0, 0, nullptr, "HH", 2, dx);
    EXPECT_GE(InkBox(d, 120, 60).right, 41);
    EXPECT_FALSE(ExtTextOutA(d.dc(), 0, 0, 0, nullptr, nullptr, 2, nullptr));
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "x", 1));
}

// Checked against Windows: DT_CALCRECT keeps left and top whatever the alignment, sets the
// right edge to the widest line and the bottom to the last line; word breaking keeps a word
// wider than the rectangle whole; a trailing line break adds no line; an empty text gives
// an empty rectangle and returns tmHeight; DT_VCENTER places the line at top + h / 2 -
// tmHeight / 2 and returns the offset of its bottom.
TEST_F(TextDraw, CalcRectForSingleWrappedAndBrokenLines) {
    Canvas c(40, 40);
    FontScope font(c.dc(), "Arial", -16);
    int lh = font.tm.tmHeight;
    SIZE hello = Extent(c.dc(), "Hello world");
    RECT r{10, 10, 110, 11};
    EXPECT_EQ(DrawTextA(c.dc(), "Hello world", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_CENTER), lh);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right, 10 + hello.cx);
    EXPECT_EQ(r.bottom, 10 + lh);
    r = RECT{10, 10, 15, 11};
    EXPECT_EQ(DrawTextA(c.dc(), "Hello world", -1, &r, DT_CALCRECT | DT_WORDBREAK), 2 * lh);
    EXPECT_EQ(r.right, 10 + std::max(Extent(c.dc(), "Hello").cx, Extent(c.dc(), "world").cx));
    r = RECT{10, 10, 10 + hello.cx, 11};
    EXPECT_EQ(DrawTextA(c.dc(), "Hello world", -1, &r, DT_CALCRECT | DT_WORDBREAK), lh);
    // Blanks that fit stay in a wrapped line's width; the blank that does not fit breaks it.
    int ab = Extent(c.dc(), "ab").cx, blank = Extent(c.dc(), " ").cx;
    r = RECT{0, 0, ab + 3 * blank, 1};
    EXPECT_EQ(DrawTextA(c.dc(), "ab    cd", -1, &r, DT_CALCRECT | DT_WORDBREAK), 2 * lh);
    EXPECT_EQ(r.right, ab + 3 * blank);
    r = RECT{10, 10, 11, 11};
    EXPECT_EQ(DrawTextA(c.dc(), "a\r\nb\n", -1, &r, DT_CALCRECT), 2 * lh);
    EXPECT_EQ(DrawTextA(c.dc(), "a\n\nb", -1, &r, DT_CALCRECT), 3 * lh);
    r = RECT{10, 10, 11, 11};
    EXPECT_EQ(DrawTextA(c.dc(), "", -1, &r, DT_CALCRECT), lh);
    EXPECT_EQ(r.right, 10);
    EXPECT_EQ(r.bottom, 10);
    r = RECT{20, 20, 180, 100};
    int expectedTop = 20 + 80 / 2 - lh / 2;
    EXPECT_EQ(DrawTextA(c.dc(), "H", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CALCRECT), expectedTop + lh - 20);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.bottom, expectedTop + lh);
    r = RECT{20, 20, 180, 100};
    EXPECT_EQ(DrawTextA(c.dc(), "H", -1, &r, DT_SINGLELINE | DT_BOTTOM), 80);
    EXPECT_EQ(DrawTextA(c.dc(), "H", -1, nullptr, 0), 0);
}

// Checked against Windows: expanded tabs stop every 8 x tmAveCharWidth from the line start;
// without DT_EXPANDTABS a tab is an ordinary character. "&&" counts as one ampersand, a
// prefix character takes no room and a trailing "&" is drawn.
TEST_F(TextDraw, TabsAndPrefixesInMeasuredWidths) {
    Canvas c(40, 40);
    FontScope font(c.dc(), "Arial", -16);
    int stop = 8 * font.tm.tmAveCharWidth;
    RECT r{0, 0, 1, 1};
    DrawTextA(c.dc(), "a\tb", -1, &r, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    EXPECT_EQ(r.right, stop + Extent(c.dc(), "b").cx);
    std::string longer(19, 'a');
    std::string tabbed = longer + "\tb";
    r = RECT{0, 0, 1, 1};
    DrawTextA(c.dc(), tabbed.c_str(), -1, &r, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    int a19 = Extent(c.dc(), longer.c_str()).cx;
    EXPECT_EQ(r.right, (a19 / stop + 1) * stop + Extent(c.dc(), "b").cx);
    r = RECT{0, 0, 1, 1};
    DrawTextA(c.dc(), "a\tb", -1, &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.right, Extent(c.dc(), "a\tb").cx);
    r = RECT{0, 0, 1, 1};
    DrawTextA(c.dc(), "&&a&b", -1, &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.right, Extent(c.dc(), "&ab").cx);
    r = RECT{0, 0, 1, 1};
    DrawTextA(c.dc(), "&&a&b", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(r.right, Extent(c.dc(), "&&a&b").cx);
    r = RECT{0, 0, 1, 1};
    DrawTextA(c.dc(), "a&", -1, &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.right, Extent(c.dc(), "a&").cx);
    // A line break under DT_SINGLELINE is an ordinary character.
    r = RECT{0, 0, 1, 1};
    DrawTextA(c.dc(), "A\nB", -1, &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.right, Extent(c.dc(), "A\nB").cx);
}

// Checked against Windows: the mnemonic underline is one row, one below the baseline, from
// the character's pen position for its advance less one pixel; only the last prefixed
// character of a text is underlined.
TEST_F(TextDraw, MnemonicUnderline) {
    Canvas c(120, 40);
    FontScope font(c.dc(), "Arial", -16);
    SetBkMode(c.dc(), TRANSPARENT);
    RECT r{20, 5, 120, 40};
    DrawTextA(c.dc(), "x&Hx", -1, &r, DT_SINGLELINE);
    int row = 5 + font.tm.tmAscent + 1;
    int from = 20 + Extent(c.dc(), "x").cx;
    int width = Extent(c.dc(), "H").cx - 1;
    for (int x = from; x < from + width; ++x) EXPECT_EQ(c.At(x, row), 0u) << x;
    EXPECT_EQ(c.At(from - 1, row), kWhite);
    EXPECT_EQ(c.At(from + width, row), kWhite);
    EXPECT_EQ(c.At(from + 2, row + 1), kWhite);

    Canvas d(120, 40);
    FontScope dfont(d.dc(), "Arial", -16);
    DrawTextA(d.dc(), "&a&b", -1, &r, DT_SINGLELINE);
    int bPen = 20 + Extent(d.dc(), "a").cx;
    EXPECT_EQ(d.At(bPen + 1, row), 0u);
    EXPECT_EQ(d.At(21, row), kWhite);  // the first prefixed character is not underlined
    Canvas e(120, 40);
    FontScope efont(e.dc(), "Arial", -16);
    DrawTextA(e.dc(), "&a&b", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(e.At(bPen + 1, row), kWhite);
}

TEST_F(TextDraw, DrawTextAlignsAndClipsLines) {
    Canvas c(100, 60);
    FontScope font(c.dc(), "Arial", -16);
    SetBkMode(c.dc(), TRANSPARENT);
    RECT r{10, 10, 90, 50};
    DrawTextA(c.dc(), "Wide text beyond", -1, &r, DT_SINGLELINE | DT_RIGHT);
    RECT box = InkBox(c, 100, 60);
    EXPECT_GE(box.left, 10);  // clipped to the rectangle
    EXPECT_LE(box.right, 90);
    EXPECT_GE(box.right, 85);

    Canvas n(100, 60);
    FontScope nfont(n.dc(), "Arial", -16);
    DrawTextA(n.dc(), "Wide text beyond", -1, &r, DT_SINGLELINE | DT_RIGHT | DT_NOCLIP);
    EXPECT_LT(InkBox(n, 100, 60).left, 10);

    Canvas w(100, 60);
    FontScope wfont(w.dc(), "Arial", -16);
    RECT narrow{0, 0, 60, 60};
    DrawTextA(w.dc(), "ab cd", -1, &narrow, DT_CENTER | DT_WORDBREAK);
    RECT wb = InkBox(w, 100, 60);
    int expectedLeft = 30 - Extent(w.dc(), "ab cd").cx / 2;
    EXPECT_NEAR(wb.left, expectedLeft, 2);
}

// Mono targets map colours to the nearer of black and white; 24-bpp DIB sections get the
// exact colour.
TEST_F(TextDraw, EveryTargetLayout) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateBitmap(60, 20, 1, 1, nullptr);
    HGDIOBJ old = SelectObject(dc, mono);
    RECT all{0, 0, 60, 20};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(40, 40, 40));
    SetBkMode(dc, TRANSPARENT);
    {
        FontScope font(dc, "Arial", -14);
        TextOutA(dc, 2, 2, "Mono", 4);
    }
    int black = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) black += GetPixel(dc, x, y) == 0;
    EXPECT_GT(black, 20);
    SelectObject(dc, old);
    DeleteObject(mono);

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 60;
    bi.bmiHeader.biHeight = 20;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &bi, 0, &bits, nullptr, 0);
    old = SelectObject(dc, dib);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(10, 120, 200));
    {
        FontScope font(dc, "Arial", -14);
        TextOutA(dc, 2, 2, "Dib", 3);
    }
    int coloured = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) coloured += GetPixel(dc, x, y) == RGB(10, 120, 200);
    EXPECT_GT(coloured, 20);
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
}

// Checked against Windows: GrayStringA sets only pixels where x + y is even.
TEST_F(TextDraw, GrayStringDrawsEveryOtherPixelInTheBrushColour) {
    Canvas c(80, 30);
    FontScope font(c.dc(), "Arial", -16, 0, FW_BOLD);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    EXPECT_TRUE(GrayStringA(c.dc(), red, nullptr, reinterpret_cast<LPARAM>("Gray"), 0, 5, 5, 0, 0));
    int reds = 0, checkered = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x)
            if (c.At(x, y) == RGB(255, 0, 0)) ++reds, checkered += ((x + y) & 1) == 0;
    EXPECT_GT(reds, 10);
    EXPECT_EQ(checkered, reds);
    EXPECT_EQ(Count(c, 80, 30, 0), 0);
    // A null brush uses the DC's brush.
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(c.dc(), blue);
    EXPECT_TRUE(GrayStringA(c.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>("Gray"), 4, 5, 5, 0, 0));
    EXPECT_EQ(Count(c, 80, 30, RGB(0, 0, 255)), reds);
    SelectObject(c.dc(), old);
    DeleteObject(blue);
    DeleteObject(red);
}

namespace {

// The wrapping rule stated one character at a time: a line ends at the blank that does not
// fit, or at the last blank before the character that does not fit; blanks that fit count.
SIZE ReferenceWrap(HDC dc, const std::string& s, int width, int lineHeight) {
    auto advance = [&](char ch) { return Extent(dc, std::string(1, ch).c_str()).cx; };
    int lines = 0, widest = 0;
    std::size_t start = 0;
    while (start < s.size()) {
        long long pen = 0, breakWidth = 0;
        std::size_t breakEnd = std::string::npos, i = start;
        for (; i < s.size(); ++i) {
            long long before = pen;
            pen += advance(s[i]);
            if (s[i] == ' ' && i != start) breakEnd = i, breakWidth = before;
            if (pen > width && breakEnd != std::string::npos) break;
        }
        ++lines;
        if (i >= s.size()) {
            widest = std::max<int>(widest, static_cast<int>(pen));
            break;
        }
        widest = std::max<int>(widest, static_cast<int>(breakWidth));
        start = breakEnd;
        while (start < s.size() && s[start] == ' ') ++start;
    }
    return SIZE{widest, lines * lineHeight};
}

}  // namespace

// The fast line scanner agrees with the rule applied character by character, for random
// words, runs of blanks and widths, with and without tabs in the text.
TEST_F(TextDraw, WordWrapMatchesTheRuleOnRandomTexts) {
    Canvas c(8, 8);
    FontScope font(c.dc(), "Tahoma", -11);
    unsigned seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    for (int round = 0; round < 200; ++round) {
        std::string s;
        int words = 1 + static_cast<int>(next() % 12);
        for (int w = 0; w < words; ++w) {
            s.append(1 + next() % 3, ' ');
            for (unsigned n = 1 + next() % 9; n > 0; --n) s += static_cast<char>('a' + next() % 26);
        }
        int width = static_cast<int>(next() % 120);
        SIZE expected = ReferenceWrap(c.dc(), s, width, font.tm.tmHeight);
        RECT r{0, 0, width, 0};
        int height = DrawTextA(c.dc(), s.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        ASSERT_EQ(height, expected.cy) << '"' << s << "\" width " << width;
        ASSERT_EQ(r.right, expected.cx) << '"' << s << "\" width " << width;
        // A tab at the end of the text sends the layout down the tab-aware path.
        std::string tabbed = s + "\t";
        r = RECT{0, 0, width, 0};
        int tabbedHeight = DrawTextA(c.dc(), tabbed.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
        ASSERT_GE(tabbedHeight, height);
        ASSERT_LE(tabbedHeight, height + font.tm.tmHeight);
    }
}

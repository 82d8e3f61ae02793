// DreamBar's painting: the margin the controls are kept in and AutoSize, the tiling of tiny
// pictures and of a transparent bar left of its container, PrintText's lines (line breaks,
// wrapping, over-long words), the first paint of a hiding bar, no GDI leaks, and golden images
// of the looks (gradient, caption bar, rotated caption, minimised strip, wrapped message).
#include "controls/dreambar/dreambar_test.h"
#include "controls/splitwindow/splitwindow.h"
#include "platform/user/user.h"

namespace brimlox::test {
namespace {

using controls::DreamBar;

class DreamBarPaintTest : public DreamBarTest {
protected:
    // The colour of the bar's pixel (x, y) on its own surface.
    static COLORREF At(const DreamBar& bar, int x, int y) { return GetPixel(bar.hDC(), x, y); }
};

TEST_F(DreamBarPaintTest, ControlsStayInsideTheMarginAndAutoSizeFitsTheBar) {
    MakeForm();
    auto bar = AddBar(0, 0, 300, 60);
    auto child = AddChild(*bar, 10, 50);  // its bottom at 70 pixels, below the bar
    bar->Refresh();
    EXPECT_EQ(child->Top(), (60 - 4 - 20) * kTwips) << "height - margin - its height";
    child->Move(0, 0, 20 * kTwips, 20 * kTwips);
    bar->Refresh();
    EXPECT_EQ(child->Left(), 4 * kTwips);
    EXPECT_EQ(child->Top(), 4 * kTwips);

    // The lowest control ends at 600 twips: with Leading 4 the bar becomes 660 twips high.
    child->Move(4 * kTwips, 600 - 20 * kTwips, 20 * kTwips, 20 * kTwips);
    bar->SetAutoSize(true);
    EXPECT_EQ(bar->Height(), 660);
    EXPECT_EQ(child->Top(), 600 - 20 * kTwips) << "the control itself stays";
}

TEST_F(DreamBarPaintTest, TinyPicturesAndBarsLeftOfTheirContainerAreTiledEverywhere) {
    MakeForm();
    auto bar = AddBar(0, 0, 40, 20);
    bar->SetBorderStyle(0);
    bar->SetPicture(GridPicture(1, 1));
    const COLORREF dot = At(*bar, 0, 0);
    for (int x = 0; x < 40; x += 7) EXPECT_EQ(At(*bar, x, 19), dot) << x;

    // A transparent bar partly left of the form's edge continues the form's tiling: no strip
    // on its right is left unpainted.
    form->SetPicture(GridPicture(16, 16));
    auto left = AddBar(-5, 30, 60, 20);
    left->SetBorderStyle(0);
    left->SetBackColor(RGB(255, 0, 255));
    left->SetTransparent(true);
    left->Refresh();
    for (int x = 0; x < 60; ++x) ASSERT_NE(At(*left, x, 10), RGB(255, 0, 255)) << x;

    // Bars wide enough for the painter to enlarge the tile first show, pixel for pixel, one
    // step-sized copy of the picture per step (the steps are smaller than this picture); the
    // transparent one continues at its offset on the form, a true modulo left of the edge.
    const auto picture = GridPicture(7, 9);
    form->SetPicture(picture);  // what the transparent bar takes over
    const auto [stepX, stepY] = controls::SplitWindow::TileSteps(picture->PixelWidth(), picture->PixelHeight());
    ASSERT_TRUE(stepX < 7 || stepY < 9);
    for (const int leftPx : {0, -13}) {
        auto wide = AddBar(leftPx, 60, 400, 30);
        wide->SetBorderStyle(0);
        wide->SetPicture(picture);
        if (leftPx != 0) wide->SetTransparent(true);
        wide->Refresh();
        const long long ox = leftPx, oy = leftPx ? 60 : 0;
        auto mod = [](long long v, long long m) { return (v % m + m) % m; };
        for (int y = 0; y < 30; ++y)
            for (int x = -leftPx; x < 400; ++x)  // left of the form's edge nothing can be read
                ASSERT_EQ(At(*wide, x, y),
                          GridColour(static_cast<int>(mod(x + ox, stepX)), static_cast<int>(mod(y + oy, stepY))))
                    << leftPx << ": " << x << "," << y;
    }
}

TEST_F(DreamBarPaintTest, PrintTextBreaksLinesAndWrapsWithoutEndingInALoop) {
    MakeForm();
    auto bar = AddBar(0, 0, 300, 120);
    const float word = bar->TextWidthOf("alpha");
    auto lines = bar->WrapLines("alpha beta gamma delta", bar->TextWidthOf("gamma delta"));
    EXPECT_EQ(lines, (std::vector<std::string>{"alpha beta", "gamma delta"}));
    lines = bar->WrapLines("extraordinarily long words here", word);
    EXPECT_EQ(lines, (std::vector<std::string>{"extraordinarily", "long", "words", "here"}))
        << "a word wider than the limit makes a line of its own";
    lines = bar->WrapLines(std::string(200, 'x') + " y", 10);
    EXPECT_EQ(lines.size(), 2u);
    std::string many;
    for (int i = 0; i < 60; ++i) many += "word ";
    EXPECT_EQ(bar->WrapLines(many, word).size(), 31u) << "at most 31 lines";

    // Two lines from a CR LF, the second one text height lower: ink on both rows.
    bar->SetBorderStyle(0);
    bar->SetBackColor(RGB(255, 255, 255));
    bar->SetForeColor(RGB(0, 0, 0));
    bar->PrintText("HHHH\r\nHHHH", 0, 15 * kTwips, 15 * kTwips);
    const int lineHeight = static_cast<int>(bar->TextHeightOf("HHHH")) / kTwips;
    auto inkInRow = [&](int top) {
        for (int y = top; y < top + lineHeight; ++y)
            for (int x = 15; x < 45; ++x)
                if (At(*bar, x, y) == RGB(0, 0, 0)) return true;
        return false;
    };
    EXPECT_TRUE(inkInRow(15));
    EXPECT_TRUE(inkInRow(15 + lineHeight));
    EXPECT_FALSE(inkInRow(15 + 2 * lineHeight));
}

// Words of 1 to 12 letters from a fixed seed, single spaces, one word wider than a line, and
// 2,000 characters in all.
std::string Prose() {
    std::string text;
    std::uint32_t seed = 12345;
    bool longWord = false;
    while (text.size() < 2000) {
        seed = seed * 1103515245u + 12345u;
        const int length = 1 + static_cast<int>((seed >> 16) % 12);
        for (int i = 0; i < length; ++i) text += static_cast<char>((i == 0 && seed % 7 == 0 ? 'A' : 'a') + (seed >> (i % 16)) % 26);
        text += ' ';
        if (text.size() > 600 && !longWord) text += std::string(30, 'W') + " ", longWord = true;
    }
    text.resize(2000);
    return text;
}

// PrintText's wrapped lines are DrawTextA's word-break lines, pixel for pixel: the same breaks,
// the over-long word kept whole on its own line, and only the first 31 lines when the text
// needs more (DrawTextA clipped to 31 lines there).
TEST_F(DreamBarPaintTest, WrappedTextBreaksWhereDrawTextBreaks) {
    MakeForm().Move(0, 0, 670 * kTwips, 530 * kTwips);
    auto bar = AddBar(0, 0, 660, 520);
    bar->SetBorderStyle(0);
    bar->SetBackColor(RGB(255, 255, 255));
    bar->SetForeColor(RGB(0, 0, 0));
    host::DoEvents();
    const std::string text = Prose();
    HDC dc = bar->hDC();
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    ASSERT_GT(31 * tm.tmHeight + 4, 0);
    ASSERT_LE(31 * tm.tmHeight + 4, 520) << "31 lines fit the bar";
    const RECT client{0, 0, 660, 520};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    for (const int width : {300, 640}) {
        SCOPED_TRACE(width);
        FillRect(dc, &client, white);
        bar->PrintText(text, 0, 2 * kTwips, 2 * kTwips, static_cast<float>(width * kTwips));
        Canvas printed(660, 520);
        BitBlt(printed.dc(), 0, 0, 660, 520, dc, 0, 0, SRCCOPY);

        FillRect(dc, &client, white);
        RECT box{2, 2, 2 + width, 2 + 31 * tm.tmHeight};
        SetTextColor(dc, RGB(0, 0, 0));
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const int height =
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
        SetBkMode(dc, oldMode);
        if (width == 300) EXPECT_GT(height, 31 * tm.tmHeight) << "this width needs more than 31 lines";
        else EXPECT_LT(height, 31 * tm.tmHeight) << "this width shows the whole text";
        int differing = 0, ink = 0, beyond = 0;
        for (int y = 0; y < 520; ++y)
            for (int x = 0; x < 660; ++x) {
                const COLORREF seen = GetPixel(printed.dc(), x, y);
                if (y >= box.bottom) {
                    beyond += seen != RGB(255, 255, 255);
                    continue;
                }
                const COLORREF expected = GetPixel(dc, x, y);
                differing += seen != expected;
                ink += expected == RGB(0, 0, 0);
            }
        EXPECT_EQ(differing, 0);
        EXPECT_EQ(beyond, 0) << "nothing printed after the 31st line";
        EXPECT_GT(ink, 5000) << "the text was drawn";
    }
    DeleteObject(white);
}

TEST_F(DreamBarPaintTest, AHidingBarStartsMinimisedAndPaintingLeaksNothing) {
    MakeForm();
    auto bar = AddBar(0, 0, 300, 60);
    bar->SetCaption("Hidden");
    Record(*bar, {"Initialized", "Refreshed"});
    bar->SetAutoHide(true);
    EXPECT_FALSE(bar->Minimized()) << "set after the first paint";
    auto fresh = AddBar(0, 100, 300, 60);
    fresh->SetCaption("Fresh");
    host::PropertyBag bag;
    bag.WriteProperty("AutoHide", true);
    bag.WriteProperty("Caption", std::string("Fresh"));
    auto loaded = AddBar(0, 200, 300, 60);
    loaded->ReadProperties(bag);
    loaded->Refresh();
    EXPECT_TRUE(loaded->Minimized()) << "a loaded auto-hiding bar starts hidden";
    EXPECT_EQ(loaded->Height(), loaded->CaptionHeight() * kTwips);

    auto picture = GridPicture(7, 5);
    const std::size_t before = LiveGdiObjects();
    bar->SetGradient(controls::VerticalGradient);
    bar->SetPicture(picture);
    bar->SetMessage({"Rotated", 0, 0, 0, 0, 90});
    bar->SetMinimizeStyle(controls::MinToLeft);
    bar->Refresh();
    EXPECT_EQ(LiveGdiObjects(), before);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "Refreshed");
}

TEST_F(DreamBarPaintTest, TheLooksMatchTheirGoldenImage) {
    MakeForm().SetBackColor(RGB(128, 128, 128));
    // A wide bar with a gradient, its caption bar and a wrapped message.
    auto top = AddBar(5, 5, 240, 70);
    top->SetBackColor(RGB(70, 120, 190));
    top->SetGradientColor(RGB(200, 220, 250));
    top->SetGradient(controls::HorizontalGradient);
    top->SetForeColor(RGB(0, 0, 0));
    top->SetCaption("Tools");
    top->SetMessage({"A message wrapped to a width of its own", 0, 8 * kTwips, 26 * kTwips, 150 * kTwips, 0});
    // A tall bar that minimises to the left: its caption reads upwards.
    auto side = AddBar(5, 80, 70, 165);
    side->SetMinimizeStyle(controls::MinToLeft);
    side->SetBackColor(RGB(230, 220, 190));
    side->SetCaption("Explorer");
    // The same kind of bar minimised, and a bar tiled with a picture.
    auto thin = AddBar(80, 80, 70, 165);
    thin->SetMinimizeStyle(controls::MinToLeft);
    thin->SetMinimizeColor(RGB(180, 200, 160));
    thin->SetCaption("Minimised");
    thin->SetMinimized(true);
    auto tiled = AddBar(120, 80, 125, 80);
    tiled->SetPicture(GridPicture(25, 9));
    tiled->SetBorderStyle(4);
    host::DoEvents();
    Canvas canvas(250, 250);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, 250, 250, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(MatchesGolden(canvas.surface(), "controls/dreambar_looks"));
}

}  // namespace
}  // namespace brimlox::test

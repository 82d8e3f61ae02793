// The progress bar's pixels as the screen shows them: the fill, the text inverting over it,
// the segment lines, bevels in their own colours after the NOT-XOR fill, the marquee block
// moving on the event loop, no GDI object left by any paint, and a golden image.
#include "controls/indicators/progressbar_test.h"
#include "foundation/painters/bevel.h"
#include "platform/gdi/handles.h"
#include "support/gdi_test.h"

namespace brimlox::test {
namespace {

using controls::ProgressBar;

constexpr COLORREF kFore = RGB(0, 0, 192);

COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }

class ProgressBarPaintTest : public ProgressBarTest {
protected:
    // A bar without bevels or text, so every pixel is fill or background.
    ProgressBar& PlainBar(int width, int height) {
        auto& b = MakeBar(10, 10, width, height);
        b.SetBorderStyle(0);
        b.SetBarStyle(0);
        b.SetShowPercent(false);
        return b;
    }
    std::shared_ptr<ProgressBar> AddBar(int left, int top, int width, int height) {
        auto b = std::static_pointer_cast<ProgressBar>(form->Add("ProgressBar"));
        b->Move(left * 15, top * 15, width * 15, height * 15);
        return b;
    }
};

TEST_F(ProgressBarPaintTest, FillCoversEveryRowUpToTheValue) {
    auto& b = PlainBar(200, 20);
    const COLORREF filled = NotXor(kFore, Face());
    EXPECT_EQ(Pixel(0, 0), Face());
    b.SetValue(50);
    for (int y : {0, 10, 19}) {
        EXPECT_EQ(Pixel(0, y), filled) << "row " << y;
        EXPECT_EQ(Pixel(99, y), filled) << "row " << y;
        EXPECT_EQ(Pixel(100, y), Face()) << "row " << y;
    }
    b.SetValue(100);
    EXPECT_EQ(Pixel(199, 19), filled);
    b.SetValue(1);
    EXPECT_EQ(Pixel(1, 5), filled);
    EXPECT_EQ(Pixel(2, 5), Face());
    // An odd height centres the pen one row lower: the top row stays as it was, as the
    // reference GDI draws it.
    b.Move(b.Left(), b.Top(), b.Width(), 21 * 15);
    b.SetValue(50);
    EXPECT_EQ(Pixel(50, 0), Face());
    EXPECT_EQ(Pixel(50, 1), filled);
    EXPECT_EQ(Pixel(50, 20), filled);
}

// The text is drawn first in the fore colour; the NOT-XOR fill turns the part of it under the
// fill white, while the part beyond the fill keeps the fore colour.
TEST_F(ProgressBarPaintTest, TextInvertsWhereTheFillCoversIt) {
    auto& b = PlainBar(200, 24);
    b.SetShowPercent(true);
    b.SetValue(50);
    int whiteLeft = 0, foreLeft = 0, foreRight = 0, whiteRight = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 70; x < 130; ++x) {
            COLORREF c = Pixel(x, y);
            if (x < 100) whiteLeft += c == RGB(255, 255, 255), foreLeft += c == kFore;
            else foreRight += c == kFore, whiteRight += c == RGB(255, 255, 255);
        }
    EXPECT_GT(whiteLeft, 10);
    EXPECT_EQ(foreLeft, 0);
    EXPECT_GT(foreRight, 10);
    EXPECT_EQ(whiteRight, 0);
    // The text is centred: its ink starts about as far left of the middle as it ends right of it.
    int first = 200, last = -1, top = 24, bottom = -1;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 200; ++x) {
            COLORREF c = Pixel(x, y);
            if (c == kFore || c == RGB(255, 255, 255))
                first = std::min(first, x), last = std::max(last, x), top = std::min(top, y), bottom = std::max(bottom, y);
        }
    EXPECT_NEAR((first + last) / 2.0, 100, 4);
    // The text's cell is centred in the bar's height: the digits' ink sits round the middle.
    EXPECT_NEAR((top + bottom) / 2.0, 12, 2.5);
    // At 0 per cent all of the text is in the fore colour; at 100 all of it is white.
    b.SetValue(0);
    EXPECT_EQ(Pixel(first + 1, 12) == RGB(255, 255, 255), false);
    b.SetValue(100);
    int fore = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = first; x <= last; ++x) fore += Pixel(x, y) == kFore;
    EXPECT_EQ(fore, 0);
}

TEST_F(ProgressBarPaintTest, SegmentLinesLieBeyondTheFillAndSkipTheMiddleUnderText) {
    auto& b = PlainBar(200, 20);
    const COLORREF line = NotXor(GetSysColor(COLOR_3DLIGHT), Face());
    ASSERT_NE(line, Face());
    b.SetShowPercent(true);
    b.SetDivisions(4);  // lines at 200 / 4 * i - 1: 49, 99, 149
    // A one-pixel flat geometric line covers its column from the first row to the last, as the
    // reference GDI draws it.
    EXPECT_EQ(Pixel(49, 0), line);
    EXPECT_EQ(Pixel(49, 1), line);
    EXPECT_EQ(Pixel(49, 19), line);
    EXPECT_EQ(Pixel(99, 1), Face()) << "the middle line is left out while the text is shown";
    EXPECT_EQ(Pixel(149, 1), line);
    EXPECT_EQ(Pixel(48, 1), Face());
    EXPECT_EQ(Pixel(50, 1), Face());
    b.SetShowPercent(false);
    EXPECT_EQ(Pixel(99, 1), line);
    b.SetValue(60);  // filled to 120: the first two lines are inside the fill
    EXPECT_EQ(Pixel(49, 1), NotXor(kFore, Face()));
    EXPECT_EQ(Pixel(99, 1), NotXor(kFore, Face()));
    EXPECT_EQ(Pixel(149, 1), line);
    b.SetDivisions(5);  // an odd count has no middle line: 39, 79, 119, 159
    b.SetShowPercent(true);
    b.SetValue(0);
    for (int x : {39, 79, 119, 159}) EXPECT_EQ(Pixel(x, 1), line) << x;
}

// The bevels come last and in the copy mode: every pixel a bevel paints has the colour the
// bevel painter gives it on its own, not one combined with the fill.
TEST_F(ProgressBarPaintTest, BevelsKeepTheirColoursOverTheFill) {
    auto& b = MakeBar(10, 10, 120, 20);
    b.SetValue(50);
    // The bevels on their own, on two backgrounds: the pixels the same on both are bevel pixels.
    auto reference = [](COLORREF background, Canvas& c) {
        (void)background;
        foundation::workRect = RECT{0, 0, 120, 20};
        foundation::DrawBevel(c.dc(), foundation::SoftInset, BF_RECT);
        foundation::workRect = RECT{1, 1, 62, 19};  // 50 % of 119 + 2
        foundation::DrawBevel(c.dc(), foundation::SoftRaised, BF_RECT);
    };
    Canvas black(120, 20, RGB(0, 0, 0)), white(120, 20, RGB(255, 255, 255));
    reference(RGB(0, 0, 0), black);
    reference(RGB(255, 255, 255), white);
    int bevelPixels = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 120; ++x) {
            if (black.At(x, y) != white.At(x, y)) continue;
            ++bevelPixels;
            ASSERT_EQ(Pixel(x, y), black.At(x, y)) << "at " << x << ", " << y;
        }
    EXPECT_GT(bevelPixels, 200);
}

TEST_F(ProgressBarPaintTest, NoPaintLeavesAGdiObjectBehind) {
    auto& b = MakeBar(10, 10, 200, 20);
    b.SetDivisions(8);
    auto& table = gdi::HandleTable::Instance();
    std::size_t before = table.LiveCount();
    for (int v = 0; v <= 100; v += 7) b.SetValue(v);
    b.SetShowPercent(false);
    b.SetBorderStyle(3);
    auto font = std::make_shared<host::StdFont>();
    font->SetSize(11);
    b.SetFont(font);
    b.Refresh();
    b.Move(b.Left(), b.Top(), 150 * 15, 30 * 15);
    b.SetMarquee(true);
    Wait(200);
    b.SetMarquee(false);
    host::DoEvents();
    // The new font's handle is the one object allowed to be new: the font object owns it.
    EXPECT_LE(table.LiveCount(), before + 1);
    b.Refresh();
    b.Refresh();
    EXPECT_LE(table.LiveCount(), before + 1);
}

TEST_F(ProgressBarPaintTest, MarqueeBlockMovesOnTheEventLoop) {
    auto& b = PlainBar(200, 20);
    b.SetMarqueeSpeed(30);
    b.SetMarquee(true);
    ASSERT_TRUE(b.MarqueeTimer().Enabled());
    EXPECT_EQ(b.MarqueeBlockWidth(), 50);
    EXPECT_EQ(b.MarqueePosition(), -50);
    percentChanges = 0;
    Wait(300);  // ten ticks of 4 pixels
    EXPECT_EQ(b.MarqueePosition(), -10);
    const COLORREF filled = NotXor(kFore, Face());
    EXPECT_EQ(Pixel(0, 10), filled);
    EXPECT_EQ(Pixel(39, 10), filled);
    EXPECT_EQ(Pixel(40, 10), Face());
    Wait(450);  // fifteen more: the block spans 50..99
    EXPECT_EQ(b.MarqueePosition(), 50);
    EXPECT_EQ(Pixel(49, 10), Face());
    EXPECT_EQ(Pixel(50, 10), filled);
    EXPECT_EQ(Pixel(99, 10), filled);
    EXPECT_EQ(Pixel(100, 10), Face());
    // Past the right edge it comes in again from the left.
    Wait(30 * 38);
    EXPECT_LT(b.MarqueePosition(), 0);
    EXPECT_EQ(percentChanges, 0) << "a marquee shows no percentage";
    // Turned off, the bar shows its value again and the timer stops.
    b.SetValue(25);
    b.SetMarquee(false);
    EXPECT_FALSE(b.MarqueeTimer().Enabled());
    EXPECT_EQ(Pixel(49, 10), filled);
    EXPECT_EQ(Pixel(50, 10), Face());
}

TEST_F(ProgressBarPaintTest, MarqueeStandsStillInTheDesigner) {
    auto& b = MakeBar(10, 10, 200, 20, true);
    b.SetShowPercent(false);
    b.SetMarquee(true);
    EXPECT_FALSE(b.MarqueeTimer().Enabled());
    // The designer shows the block standing at the start of the bar.
    EXPECT_EQ(b.MarqueePosition(), 0);
    EXPECT_EQ(Pixel(20, 10), NotXor(kFore, Face()));
    EXPECT_EQ(Pixel(120, 10), Face());
}

TEST_F(ProgressBarPaintTest, MainLooksMatchTheirGoldenImage) {
    auto& plain = MakeBar(10, 10, 220, 20);
    plain.SetValue(37);
    auto segmented = AddBar(10, 40, 220, 20);
    segmented->SetDivisions(10);
    segmented->SetShowPercent(false);
    segmented->SetValue(64);
    auto text = AddBar(10, 70, 220, 24);
    text->SetBorderStyle(1);
    text->SetBarStyle(4);
    text->SetDivisions(4);
    text->SetValue(50);
    auto full = AddBar(10, 104, 220, 16);
    full->SetForeColor(RGB(0, 128, 0));
    full->SetValue(100);
    auto marquee = AddBar(10, 130, 220, 20);
    marquee->SetMarquee(true);
    Wait(30 * 30);
    host::DoEvents();
    Canvas canvas(240, 160);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, 240, 160, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(MatchesGolden(canvas.surface(), "indicators/progressbar_looks", 30));
}

}  // namespace
}  // namespace brimlox::test

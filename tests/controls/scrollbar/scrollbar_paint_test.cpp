// The scroll bar's looks, as they reach the screen: golden images of the main styles and
// states, and pixel checks of the thumb's place.
#include "controls/scrollbar/scrollbar_test.h"

namespace brimlox::test {
namespace {

using controls::ScrollBar;

class ScrollBarPaintTest : public ScrollBarTest {
protected:
    // Another bar on the test's form, at (left, top) pixels, `width` x `height` pixels.
    std::shared_ptr<ScrollBar> AddBar(int left, int top, int width, int height) {
        auto b = std::static_pointer_cast<ScrollBar>(form->Add("ScrollBar"));
        b->Move(left * 15, top * 15, width * 15, height * 15);
        return b;
    }
    // The screen's pixels of a rectangle of the form, as an image.
    ::testing::AssertionResult ScreenMatches(int left, int top, int width, int height, const std::string& name) {
        host::DoEvents();
        Canvas canvas(width, height);
        HDC screen = GetDC(nullptr);
        BitBlt(canvas.dc(), 0, 0, width, height, screen, left, top, SRCCOPY);
        ReleaseDC(nullptr, screen);
        return MatchesGolden(canvas.surface(), "scrollbar/" + name);
    }
};

TEST_F(ScrollBarPaintTest, MainLooksMatchTheirGoldenImages) {
    ScrollBar& plain = MakeBar(10, 10, 300, 17);
    plain.SetMax(100);
    plain.SetValue(30);
    EXPECT_TRUE(ScreenMatches(10, 10, 300, 17, "horizontal"));

    // Vertical with a Bump border, inset glyphs and the filler square; at Min the first arrow
    // is grey.
    auto tall = AddBar(330, 10, 17, 150);
    tall->SetMax(100);
    tall->SetBorderStyle(3);
    tall->SetFont3D(controls::Inset3D);
    tall->SetExtended(true);
    EXPECT_TRUE(ScreenMatches(330, 10, 17, 150, "vertical_bump_inset_extended"));

    // Small buttons draw the symbol font's arrows; soft buttons and a raised 3D glyph.
    auto small = AddBar(10, 40, 160, 12);
    small->SetMax(100);
    small->SetValue(50);
    small->SetSoftButtons(true);
    small->SetFont3D(controls::Raised3D);
    small->SetBorderStyle(6);
    EXPECT_TRUE(ScreenMatches(10, 40, 160, 12, "small_soft_raised_etched"));

    // Disabled: both glyphs grey.
    plain.SetEnabled(false);
    EXPECT_EQ(BarPixel(8, 8), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(BarPixel(291, 8), GetSysColor(COLOR_GRAYTEXT));
}

TEST_F(ScrollBarPaintTest, HeldArrowAndAutoScrollMarkMatchTheirGoldenImages) {
    ScrollBar& b = MakeBar(20, 40, 300, 17);
    b.SetMax(100);
    b.SetValue(50);
    Play("at 10ms " + At(8, 8) + "down left\nwait 20ms\n");
    EXPECT_TRUE(ScreenMatches(20, 40, 300, 17, "held_first_arrow"));
    Play("up left\nwait 20ms\n" + At(100, 8) + "click middle\n" + At(100, 30) + "wait 10ms\n");
    ASSERT_TRUE(b.AutoScrolling());
    EXPECT_TRUE(ScreenMatches(20, 40, 300, 17, "auto_scroll_mark"));
    Play("click left\n");
    EXPECT_TRUE(ScreenMatches(20, 40, 300, 17, "auto_scroll_ended")) << "the mark is gone";
}

// Past about 2,200 pixels a 16-bit thumb position wrapped negative and the thumb vanished.
TEST_F(ScrollBarPaintTest, ThumbOfAVeryLongBarIsDrawnAtItsEnd) {
    ScrollBar& b = MakeBar(0, 0, 2400, 17);
    b.SetMax(1000);
    b.SetValue(1000);
    HDC dc = b.hDC();  // the persistent bitmap holds the whole bar, on screen or not
    const int farArrow = 2400 - 17;
    EXPECT_EQ(GetPixel(dc, farArrow - 1, 8), GetSysColor(COLOR_3DDKSHADOW)) << "the thumb's last column";
    EXPECT_EQ(GetPixel(dc, farArrow, 1), GetSysColor(COLOR_3DLIGHT)) << "the arrow's first";
    EXPECT_EQ(GetPixel(dc, 2000, 8), GetSysColor(COLOR_SCROLLBAR));
    b.SetValue(0);
    EXPECT_EQ(GetPixel(dc, farArrow - 1, 8), GetSysColor(COLOR_SCROLLBAR));
    EXPECT_EQ(GetPixel(dc, 17, 1), GetSysColor(COLOR_3DLIGHT)) << "the thumb is back at the start";
}

}  // namespace
}  // namespace brimlox::test

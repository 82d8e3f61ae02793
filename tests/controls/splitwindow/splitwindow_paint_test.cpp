// SplitWindow's looks as they reach the screen: the flat and gradient backgrounds, the tiled
// picture and its steps, the transparent look, the border and the grip, golden images of both
// styles, and the sizes that follow the screen's pixel density. Every paint is checked for
// leaked GDI objects.
#include <cmath>

#include "controls/divider/divider_test.h"
#include "controls/splitwindow/splitwindow_test.h"
#include "platform/gdi/syscolors.h"

namespace brimlox::test {
namespace {

using controls::SplitWindow;

class SplitWindowPaintTest : public SplitWindowTest {
protected:
    void RepaintWithoutLeaks(SplitWindow& s) {
        host::DoEvents();
        const std::size_t before = LiveGdiObjects();
        s.Refresh();
        host::DoEvents();
        EXPECT_EQ(LiveGdiObjects(), before) << s.Name() << " leaked GDI objects while painting";
    }
    COLORREF At(SplitWindow& s, int x, int y) {
        host::DoEvents();
        return GetPixel(s.hDC(), x, y);
    }
    static int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }
};

TEST_F(SplitWindowPaintTest, WithoutGradientOrPictureTheControlIsItsBackColourInsideItsBorder) {
    MakeForm();
    auto s = AddSplitter(10, 10, 100, 60);
    s->SetBackColor(RGB(40, 90, 160));
    RepaintWithoutLeaks(*s);
    for (int y = 4; y < 56; y += 7)
        for (int x = 4; x < 96; x += 9) ASSERT_EQ(At(*s, x, y), RGB(40, 90, 160)) << x << "," << y;
    // The outlined bevel: a raised inner edge inside a sunken outer one, four pixels in all.
    EXPECT_EQ(At(*s, 0, 30), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(At(*s, 1, 30), GetSysColor(COLOR_3DSHADOW));
    s->SetBorder(false);
    RepaintWithoutLeaks(*s);
    EXPECT_EQ(At(*s, 0, 30), RGB(40, 90, 160));
    s->SetBorder(true);
    s->SetBorderStyle(0);
    RepaintWithoutLeaks(*s);
    EXPECT_EQ(At(*s, 0, 30), RGB(40, 90, 160)) << "style 0 draws no border";
}

TEST_F(SplitWindowPaintTest, TheGradientRunsAcrossASplitterAndATopToBottomToolBar) {
    MakeForm();
    auto s = AddSplitter(0, 0, 200, 60);
    s->SetBorder(false);
    s->SetBackColor(RGB(100, 100, 100));
    s->SetGradientPct(50);
    RepaintWithoutLeaks(*s);
    const int middle = Brightness(At(*s, 99, 30)), edge = Brightness(At(*s, 1, 30)), right = Brightness(At(*s, 198, 30));
    EXPECT_GT(middle, edge + 100) << "light in the middle";
    EXPECT_GT(middle, right + 100);
    EXPECT_EQ(At(*s, 50, 2), At(*s, 50, 57)) << "columns are one colour";

    auto bar = AddSplitter(0, 100, 200, 40);
    bar->SetStyle(controls::ToolBarWindow);
    bar->SetVertical(false);
    bar->SetBorder(false);
    bar->SetMoveable(false);
    bar->SetBackColor(RGB(100, 100, 100));
    bar->SetGradientPct(50);
    RepaintWithoutLeaks(*bar);
    EXPECT_GT(Brightness(At(*bar, 100, 19)), Brightness(At(*bar, 100, 1)) + 100) << "light in the middle row";
    EXPECT_EQ(At(*bar, 20, 10), At(*bar, 180, 10)) << "rows are one colour";
}

TEST_F(SplitWindowPaintTest, APictureIsTiledWithStepsOfAtLeastOnePixel) {
    EXPECT_EQ(SplitWindow::TileSteps(31, 31), std::make_pair(30, 29));
    EXPECT_EQ(SplitWindow::TileSteps(32, 32), std::make_pair(32, 31));
    EXPECT_EQ(SplitWindow::TileSteps(1, 1), std::make_pair(1, 1)) << "never 0 or -1";
    EXPECT_EQ(SplitWindow::TileSteps(2, 2), std::make_pair(2, 1));

    MakeForm();
    auto s = AddSplitter(0, 0, 100, 80);
    s->SetBorder(false);
    s->SetPicture(GridPicture(31, 31));
    RepaintWithoutLeaks(*s);
    EXPECT_EQ(At(*s, 0, 0), GridColour(0, 0));
    EXPECT_EQ(At(*s, 29, 28), GridColour(29, 28));
    EXPECT_EQ(At(*s, 30, 0), GridColour(0, 0)) << "the second tile starts 30 pixels across";
    EXPECT_EQ(At(*s, 0, 29), GridColour(0, 0)) << "and 29 pixels down";
    EXPECT_EQ(At(*s, 95, 75), GridColour(95 - 90, 75 - 58));

    // A one-pixel picture covers the control (and the paint ends).
    s->SetPicture(GridPicture(1, 1));
    RepaintWithoutLeaks(*s);
    EXPECT_EQ(At(*s, 0, 0), GridColour(0, 0));
    EXPECT_EQ(At(*s, 99, 79), GridColour(0, 0));
}

TEST_F(SplitWindowPaintTest, ATransparentControlContinuesItsContainersTiling) {
    MakeForm();
    auto outer = AddSplitter(20, 20, 300, 200);
    outer->SetBorder(false);
    outer->SetPicture(GridPicture(31, 31));
    auto inner = AddSplitter(40, 10, 100, 80, outer.get());
    inner->SetBorder(false);
    inner->SetTransparent(true);
    RepaintWithoutLeaks(*inner);
    // Tiles of 30 x 29 from the container's origin: (40, 10) shows the tile's (10, 10).
    EXPECT_EQ(At(*inner, 0, 0), GridColour(10, 10));
    EXPECT_EQ(At(*inner, 20, 19), GridColour(0, 0));
    EXPECT_EQ(At(*outer, 60, 29), GridColour(0, 0)) << "the container's own tiling agrees";

    // A transparent control on a transparent SplitWindow counts that one's place too: both
    // continue the form's tiling.
    form->SetPicture(GridPicture(31, 31));
    outer->SetTransparent(true);
    RepaintWithoutLeaks(*outer);
    EXPECT_EQ(At(*outer, 0, 0), GridColour(20, 20));
    RepaintWithoutLeaks(*inner);
    EXPECT_EQ(At(*inner, 0, 0), GridColour(0, 1)) << "(60, 30) on the form";

    // Without a picture to show, the container's colour.
    auto plain = AddSplitter(330, 220, 40, 40);
    plain->SetBorder(false);
    form->SetPicture(nullptr);
    form->SetBackColor(RGB(0, 100, 0));
    plain->SetTransparent(true);
    RepaintWithoutLeaks(*plain);
    EXPECT_EQ(At(*plain, 5, 5), RGB(0, 100, 0));
    EXPECT_EQ(plain->BackColor(), RGB(0, 100, 0));
}

TEST_F(SplitWindowPaintTest, AMoveableToolBarDrawsTwoRaisedBarsAtItsLeadingEnd) {
    MakeForm();
    auto bar = AddSplitter(0, 0, 200, 30);
    bar->SetStyle(controls::ToolBarWindow);
    bar->SetBorder(false);
    bar->SetBackColor(RGB(10, 10, 10));
    RepaintWithoutLeaks(*bar);
    const COLORREF light = GetSysColor(COLOR_3DHILIGHT), face = RGB(10, 10, 10);
    // Bars 3 pixels wide at x = 4 and x = 8, from 4 pixels below the top to 4 above the bottom.
    EXPECT_EQ(At(*bar, 4, 15), light);
    EXPECT_EQ(At(*bar, 8, 15), light);
    EXPECT_EQ(At(*bar, 3, 15), face);
    EXPECT_EQ(At(*bar, 11, 15), face);
    EXPECT_EQ(At(*bar, 4, 3), face);
    EXPECT_NE(At(*bar, 5, 25), face);
    EXPECT_EQ(At(*bar, 5, 26), face);

    // Taller than wide: the bars lie across the top.
    auto column = AddSplitter(250, 0, 30, 200);
    column->SetStyle(controls::ToolBarWindow);
    column->SetBorder(false);
    column->SetBackColor(RGB(10, 10, 10));
    RepaintWithoutLeaks(*column);
    EXPECT_EQ(At(*column, 15, 4), light);
    EXPECT_EQ(At(*column, 15, 8), light);
    EXPECT_EQ(At(*column, 15, 12), face);

    bar->SetMoveable(false);
    RepaintWithoutLeaks(*bar);
    EXPECT_EQ(At(*bar, 4, 15), face) << "no grip without Moveable";
}

TEST_F(SplitWindowPaintTest, BothStylesMatchTheirGoldenImage) {
    MakeForm().SetBackColor(RGB(128, 128, 128));
    // A three-pane splitter with a gradient, its middle pane a nested horizontal splitter;
    // the panes hold picture boxes of their own colours.
    auto s = AddSplitter(5, 5, 240, 150);
    s->SetBackColor(RGB(70, 120, 190));
    s->SetGradientPct(30);
    auto box = [&](host::Control* container, COLORREF colour) {
        auto b = form->Add("PictureBox", "", container);
        b->SetBackColor(colour);
        b->Move(15, 15, 300, 300);
        return b;
    };
    box(s.get(), RGB(255, 255, 255));
    auto nested = std::static_pointer_cast<SplitWindow>(form->Add("SplitWindow", "", s.get()));
    nested->Move(600, 15, 300, 300);
    box(s.get(), RGB(200, 220, 255))->Move(1200, 15, 300, 300);
    nested->SetVertical(false);
    nested->SetBackColor(RGB(200, 180, 120));
    nested->SetBorderStyle(1);
    box(nested.get(), RGB(255, 250, 200));
    box(nested.get(), RGB(210, 240, 200))->Move(15, 600, 300, 300);
    s->SetActive(true);
    nested->SetActive(true);
    // A tool bar with a gradient and its grip, and one in the soft inset style with a picture.
    auto bar = AddSplitter(5, 165, 240, 28);
    bar->SetStyle(controls::ToolBarWindow);
    bar->SetVertical(false);
    bar->SetBackColor(RGB(212, 208, 200));
    bar->SetGradientPct(25);
    auto tiled = AddSplitter(5, 200, 240, 45);
    tiled->SetPicture(GridPicture(25, 9));
    tiled->SetBorderStyle(8);
    host::DoEvents();
    Canvas canvas(250, 250);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, 250, 250, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(MatchesGolden(canvas.surface(), "controls/splitwindow_looks"));
}

}  // namespace
}  // namespace brimlox::test

namespace brimlox::test {
namespace {

// The track line and the grip keep their size on the screen in inches: at 8 twips per pixel
// (180 dots per inch) they are drawn with about twice the pixels of 15 twips per pixel.
class SplitWindowScaleTest : public SplitWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(SplitWindowScaleTest, TheTrackLineAndTheGripFollowThePixelDensity) {
    const int tpp = GetParam();
    desktop::Desktop::Instance().Configure({1024, 768, tpp, true});
    form = host::Form::Create("frmScale");
    form->SetBorderStyle(0);
    form->Move(0, 0, 400 * tpp, 300 * tpp);
    form->Show();
    auto bar = std::static_pointer_cast<SplitWindow>(form->Add("SplitWindow"));
    bar->Move(0, 0, 200 * tpp, 40 * tpp);
    bar->SetStyle(controls::ToolBarWindow);
    bar->SetBorder(false);
    bar->SetBackColor(RGB(10, 10, 10));
    host::DoEvents();
    const int expectedInset = tpp == 15 ? 4 : 8, expectedBar = tpp == 15 ? 3 : 6, expectedLine = tpp == 15 ? 4 : 8;
    const COLORREF light = GetSysColor(COLOR_3DHILIGHT), face = RGB(10, 10, 10);
    auto at = [&](int x, int y) { return GetPixel(bar->hDC(), x, y); };
    EXPECT_EQ(at(expectedInset - 1, 20), face);
    EXPECT_EQ(at(expectedInset, 20), light) << "the first bar";
    EXPECT_EQ(at(2 * expectedInset, 20), light) << "the second bar";
    EXPECT_EQ(at(2 * expectedInset + expectedBar, 20), face);

    // The line inverts a band of its width across the screen row.
    auto& screen = desktop::Desktop::Instance().Screen();
    std::vector<std::uint32_t> row(screen.Width());
    for (int x = 0; x < screen.Width(); ++x) row[x] = screen.Get(x, 150);
    bar->DrawTrackLine(300, 100, 300, 200);
    int inverted = 0;
    for (int x = 0; x < screen.Width(); ++x) inverted += screen.Get(x, 150) != row[x];
    bar->DrawTrackLine(300, 100, 300, 200);
    EXPECT_EQ(inverted, expectedLine);
    for (int x = 0; x < screen.Width(); ++x) ASSERT_EQ(screen.Get(x, 150), row[x]) << "drawn twice, gone";
}

INSTANTIATE_TEST_SUITE_P(TwipsPerPixel, SplitWindowScaleTest, ::testing::Values(15, 8));

}  // namespace
}  // namespace brimlox::test

// The divider's looks as they reach its surface: the line of each style, the two-way
// gradient both ways, the transparent look over its container's picture or colour, and a
// golden image of them all. Every paint is checked for leaked GDI objects.
#include <cmath>

#include "controls/divider/divider_test.h"
#include "platform/gdi/syscolors.h"

namespace brimlox::test {
namespace {

using controls::Divider;

constexpr COLORREF kTeal = RGB(0, 128, 128);

class DividerPaintTest : public DividerTest {
protected:
    // Repaints the divider and fails the test when the paint left GDI objects behind.
    void RepaintWithoutLeaks(Divider& d) {
        host::DoEvents();
        const std::size_t before = LiveGdiObjects();
        d.Refresh();
        host::DoEvents();
        EXPECT_EQ(LiveGdiObjects(), before) << d.Name() << " leaked GDI objects while painting";
    }
    // Whether every pixel of the row (or column) has one colour.
    bool RowIs(Divider& d, int y, COLORREF colour) {
        const int w = d.Width() / 15;
        for (int x = 0; x < w; ++x)
            if (PixelOf(d, x, y) != colour) return false;
        return true;
    }
    bool ColumnIs(Divider& d, int x, COLORREF colour) {
        const int h = d.Height() / 15;
        for (int y = 0; y < h; ++y)
            if (PixelOf(d, x, y) != colour) return false;
        return true;
    }
    static int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }
    // Within `tolerance` in each channel: the banded gradient reaches its end colours to
    // within a band or two.
    static bool Near(COLORREF a, COLORREF b, int tolerance = 12) {
        return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
               std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
    }
    // Every pixel of the row (or column) has the same colour, near `colour`.
    bool RowNear(Divider& d, int y, COLORREF colour) {
        const COLORREF first = PixelOf(d, 0, y);
        return Near(first, colour) && RowIs(d, y, first);
    }
    bool ColumnNear(Divider& d, int x, COLORREF colour) {
        const COLORREF first = PixelOf(d, x, 0);
        return Near(first, colour) && ColumnIs(d, x, first);
    }
};

TEST_F(DividerPaintTest, EachStyleDrawsItsLineAcrossTheMiddleOfTheLongSide) {
    MakeForm().SetBackColor(kTeal);
    const COLORREF light = GetSysColor(COLOR_3DHILIGHT), shadow = GetSysColor(COLOR_3DSHADOW);
    auto dip = AddDivider(10, 10, 60, 8);
    dip->SetStyle(controls::DipDivider);
    auto bump = AddDivider(10, 30, 60, 8);
    bump->SetStyle(controls::BumpDivider);
    auto space = AddDivider(10, 50, 60, 8);
    auto spring = AddDivider(10, 70, 60, 8);
    spring->SetStyle(controls::SpringDivider);
    auto standing = AddDivider(100, 10, 9, 60);  // a vertical bump, odd width: columns 4 and 5
    standing->SetStyle(controls::BumpDivider);
    for (auto* d : {dip.get(), bump.get(), space.get(), spring.get(), standing.get()}) RepaintWithoutLeaks(*d);

    // A dip is sunk (shadow above light), a bump raised; the rest of a transparent divider on
    // a form without a picture shows the form's colour.
    for (int y : {0, 3, 7}) {
        EXPECT_TRUE(RowIs(*dip, y, kTeal)) << "dip row " << y;
        EXPECT_TRUE(RowIs(*bump, y, kTeal)) << "bump row " << y;
    }
    // The edge's middle fill lands on the row below the 2-pixel line, short of both ends, as
    // DrawEdge does for a rectangle too thin to have a middle.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(PixelOf(*bump, 1, 6), kTeal);
    EXPECT_EQ(PixelOf(*bump, 2, 6), face);
    EXPECT_EQ(PixelOf(*bump, 57, 6), face);
    EXPECT_EQ(PixelOf(*bump, 58, 6), kTeal);
    EXPECT_EQ(PixelOf(*dip, 30, 4), shadow);
    EXPECT_EQ(PixelOf(*dip, 30, 5), light);
    EXPECT_EQ(PixelOf(*bump, 30, 4), light);
    EXPECT_EQ(PixelOf(*bump, 30, 5), shadow);
    EXPECT_EQ(PixelOf(*bump, 0, 4), light) << "the line runs the whole length";
    EXPECT_EQ(PixelOf(*bump, 59, 5), shadow);
    for (int y = 0; y < 8; ++y) {
        EXPECT_TRUE(RowIs(*space, y, kTeal)) << "a space divider draws nothing, row " << y;
        EXPECT_TRUE(RowIs(*spring, y, kTeal)) << "a spring divider draws nothing, row " << y;
    }
    EXPECT_TRUE(ColumnIs(*standing, 3, kTeal));
    EXPECT_TRUE(ColumnIs(*standing, 7, kTeal));
    EXPECT_EQ(PixelOf(*standing, 6, 30), face);
    EXPECT_EQ(PixelOf(*standing, 4, 30), light);
    EXPECT_EQ(PixelOf(*standing, 5, 30), shadow);
    EXPECT_EQ(space->BackColor(), kTeal) << "a transparent divider takes its container's colour";

    // Opaque, the divider shows its own colour.
    bump->SetTransparent(false);
    bump->SetBackColor(RGB(200, 0, 0));
    RepaintWithoutLeaks(*bump);
    EXPECT_TRUE(RowIs(*bump, 0, RGB(200, 0, 0)));
    EXPECT_EQ(PixelOf(*bump, 30, 4), light);
}

TEST_F(DividerPaintTest, EmptyStylesShowAFlatOutlineInTheDesignerOnly) {
    MakeForm(true).SetBackColor(kTeal);
    auto space = AddDivider(10, 10, 40, 10);
    auto spring = AddDivider(10, 30, 40, 10);
    spring->SetStyle(controls::SpringDivider);
    auto dip = AddDivider(10, 50, 40, 10);
    dip->SetStyle(controls::DipDivider);
    for (auto* d : {space.get(), spring.get(), dip.get()}) RepaintWithoutLeaks(*d);
    for (auto* d : {space.get(), spring.get()}) {
        EXPECT_NE(PixelOf(*d, 0, 0), kTeal) << d->Name() << " has no outline";
        EXPECT_NE(PixelOf(*d, 39, 9), kTeal) << d->Name() << " has no outline";
        EXPECT_EQ(PixelOf(*d, 20, 5), kTeal) << d->Name() << " is filled";
    }
    EXPECT_EQ(PixelOf(*dip, 0, 0), kTeal) << "a line style has no outline in the designer";
    EXPECT_EQ(PixelOf(*dip, 20, 5), GetSysColor(COLOR_3DSHADOW));
}

TEST_F(DividerPaintTest, GradientsRunDarkLightDarkAcrossTheThicknessBothWays) {
    MakeForm();
    const COLORREF back = RGB(90, 110, 160);
    auto flat = AddDivider(10, 10, 100, 20);
    flat->SetTransparent(false);
    flat->SetBackColor(back);
    flat->SetGradientPct(0.4f);
    RepaintWithoutLeaks(*flat);
    const COLORREF light = flat->LightColor(), dark = flat->DarkColor();
    EXPECT_GT(Brightness(light), Brightness(back) + 60);
    EXPECT_LT(Brightness(dark), Brightness(back) - 60);
    EXPECT_TRUE(RowNear(*flat, 19, dark)) << "dark at the bottom edge";
    EXPECT_TRUE(RowNear(*flat, 0, dark)) << "dark at the top edge";
    EXPECT_TRUE(RowNear(*flat, 9, light)) << "light along the middle";
    for (int y = 0; y < 9; ++y)
        EXPECT_LT(Brightness(PixelOf(*flat, 50, y)), Brightness(PixelOf(*flat, 50, y + 1))) << "lighter down to row 9";
    for (int y = 9; y < 19; ++y)
        EXPECT_GT(Brightness(PixelOf(*flat, 50, y)), Brightness(PixelOf(*flat, 50, y + 1))) << "darker from row 9";

    // Inside a vertical tool bar the gradient runs across the width instead.
    auto bar = AddToolBar(150, 10, 60, 200);
    bar->SetVertical(true);
    auto across = AddDivider(10, 10, 20, 100, bar.get());
    across->SetTransparent(false);
    across->SetBackColor(back);
    across->SetGradientPct(0.4f);
    RepaintWithoutLeaks(*across);
    EXPECT_TRUE(ColumnNear(*across, 19, dark)) << "dark at the right edge";
    EXPECT_TRUE(ColumnNear(*across, 0, dark)) << "dark at the left edge";
    EXPECT_TRUE(ColumnNear(*across, 9, light)) << "light along the middle";
    EXPECT_EQ(PixelOf(*across, 0, 0), PixelOf(*across, 0, 99)) << "constant along the length";

    // A negative percentage swaps the shades: light edges, a dark middle.
    flat->SetGradientPct(-0.4f);
    RepaintWithoutLeaks(*flat);
    EXPECT_EQ(flat->LightColor(), dark);
    EXPECT_TRUE(RowNear(*flat, 9, dark));
    EXPECT_TRUE(RowNear(*flat, 19, light));

    // A system back colour is followed when the scheme changes, without setting BackColor.
    across->SetBackColor(0x8000000F);
    RepaintWithoutLeaks(*across);
    const COLORREF before = across->LightColor();
    const INT index = COLOR_BTNFACE;
    const COLORREF green = RGB(0, 150, 0);
    SetSysColors(1, &index, &green);
    RepaintWithoutLeaks(*across);
    EXPECT_NE(across->LightColor(), before);
    EXPECT_GT(GetGValue(PixelOf(*across, 9, 50)), 150) << "the middle is a light green now";
    gdi::ResetSysColors();
}

// The picture is tiled from the container's origin; a transparent divider shows the part
// behind it, so a pixel at (x, y) of the divider is the tile's pixel at its place in the
// container, taken modulo the tile, for a divider placed anywhere.
TEST_F(DividerPaintTest, TransparentDividerContinuesTheContainersTiling) {
    MakeForm();
    auto bar = AddToolBar(10, 10, 380, 60);
    bar->SetPicture(GridPicture(7, 5));
    struct Place {
        int x, y, w, h;
    };
    const Place places[] = {{23, 9, 60, 8}, {3, 2, 4, 3}, {-11, -4, 40, 20}, {0, 0, 350, 30}};
    // Pixels of the divider outside its container are not on the screen and not counted;
    // the check fails when nothing at all can be seen.
    auto wrong = [&](Divider& d, long long left, long long top) {
        int count = 0, seen = 0;
        const int w = d.Width() / 15, h = d.Height() / 15;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const COLORREF pixel = PixelOf(d, x, y);
                if (pixel == CLR_INVALID) continue;
                ++seen;
                if (pixel != GridColour(((x + left) % 7 + 7) % 7, ((y + top) % 5 + 5) % 5)) ++count;
            }
        return seen == 0 ? -1 : count;
    };
    for (const Place& p : places) {
        auto d = AddDivider(p.x, p.y, p.w, p.h, bar.get());
        d->SetGradientPct(0.5f);  // no gradient over a picture
        RepaintWithoutLeaks(*d);
        EXPECT_EQ(wrong(*d, p.x, p.y), 0) << "divider at " << p.x << ", " << p.y << ", " << p.w << " x " << p.h;
        form->Remove(*d);
    }

    // A transparent tool bar shows its own container's tiling: its place counts too.
    bar->SetTransparent(true);
    auto d = AddDivider(-30, 4, 50, 10, bar.get());
    RepaintWithoutLeaks(*d);
    EXPECT_EQ(wrong(*d, 10 - 30, 10 + 4), 0);

    // A dip line is drawn over the picture.
    d->SetStyle(controls::DipDivider);
    RepaintWithoutLeaks(*d);
    EXPECT_EQ(PixelOf(*d, 40, 5), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(PixelOf(*d, 40, 6), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(PixelOf(*d, 40, 0), GridColour((40 - 20) % 7, (0 + 14) % 5));
}

TEST_F(DividerPaintTest, AnIconOrMissingPictureGivesTheContainersColour) {
    MakeForm();
    auto bar = AddToolBar(10, 10, 300, 40);
    bar->SetBackColor(RGB(30, 60, 90));
    bar->SetPicture(SolidIcon(RGB(255, 0, 0)));
    auto d = AddDivider(5, 5, 100, 10, bar.get());
    RepaintWithoutLeaks(*d);
    EXPECT_TRUE(RowIs(*d, 0, RGB(30, 60, 90)));
    EXPECT_TRUE(RowIs(*d, 9, RGB(30, 60, 90)));
    // Over the container's colour a gradient is drawn.
    d->SetGradientPct(0.3f);
    RepaintWithoutLeaks(*d);
    const int back = Brightness(RGB(30, 60, 90));
    EXPECT_GT(Brightness(PixelOf(*d, 50, 4)), back + 100) << "light along the middle";
    EXPECT_LT(Brightness(PixelOf(*d, 50, 0)), back - 60) << "dark at the edges";
    EXPECT_LT(Brightness(PixelOf(*d, 50, 9)), back - 60) << "dark at the edges";
    EXPECT_EQ(d->BackColor(), RGB(30, 60, 90));

    // The form is a container too: its bitmap picture is tiled behind a divider on it.
    form->SetPicture(GridPicture(4, 4));
    auto onForm = AddDivider(41, 62, 30, 6);
    RepaintWithoutLeaks(*onForm);
    EXPECT_EQ(PixelOf(*onForm, 0, 0), GridColour(1, 2));
    EXPECT_EQ(PixelOf(*onForm, 29, 5), GridColour((41 + 29) % 4, (62 + 5) % 4));
}

TEST_F(DividerPaintTest, EveryLookMatchesItsGoldenImage) {
    MakeForm().SetBackColor(0x8000000F);
    auto bar = AddToolBar(0, 0, 250, 130);
    bar->SetPicture(GridPicture(25, 13));
    const int styles[] = {controls::DipDivider, controls::BumpDivider, controls::SpaceDivider, controls::SpringDivider};
    int y = 5;
    for (int style : styles) {
        // Plain on the form, with a gradient, and over the tool bar's picture.
        auto plain = AddDivider(5, 140 + y, 80, 10);
        plain->SetStyle(static_cast<std::int16_t>(style));
        auto graded = AddDivider(95, 140 + y, 80, 10);
        graded->SetTransparent(false);
        graded->SetBackColor(RGB(70, 120, 190));
        graded->SetGradientPct(0.35f);
        graded->SetStyle(static_cast<std::int16_t>(style));
        auto over = AddDivider(5, y, 120, 10, bar.get());
        over->SetStyle(static_cast<std::int16_t>(style));
        y += 25;
    }
    auto standing = AddDivider(200, 5, 10, 100, bar.get());
    standing->SetStyle(controls::BumpDivider);
    auto standingDip = AddDivider(220, 5, 10, 100, bar.get());
    standingDip->SetStyle(controls::DipDivider);
    host::DoEvents();
    Canvas canvas(250, 250);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, 250, 250, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(MatchesGolden(canvas.surface(), "controls/divider_looks"));
}

}  // namespace
}  // namespace brimlox::test

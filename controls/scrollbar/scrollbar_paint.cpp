// ScrollBar painting: the arrow buttons and the filler square, then (in Refresh) the arrow
// glyphs, the track with its border, the thumb and the auto-scroll anchor mark. Painting only
// reads the state that the model and the input handlers keep. Rectangles are pixels on the
// surface DC; every GDI object made for a step is selected out and deleted in that step.
#include <algorithm>
#include <cmath>

#include "controls/scrollbar/scrollbar.h"
#include "controls/scrollbar/scrollbar_cursors.h"
#include "foundation/helpers/colour.h"
#include "foundation/painters/bevel.h"

namespace brimlox::controls {

namespace {

// Buttons taller than this get a drawn triangle; smaller ones a Marlett character.
constexpr int kLargestGlyphButton = 14;

// The filled triangle of a large button, in button-local pixels: the same proportions as the
// symbol font's arrows (an odd base, a depth of half the base) in a cell of the button's size
// less 5 pixels, centred, its tip pointing away from the track.
struct Triangle {
    POINT points[3];
};

Triangle ArrowTriangle(int size, bool vertical, bool second) {
    int cell = std::max(3, size - 5);
    int base = std::max(3, (cell / 2) | 1);
    int depth = (base + 1) / 2;
    int centre = size / 2;
    int tip = centre - depth / 2;  // the tip of the first button's arrow
    int back = tip + depth - 1;
    if (second) {
        // The far button's arrow is the first one mirrored about the button's centre.
        tip = 2 * centre - tip;
        back = 2 * centre - back;
    }
    int half = depth - 1;
    Triangle t;
    if (!vertical) {
        t.points[0] = {tip, centre};
        t.points[1] = {back, centre - half};
        t.points[2] = {back, centre + half};
    } else {
        t.points[0] = {centre, tip};
        t.points[1] = {centre - half, back};
        t.points[2] = {centre + half, back};
    }
    return t;
}

}  // namespace

RECT ScrollBar::ButtonRect(bool second) const {
    int t = geom_.ThicknessPixels(), len = geom_.LengthPixels();
    if (!second) return RECT{0, 0, t, t};
    return geom_.vertical ? RECT{0, len - t, t, len} : RECT{len - t, 0, len, t};
}

RECT ScrollBar::TrackRect() const {
    int t = geom_.ThicknessPixels(), len = geom_.LengthPixels();
    return geom_.vertical ? RECT{0, t, t, len - t} : RECT{t, 0, len - t, t};
}

// The buttons' faces, sunken while held (unless the value already sits at that end), then
// the filler square of an extended bar, then the track and thumb.
void ScrollBar::DrawButtons() {
    HDC dc = hDC();
    if (!dc) return;
    UINT raised = softButtons_ ? BDR_RAISEDINNER : EDGE_RAISED;
    UINT sunken = softButtons_ ? BDR_SUNKENOUTER : EDGE_SUNKEN;
    RECT first = ButtonRect(false), second = ButtonRect(true);
    DrawEdge(dc, &first, pressedFirst_ && range_.Value > range_.Min ? sunken : raised, BF_RECT | BF_MIDDLE);
    DrawEdge(dc, &second, pressedSecond_ && range_.Value < range_.Max ? sunken : raised, BF_RECT | BF_MIDDLE);
    if (extended_) {
        int t = geom_.ThicknessPixels(), len = geom_.LengthPixels();
        RECT filler = geom_.vertical ? RECT{0, len, t, len + t} : RECT{len, 0, len + t, t};
        DrawEdge(dc, &filler, BDR_SUNKENOUTER, BF_RIGHT | BF_BOTTOM | BF_MIDDLE);
    }
    Refresh(true);
}

void ScrollBar::Refresh(bool forceRedraw) {
    double oldPos = geom_.thumbPos;
    bool oldVisible = geom_.thumbVisible;
    ComputeThumb(geom_, range_, largeChange_);
    if (!forceRedraw && geom_.thumbPos == oldPos && geom_.thumbVisible == oldVisible) return;
    PaintTrackAndThumb();
}

void ScrollBar::PaintTrackAndThumb() {
    HDC dc = hDC();
    if (!dc) return;
    DrawArrowGlyphs(dc);
    DrawTrack(dc, TrackRect());
    if (range_.Min != range_.Max && geom_.thumbVisible) DrawThumb(dc);
    if (AutoScrolling()) DrawAnchorMark();
    ShowSurface();
}

// A Font3D copy in the highlight colour first, shifted by the Font3D value, then the glyphs
// themselves, grey at the end of the range they point to or when the bar is disabled.
void ScrollBar::DrawArrowGlyphs(HDC dc) {
    bool enabled = Control::Enabled();
    COLORREF text = GetSysColor(COLOR_BTNTEXT), grey = GetSysColor(COLOR_GRAYTEXT);
    if (font3D_ != Flat) {
        COLORREF light = GetSysColor(COLOR_3DHILIGHT);
        DrawGlyph(dc, false, font3D_, light);
        DrawGlyph(dc, true, font3D_, light);
    }
    DrawGlyph(dc, false, 0, enabled && range_.Value > range_.Min ? text : grey);
    DrawGlyph(dc, true, 0, enabled && range_.Value < range_.Max ? text : grey);
}

void ScrollBar::DrawGlyph(HDC dc, bool second, int shift, COLORREF colour) {
    int t = geom_.ThicknessPixels();
    RECT button = ButtonRect(second);
    if (t > kLargestGlyphButton) {
        Triangle tri = ArrowTriangle(t, geom_.vertical, second);
        for (POINT& p : tri.points) p.x += button.left + shift, p.y += button.top + shift;
        // Pen and brush of one colour: the outline covers the vertices, so the triangle has
        // exactly the shape worked out above.
        HPEN pen = CreatePen(PS_SOLID, 1, colour);
        HBRUSH brush = CreateSolidBrush(colour);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        int oldMode = SetPolyFillMode(dc, ALTERNATE);
        Polygon(dc, tri.points, 3);
        SetPolyFillMode(dc, oldMode);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(brush);
        DeleteObject(pen);
        return;
    }
    const char* glyph = geom_.vertical ? (second ? "6" : "5") : (second ? "4" : "3");
    int x = button.left + (t - 10) / 2 + shift;
    int y = button.top + (t - 12) / 2 + shift;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, colour);
    TextOutA(dc, x, y, glyph, 1);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

// The track in the back colour with its border; Bump and Dip frame all four sides, the other
// styles only the two long ones.
void ScrollBar::DrawTrack(HDC dc, RECT track) {
    HBRUSH brush = CreateSolidBrush(foundation::TranslateColor(BackColor()));
    FillRect(dc, &track, brush);
    DeleteObject(brush);
    UINT flags = geom_.vertical ? (BF_LEFT | BF_RIGHT) : (BF_TOP | BF_BOTTOM);
    if (borderStyle_ == foundation::Bump || borderStyle_ == foundation::Dip) flags = BF_RECT;
    foundation::workRect = track;
    foundation::DrawBevel(dc, borderStyle_, flags);
}

void ScrollBar::DrawThumb(HDC dc) {
    auto start = static_cast<LONG>(std::floor(geom_.thumbPos / geom_.pixelStep));
    auto end = static_cast<LONG>(std::floor((geom_.thumbPos + geom_.thumbLen) / geom_.pixelStep));
    int t = geom_.ThicknessPixels();
    RECT thumb = geom_.vertical ? RECT{0, start, t, end} : RECT{start, 0, end, t};
    DrawEdge(dc, &thumb, softButtons_ ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT | BF_MIDDLE);
    DrawFocusFrame();
}

// The mark's top-left corner lies 16 pixels before the anchor along the bar and centres the
// 32-pixel picture across it.
void ScrollBar::DrawAnchorMark() {
    if (!anchorMark_ || !AutoScrolling()) return;
    auto anchorPixel = static_cast<int>(std::floor(anchor_ / geom_.pixelStep));
    int along = anchorPixel - kAutoScrollPictureSize / 2;
    int across = (geom_.ThicknessPixels() - kAutoScrollPictureSize) / 2;
    double alongTwips = along * geom_.pixelStep, acrossTwips = across * geom_.crossStep;
    double x = geom_.vertical ? acrossTwips : alongTwips, y = geom_.vertical ? alongTwips : acrossTwips;
    PaintPicture(*anchorMark_, static_cast<float>(x), static_cast<float>(y));
}

// With AutoRedraw the drawing went to the persistent bitmap, which the window shows after a
// repaint; without it the drawing is already on the window and only has to reach the screen.
void ScrollBar::ShowSurface() {
    if (Control::AutoRedraw()) host::Control::Refresh();
    else Flush();
}

void ScrollBar::Paint() {
    DrawButtons();
    if (AutoScrolling()) DrawAnchorMark();
}

}  // namespace brimlox::controls

// DrawEdge: the 3-D borders of the classic look, one or two one-pixel borders per side in
// the system colours the edge and flags choose, and optionally the face in the middle.
#include <algorithm>
#include <cstdint>

#include "platform/gdi/gdi.h"
#include "platform/gdi/line.h"
#include "platform/gdi/raster/fill.h"
#include "platform/gdi/raster/polygon.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/trace.h"

using namespace brimlox::gdi;

namespace {

// The system colours of one border: top-left sides and bottom-right sides (-1: no border).
struct BorderColors {
    int topLeft = -1;
    int bottomRight = -1;
};

// Colours per border, checked against Windows for every edge with and without BF_SOFT,
// BF_FLAT and BF_MONO: raised outer light / dark shadow, raised inner highlight / shadow,
// sunken outer shadow / highlight, sunken inner dark shadow / light. BF_SOFT swaps the
// top-left colours of outer and inner; BF_FLAT draws shadow outside and face inside;
// BF_MONO window frame outside and window inside.
BorderColors OuterColors(UINT edge, UINT flags) {
    const UINT bits = edge & BDR_OUTER;
    if (bits == 0) return {};
    if (flags & BF_MONO) return {COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
    if (flags & BF_FLAT) return {COLOR_3DSHADOW, COLOR_3DSHADOW};
    const bool raised = bits == BDR_RAISEDOUTER, soft = flags & BF_SOFT;
    if (raised) return {soft ? COLOR_3DHILIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW};
    return {soft ? COLOR_3DDKSHADOW : COLOR_3DSHADOW, COLOR_3DHILIGHT};
}

BorderColors InnerColors(UINT edge, UINT flags) {
    const UINT bits = edge & BDR_INNER;
    if (bits == 0) return {};
    if (flags & BF_MONO) return {COLOR_WINDOW, COLOR_WINDOW};
    if (flags & BF_FLAT) return {COLOR_3DFACE, COLOR_3DFACE};
    const bool raised = bits == BDR_RAISEDINNER, soft = flags & BF_SOFT;
    if (raised) return {soft ? COLOR_3DLIGHT : COLOR_3DHILIGHT, COLOR_3DSHADOW};
    return {soft ? COLOR_3DSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
}

// Moves the sides named in `sides` inwards by one pixel (never past the 32-bit limits).
void Shrink(RECT& r, UINT sides) {
    if ((sides & BF_LEFT) && r.left < INT32_MAX) ++r.left;
    if ((sides & BF_TOP) && r.top < INT32_MAX) ++r.top;
    if ((sides & BF_RIGHT) && r.right > INT32_MIN) --r.right;
    if ((sides & BF_BOTTOM) && r.bottom > INT32_MIN) --r.bottom;
}

// Paints rectangles of the edge straight onto the target in a solid system colour, clipped,
// with coordinates in 64-bit logical space. DrawEdge ignores the DC's ROP2 mode (checked
// against Windows: under R2_XORPEN it still copies its colours).
class EdgePainter {
public:
    // A painter for no DC (a bad handle) only follows the geometry.
    explicit EdgePainter(DcObject* dc)
        : dc_(dc), target_(dc ? dc->Target() : nullptr), clip_(dc ? dc->Clip() : RECT{}) {}

    // The logical rows the clip leaves visible, so that loops over rows stay short.
    std::int64_t VisibleTop() const { return dc_ ? std::int64_t{clip_.top} - dc_->origin.y : 0; }
    std::int64_t VisibleBottom() const { return dc_ ? std::int64_t{clip_.bottom} - dc_->origin.y : 0; }

    void Fill(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, int sysColor) {
        if (!target_) return;
        l = std::max<std::int64_t>(l + dc_->origin.x, clip_.left);
        t = std::max<std::int64_t>(t + dc_->origin.y, clip_.top);
        r = std::min<std::int64_t>(r + dc_->origin.x, clip_.right);
        b = std::min<std::int64_t>(b + dc_->origin.y, clip_.bottom);
        if (l >= r || t >= b) return;
        raster::BrushPattern brush;
        brush.null = false;
        brush.solid = true;
        brush.solidValue = raster::DeviceColor(*target_, GetSysColor(sysColor));
        raster::FillSolid(*target_, RECT{static_cast<LONG>(l), static_cast<LONG>(t), static_cast<LONG>(r),
                                         static_cast<LONG>(b)},
                          brush.solidValue);
    }

    // One border around r: the top-left sides first, then the bottom-right sides over them,
    // so the top-right and bottom-left corner pixels take the bottom-right colour.
    void Border(const RECT& r, UINT sides, const BorderColors& c) {
        if (c.topLeft < 0) return;
        if (sides & BF_LEFT) Fill(r.left, r.top, std::int64_t{r.left} + 1, r.bottom, c.topLeft);
        if (sides & BF_TOP) Fill(r.left, r.top, r.right, std::int64_t{r.top} + 1, c.topLeft);
        if (sides & BF_RIGHT) Fill(std::int64_t{r.right} - 1, r.top, r.right, r.bottom, c.bottomRight);
        if (sides & BF_BOTTOM) Fill(r.left, std::int64_t{r.bottom} - 1, r.right, r.bottom, c.bottomRight);
    }

private:
    DcObject* dc_;
    Surface* target_;
    RECT clip_;
};


// The face colour in the middle: the window colour for mono edges, the 3-D face otherwise.
int MiddleColor(UINT flags) { return (flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE; }

// The middle of an edge is filled even when the borders leave an inverted rectangle: like a
// PatBlt with negative extents it then covers the mirrored span (checked against Windows).
void FillMiddle(EdgePainter& painter, const RECT& r, int color) {
    std::int64_t l = r.left, t = r.top, rr = r.right, b = r.bottom;
    if (rr < l) std::swap(l, rr), ++l, ++rr;
    if (b < t) std::swap(t, b), ++t, ++b;
    painter.Fill(l, t, rr, b, color);
}

// A diagonal edge: the outer border is a 45-degree line of min(width, height) pixels from
// the bottom-left corner up to the right (or, for BF_DIAGONAL_ENDTOPLEFT and ..._ENDBOTTOMRIGHT,
// from the top-left corner down to the right); the inner border runs beside it on the side of
// the face, and BF_MIDDLE fills the face side up to the rectangle (checked against Windows
// for the four BF_DIAGONAL_END* values). Edges that name the bottom take the bottom-right
// colours.
BOOL DrawDiagonalEdge(EdgePainter& painter, RECT& r, UINT edge, UINT flags) {
    const UINT sides = flags & BF_RECT;
    const std::int64_t L = r.left, T = r.top, R = r.right, B = r.bottom;
    const std::int64_t n = std::min(R - L, B - T);
    const bool mainDiagonal = sides == BF_TOPLEFT || sides == BF_BOTTOMRIGHT;
    // Whether the face lies right of the line (towards the right edge) or left of it.
    const bool faceRight = sides == BF_TOPLEFT || sides == BF_TOPRIGHT || sides == BF_TOP || sides == BF_RIGHT;
    const bool bottomColours = sides & BF_BOTTOM;
    const BorderColors outer = OuterColors(edge, flags), inner = InnerColors(edge, flags);
    const int borders = ((edge & BDR_OUTER) ? 1 : 0) + ((edge & BDR_INNER) ? 1 : 0);
    // Column of the line's pixel on row y, or -1 when the line misses that row.
    auto lineX = [&](std::int64_t y) -> std::int64_t {
        std::int64_t k = mainDiagonal ? y - T : B - 1 - y;
        return k >= 0 && k < n ? L + k : -1;
    };
    const std::int64_t top = std::max(mainDiagonal ? T : B - n, painter.VisibleTop());
    const std::int64_t bottom = std::min(mainDiagonal ? T + n : B, painter.VisibleBottom());
    int layer = 0;
    for (const BorderColors& c : {outer, inner}) {
        if (c.topLeft < 0) continue;
        const int color = bottomColours ? c.bottomRight : c.topLeft;
        for (std::int64_t y = top; y < bottom; ++y) {
            std::int64_t x = lineX(y);
            // The inner line is one pixel shorter: it stops where the outer one turns the corner.
            if (x < 0 || (faceRight && x - L >= n - layer)) continue;
            x += faceRight ? layer : -layer;
            if (x >= L && x < R) painter.Fill(x, y, x + 1, y + 1, color);
        }
        ++layer;
    }
    if (n > 0 && (flags & BF_MIDDLE)) {
        const int color = MiddleColor(flags);
        // The face starts `borders` rows away from the line's open end.
        const bool faceBelow = mainDiagonal ? !faceRight : faceRight;
        const std::int64_t lineTop = mainDiagonal ? T : B - n, lineBottom = mainDiagonal ? T + n : B;
        const std::int64_t y0 = std::max(faceBelow ? lineTop + borders : lineTop, top);
        const std::int64_t y1 = std::min(faceBelow ? lineBottom : lineBottom - borders, bottom);
        for (std::int64_t y = y0; y < y1; ++y) {
            const std::int64_t x = lineX(y);
            if (faceRight) painter.Fill(x + borders, y, R, y + 1, color);
            else painter.Fill(L, y, x - borders + 1, y + 1, color);
        }
    }
    if (edge & BDR_OUTER) Shrink(r, sides);
    if (edge & BDR_INNER) Shrink(r, sides);
    return TRUE;
}

BOOL DrawRectEdge(EdgePainter& painter, RECT& r, UINT edge, UINT flags) {
    const UINT sides = flags & BF_RECT;
    const BorderColors outer = OuterColors(edge, flags), inner = InnerColors(edge, flags);
    painter.Border(r, sides, outer);
    if (edge & BDR_OUTER) Shrink(r, sides);
    painter.Border(r, sides, inner);
    if (edge & BDR_INNER) Shrink(r, sides);
    if (flags & BF_MIDDLE) FillMiddle(painter, r, MiddleColor(flags));
    return TRUE;
}

}  // namespace


BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags) {
    TraceCall tc("DrawEdge");
    if (tc) tc.Args(hdc, static_cast<const RECT*>(rect), edge, flags);
    // A bad DC draws nothing but still succeeds and adjusts the rectangle, as Windows does
    // (it does not check the handle); a missing rectangle fails instead of crashing.
    DcObject* dc = LookupDc(hdc);
    if (!rect) return tc.Return(FALSE);
    RECT r = *rect;
    BOOL ok = TRUE;
    // An edge with both the raised and the sunken bit of one border draws nothing and fails,
    // though BF_ADJUST still moves the rectangle; flat and mono borders have one colour
    // either way and draw (checked against Windows).
    const bool contradictory = ((edge & BDR_OUTER) == BDR_OUTER || (edge & BDR_INNER) == BDR_INNER) &&
                               !(flags & (BF_FLAT | BF_MONO));
    if (contradictory) {
        ok = FALSE;
        if (edge & BDR_OUTER) Shrink(r, flags & BF_RECT);
        if (edge & BDR_INNER) Shrink(r, flags & BF_RECT);
    } else if (flags & BF_DIAGONAL) {
        EdgePainter painter(dc);
        ok = DrawDiagonalEdge(painter, r, edge, flags);
    } else {
        EdgePainter painter(dc);
        ok = DrawRectEdge(painter, r, edge, flags);
    }
    if (flags & BF_ADJUST) {
        *rect = r;
        if (tc) tc.Out(static_cast<const RECT*>(rect));
    }
    return tc.Return(ok);
}

#include "foundation/painters/gradient.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "foundation/helpers/colour.h"
#include "platform/gdi/gdi.h"

namespace brimlox::foundation {

namespace {

// 256 steps on devices of 16 bits per pixel or more, 32 on others. Both are powers of two,
// which the band walk below relies on.
int GradientSteps(HDC hdc) { return GetDeviceCaps(hdc, BITSPIXEL) * GetDeviceCaps(hdc, PLANES) >= 16 ? 256 : 32; }

constexpr int kMostSteps = 256;

// The walk from colour B's edge toward colour A's. At step i the band's moving side sits at
// `far - (i + 1) * extent / steps`, rounded halves to even, and its colour is
// `B + i * (A - B) / steps` per channel. With a power-of-two step count and whole-pixel
// extents every one of these values is exact in a double, so each is worked out directly for
// the steps that paint a band, and the steps in between are skipped: a step paints only when
// the moving side passes the last band's, i.e. when the band covers at least one pixel.
class BandWalk {
public:
    BandWalk(double far, double extent, int steps, COLORREF colorA, COLORREF colorB)
        : far_(far), bandSize_(extent / steps), steps_(steps),
          start_{double(GetRValue(colorB)), double(GetGValue(colorB)), double(GetBValue(colorB))},
          delta_{(double(GetRValue(colorA)) - start_[0]) / steps, (double(GetGValue(colorA)) - start_[1]) / steps,
                 (double(GetBValue(colorA)) - start_[2]) / steps} {}

    int Steps() const { return steps_; }

    // Where the moving side stands after step `i`.
    int SideAt(int i) const { return RoundHalfEven(far_ - (i + 1) * bandSize_); }

    // The first step from `from` on whose side lies before `edge`, or Steps() when none does.
    int NextPaintingStep(int from, int edge) const {
        // The side stays at `edge` or beyond while far - (i + 1) * size >= edge - 0.5, so the
        // first step that can pass it is no earlier than this guess; the walk from there is a
        // step or two.
        const double guess = std::floor((far_ - edge + 0.5) / bandSize_) - 2.0;
        int i = std::max(from, static_cast<int>(std::clamp(guess, 0.0, double(steps_))));
        while (i < steps_ && SideAt(i) >= edge) ++i;
        return i;
    }

    // The colour of the band painted at step `i` (step Steps() gives colour A).
    COLORREF ColourAt(int i) const {
        auto byte = [&](int c) { return std::clamp(RoundHalfEven(start_[c] + i * delta_[c]), 0, 255); };
        return RGB(byte(0), byte(1), byte(2));
    }

private:
    double far_;
    double bandSize_;
    int steps_;
    std::array<double, 3> start_;
    std::array<double, 3> delta_;
};

struct Band {
    int from;  // the side toward colour A
    int to;    // the side toward colour B
    COLORREF colour;
};

// Each band is filled with the DC's own brush in the band's colour: the gradient creates and
// deletes no brush at all.
void FillBand(HDC hdc, const RECT& rect, const Band& band, bool vertical) {
    RECT r = rect;
    if (vertical) r.top = band.from, r.bottom = band.to;
    else r.left = band.from, r.right = band.to;
    SetDCBrushColor(hdc, band.colour);
    FillRect(hdc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A gradient across (bands side by side) on a device without dithering: the bands are painted
// on the first row the DC may draw on, and that row is copied down the rest of the rectangle,
// doubling each time. Every pixel is then written row by row, in the order memory lies,
// instead of one column per band over the whole height. False (nothing painted) where the
// shortcut does not apply; it paints the same pixels as filling whole bands.
bool FillAcrossByRows(HDC hdc, const RECT& rect, const Band* bands, std::size_t count) {
    if (GetDeviceCaps(hdc, BITSPIXEL) < 24) return false;  // brushes are dithered row by row
    RECT box{}, visible{};
    if (GetClipBox(hdc, &box) != SIMPLEREGION || !IntersectRect(&visible, &rect, &box)) return false;
    const int rows = visible.bottom - visible.top;
    if (rows < 4) return false;
    const RECT seed{rect.left, visible.top, rect.right, visible.top + 1};
    for (std::size_t k = count; k-- > 0;) FillBand(hdc, seed, bands[k], false);
    const int width = visible.right - visible.left;
    for (int done = 1; done < rows;) {
        const int n = std::min(done, rows - done);
        BitBlt(hdc, visible.left, visible.top + done, width, n, hdc, visible.left, visible.top, SRCCOPY);
        done += n;
    }
    return true;
}

}  // namespace

void GradientFill(HDC hdc, const RECT& rect, COLORREF colorA, COLORREF colorB, bool vertical) {
    const int nearEdge = vertical ? rect.top : rect.left;
    const int farEdge = vertical ? rect.bottom : rect.right;
    const BandWalk walk(farEdge, double(farEdge) - nearEdge, GradientSteps(hdc), colorA, colorB);

    // The bands are collected from colour B's edge on; neighbours of one colour become one band.
    std::array<Band, kMostSteps + 1> bands;
    std::size_t count = 0;
    auto add = [&](int from, int to, COLORREF colour) {
        if (count > 0 && bands[count - 1].colour == colour) bands[count - 1].from = from;
        else bands[count++] = Band{from, to, colour};
    };
    int edge = farEdge;
    for (int i = walk.NextPaintingStep(0, edge); i < walk.Steps(); i = walk.NextPaintingStep(i + 1, edge)) {
        const int side = walk.SideAt(i);
        add(side, edge, walk.ColourAt(i));
        edge = side;
    }
    // The last step always brings the side to colour A's edge; only a rectangle with no
    // extent, or a reversed one, leaves a band in colour A to fill.
    if (edge != nearEdge) add(nearEdge, edge, walk.ColourAt(walk.Steps()));

    // Painted from the top (or left) edge on: the same pixels, written in the order memory
    // lies. The caller's DC brush colour is left as it was.
    const COLORREF callers = SetDCBrushColor(hdc, walk.ColourAt(walk.Steps()));
    if (vertical || !FillAcrossByRows(hdc, rect, bands.data(), count))
        for (std::size_t k = count; k-- > 0;) FillBand(hdc, rect, bands[k], vertical);
    SetDCBrushColor(hdc, callers);
}

}  // namespace brimlox::foundation

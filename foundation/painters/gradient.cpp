#include "foundation/painters/gradient.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "foundation/helpers/colour.h"
#include "platform/gdi/gdi.h"

namespace brimlox::foundation {

namespace {

// 256 steps on devices of 16 bits per pixel or more, 32 on others: a power of two either way,
// given here as its logarithm.
int GradientStepShift(HDC hdc) { return GetDeviceCaps(hdc, BITSPIXEL) * GetDeviceCaps(hdc, PLANES) >= 16 ? 8 : 5; }

constexpr int kMostSteps = 256;

// n / 2^shift rounded to the nearest integer, halves to even.
std::int64_t ShiftRoundHalfEven(std::int64_t n, int shift) {
    const std::int64_t d = std::int64_t{1} << shift;
    std::int64_t q = n >> shift;  // floor, also below zero
    const std::int64_t twice = 2 * (n & (d - 1));
    if (twice > d || (twice == d && (q & 1))) ++q;
    return q;
}

// The walk from colour B's edge toward colour A's in `steps` steps. After step i the band's
// moving side stands at `far - (i + 1) * extent / steps`, and the band's colour is
// `B + i * (A - B) / steps` per channel, both rounded halves to even. Every value is a
// fraction over the step count, so it is worked out exactly in integers, and only for the
// steps that paint: a step paints when its side passes the last band's, i.e. when the band
// covers at least one new pixel.
class BandWalk {
public:
    BandWalk(int far, int extent, int stepShift, COLORREF colorA, COLORREF colorB)
        : far_(far), extent_(extent), shift_(stepShift),
          start_{GetRValue(colorB), GetGValue(colorB), GetBValue(colorB)},
          delta_{GetRValue(colorA) - start_[0], GetGValue(colorA) - start_[1], GetBValue(colorA) - start_[2]} {}

    int Steps() const { return 1 << shift_; }

    // Where the moving side stands after step `i`.
    int SideAt(int i) const {
        return static_cast<int>(ShiftRoundHalfEven(std::int64_t{far_} * Steps() - std::int64_t{i + 1} * extent_, shift_));
    }

    // The first step whose side reaches `e` or beyond it, for `e` from `far - 1` down to the
    // near edge (extent > 0). The side is at most e while 2 (i + 1) extent exceeds
    // t = steps (2 (far - e) - 1); where the two are equal the side sits on a half, which
    // rounds to e when e is even.
    int FirstStepReaching(int e) const {
        const std::int64_t t = (2 * (std::int64_t{far_} - e) - 1) << shift_;
        const std::int64_t twiceExtent = 2 * std::int64_t{extent_};
        std::int64_t i = 0;
        bool exact = false;
        if (t >= 0 && t <= UINT32_MAX && twiceExtent <= UINT32_MAX) {
            // Button-sized gradients: a 32-bit division, several times quicker than a 64-bit one.
            const auto t32 = static_cast<std::uint32_t>(t), d32 = static_cast<std::uint32_t>(twiceExtent);
            i = t32 / d32;
            exact = t32 % d32 == 0;
        } else {
            i = t / twiceExtent;
            exact = t % twiceExtent == 0;
        }
        if (exact && (e & 1) == 0) --i;
        return static_cast<int>(i);
    }

    // The colour of the band painted at step `i` (step Steps() gives colour A).
    COLORREF ColourAt(int i) const {
        auto byte = [&](int c) {
            const std::int64_t v = (std::int64_t{start_[c]} << shift_) + std::int64_t{i} * delta_[c];
            return static_cast<int>(std::clamp<std::int64_t>(ShiftRoundHalfEven(v, shift_), 0, 255));
        };
        return RGB(byte(0), byte(1), byte(2));
    }

private:
    int far_;
    int extent_;
    int shift_;
    std::array<int, 3> start_;
    std::array<int, 3> delta_;
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

// A window's DC, or a memory DC holding a 32-bit device bitmap: a colour reaches its pixels
// unchanged whether a brush or a blit brings it. DIB sections may hold a palette or bit
// fields, where brushes and blits match colours differently, so they are not counted.
bool DeviceTrueColour(HDC hdc) {
    HGDIOBJ bitmap = GetCurrentObject(hdc, OBJ_BITMAP);
    if (!bitmap) return GetDeviceCaps(hdc, BITSPIXEL) >= 24;
    DIBSECTION section{};
    const int size = GetObjectA(bitmap, sizeof section, &section);
    return size == static_cast<int>(sizeof(BITMAP)) && section.dsBm.bmBitsPixel == 32;
}

// Bands as 32-bit DIB pixels: the same colour a solid brush gives on a true-colour device.
std::uint32_t DibPixel(COLORREF c) {
    return (std::uint32_t{GetRValue(c)} << 16) | (std::uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

// A 32-bit top-down DIB header for a block of width x height pixels.
BITMAPINFO TopDownDib(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 is the block's top row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The first visible row of a gradient across, written as one row of DIB pixels and copied with
// one SetDIBitsToDevice instead of a fill per band (a wide gradient has up to 256 bands, each
// a pixel or two wide). False (nothing painted) where the device is not plainly true colour.
bool PaintSeedRowThroughDib(HDC hdc, const RECT& visible, const Band* bands, std::size_t count) {
    if (!DeviceTrueColour(hdc)) return false;
    const int width = visible.right - visible.left;
    thread_local std::vector<std::uint32_t> row;
    row.resize(static_cast<std::size_t>(width));
    for (std::size_t k = 0; k < count; ++k) {
        const int from = std::max<int>(bands[k].from, visible.left), to = std::min<int>(bands[k].to, visible.right);
        if (from < to) std::fill(row.begin() + (from - visible.left), row.begin() + (to - visible.left), DibPixel(bands[k].colour));
    }
    const BITMAPINFO info = TopDownDib(width, 1);
    return SetDIBitsToDevice(hdc, visible.left, visible.top, static_cast<DWORD>(width), 1, 0, 0, 0, 1, row.data(), &info,
                             DIB_RGB_COLORS) != 0;
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
    const int width = visible.right - visible.left;
    if (!PaintSeedRowThroughDib(hdc, visible, bands, count)) {
        const RECT seed{rect.left, visible.top, rect.right, visible.top + 1};
        for (std::size_t k = count; k-- > 0;) FillBand(hdc, seed, bands[k], false);
    }
    for (int done = 1; done < rows;) {
        const int n = std::min(done, rows - done);
        BitBlt(hdc, visible.left, visible.top + done, width, n, hdc, visible.left, visible.top, SRCCOPY);
        done += n;
    }
    return true;
}

// Stacked bands over a small area of a true-colour DC: a fill per band costs more in calls than
// in pixels there (a button's half paints a band on every row), so the visible part of the
// bands is written into a 32-bit top-down DIB in memory and copied with one SetDIBitsToDevice.
// Without dithering a DIB pixel and a solid brush of one colour give the same device pixel.
// False (nothing painted) where the shortcut does not apply.
bool FillDownThroughDib(HDC hdc, const RECT& rect, const Band* bands, std::size_t count) {
    constexpr int kMostPixels = 64 * 1024;
    if (!DeviceTrueColour(hdc)) return false;
    RECT box{}, visible{};
    const int kind = GetClipBox(hdc, &box);
    if (kind == RGN_ERROR) return false;
    // Nothing of the rectangle can show: there is nothing to paint, and nothing left to do.
    if (kind == NULLREGION || !IntersectRect(&visible, &rect, &box)) return true;
    const int width = visible.right - visible.left, height = visible.bottom - visible.top;
    if (std::int64_t{width} * height > kMostPixels) return false;
    const BITMAPINFO info = TopDownDib(width, height);
    // One buffer per thread, kept: a button paints its halves many times a second.
    thread_local std::vector<std::uint32_t> pixels;
    pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t bgrx = DibPixel(bands[k].colour);
        const int top = std::max<int>(bands[k].from, visible.top), bottom = std::min<int>(bands[k].to, visible.bottom);
        for (int y = top; y < bottom; ++y)
            std::fill_n(pixels.data() + std::size_t(y - visible.top) * width, width, bgrx);
    }
    return SetDIBitsToDevice(hdc, visible.left, visible.top, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0,
                             0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) != 0;
}

}  // namespace

void GradientFill(HDC hdc, const RECT& rect, COLORREF colorA, COLORREF colorB, bool vertical) {
    const int nearEdge = vertical ? rect.top : rect.left;
    const int farEdge = vertical ? rect.bottom : rect.right;
    const int extent = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{farEdge} - nearEdge, INT32_MIN, INT32_MAX));
    const BandWalk walk(farEdge, extent, GradientStepShift(hdc), colorA, colorB);

    // The bands are collected from colour B's edge on; neighbours of one colour become one band.
    std::array<Band, kMostSteps + 1> bands;
    std::size_t count = 0;
    auto add = [&](int from, int to, COLORREF colour) {
        if (count > 0 && bands[count - 1].colour == colour) bands[count - 1].from = from;
        else bands[count++] = Band{from, to, colour};
    };
    int edge = farEdge;
    while (extent > 0 && edge > nearEdge) {
        const int i = walk.FirstStepReaching(edge - 1);
        const int side = walk.SideAt(i);
        add(side, edge, walk.ColourAt(i));
        edge = side;
    }
    // The last step always brings the side to colour A's edge; only a rectangle with no
    // extent, or a reversed one, leaves a band in colour A to fill.
    if (edge != nearEdge) add(nearEdge, edge, walk.ColourAt(walk.Steps()));

    // Painted from the top (or left) edge on: the same pixels, written in the order memory
    // lies. The caller's DC brush colour is left as it was.
    if (vertical && FillDownThroughDib(hdc, rect, bands.data(), count)) return;
    const COLORREF callers = SetDCBrushColor(hdc, walk.ColourAt(walk.Steps()));
    if (vertical || !FillAcrossByRows(hdc, rect, bands.data(), count))
        for (std::size_t k = count; k-- > 0;) FillBand(hdc, rect, bands[k], vertical);
    SetDCBrushColor(hdc, callers);
}

}  // namespace brimlox::foundation

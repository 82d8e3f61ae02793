// SetDIBitsToDevice: pixels the caller holds in a DIB layout, or a band of their scan lines,
// copied unscaled onto a DC without a bitmap object in between.
//
// Scan lines are numbered from the DIB's bottom row (scan 0), for top-down DIBs too, and the
// source rectangle's corner (xSrc, ySrc) is its lower-left one in those numbers. The caller's
// buffer holds scans from `first` on: for a bottom-up DIB its row k is scan first + k, for a
// top-down one scan first + lines - 1 - k. At most as many rows are read as the DIB has scans
// from `first` up. Checked against Windows as wine implements it
// (tests/platform/gdi/dibits_to_device_cases.h).
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/raster/blit.h"
#include "platform/gdi/raster/convert.h"
#include "platform/gdi/raster/rop.h"
#include "platform/gdi/trace.h"

using namespace brimlox::gdi;

namespace {

// The scan lines the caller's buffer holds, and where each one lies in it.
struct ScanBand {
    const std::uint8_t* bits;
    std::size_t stride;
    bool topDown;
    std::int64_t first;  // scan of the band's lowest-numbered row
    std::int64_t lines;  // as the caller gave it
    std::int64_t rows;   // rows read from the buffer: lines, but no more than the DIB has from first on

    // The lowest and one past the highest scan the band brings.
    std::int64_t Low() const { return topDown ? first + lines - rows : first; }
    std::int64_t High() const { return topDown ? first + lines : first + rows; }
    const std::uint8_t* Row(std::int64_t scan) const {
        const std::int64_t k = topDown ? first + lines - 1 - scan : scan - first;
        return bits + static_cast<std::size_t>(k) * stride;
    }
};

// A clipped copy: destination rows [top, bottom) and columns [left, right) in surface
// coordinates, reading DIB column `column` at `left` and scan `topScan` at row `top` (scans
// fall as rows go down).
struct Placement {
    std::int64_t left, top, right, bottom;
    std::int64_t column;
    std::int64_t topScan;
};

std::optional<Placement> Place(const DcObject& dc, int xDest, int yDest, std::int64_t width, std::int64_t height,
                               int xSrc, int ySrc, std::int64_t dibWidth, const ScanBand& band) {
    // The source rectangle, limited to the DIB's columns and to the scans the band holds.
    const std::int64_t colLo = std::max<std::int64_t>(xSrc, 0), colHi = std::min<std::int64_t>(std::int64_t{xSrc} + width, dibWidth);
    const std::int64_t scanLo = std::max<std::int64_t>(ySrc, std::max<std::int64_t>(band.Low(), 0));
    const std::int64_t scanHi = std::min<std::int64_t>(std::int64_t{ySrc} + height, band.High());
    if (colLo >= colHi || scanLo >= scanHi) return std::nullopt;
    // Scan ySrc + height - 1 lands on row yDest; column xSrc on column xDest.
    const std::int64_t dx = std::int64_t{xDest} + dc.origin.x - xSrc;
    const std::int64_t topScanAtY = std::int64_t{yDest} + dc.origin.y + ySrc + height - 1;  // row + scan
    const RECT clip = dc.Clip();
    Placement p;
    p.left = std::max<std::int64_t>(colLo + dx, clip.left);
    p.right = std::min<std::int64_t>(colHi + dx, clip.right);
    p.top = std::max<std::int64_t>(topScanAtY - (scanHi - 1), clip.top);
    p.bottom = std::min<std::int64_t>(topScanAtY - scanLo + 1, clip.bottom);
    if (p.left >= p.right || p.top >= p.bottom) return std::nullopt;
    p.column = p.left - dx;
    p.topScan = topScanAtY - p.top;
    return p;
}

bool IsPlainBgrx(const DibLayout& layout) {
    return layout.bitCount == 32 && layout.masks[0] == 0xFF0000 && layout.masks[1] == 0x00FF00 &&
           layout.masks[2] == 0x0000FF;
}

// 32-bit B,G,R,X pixels onto a 32-bit device surface: the bits are the device values, so each
// row is one copy.
void CopyBgrxRows(Surface& target, const Placement& p, const ScanBand& band) {
    const auto n = static_cast<std::size_t>(p.right - p.left) * 4;
    for (std::int64_t y = p.top; y < p.bottom; ++y) {
        const std::uint8_t* from = band.Row(p.topScan - (y - p.top)) + static_cast<std::size_t>(p.column) * 4;
        std::memcpy(target.Row32(static_cast<int>(y)) + p.left, from, n);
    }
}

// Any other layout: the rows are taken into a DIB surface of the same layout and blitted from
// there, with the conversion a blit from a DIB section makes.
bool BlitThroughSurface(Surface& target, const Placement& p, const ScanBand& band, DibLayout layout,
                        std::int64_t dibWidth) {
    const int rows = static_cast<int>(p.bottom - p.top);
    layout.bottomUp = false;
    auto rowsSurface = Surface::CreateDib(static_cast<int>(dibWidth), rows, layout);
    if (!rowsSurface) return false;
    const std::size_t stride = std::min<std::size_t>(band.stride, static_cast<std::size_t>(rowsSurface->Stride()));
    for (int i = 0; i < rows; ++i) std::memcpy(rowsSurface->Row(i), band.Row(p.topScan - i), stride);
    raster::BlitSource source;
    source.surface = rowsSurface.get();
    source.x = static_cast<int>(p.column);
    source.y = 0;
    const bool trueColour = (target.Format() == PixelFormat::Bgrx32 || target.Format() == PixelFormat::Rgb24) &&
                            (rowsSurface->Format() == PixelFormat::Bgrx32 || rowsSurface->Format() == PixelFormat::Rgb24);
    if (!target.SameLayout(*rowsSurface) && !trueColour) {
        source.mapping.kind = raster::SourceMapping::Kind::Recolour;
        source.mapping.source = rowsSurface.get();
        source.mapping.target = &target;
    }
    const RECT r{static_cast<LONG>(p.left), static_cast<LONG>(p.top), static_cast<LONG>(p.right),
                 static_cast<LONG>(p.bottom)};
    raster::Blit(target, r, &source, raster::BrushPattern{}, raster::Rop3Index(SRCCOPY));
    return true;
}

// What the call returns: for a bottom-up DIB the scans of the band up to the source
// rectangle's top, for a top-down one the lines the caller gave (as Windows reports them).
int ScansReported(const ScanBand& band, int ySrc, std::int64_t height) {
    if (band.topDown) return static_cast<int>(std::min<std::int64_t>(band.lines, INT_MAX));
    const std::int64_t top = std::min<std::int64_t>(band.first + band.rows, std::int64_t{ySrc} + height);
    return static_cast<int>(std::clamp<std::int64_t>(top - band.first, 0, INT_MAX));
}

// The bytes the call reads from the caller's buffer, for the trace (0 when it reads none).
std::size_t BytesRead(const BITMAPINFO* info, UINT first, UINT lines) {
    if (!info) return 0;
    const std::optional<DibLayout> layout = ReadDibLayout(*info, PlaneCount::Ignored);
    if (!layout) return 0;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const std::int64_t scans = h.biHeight < 0 ? -std::int64_t{h.biHeight} : std::int64_t{h.biHeight};
    const std::int64_t rows = std::clamp<std::int64_t>(scans - first, 0, lines);
    return static_cast<std::size_t>(DibStride(static_cast<int>(h.biWidth), layout->bitCount)) *
           static_cast<std::size_t>(rows);
}

}  // namespace

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
    TraceCall tc("SetDIBitsToDevice");
    if (tc)
        tc.Args(hdc, xDest, yDest, width, height, xSrc, ySrc, startScan, lines,
                TraceBytes{bits, bits ? BytesRead(info, startScan, lines) : 0}, info, usage);
    DcObject* dc = LookupDc(hdc);
    if (!dc || !bits || !info) return tc.Return(0);
    const std::optional<DibLayout> layout = ReadDibLayout(*info, PlaneCount::Ignored);
    // The plane count is not looked at: Windows copies such a DIB as one of one plane. Colour
    // tables of palette indices need a logical palette, which the platform has none of;
    // other usage values read the table as colours, as Windows does.
    if (!layout || (usage == DIB_PAL_COLORS && layout->bitCount <= 8)) return tc.Return(0);
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const std::int64_t dibWidth = h.biWidth;
    const std::int64_t scans = h.biHeight < 0 ? -std::int64_t{h.biHeight} : std::int64_t{h.biHeight};
    const ScanBand band{static_cast<const std::uint8_t*>(bits),
                        static_cast<std::size_t>(DibStride(static_cast<int>(dibWidth), layout->bitCount)),
                        h.biHeight < 0,
                        startScan,
                        lines,
                        std::clamp<std::int64_t>(scans - startScan, 0, lines)};
    if (band.rows == 0) return tc.Return(0);
    Surface* target = dc->Target();
    if (!target) return tc.Return(0);
    // The extents are unsigned: a width above INT_MAX reaches past any DIB anyway.
    const std::int64_t w = std::min<std::int64_t>(width, INT_MAX), ht = std::min<std::int64_t>(height, INT_MAX);
    if (const std::optional<Placement> p = Place(*dc, xDest, yDest, w, ht, xSrc, ySrc, dibWidth, band)) {
        if (target->Format() == PixelFormat::Bgrx32 && IsPlainBgrx(*layout)) CopyBgrxRows(*target, *p, band);
        else if (!BlitThroughSurface(*target, *p, band, *layout, dibWidth)) return tc.Return(0);
    }
    return tc.Return(ScansReported(band, ySrc, ht));
}

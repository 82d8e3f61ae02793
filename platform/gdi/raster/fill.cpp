#include "platform/gdi/raster/fill.h"

#include <algorithm>

#include "platform/gdi/raster/rop.h"

namespace brimlox::gdi::raster {

bool ClipToDc(const DcObject& dc, RECT& r) {
    RECT c = dc.Clip();
    r.left = std::max(r.left, c.left);
    r.top = std::max(r.top, c.top);
    r.right = std::min(r.right, c.right);
    r.bottom = std::min(r.bottom, c.bottom);
    return r.left < r.right && r.top < r.bottom;
}

namespace {

// Applies one pair of ROP2 masks to n pixels: the loop of fills with a solid pen.
void CombineRow32(std::uint32_t* __restrict__ p, std::size_t n, Rop2Masks m) {
    for (std::size_t i = 0; i < n; ++i) p[i] = (p[i] & m.keep) ^ m.flip;
}

void CombineRect(Surface& target, const RECT& r, Rop2Masks m) {
    if (target.Format() == PixelFormat::Bgrx32) {
        const auto n = static_cast<std::size_t>(r.right - r.left);
        for (int y = r.top; y < r.bottom; ++y) CombineRow32(target.Row32(y) + r.left, n, m);
        return;
    }
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) target.Put(x, y, m.Apply(target.Get(x, y)));
}

// One row of a patterned fill: the masks of the eight pattern cells are made once, and
// transparent cells (hatch gaps in transparent mode) are left alone.
void CombinePatternRow(Surface& target, int left, int right, int y, const BrushPattern& brush, int rop2) {
    Rop2Masks cells[8];
    bool opaque[8];
    for (int k = 0; k < 8; ++k) {
        cells[k] = MasksOfRop2(rop2, brush.At(left + k, y));
        opaque[k] = brush.OpaqueAt(left + k, y);
    }
    const bool direct = target.Format() == PixelFormat::Bgrx32;
    std::uint32_t* row = direct ? target.Row32(y) : nullptr;
    for (int x = left; x < right; ++x) {
        const int k = (x - left) & 7;
        if (!opaque[k]) continue;
        if (direct) row[x] = cells[k].Apply(row[x]);
        else target.Put(x, y, cells[k].Apply(target.Get(x, y)));
    }
}

}  // namespace

void FillSolid(Surface& target, const RECT& r, std::uint32_t value) {
    if (target.Format() == PixelFormat::Bgrx32) {
        value &= 0xFFFFFF;
        const auto width = static_cast<std::size_t>(r.right - r.left);
        // Whole rows of a top-down surface are one contiguous run.
        if (r.left == 0 && r.right == target.Width() && !target.BottomUp()) {
            FillPixels32(target.Row32(r.top), width * static_cast<std::size_t>(r.bottom - r.top), value);
            return;
        }
        // Rows are a fixed step apart (negative for a bottom-up surface).
        const std::ptrdiff_t step = target.RowStep() / 4;
        std::uint32_t* row = target.Row32(r.top) + r.left;
        const int rows = r.bottom - r.top;
        if (width == 1) {
            // The one-pixel sides of edges and frames: one store per row.
            for (int y = 0; y < rows; ++y, row += step) *row = value;
            return;
        }
        for (int y = 0; y < rows; ++y, row += step) FillPixels32(row, width, value);
        return;
    }
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) target.Put(x, y, value);
}

void FillRop2(Surface& target, const RECT& r, const BrushPattern& brush, int rop2) {
    if (brush.null || rop2 == R2_NOP) return;
    if (brush.solid && rop2 == R2_COPYPEN) {
        FillSolid(target, r, brush.solidValue);
        return;
    }
    if (brush.solid) {
        CombineRect(target, r, MasksOfRop2(rop2, brush.solidValue));
        return;
    }
    for (int y = r.top; y < r.bottom; ++y) CombinePatternRow(target, r.left, r.right, y, brush, rop2);
}

}  // namespace brimlox::gdi::raster

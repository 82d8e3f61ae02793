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

void FillSolid(Surface& target, const RECT& r, std::uint32_t value) {
    value &= 0xFFFFFF;
    if (target.Format() == PixelFormat::Bgrx32) {
        const auto width = static_cast<std::size_t>(r.right - r.left);
        for (int y = r.top; y < r.bottom; ++y) std::fill_n(target.Row32(y) + r.left, width, value);
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
    if (target.Format() == PixelFormat::Bgrx32) {
        for (int y = r.top; y < r.bottom; ++y) {
            std::uint32_t* row = target.Row32(y);
            for (int x = r.left; x < r.right; ++x) {
                if (!brush.OpaqueAt(x, y)) continue;
                row[x] = ApplyRop2(rop2, brush.At(x, y), row[x]);
            }
        }
        return;
    }
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (!brush.OpaqueAt(x, y)) continue;
            target.Put(x, y, ApplyRop2(rop2, brush.At(x, y), target.Get(x, y)));
        }
    }
}

}  // namespace brimlox::gdi::raster

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

// The store loop of solid fills. Long runs use the string store instruction, which current
// x86-64 processors execute with full-width stores, as memset does; the plain loop is limited
// to the 16-byte vectors of the baseline target.
void Fill32(std::uint32_t* p, std::size_t n, std::uint32_t value) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (n >= 256) {
        asm volatile("rep stosl" : "+D"(p), "+c"(n) : "a"(value) : "memory");
        return;
    }
#endif
    for (std::size_t i = 0; i < n; ++i) p[i] = value;
}

}  // namespace

void FillSolid(Surface& target, const RECT& r, std::uint32_t value) {
    value &= 0xFFFFFF;
    if (target.Format() == PixelFormat::Bgrx32) {
        const auto width = static_cast<std::size_t>(r.right - r.left);
        // Whole rows of a top-down surface are one contiguous run.
        if (r.left == 0 && r.right == target.Width()) {
            Fill32(target.Row32(r.top), width * static_cast<std::size_t>(r.bottom - r.top), value);
            return;
        }
        for (int y = r.top; y < r.bottom; ++y) Fill32(target.Row32(y) + r.left, width, value);
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
    if (brush.solid && target.Format() == PixelFormat::Bgrx32) {
        // A binary operation with a fixed pen is bitwise in the destination: each bit is kept,
        // inverted, set or cleared, which one AND and one XOR mask per fill express.
        const std::uint32_t cleared = ApplyRop2(rop2, brush.solidValue, 0);
        const std::uint32_t keep = ApplyRop2(rop2, brush.solidValue, 0xFFFFFFFFu) ^ cleared;
        for (int y = r.top; y < r.bottom; ++y) {
            std::uint32_t* row = target.Row32(y);
            for (int x = r.left; x < r.right; ++x) row[x] = (row[x] & keep) ^ cleared;
        }
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

// A coverage mask: the set of pixels a filled shape or a wide stroke covers, kept as sorted,
// merged spans per row. Shapes are unioned into it first and the ROP is applied afterwards,
// so every covered pixel is written exactly once however many pieces overlap it (drawing the
// same R2_NOTXORPEN stroke twice then restores the surface).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gdi/raster/pattern.h"

namespace brimlox::gdi::raster {

class CoverageMask {
public:
    // Only pixels inside `bounds` (surface coordinates) are ever recorded.
    explicit CoverageMask(const RECT& bounds);

    const RECT& Bounds() const { return bounds_; }
    bool Empty() const { return bounds_.left >= bounds_.right || bounds_.top >= bounds_.bottom; }
    // Adds pixels [x0, x1) of row y; anything outside the bounds is dropped.
    void AddSpan(std::int64_t y, std::int64_t x0, std::int64_t x1);
    // Calls fn(y, x0, x1) for each maximal run of covered pixels, rows top to bottom.
    void ForEachSpan(const std::function<void(int, int, int)>& fn);
    // Paints the covered pixels with a brush through a ROP2 mode.
    void Paint(Surface& target, const BrushPattern& brush, int rop2);

private:
    struct Span {
        int y, x0, x1;
    };
    void SortSpans();
    void MergeSpans();

    RECT bounds_;
    std::vector<Span> spans_;  // unsorted until ForEachSpan sorts and merges them
};

}  // namespace brimlox::gdi::raster

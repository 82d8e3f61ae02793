// The pixel loop of PatBlt, BitBlt and StretchBlt: a ternary raster operation over a
// destination rectangle, with the source (if any) already mapped to the rectangle and the
// brush realised for the destination DC. Callers clip; nothing here checks bounds.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/raster/convert.h"
#include "platform/gdi/raster/pattern.h"

namespace brimlox::gdi::raster {

// Where a blit reads: the surface, the source pixel under the destination rectangle's
// top-left corner, and how its pixels become destination values.
struct BlitSource {
    const Surface* surface = nullptr;
    int x = 0;
    int y = 0;
    SourceMapping mapping;
};

// Applies the operation `index` (bits 16-23 of a ROP3 code) to the clipped surface rectangle
// r. `source` may be null when the operation reads no source. The source may be the
// destination surface itself; overlapping rectangles copy as memmove does.
void Blit(Surface& target, const RECT& r, const BlitSource* source, const BrushPattern& brush, std::uint8_t index);

// Copies the source to the clipped rectangle r except the source pixels whose device value is
// `key` (a value of the source's layout), which leave the destination as it was. The source
// must not be the destination surface.
void KeyedCopy(Surface& target, const RECT& r, const BlitSource& source, std::uint32_t key);

// KeyedCopy with stretching: destination column r.left + k reads source column cols[k], row
// r.top + i reads source row rows[i]; both lie inside the source.
void KeyedStretch(Surface& target, const RECT& r, const Surface& source, const SourceMapping& mapping,
                  const std::vector<int>& cols, const std::vector<int>& rows, std::uint32_t key);

// The brush along row y from column x, n pixels, as device values.
void PatternRow(const BrushPattern& brush, int x, int y, int n, std::uint32_t* out);

// Puts back the pixels of a row that a transparent hatch background leaves alone.
void RestoreTransparent(const BrushPattern& brush, int x, int y, int n, const std::uint32_t* before,
                        std::uint32_t* row);

}  // namespace brimlox::gdi::raster

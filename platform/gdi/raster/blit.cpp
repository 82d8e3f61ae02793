#include "platform/gdi/raster/blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/raster/fill.h"
#include "platform/gdi/raster/rop.h"
#include "platform/gdi/raster/rop3_table.h"

namespace brimlox::gdi::raster {

namespace {

constexpr std::uint8_t kBlackness = 0x00;
constexpr std::uint8_t kWhiteness = 0xFF;
constexpr std::uint8_t kPatCopy = 0xF0;
constexpr std::uint8_t kSrcCopy = 0xCC;
constexpr std::uint8_t kNop = 0xAA;

// Row buffers of one blit, carved from a scratch area kept by the thread: four allocations per
// call cost more than the small blits a masked picture is made of. Cleared like fresh buffers,
// since raster operations that ignore an operand may still read it.
struct Rows {
    explicit Rows(int n) {
        static thread_local std::vector<std::uint32_t> scratch;
        const auto size = static_cast<std::size_t>(n);
        if (scratch.size() < size * 4) scratch.resize(size * 4);
        std::fill_n(scratch.begin(), size * 4, 0u);
        dst = scratch.data();
        src = dst + size;
        pat = src + size;
        before = pat + size;
    }
    std::uint32_t* dst;
    std::uint32_t* src;
    std::uint32_t* pat;
    std::uint32_t* before;
};

// SRCCOPY between 32-bpp surfaces without conversion: one memmove per row, rows taken in the
// order that never reads a row the copy has already overwritten.
void CopyRows32(Surface& target, const RECT& r, const BlitSource& s) {
    const auto bytes = static_cast<std::size_t>(r.right - r.left) * 4;
    const bool upward = s.surface == &target && s.y < r.top;
    const int height = r.bottom - r.top;
    for (int k = 0; k < height; ++k) {
        int i = upward ? height - 1 - k : k;
        std::memmove(target.Row32(r.top + i) + r.left, s.surface->Row32(s.y + i) + s.x, bytes);
    }
}

// Whether the source row can be read in place: same layout, no conversion, another surface.
bool SourceDirect(const Surface& target, const BlitSource& s) {
    return s.surface != &target && s.surface->Format() == PixelFormat::Bgrx32 &&
           s.mapping.kind == SourceMapping::Kind::Identity;
}

const std::uint32_t* SourceRow(const Surface& target, const BlitSource& s, int i, int n, Rows& rows) {
    if (SourceDirect(target, s)) return s.surface->Row32(s.y + i) + s.x;
    ReadRow(*s.surface, s.x, s.y + i, n, rows.src);
    s.mapping.Apply(rows.src, n);
    return rows.src;
}

}  // namespace

void PatternRow(const BrushPattern& brush, int x, int y, int n, std::uint32_t* out) {
    if (brush.solid) {
        std::fill_n(out, n, brush.solidValue);
        return;
    }
    std::uint32_t cell[8];
    for (int k = 0; k < 8; ++k) cell[k] = brush.At(x + k, y);
    for (int i = 0; i < n; ++i) out[i] = cell[i & 7];
}

void RestoreTransparent(const BrushPattern& brush, int x, int y, int n, const std::uint32_t* before,
                        std::uint32_t* row) {
    for (int i = 0; i < n; ++i)
        if (!brush.OpaqueAt(x + i, y)) row[i] = before[i];
}

void Blit(Surface& target, const RECT& r, const BlitSource* source, const BrushPattern& brush, std::uint8_t index) {
    const bool usesSource = Rop3UsesSource(index) && source && source->surface;
    const bool usesPattern = Rop3UsesPattern(index);
    if (index == kNop || (usesPattern && brush.null)) return;
    if (Rop3UsesSource(index) && !usesSource) return;
    if (index == kBlackness || index == kWhiteness) {
        FillSolid(target, r, index == kWhiteness ? 0xFFFFFFu : 0u);
        return;
    }
    if (index == kPatCopy && brush.solid) {
        FillSolid(target, r, brush.solidValue);
        return;
    }
    if (index == kSrcCopy && target.Format() == PixelFormat::Bgrx32 && source->surface->Format() == PixelFormat::Bgrx32) {
        CopyRows32(target, r, *source);
        return;
    }
    const int n = r.right - r.left;
    const int height = r.bottom - r.top;
    Rows rows(n);
    const Rop3RowFn op = Rop3(index).row;
    const bool transparent = usesPattern && !brush.FullyOpaque();
    const bool direct = target.Format() == PixelFormat::Bgrx32;
    // Copying down within one surface walks the rows bottom-up so no source row is
    // overwritten before it is read; within a row the source is always copied first.
    const bool upward = usesSource && source->surface == &target && source->y < r.top;
    if (usesPattern && brush.solid) PatternRow(brush, r.left, r.top, n, rows.pat);
    for (int k = 0; k < height; ++k) {
        const int i = upward ? height - 1 - k : k;
        const int y = r.top + i;
        const std::uint32_t* src = usesSource ? SourceRow(target, *source, i, n, rows) : rows.src;
        if (usesPattern && !brush.solid) PatternRow(brush, r.left, y, n, rows.pat);
        std::uint32_t* dst = direct ? target.Row32(y) + r.left : rows.dst;
        if (!direct) ReadRow(target, r.left, y, n, dst);
        if (transparent) std::copy_n(dst, n, rows.before);
        op(dst, src, rows.pat, static_cast<std::size_t>(n));
        if (transparent) RestoreTransparent(brush, r.left, y, n, rows.before, dst);
        if (!direct) WriteRow(target, r.left, y, n, dst);
    }
}

void KeyedCopy(Surface& target, const RECT& r, const BlitSource& source, std::uint32_t key) {
    const int n = r.right - r.left;
    const int height = r.bottom - r.top;
    const bool direct = target.Format() == PixelFormat::Bgrx32;
    // Between 32-bpp surfaces the key is compared in place and the pixel copied as it is.
    // Every pixel is written, keyed ones with what they held: a select instead of a branch,
    // which a picture's scattered transparent pixels would mispredict.
    if (direct && SourceDirect(target, source)) {
        for (int i = 0; i < height; ++i) {
            const std::uint32_t* src = source.surface->Row32(source.y + i) + source.x;
            std::uint32_t* dst = target.Row32(r.top + i) + r.left;
            for (int k = 0; k < n; ++k) dst[k] = (src[k] & 0xFFFFFFu) != key ? src[k] : dst[k];
        }
        return;
    }
    Rows rows(n);
    for (int i = 0; i < height; ++i) {
        const int y = r.top + i;
        ReadRow(*source.surface, source.x, source.y + i, n, rows.before);
        std::copy_n(rows.before, n, rows.src);
        source.mapping.Apply(rows.src, n);
        std::uint32_t* dst = direct ? target.Row32(y) + r.left : rows.dst;
        if (!direct) ReadRow(target, r.left, y, n, dst);
        for (int k = 0; k < n; ++k)
            if (rows.before[k] != key) dst[k] = rows.src[k];
        if (!direct) WriteRow(target, r.left, y, n, dst);
    }
}

void KeyedStretch(Surface& target, const RECT& r, const Surface& source, const SourceMapping& mapping,
                  const std::vector<int>& cols, const std::vector<int>& rows, std::uint32_t key) {
    const int n = r.right - r.left;
    const bool direct = target.Format() == PixelFormat::Bgrx32;
    const int lo = std::min(cols.front(), cols.back()), span = std::max(cols.front(), cols.back()) - lo + 1;
    std::vector<std::uint32_t> line(static_cast<std::size_t>(span)), raw(static_cast<std::size_t>(n)),
        mapped(static_cast<std::size_t>(n)), dst(static_cast<std::size_t>(n));
    for (int i = 0; i < r.bottom - r.top; ++i) {
        ReadRow(source, lo, rows[static_cast<std::size_t>(i)], span, line.data());
        for (int k = 0; k < n; ++k) raw[k] = line[static_cast<std::size_t>(cols[k] - lo)];
        mapped = raw;
        mapping.Apply(mapped.data(), n);
        std::uint32_t* out = direct ? target.Row32(r.top + i) + r.left : dst.data();
        if (!direct) ReadRow(target, r.left, r.top + i, n, out);
        for (int k = 0; k < n; ++k)
            if (raw[k] != key) out[k] = mapped[k];
        if (!direct) WriteRow(target, r.left, r.top + i, n, out);
    }
}

}  // namespace brimlox::gdi::raster

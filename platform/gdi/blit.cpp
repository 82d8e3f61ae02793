// PatBlt, BitBlt, StretchBlt and TransparentBlt: argument checks, rectangle normalisation and clipping. The
// pixel work is in raster/blit.cpp and raster/stretch.cpp.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/raster/blit.h"
#include "platform/gdi/raster/fill.h"
#include "platform/gdi/raster/rop.h"
#include "platform/gdi/raster/stretch.h"
#include "platform/gdi/trace.h"

using namespace brimlox::gdi;

namespace {

// One axis of a blit in 64-bit surface coordinates, so huge arguments cannot overflow.
struct Extent {
    std::int64_t start;
    std::int64_t length;  // > 0
};

// Checked against Windows: a negative extent covers the pixels from pos + len + 1 to pos
// inclusive, so BitBlt(x = 6, width = -3) draws columns 4, 5 and 6.
Extent Normalise(std::int64_t pos, std::int64_t len) {
    return len < 0 ? Extent{pos + len + 1, -len} : Extent{pos, len};
}

// Intersects [start, start + length) with [lo, hi); false when nothing is left.
bool ClipExtent(std::int64_t start, std::int64_t length, std::int64_t lo, std::int64_t hi, std::int64_t& a,
                std::int64_t& b) {
    a = std::max(start, lo);
    b = std::min(start + length, hi);
    return a < b;
}

RECT ToRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
    return RECT{static_cast<LONG>(l), static_cast<LONG>(t), static_cast<LONG>(r), static_cast<LONG>(b)};
}

// Draws a rectangle through an operation that reads no source.
BOOL PatternOnly(DcObject& dc, int x, int y, int width, int height, std::uint8_t index) {
    Surface* target = dc.Target();
    if (!target) return FALSE;
    if (width == 0 || height == 0) return TRUE;
    Extent ex = Normalise(std::int64_t{x} + dc.origin.x, width);
    Extent ey = Normalise(std::int64_t{y} + dc.origin.y, height);
    RECT clip = dc.Clip();
    std::int64_t l, r, t, b;
    if (!ClipExtent(ex.start, ex.length, clip.left, clip.right, l, r) ||
        !ClipExtent(ey.start, ey.length, clip.top, clip.bottom, t, b))
        return TRUE;
    raster::Blit(*target, ToRect(l, t, r, b), nullptr, raster::RealizeBrush(dc, dc.brush), index);
    return TRUE;
}

// A copy of a surface, for stretching a surface onto itself.
std::unique_ptr<Surface> Snapshot(const Surface& s) {
    auto copy = Surface::Create(s.Width(), s.Height(), s.Format());
    if (copy) std::memcpy(copy->Bits(), s.Bits(), s.ByteSize());
    return copy;
}

BOOL CopyBits(DcObject& dst, int x, int y, int width, int height, DcObject& src, int srcX, int srcY,
              std::uint8_t index) {
    Surface* target = dst.Target();
    const Surface* source = src.Target();
    if (!target || !source) return FALSE;
    if (width == 0 || height == 0) return TRUE;
    Extent ex = Normalise(std::int64_t{x} + dst.origin.x, width);
    Extent ey = Normalise(std::int64_t{y} + dst.origin.y, height);
    Extent sx = Normalise(std::int64_t{srcX} + src.origin.x, width);
    Extent sy = Normalise(std::int64_t{srcY} + src.origin.y, height);
    // Destination pixels whose source lies outside the source surface are not drawn.
    RECT dclip = dst.Clip(), sclip = src.Clip();
    std::int64_t dx = ex.start - sx.start, dy = ey.start - sy.start;
    std::int64_t l, r, t, b;
    if (!ClipExtent(ex.start, ex.length, std::max<std::int64_t>(dclip.left, sclip.left + dx),
                    std::min<std::int64_t>(dclip.right, sclip.right + dx), l, r) ||
        !ClipExtent(ey.start, ey.length, std::max<std::int64_t>(dclip.top, sclip.top + dy),
                    std::min<std::int64_t>(dclip.bottom, sclip.bottom + dy), t, b))
        return TRUE;
    raster::BlitSource bs;
    bs.surface = source;
    bs.x = static_cast<int>(l - dx);
    bs.y = static_cast<int>(t - dy);
    bs.mapping = raster::SourceMapping::Between(dst, *target, src, *source);
    raster::BrushPattern brush;
    if (raster::Rop3UsesPattern(index)) brush = raster::RealizeBrush(dst, dst.brush);
    raster::Blit(*target, ToRect(l, t, r, b), &bs, brush, index);
    return TRUE;
}

struct StretchArgs {
    int x, y, width, height, srcX, srcY, srcWidth, srcHeight;
};

BOOL StretchBits(DcObject& dst, DcObject& src, const StretchArgs& a, std::uint8_t index) {
    Surface* target = dst.Target();
    const Surface* source = src.Target();
    if (!target || !source) return FALSE;
    if (a.width == 0 || a.height == 0 || a.srcWidth == 0 || a.srcHeight == 0) return TRUE;
    Extent ex = Normalise(std::int64_t{a.x} + dst.origin.x, a.width);
    Extent ey = Normalise(std::int64_t{a.y} + dst.origin.y, a.height);
    Extent sx = Normalise(std::int64_t{a.srcX} + src.origin.x, a.srcWidth);
    Extent sy = Normalise(std::int64_t{a.srcY} + src.origin.y, a.srcHeight);
    RECT dclip = dst.Clip();
    std::int64_t l, r, t, b;
    if (!ClipExtent(ex.start, ex.length, dclip.left, dclip.right, l, r) ||
        !ClipExtent(ey.start, ey.length, dclip.top, dclip.bottom, t, b))
        return TRUE;
    raster::StretchGeometry g{ToRect(l, t, r, b), ex.start, ey.start, ex.length, ey.length,
                              sx.start, sy.start, sx.length, sy.length,
                              (a.width < 0) != (a.srcWidth < 0), (a.height < 0) != (a.srcHeight < 0), src.Clip()};
    // Stretching a surface onto itself reads from a copy taken before any pixel changes.
    std::unique_ptr<Surface> copy;
    if (source == target) {
        copy = Snapshot(*source);
        if (!copy) return FALSE;
        source = copy.get();
    }
    raster::BrushPattern brush;
    if (raster::Rop3UsesPattern(index)) brush = raster::RealizeBrush(dst, dst.brush);
    raster::Stretch(*target, g, *source, raster::SourceMapping::Between(dst, *target, src, *source), dst.stretchMode,
                    brush, index);
    return TRUE;
}

// One destination axis of a TransparentBlt: for each destination pixel in [lo, hi) the source
// pixel it takes (the last of a shrunk run, as COLORONCOLOR drops pixels), trimmed to the
// pixels whose source lies in [srcLo, srcHi). Empty when none does.
struct KeyedAxis {
    std::int64_t lo = 0, hi = 0;
    std::vector<int> source;
};

KeyedAxis MapKeyedAxis(std::int64_t lo, std::int64_t hi, Extent dst, Extent src, std::int64_t srcLo,
                       std::int64_t srcHi, bool lastOfRun) {
    KeyedAxis a;
    for (std::int64_t d = lo; d < hi; ++d) {
        raster::SourceRun run = raster::MapAxis(d - dst.start, src.length, dst.length);
        std::int64_t s = src.start + (lastOfRun ? run.last : run.first);
        if (s < srcLo || s >= srcHi) {
            if (a.source.empty()) continue;
            break;
        }
        if (a.source.empty()) a.lo = d;
        a.hi = d + 1;
        a.source.push_back(static_cast<int>(s));
    }
    return a;
}

BOOL KeyedBits(DcObject& dst, DcObject& src, const StretchArgs& a, UINT transparent) {
    Surface* target = dst.Target();
    const Surface* source = src.Target();
    if (!target || !source) return FALSE;
    if (a.width == 0 || a.height == 0 || a.srcWidth == 0 || a.srcHeight == 0) return TRUE;
    // Copying a surface onto itself reads from a copy taken before any pixel changes.
    std::unique_ptr<Surface> copy;
    if (source == target) {
        copy = Snapshot(*source);
        if (!copy) return FALSE;
        source = copy.get();
    }
    Extent ex{std::int64_t{a.x} + dst.origin.x, a.width}, ey{std::int64_t{a.y} + dst.origin.y, a.height};
    Extent sx{std::int64_t{a.srcX} + src.origin.x, a.srcWidth}, sy{std::int64_t{a.srcY} + src.origin.y, a.srcHeight};
    RECT dclip = dst.Clip(), sclip = src.Clip();
    std::int64_t l, r, t, b;
    if (!ClipExtent(ex.start, ex.length, dclip.left, dclip.right, l, r) ||
        !ClipExtent(ey.start, ey.length, dclip.top, dclip.bottom, t, b))
        return TRUE;
    const std::uint32_t key = source->FromRgb(ToPixel(transparent));
    const raster::SourceMapping mapping = raster::SourceMapping::Between(dst, *target, src, *source);
    if (a.width == a.srcWidth && a.height == a.srcHeight) {
        // Same size: destination pixels whose source lies outside the source are not drawn.
        std::int64_t dx = ex.start - sx.start, dy = ey.start - sy.start;
        if (!ClipExtent(l, r - l, sclip.left + dx, sclip.right + dx, l, r) ||
            !ClipExtent(t, b - t, sclip.top + dy, sclip.bottom + dy, t, b))
            return TRUE;
        raster::BlitSource bs{source, static_cast<int>(l - dx), static_cast<int>(t - dy), mapping};
        raster::KeyedCopy(*target, ToRect(l, t, r, b), bs, key);
        return TRUE;
    }
    KeyedAxis cols = MapKeyedAxis(l, r, ex, sx, sclip.left, sclip.right, true);
    KeyedAxis rows = MapKeyedAxis(t, b, ey, sy, sclip.top, sclip.bottom, false);
    if (cols.source.empty() || rows.source.empty()) return TRUE;
    raster::KeyedStretch(*target, ToRect(cols.lo, rows.lo, cols.hi, rows.hi), *source, mapping, cols.source,
                         rows.source, key);
    return TRUE;
}

}  // namespace

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    TraceCall tc("PatBlt");
    if (tc) tc.Args(hdc, x, y, width, height, rop);
    DcObject* dc = LookupDc(hdc);
    std::uint8_t index = raster::Rop3Index(rop);
    // Checked against Windows: PatBlt refuses operations that read a source.
    if (!dc || raster::Rop3UsesSource(index)) return tc.Return(FALSE);
    return tc.Return(PatternOnly(*dc, x, y, width, height, index));
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
    TraceCall tc("BitBlt");
    if (tc) tc.Args(dest, x, y, width, height, src, srcX, srcY, rop);
    DcObject* dc = LookupDc(dest);
    std::uint8_t index = raster::Rop3Index(rop);
    if (!dc) return tc.Return(FALSE);
    // Checked against Windows: without a source operation the source handle is not looked at.
    if (!raster::Rop3UsesSource(index)) return tc.Return(PatternOnly(*dc, x, y, width, height, index));
    DcObject* source = LookupDc(src);
    if (!source) return tc.Return(FALSE);
    return tc.Return(CopyBits(*dc, x, y, width, height, *source, srcX, srcY, index));
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop) {
    TraceCall tc("StretchBlt");
    if (tc) tc.Args(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, rop);
    DcObject* dc = LookupDc(dest);
    std::uint8_t index = raster::Rop3Index(rop);
    if (!dc) return tc.Return(FALSE);
    if (!raster::Rop3UsesSource(index)) return tc.Return(PatternOnly(*dc, x, y, width, height, index));
    DcObject* source = LookupDc(src);
    if (!source) return tc.Return(FALSE);
    // Equal extents in the same directions are a plain copy.
    if (width == srcWidth && height == srcHeight)
        return tc.Return(CopyBits(*dc, x, y, width, height, *source, srcX, srcY, index));
    StretchArgs args{x, y, width, height, srcX, srcY, srcWidth, srcHeight};
    return tc.Return(StretchBits(*dc, *source, args, index));
}

BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT transparent) {
    TraceCall tc("TransparentBlt");
    if (tc) tc.Args(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, transparent);
    DcObject* dc = LookupDc(dest);
    DcObject* source = LookupDc(src);
    // Mirroring is not supported: negative extents fail, as they do on Windows.
    if (!dc || !source || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0) return tc.Return(FALSE);
    StretchArgs args{x, y, width, height, srcX, srcY, srcWidth, srcHeight};
    return tc.Return(KeyedBits(*dc, *source, args, transparent));
}

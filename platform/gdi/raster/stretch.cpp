#include "platform/gdi/raster/stretch.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/gdi/raster/rop.h"
#include "platform/gdi/raster/rop3_table.h"

namespace brimlox::gdi::raster {

namespace {

// Extents may reach 2^31 on both sides, so the products need more than 64 bits.
using Wide = __int128;

// The source run of one destination pixel in source surface coordinates, clipped to the
// readable range; nothing when the run lies wholly outside it.
std::optional<SourceRun> SurfaceRun(std::int64_t dstIndex, std::int64_t dstLen, std::int64_t srcStart,
                                    std::int64_t srcLen, bool mirror, std::int64_t lo, std::int64_t hi) {
    // A mirrored blit maps its destination right to left with the unmirrored runs.
    if (mirror) dstIndex = dstLen - 1 - dstIndex;
    SourceRun run = MapAxis(dstIndex, srcLen, dstLen);
    run.first = std::max(run.first + srcStart, lo);
    run.last = std::min(run.last + srcStart, hi - 1);
    if (run.first > run.last) return std::nullopt;
    return run;
}

// One accumulator per destination pixel for the merging stretch modes: BLACKONWHITE ANDs the
// run (black wins), WHITEONBLACK ORs it (white wins), HALFTONE averages each channel.
struct Merge {
    int mode;
    bool monoTarget;
    std::vector<std::uint32_t> bits;
    std::vector<std::uint64_t> sums;  // HALFTONE: blue, green, red sums and count per pixel
    std::vector<bool> started;

    Merge(int m, bool mono, int n) : mode(m), monoTarget(mono), bits(n), sums(mode == HALFTONE ? n * 4 : 0), started(n) {}

    void Add(int i, std::uint32_t v) {
        if (mode == HALFTONE) {
            sums[i * 4] += v & 0xFF;
            sums[i * 4 + 1] += (v >> 8) & 0xFF;
            sums[i * 4 + 2] += (v >> 16) & 0xFF;
            sums[i * 4 + 3] += 1;
            return;
        }
        if (!started[i]) {
            bits[i] = v;
            started[i] = true;
        } else if (mode == BLACKONWHITE) {
            bits[i] &= v;
        } else if (mode == WHITEONBLACK) {
            bits[i] |= v;
        }
    }

    std::uint32_t Result(int i) const {
        if (mode != HALFTONE) return bits[i];
        std::uint64_t count = std::max<std::uint64_t>(sums[i * 4 + 3], 1);
        auto avg = [&](int c) { return static_cast<std::uint32_t>((sums[i * 4 + c] + count / 2) / count); };
        std::uint32_t v = avg(0) | (avg(1) << 8) | (avg(2) << 16);
        // A mono destination takes the nearer of black and white.
        if (monoTarget) return avg(0) + avg(1) + avg(2) >= 383 ? 0xFFFFFFu : 0u;
        return v;
    }
};

// Horizontal source runs of the visible destination columns, and the source columns they span.
struct Columns {
    std::vector<std::optional<SourceRun>> runs;
    int lo = 0, hi = 0;  // source columns [lo, hi) read for every row
};

Columns MapColumns(const StretchGeometry& g) {
    Columns c;
    const int n = g.dst.right - g.dst.left;
    c.runs.resize(n);
    std::int64_t lo = g.srcClip.right, hi = g.srcClip.left;
    for (int i = 0; i < n; ++i) {
        c.runs[i] = SurfaceRun(g.dst.left + i - g.dstX, g.dstW, g.srcX, g.srcW, g.mirrorX, g.srcClip.left, g.srcClip.right);
        if (c.runs[i]) {
            lo = std::min(lo, c.runs[i]->first);
            hi = std::max(hi, c.runs[i]->last + 1);
        }
    }
    c.lo = static_cast<int>(lo);
    c.hi = static_cast<int>(std::max(lo, hi));
    return c;
}

// Merges one source row into the accumulators of the destination columns.
void MergeRow(const Columns& c, const std::uint32_t* line, int stretchMode, Merge& m) {
    for (std::size_t i = 0; i < c.runs.size(); ++i) {
        const auto& run = c.runs[i];
        if (!run) continue;
        if (stretchMode == COLORONCOLOR) {
            // Dropping keeps the last source column of a run (and the first row, see below).
            m.Add(static_cast<int>(i), line[run->last - c.lo]);
            continue;
        }
        for (std::int64_t x = run->first; x <= run->last; ++x) m.Add(static_cast<int>(i), line[x - c.lo]);
    }
}

}  // namespace

SourceRun MapAxis(std::int64_t i, std::int64_t srcLen, std::int64_t dstLen) {
    if (srcLen >= dstLen) {
        auto end = [&](std::int64_t k) {
            return static_cast<std::int64_t>((Wide(k + 1) * 2 * srcLen + dstLen) / (Wide(2) * dstLen)) - 1;
        };
        return SourceRun{i == 0 ? 0 : end(i - 1) + 1, end(i)};
    }
    // The source pixel j whose run of destination pixels holds i: the smallest j with
    // round((j + 1) * dstLen / srcLen) > i.
    Wide num = Wide(srcLen) * (2 * i + 1);
    Wide den = Wide(2) * dstLen;
    auto j = static_cast<std::int64_t>((num + den - 1) / den) - 1;
    return SourceRun{j, j};
}

void Stretch(Surface& target, const StretchGeometry& g, const Surface& source, const SourceMapping& mapping,
             int stretchMode, const BrushPattern& brush, std::uint8_t index) {
    const bool usesPattern = Rop3UsesPattern(index);
    if (usesPattern && brush.null) return;
    const int n = g.dst.right - g.dst.left;
    const Columns columns = MapColumns(g);
    if (columns.lo >= columns.hi) return;
    const bool mono = target.Format() == PixelFormat::Mono1;
    std::vector<std::uint32_t> line(columns.hi - columns.lo), src(n), dst(n), pat(n), before(n);
    const Rop3RowFn op = Rop3(index).row;
    for (int y = g.dst.top; y < g.dst.bottom; ++y) {
        auto rowRun = SurfaceRun(y - g.dstY, g.dstH, g.srcY, g.srcH, g.mirrorY, g.srcClip.top, g.srcClip.bottom);
        if (!rowRun) continue;
        Merge merge(stretchMode, mono, n);
        // Dropping keeps the first source row of a run; the merging modes read them all.
        std::int64_t lastRow = stretchMode == COLORONCOLOR ? rowRun->first : rowRun->last;
        for (std::int64_t sy = rowRun->first; sy <= lastRow; ++sy) {
            ReadRow(source, columns.lo, static_cast<int>(sy), columns.hi - columns.lo, line.data());
            mapping.Apply(line.data(), columns.hi - columns.lo);
            MergeRow(columns, line.data(), stretchMode, merge);
        }
        for (int i = 0; i < n; ++i) src[i] = merge.Result(i);
        if (usesPattern) PatternRow(brush, g.dst.left, y, n, pat.data());
        ReadRow(target, g.dst.left, y, n, dst.data());
        std::copy(dst.begin(), dst.end(), before.begin());
        op(dst.data(), src.data(), pat.data(), static_cast<std::size_t>(n));
        // Columns without source pixels and a transparent hatch background stay as they were.
        for (int i = 0; i < n; ++i)
            if (!columns.runs[i] || (usesPattern && !brush.OpaqueAt(g.dst.left + i, y))) dst[i] = before[i];
        WriteRow(target, g.dst.left, y, n, dst.data());
    }
}

}  // namespace brimlox::gdi::raster

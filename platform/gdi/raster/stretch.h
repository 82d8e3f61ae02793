// StretchBlt's pixel loop: which source pixels each destination pixel takes and how several
// of them merge under the DC's stretch mode, before the raster operation is applied.
#pragma once

#include <cstdint>

#include "platform/gdi/raster/blit.h"

namespace brimlox::gdi::raster {

// Which source pixels of one axis land on destination pixel `i` of `dstLen`, counted from
// the start of the (normalised) source and destination extents. The longer side is walked
// one pixel at a time and the shorter side advances when the rounded ratio says so, so run
// k of the shorter side ends at round((k + 1) * long / short) - 1 (halves round up). A
// shrink merges a run of source pixels; an enlargement repeats one source pixel.
struct SourceRun {
    std::int64_t first;
    std::int64_t last;
};
SourceRun MapAxis(std::int64_t i, std::int64_t srcLen, std::int64_t dstLen);

// The geometry of one StretchBlt after clipping. dst is the visible destination rectangle
// (surface coordinates); the full destination extent starts at dstX/dstY with size
// dstW x dstH, the source extent at srcX/srcY (source surface coordinates) with srcW x srcH;
// mirrorX/Y reverse the source along an axis. srcClip limits the pixels that may be read.
struct StretchGeometry {
    RECT dst;
    std::int64_t dstX, dstY, dstW, dstH;
    std::int64_t srcX, srcY, srcW, srcH;
    bool mirrorX, mirrorY;
    RECT srcClip;
};

// Draws the stretched source through the operation. Destination pixels whose source pixels
// all lie outside srcClip are left alone.
void Stretch(Surface& target, const StretchGeometry& g, const Surface& source, const SourceMapping& mapping,
             int stretchMode, const BrushPattern& brush, std::uint8_t index);

}  // namespace brimlox::gdi::raster

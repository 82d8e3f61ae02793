// Moving rows of pixels between surfaces of different layouts, as 32-bit device values, and
// the Windows colour/mono conversion of a blit's source.
#pragma once

#include <cstdint>

#include "platform/gdi/dc.h"

namespace brimlox::gdi::raster {

// Reads n pixels of row y from column x into out (0 / 0xFFFFFF for mono). Callers clip.
void ReadRow(const Surface& s, int x, int y, int n, std::uint32_t* out);
// Writes n device values to row y from column x (mono: any set bit is white). Callers clip.
void WriteRow(Surface& s, int x, int y, int n, const std::uint32_t* in);

// Whether device values of the surface are 0x00RRGGBB colours (24- and 32-bit layouts).
bool IsTrueColour(const Surface& s);

// How a blit's source pixels become destination device values. Windows converts only
// between colour and mono: a colour pixel equal to the source DC's background colour becomes
// white on a mono destination and every other pixel black; a mono source paints its 0 bits
// in the destination DC's text colour and its 1 bits in the destination's background colour.
struct SourceMapping {
    enum class Kind { Identity, ColourToMono, MonoToColour, Recolour } kind = Kind::Identity;
    const Surface* source = nullptr;  // Recolour: the layouts converted between
    const Surface* target = nullptr;
    std::uint32_t sourceBack = 0;  // ColourToMono: the source DC's background as a device value
    std::uint32_t zero = 0;        // MonoToColour: device values for 0 and 1 bits
    std::uint32_t one = 0;

    static SourceMapping Between(const DcObject& dst, const Surface& dstSurface, const DcObject& src,
                                 const Surface& srcSurface);
    void Apply(std::uint32_t* row, int n) const;
};

}  // namespace brimlox::gdi::raster

#include "platform/gdi/raster/convert.h"

#include <cstring>

namespace brimlox::gdi::raster {

namespace {

void ReadMono(const Surface& s, int x, int y, int n, std::uint32_t* out) {
    const std::uint8_t* row = s.Row(y);
    for (int i = 0; i < n; ++i) {
        int px = x + i;
        out[i] = (row[px >> 3] & (0x80 >> (px & 7))) ? 0xFFFFFFu : 0u;
    }
}

void WriteMono(Surface& s, int x, int y, int n, const std::uint32_t* in) {
    std::uint8_t* row = s.Row(y);
    int i = 0;
    // Leading bits up to a byte boundary, whole bytes, then the trailing bits.
    for (; i < n && ((x + i) & 7); ++i) {
        int px = x + i;
        auto bit = static_cast<std::uint8_t>(0x80 >> (px & 7));
        row[px >> 3] = static_cast<std::uint8_t>(in[i] ? (row[px >> 3] | bit) : (row[px >> 3] & ~bit));
    }
    for (; i + 8 <= n; i += 8) {
        std::uint8_t byte = 0;
        for (int b = 0; b < 8; ++b) byte = static_cast<std::uint8_t>((byte << 1) | (in[i + b] ? 1 : 0));
        row[(x + i) >> 3] = byte;
    }
    for (; i < n; ++i) {
        int px = x + i;
        auto bit = static_cast<std::uint8_t>(0x80 >> (px & 7));
        row[px >> 3] = static_cast<std::uint8_t>(in[i] ? (row[px >> 3] | bit) : (row[px >> 3] & ~bit));
    }
}

}  // namespace

void ReadRow(const Surface& s, int x, int y, int n, std::uint32_t* out) {
    switch (s.Format()) {
        case PixelFormat::Mono1: ReadMono(s, x, y, n, out); return;
        case PixelFormat::Rgb24: {
            const std::uint8_t* p = s.Row(y) + static_cast<std::size_t>(x) * 3;
            for (int i = 0; i < n; ++i, p += 3) out[i] = p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
            return;
        }
        case PixelFormat::Bgrx32: {
            const std::uint32_t* p = s.Row32(y) + x;
            for (int i = 0; i < n; ++i) out[i] = p[i] & 0xFFFFFFu;
            return;
        }
    }
}

void WriteRow(Surface& s, int x, int y, int n, const std::uint32_t* in) {
    switch (s.Format()) {
        case PixelFormat::Mono1: WriteMono(s, x, y, n, in); return;
        case PixelFormat::Rgb24: {
            std::uint8_t* p = s.Row(y) + static_cast<std::size_t>(x) * 3;
            for (int i = 0; i < n; ++i, p += 3) {
                p[0] = static_cast<std::uint8_t>(in[i]);
                p[1] = static_cast<std::uint8_t>(in[i] >> 8);
                p[2] = static_cast<std::uint8_t>(in[i] >> 16);
            }
            return;
        }
        case PixelFormat::Bgrx32: {
            std::uint32_t* p = s.Row32(y) + x;
            for (int i = 0; i < n; ++i) p[i] = in[i] & 0xFFFFFFu;
            return;
        }
    }
}

SourceMapping SourceMapping::Between(const DcObject& dst, const Surface& dstSurface, const DcObject& src,
                                     const Surface& srcSurface) {
    SourceMapping m;
    bool dstMono = dstSurface.Format() == PixelFormat::Mono1;
    bool srcMono = srcSurface.Format() == PixelFormat::Mono1;
    if (dstMono && !srcMono) {
        m.kind = Kind::ColourToMono;
        m.sourceBack = ToPixel(src.bkColor);
    } else if (!dstMono && srcMono) {
        m.kind = Kind::MonoToColour;
        m.zero = ToPixel(dst.textColor);
        m.one = ToPixel(dst.bkColor);
    }
    return m;
}

void SourceMapping::Apply(std::uint32_t* row, int n) const {
    switch (kind) {
        case Kind::Identity: return;
        case Kind::ColourToMono:
            for (int i = 0; i < n; ++i) row[i] = row[i] == sourceBack ? 0xFFFFFFu : 0u;
            return;
        case Kind::MonoToColour:
            for (int i = 0; i < n; ++i) row[i] = row[i] ? one : zero;
            return;
    }
}

}  // namespace brimlox::gdi::raster

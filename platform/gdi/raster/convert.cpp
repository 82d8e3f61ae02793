#include "platform/gdi/raster/convert.h"

#include <array>
#include <cstring>

namespace brimlox::gdi::raster {

namespace {

// The device values of the eight pixels of each mono byte, most significant bit first: whole
// bytes expand by one copy instead of a test per pixel (masks mix set and clear bits in no
// order a branch predictor could follow).
using ByteExpansion = std::array<std::array<std::uint32_t, 8>, 256>;
const ByteExpansion& MonoExpansion() {
    static const ByteExpansion table = [] {
        ByteExpansion t{};
        for (int byte = 0; byte < 256; ++byte)
            for (int bit = 0; bit < 8; ++bit) t[byte][bit] = (byte & (0x80 >> bit)) ? 0xFFFFFFu : 0u;
        return t;
    }();
    return table;
}

std::uint32_t MonoPixel(const std::uint8_t* row, int px) {
    return (0u - ((row[px >> 3] >> (7 - (px & 7))) & 1u)) & 0xFFFFFFu;
}

void ReadMono(const Surface& s, int x, int y, int n, std::uint32_t* out) {
    const std::uint8_t* row = s.Row(y);
    int i = 0;
    for (; i < n && ((x + i) & 7); ++i) out[i] = MonoPixel(row, x + i);
    const ByteExpansion& table = MonoExpansion();
    for (; i + 8 <= n; i += 8) std::memcpy(out + i, table[row[(x + i) >> 3]].data(), sizeof(std::uint32_t) * 8);
    for (; i < n; ++i) out[i] = MonoPixel(row, x + i);
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
        // Eight independent tests joined at the end, rather than a chain of shifts.
        const std::uint32_t* p = in + i;
        const unsigned byte = (p[0] != 0) << 7 | (p[1] != 0) << 6 | (p[2] != 0) << 5 | (p[3] != 0) << 4 |
                              (p[4] != 0) << 3 | (p[5] != 0) << 2 | (p[6] != 0) << 1 | (p[7] != 0);
        row[(x + i) >> 3] = static_cast<std::uint8_t>(byte);
    }
    for (; i < n; ++i) {
        int px = x + i;
        auto bit = static_cast<std::uint8_t>(0x80 >> (px & 7));
        row[px >> 3] = static_cast<std::uint8_t>(in[i] ? (row[px >> 3] | bit) : (row[px >> 3] & ~bit));
    }
}

// Device values of one layout turned into those of another through their colours; runs of
// one value (common in pictures) look the colour up once.
void RecolourRow(const Surface& from, const Surface& to, std::uint32_t* row, int n) {
    std::uint32_t lastIn = 0, lastOut = to.FromRgbForBlit(from.ToRgb(0));
    for (int i = 0; i < n; ++i) {
        if (row[i] != lastIn) lastIn = row[i], lastOut = to.FromRgbForBlit(from.ToRgb(row[i]));
        row[i] = lastOut;
    }
}

}  // namespace

bool IsTrueColour(const Surface& s) { return s.Format() == PixelFormat::Rgb24 || s.Format() == PixelFormat::Bgrx32; }

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
        case PixelFormat::Indexed:
        case PixelFormat::BitFields:
            for (int i = 0; i < n; ++i) out[i] = s.Get(x + i, y);
            return;
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
        case PixelFormat::Indexed:
        case PixelFormat::BitFields:
            for (int i = 0; i < n; ++i) s.Put(x + i, y, in[i]);
            return;
    }
}

SourceMapping SourceMapping::Between(const DcObject& dst, const Surface& dstSurface, const DcObject& src,
                                     const Surface& srcSurface) {
    SourceMapping m;
    bool dstMono = dstSurface.Format() == PixelFormat::Mono1;
    bool srcMono = srcSurface.Format() == PixelFormat::Mono1;
    if (dstMono && !srcMono) {
        m.kind = Kind::ColourToMono;
        m.sourceBack = srcSurface.FromRgb(ToPixel(src.bkColor));
    } else if (!dstMono && srcMono) {
        m.kind = Kind::MonoToColour;
        m.zero = dstSurface.FromRgb(ToPixel(dst.textColor));
        m.one = dstSurface.FromRgb(ToPixel(dst.bkColor));
    } else if (!dstMono && !dstSurface.SameLayout(srcSurface) &&
               !(IsTrueColour(dstSurface) && IsTrueColour(srcSurface))) {
        // Between DIB layouts pixels go through their colours: table entries and bit fields
        // are looked up and packed again.
        m.kind = Kind::Recolour;
        m.source = &srcSurface;
        m.target = &dstSurface;
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
        case Kind::Recolour: RecolourRow(*source, *target, row, n); return;
    }
}

}  // namespace brimlox::gdi::raster

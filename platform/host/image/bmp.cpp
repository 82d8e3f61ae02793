// BMP files and the DIBs inside them and inside icons.
#include <algorithm>

#include "platform/host/image/byte_reader.h"
#include "platform/host/image/image.h"

namespace brimlox::host {

namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = "BMP: " + message;
    return false;
}

struct DibLayout {
    int width = 0;
    int height = 0;  // rows of colour data
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t masks[4] = {0, 0, 0, 0};
    std::vector<std::uint32_t> palette;  // 0xFFRRGGBB
    std::size_t bitsOffset = 0;
};

// A channel extracted through a bit mask and scaled to 0..255.
std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    std::uint32_t max = mask >> shift;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>((pixel & mask) >> shift) * 255 + max / 2) / max);
}

bool ReadPalette(const ByteReader& r, std::size_t at, std::size_t count, std::size_t entrySize, DibLayout& d,
                 std::string* error) {
    if (!r.Has(at, count * entrySize)) return Fail(error, "colour table is cut off");
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t p = at + i * entrySize;
        d.palette.push_back(0xFF000000u | (r.U8(p + 2) << 16) | (r.U8(p + 1) << 8) | r.U8(p));
    }
    return true;
}

bool ReadHeader(const ByteReader& r, bool iconMask, DibLayout& d, std::string* error) {
    if (!r.Has(0, 4)) return Fail(error, "header is cut off");
    std::uint32_t size = r.U32(0);
    bool core = size == 12;
    if (!core && (size < 40 || size > 1024)) return Fail(error, "unknown header size " + std::to_string(size));
    if (!r.Has(0, size)) return Fail(error, "header is cut off");
    std::int64_t height;
    if (core) {
        d.width = r.U16(4);
        height = static_cast<std::int16_t>(r.U16(6));
        d.bitCount = r.U16(10);
    } else {
        d.width = r.I32(4);
        height = r.I32(8);
        d.bitCount = r.U16(14);
        d.compression = r.U32(16);
    }
    if (iconMask) height /= 2;
    d.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (d.width <= 0 || height <= 0 || d.width > kMaxImageSide || height > kMaxImageSide ||
        static_cast<std::int64_t>(d.width) * height > kMaxImagePixels)
        return Fail(error, "size " + std::to_string(d.width) + "x" + std::to_string(height) + " is out of range");
    d.height = static_cast<int>(height);
    if (d.compression == kBiRle8 || d.compression == kBiRle4)
        return Fail(error, "run-length compressed bitmaps are not supported");
    if (d.compression != kBiRgb && d.compression != kBiBitfields && d.compression != kBiAlphaBitfields)
        return Fail(error, "unknown compression " + std::to_string(d.compression));
    std::size_t at = size;
    bool fields = d.compression != kBiRgb;
    if (fields) {
        if (d.bitCount != 16 && d.bitCount != 32) return Fail(error, "bit fields need 16 or 32 bits a pixel");
        int count = d.compression == kBiAlphaBitfields ? 4 : 3;
        std::size_t maskAt = size >= 52 ? 40 : at;  // newer headers carry the masks inside
        if (!r.Has(maskAt, count * 4u)) return Fail(error, "colour masks are cut off");
        for (int i = 0; i < count; ++i) d.masks[i] = r.U32(maskAt + i * 4);
        if (size < 52) at += count * 4u;
    } else if (d.bitCount == 16) {
        d.masks[0] = 0x7C00, d.masks[1] = 0x03E0, d.masks[2] = 0x001F;
    }
    switch (d.bitCount) {
        case 1: case 4: case 8: {
            std::size_t used = core ? 0 : r.U32(32);
            std::size_t max = std::size_t{1} << d.bitCount;
            std::size_t count = used == 0 || used > max ? max : used;
            if (!ReadPalette(r, at, count, core ? 3 : 4, d, error)) return false;
            at += count * (core ? 3 : 4);
            break;
        }
        case 16: case 24: case 32: break;
        default: return Fail(error, "unsupported bit count " + std::to_string(d.bitCount));
    }
    d.bitsOffset = at;
    return true;
}

std::uint32_t ReadPixel(const DibLayout& d, const std::uint8_t* row, int x) {
    switch (d.bitCount) {
        case 1: case 4: case 8: {
            int perByte = 8 / d.bitCount;
            int shift = (perByte - 1 - x % perByte) * d.bitCount;
            std::size_t index = (row[x / perByte] >> shift) & ((1u << d.bitCount) - 1);
            // An index past the colour table reads as black, as Windows draws it.
            return index < d.palette.size() ? d.palette[index] : 0xFF000000u;
        }
        case 16: {
            std::uint32_t v = row[x * 2] | (row[x * 2 + 1] << 8);
            return 0xFF000000u | (Channel(v, d.masks[0]) << 16) | (Channel(v, d.masks[1]) << 8) | Channel(v, d.masks[2]);
        }
        case 24: return 0xFF000000u | (row[x * 3 + 2] << 16) | (row[x * 3 + 1] << 8) | row[x * 3];
        default: {
            const std::uint8_t* p = row + x * 4;
            std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
            if (d.compression == kBiRgb) return v;  // alpha byte kept; callers decide whether it counts
            std::uint32_t a = d.masks[3] ? Channel(v, d.masks[3]) : 255;
            return (a << 24) | (Channel(v, d.masks[0]) << 16) | (Channel(v, d.masks[1]) << 8) | Channel(v, d.masks[2]);
        }
    }
}

// Icons without an alpha channel take their transparency from the 1-bpp AND mask.
void ApplyIconTransparency(const ByteReader& r, std::size_t maskAt, DecodedImage& img, bool hasAlpha) {
    std::size_t stride = ((static_cast<std::size_t>(img.width) + 31) / 32) * 4;
    bool maskPresent = r.Has(maskAt, stride * img.height);
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            std::uint32_t& p = img.pixels[static_cast<std::size_t>(y) * img.width + x];
            if (hasAlpha) continue;
            bool clear = false;
            if (maskPresent) {
                std::size_t row = maskAt + static_cast<std::size_t>(img.height - 1 - y) * stride;
                clear = (r.U8(row + x / 8) >> (7 - x % 8)) & 1;
            }
            p = clear ? (p & 0x00FFFFFFu) : (p | 0xFF000000u);
        }
    }
}

}  // namespace

std::optional<DecodedImage> DecodeDib(std::span<const std::uint8_t> dib, bool iconMask, std::string* error) {
    ByteReader r(dib);
    DibLayout d;
    if (!ReadHeader(r, iconMask, d, error)) return std::nullopt;
    return [&]() -> std::optional<DecodedImage> {
        std::size_t stride = ((static_cast<std::size_t>(d.width) * d.bitCount + 31) / 32) * 4;
        if (!r.Has(d.bitsOffset, stride * d.height)) {
            Fail(error, "pixel data is cut off");
            return std::nullopt;
        }
        DecodedImage img;
        img.width = d.width;
        img.height = d.height;
        img.pixels.resize(static_cast<std::size_t>(d.width) * d.height);
        bool anyAlpha = false;
        for (int y = 0; y < d.height; ++y) {
            int stored = d.topDown ? y : d.height - 1 - y;
            const std::uint8_t* row = dib.data() + d.bitsOffset + static_cast<std::size_t>(stored) * stride;
            for (int x = 0; x < d.width; ++x) {
                std::uint32_t p = ReadPixel(d, row, x);
                anyAlpha |= (p >> 24) != 0;
                img.pixels[static_cast<std::size_t>(y) * d.width + x] = p;
            }
        }
        bool alphaCounts = d.bitCount == 32 && (d.compression == kBiAlphaBitfields || (iconMask && anyAlpha));
        if (iconMask) {
            ApplyIconTransparency(r, d.bitsOffset + stride * d.height, img, alphaCounts);
        } else if (!alphaCounts) {
            for (auto& p : img.pixels) p |= 0xFF000000u;
        }
        img.transparent = std::any_of(img.pixels.begin(), img.pixels.end(), [](std::uint32_t p) { return (p >> 24) != 255; });
        return img;
    }();
}

std::optional<DecodedImage> DecodeBmp(std::span<const std::uint8_t> bytes, std::string* error) {
    ByteReader r(bytes);
    if (!r.Has(0, 14) || r.U8(0) != 'B' || r.U8(1) != 'M') {
        Fail(error, "missing the \"BM\" file header");
        return std::nullopt;
    }
    std::uint32_t offBits = r.U32(10);
    auto dib = bytes.subspan(14);
    // Decode with the layout from the header, but take the pixels from where the file says.
    ByteReader dr(dib);
    DibLayout d;
    if (!ReadHeader(dr, false, d, error)) return std::nullopt;
    if (offBits < 14 || offBits > bytes.size()) {
        Fail(error, "pixel data offset " + std::to_string(offBits) + " is outside the file");
        return std::nullopt;
    }
    std::size_t wanted = offBits - 14;
    if (wanted < d.bitsOffset) {
        Fail(error, "pixel data offset " + std::to_string(offBits) + " overlaps the header");
        return std::nullopt;
    }
    // Rebuild a contiguous DIB: header and colour table, then the bits from offBits.
    std::vector<std::uint8_t> joined(dib.begin(), dib.begin() + static_cast<std::ptrdiff_t>(d.bitsOffset));
    joined.insert(joined.end(), bytes.begin() + offBits, bytes.end());
    auto img = DecodeDib(joined, false, error);
    if (img) img->format = ImageFormat::Bmp;
    return img;
}

}  // namespace brimlox::host

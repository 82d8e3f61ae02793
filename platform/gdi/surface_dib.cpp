// The DIB layouts of a Surface: indexed (1, 4, 8 bits) and bit-field (16, 32 bits) pixels, and
// the conversion between their device values and colours.
#include <bit>
#include <new>

#include "platform/gdi/surface.h"

namespace brimlox::gdi {

namespace {

// Bits of one colour field: where it starts and how wide it is (at most 8 bits are used).
struct Field {
    int shift;
    int width;
};

Field FieldOf(std::uint32_t mask) {
    if (mask == 0) return {0, 0};
    return {std::countr_zero(mask), std::popcount(mask)};
}

// The top bits of an 8-bit channel, placed in the field.
std::uint32_t PackChannel(std::uint32_t channel, Field f) {
    if (f.width == 0) return 0;
    std::uint32_t v = f.width >= 8 ? channel << (f.width - 8) : channel >> (8 - f.width);
    return v << f.shift;
}

// A field widened back to 8 bits by repeating its top bits in the low ones, so all ones is 255.
std::uint32_t UnpackChannel(std::uint32_t value, Field f) {
    if (f.width == 0) return 0;
    std::uint32_t v = (value >> f.shift) & ((f.width >= 32) ? ~0u : ((1u << f.width) - 1));
    if (f.width >= 8) return (v >> (f.width - 8)) & 0xFF;
    std::uint32_t wide = v << (8 - f.width);
    for (int filled = f.width; filled < 8; filled += f.width) wide |= v << (8 - f.width) >> filled;
    return wide & 0xFF;
}

int SquaredDistance(std::uint32_t a, std::uint32_t b) {
    int dr = static_cast<int>((a >> 16) & 0xFF) - static_cast<int>((b >> 16) & 0xFF);
    int dg = static_cast<int>((a >> 8) & 0xFF) - static_cast<int>((b >> 8) & 0xFF);
    int db = static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF);
    return dr * dr + dg * dg + db * db;
}

}  // namespace

std::unique_ptr<Surface> Surface::CreateDib(int width, int height, const DibLayout& layout) {
    if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return nullptr;
    PixelFormat format = PixelFormat::BitFields;
    if (layout.bitCount <= 8) format = PixelFormat::Indexed;
    else if (layout.bitCount == 24) format = PixelFormat::Rgb24;
    else if (layout.bitCount == 32 && layout.masks[0] == 0xFF0000 && layout.masks[1] == 0xFF00 &&
             layout.masks[2] == 0xFF)
        format = PixelFormat::Bgrx32;
    std::unique_ptr<Surface> s(new (std::nothrow) Surface(width, height, format, DibStride(width, layout.bitCount)));
    if (!s) return nullptr;
    s->bottomUp_ = layout.bottomUp;
    s->bitCount_ = layout.bitCount;
    s->colours_ = layout.colours;
    if (format == PixelFormat::BitFields)
        for (int i = 0; i < 3; ++i) s->masks_[i] = layout.masks[i];
    if (!s->Allocate()) return nullptr;
    return s;
}

bool Surface::SameLayout(const Surface& other) const {
    if (format_ != other.format_ || bitCount_ != other.bitCount_) return false;
    if (format_ == PixelFormat::Indexed) return colours_ == other.colours_;
    if (format_ == PixelFormat::BitFields)
        return masks_[0] == other.masks_[0] && masks_[1] == other.masks_[1] && masks_[2] == other.masks_[2];
    return true;
}

std::uint32_t Surface::GetPacked(const std::uint8_t* row, int x) const {
    switch (bitCount_) {
        case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
        case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
        case 8: return row[x];
        case 16: return static_cast<std::uint32_t>(row[2 * x] | (row[2 * x + 1] << 8));
        default: return reinterpret_cast<const std::uint32_t*>(row)[x];
    }
}

void Surface::PutPacked(std::uint8_t* row, int x, std::uint32_t value) {
    switch (bitCount_) {
        case 1: {
            auto bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
            row[x >> 3] = static_cast<std::uint8_t>((value & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
            break;
        }
        case 4: {
            const int shift = (x & 1) ? 0 : 4;
            row[x >> 1] = static_cast<std::uint8_t>((row[x >> 1] & ~(0xF << shift)) | ((value & 0xF) << shift));
            break;
        }
        case 8: row[x] = static_cast<std::uint8_t>(value); break;
        case 16:
            row[2 * x] = static_cast<std::uint8_t>(value);
            row[2 * x + 1] = static_cast<std::uint8_t>(value >> 8);
            break;
        default:
            reinterpret_cast<std::uint32_t*>(row)[x] = value & (masks_[0] | masks_[1] | masks_[2]);
            break;
    }
}

std::uint32_t Surface::FromRgb(std::uint32_t rgb) const {
    rgb &= 0xFFFFFF;
    switch (format_) {
        case PixelFormat::Indexed: {
            // An exact entry wins; otherwise the nearest, the first of equals.
            std::uint32_t best = 0;
            int bestDistance = 1 << 30;
            for (std::size_t i = 0; i < colours_.size() && bestDistance > 0; ++i) {
                int d = SquaredDistance(rgb, colours_[i]);
                if (d < bestDistance) bestDistance = d, best = static_cast<std::uint32_t>(i);
            }
            return best;
        }
        case PixelFormat::BitFields:
            return PackChannel(rgb >> 16, FieldOf(masks_[0])) | PackChannel((rgb >> 8) & 0xFF, FieldOf(masks_[1])) |
                   PackChannel(rgb & 0xFF, FieldOf(masks_[2]));
        default: return rgb;
    }
}

std::uint32_t Surface::FromRgbForBlit(std::uint32_t rgb) const {
    if (format_ != PixelFormat::Indexed || bitCount_ != 8) return FromRgb(rgb);
    return FromRgb((rgb & 0xF8F8F8) | 0x040404);
}

std::uint32_t Surface::ToRgb(std::uint32_t value) const {
    switch (format_) {
        case PixelFormat::Indexed: return value < colours_.size() ? colours_[value] : 0;
        case PixelFormat::BitFields:
            return UnpackChannel(value, FieldOf(masks_[0])) << 16 | UnpackChannel(value, FieldOf(masks_[1])) << 8 |
                   UnpackChannel(value, FieldOf(masks_[2]));
        default: return value & 0xFFFFFF;
    }
}

}  // namespace brimlox::gdi

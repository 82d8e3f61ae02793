// A rectangle of pixels in one of the layouts the GDI knows: 1-bpp monochrome device bitmaps
// (rows padded to 16 bits, most significant bit first), 32-bpp device surfaces (top-down,
// B,G,R,X), and the DIB layouts Windows documents (rows padded to 32 bits, top-down or
// bottom-up): 1, 4 and 8 bits of colour-table index, 16 and 32 bits of colour bit fields, and
// 24 bits B,G,R. Every drawing operation ends up reading and writing a Surface.
//
// Pixel values passed in and out are "device values", the bits a pixel holds: 0x00RRGGBB for
// the 24- and 32-bit layouts (the byte order of a little-endian BGRX word), 0x000000 / 0xFFFFFF
// for mono, the table index for indexed DIBs and the packed word for bit-field DIBs, so raster
// operations work bitwise on every layout alike, as they do on Windows. FromRgb and ToRgb
// convert between device values and 0x00RRGGBB colours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "platform/gdi/wintypes.h"

namespace brimlox::gdi {

enum class PixelFormat { Mono1, Rgb24, Bgrx32, Indexed, BitFields };

// How a DIB section lays its pixels out: what a BITMAPINFO says once validated.
struct DibLayout {
    int bitCount = 24;
    bool bottomUp = true;
    std::vector<std::uint32_t> colours;      // 0x00RRGGBB per table entry (1, 4 and 8 bits)
    std::uint32_t masks[3] = {0, 0, 0};      // red, green, blue (16 and 32 bits)
};

// Largest width or height a surface may have, and the most bytes one may hold: a request
// beyond either fails like an allocation the system cannot satisfy, instead of taking
// gigabytes of memory for one bitmap.
constexpr int kMaxSurfaceSide = 1 << 15;
constexpr std::size_t kMaxSurfaceBytes = std::size_t{1} << 29;

// Pixel memory. Buffers of 2 MiB and more are aligned to, and asked for as, huge pages: the
// screen composition reads narrow strips from many windows a row apart, and with small pages
// nearly every such strip costs a TLB miss.
template <typename T>
struct PixelAllocator {
    using value_type = T;
    PixelAllocator() = default;
    template <typename U>
    PixelAllocator(const PixelAllocator<U>&) {}
    T* allocate(std::size_t n) { return static_cast<T*>(AllocatePixels(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) { FreePixels(p, n * sizeof(T)); }
    // Pixels made without a value are left unwritten: the surface fills them once, with the
    // value it is asked for, instead of zeroing them first.
    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <typename U>
    bool operator==(const PixelAllocator<U>&) const { return true; }

    static void* AllocatePixels(std::size_t bytes);
    static void FreePixels(void* p, std::size_t bytes);
};

// Writes `value` into n consecutive 32-bit pixels. Long runs use the string store, which
// current x86-64 processors execute with full-width stores and without first reading the
// lines they overwrite, as memset does; short runs use a plain loop.
void FillPixels32(std::uint32_t* p, std::size_t n, std::uint32_t value);

class Surface {
public:
    // Returns nullptr when the size is empty, negative or too large. The pixels are zero.
    static std::unique_ptr<Surface> Create(int width, int height, PixelFormat format);
    // As Create, with every pixel the device value `value`, written once.
    static std::unique_ptr<Surface> CreateFilled(int width, int height, PixelFormat format, std::uint32_t value);
    // A DIB section's pixels; the layout must be valid (see CreateDIBSection).
    static std::unique_ptr<Surface> CreateDib(int width, int height, const DibLayout& layout);

    int Width() const { return width_; }
    int Height() const { return height_; }
    PixelFormat Format() const { return format_; }
    int BitsPerPixel() const;
    // Bytes between rows as stored in memory.
    int Stride() const { return stride_; }
    bool BottomUp() const { return bottomUp_; }
    // Bytes from one row to the row below it: negative when the rows are stored bottom-up.
    std::ptrdiff_t RowStep() const { return bottomUp_ ? -static_cast<std::ptrdiff_t>(stride_) : stride_; }
    // Whether pixels of the two surfaces mean the same colours, so a blit copies bits.
    bool SameLayout(const Surface& other) const;
    // Device value of a 0x00RRGGBB colour (the nearest table entry for indexed layouts) and
    // the colour of a device value.
    std::uint32_t FromRgb(std::uint32_t rgb) const;
    std::uint32_t ToRgb(std::uint32_t value) const;
    // The device value a blit converts a colour to. 8-bit tables are searched with each
    // channel at the middle of its 8-wide step, as Windows' blit conversion does (it keeps a
    // 5-bit-per-channel lookup); every other layout as FromRgb.
    std::uint32_t FromRgbForBlit(std::uint32_t rgb) const;
    const std::vector<std::uint32_t>& Colours() const { return colours_; }
    std::uint8_t* Bits() { return bits_.data(); }
    const std::uint8_t* Bits() const { return bits_.data(); }
    std::size_t ByteSize() const { return bits_.size(); }

    // Row y counted from the top, whatever the memory order.
    std::uint8_t* Row(int y) { return bits_.data() + RowOffset(y); }
    const std::uint8_t* Row(int y) const { return bits_.data() + RowOffset(y); }
    std::uint32_t* Row32(int y) { return reinterpret_cast<std::uint32_t*>(Row(y)); }
    const std::uint32_t* Row32(int y) const { return reinterpret_cast<const std::uint32_t*>(Row(y)); }

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    RECT Bounds() const { return RECT{0, 0, width_, height_}; }

    // Unchecked accessors: callers clip first.
    std::uint32_t Get(int x, int y) const;
    void Put(int x, int y, std::uint32_t value);

    // Fills the whole surface with one device value.
    void Clear(std::uint32_t value);

private:
    Surface(int width, int height, PixelFormat format, int stride);
    static std::unique_ptr<Surface> CreateUnfilled(int width, int height, PixelFormat format);
    // Takes the pixel memory, zeroed unless `zero` is false (the caller then writes every byte).
    bool Allocate(bool zero = true);
    std::uint32_t GetPacked(const std::uint8_t* row, int x) const;
    void PutPacked(std::uint8_t* row, int x, std::uint32_t value);
    std::size_t RowOffset(int y) const {
        int row = bottomUp_ ? height_ - 1 - y : y;
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(stride_);
    }

    int width_;
    int height_;
    PixelFormat format_;
    int stride_;
    bool bottomUp_ = false;
    int bitCount_ = 32;
    std::vector<std::uint32_t> colours_;
    std::uint32_t masks_[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    std::vector<std::uint8_t, PixelAllocator<std::uint8_t>> bits_;
};

// Device value of a COLORREF (0x00BBGGRR) and back.
constexpr std::uint32_t ToPixel(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF ToColorRef(std::uint32_t pixel) {
    return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
}

// Row padding rules of Windows: device bitmaps pad rows to 16 bits, DIBs to 32 bits.
int DeviceBitmapStride(int width, int bitsPerPixel);
int DibStride(int width, int bitsPerPixel);

}  // namespace brimlox::gdi

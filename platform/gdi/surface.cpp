#include "platform/gdi/surface.h"
#include "platform/gdi/surface_serial.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

namespace brimlox::gdi {

int DeviceBitmapStride(int width, int bitsPerPixel) {
    return static_cast<int>(((static_cast<std::int64_t>(width) * bitsPerPixel + 15) / 16) * 2);
}

int DibStride(int width, int bitsPerPixel) {
    return static_cast<int>(((static_cast<std::int64_t>(width) * bitsPerPixel + 31) / 32) * 4);
}

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
std::size_t HugePageRounded(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }
// Serial numbers of the live pixel buffers (see surface_serial.h). Surfaces are made and freed
// on the UI thread only; the lock keeps the table sound all the same.
struct SerialTable {
    std::mutex lock;
    std::unordered_map<const void*, std::uint64_t> serials;
    std::uint64_t next = 1;
};
SerialTable& Serials() {
    static SerialTable* table = new SerialTable;  // never destroyed: buffers may be freed at exit
    return *table;
}
void RegisterBuffer(const void* p) {
    SerialTable& t = Serials();
    std::lock_guard guard(t.lock);
    t.serials[p] = t.next++;
}
void UnregisterBuffer(const void* p) {
    SerialTable& t = Serials();
    std::lock_guard guard(t.lock);
    t.serials.erase(p);
}

// Large pixel buffers freed lately, kept for the next surface of the same rounded size. A
// popup or a window made and destroyed again and again would otherwise hand its pages back
// to the system each time and fault them in again, zeroed by the kernel, on the next
// allocation; every buffer is filled in full by the surface that takes it, so old pixels
// never show.
struct SpareBuffers {
    static constexpr std::size_t kMaxBytes = std::size_t{96} << 20;
    std::mutex lock;
    std::vector<std::pair<void*, std::size_t>> blocks;  // start and rounded size
    std::size_t bytes = 0;
};
SpareBuffers& Spares() {
    static SpareBuffers* spares = new SpareBuffers;  // never destroyed, like the serial table
    return *spares;
}
void* TakeSpare(std::size_t rounded) {
    SpareBuffers& s = Spares();
    std::lock_guard guard(s.lock);
    // The most recently freed block first: its pages are the likeliest to be in the caches.
    for (auto it = s.blocks.rbegin(); it != s.blocks.rend(); ++it) {
        if (it->second != rounded) continue;
        void* p = it->first;
        s.bytes -= rounded;
        s.blocks.erase(std::next(it).base());
        return p;
    }
    return nullptr;
}
// Keeps a freed block when there is room, dropping the oldest spares to make it; false when
// the block is larger than all the room there is.
bool KeepSpare(void* p, std::size_t rounded) {
    if (rounded > SpareBuffers::kMaxBytes) return false;
    SpareBuffers& s = Spares();
    std::lock_guard guard(s.lock);
    while (s.bytes + rounded > SpareBuffers::kMaxBytes) {
        std::free(s.blocks.front().first);
        s.bytes -= s.blocks.front().second;
        s.blocks.erase(s.blocks.begin());
    }
    s.blocks.emplace_back(p, rounded);
    s.bytes += rounded;
    return true;
}
}  // namespace

std::uint64_t SurfaceSerial(const Surface& surface) {
    SerialTable& t = Serials();
    std::lock_guard guard(t.lock);
    auto it = t.serials.find(surface.Bits());
    return it == t.serials.end() ? 0 : it->second;
}

template <typename T>
void* PixelAllocator<T>::AllocatePixels(std::size_t bytes) {
    void* p = nullptr;
    if (bytes < kHugePage) {
        p = ::operator new(bytes);
    } else {
        const std::size_t rounded = HugePageRounded(bytes);
        p = TakeSpare(rounded);
        if (!p) {
            p = std::aligned_alloc(kHugePage, rounded);
            if (!p) throw std::bad_alloc();
            madvise(p, rounded, MADV_HUGEPAGE);  // a hint: without it the pages are merely small
        }
    }
    RegisterBuffer(p);
    return p;
}

template <typename T>
void PixelAllocator<T>::FreePixels(void* p, std::size_t bytes) {
    UnregisterBuffer(p);
    if (bytes < kHugePage)
        ::operator delete(p);
    else if (!KeepSpare(p, HugePageRounded(bytes)))
        std::free(p);
}

template struct PixelAllocator<std::uint8_t>;

std::unique_ptr<Surface> Surface::Create(int width, int height, PixelFormat format) {
    auto s = CreateUnfilled(width, height, format);
    if (s) std::memset(s->bits_.data(), 0, s->bits_.size());
    return s;
}

std::unique_ptr<Surface> Surface::CreateFilled(int width, int height, PixelFormat format, std::uint32_t value) {
    auto s = CreateUnfilled(width, height, format);
    if (!s) return s;
    // Clear writes whole rows only where pixels fill them; padded rows are zeroed first.
    if (s->format_ != PixelFormat::Bgrx32 && s->format_ != PixelFormat::Mono1)
        std::memset(s->bits_.data(), 0, s->bits_.size());
    s->Clear(value);
    return s;
}

std::unique_ptr<Surface> Surface::CreateUnfilled(int width, int height, PixelFormat format) {
    if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) {
        return nullptr;
    }
    int stride = 0;
    switch (format) {
        case PixelFormat::Mono1: stride = DeviceBitmapStride(width, 1); break;
        case PixelFormat::Rgb24: stride = DibStride(width, 24); break;
        default: stride = width * 4; format = PixelFormat::Bgrx32; break;
    }
    std::unique_ptr<Surface> s(new (std::nothrow) Surface(width, height, format, stride));
    if (!s) return nullptr;
    s->bottomUp_ = format == PixelFormat::Rgb24;
    s->bitCount_ = format == PixelFormat::Mono1 ? 1 : format == PixelFormat::Rgb24 ? 24 : 32;
    if (!s->Allocate(false)) return nullptr;
    return s;
}

// The pixel memory; false when it is too large or cannot be had.
bool Surface::Allocate(bool zero) {
    const std::size_t bytes = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_);
    if (bytes > kMaxSurfaceBytes) return false;
    try {
        bits_.resize(bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (zero) std::memset(bits_.data(), 0, bits_.size());
    return true;
}

Surface::Surface(int width, int height, PixelFormat format, int stride)
    : width_(width), height_(height), format_(format), stride_(stride) {}

int Surface::BitsPerPixel() const { return bitCount_; }

std::uint32_t Surface::Get(int x, int y) const {
    const std::uint8_t* row = Row(y);
    switch (format_) {
        case PixelFormat::Mono1:
            return (row[x >> 3] & (0x80 >> (x & 7))) ? 0xFFFFFFu & 0xFFFFFF : 0;
        case PixelFormat::Rgb24: {
            const std::uint8_t* p = row + x * 3;
            return p[0] | (p[1] << 8) | (p[2] << 16);
        }
        case PixelFormat::Bgrx32:
            return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
        case PixelFormat::Indexed:
        case PixelFormat::BitFields: return GetPacked(row, x);
    }
    return 0;
}

void Surface::Put(int x, int y, std::uint32_t value) {
    std::uint8_t* row = Row(y);
    switch (format_) {
        case PixelFormat::Mono1: {
            std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
            // Any set bit counts as white: raster operations keep mono values at 0 or all ones.
            if (value & 0xFFFFFF) row[x >> 3] |= bit; else row[x >> 3] &= static_cast<std::uint8_t>(~bit);
            break;
        }
        case PixelFormat::Rgb24: {
            std::uint8_t* p = row + x * 3;
            p[0] = static_cast<std::uint8_t>(value);
            p[1] = static_cast<std::uint8_t>(value >> 8);
            p[2] = static_cast<std::uint8_t>(value >> 16);
            break;
        }
        case PixelFormat::Bgrx32:
            reinterpret_cast<std::uint32_t*>(row)[x] = value & 0xFFFFFF;
            break;
        case PixelFormat::Indexed:
        case PixelFormat::BitFields: PutPacked(row, x, value); break;
    }
}

void FillPixels32(std::uint32_t* p, std::size_t n, std::uint32_t value) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (n >= 256) {
        asm volatile("rep stosl" : "+D"(p), "+c"(n) : "a"(value) : "memory");
        return;
    }
#endif
    for (std::size_t i = 0; i < n; ++i) p[i] = value;
}

void Surface::Clear(std::uint32_t value) {
    if (format_ == PixelFormat::Bgrx32) {
        value &= 0xFFFFFF;
        // Rows without padding are one run.
        if (stride_ == width_ * 4) FillPixels32(reinterpret_cast<std::uint32_t*>(bits_.data()), bits_.size() / 4, value);
        else
            for (int y = 0; y < height_; ++y) FillPixels32(Row32(y), static_cast<std::size_t>(width_), value);
        return;
    }
    if (format_ == PixelFormat::Mono1) {
        std::memset(bits_.data(), (value & 0xFFFFFF) ? 0xFF : 0x00, bits_.size());
        return;
    }
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) Put(x, y, value);
}

}  // namespace brimlox::gdi

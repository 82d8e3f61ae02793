// Bitmap creation and single-pixel access.
#include "platform/gdi/bitmap.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/raster/pattern.h"
#include "platform/gdi/trace.h"

using namespace brimlox::gdi;

namespace {

HBITMAP AddBitmap(std::unique_ptr<Surface> s, bool dib = false) {
    if (!s) return nullptr;
    return static_cast<HBITMAP>(HandleTable::Instance().Add(std::make_unique<BitmapObject>(std::move(s), dib)));
}

// Copies caller bits (rows padded to 16 bits, as device bitmaps are) into a new surface.
void LoadDeviceBits(Surface& s, UINT bpp, const std::uint8_t* bits) {
    int srcStride = DeviceBitmapStride(s.Width(), static_cast<int>(bpp));
    for (int y = 0; y < s.Height(); ++y) {
        const std::uint8_t* row = bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(srcStride);
        if (bpp == 1) {
            std::memcpy(s.Row(y), row, static_cast<std::size_t>(s.Stride()));
            continue;
        }
        for (int x = 0; x < s.Width(); ++x) {
            const std::uint8_t* p = row + x * static_cast<int>(bpp / 8);
            s.Put(x, y, p[0] | (p[1] << 8) | (p[2] << 16));
        }
    }
}

// The bit fields of a header that has them: after a plain header, or inside a larger one.
void ReadMasks(const BITMAPINFO& info, DibLayout& layout) {
    const auto* words = reinterpret_cast<const std::uint32_t*>(info.bmiColors);
    if (info.bmiHeader.biSize > sizeof(BITMAPINFOHEADER))
        words = reinterpret_cast<const std::uint32_t*>(&info.bmiHeader + 1);
    for (int i = 0; i < 3; ++i) layout.masks[i] = words[i];
}

// The colour table: biClrUsed entries (all the depth holds when 0) following the header.
void ReadColourTable(const BITMAPINFO& info, DibLayout& layout) {
    // A count beyond what the depth holds reads only the entries it holds (Windows accepts it).
    const DWORD count = std::min<DWORD>(info.bmiHeader.biClrUsed ? info.bmiHeader.biClrUsed : 1u << layout.bitCount,
                                        1u << layout.bitCount);
    const auto* table = reinterpret_cast<const std::uint8_t*>(&info.bmiHeader) + info.bmiHeader.biSize;
    layout.colours.assign(std::size_t{1} << layout.bitCount, 0);
    for (DWORD i = 0; i < count; ++i) {
        const std::uint8_t* q = table + 4 * i;  // RGBQUAD: blue, green, red, reserved
        layout.colours[i] = static_cast<std::uint32_t>(q[2]) << 16 | static_cast<std::uint32_t>(q[1]) << 8 | q[0];
    }
}

}  // namespace

namespace brimlox::gdi {

// What a BITMAPINFO asks for, or nothing when Windows refuses it: 1, 4, 8, 16, 24 or 32 bits,
// one plane, a positive width and non-zero height, uncompressed or (16 and 32 bits only) bit
// fields, and a size the memory can hold.
std::optional<DibLayout> ReadDibLayout(const BITMAPINFO& info, PlaneCount planes) {
    const BITMAPINFOHEADER& h = info.bmiHeader;
    const int bpp = h.biBitCount;
    const bool depthOk = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > 4096 || !depthOk || (planes == PlaneCount::MustBeOne && h.biPlanes != 1) || h.biWidth <= 0 ||
        h.biHeight == 0 || h.biHeight == std::numeric_limits<LONG>::min())
        return std::nullopt;
    const bool fields = h.biCompression == BI_BITFIELDS;
    if (!fields && h.biCompression != BI_RGB) return std::nullopt;
    if (fields && bpp != 16 && bpp != 32) return std::nullopt;
    const std::int64_t rows = h.biHeight < 0 ? -static_cast<std::int64_t>(h.biHeight) : h.biHeight;
    if (h.biWidth > kMaxSurfaceSide || rows > kMaxSurfaceSide ||
        static_cast<std::uint64_t>(DibStride(static_cast<int>(h.biWidth), bpp)) * static_cast<std::uint64_t>(rows) >
            kMaxSurfaceBytes)
        return std::nullopt;
    DibLayout layout;
    layout.bitCount = bpp;
    layout.bottomUp = h.biHeight > 0;
    if (bpp <= 8) ReadColourTable(info, layout);
    else if (fields) ReadMasks(info, layout);
    else if (bpp == 16) layout.masks[0] = 0x7C00, layout.masks[1] = 0x03E0, layout.masks[2] = 0x001F;
    else layout.masks[0] = 0xFF0000, layout.masks[1] = 0x00FF00, layout.masks[2] = 0x0000FF;
    return layout;
}

}  // namespace brimlox::gdi

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    TraceCall tc("CreateCompatibleBitmap");
    if (tc) tc.Args(hdc, width, height);
    DcObject* dc = LookupDc(hdc);
    if (!dc || width < 0 || height < 0) return tc.Return(static_cast<HBITMAP>(nullptr));
    if (width == 0 || height == 0) return tc.Return(DefaultMonoBitmap());
    // A memory DC makes bitmaps like the one it holds: a new DC still holds its 1x1 mono bitmap.
    Surface* target = dc->Target();
    PixelFormat format = dc->memory && target && target->Format() == PixelFormat::Mono1 ? PixelFormat::Mono1
                                                                                        : PixelFormat::Bgrx32;
    return tc.Return(AddBitmap(Surface::Create(width, height, format)));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    TraceCall tc("CreateBitmap");
    bool sizeOk = width > 0 && height > 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide;
    std::size_t bytes = sizeOk ? static_cast<std::size_t>(DeviceBitmapStride(width, static_cast<int>(bitsPerPixel))) *
                                     static_cast<std::size_t>(height)
                               : 0;
    if (tc) tc.Args(width, height, planes, bitsPerPixel, TraceBytes{bits, bits ? bytes : 0});
    if (width == 0 || height == 0) return tc.Return(DefaultMonoBitmap());
    if (!sizeOk || planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32))
        return tc.Return(static_cast<HBITMAP>(nullptr));
    auto s = Surface::Create(width, height, bitsPerPixel == 1 ? PixelFormat::Mono1 : PixelFormat::Bgrx32);
    if (!s) return tc.Return(static_cast<HBITMAP>(nullptr));
    if (bits) LoadDeviceBits(*s, bitsPerPixel, static_cast<const std::uint8_t*>(bits));
    return tc.Return(AddBitmap(std::move(s)));
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset) {
    TraceCall tc("CreateDIBSection");
    if (tc) tc.Args(hdc, info, usage, nullptr, nullptr, offset);
    if (bits) *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS || section) return tc.Return(static_cast<HBITMAP>(nullptr));
    std::optional<DibLayout> layout = ReadDibLayout(*info);
    if (!layout) return tc.Return(static_cast<HBITMAP>(nullptr));
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const int height = h.biHeight < 0 ? -static_cast<int>(h.biHeight) : static_cast<int>(h.biHeight);
    auto s = Surface::CreateDib(static_cast<int>(h.biWidth), height, *layout);
    if (!s) return tc.Return(static_cast<HBITMAP>(nullptr));
    std::uint8_t* data = s->Bits();
    auto object = std::make_unique<BitmapObject>(std::move(s), true);
    object->dibHeader = h;
    object->dibHeader.biSizeImage = static_cast<DWORD>(object->surface->ByteSize());
    for (int i = 0; i < 3; ++i) object->dibMasks[i] = layout->masks[i];
    HBITMAP result = static_cast<HBITMAP>(HandleTable::Instance().Add(std::move(object)));
    if (result && bits) *bits = data;
    return tc.Return(result);
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    DcObject* dc = LookupDc(hdc);
    if (!dc) return CLR_INVALID;
    Surface* s = dc->Target();
    POINT p = dc->ToSurface(POINT{x, y});
    RECT clip = dc->Clip();
    if (!s || p.x < clip.left || p.y < clip.top || p.x >= clip.right || p.y >= clip.bottom) return CLR_INVALID;
    return ToColorRef(s->ToRgb(s->Get(p.x, p.y)));
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    TraceCall tc("SetPixel");
    if (tc) tc.Args(hdc, x, y, color);
    DcObject* dc = LookupDc(hdc);
    if (!dc) return tc.Return(CLR_INVALID);
    Surface* s = dc->Target();
    POINT p = dc->ToSurface(POINT{x, y});
    RECT clip = dc->Clip();
    if (!s || p.x < clip.left || p.y < clip.top || p.x >= clip.right || p.y >= clip.bottom)
        return tc.Return(CLR_INVALID);
    std::uint32_t v = raster::DeviceColor(*s, color & 0xFFFFFF);
    s->Put(p.x, p.y, v);
    return tc.Return(ToColorRef(s->ToRgb(v)));
}

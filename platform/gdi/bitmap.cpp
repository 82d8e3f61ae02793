// Bitmap creation and single-pixel access.
#include "platform/gdi/bitmap.h"

#include <cstring>

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

}  // namespace

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
    const BITMAPINFOHEADER& h = info->bmiHeader;
    // 24-bit bottom-up uncompressed DIBs are the layout the DIB surface class works on.
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biBitCount != 24 || h.biCompression != BI_RGB ||
        h.biPlanes != 1 || h.biWidth <= 0 || h.biHeight <= 0)
        return tc.Return(static_cast<HBITMAP>(nullptr));
    auto s = Surface::Create(h.biWidth, h.biHeight, PixelFormat::Rgb24);
    if (!s) return tc.Return(static_cast<HBITMAP>(nullptr));
    std::uint8_t* data = s->Bits();
    auto object = std::make_unique<BitmapObject>(std::move(s), true);
    object->dibHeader = h;
    object->dibHeader.biSizeImage = static_cast<DWORD>(object->surface->ByteSize());
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
    return ToColorRef(s->Get(p.x, p.y));
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
    return tc.Return(ToColorRef(v));
}

#include "foundation/dib/dib_surface.h"

#include <chrono>
#include <cstdint>
#include <limits>

#include "platform/gdi/gdi.h"
#include "platform/host/picture.h"
#include "platform/user/user.h"

namespace brimlox::foundation {

namespace {

constexpr std::int64_t ScanLineBytes(std::int64_t width) { return (width + 1) * 3 / 4 * 4; }

}  // namespace

CUlvaroDIBS::~CUlvaroDIBS() { ClearUp(); }

int CUlvaroDIBS::BytesPerScanLine() const { return static_cast<int>(ScanLineBytes(header_.biWidth)); }

bool CUlvaroDIBS::CreateDIB(HDC hdc, int width, int height, HBITMAP& dib) {
    dib = nullptr;
    header_ = BITMAPINFOHEADER{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    // A negative height would make a top-down DIB, which the byte loops do not expect.
    if (width <= 0 || height <= 0) return false;
    std::int64_t imageBytes = ScanLineBytes(width) * height;
    if (imageBytes > std::numeric_limits<std::int32_t>::max()) return false;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(imageBytes);
    void* bits = nullptr;
    dib = CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib || !bits) {
        if (dib) DeleteObject(dib);
        dib = nullptr;
        return false;
    }
    header_ = info.bmiHeader;
    bits_ = static_cast<std::uint8_t*>(bits);
    return true;
}

bool CUlvaroDIBS::Create(int width, int height) {
    ClearUp();
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) return false;
    if (!CreateDIB(dc_, width, height, dib_)) {
        DeleteDC(dc_);
        ClearUp();
        return false;
    }
    previous_ = SelectObject(dc_, dib_);
    return true;
}

void CUlvaroDIBS::CreateFromPicture(const host::StdPicture& picture) {
    if (picture.Type() != host::PictureType::Bitmap) return;
    CreateFromBitmap(picture.Bitmap());
}

void CUlvaroDIBS::CreateFromBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || GetObjectA(bitmap, sizeof(info), &info) == 0 || GetObjectType(bitmap) != OBJ_BITMAP) return;
    if (!Create(info.bmWidth, info.bmHeight)) return;
    // A memory DC compatible with the screen, made without taking the screen's DC: a screen
    // DC handed out while windows repaint brings their pixels to the screen first, and this
    // one only holds the bitmap.
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    LoadPictureBlt(memory, 0, 0, -1, -1, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void CUlvaroDIBS::LoadPictureBlt(HDC source, int sx, int sy, int width, int height, DWORD rop) {
    if (!dc_) return;
    if (width < 0) width = Width();
    if (height < 0) height = Height();
    BitBlt(dc_, 0, 0, width, height, source, sx, sy, rop);
}

void CUlvaroDIBS::PaintPicture(HDC dest, int x, int y, int width, int height, int sx, int sy, DWORD rop) {
    if (!dc_) return;
    if (width < 0) width = Width();
    if (height < 0) height = Height();
    BitBlt(dest, x, y, width, height, dc_, sx, sy, rop);
}

std::span<std::uint8_t> CUlvaroDIBS::Bits() const {
    if (!bits_) return {};
    return {bits_, static_cast<std::size_t>(BytesPerScanLine()) * static_cast<std::size_t>(Height())};
}

void CUlvaroDIBS::ClearUp() {
    if (dc_) {
        if (dib_) {
            SelectObject(dc_, previous_);
            DeleteObject(dib_);
        }
        DeleteDC(dc_);
    }
    dc_ = nullptr;
    dib_ = nullptr;
    previous_ = nullptr;
    bits_ = nullptr;
    header_ = BITMAPINFOHEADER{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

}  // namespace brimlox::foundation

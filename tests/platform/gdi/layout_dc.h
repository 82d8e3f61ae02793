// Test helper: a memory DC over a fresh bitmap of one of the three pixel layouts: a 32-bpp or
// 1-bpp device bitmap (made from `bits` when given) or a 24-bpp DIB section, whose bits
// DibBits() hands out.
#pragma once

#include <cstdint>

#include "platform/gdi/gdi.h"

namespace brimlox::test {

class LayoutDc {
public:
    LayoutDc(int w, int h, int bpp, const void* bits = nullptr) : dc_(CreateCompatibleDC(nullptr)) {
        if (bpp == 24) {
            BITMAPINFO bi{};
            bi.bmiHeader.biWidth = w;
            bi.bmiHeader.biHeight = h;
            bi.bmiHeader.biPlanes = 1;
            bi.bmiHeader.biBitCount = 24;
            void* dib = nullptr;
            bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &dib, nullptr, 0);
            dibBits_ = static_cast<std::uint8_t*>(dib);
        } else {
            bmp_ = CreateBitmap(w, h, 1, static_cast<UINT>(bpp), bits);
        }
        old_ = SelectObject(dc_, bmp_);
    }
    ~LayoutDc() {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    LayoutDc(const LayoutDc&) = delete;
    LayoutDc& operator=(const LayoutDc&) = delete;

    HDC dc() const { return dc_; }
    std::uint8_t* DibBits() const { return dibBits_; }

private:
    HDC dc_;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint8_t* dibBits_ = nullptr;
};

}  // namespace brimlox::test

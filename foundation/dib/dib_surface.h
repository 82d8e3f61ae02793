// CUlvaroDIBS: a 24-bit bottom-up DIB section selected into its own memory DC, so painting
// code can blit into it, address its pixels as bytes (blue, green, red; rows padded to four
// bytes) and blit it back out. The picture effects of the transparent painter work on it.
//
// Every failure leaves the object empty: no DC, no DIB, no bits, and a header of size 0, so
// the pixel loops below and any caller looking at Width() and Height() see nothing to do.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/gdi/wintypes.h"

namespace brimlox::host {
class StdPicture;
}

namespace brimlox::foundation {

class CUlvaroDIBS {
public:
    CUlvaroDIBS() = default;
    ~CUlvaroDIBS();
    CUlvaroDIBS(const CUlvaroDIBS&) = delete;
    CUlvaroDIBS& operator=(const CUlvaroDIBS&) = delete;

    // Fills the header for width x height and creates the DIB section on `hdc`. Sizes of 0 or
    // less, and sizes whose pixels do not fit a 32-bit byte count, are refused.
    bool CreateDIB(HDC hdc, int width, int height, HBITMAP& dib);
    // Builds the DIB from a picture's bitmap, or from a bitmap; nothing happens when the
    // handle is not a bitmap (an icon, say) or the DIB cannot be made.
    void CreateFromPicture(const host::StdPicture& picture);
    void CreateFromBitmap(HBITMAP bitmap);
    // A fresh DIB of the given size in a new memory DC; false (and empty) on failure.
    bool Create(int width, int height);

    // 3 x width rounded up to a multiple of 4.
    int BytesPerScanLine() const;
    int Width() const { return header_.biWidth; }
    int Height() const { return header_.biHeight; }

    // Copies from `source` at (sx, sy) into the DIB at (0, 0); a negative size means the
    // DIB's own.
    void LoadPictureBlt(HDC source, int sx, int sy, int width = -1, int height = -1, DWORD rop = SRCCOPY);
    // Copies the DIB from (sx, sy) into `dest` at (x, y); a negative size means the DIB's own.
    void PaintPicture(HDC dest, int x, int y, int width = -1, int height = -1, int sx = 0, int sy = 0,
                      DWORD rop = SRCCOPY);

    HDC hDC() const { return dc_; }
    HBITMAP hDib() const { return dib_; }
    void* DIBSectionBitsPtr() const { return bits_; }
    // The pixel bytes, BytesPerScanLine() x Height(); empty without a DIB.
    std::span<std::uint8_t> Bits() const;

    // Fills the DIB with noise: light greys from 140 to 230 (skipping 151-169), or random
    // red and green over no blue.
    void RandomiseBits(bool greyscale);
    void ClearUp();
    // A new DIB of the given size with this one's pixels interpolated bilinearly; nothing
    // when the new DIB cannot be made.
    std::unique_ptr<CUlvaroDIBS> Resample(int newHeight, int newWidth) const;

private:
    void ResampleInto(CUlvaroDIBS& target) const;

    HBITMAP dib_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    HDC dc_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    BITMAPINFOHEADER header_{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
};

}  // namespace brimlox::foundation

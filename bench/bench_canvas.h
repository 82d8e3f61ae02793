// A memory DC over a 32-bpp bitmap for the benchmarks to draw on, freed when it goes out of
// scope.
#pragma once

#include "platform/gdi/gdi.h"

class BenchCanvas {
public:
    BenchCanvas(int width, int height)
        : dc_(CreateCompatibleDC(nullptr)), bitmap_(CreateBitmap(width, height, 1, 32, nullptr)),
          old_(SelectObject(dc_, bitmap_)) {}
    ~BenchCanvas() {
        if (bitmap_) {
            SelectObject(dc_, old_);
            DeleteObject(bitmap_);
        }
        DeleteDC(dc_);
    }
    BenchCanvas(const BenchCanvas&) = delete;
    BenchCanvas& operator=(const BenchCanvas&) = delete;

    HDC dc() const { return dc_; }
    // Hands the bitmap, with what was drawn on it, to the caller, who frees it.
    HBITMAP TakeBitmap() {
        SelectObject(dc_, old_);
        HBITMAP bitmap = bitmap_;
        bitmap_ = nullptr;
        return bitmap;
    }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

#include "foundation/painters/tile.h"

#include <algorithm>

#include "platform/gdi/gdi.h"

namespace brimlox::foundation {

namespace {

// Below this many tiles in the area the tiles are copied one by one; above it a small tile is
// first repeated into a larger one, so a 1 x 1 picture under a wide control costs a few dozen
// copies rather than one per pixel.
constexpr long long kDirectTileLimit = 64;
constexpr int kEnlargedSide = 128;

// A memory DC compatible with another, holding one bitmap; both freed on destruction.
class MemoryCanvas {
public:
    MemoryCanvas(HDC like, HBITMAP bitmap, bool ownsBitmap)
        : dc_(CreateCompatibleDC(like)), bitmap_(bitmap), owns_(ownsBitmap),
          old_(dc_ && bitmap ? SelectObject(dc_, bitmap) : nullptr) {}
    ~MemoryCanvas() {
        if (dc_ && old_) SelectObject(dc_, old_);
        if (owns_ && bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
    }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    HDC dc() const { return dc_; }
    bool Ready() const { return dc_ && old_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    bool owns_;
    HGDIOBJ old_;
};

long long FloorMod(long long value, long long period) {
    long long r = value % period;
    return r < 0 ? r + period : r;
}

// Copies the tile of `source` (tileW x tileH) over the area, one copy per tile position.
// Copies are clipped to the area, so none reads outside the tile.
void CopyTiles(HDC hdc, int width, int height, HDC source, int tileW, int tileH, long long ox, long long oy) {
    for (long long y = -oy; y < height; y += tileH) {
        const long long top = std::max(y, 0LL), rows = std::min<long long>(y + tileH, height) - top;
        for (long long x = -ox; x < width; x += tileW) {
            const long long left = std::max(x, 0LL), cols = std::min<long long>(x + tileW, width) - left;
            BitBlt(hdc, static_cast<int>(left), static_cast<int>(top), static_cast<int>(cols), static_cast<int>(rows),
                   source, static_cast<int>(left - x), static_cast<int>(top - y), SRCCOPY);
        }
    }
}

// Repeats the tile across and down a bitmap whose sides are whole multiples of the tile's,
// doubling the copied part each step.
void RepeatTile(HDC target, HDC source, int tileW, int tileH, int bigW, int bigH) {
    BitBlt(target, 0, 0, tileW, tileH, source, 0, 0, SRCCOPY);
    for (int done = tileW; done < bigW; done += std::min(done, bigW - done))
        BitBlt(target, done, 0, std::min(done, bigW - done), tileH, target, 0, 0, SRCCOPY);
    for (int done = tileH; done < bigH; done += std::min(done, bigH - done))
        BitBlt(target, 0, done, bigW, std::min(done, bigH - done), target, 0, 0, SRCCOPY);
}

int Multiple(int side, int area) {
    if (side >= kEnlargedSide || side >= area) return side;
    const int copies = (std::min(area, kEnlargedSide) + side - 1) / side;
    return side * copies;
}

}  // namespace

bool TileBitmap(HDC hdc, int width, int height, HBITMAP tile, long long offsetX, long long offsetY) {
    BITMAP info{};
    if (!tile || GetObjectA(tile, sizeof info, &info) == 0) return false;
    return TileBitmap(hdc, width, height, tile, offsetX, offsetY, info.bmWidth, info.bmHeight);
}

bool TileBitmap(HDC hdc, int width, int height, HBITMAP tile, long long offsetX, long long offsetY, int partWidth,
                int partHeight) {
    BITMAP info{};
    if (!tile || GetObjectA(tile, sizeof info, &info) == 0) return false;
    const int tileW = std::min(partWidth, static_cast<int>(info.bmWidth));
    const int tileH = std::min(partHeight, static_cast<int>(info.bmHeight));
    if (tileW <= 0 || tileH <= 0) return false;
    if (width <= 0 || height <= 0) return true;
    MemoryCanvas source(hdc, tile, false);
    if (!source.Ready()) return false;
    const long long across = width / tileW + 2, down = height / tileH + 2;
    if (across * down <= kDirectTileLimit) {
        CopyTiles(hdc, width, height, source.dc(), tileW, tileH, FloorMod(offsetX, tileW), FloorMod(offsetY, tileH));
        return true;
    }
    // The enlarged tile's sides are multiples of the tile's, so the pattern's phase is kept.
    const int bigW = Multiple(tileW, width), bigH = Multiple(tileH, height);
    MemoryCanvas big(hdc, CreateCompatibleBitmap(hdc, bigW, bigH), true);
    if (!big.Ready()) {
        CopyTiles(hdc, width, height, source.dc(), tileW, tileH, FloorMod(offsetX, tileW), FloorMod(offsetY, tileH));
        return true;
    }
    RepeatTile(big.dc(), source.dc(), tileW, tileH, bigW, bigH);
    CopyTiles(hdc, width, height, big.dc(), bigW, bigH, FloorMod(offsetX, bigW), FloorMod(offsetY, bigH));
    return true;
}

}  // namespace brimlox::foundation

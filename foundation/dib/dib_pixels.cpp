// The pixel loops of the DIB class: noise and bilinear resampling. Both address the bits as
// rows of BytesPerScanLine() bytes, row 0 being the bottom row of the picture.
#include <algorithm>
#include <chrono>
#include <random>

#include "foundation/dib/dib_surface.h"
#include "foundation/helpers/colour.h"

namespace brimlox::foundation {

namespace {

// A generator seeded with the time of day, so each call gives a different pattern.
std::mt19937 TimeSeededGenerator() {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::mt19937(static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
}

}  // namespace

void CUlvaroDIBS::RandomiseBits(bool greyscale) {
    std::span<std::uint8_t> bits = Bits();
    if (bits.empty()) return;
    std::mt19937 generator = TimeSeededGenerator();
    std::uniform_real_distribution<double> random(0.0, 1.0);
    const int stride = BytesPerScanLine();
    if (greyscale) {
        for (int y = 0; y < Height(); ++y) {
            std::uint8_t* row = bits.data() + static_cast<std::size_t>(y) * stride;
            for (int x = 0; x < Width(); ++x) {
                int v = RoundHalfEven(random(generator) * 90 + 140);
                // The band 151..169 is lifted to 188 so the noise keeps a visible grain.
                if (v >= 151 && v <= 169) v = 188;
                row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = static_cast<std::uint8_t>(v);
            }
        }
        return;
    }
    for (int x = 0; x < Width(); ++x) {
        for (int y = 0; y < Height(); ++y) {
            std::uint8_t* pixel = bits.data() + static_cast<std::size_t>(y) * stride + x * 3;
            pixel[0] = 0;
            pixel[1] = static_cast<std::uint8_t>(RoundHalfEven(random(generator) * 255));
            pixel[2] = static_cast<std::uint8_t>(RoundHalfEven(random(generator) * 255));
        }
    }
}

std::unique_ptr<CUlvaroDIBS> CUlvaroDIBS::Resample(int newHeight, int newWidth) const {
    auto target = std::make_unique<CUlvaroDIBS>();
    if (!target->Create(newWidth, newHeight)) return nullptr;
    if (!bits_) return target;  // nothing to copy from an empty DIB
    if (newWidth == Width() && newHeight == Height()) {
        target->LoadPictureBlt(dc_, 0, 0);
    } else {
        ResampleInto(*target);
    }
    return target;
}

void CUlvaroDIBS::ResampleInto(CUlvaroDIBS& target) const {
    const double xScale = static_cast<double>(Width() - 1) / target.Width();
    const double yScale = static_cast<double>(Height() - 1) / target.Height();
    const int lastColumn = Width() - 1, lastRow = Height() - 1;
    const std::size_t sourceStride = BytesPerScanLine(), targetStride = target.BytesPerScanLine();
    const std::uint8_t* source = bits_;
    std::uint8_t* out = target.bits_;
    auto lerp = [](double from, double to, double f) { return RoundHalfEven((1 - f) * from + f * to); };

    for (int y = 0; y < target.Height(); ++y) {
        const double sy = y * yScale;
        const int iy = static_cast<int>(sy);
        const double fy = sy - iy;
        // A one-pixel-high source has no next row; its weight is 0 anyway.
        const std::uint8_t* upper = source + iy * sourceStride;
        const std::uint8_t* lower = source + std::min(iy + 1, lastRow) * sourceStride;
        std::uint8_t* row = out + y * targetStride;
        for (int x = 0; x < target.Width(); ++x) {
            const double sx = x * xScale;
            const int ix = static_cast<int>(sx);
            const double fx = sx - ix;
            const int left = ix * 3, right = std::min(ix + 1, lastColumn) * 3;
            for (int c = 0; c < 3; ++c) {
                int l = lerp(upper[left + c], lower[left + c], fy);
                int r = lerp(upper[right + c], lower[right + c], fy);
                row[x * 3 + c] = static_cast<std::uint8_t>(std::clamp(lerp(l, r, fx), 0, 255));
            }
        }
    }
}

}  // namespace brimlox::foundation

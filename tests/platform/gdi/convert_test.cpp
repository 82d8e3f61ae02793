// Row conversion of monochrome surfaces: every start bit and length, read and written through
// the whole-byte paths and the bit-by-bit edges alike, agrees with single-pixel access.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/gdi/raster/convert.h"
#include "platform/gdi/surface.h"

namespace brimlox::gdi {
namespace {

TEST(MonoRows, ReadAndWriteAgreeWithSinglePixelsAtEveryOffset) {
    auto surface = Surface::Create(61, 2, PixelFormat::Mono1);
    ASSERT_TRUE(surface);
    std::mt19937 random(7);
    for (int x = 0; x < 61; ++x) surface->Put(x, 0, (random() & 1) ? 0xFFFFFFu : 0u);
    std::vector<std::uint32_t> row(64);
    for (int start = 0; start < 16; ++start) {
        for (int n = 0; start + n <= 61; ++n) {
            raster::ReadRow(*surface, start, 0, n, row.data());
            for (int i = 0; i < n; ++i) ASSERT_EQ(row[i], surface->Get(start + i, 0)) << start << "+" << i;
            // Write a fresh pattern into row 1 and check it, and that the pixels around it stay.
            for (int x = 0; x < 61; ++x) surface->Put(x, 1, (x % 3) ? 0xFFFFFFu : 0u);
            for (int i = 0; i < n; ++i) row[i] = (random() & 1) ? 0xFFFFFFu : 0u;
            raster::WriteRow(*surface, start, 1, n, row.data());
            for (int x = 0; x < 61; ++x) {
                const bool inside = x >= start && x < start + n;
                const std::uint32_t want = inside ? row[x - start] : ((x % 3) ? 0xFFFFFFu : 0u);
                ASSERT_EQ(surface->Get(x, 1), want) << "write " << start << "+" << n << " at " << x;
            }
        }
    }
}

}  // namespace
}  // namespace brimlox::gdi

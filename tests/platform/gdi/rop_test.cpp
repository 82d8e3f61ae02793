// The ternary raster operation table against the truth-table reference, and every blit path
// (fast or general, any pixel layout, clipped, overlapping) against a pixel-by-pixel model.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/raster/fill.h"
#include "platform/gdi/raster/rop.h"
#include "platform/gdi/raster/rop3_table.h"
#include "layout_dc.h"
#include "support/gdi_test.h"

using brimlox::test::GdiTest;
namespace raster = brimlox::gdi::raster;

namespace {

constexpr DWORD kMaskCopy = 0x00B8074A;   // (P & ~S) | (S & D): pattern where the source is 0
constexpr DWORD kMaskPaint = 0x00E20746;  // (S & P) | (~S & D): pattern where the source is 1

// Seeded random bytes for a device bitmap of `bpp` bits (1 or 32); a few 32-bpp pixels
// repeat one colour so the background-colour rule has matches.
std::vector<std::uint8_t> RandomDeviceBits(int w, int h, int bpp, std::mt19937& rng) {
    int stride = bpp == 1 ? ((w + 15) / 16) * 2 : w * 4;
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride) * h);
    for (auto& b : bits) b = static_cast<std::uint8_t>(rng());
    if (bpp == 32)
        for (int i = 0; i < w * h; i += 3) std::memcpy(&bits[static_cast<std::size_t>(i) * 4], "\x40\x80\xC0\x00", 4);
    return bits;
}

// A bitmap of one of the three layouts filled with seeded random pixels.
class RandomDc : public brimlox::test::LayoutDc {
public:
    RandomDc(int w, int h, int bpp, std::mt19937& rng)
        : LayoutDc(w, h, bpp, bpp == 24 ? nullptr : RandomDeviceBits(w, h, bpp, rng).data()), w_(w), h_(h) {
        if (std::uint8_t* p = DibBits())
            for (int i = 0; i < ((w * 3 + 3) & ~3) * h; ++i) p[i] = static_cast<std::uint8_t>(rng());
    }
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> v;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) v.push_back(GetPixel(dc(), x, y));
        return v;
    }

private:
    int w_, h_;
};

// Device value of a COLORREF as read back by GetPixel, and the source pixel as Windows maps
// it into the destination layout.
std::uint32_t Dev(COLORREF c) { return brimlox::gdi::ToPixel(c); }

struct Case {
    int dstBpp, srcBpp;
    bool sameDc;
};

}  // namespace

TEST(GdiRop3, EveryTableRowMatchesTheTruthTable) {
    std::mt19937 rng(20240601);
    for (int index = 0; index < 256; ++index) {
        const auto& e = raster::Rop3(static_cast<std::uint8_t>(index));
        ASSERT_NE(e.formula, nullptr);
        std::vector<std::uint32_t> d(61), s(61), p(61), expected(61);
        for (std::size_t i = 0; i < d.size(); ++i) {
            d[i] = rng() & 0xFFFFFF;
            s[i] = rng() & 0xFFFFFF;
            p[i] = rng() & 0xFFFFFF;
            expected[i] = raster::ApplyRop3(static_cast<std::uint8_t>(index), p[i], s[i], d[i]);
            EXPECT_EQ(e.pixel(p[i], s[i], d[i]), expected[i]) << "pixel form of 0x" << std::hex << index;
        }
        e.row(d.data(), s.data(), p.data(), d.size());
        EXPECT_EQ(d, expected) << "row form of 0x" << std::hex << index << " " << e.formula;
    }
    // The formulas named in the documentation read as expected.
    EXPECT_STREQ(raster::Rop3(0x66).formula, "D^S");
    EXPECT_STREQ(raster::Rop3(0x88).formula, "D&S");
    EXPECT_TRUE(raster::Rop3UsesSource(0xCC) && !raster::Rop3UsesPattern(0xCC) && !raster::Rop3UsesDest(0xCC));
    EXPECT_TRUE(raster::Rop3UsesPattern(0xB8) && raster::Rop3UsesSource(0xB8) && raster::Rop3UsesDest(0xB8));
}

class GdiRopBlit : public GdiTest {};

// Every common code, on every pairing of layouts and on one DC onto itself, with the
// destination rectangle partly clipped by the destination and the source rectangle partly
// outside its bitmap. The model evaluates each pixel with ApplyRop3.
TEST_F(GdiRopBlit, BlitsMatchThePixelModelOnRandomPixels) {
    const DWORD codes[] = {SRCCOPY, SRCPAINT, SRCAND, SRCINVERT, SRCERASE, NOTSRCCOPY, NOTSRCERASE,
                           MERGECOPY, MERGEPAINT, PATCOPY, PATPAINT, PATINVERT, DSTINVERT, BLACKNESS,
                           WHITENESS, kMaskCopy, kMaskPaint, 0x00A000C9, 0x001B0000, 0x00960000};
    const Case cases[] = {{32, 32, false}, {32, 32, true}, {32, 24, false}, {24, 32, false}, {24, 24, true},
                          {32, 1, false},  {1, 32, false}, {1, 1, false},   {1, 24, false},  {24, 1, false},
                          {1, 1, true}};
    std::mt19937 rng(7);
    for (const Case& c : cases) {
        for (DWORD rop : codes) {
            const int dw = 37, dh = 23, sw = 29, sh = 19;
            RandomDc dst(dw, dh, c.dstBpp, rng);
            RandomDc other(sw, sh, c.srcBpp, rng);
            const RandomDc& src = c.sameDc ? dst : other;
            const int sW = c.sameDc ? dw : sw, sH = c.sameDc ? dh : sh;
            // A random 8x8 colour pattern brush of known cells.
            RandomDc patternBits(8, 8, 32, rng);
            std::vector<COLORREF> cells = patternBits.Pixels();
            HBITMAP patBmp = static_cast<HBITMAP>(GetCurrentObject(patternBits.dc(), OBJ_BITMAP));
            HBRUSH brush = CreatePatternBrush(patBmp);
            HGDIOBJ oldBrush = SelectObject(dst.dc(), brush);
            SetBkColor(src.dc(), RGB(0xC0, 0x80, 0x40));
            SetTextColor(dst.dc(), RGB(12, 34, 56));
            SetBkColor(dst.dc(), RGB(200, 100, 50));
            std::vector<COLORREF> before = dst.Pixels();
            std::vector<COLORREF> source = src.Pixels();
            const int x = static_cast<int>(rng() % 20) - 6, y = static_cast<int>(rng() % 14) - 4;
            const int w = static_cast<int>(rng() % 30) + 1, h = static_cast<int>(rng() % 20) + 1;
            const int sx = static_cast<int>(rng() % 24) - 5, sy = static_cast<int>(rng() % 16) - 4;
            ASSERT_TRUE(BitBlt(dst.dc(), x, y, w, h, src.dc(), sx, sy, rop));
            std::vector<COLORREF> after = dst.Pixels();
            const std::uint8_t index = raster::Rop3Index(rop);
            const bool usesSource = raster::Rop3UsesSource(index);
            for (int py = 0; py < dh; ++py) {
                for (int px = 0; px < dw; ++px) {
                    std::uint32_t d = Dev(before[py * dw + px]);
                    std::uint32_t expected = d;
                    int qx = px - x + sx, qy = py - y + sy;
                    bool inside = px >= x && px < x + w && py >= y && py < y + h;
                    if (usesSource) inside = inside && qx >= 0 && qy >= 0 && qx < sW && qy < sH;
                    if (inside) {
                        std::uint32_t s = usesSource ? Dev(source[qy * sW + qx]) : 0;
                        if (usesSource && c.dstBpp == 1 && c.srcBpp != 1) s = s == Dev(RGB(0xC0, 0x80, 0x40)) ? 0xFFFFFF : 0;
                        if (usesSource && c.dstBpp != 1 && c.srcBpp == 1) s = s ? Dev(RGB(200, 100, 50)) : Dev(RGB(12, 34, 56));
                        COLORREF cell = cells[(py & 7) * 8 + (px & 7)];
                        std::uint32_t p = Dev(cell);
                        if (c.dstBpp == 1) {
                            // Colour patterns are dithered on mono targets (threshold checked in blit_test).
                            static const int kDither[8][8] = {
                                {254, 126, 222, 94, 246, 118, 214, 86}, {62, 190, 30, 158, 54, 182, 22, 150},
                                {206, 78, 238, 110, 198, 70, 230, 102}, {14, 142, 46, 174, 6, 134, 38, 166},
                                {242, 114, 210, 82, 250, 122, 218, 90}, {50, 178, 18, 146, 58, 186, 26, 154},
                                {194, 66, 226, 98, 202, 74, 234, 106},  {2, 130, 34, 162, 10, 138, 42, 170}};
                            int lum = (30 * GetRValue(cell) + 59 * GetGValue(cell) + 11 * GetBValue(cell)) / 100;
                            p = lum >= kDither[py & 7][px & 7] ? 0xFFFFFF : 0;
                        }
                        expected = raster::ApplyRop3(index, p, s, d);
                        if (c.dstBpp == 1) expected = expected ? 0xFFFFFF : 0;
                    }
                    ASSERT_EQ(Dev(after[py * dw + px]), expected)
                        << "rop " << std::hex << rop << std::dec << " dst " << c.dstBpp << " src " << c.srcBpp
                        << (c.sameDc ? " same DC" : "") << " at " << px << "," << py;
                }
            }
            SelectObject(dst.dc(), oldBrush);
            DeleteObject(brush);
        }
    }
}

namespace {

// The solid-pen fill works with two masks; every binary operation, pen and destination bit
// must come out as the per-pixel formula gives it.
TEST(GdiRop2, SolidFillsMatchTheFormulaForEveryMode) {
    std::mt19937 rng(20);
    auto surface = brimlox::gdi::Surface::Create(37, 5, brimlox::gdi::PixelFormat::Bgrx32);
    for (int rop2 = 1; rop2 <= 16; ++rop2) {
        for (std::uint32_t pen : {0x000000u, 0xFFFFFFu, 0xC00000u, static_cast<std::uint32_t>(rng()) & 0xFFFFFF}) {
            std::vector<std::uint32_t> before;
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 37; ++x) {
                    surface->Put(x, y, static_cast<std::uint32_t>(rng()) & 0xFFFFFF);
                    before.push_back(surface->Get(x, y));
                }
            raster::BrushPattern brush;
            brush.null = false;
            brush.solid = true;
            brush.solidValue = pen;
            raster::FillRop2(*surface, RECT{3, 1, 30, 4}, brush, rop2);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 37; ++x) {
                    std::uint32_t old = before[static_cast<std::size_t>(y * 37 + x)];
                    bool inside = x >= 3 && x < 30 && y >= 1 && y < 4;
                    std::uint32_t want = !inside || rop2 == R2_NOP ? old : raster::ApplyRop2(rop2, pen, old);
                    ASSERT_EQ(surface->Get(x, y) & 0xFFFFFF, want & 0xFFFFFF) << "mode " << rop2 << " at " << x << "," << y;
                }
        }
    }
}

}  // namespace

// The DIB surface class and the system metrics class.
#include "support/paths.h"
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "foundation/dib/dib_surface.h"
#include "foundation/metrics/system_metrics.h"
#include "platform/gdi/gdi.h"
#include "platform/host/picture.h"
#include "platform/host/runtime.h"
#include "support/gdi_test.h"

namespace brimlox::test {
namespace {

using namespace brimlox::foundation;

class DibTest : public GdiTest {};

// The pixel of a DIB at picture coordinates (x, y), y counted from the top.
COLORREF DibPixel(const CUlvaroDIBS& dib, int x, int y) {
    const std::uint8_t* p = dib.Bits().data() + (dib.Height() - 1 - y) * dib.BytesPerScanLine() + x * 3;
    return RGB(p[2], p[1], p[0]);
}

void SetDibPixel(CUlvaroDIBS& dib, int x, int y, COLORREF c) {
    std::uint8_t* p = dib.Bits().data() + (dib.Height() - 1 - y) * dib.BytesPerScanLine() + x * 3;
    p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
}

TEST_F(DibTest, ScanLinesArePaddedToFourBytesAndBadSizesLeaveTheObjectEmpty) {
    CUlvaroDIBS dib;
    const int expected[] = {4, 8, 12, 12, 16};
    for (int w = 1; w <= 5; ++w) {
        ASSERT_TRUE(dib.Create(w, 3));
        EXPECT_EQ(dib.BytesPerScanLine(), expected[w - 1]) << "width " << w;
        EXPECT_EQ(dib.Bits().size(), static_cast<std::size_t>(expected[w - 1] * 3));
    }
    // A size the system cannot give, a negative height (a top-down DIB the byte loops do not
    // expect) and an empty size all fail and leave nothing behind to dereference.
    for (auto [w, h] : std::initializer_list<std::pair<int, int>>{{30000, 30000}, {10, -5}, {-5, 10}, {0, 4}, {40000, 1}}) {
        EXPECT_FALSE(dib.Create(w, h)) << w << "x" << h;
        EXPECT_EQ(dib.Width(), 0);
        EXPECT_EQ(dib.Height(), 0);
        EXPECT_EQ(dib.hDC(), nullptr);
        EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
        EXPECT_TRUE(dib.Bits().empty());
        dib.RandomiseBits(true);
        EXPECT_EQ(dib.Resample(4, 4)->Width(), 4);
    }
    ASSERT_TRUE(dib.Create(6, 2));
    dib.ClearUp();
    EXPECT_EQ(dib.Width(), 0);
    EXPECT_TRUE(dib.Bits().empty());
}

TEST_F(DibTest, BitmapsComeInBottomUpAndGoBackOut) {
    Canvas source(3, 2, RGB(10, 20, 30));
    SetPixel(source.dc(), 2, 0, RGB(200, 100, 50));
    CUlvaroDIBS dib;
    {
        // The bitmap must not be held by a DC while the DIB reads it.
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP copy = CreateCompatibleBitmap(source.dc(), 3, 2);
        HGDIOBJ old = SelectObject(dc, copy);
        BitBlt(dc, 0, 0, 3, 2, source.dc(), 0, 0, SRCCOPY);
        SelectObject(dc, old);
        DeleteDC(dc);
        dib.CreateFromBitmap(copy);
        DeleteObject(copy);
    }
    ASSERT_EQ(dib.Width(), 3);
    ASSERT_EQ(dib.Height(), 2);
    // Row 0 of the bits is the bottom row; the top-right pixel is the last of the top row.
    const std::uint8_t* top = dib.Bits().data() + dib.BytesPerScanLine();
    EXPECT_EQ(top[6], 50);
    EXPECT_EQ(top[7], 100);
    EXPECT_EQ(top[8], 200);
    EXPECT_EQ(DibPixel(dib, 0, 1), RGB(10, 20, 30));

    Canvas out(5, 5, RGB(0, 0, 0));
    dib.PaintPicture(out.dc(), 1, 1, 2, -1, 1, 0, SRCCOPY);
    EXPECT_EQ(out.At(2, 1), RGB(200, 100, 50));
    EXPECT_EQ(out.At(1, 2), RGB(10, 20, 30));
    EXPECT_EQ(out.At(3, 1), RGB(0, 0, 0));

    // An icon is not a bitmap: nothing is built from it.
    std::ifstream file(brimlox::test::SourceDir() + "/fuzz/seeds/picture/icon.ico", std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
    host::StartHost();
    auto icon = host::StdPicture::FromBytes(bytes);
    ASSERT_EQ(icon->Type(), host::PictureType::Icon);
    CUlvaroDIBS fromIcon;
    fromIcon.CreateFromPicture(*icon);
    EXPECT_EQ(fromIcon.Width(), 0);
    fromIcon.CreateFromBitmap(reinterpret_cast<HBITMAP>(icon->Icon()));
    EXPECT_EQ(fromIcon.Width(), 0);
}

TEST_F(DibTest, ResampleInterpolatesBilinearlyAndCopiesAnEqualSize) {
    CUlvaroDIBS two;
    ASSERT_TRUE(two.Create(2, 1));
    SetDibPixel(two, 0, 0, RGB(0, 0, 0));
    SetDibPixel(two, 1, 0, RGB(200, 20, 2));
    auto wide = two.Resample(1, 4);
    ASSERT_TRUE(wide);
    ASSERT_EQ(wide->Width(), 4);
    // xScale = (2 - 1) / 4: columns sample 0, 0.25, 0.5 and 0.75 of the way.
    EXPECT_EQ(DibPixel(*wide, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(DibPixel(*wide, 1, 0), RGB(50, 5, 0));  // 0.5 rounds to even
    EXPECT_EQ(DibPixel(*wide, 2, 0), RGB(100, 10, 1));
    EXPECT_EQ(DibPixel(*wide, 3, 0), RGB(150, 15, 2));  // 1.5 rounds to even

    // A single-pixel source has no second column or row to read: every pixel is its colour.
    CUlvaroDIBS one;
    ASSERT_TRUE(one.Create(1, 1));
    SetDibPixel(one, 0, 0, RGB(9, 8, 7));
    auto grown = one.Resample(3, 3);
    ASSERT_TRUE(grown);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(DibPixel(*grown, x, y), RGB(9, 8, 7));

    CUlvaroDIBS noise;
    ASSERT_TRUE(noise.Create(7, 5));
    noise.RandomiseBits(false);
    auto same = noise.Resample(5, 7);
    ASSERT_TRUE(same);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(DibPixel(*same, x, y), DibPixel(noise, x, y));

    EXPECT_EQ(noise.Resample(0, 5), nullptr);
    EXPECT_EQ(noise.Resample(5, 40000), nullptr);
    EXPECT_EQ(noise.Resample(-1, 5), nullptr);
}

TEST_F(DibTest, RandomNoiseStaysInItsRanges) {
    CUlvaroDIBS dib;
    ASSERT_TRUE(dib.Create(64, 64));
    dib.RandomiseBits(true);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            COLORREF c = DibPixel(dib, x, y);
            int v = GetRValue(c);
            ASSERT_EQ(GetGValue(c), v);
            ASSERT_EQ(GetBValue(c), v);
            ASSERT_TRUE(v >= 140 && v <= 230 && !(v >= 151 && v <= 169)) << v;
        }
    dib.RandomiseBits(false);
    int distinct = 0;
    for (int x = 0; x < 64; ++x) {
        EXPECT_EQ(GetBValue(DibPixel(dib, x, 3)), 0);
        if (DibPixel(dib, x, 3) != DibPixel(dib, 0, 3)) ++distinct;
    }
    EXPECT_GT(distinct, 50);
}

class MetricsTest : public GdiTest {
protected:
    void TearDown() override {
        gdi::SetTwipsPerPixel(15);
        GdiTest::TearDown();
    }
    static LOGFONTA Describe(HFONT font) {
        LOGFONTA lf{};
        EXPECT_EQ(GetObjectA(font, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
        return lf;
    }
};

TEST_F(MetricsTest, FontsAreCachedUntilTheNextReadAndVariantsBelongToTheCaller) {
    CUlvaroMetrics metrics;
    ASSERT_TRUE(metrics.GetMetrics());
    EXPECT_GT(metrics.MenuHeight(), 0);
    EXPECT_GT(metrics.ScrollWidth(), 0);
    HFONT menu = metrics.FontHandle(MenuFont);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(metrics.FontHandle(MenuFont), menu);
    EXPECT_EQ(metrics.FontHandle(0), nullptr);
    EXPECT_EQ(metrics.FontHandle(7), nullptr);
    // A new read deletes what was handed out before.
    ASSERT_TRUE(metrics.GetMetrics());
    EXPECT_EQ(GetObjectType(menu), 0u);

    HFONT bold = metrics.BoldenedFontHandle(MenuFont);  // 400 -> 700
    HFONT heavy = metrics.BoldenedFontHandle(CaptionFont);  // 700 -> 900
    EXPECT_EQ(Describe(bold).lfWeight, 700);
    EXPECT_EQ(Describe(heavy).lfWeight, 900);
    DeleteObject(bold);
    DeleteObject(heavy);
    HFONT zero = metrics.BoldenedFontHandle(9);
    EXPECT_EQ(Describe(zero).lfHeight, 0);
    DeleteObject(zero);
}

TEST_F(MetricsTest, SmallerFontsAreFiveSixthsRoundedToEven) {
    // At 13 twips per pixel the 8-point system fonts are 12 pixels high, at 12 they are 13.
    for (auto [twips, height, smaller] : std::initializer_list<std::tuple<int, int, int>>{{13, -12, -10}, {12, -13, -11}, {15, -11, -9}}) {
        gdi::SetTwipsPerPixel(twips);
        CUlvaroMetrics metrics;
        ASSERT_TRUE(metrics.GetMetrics());
        ASSERT_EQ(Describe(metrics.FontHandle(StatusFont)).lfHeight, height);
        HFONT small = metrics.SmallerFontHandle(StatusFont);
        EXPECT_EQ(Describe(small).lfHeight, smaller) << twips;
        DeleteObject(small);
    }
}

}  // namespace
}  // namespace brimlox::test

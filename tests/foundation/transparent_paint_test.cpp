// The colour-keyed picture blit and its greyscale and disabled effects.
#include <gtest/gtest.h>

#include "foundation/dib/dib_surface.h"
#include "foundation/painters/picture_effects.h"
#include "foundation/painters/transparent_paint.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/layout_dc.h"
#include "support/gdi_test.h"

namespace brimlox::test {
namespace {

using namespace brimlox::foundation;

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kCyan = RGB(0, 255, 255);

class TransparentPaintTest : public GdiTest {};

// A bitmap (not selected anywhere) drawn by `draw` on a background colour.
template <typename Draw>
HBITMAP MakeBitmap(int w, int h, COLORREF background, Draw draw) {
    Canvas canvas(w, h, background);
    draw(canvas.dc());
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(w, h, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, w, h, canvas.dc(), 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

void Box(HDC dc, RECT r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

// A 16 x 16 picture on magenta: a red square, a grey bar, a white dot and a dark frame.
HBITMAP SamplePicture() {
    return MakeBitmap(16, 16, kMagenta, [](HDC dc) {
        Box(dc, RECT{2, 2, 9, 9}, RGB(200, 0, 0));
        Box(dc, RECT{4, 11, 15, 13}, RGB(128, 128, 128));
        SetPixel(dc, 12, 4, RGB(255, 255, 255));
        HBRUSH frame = CreateSolidBrush(RGB(0, 0, 96));
        RECT r{10, 1, 15, 9};
        FrameRect(dc, &r, frame);
        DeleteObject(frame);
    });
}

TEST_F(TransparentPaintTest, TheMaskColourShowsTheBackgroundAndTheRestIsCopied) {
    HBITMAP picture = SamplePicture();
    Canvas canvas(20, 20, kCyan);
    // A negative mask colour takes the top-left pixel's colour (magenta here).
    TransparentPaint(canvas.dc(), picture, RECT{0, 0, 16, 16}, RECT{2, 2, 18, 18}, 0, -1);
    EXPECT_EQ(canvas.At(2, 2), kCyan);
    EXPECT_EQ(canvas.At(17, 17), kCyan);
    EXPECT_EQ(canvas.At(5, 5), RGB(200, 0, 0));
    EXPECT_EQ(canvas.At(14, 6), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(8, 14), RGB(128, 128, 128));
    EXPECT_EQ(canvas.At(0, 0), kCyan);
    // An explicit mask colour: red becomes the transparent one and magenta is painted.
    Canvas second(16, 16, kCyan);
    TransparentPaint(second.dc(), picture, RECT{0, 0, 16, 16}, RECT{0, 0, 16, 16}, 0, RGB(200, 0, 0));
    EXPECT_EQ(second.At(5, 5), kCyan);
    EXPECT_EQ(second.At(0, 0), kMagenta);
    DeleteObject(picture);
}

TEST_F(TransparentPaintTest, AStripOfTheSourcePaintsItsOwnPixelsWithEveryEffectAndStretch) {
    // Two frames side by side; the right one is blue with a green dot.
    HBITMAP strip = MakeBitmap(32, 8, kMagenta, [](HDC dc) {
        Box(dc, RECT{1, 1, 7, 7}, RGB(255, 0, 0));
        Box(dc, RECT{17, 1, 23, 7}, RGB(0, 0, 255));
        SetPixel(dc, 20, 4, RGB(0, 255, 0));
    });
    const RECT right{16, 0, 24, 8};
    Canvas plain(8, 8, kCyan);
    TransparentPaint(plain.dc(), strip, right, RECT{0, 0, 8, 8}, 0, kMagenta);
    EXPECT_EQ(plain.At(2, 2), RGB(0, 0, 255));
    EXPECT_EQ(plain.At(4, 4), RGB(0, 255, 0));
    EXPECT_EQ(plain.At(0, 0), kCyan);

    Canvas grey(8, 8, kCyan);
    TransparentPaint(grey.dc(), strip, right, RECT{0, 0, 8, 8}, 2, kMagenta);
    int blueGrey = EffectLuminance(0, 0, 255), greenGrey = EffectLuminance(0, 255, 0);
    EXPECT_EQ(grey.At(2, 2), RGB(blueGrey, blueGrey, blueGrey));
    EXPECT_EQ(grey.At(4, 4), RGB(greenGrey, greenGrey, greenGrey));
    EXPECT_EQ(grey.At(0, 0), kCyan);

    // Twice the size: each source pixel covers a 2 x 2 block.
    Canvas big(16, 16, kCyan);
    TransparentPaint(big.dc(), strip, right, RECT{0, 0, 16, 16}, 2, kMagenta);
    EXPECT_EQ(big.At(8, 8), RGB(greenGrey, greenGrey, greenGrey));
    EXPECT_EQ(big.At(9, 9), RGB(greenGrey, greenGrey, greenGrey));
    EXPECT_EQ(big.At(4, 4), RGB(blueGrey, blueGrey, blueGrey));
    EXPECT_EQ(big.At(1, 1), kCyan);
    DeleteObject(strip);
}

// The picture painted the classic way with plain blits: a mono mask of the key colour, the
// screen cut out by it, the picture cut out by its inverse, joined by XOR.
void PaintThroughMaskByHand(HDC hdc, HBITMAP picture, int w, int h, POINT at, COLORREF key) {
    HDC source = CreateCompatibleDC(hdc);
    HGDIOBJ oldSource = SelectObject(source, picture);
    HDC scratch[4];
    HBITMAP bitmaps[4] = {CreateBitmap(w, h, 1, 1, nullptr), CreateBitmap(w, h, 1, 1, nullptr),
                          CreateCompatibleBitmap(hdc, w, h), CreateCompatibleBitmap(hdc, w, h)};
    HGDIOBJ olds[4];
    for (int i = 0; i < 4; ++i) {
        scratch[i] = CreateCompatibleDC(hdc);
        olds[i] = SelectObject(scratch[i], bitmaps[i]);
    }
    auto [mask, inverse, background, object] = scratch;
    COLORREF oldBack = SetBkColor(source, key);
    BitBlt(mask, 0, 0, w, h, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBack);
    BitBlt(inverse, 0, 0, w, h, mask, 0, 0, NOTSRCCOPY);
    BitBlt(background, 0, 0, w, h, hdc, at.x, at.y, SRCCOPY);
    BitBlt(background, 0, 0, w, h, mask, 0, 0, SRCAND);
    BitBlt(object, 0, 0, w, h, source, 0, 0, SRCCOPY);
    BitBlt(object, 0, 0, w, h, inverse, 0, 0, SRCAND);
    BitBlt(background, 0, 0, w, h, object, 0, 0, SRCINVERT);
    BitBlt(hdc, at.x, at.y, w, h, background, 0, 0, SRCCOPY);
    for (int i = 0; i < 4; ++i) {
        SelectObject(scratch[i], olds[i]);
        DeleteObject(bitmaps[i]);
        DeleteDC(scratch[i]);
    }
    SelectObject(source, oldSource);
    DeleteDC(source);
}

// An 8-bpp DIB section with a 16-colour grey-and-primaries table, holding `from`'s pixels as
// the nearest entries.
HBITMAP IndexedCopy(HBITMAP from, int w, int h) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[16];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = w;
    info.header.biHeight = h;
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biClrUsed = 16;
    for (int i = 0; i < 16; ++i) {
        BYTE v = static_cast<BYTE>(i * 17);
        info.colours[i] = i < 12 ? RGBQUAD{v, v, v, 0} : RGBQUAD{BYTE(i == 12 ? 255 : 0), 0, BYTE(i == 13 ? 200 : 255), 0};
    }
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC in = CreateCompatibleDC(nullptr), out = CreateCompatibleDC(nullptr);
    HGDIOBJ oldIn = SelectObject(in, from), oldOut = SelectObject(out, dib);
    BitBlt(out, 0, 0, w, h, in, 0, 0, SRCCOPY);
    SelectObject(in, oldIn);
    SelectObject(out, oldOut);
    DeleteDC(in);
    DeleteDC(out);
    return dib;
}

TEST_F(TransparentPaintTest, TheKeyedCopyGivesTheMaskMethodsPixelsOnEveryLayout) {
    HBITMAP sample = SamplePicture();
    HBITMAP indexed = IndexedCopy(sample, 16, 16);
    const HBITMAP pictures[] = {sample, indexed};
    // Destinations of every layout, filled with a pattern so kept pixels are told apart.
    for (int bpp : {32, 24, 1}) {
        for (HBITMAP picture : pictures) {
            for (COLORREF key : {kMagenta, RGB(200, 0, 0), RGB(1, 1, 1)}) {
                SCOPED_TRACE(testing::Message() << bpp << " bpp, picture " << (picture == sample ? "32" : "8")
                                                << " bpp, key " << std::hex << key);
                LayoutDc painted(20, 20, bpp), reference(20, 20, bpp);
                for (int y = 0; y < 20; ++y)
                    for (int x = 0; x < 20; ++x) {
                        COLORREF c = (x + y) % 3 ? RGB(x * 12, 90, y * 12) : RGB(255, 255, 255);
                        SetPixel(painted.dc(), x, y, c);
                        SetPixel(reference.dc(), x, y, c);
                    }
                SetBkColor(painted.dc(), RGB(0, 0, 96));
                SetBkColor(reference.dc(), RGB(0, 0, 96));
                TransparentPaint(painted.dc(), picture, RECT{0, 0, 16, 16}, RECT{3, 2, 19, 18}, 0,
                                 static_cast<std::int32_t>(key));
                PaintThroughMaskByHand(reference.dc(), picture, 16, 16, POINT{3, 2}, key);
                for (int y = 0; y < 20; ++y)
                    for (int x = 0; x < 20; ++x)
                        ASSERT_EQ(GetPixel(painted.dc(), x, y), GetPixel(reference.dc(), x, y)) << x << "," << y;
            }
        }
    }
    DeleteObject(indexed);
    DeleteObject(sample);
}

TEST_F(TransparentPaintTest, EmptyAndHugeDestinationsNeitherFailNorLeak) {
    HBITMAP dot = MakeBitmap(2, 2, RGB(1, 2, 3), [](HDC) {});
    Canvas canvas(8, 8, kCyan);
    TransparentPaint(canvas.dc(), dot, RECT{0, 0, 2, 2}, RECT{4, 4, 4, 8}, 0, kMagenta);
    TransparentPaint(canvas.dc(), dot, RECT{0, 0, 2, 2}, RECT{4, 4, 2, 2}, 2, kMagenta);
    TransparentPaint(canvas.dc(), dot, RECT{2, 2, 2, 2}, RECT{0, 0, 8, 8}, 1, kMagenta);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(canvas.At(x, y), kCyan);
    // Wider than a signed 16-bit size can hold: the far end is painted too.
    Canvas wide(32768, 1, kCyan);
    TransparentPaint(wide.dc(), dot, RECT{0, 0, 2, 1}, RECT{0, 0, 32768, 1}, 0, kMagenta);
    EXPECT_EQ(wide.At(32767, 0), RGB(1, 2, 3));
    EXPECT_EQ(wide.At(0, 0), RGB(1, 2, 3));
    DeleteObject(dot);
}

TEST_F(TransparentPaintTest, EffectsMatchTheirPictures) {
    HBITMAP picture = SamplePicture();
    Canvas canvas(4 + 4 * 20 + 32, 36, RGB(192, 192, 192));
    for (int effect = 0; effect < 3; ++effect)
        TransparentPaint(canvas.dc(), picture, RECT{0, 0, 16, 16}, RECT{4 + effect * 20, 4, 20 + effect * 20, 20},
                         effect, -1);
    TransparentPaint(canvas.dc(), picture, RECT{0, 0, 16, 16}, RECT{64, 2, 96, 34}, 1, -1);
    TransparentPaint(canvas.dc(), picture, RECT{0, 0, 16, 16}, RECT{98, 10, 114, 26}, 2, kCyan);
    EXPECT_TRUE(MatchesGolden(canvas.surface(), "foundation/picture_effects"));
    DeleteObject(picture);
}

class EffectsTest : public GdiTest {
protected:
    // A DIB of one colour with a few pixels set (picture coordinates, y from the top).
    void Fill(int w, int h, COLORREF background) {
        ASSERT_TRUE(dib.Create(w, h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Set(x, y, background);
    }
    std::uint8_t* At(int x, int y) {
        return dib.Bits().data() + (dib.Height() - 1 - y) * dib.BytesPerScanLine() + x * 3;
    }
    void Set(int x, int y, COLORREF c) {
        std::uint8_t* p = At(x, y);
        p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
    }
    COLORREF Get(int x, int y) {
        std::uint8_t* p = At(x, y);
        return RGB(p[2], p[1], p[0]);
    }
    void TearDown() override {
        dib.ClearUp();
        GdiTest::TearDown();
    }
    CUlvaroDIBS dib;
};

TEST_F(EffectsTest, GreyscaleNudgesGreysAndNeverProducesTheMaskColour) {
    Fill(4, 1, kMagenta);
    Set(0, 0, RGB(255, 0, 0));      // 56.61 -> 57
    Set(1, 0, RGB(100, 100, 100));  // already grey: 100 XOR 7
    Set(2, 0, RGB(10, 20, 30));     // 2.22 + 14.14 + 2.13 = 18.49 -> 18
    ApplyGreyscaleEffect(dib, kMagenta);
    EXPECT_EQ(Get(0, 0), RGB(57, 57, 57));
    EXPECT_EQ(Get(1, 0), RGB(99, 99, 99));
    EXPECT_EQ(Get(2, 0), RGB(18, 18, 18));
    EXPECT_EQ(Get(3, 0), kMagenta);
    EXPECT_EQ(EffectLuminance(1, 0, 0), 0);      // 0.222
    EXPECT_EQ(EffectLuminance(0, 0, 7), 0);      // 0.497
    EXPECT_EQ(EffectLuminance(0, 1, 0), 1);      // 0.707
    EXPECT_EQ(EffectLuminance(1, 0, 18), 2);     // 1.5 rounds to even
    EXPECT_EQ(EffectLuminance(2, 1, 19), 2);     // 2.5 rounds to even

    // A grey mask colour: a red pixel whose grey would be the mask is nudged off it.
    Fill(2, 1, RGB(57, 57, 57));
    Set(0, 0, RGB(255, 0, 0));
    ApplyGreyscaleEffect(dib, RGB(57, 57, 57));
    EXPECT_EQ(Get(0, 0), RGB(62, 62, 62));
    EXPECT_EQ(Get(1, 0), RGB(57, 57, 57));
}

TEST_F(EffectsTest, DisabledLooksEngravedAndStaysInsideThePicture) {
    const COLORREF face = GetSysColor(COLOR_MENU), shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_EQ(highlight, RGB(255, 255, 255));
    // Against magenta the highlight's red and blue equal the mask's, so they are nudged.
    const COLORREF offMagenta = RGB(248, 255, 248);
    Fill(16, 16, kMagenta);
    Set(3, 3, RGB(0, 0, 0));        // dark: shadow, with a highlight below right
    Set(5, 5, RGB(192, 192, 192));  // exactly 192: face
    Set(6, 5, RGB(238, 238, 238));  // above 237: face
    Set(7, 6, RGB(237, 237, 237));  // 237 at column 7, DIB row 9: same parity, face
    Set(8, 6, RGB(237, 237, 237));  // column 8, DIB row 9: shadow
    Set(15, 7, RGB(0, 0, 0));       // the last column: its highlight would fall outside
    ApplyDisabledEffect(dib, kMagenta);
    EXPECT_EQ(Get(3, 3), shadow);
    EXPECT_EQ(Get(4, 4), offMagenta);
    EXPECT_EQ(Get(4, 3), kMagenta);
    EXPECT_EQ(Get(5, 5), face);
    EXPECT_EQ(Get(6, 5), face);
    EXPECT_EQ(Get(7, 6), face);
    EXPECT_EQ(Get(8, 6), shadow);
    EXPECT_EQ(Get(15, 7), shadow);
    // Nothing wrapped round to the next row's first column.
    EXPECT_EQ(Get(0, 8), kMagenta);
    EXPECT_EQ(Get(0, 6), kMagenta);

    // A white mask colour: the highlight is nudged so the shapes' light edge stays visible.
    Fill(3, 3, RGB(255, 255, 255));
    Set(0, 0, RGB(0, 0, 0));
    ApplyDisabledEffect(dib, RGB(255, 255, 255));
    EXPECT_EQ(Get(1, 1), RGB(248, 248, 248));
}

}  // namespace
}  // namespace brimlox::test

// Picture decoding: each format's common variants, transparency, and hostile files.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/gdi/png.h"
#include "platform/host/image/image.h"
#include "support/gdi_test.h"

using namespace brimlox::host;

namespace {

void Put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
    b.push_back(v & 0xFF);
    b.push_back(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}

// A DIB: 40-byte header, optional palette, rows as given (already padded, bottom row first).
std::vector<std::uint8_t> Dib(int w, int h, int bpp, const std::vector<std::uint32_t>& palette,
                              const std::vector<std::uint8_t>& rows) {
    std::vector<std::uint8_t> b;
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(w));
    Put32(b, static_cast<std::uint32_t>(h));
    Put16(b, 1);
    Put16(b, static_cast<std::uint16_t>(bpp));
    for (int i = 0; i < 6; ++i) Put32(b, i == 4 ? static_cast<std::uint32_t>(palette.size()) : 0);
    for (std::uint32_t c : palette) Put32(b, c);
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

std::vector<std::uint8_t> Bmp(const std::vector<std::uint8_t>& dib, std::size_t paletteBytes) {
    std::vector<std::uint8_t> b = {'B', 'M'};
    Put32(b, static_cast<std::uint32_t>(14 + dib.size()));
    Put32(b, 0);
    Put32(b, static_cast<std::uint32_t>(14 + 40 + paletteBytes));
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

std::vector<std::uint8_t> Ico(const std::vector<std::uint8_t>& payload, int w, int h, int bpp) {
    std::vector<std::uint8_t> b;
    Put16(b, 0);
    Put16(b, 1);
    Put16(b, 1);
    b.push_back(static_cast<std::uint8_t>(w));
    b.push_back(static_cast<std::uint8_t>(h));
    b.push_back(0);
    b.push_back(0);
    Put16(b, 1);
    Put16(b, static_cast<std::uint16_t>(bpp));
    Put32(b, static_cast<std::uint32_t>(payload.size()));
    Put32(b, 22);
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

int GifWrite(GifFileType* gif, const GifByteType* data, int n) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + n);
    return n;
}

// A 2x2 GIF with a 4-colour table whose index 3 is transparent.
std::vector<std::uint8_t> Gif() {
    std::vector<std::uint8_t> out;
    int err = 0;
    GifFileType* gif = EGifOpen(&out, GifWrite, &err);
    GifColorType colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
    ColorMapObject* map = GifMakeMapObject(4, colors);
    EGifPutScreenDesc(gif, 2, 2, 2, 0, map);
    GifByteType gce[4] = {1, 0, 0, 3};
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, gce);
    EGifPutImageDesc(gif, 0, 0, 2, 2, false, nullptr);
    GifPixelType row0[2] = {0, 1}, row1[2] = {2, 3};
    EGifPutLine(gif, row0, 2);
    EGifPutLine(gif, row1, 2);
    EGifCloseFile(gif, &err);
    GifFreeMapObject(map);
    return out;
}

std::string ErrorOf(const std::vector<std::uint8_t>& bytes) {
    std::string error;
    return DecodeImage(bytes, &error) ? "decoded" : error;
}

}  // namespace

TEST(PictureDecoding, BitmapsOfEveryDepthReadTopDownWithTheirColours) {
    // 8-bit palette, 2x2, bottom-up: stored bottom row first.
    auto pal8 = Bmp(Dib(2, 2, 8, {0x000000FF, 0x0000FF00}, {1, 0, 0, 0, 0, 1, 0, 0}), 8);
    std::string error;
    auto img = DecodeImage(pal8, &error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->pixels[0], 0xFF000000u | 0x0000FF) << "top-left comes from the last stored row";
    EXPECT_EQ(img->pixels[2], 0xFF00FF00u);
    EXPECT_FALSE(img->transparent);
    // 1-bit: bits are read most significant first.
    auto mono = Bmp(Dib(3, 1, 1, {0x000000, 0xFFFFFF}, {0xA0, 0, 0, 0}), 8);
    img = DecodeImage(mono, &error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->pixels[0], 0xFFFFFFFFu);
    EXPECT_EQ(img->pixels[1], 0xFF000000u);
    EXPECT_EQ(img->pixels[2], 0xFFFFFFFFu);
    // 24-bit rows are padded to four bytes; a negative height means top-down.
    auto dib24 = Dib(1, 2, 24, {}, {0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0});
    dib24[8] = 0xFE, dib24[9] = dib24[10] = dib24[11] = 0xFF;  // height -2
    img = DecodeImage(Bmp(dib24, 0), &error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->pixels[0], 0xFF302010u);
    EXPECT_EQ(img->pixels[1], 0xFF605040u);
    // 32-bit bitmaps ignore their alpha byte, as pictures always have.
    img = DecodeImage(Bmp(Dib(1, 1, 32, {}, {1, 2, 3, 0}), 0), &error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->pixels[0], 0xFF030201u);
}

TEST(PictureDecoding, IconsGifsAndPngsCarryTheirTransparency) {
    // A 2x2 32-bpp icon without alpha: the AND mask makes the top-right pixel transparent.
    std::vector<std::uint8_t> andMask = {0x00, 0, 0, 0, 0x40, 0, 0, 0};
    const std::vector<std::uint8_t> xorBits = {0x80, 0x80, 0x80, 0, 0x80, 0x80, 0x80, 0, 0x80, 0x80, 0x80, 0, 0x80, 0x80, 0x80, 0};
    std::vector<std::uint8_t> rows = xorBits;
    rows.insert(rows.end(), andMask.begin(), andMask.end());
    auto dib = Dib(2, 4, 32, {}, rows);
    std::string error;
    auto img = DecodeImage(Ico(dib, 2, 2, 32), &error);
    ASSERT_TRUE(img) << error;
    EXPECT_TRUE(img->isIcon);
    EXPECT_EQ(img->height, 2) << "the stored height counts the mask too";
    EXPECT_EQ(img->pixels[1] >> 24, 0u);
    EXPECT_EQ(img->pixels[0] >> 24, 255u);

    img = DecodeImage(Gif(), &error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->pixels[0], 0xFFFF0000u);
    EXPECT_EQ(img->pixels[2], 0xFF0000FFu);
    EXPECT_EQ(img->pixels[3] >> 24, 0u) << "the transparent index";

    // A PNG inside an icon, written by our own PNG writer.
    auto surface = brimlox::gdi::Surface::Create(3, 2, brimlox::gdi::PixelFormat::Bgrx32);
    surface->Clear(0x123456);
    std::string path = brimlox::test::OutputDir() + "/icon-payload.png";
    ASSERT_TRUE(brimlox::gdi::WriteSurfacePng(*surface, path));
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    img = DecodeImage(Ico(png, 3, 2, 32), &error);
    ASSERT_TRUE(img) << error;
    EXPECT_EQ(img->format, ImageFormat::Ico);
    EXPECT_EQ(img->pixels[5], 0xFF123456u);
}

TEST(PictureDecoding, HostileFilesAreRefusedWithTheirProblem) {
    auto good = Bmp(Dib(2, 2, 24, {}, std::vector<std::uint8_t>(16, 7)), 0);
    EXPECT_EQ(ErrorOf({}), "unknown picture format (not BMP, ICO, PNG or GIF)");
    auto cut = good;
    cut.resize(cut.size() - 1);
    EXPECT_EQ(ErrorOf(cut), "BMP: pixel data is cut off");
    auto huge = good;
    huge[18 + 3] = 0x7F;  // width 0x7F000002
    EXPECT_EQ(ErrorOf(huge).rfind("BMP: size", 0), 0u) << ErrorOf(huge);
    auto badOffset = good;
    badOffset[10] = 0xFF, badOffset[11] = 0xFF;
    EXPECT_EQ(ErrorOf(badOffset), "BMP: pixel data offset 65535 is outside the file");
    auto rle = Bmp(Dib(2, 2, 8, {0}, std::vector<std::uint8_t>(8, 0)), 4);
    rle[14 + 16] = 1;
    EXPECT_EQ(ErrorOf(rle), "BMP: run-length compressed bitmaps are not supported");
    auto ico = Ico(Dib(2, 4, 32, {}, std::vector<std::uint8_t>(24, 0)), 2, 2, 32);
    ico[18] = 0xFF;  // image size far past the end
    EXPECT_EQ(ErrorOf(ico), "ICO: image 1 lies outside the file");
    auto gif = Gif();
    gif.resize(gif.size() / 2);
    EXPECT_EQ(ErrorOf(gif).rfind("GIF:", 0), 0u) << ErrorOf(gif);
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0};
    EXPECT_EQ(ErrorOf(png).rfind("PNG:", 0), 0u) << ErrorOf(png);
}

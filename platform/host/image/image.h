// Decoding of picture files: BMP, ICO, PNG and GIF bytes into one in-memory image. Pictures
// embedded in form files and loaded from disk come through here, so every decoder treats its
// input as hostile: sizes are checked before anything is allocated and every read is bounded.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brimlox::host {

enum class ImageFormat { Bmp, Ico, Png, Gif };

struct DecodedImage {
    ImageFormat format = ImageFormat::Bmp;
    int width = 0;
    int height = 0;
    // Top-down rows of 0xAARRGGBB; alpha is 255 for opaque pixels and 0 for transparent ones.
    std::vector<std::uint32_t> pixels;
    bool transparent = false;  // some pixel has alpha below 255 (icons, GIF transparency, PNG alpha)
    bool isIcon = false;
};

// Largest side and pixel count a picture may have; larger ones are refused before allocation.
constexpr int kMaxImageSide = 16384;
constexpr std::int64_t kMaxImagePixels = 16ll * 1024 * 1024;

// Decodes a picture file of any supported format, recognised by its signature. On failure
// returns nothing and sets *error to a message naming the format and what was wrong.
std::optional<DecodedImage> DecodeImage(std::span<const std::uint8_t> bytes, std::string* error);

// The individual decoders (the data must be of that format).
std::optional<DecodedImage> DecodeBmp(std::span<const std::uint8_t> bytes, std::string* error);
std::optional<DecodedImage> DecodeIco(std::span<const std::uint8_t> bytes, std::string* error);
std::optional<DecodedImage> DecodePng(std::span<const std::uint8_t> bytes, std::string* error);
std::optional<DecodedImage> DecodeGif(std::span<const std::uint8_t> bytes, std::string* error);

// Reads a DIB (BITMAPINFOHEADER and bits, no file header) as BMP files and icons hold it.
// `iconMask` reads an AND mask after the colour bits and halves the height, as icons store it.
std::optional<DecodedImage> DecodeDib(std::span<const std::uint8_t> dib, bool iconMask, std::string* error);

}  // namespace brimlox::host

// PNG (libpng) and GIF (giflib) pictures.
#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/host/image/image.h"

namespace brimlox::host {

namespace {

std::optional<DecodedImage> Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return std::nullopt;
}

bool SizeAllowed(std::int64_t w, std::int64_t h) {
    return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide && w * h <= kMaxImagePixels;
}

void MarkTransparency(DecodedImage& img) {
    img.transparent = std::any_of(img.pixels.begin(), img.pixels.end(), [](std::uint32_t p) { return (p >> 24) != 255; });
}

}  // namespace

std::optional<DecodedImage> DecodePng(std::span<const std::uint8_t> bytes, std::string* error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return Fail(error, std::string("PNG: ") + image.message);
    if (!SizeAllowed(image.width, image.height)) {
        png_image_free(&image);
        return Fail(error, "PNG: size " + std::to_string(image.width) + "x" + std::to_string(image.height) +
                               " is out of range");
    }
    image.format = PNG_FORMAT_BGRA;  // bytes B,G,R,A: a little-endian 0xAARRGGBB word
    DecodedImage img;
    img.format = ImageFormat::Png;
    img.width = static_cast<int>(image.width);
    img.height = static_cast<int>(image.height);
    img.pixels.resize(static_cast<std::size_t>(img.width) * img.height);
    if (!png_image_finish_read(&image, nullptr, img.pixels.data(), 0, nullptr))
        return Fail(error, std::string("PNG: ") + image.message);
    MarkTransparency(img);
    return img;
}

namespace {

struct GifSource {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

int ReadGif(GifFileType* gif, GifByteType* out, int count) {
    auto* src = static_cast<GifSource*>(gif->UserData);
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), src->bytes.size() - src->at);
    std::memcpy(out, src->bytes.data() + src->at, n);
    src->at += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* g) const {
        int err = 0;
        DGifCloseFile(g, &err);
    }
};

// Reads the first frame's rows (interlaced or not) onto the canvas.
bool ReadFrame(GifFileType* gif, int transparentIndex, DecodedImage& img, std::string* error) {
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map) return !Fail(error, "GIF: no colour table");
    if (desc.Left < 0 || desc.Top < 0 || desc.Width <= 0 || desc.Height <= 0 || desc.Left + desc.Width > img.width ||
        desc.Top + desc.Height > img.height)
        return !Fail(error, "GIF: the frame lies outside the picture");
    std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
    static const int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    int passes = desc.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = desc.Interlace ? kStart[pass] : 0; y < desc.Height; y += desc.Interlace ? kStep[pass] : 1) {
            if (DGifGetLine(gif, line.data(), desc.Width) != GIF_OK) return !Fail(error, "GIF: pixel data is cut off");
            for (int x = 0; x < desc.Width; ++x) {
                int index = line[static_cast<std::size_t>(x)];
                if (index == transparentIndex) continue;
                if (index >= map->ColorCount) return !Fail(error, "GIF: colour index outside the colour table");
                const GifColorType& c = map->Colors[index];
                img.pixels[static_cast<std::size_t>(desc.Top + y) * img.width + desc.Left + x] =
                    0xFF000000u | (c.Red << 16) | (c.Green << 8) | c.Blue;
            }
        }
    }
    return true;
}

}  // namespace

std::optional<DecodedImage> DecodeGif(std::span<const std::uint8_t> bytes, std::string* error) {
    GifSource src{bytes};
    int err = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&src, ReadGif, &err));
    if (!gif) return Fail(error, std::string("GIF: ") + GifErrorString(err));
    if (!SizeAllowed(gif->SWidth, gif->SHeight))
        return Fail(error, "GIF: size " + std::to_string(gif->SWidth) + "x" + std::to_string(gif->SHeight) +
                               " is out of range");
    DecodedImage img;
    img.format = ImageFormat::Gif;
    img.width = gif->SWidth;
    img.height = gif->SHeight;
    img.pixels.assign(static_cast<std::size_t>(img.width) * img.height, 0);  // transparent until drawn
    int transparentIndex = -1;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif.get(), &type) != GIF_OK) return Fail(error, "GIF: the file is cut off");
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif.get(), &code, &ext) != GIF_OK) return Fail(error, "GIF: bad extension block");
            if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4 && (ext[1] & 1)) transparentIndex = ext[4];
            while (ext) {
                if (DGifGetExtensionNext(gif.get(), &ext) != GIF_OK) return Fail(error, "GIF: bad extension block");
            }
        } else if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif.get()) != GIF_OK) return Fail(error, "GIF: bad image descriptor");
            if (!ReadFrame(gif.get(), transparentIndex, img, error)) return std::nullopt;
            break;  // a picture shows the first frame
        } else if (type == TERMINATE_RECORD_TYPE) {
            return Fail(error, "GIF: the file holds no image");
        }
    }
    MarkTransparency(img);
    return img;
}

std::optional<DecodedImage> DecodeImage(std::span<const std::uint8_t> bytes, std::string* error) {
    auto starts = [&](std::initializer_list<std::uint8_t> sig) {
        return bytes.size() >= sig.size() && std::equal(sig.begin(), sig.end(), bytes.begin());
    };
    if (starts({'B', 'M'})) return DecodeBmp(bytes, error);
    if (starts({0x89, 'P', 'N', 'G'})) return DecodePng(bytes, error);
    if (starts({'G', 'I', 'F', '8'})) return DecodeGif(bytes, error);
    if (starts({0, 0, 1, 0}) || starts({0, 0, 2, 0})) return DecodeIco(bytes, error);
    return Fail(error, "unknown picture format (not BMP, ICO, PNG or GIF)");
}

}  // namespace brimlox::host

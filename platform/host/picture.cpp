#include "platform/host/picture.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/desktop/desktop.h"
#include "platform/gdi/trace_base64.h"
#include "platform/host/host_error.h"
#include "platform/host/property_bag.h"
#include "platform/host/type_builder.h"
#include "platform/user/user.h"

namespace brimlox::host {

namespace {

// HIMETRIC per pixel follows the host's scale: 2540 per inch, 1440 / twipsPerPixel pixels per inch.
std::int32_t PixelsToHimetric(int pixels) {
    int tpp = desktop::Desktop::Instance().Settings().twipsPerPixel;
    return static_cast<std::int32_t>(RoundHalfEven(pixels * 2540.0 * tpp / 1440.0));
}

// The colour bits of an image as a 32-bpp device bitmap (BGRX rows).
HBITMAP MakeColourBitmap(const DecodedImage& image) {
    std::vector<std::uint32_t> bits(image.pixels.size());
    for (std::size_t i = 0; i < bits.size(); ++i) bits[i] = image.pixels[i] & 0x00FFFFFFu;
    return CreateBitmap(image.width, image.height, 1, 32, bits.data());
}

// The AND mask of an icon: 1 where the pixel is transparent, rows padded to 16 bits.
HBITMAP MakeMaskBitmap(const DecodedImage& image) {
    int stride = ((image.width + 15) / 16) * 2;
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(stride) * image.height, 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if ((image.pixels[static_cast<std::size_t>(y) * image.width + x] >> 24) < 128)
                mask[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    return CreateBitmap(image.width, image.height, 1, 1, mask.data());
}

}  // namespace

StdPicture::~StdPicture() {
    if (bitmap_) DeleteObject(bitmap_);
    if (icon_) DestroyIcon(icon_);
}

const TypeInfo* StdPicture::GetTypeInfo() const {
    static const auto info = TypeBuilder<StdPicture>("Picture")
                                 .Get("Handle", &StdPicture::Handle, "The GDI handle of the picture.", 0)
                                 .Get("Type", &StdPicture::TypeValue, "0 none, 1 bitmap, 3 icon.", 3)
                                 .Get("Width", &StdPicture::Width, "The width in HIMETRIC.", 4)
                                 .Get("Height", &StdPicture::Height, "The height in HIMETRIC.", 5)
                                 .Build();
    return info.get();
}

std::int32_t StdPicture::Handle() const {
    HANDLE h = type_ == PictureType::Icon ? static_cast<HANDLE>(icon_) : static_cast<HANDLE>(bitmap_);
    return static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(h));
}

std::int32_t StdPicture::Width() const { return PixelsToHimetric(width_); }
std::int32_t StdPicture::Height() const { return PixelsToHimetric(height_); }

void StdPicture::Adopt(const DecodedImage& image) {
    width_ = image.width;
    height_ = image.height;
    if (image.isIcon) {
        ICONINFO ii;
        ii.fIcon = TRUE;
        ii.hbmColor = MakeColourBitmap(image);
        ii.hbmMask = MakeMaskBitmap(image);
        icon_ = CreateIconIndirect(&ii);
        // The icon keeps copies of its bitmaps, as on Windows.
        DeleteObject(ii.hbmColor);
        DeleteObject(ii.hbmMask);
        type_ = PictureType::Icon;
        if (!icon_) throw HostError(kErrInvalidPicture, "Invalid picture: the icon could not be created");
    } else {
        bitmap_ = MakeColourBitmap(image);
        type_ = PictureType::Bitmap;
        if (!bitmap_) throw HostError(kErrInvalidPicture, "Invalid picture: the bitmap could not be created");
    }
}

void StdPicture::Render(HDC hdc, int x, int y, int width, int height) const {
    if (type_ == PictureType::Icon) {
        DrawIcon(hdc, x, y, icon_);
        return;
    }
    if (type_ != PictureType::Bitmap) return;
    HDC mem = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(mem, bitmap_);
    if (width == width_ && height == height_) BitBlt(hdc, x, y, width, height, mem, 0, 0, SRCCOPY);
    else StretchBlt(hdc, x, y, width, height, mem, 0, 0, width_, height_, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

std::shared_ptr<StdPicture> StdPicture::FromBytes(std::vector<std::uint8_t> bytes) {
    std::string error;
    auto image = DecodeImage(bytes, &error);
    if (!image) throw HostError(kErrInvalidPicture, "Invalid picture: " + error);
    auto picture = std::make_shared<StdPicture>();
    picture->Adopt(*image);
    picture->bytes_ = std::move(bytes);
    return picture;
}

// The host's "Path/File access error".
constexpr int kErrPathFileAccess = 75;

std::shared_ptr<StdPicture> LoadPicture(const std::string& path) {
    if (path.empty()) return std::make_shared<StdPicture>();
    // Only a plain file is read: a folder cannot be read as bytes, and a pipe or a device
    // could block the program or never end.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) throw HostError(kErrFileNotFound, "File not found: " + path);
    if (!std::filesystem::is_regular_file(status))
        throw HostError(kErrPathFileAccess, "Path/File access error: " + path + " is not a file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw HostError(kErrPathFileAccess, "Path/File access error: " + path + " cannot be read");
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw HostError(kErrPathFileAccess, "Path/File access error: " + path + " cannot be read");
    return StdPicture::FromBytes(std::move(bytes));
}

namespace {
thread_local PictureBudget* currentBudget = nullptr;
}  // namespace

PictureBudget::PictureBudget(std::int64_t maxBytes) : remaining_(maxBytes), outer_(currentBudget) { currentBudget = this; }

PictureBudget::~PictureBudget() { currentBudget = outer_; }

bool PictureBudget::Take(std::int64_t bytes) {
    if (!currentBudget) return true;
    if (bytes > currentBudget->remaining_) return false;
    currentBudget->remaining_ -= bytes;
    return true;
}

namespace {

OrderedJson SavePicture(const Dispatch& d) {
    const auto& p = static_cast<const StdPicture&>(d);
    if (p.Type() == PictureType::None) return nullptr;
    std::string base64;
    gdi::AppendBase64(base64, p.FileBytes().data(), p.FileBytes().size());
    return OrderedJson{{"base64", std::move(base64)}};
}

std::shared_ptr<Dispatch> LoadPictureJson(const OrderedJson& j, const std::string& path) {
    if (j.is_null()) return std::make_shared<StdPicture>();
    if (!j.is_object() || j.size() != 1 || !j.contains("base64") || !j["base64"].is_string())
        throw FormFileError(path, "a picture must be null or {\"base64\": \"...\"}");
    auto bytes = gdi::DecodeBase64(j["base64"].get_ref<const std::string&>());
    if (!bytes) throw FormFileError(path + ".base64", "not valid base64");
    std::shared_ptr<StdPicture> picture;
    try {
        picture = StdPicture::FromBytes(std::move(*bytes));
    } catch (const HostError& e) {
        throw FormFileError(path + ".base64", e.Description());
    }
    const std::int64_t decoded = std::int64_t{picture->PixelWidth()} * picture->PixelHeight() * 4;
    if (!PictureBudget::Take(decoded))
        throw FormFileError(path, "the pictures of this file need more than " +
                                      std::to_string(PictureBudget::kFormFileBytes >> 20) + " MiB decoded");
    return picture;
}

}  // namespace

void RegisterPictureCodec() { RegisterObjectCodec("Picture", ObjectCodec{SavePicture, LoadPictureJson}); }

}  // namespace brimlox::host

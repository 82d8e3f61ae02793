// StdPicture: the host's picture object, a bitmap or an icon (or nothing). It keeps the bytes
// of the file it came from, so a form file embeds the picture exactly as it was loaded, and
// reports its size in HIMETRIC as the host's pictures do. The GDI or USER object behind it is
// owned by the picture and freed with it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/host/image/image.h"
#include "platform/host/variant.h"

#include "platform/compat/push_x11_macros.h"

namespace brimlox::host {

enum class PictureType : std::int16_t { None = 0, Bitmap = 1, Icon = 3 };

class StdPicture : public Dispatch {
public:
    StdPicture() = default;  // an empty picture
    ~StdPicture() override;
    StdPicture(const StdPicture&) = delete;
    StdPicture& operator=(const StdPicture&) = delete;

    std::string TypeName() const override { return "Picture"; }
    const TypeInfo* GetTypeInfo() const override;

    // The HBITMAP or HICON as the host's 32-bit handle value (0 for an empty picture).
    std::int32_t Handle() const;
    HBITMAP Bitmap() const { return bitmap_; }
    HICON Icon() const { return icon_; }
    PictureType Type() const { return type_; }
    std::int16_t TypeValue() const { return static_cast<std::int16_t>(type_); }
    // Size in HIMETRIC (hundredths of a millimetre) and in pixels.
    std::int32_t Width() const;
    std::int32_t Height() const;
    int PixelWidth() const { return width_; }
    int PixelHeight() const { return height_; }
    const std::vector<std::uint8_t>& FileBytes() const { return bytes_; }

    // Draws the picture stretched into a rectangle of `hdc` (icons are drawn at their size).
    void Render(HDC hdc, int x, int y, int width, int height) const;

    // Makes a picture from file bytes; throws HostError 481 with the decoder's message.
    static std::shared_ptr<StdPicture> FromBytes(std::vector<std::uint8_t> bytes);

private:
    void Adopt(const DecodedImage& image);

    PictureType type_ = PictureType::None;
    HBITMAP bitmap_ = nullptr;
    HICON icon_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> bytes_;
};

// Bounds the decoded pixels of the pictures read while it lives (one form file): each picture
// decoded from a property bag counts 4 bytes a pixel, and the picture that would pass
// `maxBytes` is refused with its path, naming the control. One 4096 x 4096 picture shared by
// sixty images must not cost gigabytes.
class PictureBudget {
public:
    static constexpr std::int64_t kFormFileBytes = std::int64_t{256} << 20;
    explicit PictureBudget(std::int64_t maxBytes = kFormFileBytes);
    ~PictureBudget();
    PictureBudget(const PictureBudget&) = delete;
    PictureBudget& operator=(const PictureBudget&) = delete;
    // Counts a decoded picture against the innermost budget; false when it does not fit.
    static bool Take(std::int64_t bytes);

private:
    std::int64_t remaining_;
    PictureBudget* outer_;
};

// LoadPicture: an empty path gives an empty picture; a missing file raises 53, a file that is
// not a BMP, ICO, PNG or GIF picture 481.
std::shared_ptr<StdPicture> LoadPicture(const std::string& path = "");

// Registers the form-file codec for pictures (base64 of the original file bytes).
void RegisterPictureCodec();

}  // namespace brimlox::host

#include "platform/compat/pop_x11_macros.h"

#include "platform/gdi/png.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/atomic_file.h"

namespace brimlox::gdi {

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { if (f) std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void SetError(std::string* error, std::string message) {
    if (error) *error = std::move(message);
}

// libpng prints its errors on standard error by default; the caller reports them instead.
void QuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void QuietWarning(png_structp, png_const_charp) {}

// Writes the PNG to `path` itself; WriteSurfacePng gives it a temporary file.
bool WritePngFile(const Surface& surface, const std::string& path, std::string* error) {
    File f(std::fopen(path.c_str(), "wb"));
    if (!f) {
        SetError(error, "cannot open " + path + " for writing");
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        SetError(error, "libpng could not start");
        return false;
    }
    std::vector<png_byte> row(static_cast<std::size_t>(surface.Width()) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        // libpng stops on a short write, which leaves the reason in errno.
        SetError(error, "cannot write " + path + ": " + std::strerror(errno));
        return false;
    }
    png_init_io(png, f.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(surface.Width()), static_cast<png_uint_32>(surface.Height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            std::uint32_t v = surface.Get(x, y);
            row[x * 3] = static_cast<png_byte>(v >> 16);
            row[x * 3 + 1] = static_cast<png_byte>(v >> 8);
            row[x * 3 + 2] = static_cast<png_byte>(v);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    // libpng's own flush ignores errors, and stdio may hold the last bytes until the close: a
    // full disk shows only here.
    const bool flushed = std::fflush(f.get()) == 0 && !std::ferror(f.get());
    if (!flushed || std::fclose(f.release()) != 0) {
        SetError(error, "cannot write " + path + ": " + std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace

// Every picture is written whole or not at all: through a temporary file renamed over `path`.
bool WriteSurfacePng(const Surface& surface, const std::string& path, std::string* error) {
    return kernel::WriteFileAtomically(
        path, [&](const std::string& into) { return WritePngFile(surface, into, error); }, error);
}

std::unique_ptr<Surface> ReadSurfacePng(const std::string& path, std::string* error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        SetError(error, path + ": " + image.message);
        return nullptr;
    }
    image.format = PNG_FORMAT_BGRA;
    auto s = Surface::Create(static_cast<int>(image.width), static_cast<int>(image.height), PixelFormat::Bgrx32);
    if (!s) {
        png_image_free(&image);
        SetError(error, path + ": image size out of range");
        return nullptr;
    }
    if (!png_image_finish_read(&image, nullptr, s->Bits(), s->Stride(), nullptr)) {
        SetError(error, path + ": " + image.message);
        return nullptr;
    }
    for (int y = 0; y < s->Height(); ++y)
        for (int x = 0; x < s->Width(); ++x) s->Row32(y)[x] &= 0xFFFFFF;
    return s;
}

bool WritePng(HDC hdc, const std::string& path, std::string* error) {
    DcObject* dc = LookupDc(hdc);
    Surface* s = dc ? dc->Target() : nullptr;
    if (!s) {
        SetError(error, "not a device context with a surface");
        return false;
    }
    return WriteSurfacePng(*s, path, error);
}

bool WritePng(HBITMAP bitmap, const std::string& path, std::string* error) {
    auto* b = HandleTable::Instance().Get<BitmapObject>(bitmap);
    if (!b) {
        SetError(error, "not a bitmap handle");
        return false;
    }
    return WriteSurfacePng(*b->surface, path, error);
}

}  // namespace brimlox::gdi

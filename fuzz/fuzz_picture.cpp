// Fuzzes the picture decoders (BMP, ICO, PNG, GIF): any bytes decode to a well-formed image
// or are refused with a message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/host/image/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    auto img = brimlox::host::DecodeImage({data, size}, &error);
    if (!img) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (img->width <= 0 || img->height <= 0 ||
        img->pixels.size() != static_cast<std::size_t>(img->width) * static_cast<std::size_t>(img->height))
        std::abort();
    return 0;
}

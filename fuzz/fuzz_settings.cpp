// Fuzzes the settings file reader: any bytes are either accepted as a valid document or
// rejected with a message, and an accepted document survives a write and re-read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/host/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    auto parsed = brimlox::host::ParseSettings(text, &error);
    if (!parsed) {
        if (error.empty()) std::abort();
        return 0;
    }
    auto again = brimlox::host::ParseSettings(brimlox::host::SerializeSettings(*parsed), &error);
    if (!again || *again != *parsed) std::abort();
    return 0;
}

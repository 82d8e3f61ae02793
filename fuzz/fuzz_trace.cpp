// Fuzzes the trace reader and replayer: any input must either replay or be rejected with a
// TraceFormatError, without crashing, leaking GDI objects or exhausting memory.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "platform/gdi/handles.h"
#include "platform/gdi/trace_replayer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    brimlox::gdi::replay::ReplayOptions options;
    // Sizes come from the input; keep forged ones from asking for gigabytes.
    options.maxBitmapPixels = 1 << 16;
    std::size_t before = brimlox::gdi::HandleTable::Instance().LiveCount();
    brimlox::gdi::replay::TraceReplayer replayer(options);
    try {
        replayer.Run(in);
    } catch (const brimlox::gdi::replay::TraceFormatError&) {
    }
    // The replayer frees everything it made, also after an error.
    if (brimlox::gdi::HandleTable::Instance().LiveCount() != before) std::abort();
    return 0;
}

// Fuzzes the input script parser: any bytes must parse or be rejected with a message naming a
// line, never crash, and accepted scripts keep their events in time order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/desktop/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    brimlox::desktop::InputScript script;
    std::string error;
    if (!brimlox::desktop::ParseInputScript(text, script, error)) {
        if (error.rfind("line ", 0) != 0 || !script.events.empty()) std::abort();
        return 0;
    }
    std::uint64_t last = 0;
    for (const auto& e : script.events) {
        if (e.timeMs < last || e.timeMs > script.endTime || e.line <= 0) std::abort();
        last = e.timeMs;
    }
    return 0;
}

// Input scripts: timed mouse and key events, one per line, as described in
// docs/input-script.md. Parsing reports the first bad line with its number and what is wrong.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/input_event.h"

namespace brimlox::desktop {

struct InputScript {
    std::vector<InputEvent> events;
    std::uint64_t endTime = 0;  // the time after the last event or wait
};

// Parses a script. On failure returns false and sets `error` to "line N: what is wrong".
bool ParseInputScript(std::string_view text, InputScript& out, std::string& error);
// Reads and parses a script file.
bool LoadInputScript(const std::string& path, InputScript& out, std::string& error);

}  // namespace brimlox::desktop

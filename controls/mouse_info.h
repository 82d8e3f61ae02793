// The arguments of the last mouse event a control saw, as the library's GetMouseInfo methods
// return them (Command, SplitWindow).
#pragma once

#include <cstdint>

namespace brimlox::controls {

struct CmdMouseInfo {
    std::int16_t Button = 0;
    std::int16_t Shift = 0;
    float x = 0;
    float y = 0;
};

}  // namespace brimlox::controls

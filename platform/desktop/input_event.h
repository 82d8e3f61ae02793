// One event of an input source: a mouse move, a button or key change, a wheel turn, or a
// script instruction (take a screenshot). Times are milliseconds on the desktop clock.
#pragma once

#include <cstdint>
#include <string_view>

namespace brimlox::desktop {

enum class InputType { MouseMove, ButtonDown, ButtonUp, KeyDown, KeyUp, Wheel, Screenshot, Quit };
enum class MouseButton { Left = 0, Right = 1, Middle = 2 };

struct InputEvent {
    InputType type = InputType::MouseMove;
    std::uint64_t timeMs = 0;
    int x = 0;  // screen pixels (MouseMove); wheel delta (Wheel)
    int y = 0;
    MouseButton button = MouseButton::Left;
    int vk = 0;             // KeyDown, KeyUp
    bool extended = false;  // bit 24 of the key data
    // Screenshot: the picture's name from InternName, or nullptr. A plain pointer keeps the
    // event trivially copyable, and every mouse move copies one.
    const char* name = nullptr;
    int line = 0;           // script line that produced the event, 0 for live input
    bool force = false;     // a move that reports even an unchanged position (SetCursorPos)
};

// A copy of `name` that lives as long as the process; equal names share one copy. Names come
// from input scripts, so there are few of them.
const char* InternName(std::string_view name);

}  // namespace brimlox::desktop

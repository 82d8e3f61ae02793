// The input state of the UI thread: key and button states, the cursor position, capture, focus
// and activation, and the conversion of desktop input events into mouse and key messages.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/desktop/input_event.h"
#include "platform/user/winuser.h"

namespace brimlox::user {

// Turns one input event into the message it produces, or nothing (a move that changed
// nothing, a click on a disabled window, a press eaten by WM_MOUSEACTIVATE). Updates key
// state, cursor position and click tracking, and sends WM_SETCURSOR and WM_MOUSEACTIVATE as
// Windows does when it hands out a mouse message.
bool ConvertInput(const desktop::InputEvent& event, std::uint64_t now, MSG& out);

// The MK_* flags of the current button and modifier state.
WPARAM MouseKeyFlags();
// The scan code of a virtual key (set 1), and whether it is an extended key.
UINT ScanCodeOf(int vk);
bool IsExtendedKey(int vk);
// The character a key gives with the current shift state (0 for none), as TranslateMessage
// needs it.
int CharForKey(int vk);
bool KeyDown(int vk);
POINT CursorPos();

void ResetInputState();

}  // namespace brimlox::user

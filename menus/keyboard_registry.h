// The keyboard hook registry: the accelerator (Alt+letter), Default (Enter) and Cancel (Escape)
// keys of buttons. One thread keyboard hook serves every registered window; a key it matches
// for the foreground form is turned into a posted left-button press and release on the
// registered window and swallowed. Enter and Escape are left to the focused window when it
// claims them (WM_GETDLGCODE): a focused push button takes Enter itself.
#pragma once

#include <cstdint>

#include "platform/user/winuser.h"

namespace brimlox::menus {

// Registers or updates the entry of `window` (the form window is the registrant's parent
// form's); with key, isDefault and isCancel all 0 removes it (nothing happens when `window`
// was never registered). A window of 0 is ignored.
void RegisterAccelerator(HWND form, HWND window, std::int16_t key, bool isDefault, bool isCancel);

// The number of registered windows and whether the hook is installed (for tests and tools).
std::size_t RegisteredAcceleratorCount();
bool AcceleratorHookInstalled();
// Forgets every registration and removes the hook (between tests).
void ResetAcceleratorRegistry();

}  // namespace brimlox::menus

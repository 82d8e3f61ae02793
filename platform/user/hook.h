// Thread hooks (WH_KEYBOARD): the chain of hook procedures that see each key message before
// its window does. A hook returning non-zero swallows the key.
#pragma once

#include "platform/user/winuser.h"

namespace brimlox::user {

// Runs the keyboard chain for a key message; true when a hook swallowed it.
bool RunKeyboardHooks(int code, WPARAM vk, LPARAM keyData);
void ResetHooks();

}  // namespace brimlox::user

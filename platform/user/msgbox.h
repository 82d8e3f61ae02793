// Message boxes (MessageBoxA). On a desktop someone looks at, a message box is a modal window
// with its title, the text with its line breaks, an icon and an OK button, run by its own
// message loop until Enter, Escape, Space or a click on OK closes it. Headless desktops (the
// default, see DesktopSettings::headlessDialogs) show nothing: the box is logged and answered
// IDOK at once. Either way every box is recorded, so tests and tools can read what was said.
#pragma once

#include <string>
#include <vector>

#include "platform/user/winuser.h"

namespace brimlox::user {

// One message box as it was asked for, and how it was answered.
struct MessageBoxRecord {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT type = 0;
    std::string icon;  // "exclamation", "information", "stop", "question" or ""
    bool shown = false;  // a window was shown (false: answered headless)
    int answer = 0;
};

const std::vector<MessageBoxRecord>& MessageBoxLog();
void ClearMessageBoxLog();

// The name of the icon a MB_ICON* style asks for, "" for none.
std::string MessageBoxIconName(UINT type);

// ---- The window (msgbox_window.cpp) -------------------------------------------------------------
// Shows a message box window over `owner` (or centred on the screen) and runs it modally.
// Returns IDOK; the box also closes when its owner is destroyed or the input ends.
int RunMessageBoxWindow(HWND owner, const std::string& text, const std::string& caption, UINT type);

}  // namespace brimlox::user

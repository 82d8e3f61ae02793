// Message boxes (MessageBoxA). On a desktop someone looks at, a message box is a modal window
// with its title, the text with its line breaks, an icon and the buttons of its MB_* set (OK;
// OK, Cancel; Abort, Retry, Ignore; Yes, No, Cancel; Yes, No; Retry, Cancel; Cancel, Try
// Again, Continue), run by its own message loop until a button answers it. Headless desktops
// (the default, see DesktopSettings::headlessDialogs) show nothing: the box is logged and
// answered at once with its default button, or with the next answer a test queued. Either way
// every box is recorded, so tests and tools can read what was said and answered.
#pragma once

#include <cstddef>
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
    int answer = 0;      // IDOK, IDCANCEL, IDYES, ...
    int refused = 0;     // a queued answer the box's buttons do not offer (0: none was refused)
};

const std::vector<MessageBoxRecord>& MessageBoxLog();
// Clears the log and the queue of headless answers.
void ClearMessageBoxLog();

// Queues answers for the next headless boxes, used one a box in order. An answer the box's set
// does not offer is refused: that box gets its default answer and its record keeps the refused
// one. Boxes shown in a window do not take queued answers.
void QueueMessageBoxAnswers(std::vector<int> answers);

// The answers of the buttons a MB_* set shows, left to right. Unknown sets show OK alone.
std::vector<int> MessageBoxButtons(UINT type);
// The position of the default button (MB_DEFBUTTON1..4); past the last button it is the first.
std::size_t MessageBoxDefaultButton(UINT type);
int MessageBoxDefaultAnswer(UINT type);
// What Escape and WM_CLOSE answer: IDCANCEL when the set has Cancel, IDOK for OK alone, and
// 0 (the box stays up) for Abort/Retry/Ignore and Yes/No, which must be answered by a button.
int MessageBoxEscapeAnswer(UINT type);
// What a box closed without its buttons answers (its owner destroyed, the input ended):
// Cancel when the set has one, else the default button's answer.
int MessageBoxCloseAnswer(UINT type);

// The name of the icon a MB_ICON* style asks for, "" for none.
std::string MessageBoxIconName(UINT type);

// ---- The window (msgbox_window.cpp) -------------------------------------------------------------
// Shows a message box window over `owner` (or centred on the screen) and runs it modally.
// Returns the answer of the button pressed; a box closed by its owner's destruction or the end
// of input answers MessageBoxCloseAnswer(type).
int RunMessageBoxWindow(HWND owner, const std::string& text, const std::string& caption, UINT type);

}  // namespace brimlox::user

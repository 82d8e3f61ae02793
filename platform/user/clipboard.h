// The clipboard as Windows USER has it: one per process, shared by every window. A window
// opens it, empties it (becoming its owner), hands it global memory blocks by format and closes
// it; from then on the blocks belong to the clipboard, which frees them when it is emptied or
// the format is set again. Reading needs the clipboard open too; the handle read stays the
// clipboard's. Calls, arguments and failure results are those of Windows. Rendering on request
// (SetClipboardData with no data) is not provided and fails.
#pragma once

#include "platform/kernel/global_memory.h"
#include "platform/user/winuser.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_UNICODETEXT = 13;
// The message the owner gets when EmptyClipboard takes its data away.
constexpr UINT WM_DESTROYCLIPBOARD = 0x0307;

// Opens the clipboard for `owner` (which may be null). Fails while another window has it open;
// the window that has it open may open it again.
WINBOOL OpenClipboard(HWND owner);
// Fails unless the clipboard is open.
WINBOOL CloseClipboard();
// Frees every block and makes the window that opened the clipboard its owner (telling the old
// owner with WM_DESTROYCLIPBOARD). Fails unless the clipboard is open.
WINBOOL EmptyClipboard();
// Puts `mem` on the clipboard as `format`, freeing what that format held; returns `mem`. Fails
// (nullptr, and `mem` stays the caller's) unless the clipboard is open, and for no data or a
// handle that is no global block. Emptying first is not required.
HANDLE SetClipboardData(UINT format, HANDLE mem);
// The clipboard's block of `format`; nullptr unless the clipboard is open and holds it.
HANDLE GetClipboardData(UINT format);
// Whether the clipboard holds `format`; needs no opening.
WINBOOL IsClipboardFormatAvailable(UINT format);
// The number of formats held, and the one after `format` in the order they were set (0 starts,
// 0 at the end); enumerating needs the clipboard open.
int CountClipboardFormats();
UINT EnumClipboardFormats(UINT format);
// A format of the program's own for `name` (0xC000 to 0xFFFF), the same for the same name in
// any case; 0 for an empty name.
UINT RegisterClipboardFormatA(LPCSTR name);
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();

namespace brimlox::user {

// Empties and closes the clipboard and forgets its owner (between tests).
void ResetClipboard();

}  // namespace brimlox::user

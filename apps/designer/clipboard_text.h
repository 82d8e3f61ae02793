// The designer's Copy and Paste through the process's clipboard: a fragment goes on it as text
// (CF_TEXT, so any program can read it) and under the designer's own registered format, which
// tells a designer that what the clipboard holds is a fragment of controls.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/user/winuser.h"

namespace brimlox::designer {

// The registered clipboard format of fragments.
UINT FragmentClipboardFormat();
// Puts `fragment` on the clipboard for `owner`; false when the clipboard is open elsewhere or
// there is no memory (the clipboard then keeps what it had).
bool PutFragmentOnClipboard(HWND owner, std::string_view fragment);
// The text on the clipboard (the fragment when there is one, else CF_TEXT); nothing when the
// clipboard holds no text or is open elsewhere.
std::optional<std::string> ClipboardText(HWND owner);
// Whether the clipboard holds a fragment (for enabling Paste); needs no opening.
bool ClipboardHasFragment();

}  // namespace brimlox::designer

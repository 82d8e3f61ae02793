// Showing an item list as a nested, owner-drawn popup menu, and the state shared by the
// controls around an open popup.
#pragma once

#include <cstdint>

#include "menus/popup_item_list.h"
#include "platform/user/winuser.h"

namespace brimlox::menus {

// The state of the popup machinery, one per UI thread. menuShowing and the hand-over values are
// written by the controls around a popup; the rest by ShowPopupMenu.
struct PopupState {
    bool menuShowing = false;
    bool menuOwnerIsMenuButton = false;
    HWND menuContainer = nullptr;
    HWND nextMenuOwner = nullptr;
    std::int32_t chosenId = 0;
    bool hostDestroyed = false;
    bool arrowRight = false;
    bool arrowLeft = false;
};
PopupState& Popup();

// Shows `items` as a popup owned by `owner` at (x, y) twips of its client area (at the mouse
// cursor when x and y equal the screen's width and height in twips), appending the host's MDI
// window list when `windowList` is set, and returns when the menu has closed. The result is
// chosenId: 0 for nothing, else the chosen item's index + 1 (also left in Popup()). Applies
// AutoCheck and radio choices to `items`; a window-list choice focuses that window and
// returns 0. Popup().hostDestroyed tells that `host` was destroyed while the menu was open;
// the result is then 0 and the list is left as it was. One popup is open at a time: a call
// made while one is open (from a handler the menu loop runs) shows nothing and returns 0.
//
// The caller sets Popup().menuShowing before the call and must always clear it when the call
// returns, whatever the outcome: also when hostDestroyed is set (clear that too and raise no
// MenuClick). While menuShowing is set the keyboard hook passes Enter, Escape and every
// accelerator on, and a TrayIcon shows no menu.
std::int32_t ShowPopupMenu(HWND owner, HWND host, float x, float y, PopupItemList& items, bool windowList);

}  // namespace brimlox::menus

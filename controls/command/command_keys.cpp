// Command: the keyboard. Space presses the focused button as a click at its top-left corner
// does (the same corner the Default and Cancel keys click): the press comes with the key going
// down, the release with the key coming up, so MouseDown, Click and MouseUp arrive in a mouse
// click's order. Focus lost before the key comes up cancels the press without a Click.
//
//   idle --Space down (enabled, not pressed)--> pressed by Space: MouseDown's work
//   pressed by Space --Space up--> idle: MouseUp's work, with the pointer taken as inside
//   pressed by Space --focus lost--> idle: drawn up, no Click (as a lost capture)
//   idle --Enter down (enabled, not pressed)--> a click at the top-left corner, posted as the
//        Default key posts it: MouseDown, Click and MouseUp come together
//
// A focused button claims Enter (WM_GETDLGCODE), so Enter presses the focused button rather
// than the form's default button, as a focused push button does on Windows.
//
// On a split button (MenuButton) the Down arrow opens the menu, as a click on the strip does.
//
// The focus frame (DrawFocusRect, inside the border) is drawn while the button has the focus
// and its window shows the focus cue, that is after keyboard navigation.
#include <algorithm>

#include "controls/command/command.h"
#include "platform/user/keyboard_cues.h"
#include "platform/user/user.h"

namespace brimlox::controls {

void Command::KeyDown(int keyCode, int shift, bool repeat) {
    if (repeat || spacePress_ || pressed_ || !Enabled()) return;
    if (keyCode == VK_RETURN) {
        PostMessageA(hWnd(), WM_LBUTTONDOWN, 0, 0);
        PostMessageA(hWnd(), WM_LBUTTONUP, 0, 0);
        return;
    }
    if (keyCode == VK_DOWN && menuButton_ && IsPopupMenu()) {
        ClickMenuStrip();
        return;
    }
    if (keyCode != VK_SPACE) return;
    spacePress_ = true;
    MouseDown(1, shift, 0, 0);
}

// A split button's menu opens from the keyboard as a click in the middle of its strip opens it.
void Command::ClickMenuStrip() {
    RECT client{};
    GetClientRect(hWnd(), &client);
    const LPARAM at = MAKELPARAM(std::max(0, static_cast<int>(client.right) - layout_.menuWidthPx / 2 - 1), client.bottom / 2);
    PostMessageA(hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(hWnd(), WM_LBUTTONUP, 0, at);
}

LRESULT Command::DialogCode(int keyCode) const {
    (void)keyCode;
    return DLGC_BUTTON | (default_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void Command::KeyUp(int keyCode, int shift) {
    if (keyCode != VK_SPACE || !spacePress_) return;
    spacePress_ = false;
    // The pointer may have wandered meanwhile; the key's press is released where it was made.
    mouseInfo_.x = mouseInfo_.y = 0;
    MouseUp(1, shift, 0, 0);
}

void Command::GotFocus() {
    if (host::ShowsFocusRect(*this)) Repaint();
}

void Command::LostFocus() {
    auto alive = alive_;
    if (spacePress_) {
        spacePress_ = false;
        if (lockedPress_) {
            EndLockedPress();
        } else if (menuPress_) {
            pressed_ = menuPress_ = false;
            DrawButton(!value_);
        } else if (pressed_) {
            StopTimer();
            TogglePress(false);
        }
    }
    // The frame goes with the focus; with the cue hidden there is none to take away.
    if (*alive && hWnd() && !(SendMessageA(hWnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) Repaint();
}

// Inside the 3-D border: two pixels of edge and one of space, one more around a default
// button's frame, and clear of a menu button's strip.
void Command::DrawFocusFrame() {
    if (!host::ShowsFocusRect(*this)) return;
    RECT frame{};
    GetClientRect(hWnd(), &frame);
    if (menuButton_) frame.right -= layout_.menuWidthPx;
    const int inset = default_ ? 4 : 3;
    InflateRect(&frame, -inset, -inset);
    if (frame.right - frame.left < 2 || frame.bottom - frame.top < 2) return;
    DrawFocusRect(hDC(), &frame);
}

}  // namespace brimlox::controls

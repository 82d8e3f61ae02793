// The focus of hosted controls and the keys a focused control receives. Tab and Shift+Tab
// (without Ctrl or Alt) go to the form's tab order and never reach the control.
#include "platform/host/form.h"
#include "platform/host/keyboard.h"
#include "platform/host/runtime.h"
#include "platform/user/keyboard_cues.h"
#include "platform/user/user.h"

namespace brimlox::host {

namespace {

constexpr LPARAM kPreviouslyDown = 1 << 30;  // key data: the key was already down (auto-repeat)

KeyboardControl* KeysOf(Control& control) { return dynamic_cast<KeyboardControl*>(&control); }

bool HandleKey(Control& control, KeyboardControl& keys, UINT msg, WPARAM wParam, LPARAM lParam) {
    const int vk = static_cast<int>(wParam);
    const int shift = ShiftState();
    if (msg == WM_KEYDOWN && vk == VK_TAB && (shift & 6) == 0) {
        if (Form* form = control.ParentForm()) SelectNextControl(*form, &control, (shift & 1) == 0);
        return true;
    }
    if (msg == WM_KEYDOWN) RunHostEvent([&] { keys.KeyDown(vk, shift, (lParam & kPreviouslyDown) != 0); });
    else if (msg == WM_KEYUP) RunHostEvent([&] { keys.KeyUp(vk, shift); });
    else if (msg == WM_CHAR && vk != '\t') RunHostEvent([&] { keys.KeyPress(vk); });
    else return false;
    return true;
}

}  // namespace

bool CanGetFocus(const Control& control) {
    const auto* keys = dynamic_cast<const KeyboardControl*>(&control);
    return control.hWnd() && keys && keys->TakesFocus();
}

bool HasFocus(const Control& control) { return control.hWnd() && ::GetFocus() == control.hWnd(); }

bool ShowsFocusRect(const Control& control) {
    if (!HasFocus(control) || !control.Ambient().UserMode) return false;
    return (SendMessageA(control.hWnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

bool SetFocus(Control& control) {
    HWND h = control.hWnd();
    if (!CanGetFocus(control) || !IsWindowVisible(h) || !IsWindowEnabled(h)) return false;
    ::SetFocus(h);
    return HasFocus(control);
}

bool HandleControlKeyboard(Control& control, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    // Every message of every control passes here: the control's keyboard side is asked for
    // only by the few messages that concern it.
    switch (msg) {
        case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR: {
            KeyboardControl* keys = KeysOf(control);
            return keys && HandleKey(control, *keys, msg, wParam, lParam);
        }
        case WM_GETDLGCODE: {
            KeyboardControl* keys = KeysOf(control);
            if (keys) result = keys->DialogCode(static_cast<int>(wParam));
            return keys != nullptr;
        }
        case WM_MOUSEWHEEL: {
            KeyboardControl* keys = KeysOf(control);
            if (!keys) return false;
            const int delta = static_cast<short>(HIWORD(wParam));
            bool handled = false;
            RunHostEvent([&] { handled = keys->MouseWheel(delta, ShiftState()); });
            return handled;
        }
        case WM_SETFOCUS: {
            KeyboardControl* keys = KeysOf(control);
            if (keys) RunHostEvent([&] { keys->GotFocus(); });
            return keys != nullptr;
        }
        case WM_KILLFOCUS: {
            KeyboardControl* keys = KeysOf(control);
            if (keys) RunHostEvent([&] { keys->LostFocus(); });
            return keys != nullptr;
        }
        case WM_UPDATEUISTATE: {
            // The cues changed: a focused control redraws to show or drop its frame.
            KeyboardControl* keys = KeysOf(control);
            result = DefWindowProcA(control.hWnd(), msg, wParam, lParam);
            if (keys && HasFocus(control)) RunHostEvent([&] { keys->FocusCueChanged(); });
            return true;
        }
        default: return false;
    }
}

}  // namespace brimlox::host

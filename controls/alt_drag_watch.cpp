#include "controls/alt_drag_watch.h"

#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

bool g_escapePressed = false;

// Escape ends the drag and is swallowed, so it does not also reach the form's Cancel button.
// Every other key passes on.
LRESULT CALLBACK AltDragKeyHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && wParam == VK_ESCAPE) {
        g_escapePressed = true;
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

AltDragWatch::AltDragWatch() {
    hook_ = SetWindowsHookExA(WH_KEYBOARD, AltDragKeyHook, nullptr, GetCurrentThreadId());
    g_escapePressed = false;
}

AltDragWatch::~AltDragWatch() {
    if (hook_) UnhookWindowsHookEx(hook_);
}

bool EscapePressed() { return g_escapePressed; }

}  // namespace brimlox::controls

// The designer's keys: a thread keyboard hook that turns the designer's shortcuts into its
// commands while one of its windows is in the foreground.
#include "apps/designer/designer.h"

#include "platform/user/user.h"

namespace brimlox::designer {

namespace {

struct KeyHook {
    Designer* designer = nullptr;
    HHOOK hook = nullptr;
};

thread_local KeyHook t_keys;

constexpr WPARAM kF5 = VK_F1 + 4;
constexpr LPARAM kKeyUp = static_cast<LPARAM>(0x80000000u);

bool Held(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

LRESULT CALLBACK KeyboardProc(int code, WPARAM vk, LPARAM data) {
    if (code >= 0 && !(data & kKeyUp) && t_keys.designer && !Held(VK_MENU) &&
        t_keys.designer->HandleShortcut(vk, Held(VK_CONTROL), Held(VK_SHIFT)))
        return 1;
    return CallNextHookEx(t_keys.hook, code, vk, data);
}

}  // namespace

// One designer per thread has the keys: a newer one takes them over.
void Designer::InstallKeys() {
    if (t_keys.hook) UnhookWindowsHookEx(t_keys.hook);
    t_keys.designer = this;
    t_keys.hook = SetWindowsHookExA(WH_KEYBOARD, KeyboardProc, nullptr, GetCurrentThreadId());
}

void Designer::RemoveKeys() {
    if (t_keys.designer != this) return;
    if (t_keys.hook) UnhookWindowsHookEx(t_keys.hook);
    t_keys = {};
}

// The shortcuts work in the designer window and in the design windows, not in a running form
// or a dialog. Cut, copy, paste and delete belong to the design windows only, so a text box of
// the property grid keeps its own editing keys.
bool Designer::HandleShortcut(WPARAM vk, bool ctrl, bool shift) {
    HWND foreground = GetForegroundWindow();
    const bool inDesignWindow = active_ && foreground == active_->Form().hWnd();
    for (auto& open : documents_)
        if (foreground == open->document->Form().hWnd() && active_ != open->document.get())
            Activate(*open->document);
    const bool inDesigner = inDesignWindow || foreground == window_->hWnd();
    if (!inDesigner || !active_) return false;
    if (vk == kF5 && !ctrl && !shift) return Run(), true;
    if (!ctrl) return false;
    switch (vk) {
        case 'S':
            if (shift) AskSaveAs(); else Save();
            return true;
        case 'Z': Undo(); return true;
        case 'Y': Redo(); return true;
        default: break;
    }
    if (!inDesignWindow || shift) return false;
    switch (vk) {
        case 'X': Cut(); return true;
        case 'C': Copy(); return true;
        case 'V': Paste(); return true;
        default: return false;
    }
}

}  // namespace brimlox::designer

// The keyboard hook registry and the hook procedure behind accelerators, Default and Cancel
// buttons, and the arrow keys that leave an open popup sideways.
#include "menus/keyboard_registry.h"

#include <vector>

#include "menus/popup_menu.h"
#include "platform/user/thread_info.h"
#include "platform/user/user.h"

namespace brimlox::menus {

namespace {

// One registered window: its form, its accelerator character and its Default/Cancel roles.
struct Registration {
    HWND form = nullptr;
    HWND window = nullptr;
    std::int16_t key = 0;
    bool isDefault = false;
    bool isCancel = false;
};

struct Registry {
    std::vector<Registration> entries;
    HHOOK hook = nullptr;
    bool altDown = false;
};

thread_local Registry t_registry;

constexpr DWORD kKeyUp = 0x80000000u;       // transition state: the key is being released
constexpr DWORD kWasDown = 0x40000000u;     // previous key state: an auto-repeat when pressed
constexpr DWORD kAltContext = 0x10000000u;  // set on the key data the hook sees when Alt is not held

bool IsLetterOrDigit(WPARAM vk) { return (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'); }

// The first live entry for the foreground form (or the active child of an MDI frame in the
// foreground) that `matches` accepts.
template <typename Match>
const Registration* FindForForeground(Match matches) {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return nullptr;
    // GetTopWindow(0) would name the desktop's top window, which is no child of this form.
    HWND client = GetTopWindow(foreground);
    HWND child = client ? GetTopWindow(client) : nullptr;
    for (const Registration& e : t_registry.entries) {
        if (e.form != foreground && e.form != child) continue;
        if (matches(e) && IsWindow(e.window)) return &e;
    }
    return nullptr;
}

// Whether the focused window takes Enter or Escape itself, as it answers WM_GETDLGCODE: a
// focused push button is pressed by Enter (not the default button), and a control in the
// middle of a keyboard operation keeps both keys.
bool FocusTakesKey(WPARAM vk, LPARAM data) {
    HWND focus = GetFocus();
    if (!focus || !IsWindow(focus) || (vk != VK_RETURN && vk != VK_ESCAPE)) return false;
    MSG msg{};
    msg.hwnd = focus;
    msg.message = WM_KEYDOWN;
    msg.wParam = vk;
    msg.lParam = data;
    const LRESULT code = SendMessageA(focus, WM_GETDLGCODE, vk, reinterpret_cast<LPARAM>(&msg));
    if (code & DLGC_WANTMESSAGE) return true;
    return vk == VK_RETURN && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

const Registration* EntryForKey(WPARAM vk) {
    if (vk == VK_RETURN) return FindForForeground([](const Registration& e) { return e.isDefault; });
    if (vk == VK_ESCAPE) return FindForForeground([](const Registration& e) { return e.isCancel; });
    if (IsLetterOrDigit(vk) && t_registry.altDown)
        return FindForForeground([vk](const Registration& e) { return e.key == static_cast<std::int16_t>(vk); });
    return nullptr;
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM vk, LPARAM lParam) {
    Registry& r = t_registry;
    auto data = static_cast<DWORD>(lParam);
    if (data & kKeyUp) {
        // Alt let go: letters alone are no accelerators any more.
        if (vk == VK_MENU) r.altDown = false;
        return CallNextHookEx(r.hook, code, vk, lParam);
    }
    if (data & kWasDown) return CallNextHookEx(r.hook, code, vk, lParam);
    if (vk == VK_MENU) r.altDown = (data & kAltContext) == 0;
    // A move or size loop takes its own keys (arrows, Enter, Escape): nothing is pressed.
    if (GUITHREADINFO gui{sizeof(GUITHREADINFO)}; GetGUIThreadInfo(0, &gui) && (gui.flags & GUI_INMOVESIZE))
        return CallNextHookEx(r.hook, code, vk, lParam);
    PopupState& popup = Popup();
    if (popup.menuShowing) {
        popup.arrowRight = vk == VK_RIGHT;
        popup.arrowLeft = vk == VK_LEFT;
        return CallNextHookEx(r.hook, code, vk, lParam);
    }
    // Only when the key is being taken from the queue: a look with PM_NOREMOVE clicks nothing.
    if (code == HC_ACTION && !FocusTakesKey(vk, lParam)) {
        if (const Registration* e = EntryForKey(vk)) {
            PostMessageA(e->window, WM_LBUTTONDOWN, 0, 0);
            PostMessageA(e->window, WM_LBUTTONUP, 0, 0);
            return 1;
        }
    }
    return CallNextHookEx(r.hook, code, vk, lParam);
}

void Unregister(HWND window) {
    auto& entries = t_registry.entries;
    for (std::size_t i = entries.size(); i-- > 0;) {
        if (entries[i].window != window) continue;
        if (entries.size() > 1) {
            entries[i] = entries.back();
            entries.pop_back();
        } else {
            UnhookWindowsHookEx(t_registry.hook);
            t_registry.hook = nullptr;
            entries.clear();
        }
        return;
    }
    // A window that was never registered: nothing to remove.
}

void Register(HWND form, HWND window, std::int16_t key, bool isDefault, bool isCancel) {
    auto& entries = t_registry.entries;
    Registration* entry = nullptr;
    for (Registration& e : entries)
        if (e.window == window) {
            entry = &e;
            break;
        }
    if (!entry) entry = &entries.emplace_back();
    *entry = Registration{form, window, key, isDefault, isCancel};
    if (!t_registry.hook) t_registry.hook = SetWindowsHookExA(WH_KEYBOARD, KeyboardProc, nullptr, GetCurrentThreadId());
}

}  // namespace

void RegisterAccelerator(HWND form, HWND window, std::int16_t key, bool isDefault, bool isCancel) {
    if (!window) return;
    if (key <= 0 && !isDefault && !isCancel) Unregister(window);
    else Register(form, window, key, isDefault, isCancel);
}

void ResetAcceleratorRegistry() {
    if (t_registry.hook) UnhookWindowsHookEx(t_registry.hook);
    t_registry = Registry{};
}

std::size_t RegisteredAcceleratorCount() { return t_registry.entries.size(); }
bool AcceleratorHookInstalled() { return t_registry.hook != nullptr; }

}  // namespace brimlox::menus

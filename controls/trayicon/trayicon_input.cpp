// TrayIcon: the shell's callback, the delayed single click and the menu.
//
// The shell sends the callback message WM_MOUSEMOVE with the mouse message as lParam, so the
// control sees a mouse move whose x is that message number:
//
//   left up        start the delay (the double-click time) unless it ends a double click or
//                  the menu is open; with the menu open, a press and release posted to no
//                  window close it
//   left double    Click is not coming: stop the delay, DblClick(1), and the left up that
//                  ends the double click starts nothing
//   right up       stop the delay, Click(2)        middle up   stop the delay, Click(4)
//   right double   stop the delay, DblClick(2)
//
// When the delay runs out the click was a single one: Click(1), then the menu at the mouse
// cursor if there is anything to show and no other popup is open.
#include "controls/trayicon/trayicon.h"
#include "menus/popup_menu.h"
#include "platform/user/user.h"

namespace brimlox::controls {

void TrayIcon::MouseMove(int, int, float x, float) {
    switch (static_cast<int>(x)) {
        case WM_LBUTTONUP: LeftButtonUp(); break;
        case WM_RBUTTONUP: StopDelay(), RaiseButtonEvent("Click", 2); break;
        case WM_MBUTTONUP: StopDelay(), RaiseButtonEvent("Click", 4); break;
        case WM_LBUTTONDBLCLK:
            doubleClicked_ = true;
            StopDelay();
            RaiseButtonEvent("DblClick", 1);
            break;
        case WM_RBUTTONDBLCLK: StopDelay(), RaiseButtonEvent("DblClick", 2); break;
        default: break;
    }
}

bool TrayIcon::DelayRunning() const { return delay_ && delay_->Enabled(); }

void TrayIcon::LeftButtonUp() {
    if (!delay_) return;
    delay_->SetInterval(static_cast<int>(GetDoubleClickTime()));
    const bool menuOpen = menus::Popup().menuShowing;
    if (!doubleClicked_ && !menuOpen) delay_->SetEnabled(true);
    else doubleClicked_ = false;
    if (menuOpen) {
        PostMessageA(nullptr, WM_LBUTTONDOWN, 0, 0);
        PostMessageA(nullptr, WM_LBUTTONUP, 0, 0);
    }
}

void TrayIcon::StopDelay() {
    if (delay_) delay_->SetEnabled(false);
}

// The button is passed by value: nothing a handler does to it is read back.
void TrayIcon::RaiseButtonEvent(std::string_view name, std::int16_t button) {
    host::Variant argument(button);
    RaiseEvent(name, std::span<host::Variant>(&argument, 1));
}

void TrayIcon::DelayElapsed() {
    auto alive = alive_;
    StopDelay();
    RaiseButtonEvent("Click", 1);
    if (!*alive) return;
    if (menu_.IsEmptyList() && !menu_.MenuWindowList()) return;
    // Another popup is open (a handler's own, or a button's menu): one popup at a time.
    if (menus::Popup().menuShowing) return;
    OpenMenu();
}

// The popup opens at the mouse cursor (the screen's size as position asks for that). Whatever
// the outcome, menuShowing is cleared when the popup returns, also when its host window went
// away, so later clicks on the icon are not taken for clicks that close a menu.
void TrayIcon::OpenMenu() {
    auto alive = alive_;
    menus::PopupState& popup = menus::Popup();
    popup.menuShowing = true;
    popup.menuOwnerIsMenuButton = false;
    HWND host = ParentForm() ? ParentForm()->hWnd() : ContainerHwnd();
    popup.menuContainer = host;
    const host::ScreenInfo screen = host::Screen();
    const std::int32_t chosen = menus::ShowPopupMenu(hWnd(), host, static_cast<float>(screen.Width),
                                                     static_cast<float>(screen.Height), menu_, menu_.MenuWindowList());
    popup.arrowLeft = popup.arrowRight = false;
    if (popup.hostDestroyed) {
        popup.hostDestroyed = false;
        popup.menuShowing = false;
        return;
    }
    if (*alive && chosen > 0) RaiseMenuClick(chosen);
    popup.menuShowing = false;
}

// MenuClick gets a copy of the item's tag; a handler's change is stored back only if the item
// is still there (the handler may have cleared the menu).
void TrayIcon::RaiseMenuClick(std::int32_t chosen) {
    const auto index = static_cast<std::int16_t>(chosen - 1);
    menu_.SetMenuSelected(index);
    menu_.SetMenuItem(index);
    if (index < 0 || static_cast<std::size_t>(index) >= menu_.Items().size()) return;
    host::Variant tag = menu_.Items()[static_cast<std::size_t>(index)].Tag;
    auto alive = alive_;
    RaiseEvent("MenuClick", tag);
    if (*alive && static_cast<std::size_t>(index) < menu_.Items().size())
        menu_.Items()[static_cast<std::size_t>(index)].Tag = tag;
}

}  // namespace brimlox::controls

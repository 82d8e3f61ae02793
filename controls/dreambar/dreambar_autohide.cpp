// DreamBar: the auto-hide timer and the click that minimises. The bar shows itself at the first
// tick after the mouse came over it and hides at the first tick after the mouse left it with
// the left button up; while hidden it looks every 100 ms.
#include "controls/dreambar/dreambar.h"
#include "menus/popup_menu.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

constexpr int kHiddenCheckMs = 100;

}  // namespace

void DreamBar::AutoHideTick() {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(hWnd(), &cursor);
    if (menus::Popup().menuShowing) {
        HandMenuOver(cursor);
        return;
    }
    RECT client{};
    GetClientRect(hWnd(), &client);
    const bool outside = cursor.x < 0 || cursor.x > client.right || cursor.y < 0 || cursor.y > client.bottom;
    // A bar already in the state the mouse asks for is left alone: setting it again would
    // repaint a hidden bar ten times a second for nothing.
    if (outside) {
        if (GetKeyState(VK_LBUTTON) >= 0 && autoHideLive_) {
            if (!minimized_) SetMinimized(true);
            SetTimerInterval(kHiddenCheckMs);
        }
    } else {
        if (minimized_) SetMinimized(false);
        SetTimerInterval(autoHideDelay_);
    }
}

// While a button of this bar shows its menu, the mouse resting on another menu-carrying button
// closes the open menu (a click posted to the bar) and names that button's menu to open next,
// so the bar behaves like a menu bar. The band and the cursor are both pixels of the bar; the
// open menu's own band is left alone, so a cursor resting on its button changes nothing.
void DreamBar::HandMenuOver(POINT cursor) {
    const menus::PopupState& popup = menus::Popup();
    if (popup.menuOwnerIsMenuButton || popup.menuContainer != hWnd() || !menuShown_) return;
    if (cursor.x >= menuRect_.left && cursor.x <= menuRect_.right && cursor.y >= menuRect_.top &&
        cursor.y <= menuRect_.bottom)
        return;
    const double x = cursor.x * TwipsPerPixelX(), y = cursor.y * TwipsPerPixelY();
    for (const auto& child : ContainedControls()) {
        if (child->TypeName() != "Command" || !child->Visible()) continue;
        if (x < child->Left() || x > child->Left() + child->Width() || y < child->Top() ||
            y > child->Top() + child->Height())
            continue;
        bool popupMenu = false, menuButton = true;
        const bool read = host::TryInvoke([&] {
            popupMenu = host::GetProperty(*child, "IsPopupMenu").ToBool();
            menuButton = host::GetProperty(*child, "MenuButton").ToBool();
        });
        if (!read || !popupMenu || menuButton || child->hWnd() == popup.nextMenuOwner) return;
        PostMessageA(hWnd(), WM_LBUTTONDOWN, 0, 0);
        PostMessageA(hWnd(), WM_LBUTTONUP, 0, 0);
        menus::Popup().nextMenuOwner = child->hWnd();
        return;
    }
}

// A right click with MinimizeAuto, or any click on the minimised strip, toggles the bar; a bar
// that hides itself stops (or starts again) hiding instead, and shows itself.
void DreamBar::ClickToMinimize(int button, float x, float y) {
    if (!((button == 2 && minimizeAuto_) || minimized_)) return;
    if (!(x > 0 && x < ScaleWidth() && y > 0 && y < ScaleHeight())) return;
    if (autoHideConfigured_) {
        autoHideLive_ = !autoHideLive_;
        SetMinimized(false);
    } else {
        SetMinimized(!minimized_);
    }
}

}  // namespace brimlox::controls

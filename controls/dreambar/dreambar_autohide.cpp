// DreamBar: the auto-hide timer and the click that minimises. The bar shows itself at the first
// tick after the mouse came over it and hides at the first tick after the mouse left it with
// the left button up; while hidden it looks every 100 ms.
#include "controls/dreambar/dreambar.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

constexpr int kHiddenCheckMs = 100;

}  // namespace

void DreamBar::AutoHideTick() {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(hWnd(), &cursor);
    RECT client{};
    GetClientRect(hWnd(), &client);
    const bool outside = cursor.x < 0 || cursor.x > client.right || cursor.y < 0 || cursor.y > client.bottom;
    if (outside) {
        if (GetKeyState(VK_LBUTTON) >= 0 && autoHideLive_) {
            SetMinimized(true);
            SetTimerInterval(kHiddenCheckMs);
        }
    } else {
        SetMinimized(false);
        SetTimerInterval(autoHideDelay_);
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

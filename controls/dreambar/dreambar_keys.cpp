// DreamBar: the keyboard. Space minimises a focused bar or expands it again, as a click on its
// caption strip does; the focus frame runs just inside the bar's border once the window shows
// the focus cue.
#include "controls/dreambar/dreambar.h"
#include "platform/user/keyboard_cues.h"
#include "platform/user/user.h"

namespace brimlox::controls {

void DreamBar::KeyDown(int keyCode, int shift, bool repeat) {
    (void)shift;
    if (keyCode != VK_SPACE || repeat || !Enabled()) return;
    SetMinimized(!Minimized());
}

void DreamBar::GotFocus() {
    if (host::ShowsFocusRect(*this)) host::Control::Refresh();
}

void DreamBar::LostFocus() {
    if (hWnd() && !(SendMessageA(hWnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) host::Control::Refresh();
}

void DreamBar::DrawFocusFrame() {
    if (!host::ShowsFocusRect(*this)) return;
    RECT frame{};
    GetClientRect(hWnd(), &frame);
    InflateRect(&frame, -3, -3);
    if (frame.right - frame.left < 2 || frame.bottom - frame.top < 2) return;
    DrawFocusRect(hDC(), &frame);
}

}  // namespace brimlox::controls

// The window class of popup menus. A popup menu window never takes the activation or the
// focus (the owner keeps both, so its keyboard hooks and key messages go on as before); it
// paints through the tracker, which knows the selection, and hands its timers (the delayed
// opening of submenus) to the tracker as well.
#include "platform/user/menu.h"
#include "platform/user/user.h"

namespace brimlox::user {

namespace {

LRESULT PopupMenuProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: TrackerPaint(hwnd); return 0;
        case WM_ERASEBKGND: return 1;  // the paint covers every pixel
        case WM_TIMER: TrackerTimer(hwnd, wParam); return 0;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

const char* PopupMenuClass() { return EnsureWindowClass("#32768", PopupMenuProc, CS_SAVEBITS); }

}  // namespace brimlox::user

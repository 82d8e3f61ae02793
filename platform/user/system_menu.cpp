// The window menu (system menu): the popup of the frame's commands that a press on the
// caption's icon, a right click on the caption (through WM_CONTEXTMENU) and Alt+Space open. Each window gets its own
// copy the first time it is asked for (GetSystemMenu), which the application may change; the
// copy goes with the window. Before it shows, the commands the window's styles and state do
// not allow are greyed: Restore only for a minimised or maximised window, Move not while
// maximised, Size only for a sizing border in the normal state, Minimize and Maximize only
// with their boxes and not in their own state.
#include <map>

#include "platform/user/nonclient.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"
#include "platform/user/window_tracker.h"

namespace brimlox::user {

namespace {

std::map<HWND, HMENU>& Menus() {
    static std::map<HWND, HMENU> menus;
    return menus;
}

void ForgetWindow(HWND hwnd) {
    auto& menus = Menus();
    auto it = menus.find(hwnd);
    if (it == menus.end()) return;
    DestroyMenu(it->second);
    menus.erase(it);
}

HMENU MakeStandardMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, SC_RESTORE, "&Restore");
    AppendMenuA(menu, MF_STRING, SC_MOVE, "&Move");
    AppendMenuA(menu, MF_STRING, SC_SIZE, "&Size");
    AppendMenuA(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
    AppendMenuA(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    SetMenuDefaultItem(menu, SC_CLOSE, FALSE);
    return menu;
}

void Allow(HMENU menu, UINT command, bool allowed) {
    EnableMenuItem(menu, command, MF_BYCOMMAND | (allowed ? MF_ENABLED : MF_GRAYED));
}

void EnableForState(HMENU menu, DWORD style) {
    const bool iconic = (style & WS_MINIMIZE) != 0, zoomed = (style & WS_MAXIMIZE) != 0;
    Allow(menu, SC_RESTORE, iconic || zoomed);
    Allow(menu, SC_MOVE, !iconic && !zoomed);
    Allow(menu, SC_SIZE, (style & WS_THICKFRAME) && !iconic && !zoomed);
    Allow(menu, SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !iconic);
    Allow(menu, SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !zoomed);
}

}  // namespace

HMENU SystemMenuOf(HWND hwnd, bool revert) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || w->isDesktop) return nullptr;
    auto& menus = Menus();
    auto it = menus.find(hwnd);
    if (revert) {
        if (it != menus.end()) ForgetWindow(hwnd);
        return nullptr;
    }
    if (it != menus.end() && IsMenu(it->second)) return it->second;
    WindowTracker::AddDestroyObserver(&ForgetWindow);
    HMENU menu = MakeStandardMenu();
    menus[hwnd] = menu;
    return menu;
}

void ShowSystemMenu(HWND hwnd, const POINT* where) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || !(w->style & WS_SYSMENU)) return;
    HMENU menu = SystemMenuOf(hwnd, false);
    if (!menu) return;
    EnableForState(menu, w->style);
    // Below the caption's left end, where the icon is; a minimised window has no caption on the
    // screen, so its menu opens above the pointer.
    POINT at{};
    if (where) {
        at = *where;
    } else if (w->style & WS_MINIMIZE) {
        GetCursorPos(&at);
    } else {
        const FrameLayout f = LayoutFrame(w);
        const RECT wr = WindowRectOnScreen(w);
        at = POINT{wr.left + f.frame, wr.top + f.captionZone};
    }
    WindowTracker alive(hwnd);
    const UINT command = static_cast<UINT>(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, at.x, at.y, 0, hwnd, nullptr));
    if (command && alive.Alive()) SendMessageA(hwnd, WM_SYSCOMMAND, command, 0);
}

LRESULT DefNonClientRightUp(HWND hwnd, WPARAM hit, LPARAM screenPoint) {
    if (hit == static_cast<WPARAM>(HTCAPTION) || hit == static_cast<WPARAM>(HTSYSMENU))
        SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), screenPoint);
    return 0;
}

LRESULT DefContextMenu(HWND hwnd, WPARAM wParam, LPARAM screenPoint) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return 0;
    if (w->IsChild()) return SendMessageA(w->parent, WM_CONTEXTMENU, wParam, screenPoint);
    const POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    const LRESULT hit = SendMessageA(hwnd, WM_NCHITTEST, 0, screenPoint);
    if (hit == HTCAPTION || hit == HTSYSMENU) ShowSystemMenu(hwnd, &at);
    return 0;
}

}  // namespace brimlox::user

HMENU GetSystemMenu(HWND hwnd, WINBOOL revert) { return brimlox::user::SystemMenuOf(hwnd, revert != FALSE); }

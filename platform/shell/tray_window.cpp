// The tray strip: a top-most tool window at the bottom right of the screen that draws the
// notification icons, turns mouse activity over an icon into the icon's callback message, and
// shows the icon's tooltip once the mouse has rested on it for the tooltip delay.
#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/gdi/sysparams.h"
#include "platform/shell/notify_area.h"
#include "platform/user/user.h"

namespace brimlox::shell {

namespace {

constexpr UINT_PTR kHoverTimer = 1;  // the mouse rested long enough: show the tooltip
constexpr UINT_PTR kWatchTimer = 2;  // while a tooltip shows: hide it when the mouse leaves
constexpr UINT kWatchInterval = 100;

// The hover state of the strip: which icon the mouse is over and the tooltip window.
struct Hover {
    int icon = -1;
    HWND tip = nullptr;
};
Hover g_hover;

void HideTip() {
    if (g_hover.tip && IsWindow(g_hover.tip)) DestroyWindow(g_hover.tip);
    g_hover.tip = nullptr;
}

LRESULT TipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_PAINT) return DefWindowProcA(hwnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
    HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_INFOTEXT));
    RECT sides[4] = {{0, 0, r.right, 1}, {0, r.bottom - 1, r.right, r.bottom}, {0, 0, 1, r.bottom}, {r.right - 1, 0, r.right, r.bottom}};
    for (const RECT& s : sides) FillRect(dc, &s, frame);
    DeleteObject(frame);
    LOGFONTA lf = brimlox::gdi::SystemLogFont(brimlox::gdi::SystemFont::Status);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    char text[80] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    InflateRect(&r, -2, 0);
    DrawTextA(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
    EndPaint(hwnd, &ps);
    return 0;
}

// Shows the tooltip of an icon just above the strip, kept on the screen.
void ShowTip(HWND strip, int icon) {
    HideTip();
    const auto& entries = NotifyArea::Instance().Entries();
    if (icon < 0 || static_cast<std::size_t>(icon) >= entries.size() || entries[icon].tip.empty()) return;
    const std::string& text = entries[icon].tip;
    LOGFONTA lf = brimlox::gdi::SystemLogFont(brimlox::gdi::SystemFont::Status);
    HFONT font = CreateFontIndirectA(&lf);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT size{0, 0, 0, 0};
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &size, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    int w = size.right + 6, h = size.bottom + 4;
    POINT cursor;
    GetCursorPos(&cursor);
    RECT strip_rect;
    GetWindowRect(strip, &strip_rect);
    int x = std::clamp<int>(cursor.x, 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - w));
    int y = std::max<int>(0, strip_rect.top - h - 2);
    g_hover.tip = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                  user::EnsureWindowClass("BrimloxTrayTip", TipProc, 0), text.c_str(), WS_POPUP, x, y, w, h, strip,
                                  nullptr, nullptr, nullptr);
    if (g_hover.tip) {
        ShowWindow(g_hover.tip, SW_SHOWNA);
        SetTimer(strip, kWatchTimer, kWatchInterval, nullptr);
    }
}

void PaintStrip(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_3DFACE));
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    const auto& area = NotifyArea::Instance();
    for (std::size_t i = 0; i < area.Entries().size(); ++i) {
        RECT cell = area.IconCell(i);
        if (HICON icon = area.Entries()[i].icon) DrawIcon(dc, cell.left + 2, cell.top, icon);
    }
    EndPaint(hwnd, &ps);
}

// Mouse activity over an icon goes to its window as the callback message, as the shell sends
// it: wParam the icon's id, lParam the mouse message.
void ReportMouse(HWND strip, UINT msg, LPARAM lParam) {
    auto& area = NotifyArea::Instance();
    int icon = area.IconAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (msg == WM_MOUSEMOVE && icon != g_hover.icon) {
        HideTip();
        g_hover.icon = icon;
        KillTimer(strip, kHoverTimer);
        if (icon >= 0) SetTimer(strip, kHoverTimer, TooltipDelay(), nullptr);
    }
    if (msg != WM_MOUSEMOVE) {
        HideTip();
        KillTimer(strip, kHoverTimer);
    }
    if (icon < 0) return;
    TrayEntry entry = area.Entries()[static_cast<std::size_t>(icon)];
    if (entry.hasCallback && IsWindow(entry.hwnd))
        SendMessageA(entry.hwnd, entry.callbackMessage, entry.id, static_cast<LPARAM>(msg));
}

void OnTimer(HWND strip, UINT_PTR id) {
    KillTimer(strip, id);
    POINT cursor;
    GetCursorPos(&cursor);
    bool over = WindowFromPoint(cursor) == strip;
    if (over) ScreenToClient(strip, &cursor);
    int icon = over ? NotifyArea::Instance().IconAt(cursor) : -1;
    if (id == kHoverTimer && icon >= 0 && icon == g_hover.icon) ShowTip(strip, icon);
    if (id == kWatchTimer) {
        if (icon >= 0 && icon == g_hover.icon) SetTimer(strip, kWatchTimer, kWatchInterval, nullptr);
        else HideTip(), g_hover.icon = -1;
    }
}

LRESULT StripProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: PaintStrip(hwnd); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_TIMER: OnTimer(hwnd, wParam); return 0;
        case WM_DESTROY:
            HideTip();
            g_hover = Hover{};
            return 0;
        default:
            if (msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK) {
                ReportMouse(hwnd, msg, lParam);
                return 0;
            }
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

UINT TooltipDelay() { return GetDoubleClickTime(); }

HWND CreateStripWindow(const RECT& r) {
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                user::EnsureWindowClass("BrimloxTrayStrip", StripProc, CS_DBLCLKS), "", WS_POPUP, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    if (hwnd) ShowWindow(hwnd, SW_SHOWNA);
    return hwnd;
}

}  // namespace brimlox::shell

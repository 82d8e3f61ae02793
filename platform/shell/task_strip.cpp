// The task strip's list of minimised windows, its window, painting and clicks.
#include "platform/shell/task_strip.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/sysparams.h"
#include "platform/shell/notify_area.h"
#include "platform/user/frame.h"
#include "platform/user/nonclient.h"
#include "platform/user/user.h"
#include "platform/user/window_tracker.h"

namespace brimlox::shell {

namespace {

void OnMinimize(HWND hwnd, bool minimised) { TaskStrip::Instance().Minimised(hwnd, minimised); }
void OnDestroyed(HWND hwnd) { TaskStrip::Instance().WindowDestroyed(hwnd); }

// Windows with a caption get a button; tool windows and captionless popups do not.
bool WantsButton(HWND hwnd) {
    const auto style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE));
    return (style & WS_CAPTION) == WS_CAPTION && !(style & WS_CHILD) && !(exStyle & WS_EX_TOOLWINDOW);
}

// One button: raised (pushed while the mouse holds it), the window's small icon and caption.
void PaintButton(HDC dc, RECT r, HWND window, bool pushed) {
    DrawEdge(dc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    if (pushed) OffsetRect(&r, 1, 1);
    if (HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0))) {
        ICONINFO info;
        if (GetIconInfo(icon, &info)) {
            BITMAP bm{};
            GetObjectA(info.hbmMask, sizeof bm, &bm);
            DeleteObject(info.hbmMask);
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (bm.bmWidth <= 16) DrawIcon(dc, r.left + 2, r.top + (r.bottom - r.top - 16) / 2, icon);
        }
    }
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    LOGFONTA lf = gdi::SystemLogFont(gdi::SystemFont::Status);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT textRect{r.left + 20, r.top, r.right - 2, r.bottom};
    DrawTextA(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
}

int g_pressed = -1;  // the button the mouse pressed, until its release

void PaintStrip(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RECT top{client.left, client.top, client.right, client.top + 1};
    FillRect(dc, &top, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    const TaskStrip& strip = TaskStrip::Instance();
    for (std::size_t i = 0; i < strip.Windows().size(); ++i)
        PaintButton(dc, strip.ButtonRect(i), strip.Windows()[i], static_cast<int>(i) == g_pressed);
    EndPaint(hwnd, &ps);
}

// Press and release on the same button restore its window, as the shell's task buttons do.
void OnButton(HWND strip, UINT msg, LPARAM lParam) {
    const int at = TaskStrip::Instance().ButtonAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (msg == WM_LBUTTONDOWN) {
        g_pressed = at;
        InvalidateRect(strip, nullptr, TRUE);
        return;
    }
    const int pressed = g_pressed;
    g_pressed = -1;
    InvalidateRect(strip, nullptr, TRUE);
    if (pressed < 0 || pressed != at) return;
    HWND window = TaskStrip::Instance().Windows()[static_cast<std::size_t>(at)];
    ShowWindow(window, SW_RESTORE);
    if (IsWindow(window)) {
        SetActiveWindow(window);
        BringWindowToTop(window);
    }
}

LRESULT StripProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: PaintStrip(hwnd); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP: OnButton(hwnd, msg, lParam); return 0;
        default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

void UseTaskStrip() {
    user::AddMinimizeObserver(&OnMinimize);
    user::WindowTracker::AddDestroyObserver(&OnDestroyed);
}

TaskStrip& TaskStrip::Instance() {
    static TaskStrip strip;
    return strip;
}

RECT TaskStrip::StripRect() const {
    const auto& s = desktop::Desktop::Instance().Settings();
    RECT r{0, s.height - kHeight, s.width, s.height};
    // The tray strip keeps the bottom right corner; the task strip ends where it begins.
    const RECT tray = NotifyArea::Instance().StripRect();
    if (!IsRectEmpty(&tray)) r.right = std::max(r.left, tray.left);
    return r;
}

RECT TaskStrip::ButtonRect(std::size_t index) const {
    const int left = 2 + static_cast<int>(index) * (kButtonWidth + 2);
    return RECT{left, 3, left + kButtonWidth, kHeight - 1};
}

int TaskStrip::ButtonAt(POINT client) const {
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        RECT r = ButtonRect(i);
        if (PtInRect(&r, client)) return static_cast<int>(i);
    }
    return -1;
}

void TaskStrip::Minimised(HWND hwnd, bool minimised) {
    auto it = std::find(windows_.begin(), windows_.end(), hwnd);
    if (minimised && it == windows_.end() && WantsButton(hwnd)) windows_.push_back(hwnd);
    if (!minimised && it != windows_.end()) windows_.erase(it);
    Update();
}

void TaskStrip::WindowDestroyed(HWND hwnd) {
    if (hwnd == strip_) {
        strip_ = nullptr;
        user::ReserveScreenBottom(0);
        return;
    }
    auto it = std::find(windows_.begin(), windows_.end(), hwnd);
    if (it == windows_.end()) return;
    windows_.erase(it);
    Update();
}

void TaskStrip::Update() {
    if (windows_.empty()) {
        HWND strip = strip_;
        strip_ = nullptr;
        user::ReserveScreenBottom(0);
        if (strip && IsWindow(strip)) DestroyWindow(strip);
        return;
    }
    const RECT r = StripRect();
    if (!strip_ || !IsWindow(strip_)) {
        strip_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                 user::EnsureWindowClass("BrimloxTaskStrip", StripProc, 0), "", WS_POPUP, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
        if (!strip_) return;
        ShowWindow(strip_, SW_SHOWNA);
    } else {
        SetWindowPos(strip_, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
    }
    user::ReserveScreenBottom(kHeight);
    InvalidateRect(strip_, nullptr, TRUE);
}

}  // namespace brimlox::shell

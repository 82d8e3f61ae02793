// What a press on the frame does by default: the move and size loops (WM_SYSCOMMAND SC_MOVE
// and SC_SIZE), the caption buttons, a double click on the caption, and the system commands
// that minimise, maximise, restore and close.
//
// The move/size loop, as a state table:
//   idle      --SC_MOVE / SC_SIZE-->          tracking: capture, WM_ENTERSIZEMOVE, outline drawn
//   tracking  --mouse move-->                 tracking: WM_MOVING / WM_SIZING, outline redrawn
//                                             (or, with full-window drag, the window moved)
//   tracking  --button released-->            idle: outline erased, window placed, WM_EXITSIZEMOVE
//   tracking  --Escape, capture lost, quit--> idle: outline erased, window where it was
//   tracking  --arrow key-->                  tracking: the pointer moved 8 pixels that way (a
//                                             size from the window menu takes the first arrow's
//                                             edge, with the pointer put at that edge)
//   tracking  --Enter-->                      as a release
// The caption buttons: pressed --move off--> drawn up --move back--> drawn pushed; released over
// the button sends its system command, elsewhere nothing.
#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/user/nonclient.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"
#include "platform/user/window_tracker.h"

namespace brimlox::user {

namespace {

bool g_dragFullWindows = false;

// The XOR outline of a tracked rectangle: four inverted bands as thick as the sizing border.
// Drawing it twice leaves the screen as it was.
void InvertOutline(HDC screen, const RECT& r) {
    const int t = GetSystemMetrics(SM_CXFRAME);
    const int w = r.right - r.left, h = r.bottom - r.top;
    PatBlt(screen, r.left, r.top, w, t, DSTINVERT);
    PatBlt(screen, r.left, r.bottom - t, w, t, DSTINVERT);
    PatBlt(screen, r.left, r.top + t, t, h - 2 * t, DSTINVERT);
    PatBlt(screen, r.right - t, r.top + t, t, h - 2 * t, DSTINVERT);
}

// The rectangle a drag gives: moved by the pointer's travel, or with the dragged edges moved
// and held between the tracking limits.
RECT TrackedRect(const RECT& start, WPARAM edge, bool moving, POINT travel, const MINMAXINFO& limits) {
    RECT r = start;
    if (moving) {
        OffsetRect(&r, travel.x, travel.y);
        return r;
    }
    const bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
    const bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
    const bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
    const bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
    auto clampSize = [](LONG size, LONG lo, LONG hi) { return std::clamp<LONG>(size, lo, std::max(lo, hi)); };
    const LONG width = clampSize(start.right - start.left + (right ? travel.x : left ? -travel.x : 0),
                                 limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x);
    const LONG height = clampSize(start.bottom - start.top + (bottom ? travel.y : top ? -travel.y : 0),
                                  limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y);
    if (left) r.left = r.right - width;
    else r.right = r.left + width;
    if (top) r.top = r.bottom - height;
    else r.bottom = r.top + height;
    return r;
}

// Places a window at a screen rectangle (children: mapped into the parent's client area).
void PlaceAt(HWND hwnd, RECT r) {
    POINT origin{0, 0};
    if (HWND parent = GetAncestor(hwnd, GA_PARENT); parent && parent != GetDesktopWindow()) ClientToScreen(parent, &origin);
    SetWindowPos(hwnd, nullptr, r.left - origin.x, r.top - origin.y, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

struct Tracking {
    HWND hwnd;
    bool moving;
    WPARAM edge;
    POINT start;
    RECT original;
    RECT current;
    MINMAXINFO limits;
};

// Follows the pointer to a new rectangle; the window may adjust it (WM_MOVING, WM_SIZING).
// A size from the keyboard waits until an arrow has chosen its edge.
void FollowPointer(Tracking& t, POINT pt, HDC screen) {
    if (!t.moving && t.edge == 0) return;
    RECT next = TrackedRect(t.original, t.edge, t.moving, POINT{pt.x - t.start.x, pt.y - t.start.y}, t.limits);
    SendMessageA(t.hwnd, t.moving ? WM_MOVING : WM_SIZING, t.moving ? 0 : t.edge, reinterpret_cast<LPARAM>(&next));
    if (EqualRect(&next, &t.current) || !IsWindow(t.hwnd)) return;
    if (screen) {
        InvertOutline(screen, t.current);
        InvertOutline(screen, next);
    } else {
        PlaceAt(t.hwnd, next);
    }
    t.current = next;
}

constexpr int kKeyStep = 8;
constexpr WPARAM kCloseKey = VK_F1 + 3;  // F4, with Alt held

// An arrow key during the loop: it chooses the edge of a size begun from the keyboard, then
// moves the pointer, whose move the loop follows like any other.
void FollowArrow(Tracking& t, WPARAM key) {
    POINT step{key == VK_LEFT ? -kKeyStep : key == VK_RIGHT ? kKeyStep : 0,
               key == VK_UP ? -kKeyStep : key == VK_DOWN ? kKeyStep : 0};
    if (step.x == 0 && step.y == 0) return;
    if (!t.moving && t.edge == 0) {
        t.edge = key == VK_LEFT ? WMSZ_LEFT : key == VK_RIGHT ? WMSZ_RIGHT : key == VK_UP ? WMSZ_TOP : WMSZ_BOTTOM;
        const RECT& r = t.current;
        t.start = POINT{step.x < 0 ? r.left : step.x > 0 ? r.right - 1 : (r.left + r.right) / 2,
                        step.y < 0 ? r.top : step.y > 0 ? r.bottom - 1 : (r.top + r.bottom) / 2};
        SetCursorPos(t.start.x, t.start.y);
        return;
    }
    POINT p;
    GetCursorPos(&p);
    SetCursorPos(p.x + step.x, p.y + step.y);
}

// The window whose loop runs (GetGUIThreadInfo reports it).
HWND g_moveSize = nullptr;

// Runs the loop until the release (true) or a cancel (false).
bool RunTrackingLoop(Tracking& t, HDC screen) {
    WindowTracker alive(t.hwnd);
    MSG m;
    while (GetModalMessage(&m)) {
        if (!alive.Alive() || GetCapture() != t.hwnd) return false;
        switch (m.message) {
            case WM_MOUSEMOVE: FollowPointer(t, m.pt, screen); break;
            case WM_LBUTTONUP: return true;
            case WM_KEYDOWN:
                if (m.wParam == VK_ESCAPE) return false;
                if (m.wParam == VK_RETURN) return true;
                FollowArrow(t, m.wParam);
                break;
            default:
                TranslateMessage(&m);
                DispatchMessageA(&m);
                break;
        }
        if (!alive.Alive()) return false;
    }
    return false;
}

void TrackMoveSize(HWND hwnd, WPARAM command) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || (w->style & (WS_MINIMIZE | WS_MAXIMIZE))) return;
    Tracking t{hwnd, (command & 0xFFF0) == SC_MOVE, command & 0x000F, {}, WindowRectOnScreen(w), {}, {}};
    t.current = t.original;
    // Begun from the window menu (no hit code in the command), a move takes the pointer to the
    // middle of the caption and a size to the middle of the window.
    if ((command & 0x000F) == 0) {
        const RECT& r = t.original;
        const FrameLayout f = LayoutFrame(w);
        SetCursorPos((r.left + r.right) / 2, t.moving ? r.top + (f.caption.top + f.caption.bottom) / 2 : (r.top + r.bottom) / 2);
    }
    GetCursorPos(&t.start);
    SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&t.limits));
    WindowTracker alive(hwnd);
    SendMessageA(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    if (!alive.Alive()) return;
    SetCapture(hwnd);
    HDC screen = g_dragFullWindows ? nullptr : GetDC(nullptr);
    if (screen) InvertOutline(screen, t.current);
    g_moveSize = hwnd;
    const bool done = RunTrackingLoop(t, screen);
    g_moveSize = nullptr;
    if (screen) {
        InvertOutline(screen, t.current);
        ReleaseDC(nullptr, screen);
    }
    if (!alive.Alive()) return;
    if (GetCapture() == hwnd) ReleaseCapture();
    const RECT final = done ? t.current : t.original;
    RECT now{};
    GetWindowRect(hwnd, &now);
    if (!EqualRect(&final, &now)) PlaceAt(hwnd, final);
    if (alive.Alive()) SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

WPARAM ButtonCommand(HWND hwnd, LRESULT hit) {
    if (hit == HTCLOSE) return SC_CLOSE;
    if (hit == HTMINBUTTON) return IsIconic(hwnd) ? SC_RESTORE : SC_MINIMIZE;
    return IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE;
}

void ShowPushed(HWND hwnd, LRESULT hit) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || w->pushedButton == hit) return;
    w->pushedButton = hit;
    RedrawFrame(hwnd);
}

LRESULT HitAt(HWND hwnd, POINT screen) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return HTNOWHERE;
    const RECT wr = WindowRectOnScreen(w);
    return FrameHitTest(w, POINT{screen.x - wr.left, screen.y - wr.top});
}

// Tracks a press on a caption button until the release; true when released over it.
bool TrackCaptionButton(HWND hwnd, LRESULT hit) {
    WindowTracker alive(hwnd);
    SetCapture(hwnd);
    ShowPushed(hwnd, hit);
    bool over = true;
    MSG m;
    while (GetModalMessage(&m)) {
        if (!alive.Alive() || GetCapture() != hwnd) break;
        if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
            over = HitAt(hwnd, m.pt) == hit;
            ShowPushed(hwnd, over ? hit : 0);
            if (m.message == WM_LBUTTONUP) break;
            continue;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
        if (!alive.Alive()) break;
    }
    const bool released = alive.Alive() && GetCapture() == hwnd && m.message == WM_LBUTTONUP && over;
    if (!alive.Alive()) return false;
    if (GetCapture() == hwnd) ReleaseCapture();
    ShowPushed(hwnd, 0);
    return released;
}

bool ButtonEnabled(HWND hwnd, LRESULT hit) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return false;
    const FrameLayout f = LayoutFrame(w);
    if (hit == HTCLOSE) return !IsRectEmpty(&f.closeButton);
    if (hit == HTMINBUTTON) return f.minEnabled;
    return f.maxEnabled;
}

}  // namespace

HWND MoveSizeWindow() { return g_moveSize; }

LRESULT DefNonClientButtonDown(HWND hwnd, WPARAM hit, LPARAM screenPoint) {
    const LRESULT code = static_cast<LRESULT>(hit);
    if (code == HTCAPTION) {
        if (!IsZoomed(hwnd)) SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, screenPoint);
    } else if (code >= HTLEFT && code <= HTBOTTOMRIGHT) {
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_SIZE + static_cast<WPARAM>(code - HTLEFT + WMSZ_LEFT), screenPoint);
    } else if (code == HTSYSMENU) {
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU + HTSYSMENU, screenPoint);
    } else if (code == HTCLOSE || code == HTMINBUTTON || code == HTMAXBUTTON) {
        if (ButtonEnabled(hwnd, code) && TrackCaptionButton(hwnd, code))
            SendMessageA(hwnd, WM_SYSCOMMAND, ButtonCommand(hwnd, code), screenPoint);
    }
    return 0;
}

LRESULT DefNonClientDoubleClick(HWND hwnd, WPARAM hit) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return 0;
    if (hit == static_cast<WPARAM>(HTCAPTION) && (w->style & WS_MAXIMIZEBOX))
        SendMessageA(hwnd, WM_SYSCOMMAND, (w->style & (WS_MAXIMIZE | WS_MINIMIZE)) ? SC_RESTORE : SC_MAXIMIZE, 0);
    else if (hit == static_cast<WPARAM>(HTSYSMENU))
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    else if (hit == static_cast<WPARAM>(HTCLOSE) || hit == static_cast<WPARAM>(HTMINBUTTON) || hit == static_cast<WPARAM>(HTMAXBUTTON))
        DefNonClientButtonDown(hwnd, hit, 0);  // a quick second press is another press of the button
    return 0;
}

LRESULT DefSysCommand(HWND hwnd, WPARAM command, LPARAM lParam) {
    switch (command & 0xFFF0) {
        case SC_MOUSEMENU: ShowSystemMenu(hwnd); break;
        case SC_KEYMENU:
            if (lParam == ' ') ShowSystemMenu(hwnd);
            break;
        case SC_MOVE:
        case SC_SIZE: TrackMoveSize(hwnd, command); break;
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
        case SC_CLOSE: SendMessageA(hwnd, WM_CLOSE, 0, 0); break;
        default: break;
    }
    return 0;
}

bool DefSystemKey(HWND hwnd, UINT msg, WPARAM key) {
    const bool menu = msg == WM_SYSCHAR && key == ' ';
    const bool close = msg == WM_SYSKEYDOWN && key == kCloseKey;
    if (!menu && !close) return false;
    // A child passes the key on to the window whose frame it is.
    HWND top = GetAncestor(hwnd, GA_ROOT);
    if (!top) top = hwnd;
    SendMessageA(top, WM_SYSCOMMAND, menu ? SC_KEYMENU : SC_CLOSE, menu ? ' ' : 0);
    return true;
}

}  // namespace brimlox::user

BOOL GetDragFullWindows() { return brimlox::user::g_dragFullWindows ? TRUE : FALSE; }
void SetDragFullWindows(BOOL full) { brimlox::user::g_dragFullWindows = full != FALSE; }

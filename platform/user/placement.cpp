// Window states: minimised, maximised and normal windows (ShowWindow's SW_MINIMIZE,
// SW_MAXIMIZE and SW_RESTORE), the normal rectangle kept meanwhile, and
// Get/SetWindowPlacement. As on Windows, a minimised top-level window leaves the screen (it
// moves to -32000, -32000 with an empty client area) and the shell shows it as a button; a
// maximised one fills the work area with its border just beyond it.
#include <algorithm>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "platform/user/nonclient.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"
#include "platform/user/window_tracker.h"

namespace brimlox::user {

namespace {

constexpr int kIconicPosition = -32000;

std::vector<MinimizeObserver>& Observers() {
    static std::vector<MinimizeObserver> observers;
    return observers;
}

void NotifyObservers(HWND hwnd, bool minimised) {
    for (MinimizeObserver o : Observers()) o(hwnd, minimised);
}

// Moves a window to `r` after its state bits changed, so WM_NCCALCSIZE, WM_MOVE and WM_SIZE
// (with the size type of the new state) follow.
void PlaceInState(WindowObject* w, const RECT& r) {
    SetWindowPos(w->handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// A minimised window hands the activation on to the next window that can take it.
void PassActivationOn(HWND hwnd) {
    if (GetActiveWindow() != hwnd) return;
    HWND next = nullptr;
    for (HWND h : DesktopWindowObject().children) {
        WindowObject* t = LookupWindow(h);
        if (h == hwnd || !t || !t->Visible() || (t->style & WS_MINIMIZE) || (t->exStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW)))
            continue;
        next = h;
        break;
    }
    SetActiveWindow(next);
}

RECT MaximisedRect(const WindowObject* w) {
    RECT r = WorkArea();
    const RECT in = DefaultFrameInsets(w->style & ~(WS_MINIMIZE | WS_MAXIMIZE), w->exStyle);
    InflateRect(&r, in.left, in.left);
    if (w->IsChild())
        if (WindowObject* p = LookupWindow(w->parent)) r = RECT{-in.left, -in.left, ClientRectOf(p).right + in.left, ClientRectOf(p).bottom + in.left};
    return r;
}

void Minimise(WindowObject* w) {
    const HWND hwnd = w->handle;
    if (!(w->style & WS_MINIMIZE)) {
        if (!(w->style & WS_MAXIMIZE)) w->normalRect = w->rect;
        w->restoreMaximized = (w->style & WS_MAXIMIZE) != 0;
        w->style = (w->style & ~WS_MAXIMIZE) | WS_MINIMIZE;
        PlaceInState(w, RECT{kIconicPosition, kIconicPosition, kIconicPosition + GetSystemMetrics(SM_CXMINIMIZED),
                             kIconicPosition + GetSystemMetrics(SM_CYMINIMIZED)});
    }
    PassActivationOn(hwnd);
    if (LookupWindow(hwnd)) NotifyObservers(hwnd, true);
}

void Maximise(WindowObject* w) {
    const HWND hwnd = w->handle;
    const bool wasIconic = (w->style & WS_MINIMIZE) != 0;
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->normalRect = w->rect;
    w->style = (w->style & ~WS_MINIMIZE) | WS_MAXIMIZE;
    PlaceInState(w, MaximisedRect(w));
    if (wasIconic && LookupWindow(hwnd)) NotifyObservers(hwnd, false);
}

void Restore(WindowObject* w) {
    const HWND hwnd = w->handle;
    const bool wasIconic = (w->style & WS_MINIMIZE) != 0;
    if (wasIconic && w->restoreMaximized) {
        Maximise(w);
        return;
    }
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) return;
    w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    PlaceInState(w, w->normalRect);
    if (wasIconic && LookupWindow(hwnd)) NotifyObservers(hwnd, false);
}

}  // namespace

void AddMinimizeObserver(MinimizeObserver observer) {
    auto& list = Observers();
    if (std::find(list.begin(), list.end(), observer) == list.end()) list.push_back(observer);
}

namespace {

int g_reservedBottom = 0;

// A change of the work area re-fits the maximised top-level windows to it, as the shell's
// strip appearing or going does on Windows: a maximised window never lies under the strip nor
// leaves a gap where the strip was.
void RefitMaximisedWindows() {
    const std::vector<HWND> windows = DesktopWindowObject().children;
    for (HWND h : windows) {
        WindowObject* w = LookupWindow(h);
        if (!w || (w->style & (WS_MAXIMIZE | WS_MINIMIZE)) != WS_MAXIMIZE) continue;
        const RECT want = MaximisedRect(w);
        if (!EqualRect(&want, &w->rect)) PlaceInState(w, want);
    }
}

}  // namespace

void ReserveScreenBottom(int pixels) {
    pixels = std::max(0, pixels);
    if (pixels == g_reservedBottom) return;
    g_reservedBottom = pixels;
    RefitMaximisedWindows();
}

RECT WorkArea() {
    const auto& s = desktop::Desktop::Instance().Settings();
    return RECT{0, 0, s.width, std::max(0, s.height - g_reservedBottom)};
}

bool ApplyShowState(WindowObject* w, int cmd) {
    switch (cmd) {
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE: Minimise(w); return true;
        case SW_MAXIMIZE: Maximise(w); return true;
        case SW_RESTORE:
        case SW_SHOWNORMAL: Restore(w); return true;
        default: return false;
    }
}

}  // namespace brimlox::user

using namespace brimlox::user;

BOOL IsIconic(HWND hwnd) {
    WindowObject* w = LookupWindow(hwnd);
    return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
    WindowObject* w = LookupWindow(hwnd);
    return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL OpenIcon(HWND hwnd) { return IsIconic(hwnd) ? (ShowWindow(hwnd, SW_RESTORE), TRUE) : FALSE; }

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* p) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || w->isDesktop || !p) return FALSE;
    const bool iconic = (w->style & WS_MINIMIZE) != 0, zoomed = (w->style & WS_MAXIMIZE) != 0;
    p->length = sizeof(WINDOWPLACEMENT);
    p->flags = iconic && w->restoreMaximized ? WPF_RESTORETOMAXIMIZED : 0;
    p->showCmd = iconic ? SW_SHOWMINIMIZED : zoomed ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    p->ptMinPosition = iconic ? POINT{w->rect.left, w->rect.top} : POINT{-1, -1};
    p->ptMaxPosition = zoomed ? POINT{w->rect.left, w->rect.top} : POINT{-1, -1};
    p->rcNormalPosition = iconic || zoomed ? w->normalRect : w->rect;
    return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* p) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || w->isDesktop || !p || p->length != sizeof(WINDOWPLACEMENT)) return FALSE;
    const RECT& n = p->rcNormalPosition;
    if (n.right < n.left || n.bottom < n.top) return FALSE;
    w->normalRect = n;
    w->restoreMaximized = (p->flags & WPF_RESTORETOMAXIMIZED) != 0;
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE)))
        SetWindowPos(hwnd, nullptr, n.left, n.top, n.right - n.left, n.bottom - n.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!IsWindow(hwnd)) return FALSE;
    ShowWindow(hwnd, static_cast<int>(p->showCmd));
    return TRUE;
}

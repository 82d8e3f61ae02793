// The design surface on its form: subclassing the form's window, keeping the grab handles in
// step with the selection, and the geometry the gestures share (where a control is on the
// form, which control is under a point, the grid).
#include "apps/designer/design_surface.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "platform/user/user.h"

namespace brimlox::designer {

namespace {

// The surfaces by their form's window, for the subclass procedure. An entry outlives its
// surface when another procedure was put on the window after ours: the window then keeps
// calling ours, which passes everything on to the original.
struct Subclass {
    DesignSurface* surface;
    LONG_PTR original;
};

std::unordered_map<HWND, Subclass>& Subclasses() {
    static std::unordered_map<HWND, Subclass> map;
    return map;
}

// The same for the watched control windows.
std::unordered_map<HWND, Subclass>& Watched() {
    static std::unordered_map<HWND, Subclass> map;
    return map;
}

// Takes our procedure off a window if it is still the outermost one; otherwise the entry
// stays, without its surface, to pass the messages on.
void Unsubclass(std::unordered_map<HWND, Subclass>& map, HWND hwnd, WNDPROC ours) {
    auto it = map.find(hwnd);
    if (it == map.end()) return;
    const bool oursOnTop = IsWindow(hwnd) && GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(ours);
    if (oursOnTop) SetWindowLongPtrA(hwnd, GWLP_WNDPROC, it->second.original);
    if (oursOnTop || !IsWindow(hwnd)) map.erase(it);
    else it->second.surface = nullptr;
}

}  // namespace

DesignSurface::DesignSurface(DesignDocument& document) : document_(document) {
    formWindow_ = document_.Form().hWnd();
    handles_ = std::make_unique<GrabHandles>(
        formWindow_, [this](UINT msg, GrabPlace place, POINT p) { OnHandleMouse(msg, place, p); });
    formProc_ = SetWindowLongPtrA(formWindow_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DesignSurface::FormProc));
    Subclasses()[formWindow_] = Subclass{this, formProc_};
    selectionListener_ = document_.AddSelectionListener([this] {
        WatchSelection();
        RefreshHandles();
    });
    rebuildListener_ = document_.AddRebuildListener([this] {
        CancelGesture();
        WatchSelection();
        RefreshHandles();
    });
    WatchSelection();
    RefreshHandles();
}

DesignSurface::~DesignSurface() {
    document_.RemoveListener(selectionListener_);
    document_.RemoveListener(rebuildListener_);
    if (drag_.gesture != Gesture::None) CancelGesture();
    UnwatchAll();
    handles_.reset();
    Unsubclass(Subclasses(), formWindow_, &DesignSurface::FormProc);
}

LRESULT CALLBACK DesignSurface::FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto it = Subclasses().find(hwnd);
    if (it == Subclasses().end()) return DefWindowProcA(hwnd, msg, wParam, lParam);
    const Subclass entry = it->second;
    if (msg == WM_NCDESTROY) Subclasses().erase(it);
    if (entry.surface && msg != WM_NCDESTROY) return entry.surface->OnFormMessage(msg, wParam, lParam);
    return CallWindowProcA(reinterpret_cast<WNDPROC>(entry.original), hwnd, msg, wParam, lParam);
}

LRESULT DesignSurface::OnFormMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
        case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
            Press(p);
            return 0;
        case WM_MOUSEMOVE:
            if (drag_.gesture != Gesture::None) DragTo(p);
            return 0;
        case WM_LBUTTONUP:
            if (drag_.gesture != Gesture::None) Release(p);
            return 0;
        case WM_CAPTURECHANGED:
            // Someone else took the mouse in the middle of a gesture: it is cancelled.
            if (drag_.gesture != Gesture::None && reinterpret_cast<HWND>(lParam) != formWindow_) CancelGesture();
            return 0;
        case WM_KEYDOWN: {
            int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                        (GetKeyState(VK_MENU) < 0 ? 4 : 0);
            if (HandleKey(wParam, shift)) return 0;
            break;
        }
        case WM_SETCURSOR:
            if (!placingType_.empty() && LOWORD(static_cast<DWORD>(lParam)) == HTCLIENT) {
                SetCursor(LoadCursorA(nullptr, IDC_CROSS));
                return TRUE;
            }
            break;
        default: break;
    }
    return CallWindowProcA(reinterpret_cast<WNDPROC>(formProc_), formWindow_, msg, wParam, lParam);
}

void DesignSurface::SetPlacingType(std::string typeName) {
    placingType_ = std::move(typeName);
}

void DesignSurface::SetGridTwips(std::int32_t twips) {
    gridTwips_ = std::max<std::int32_t>(0, twips);
}

std::int32_t DesignSurface::Snap(std::int32_t twips) const {
    if (gridTwips_ <= 0) return twips;
    return static_cast<std::int32_t>(std::lround(static_cast<double>(twips) / gridTwips_)) * gridTwips_;
}

RECT DesignSurface::RectOnForm(const host::Control& control) const {
    RECT r{};
    if (!control.hWnd()) return r;
    GetWindowRect(control.hWnd(), &r);
    MapWindowPoints(nullptr, formWindow_, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::shared_ptr<host::Control> DesignSurface::Shared(const host::Control* control) const {
    if (!control) return nullptr;
    for (const auto& c : document_.Form().Controls())
        if (c.get() == control) return c;
    return nullptr;
}

bool DesignSurface::IsSelected(const host::Control& control) const {
    const auto& selection = document_.Selection();
    return std::any_of(selection.begin(), selection.end(), [&](const auto& c) { return c.get() == &control; });
}

// The topmost visible control under a point of the form, descending into containers; the
// walk follows the windows' z-order, so what is drawn on top is what is found.
std::shared_ptr<host::Control> DesignSurface::ControlAt(POINT formPoint, host::Control* within) const {
    HWND parent = within ? within->hWnd() : formWindow_;
    if (!parent) return nullptr;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (!IsWindowVisible(h)) continue;
        RECT r{};
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, formWindow_, reinterpret_cast<POINT*>(&r), 2);
        if (!PtInRect(&r, formPoint)) continue;
        std::shared_ptr<host::Control> hit;
        for (const auto& c : document_.Form().Controls())
            if (c->hWnd() == h) hit = c;
        if (!hit) continue;  // a grab handle or a window of a control's own
        if (hit->IsContainer())
            if (auto inner = ControlAt(formPoint, hit.get())) return inner;
        return hit;
    }
    return nullptr;
}

void DesignSurface::WatchSelection() {
    UnwatchAll();
    for (const auto& c : document_.Selection()) {
        HWND h = c ? c->hWnd() : nullptr;
        if (!h || Watched().contains(h)) continue;
        const LONG_PTR original =
            SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DesignSurface::WatchProc));
        Watched()[h] = Subclass{this, original};
        watched_.push_back(h);
    }
}

void DesignSurface::UnwatchAll() {
    for (HWND h : watched_) Unsubclass(Watched(), h, &DesignSurface::WatchProc);
    watched_.clear();
}

LRESULT CALLBACK DesignSurface::WatchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto it = Watched().find(hwnd);
    if (it == Watched().end()) return DefWindowProcA(hwnd, msg, wParam, lParam);
    const Subclass entry = it->second;
    if (msg == WM_NCDESTROY) {
        Watched().erase(it);
        if (entry.surface) std::erase(entry.surface->watched_, hwnd);
    }
    const LRESULT result = CallWindowProcA(reinterpret_cast<WNDPROC>(entry.original), hwnd, msg, wParam, lParam);
    // A gesture of the surface places the handles itself (or hides them while it moves).
    if ((msg == WM_MOVE || msg == WM_SIZE) && entry.surface && entry.surface->drag_.gesture == Gesture::None)
        entry.surface->RefreshHandles();
    return result;
}

void DesignSurface::RefreshHandles() {
    if (!handles_) return;
    std::vector<RECT> rects;
    for (const auto& c : document_.Selection())
        if (c && c->hWnd() && IsWindowVisible(c->hWnd())) rects.push_back(RectOnForm(*c));
    handles_->Show(rects);
}

}  // namespace brimlox::designer

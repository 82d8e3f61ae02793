// The grab handle windows: placing them around the selection, painting them, their cursors,
// and handing their mouse messages to the design surface.
#include "apps/designer/grab_handles.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/user/user.h"

namespace brimlox::designer {

namespace {

constexpr const char* kHandleClass = "BrimloxGrabHandle";

LPCSTR CursorOf(GrabPlace place) {
    switch (place) {
        case kTopLeft: case kBottomRight: return IDC_SIZENWSE;
        case kTopRight: case kBottomLeft: return IDC_SIZENESW;
        case kTop: case kBottom: return IDC_SIZENS;
        default: return IDC_SIZEWE;
    }
}

}  // namespace

GrabHandles::GrabHandles(HWND form, MouseHandler handler) : form_(form), handler_(std::move(handler)) {
    user::EnsureWindowClass(kHandleClass, HandleProc, 0);
}

GrabHandles::~GrabHandles() {
    for (HWND h : windows_)
        if (IsWindow(h)) {
            SetWindowLongPtrA(h, GWLP_USERDATA, 0);
            DestroyWindow(h);
        }
}

RECT GrabHandles::HandleRect(const RECT& r, GrabPlace place) {
    // Each handle is centred on its corner or on the middle of its edge.
    const int half = kSize / 2;
    const int xs[3] = {r.left - half, (r.left + r.right) / 2 - half, r.right - half};
    const int ys[3] = {r.top - half, (r.top + r.bottom) / 2 - half, r.bottom - half};
    static constexpr int kColumn[kGrabPlaces] = {0, 1, 2, 2, 2, 1, 0, 0};
    static constexpr int kRow[kGrabPlaces] = {0, 0, 0, 1, 2, 2, 2, 1};
    const int x = xs[kColumn[place]];
    const int y = ys[kRow[place]];
    return RECT{x, y, x + kSize, y + kSize};
}

HWND GrabHandles::MakeWindow() {
    HWND h = CreateWindowExA(0, kHandleClass, "", WS_CHILD, 0, 0, kSize, kSize, form_, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    windows_.push_back(h);
    slots_.push_back(Slot{this, kTopLeft, true});
    return h;
}

void GrabHandles::Show(std::span<const RECT> rects) {
    const std::size_t wanted = rects.size() * kGrabPlaces;
    while (windows_.size() < wanted) MakeWindow();
    for (std::size_t i = 0; i < wanted; ++i) {
        const auto place = static_cast<GrabPlace>(i % kGrabPlaces);
        const bool solid = i < kGrabPlaces;
        const RECT r = HandleRect(rects[i / kGrabPlaces], place);
        const bool repaint = slots_[i].solid != solid;
        slots_[i] = Slot{this, place, solid};
        SetWindowPos(windows_[i], HWND_TOP, r.left, r.top, kSize, kSize, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        if (repaint) InvalidateRect(windows_[i], nullptr, TRUE);
    }
    for (std::size_t i = wanted; i < shown_; ++i) ShowWindow(windows_[i], SW_HIDE);
    shown_ = wanted;
}

GrabHandles::Slot* GrabHandles::SlotOf(HWND hwnd) {
    auto* owner = reinterpret_cast<GrabHandles*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!owner) return nullptr;
    auto it = std::find(owner->windows_.begin(), owner->windows_.end(), hwnd);
    return it == owner->windows_.end() ? nullptr : &owner->slots_[static_cast<std::size_t>(it - owner->windows_.begin())];
}

void GrabHandles::OnMouse(HWND hwnd, const Slot& slot, UINT msg, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(hwnd, form_, &p, 1);
    if (msg == WM_LBUTTONDOWN) SetCapture(hwnd);
    // The handler may move or hide the handles: copy what it needs first.
    const GrabPlace place = slot.place;
    MouseHandler handler = handler_;
    if (handler) handler(msg, place, p);
    // The capture goes after the release was handled, so its WM_CAPTURECHANGED finds the
    // gesture finished rather than cancelling it.
    if (msg == WM_LBUTTONUP && IsWindow(hwnd) && GetCapture() == hwnd) ReleaseCapture();
}

LRESULT CALLBACK GrabHandles::HandleProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Slot* slot = SlotOf(hwnd);
    if (!slot) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_SETCURSOR:
            SetCursor(LoadCursorA(nullptr, CursorOf(slot->place)));
            return TRUE;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT r{0, 0, kSize, kSize};
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            if (!slot->solid) {
                // A hollow handle: white inside a one-pixel black frame.
                RECT inner{1, 1, kSize - 1, kSize - 1};
                FillRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            }
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN: case WM_MOUSEMOVE: case WM_LBUTTONUP:
            slot->owner->OnMouse(hwnd, *slot, msg, lParam);
            return 0;
        case WM_CAPTURECHANGED: {
            Slot copy = *slot;
            if (copy.owner->handler_) copy.owner->handler_(msg, copy.place, POINT{});
            return 0;
        }
        default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace brimlox::designer

// GrabHandles: the eight small squares around each selected control on a design-mode form.
// They are child windows of the form kept at the top of its z-order, so they stay above the
// controls and get the mouse themselves (the controls let it through to the form, the handles
// do not). Each shows the sizing cursor of its place; a press, the moves and the release on a
// handle go to the owner's handler in form client pixels.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "platform/user/winuser.h"

namespace brimlox::designer {

// The places of the handles around a rectangle, clockwise from the top-left corner.
enum GrabPlace : int { kTopLeft, kTop, kTopRight, kRight, kBottomRight, kBottom, kBottomLeft, kLeft, kGrabPlaces };

class GrabHandles {
public:
    static constexpr int kSize = 6;
    // The mouse on a handle: the message (WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP,
    // WM_CAPTURECHANGED), the handle's place and the point in the form's client pixels.
    using MouseHandler = std::function<void(UINT message, GrabPlace place, POINT formPoint)>;

    GrabHandles(HWND form, MouseHandler handler);
    ~GrabHandles();
    GrabHandles(const GrabHandles&) = delete;
    GrabHandles& operator=(const GrabHandles&) = delete;

    // Puts one set of handles around each rectangle (form client pixels); the first set is
    // solid, the others hollow. An empty list hides them all.
    void Show(std::span<const RECT> rects);
    // The handle rectangle of `place` around `r`.
    static RECT HandleRect(const RECT& r, GrabPlace place);
    // Whether `place` moves the left, top, right or bottom edge.
    static bool MovesLeft(GrabPlace p) { return p == kTopLeft || p == kLeft || p == kBottomLeft; }
    static bool MovesTop(GrabPlace p) { return p == kTopLeft || p == kTop || p == kTopRight; }
    static bool MovesRight(GrabPlace p) { return p == kTopRight || p == kRight || p == kBottomRight; }
    static bool MovesBottom(GrabPlace p) { return p == kBottomLeft || p == kBottom || p == kBottomRight; }
    std::size_t VisibleCount() const { return shown_; }
    HWND Window(std::size_t i) const { return i < windows_.size() ? windows_[i] : nullptr; }

private:
    struct Slot {
        GrabHandles* owner;
        GrabPlace place;
        bool solid;
    };
    static LRESULT CALLBACK HandleProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static Slot* SlotOf(HWND hwnd);
    HWND MakeWindow();
    void OnMouse(HWND hwnd, const Slot& slot, UINT msg, LPARAM lParam);

    HWND form_;
    MouseHandler handler_;
    std::vector<HWND> windows_;  // created on demand, reused; the first shown_ are visible
    std::vector<Slot> slots_;
    std::size_t shown_ = 0;
};

}  // namespace brimlox::designer

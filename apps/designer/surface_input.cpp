// The design surface's mouse gestures. A press on the form (or on a grab handle) starts one,
// the moves carry it on, the release finishes it with one Commit; Escape or a lost capture
// cancels it and puts the controls back.
//
//   press on ...                    gesture   moves                  release
//   empty form                      Band      XOR outline            select what it touches
//                                                                    (a click: the form)
//   unselected container            Pending   past the drag distance: the click selects the
//                                             Band in the container  container
//   selected container, or control  Move      the selection follows  Commit("Move")
//     (unselected: selected first)            snapped to the grid,   (handles back)
//                                             handles hidden
//   control with Ctrl               -         -                      (toggled at the press)
//   grab handle                     Size      the edges follow       Commit("Size")
//   anything, with a placing type   Place     XOR outline            Place (a click: default
//                                                                    size), then onPlaced
#include <algorithm>
#include <cstdlib>

#include "apps/designer/design_surface.h"
#include "platform/host/control_registry.h"
#include "platform/user/keyboard_cues.h"
#include "platform/user/user.h"

namespace brimlox::designer {

namespace {

RECT Normalised(POINT a, POINT b) {
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool BeyondDragDistance(POINT a, POINT b) {
    return std::abs(a.x - b.x) > GetSystemMetrics(SM_CXDRAG) / 2 || std::abs(a.y - b.y) > GetSystemMetrics(SM_CYDRAG) / 2;
}

RECT TwipsOf(const host::Control& c) {
    return RECT{c.Left(), c.Top(), c.Left() + c.Width(), c.Top() + c.Height()};
}

}  // namespace

void DesignSurface::Press(POINT p) {
    SetFocus(formWindow_);  // the keys of the design come to the form
    if (drag_.gesture != Gesture::None) return;
    drag_ = Drag{};
    drag_.start = drag_.last = p;
    std::shared_ptr<host::Control> hit = ControlAt(p);
    if (!placingType_.empty()) {
        drag_.gesture = Gesture::Place;
        drag_.container = hit ? (hit->IsContainer() ? hit.get() : hit->ContainerControl()) : nullptr;
    } else if (!hit) {
        drag_.gesture = Gesture::Band;
    } else if (GetKeyState(VK_CONTROL) < 0) {
        std::vector<std::shared_ptr<host::Control>> selection = document_.Selection();
        auto it = std::find(selection.begin(), selection.end(), hit);
        if (it != selection.end()) selection.erase(it);
        else selection.push_back(hit);
        document_.Select(std::move(selection));
        return;
    } else if (hit->IsContainer() && !IsSelected(*hit)) {
        drag_.gesture = Gesture::Pending;
        drag_.pressed = hit;
        drag_.container = hit.get();
    } else {
        if (!IsSelected(*hit)) document_.Select({hit});
        drag_.pressed = hit;
        BeginMove();
    }
    SetCapture(formWindow_);
}

void DesignSurface::BeginMove() {
    drag_.gesture = Gesture::Move;
    drag_.original.clear();
    for (const auto& c : document_.Selection()) drag_.original.push_back(TwipsOf(*c));
}

void DesignSurface::OnHandleMouse(UINT msg, GrabPlace place, POINT p) {
    if (msg == WM_LBUTTONDOWN && drag_.gesture == Gesture::None && !document_.Selection().empty()) {
        SetFocus(formWindow_);
        drag_ = Drag{};
        drag_.start = drag_.last = p;
        drag_.place = place;
        BeginMove();
        drag_.gesture = Gesture::Size;
    } else if (msg == WM_MOUSEMOVE && drag_.gesture == Gesture::Size) {
        DragTo(p);
    } else if (msg == WM_LBUTTONUP && drag_.gesture == Gesture::Size) {
        Release(p);
    } else if (msg == WM_CAPTURECHANGED && drag_.gesture == Gesture::Size) {
        CancelGesture();
    }
}

void DesignSurface::DragTo(POINT p) {
    drag_.last = p;
    switch (drag_.gesture) {
        case Gesture::Pending:
            if (BeyondDragDistance(drag_.start, p)) {
                drag_.gesture = Gesture::Band;
                DrawOutline(Normalised(drag_.start, p));
            }
            break;
        case Gesture::Move: MoveSelection(p); break;
        case Gesture::Size: SizeSelection(p); break;
        case Gesture::Band:
        case Gesture::Place: DrawOutline(Normalised(drag_.start, p)); break;
        case Gesture::None: break;
    }
}

// Moves every selected control by the distance the first one moves to its snapped place; a
// control whose container is selected too moves with its container only.
void DesignSurface::MoveSelection(POINT p) {
    const auto& selection = document_.Selection();
    if (selection.empty() || drag_.original.size() != selection.size()) return;
    const int tpp = host::TwipsPerPixel();
    const RECT& first = drag_.original.front();
    const std::int32_t dx = Snap(first.left + (p.x - drag_.start.x) * tpp) - first.left;
    const std::int32_t dy = Snap(first.top + (p.y - drag_.start.y) * tpp) - first.top;
    if (dx == 0 && dy == 0 && TwipsOf(*selection.front()) == first) return;
    // The handles stay away while the selection travels and come back where it lands: moving
    // eight windows a step would repaint the form under each of them.
    handles_->Show({});
    for (std::size_t i = 0; i < selection.size(); ++i) {
        host::Control& c = *selection[i];
        if (c.ContainerControl() && IsSelected(*c.ContainerControl())) continue;
        const RECT& r = drag_.original[i];
        if (c.Left() != r.left + dx || c.Top() != r.top + dy) c.Move(r.left + dx, r.top + dy, c.Width(), c.Height());
    }
}

// Moves the edges the handle holds: the first control's edge goes to its snapped place and
// every selected control's same edge moves as far. No control gets narrower than one pixel.
void DesignSurface::SizeSelection(POINT p) {
    const auto& selection = document_.Selection();
    if (selection.empty() || drag_.original.size() != selection.size()) return;
    const int tpp = host::TwipsPerPixel();
    const RECT& first = drag_.original.front();
    const std::int32_t dx = (p.x - drag_.start.x) * tpp;
    const std::int32_t dy = (p.y - drag_.start.y) * tpp;
    const GrabPlace place = drag_.place;
    const std::int32_t dl = GrabHandles::MovesLeft(place) ? Snap(first.left + dx) - first.left : 0;
    const std::int32_t dt = GrabHandles::MovesTop(place) ? Snap(first.top + dy) - first.top : 0;
    const std::int32_t dr = GrabHandles::MovesRight(place) ? Snap(first.right + dx) - first.right : 0;
    const std::int32_t db = GrabHandles::MovesBottom(place) ? Snap(first.bottom + dy) - first.bottom : 0;
    for (std::size_t i = 0; i < selection.size(); ++i) {
        const RECT& r = drag_.original[i];
        RECT n{r.left + dl, r.top + dt, r.right + dr, r.bottom + db};
        if (n.right - n.left < tpp) (dl != 0 ? n.left : n.right) = dl != 0 ? n.right - tpp : n.left + tpp;
        if (n.bottom - n.top < tpp) (dt != 0 ? n.top : n.bottom) = dt != 0 ? n.bottom - tpp : n.top + tpp;
        host::Control& c = *selection[i];
        if (TwipsOf(c) != n) c.Move(n.left, n.top, n.right - n.left, n.bottom - n.top);
    }
    RefreshHandles();
}

void DesignSurface::Release(POINT p) {
    DragTo(p);
    const Drag done = drag_;
    EraseOutline();
    EndGesture();
    if (done.gesture == Gesture::Move) RefreshHandles();
    switch (done.gesture) {
        case Gesture::Pending: document_.Select({done.pressed}); break;
        case Gesture::Band:
            // A click on the empty form selects the form itself.
            if (BeyondDragDistance(done.start, p)) FinishBand(Normalised(done.start, p), done.container);
            else document_.Select({});
            break;
        case Gesture::Place: FinishPlace(p, done); break;
        case Gesture::Move:
        case Gesture::Size: {
            const auto& selection = document_.Selection();
            bool changed = false;
            for (std::size_t i = 0; i < selection.size() && i < done.original.size(); ++i)
                changed = changed || TwipsOf(*selection[i]) != done.original[i];
            if (changed) document_.Commit(done.gesture == Gesture::Move ? "Move" : "Size");
            break;
        }
        case Gesture::None: break;
    }
}

void DesignSurface::EndGesture() {
    drag_.gesture = Gesture::None;
    // The gesture is over before the capture goes, so WM_CAPTURECHANGED cancels nothing.
    HWND capture = GetCapture();
    if (capture == formWindow_ || (capture && GetParent(capture) == formWindow_)) ReleaseCapture();
}

void DesignSurface::CancelGesture() {
    if (drag_.gesture == Gesture::None) return;
    EraseOutline();
    if (drag_.gesture == Gesture::Move || drag_.gesture == Gesture::Size) RestoreOriginal();
    EndGesture();
    RefreshHandles();
}

void DesignSurface::RestoreOriginal() {
    const auto& selection = document_.Selection();
    for (std::size_t i = 0; i < selection.size() && i < drag_.original.size(); ++i) {
        const RECT& r = drag_.original[i];
        if (TwipsOf(*selection[i]) != r) selection[i]->Move(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
}

// The band and the new control's rectangle are XOR outlines on the screen, over the
// controls; drawing one again takes it away.
void DesignSurface::DrawOutline(RECT formRect) {
    EraseOutline();
    if (formRect.right - formRect.left < 1 || formRect.bottom - formRect.top < 1) return;
    MapWindowPoints(formWindow_, nullptr, reinterpret_cast<POINT*>(&formRect), 2);
    HDC screen = GetDC(nullptr);
    DrawFocusRect(screen, &formRect);
    ReleaseDC(nullptr, screen);
    drag_.outline = formRect;
    drag_.outlineShown = true;
}

void DesignSurface::EraseOutline() {
    if (!drag_.outlineShown) return;
    HDC screen = GetDC(nullptr);
    DrawFocusRect(screen, &drag_.outline);
    ReleaseDC(nullptr, screen);
    drag_.outlineShown = false;
}

// Selects the controls of the band's container that the band touches.
void DesignSurface::FinishBand(RECT formRect, host::Control* container) {
    std::vector<std::shared_ptr<host::Control>> touched;
    for (const auto& c : document_.Form().Controls()) {
        if (c->ContainerControl() != container || !c->hWnd() || !IsWindowVisible(c->hWnd())) continue;
        const RECT r = RectOnForm(*c);
        RECT both{};
        // A band of no width or height still touches what it crosses.
        const RECT band{formRect.left, formRect.top, std::max(formRect.right, formRect.left + 1),
                        std::max(formRect.bottom, formRect.top + 1)};
        if (IntersectRect(&both, &r, &band)) touched.push_back(c);
    }
    document_.Select(std::move(touched));
}

}  // namespace brimlox::designer

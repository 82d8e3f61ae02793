// The design surface's keys and its placing of new controls.
#include <algorithm>
#include <stdexcept>

#include "apps/designer/design_surface.h"
#include "platform/host/control_registry.h"
#include "platform/user/user.h"

namespace brimlox::designer {

// The new control's rectangle in twips of its container's client area: the dragged rectangle
// snapped to the grid, or for a click the type's default size (what Form::Add gives a new
// control) with its top-left corner at the snapped click.
RECT DesignSurface::PlacedTwips(POINT p, const Drag& done) const {
    const int tpp = host::TwipsPerPixel();
    HWND target = done.container && done.container->hWnd() ? done.container->hWnd() : formWindow_;
    POINT corners[2] = {{std::min(done.start.x, p.x), std::min(done.start.y, p.y)},
                        {std::max(done.start.x, p.x), std::max(done.start.y, p.y)}};
    MapWindowPoints(formWindow_, target, corners, 2);
    RECT twips{Snap(corners[0].x * tpp), Snap(corners[0].y * tpp), Snap(corners[1].x * tpp), Snap(corners[1].y * tpp)};
    const bool dragged = std::abs(p.x - done.start.x) > GetSystemMetrics(SM_CXDRAG) / 2 ||
                         std::abs(p.y - done.start.y) > GetSystemMetrics(SM_CYDRAG) / 2;
    if (dragged) {
        // A drag smaller than one grid step still gives a control of one step.
        const std::int32_t step = gridTwips_ > 0 ? gridTwips_ : tpp;
        twips.right = std::max(twips.right, twips.left + step);
        twips.bottom = std::max(twips.bottom, twips.top + step);
        return twips;
    }
    // An unsited instance carries the size the host gives a new control of the type.
    std::shared_ptr<host::Control> probe = host::CreateControl(placingType_);
    const std::int32_t width = probe ? probe->Width() : 1200;
    const std::int32_t height = probe ? probe->Height() : 600;
    return RECT{twips.left, twips.top, twips.left + width, twips.top + height};
}

void DesignSurface::FinishPlace(POINT p, const Drag& done) {
    const RECT twips = PlacedTwips(p, done);
    const std::string type = placingType_;
    placingType_.clear();  // one placement per pick, as the toolbox goes back to the pointer
    try {
        document_.Place(type, done.container, twips);
    } catch (const std::exception& e) {
        // The window procedure must not let the host's refusal through; the user is told.
        MessageBoxA(formWindow_, e.what(), "Place", MB_OK);
    }
    if (onPlaced_) onPlaced_();
}

bool DesignSurface::HandleKey(WPARAM vk, int shift) {
    const bool shiftKey = (shift & 1) != 0;
    const bool ctrl = (shift & 2) != 0;
    if (vk == VK_ESCAPE) {
        if (drag_.gesture != Gesture::None) {
            CancelGesture();
            return true;
        }
        const auto& selection = document_.Selection();
        if (selection.empty()) return false;
        // Up one level: the first selected control's container, or the form.
        std::shared_ptr<host::Control> parent = Shared(selection.front()->ContainerControl());
        document_.Select(parent ? std::vector<std::shared_ptr<host::Control>>{parent}
                                : std::vector<std::shared_ptr<host::Control>>{});
        return true;
    }
    if (drag_.gesture != Gesture::None) return false;  // keys wait for the mouse gesture
    if (vk == VK_DELETE) {
        if (document_.Selection().empty()) return false;
        const std::vector<std::shared_ptr<host::Control>> doomed = document_.Selection();
        document_.Delete(doomed);
        return true;
    }
    if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) return MoveOrSizeByKey(vk, shiftKey, ctrl);
    return false;
}

// One arrow key: moves the selection (or with `size` widens or heightens it) by one grid step,
// or one pixel when `fine`; no control gets narrower than one pixel. One Commit.
bool DesignSurface::MoveOrSizeByKey(WPARAM vk, bool size, bool fine) {
    const std::vector<std::shared_ptr<host::Control>> selection = document_.Selection();
    if (selection.empty()) return false;
    const int tpp = host::TwipsPerPixel();
    const std::int32_t step = fine || gridTwips_ <= 0 ? tpp : gridTwips_;
    const std::int32_t dx = vk == VK_LEFT ? -step : vk == VK_RIGHT ? step : 0;
    const std::int32_t dy = vk == VK_UP ? -step : vk == VK_DOWN ? step : 0;
    for (const auto& c : selection) {
        if (c->ContainerControl() && IsSelected(*c->ContainerControl())) continue;
        if (size) c->Move(c->Left(), c->Top(), std::max(tpp, c->Width() + dx), std::max(tpp, c->Height() + dy));
        else c->Move(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    document_.Commit(size ? "Size" : "Move");
    RefreshHandles();
    return true;
}

}  // namespace brimlox::designer

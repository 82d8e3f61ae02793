// SplitWindow: a move released with Ctrl drops the window into the container control under
// the pointer. The window itself and every control inside it are never candidates, so a drop
// can never make the window contain itself; the innermost container under the pointer wins.
#include <algorithm>
#include <cmath>

#include "controls/splitwindow/splitwindow.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

// How many containers enclose a control on its form.
int Depth(const host::Control& c) {
    int depth = 0;
    for (const host::Control* p = c.ContainerControl(); p; p = p->ContainerControl()) ++depth;
    return depth;
}

}  // namespace

// True when `c` is this window or lies inside it.
bool SplitWindow::IsSelfOrInside(const host::Control& c) const {
    for (const host::Control* p = &c; p; p = p->ContainerControl())
        if (p == this) return true;
    return false;
}

// The innermost visible container control of the form whose window holds the screen point.
std::shared_ptr<host::Control> SplitWindow::DropTargetAt(POINT screen) const {
    const host::Form* form = ParentForm();
    if (!form) return nullptr;
    std::shared_ptr<host::Control> best;
    for (const auto& c : form->Controls()) {
        if (!c->IsContainer() || !c->hWnd() || c->Terminated() || IsSelfOrInside(*c)) continue;
        if (!IsWindowVisible(c->hWnd())) continue;
        RECT r{};
        GetWindowRect(c->hWnd(), &r);
        if (!PtInRect(&r, screen)) continue;
        if (!best || Depth(*c) > Depth(*best)) best = c;
    }
    return best;
}

bool SplitWindow::DropIntoControlUnderPointer() {
    POINT pointer{};
    GetCursorPos(&pointer);
    auto target = DropTargetAt(pointer);
    if (!target || !hWnd()) return false;
    // The window keeps its place on the screen, held inside the new container's area.
    POINT origin{0, 0};
    ClientToScreen(hWnd(), &origin);
    ScreenToClient(target->hWnd(), &origin);
    if (!host::TryInvoke([&] { SetContainer(target); }) || ContainerControl() != target.get()) return false;
    if (Align() != host::kAlignNone) host::TryInvoke([&] { SetAlign(host::kAlignNone); });
    RefreshContainerArea();
    const ContainerArea& a = containerArea_;
    double left = origin.x * TwipsPerPixelX(), top = origin.y * TwipsPerPixelY();
    left = std::max<double>(a.left, std::min<double>(left, a.left + a.width - Width()));
    top = std::max<double>(a.top, std::min<double>(top, a.top + a.height - Height()));
    host::TryInvoke([&] {
        Move(static_cast<std::int32_t>(std::lround(left)), static_cast<std::int32_t>(std::lround(top)), Width(),
             Height());
    });
    ZOrder(0);
    host::TryInvoke([&] { host::CallMethod(*target, "Refresh"); });
    return true;
}

}  // namespace brimlox::controls

// SplitWindow: the mouse handlers and the cursor timer. A left press on a gap of an active
// splitter drags the gap (splitwindow_drag.cpp); any other press is reported, after a move or
// sizing set-up for an active control. The timer (100 ms) follows the mouse over the control,
// chooses the pointer, hands an open menu over to the next button of a tool bar, and keeps the
// panes in step with children that code moved.
//
// Mouse tracking on the timer's ticks:
//   outside --tick inside--> armed --tick inside--> inside (MouseEnter)
//   inside  --tick inside at a new position--> MouseOver(x, y)
//   armed or inside --tick outside--> outside (MouseExit when it was inside)
#include <algorithm>
#include <cmath>

#include "controls/splitwindow/splitwindow.h"
#include "menus/popup_menu.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

constexpr int kCursorIntervalMs = 100;
constexpr std::int16_t kPointerDefault = 0;
constexpr std::int16_t kPointerSizeNS = 7;
constexpr std::int16_t kPointerSizeWE = 9;

bool ButtonDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

}  // namespace

// ---- Mouse handlers ----------------------------------------------------------------------------

void SplitWindow::MouseDown(int button, int shift, float x, float y) {
    mouseInfo_ = CmdMouseInfo{static_cast<std::int16_t>(button), static_cast<std::int16_t>(shift), x, y};
    const float tx = ScaleX(x, ScaleMode(), host::kScaleTwips), ty = ScaleY(y, ScaleMode(), host::kScaleTwips);
    auto alive = alive_;
    if (button == 1 && active_) {
        if (StartSplitterDrag(tx, ty)) return;
        BeginMoveOrSize(button, shift, tx, ty);
        if (!*alive) return;
    }
    auto b = static_cast<std::int16_t>(button), s = static_cast<std::int16_t>(shift);
    RaiseEvent("MouseDown", b, s, x, y);
    if (*alive && button == 2) RightPress(tx, ty);
}

void SplitWindow::MouseMove(int button, int shift, float x, float y) {
    mouseInfo_.x = x;
    mouseInfo_.y = y;
    const float tx = ScaleX(x, ScaleMode(), host::kScaleTwips), ty = ScaleY(y, ScaleMode(), host::kScaleTwips);
    auto alive = alive_;
    if ((button & 1) && (moving_ || sizing_)) ContinueMoveOrSize(button, shift, tx, ty);
    else if (active_) TickPointer(tx, ty);
    if (!*alive) return;
    auto b = static_cast<std::int16_t>(button), s = static_cast<std::int16_t>(shift);
    RaiseEvent("MouseMove", b, s, x, y);
}

void SplitWindow::MouseUp(int button, int shift, float x, float y) {
    auto b = static_cast<std::int16_t>(button), s = static_cast<std::int16_t>(shift);
    auto alive = alive_;
    RaiseEvent("MouseUp", b, s, x, y);
    if (!*alive) return;
    if (moving_ || sizing_) {
        EndMoveOrSize(button, shift, ScaleX(x, ScaleMode(), host::kScaleTwips),
                      ScaleY(y, ScaleMode(), host::kScaleTwips));
    }
}

void SplitWindow::Click() { RaiseEvent("Click"); }
void SplitWindow::DblClick() { RaiseEvent("DblClick"); }

// The drag loop releases the capture it took; that is no lost press.
void SplitWindow::CaptureLost() {
    if (splitDragging_) return;
    if (moving_ || sizing_) AbandonMoveOrSize();
}

void SplitWindow::SetPointer(std::int16_t pointer) {
    if (MousePointer() != pointer) host::TryInvoke([&] { SetMousePointer(pointer); });
}

// ---- The cursor timer --------------------------------------------------------------------------

void SplitWindow::CursorTick() {
    // A tick is skipped along with the arrangement a child's own size asked to skip; the
    // next one runs again even when no arrangement came in between.
    if (skipArrangeOnce_) {
        skipArrangeOnce_ = false;
        return;
    }
    auto alive = alive_;
    if (UserMode()) TickFixedPositions();
    if (!*alive || TickPendingResize()) return;
    if (!UserMode()) {
        if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000) && !(GetAsyncKeyState(VK_RBUTTON) & 0x8000))
            SetCursorTimerRunning(false);
        SyncPanes();
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(hWnd(), &cursor);
    if (menus::Popup().menuShowing) {
        TickMenuBar(cursor);
        if (*alive) SyncPanes();
        return;
    }
    const float x = static_cast<float>(cursor.x * TwipsPerPixelX());
    const float y = static_cast<float>(cursor.y * TwipsPerPixelY());
    if (!sizing_ && !moving_) TickMouseTracking(x, y);
    if (!*alive) return;
    TickPointer(x, y);
    SyncPanes();
}

// A control docked at the bottom or right of its form stays at its fixed position there.
void SplitWindow::TickFixedPositions() {
    host::Form* form = ParentForm();
    if (!form) return;
    if (!formSizeTaken_) {
        formSizeTaken_ = true;
        formWidthSeen_ = form->Width();
        formHeightSeen_ = form->Height();
    }
    if (ContainerControl() == nullptr) {
        if (currentDock_ == host::kAlignBottom && fixedY_ > 0 && Top() != static_cast<std::int32_t>(fixedY_))
            host::TryInvoke([&] { SetTop(static_cast<std::int32_t>(fixedY_)); });
        else if (currentDock_ == host::kAlignRight && fixedX_ > 0 && Left() != static_cast<std::int32_t>(fixedX_))
            host::TryInvoke([&] { SetLeft(static_cast<std::int32_t>(fixedX_)); });
    }
    formWidthSeen_ = form->Width();
    formHeightSeen_ = form->Height();
}

// A resize that no ResizeComplete acknowledged, once the button is up and nothing moves: the
// other controls are adjusted from the acknowledged size to the current one.
bool SplitWindow::TickPendingResize() {
    if (ButtonDown(VK_LBUTTON) || !resizePending_ || moving_) return false;
    resizePending_ = false;
    arranging_ = true;
    const std::int16_t edge = currentDock_;
    currentDock_ = host::kAlignNone;
    AdjustOthers(completedWidth_, completedHeight_, false);
    currentDock_ = edge;
    // Only the host aligns bars on the form; a bar docked inside a container keeps its edge.
    if (OnForm()) configuredDock_ = Align();
    AdjustOthers(Width(), Height(), false);
    arranging_ = false;
    ResizeComplete();
    if (tmrCursor_) tmrCursor_->SetInterval(kCursorIntervalMs);
    return true;
}

void SplitWindow::TickMouseTracking(float x, float y) {
    const bool inside = x >= 0 && x <= Width() && y >= 0 && y <= Height();
    auto alive = alive_;
    if (!inside) {
        const bool was = mouseInside_;
        mouseInside_ = armed_ = false;
        if (was) RaiseEvent("MouseExit");
        return;
    }
    if (!armed_) {
        armed_ = true;
        return;
    }
    if (!mouseInside_) {
        mouseInside_ = true;
        RaiseEvent("MouseEnter");
        if (!*alive) return;
    }
    if (x != lastOverX_ || y != lastOverY_) {
        lastOverX_ = x, lastOverY_ = y;
        float ox = x, oy = y;
        RaiseEvent("MouseOver", ox, oy);
    }
}

// Over a gap (or while one is dragged) the pointer shows the direction the gap moves in; the
// tool-bar hit test sets the grip and sizing pointers itself; elsewhere the default pointer.
void SplitWindow::TickPointer(float x, float y) {
    onGrip_ = onSizingEdge_ = false;
    HitTestToolBar(x, y);
    if (HitTestSplitter(x, y) || splitDragging_) {
        const bool dockedBar = style_ == ToolBarWindow && currentDock_ != host::kAlignNone;
        SetPointer(dockedBar ? kPointerDefault : (vertical_ ? kPointerSizeWE : kPointerSizeNS));
    } else if (!onGrip_ && !onSizingEdge_) {
        SetPointer(kPointerDefault);
    }
}

// ---- Menu hand-over ----------------------------------------------------------------------------

// The band a button's open menu covers counts as part of the control (pixels, inclusive).
bool SplitWindow::CursorInMenuBand(POINT cursor) const {
    return cursor.x >= menuRect_.left && cursor.x <= menuRect_.right && cursor.y >= menuRect_.top &&
           cursor.y <= menuRect_.bottom;
}

// While a button of this bar shows its menu, moving onto another menu-carrying button of the
// bar closes the open menu (a click posted to the bar's container) and names the button whose
// menu opens next, so the bar behaves like a menu bar.
bool SplitWindow::TickMenuBar(POINT cursor) {
    const menus::PopupState& popup = menus::Popup();
    if (popup.menuOwnerIsMenuButton || CursorInMenuBand(cursor)) return false;
    if (popup.menuContainer != hWnd()) return false;
    HandMenuOver(cursor);
    return true;
}

void SplitWindow::HandMenuOver(POINT cursor) {
    const double x = cursor.x * TwipsPerPixelX(), y = cursor.y * TwipsPerPixelY();
    for (const auto& child : Children()) {
        if (child->TypeName() != "Command" || !child->Visible()) continue;
        if (x < child->Left() || x > child->Left() + child->Width() || y < child->Top() ||
            y > child->Top() + child->Height())
            continue;
        bool popupMenu = false, menuButton = true;
        const bool read = host::TryInvoke([&] {
            popupMenu = host::GetProperty(*child, "IsPopupMenu").ToBool();
            menuButton = host::GetProperty(*child, "MenuButton").ToBool();
        });
        if (!read || !popupMenu || menuButton) return;
        HWND target = ContainerHwnd();
        PostMessageA(target, WM_LBUTTONDOWN, 0, 0);
        PostMessageA(target, WM_LBUTTONUP, 0, 0);
        menus::Popup().nextMenuOwner = child->hWnd();
        return;
    }
}

}  // namespace brimlox::controls

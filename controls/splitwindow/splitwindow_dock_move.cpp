// SplitWindow: moving by the grip. A left press on the grip takes a docked window off its edge
// and starts a move; each mouse move follows the pointer, snapping at the container's edges
// (the edge it snapped to is where the window docks if released there); the release docks it
// (unless Shift is held), or with Ctrl drops it into the container control under the pointer.
//
//   state      event                              next       action
//   idle       left press on grip, Moveable       moving     undock (if Dockable), grab point
//   moving     move with left button              moving     follow, snap, Ctrl lifts onto form
//   moving     release                            idle       Ctrl-drop, dock or float, Moved
//   moving     capture lost                       idle       float where it is, Moved
#include <algorithm>
#include <cmath>

#include "controls/splitwindow/splitwindow.h"
#include "platform/user/user.h"

namespace brimlox::controls {

using host::kAlignBottom;
using host::kAlignLeft;
using host::kAlignNone;
using host::kAlignRight;
using host::kAlignTop;

namespace {

constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
// Passes over the docked bars after a drop: enough for any sensible number of bars on an edge.
constexpr int kMaxPushPasses = 5;
constexpr int kRestIntervalMs = 300;

}  // namespace

// ---- Press ------------------------------------------------------------------------------------------

void SplitWindow::BeginMoveOrSize(int button, int shift, float x, float y) {
    (void)shift;
    if (button != 1 || !active_ || moving_ || sizing_) return;
    HitTestToolBar(x, y);
    if (onGrip_ && moveable_) BeginMove(x, y);
    else if (onSizingEdge_) BeginSizing(x, y);
}

void SplitWindow::BeginMove(float x, float y) {
    grabX_ = x;
    grabY_ = y;
    if (currentDock_ != kAlignNone && dockable_) UndockForMove();
    SetToolWindowMoving(true);
    moving_ = true;
    firstMove_ = true;
    ZOrder(0);
}

// Off the edge at once, with the grab point moved onto the floating shape: a splitter keeps
// it inside the float size, a tool bar takes it near its grip, centred across the bar.
void SplitWindow::UndockForMove() {
    dockChanging_ = true;
    if (OnForm() && Align() != kAlignNone) host::TryInvoke([&] { SetAlign(kAlignNone); });
    currentDock_ = kAlignNone;
    const std::int32_t fw = FloatWidthTwips(), fh = FloatHeightTwips();
    if (style_ != ToolBarWindow) {
        grabX_ = std::min<float>(grabX_, static_cast<float>(fw));
        grabY_ = std::min<float>(grabY_, static_cast<float>(fh));
    } else if (fw > fh) {
        grabY_ = static_cast<float>(8 * TwipsPerPixelY());
        grabX_ = static_cast<float>(std::floor(fw / 2.0 / TwipsPerPixelX()) * TwipsPerPixelX());
    } else {
        grabX_ = static_cast<float>(8 * TwipsPerPixelX());
        grabY_ = static_cast<float>(std::floor(fh / 2.0 / TwipsPerPixelY()) * TwipsPerPixelY());
    }
    AdjustOthers(Width(), Height(), false);
    host::TryInvoke([&] { Move(Left(), Top(), fw, fh); });
    ResetChildren(true);
    dockChanging_ = false;
    ArrangeToolBar(true);
}

// ---- Moves ------------------------------------------------------------------------------------------

void SplitWindow::ContinueMoveOrSize(int button, int shift, float x, float y) {
    if (sizing_) {
        if (button & 1) SizeStep(x, y);
        return;
    }
    if (!moving_ || !(button & 1) || dockChanging_) return;
    if ((shift & kCtrlMask) && !OnForm()) LiftOntoForm();
    double left = Left() + x - grabX_, top = Top() + y - grabY_;
    const double wantedLeft = left, wantedTop = top;
    RefreshContainerArea();
    currentDock_ = kAlignNone;
    // The edges across the window's long side are tested last, so they win in a corner.
    if (Width() > Height()) SnapHorizontally(left), SnapVertically(top);
    else SnapVertically(top), SnapHorizontally(left);
    const auto newLeft = static_cast<std::int32_t>(std::lround(left));
    const auto newTop = static_cast<std::int32_t>(std::lround(top));
    host::TryInvoke([&] { Move(newLeft, newTop, Width(), Height()); });
    ZOrder(0);
    if (firstMove_) {
        firstMove_ = false;
        // A window stopped at an edge keeps the pointer where it is: put on the grab point,
        // the pointer's own move would take the window off the edge it found.
        const bool stopped = left != wantedLeft || top != wantedTop;
        if (!(shift & kCtrlMask) && !stopped) PutPointerOnGrab();
    }
}

void SplitWindow::SnapHorizontally(double& left) {
    const ContainerArea& a = containerArea_;
    if (left + Width() > a.left + a.width) {
        left = a.left + a.width - Width();
        if (dockRight_) currentDock_ = kAlignRight;
    }
    if (left < a.left) {
        left = a.left;
        if (dockLeft_) currentDock_ = kAlignLeft;
    }
}

void SplitWindow::SnapVertically(double& top) {
    const ContainerArea& a = containerArea_;
    if (top + Height() > a.top + a.height) {
        top = a.top + a.height - Height();
        if (dockBottom_) currentDock_ = kAlignBottom;
    }
    if (top < a.top) {
        top = a.top;
        if (dockTop_) currentDock_ = kAlignTop;
    }
}

void SplitWindow::PutPointerOnGrab() {
    POINT p{static_cast<LONG>(std::lround(grabX_ / TwipsPerPixelX())),
            static_cast<LONG>(std::lround(grabY_ / TwipsPerPixelY()))};
    if (hWnd() && ClientToScreen(hWnd(), &p)) SetCursorPos(p.x, p.y);
}

// Ctrl while moving: a window inside a container control comes onto the form, staying where
// it is on the screen.
void SplitWindow::LiftOntoForm() {
    host::Form* form = ParentForm();
    if (!form || !hWnd()) return;
    POINT origin{0, 0};
    ClientToScreen(hWnd(), &origin);
    ScreenToClient(form->hWnd(), &origin);
    host::TryInvoke([&] { SetContainer(form->shared_from_this()); });
    if (!OnForm()) return;
    host::TryInvoke([&] {
        Move(static_cast<std::int32_t>(std::lround(origin.x * TwipsPerPixelX())),
             static_cast<std::int32_t>(std::lround(origin.y * TwipsPerPixelY())), Width(), Height());
    });
}

// ---- Release ----------------------------------------------------------------------------------------

void SplitWindow::EndMoveOrSize(int button, int shift, float x, float y) {
    (void)x, (void)y;
    if (button != 1) return;
    if (sizing_) {
        EndSizing();
        return;
    }
    if (!moving_) return;
    if (tmrCursor_) {
        tmrCursor_->SetEnabled(false);
        tmrCursor_->SetInterval(kRestIntervalMs);
    }
    if ((shift & kCtrlMask) && DropIntoControlUnderPointer()) currentDock_ = kAlignNone;
    FinishMove(!(shift & kShiftMask) && dockable_);
}

void SplitWindow::AbandonMoveOrSize() {
    if (sizing_) EndSizing();
    else if (moving_) FinishMove(false);
}

// Docks at the edge found by snapping (or floats), settles the bars docked to the same edge,
// and tells the application.
void SplitWindow::FinishMove(bool dock) {
    if (!dock) currentDock_ = kAlignNone;
    ApplyDock();
    // What the user did is the control's dock edge from now on (and what a saved form holds).
    configuredDock_ = currentDock_;
    AdjustOthers(Width(), Height(), false);
    if (style_ == ToolBarWindow) PushDockedBars();
    SetToolWindowMoving(false);
    moving_ = false;
    ArrangeToolBar(true);
    moveGuard_ = true;
    RefreshContainer();
    moveGuard_ = false;
    moveJustEnded_ = true;
    Refresh();
    RepaintChildren();
    RaiseEvent("Moved");
}

// The bar's own repaints during the move covered its controls: they paint again on top.
void SplitWindow::RepaintChildren() {
    for (const auto& c : ContainedControls())
        if (c->hWnd()) InvalidateRect(c->hWnd(), nullptr, TRUE);
}

void SplitWindow::RefreshContainer() {
    if (host::Control* c = ContainerControl()) {
        host::TryInvoke([&] { host::CallMethod(*c, "Refresh"); });
    } else if (host::Form* f = ParentForm(); f && f->hWnd()) {
        InvalidateRect(f->hWnd(), nullptr, TRUE);
    }
}

// Inside a container the host does not align, bars docked to the same edge that overlap this
// one are pushed past it, pass after pass while one moved. The form's own Align keeps the
// bars on its edges apart already.
void SplitWindow::PushDockedBars() {
    if (OnForm() || currentDock_ == kAlignNone) return;
    for (int pass = 0; pass < kMaxPushPasses; ++pass) {
        bool moved = false;
        std::vector<std::shared_ptr<SplitWindow>> placed;
        if (auto self = std::dynamic_pointer_cast<SplitWindow>(shared_from_this())) placed.push_back(self);
        for (const auto& s : SiblingWindows()) {
            if (s->currentDock_ != currentDock_ || s->style_ != ToolBarWindow) continue;
            for (const auto& p : placed) moved = PushPast(*s, *p) || moved;
            placed.push_back(s);
        }
        if (!moved) break;
    }
}

// Moves `bar` past `fixed` along the axis across their common edge when the two overlap.
bool SplitWindow::PushPast(SplitWindow& bar, const SplitWindow& fixed) const {
    const bool overlapX = bar.Left() < fixed.Left() + fixed.Width() && fixed.Left() < bar.Left() + bar.Width();
    const bool overlapY = bar.Top() < fixed.Top() + fixed.Height() && fixed.Top() < bar.Top() + bar.Height();
    if (!overlapX || !overlapY) return false;
    std::int32_t left = bar.Left(), top = bar.Top();
    switch (currentDock_) {
        case kAlignTop: top = fixed.Top() + fixed.Height(); break;
        case kAlignBottom: top = fixed.Top() - bar.Height(); break;
        case kAlignLeft: left = fixed.Left() + fixed.Width(); break;
        case kAlignRight: left = fixed.Left() - bar.Width(); break;
        default: return false;
    }
    host::TryInvoke([&] { bar.Move(left, top, bar.Width(), bar.Height()); });
    host::TryInvoke([&] { bar.Refresh(); });
    return true;
}

}  // namespace brimlox::controls

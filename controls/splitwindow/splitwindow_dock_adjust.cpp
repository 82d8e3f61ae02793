// SplitWindow: what a change of a docked control's edge or size does to its surroundings. With
// AutoAdjustForm the form grows or shrinks by the docked control's thickness, so the area left
// for the other controls keeps its size; with AutoAdjust the fixed positions of the other
// windows beyond it move along; side bars inside a container are stretched between the bars
// docked top and bottom. Also the resize steps that keep a docked control's edge honest.
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

// The room a control docked to `edge` with the given size takes from the container's width
// (first) and height (second).
std::pair<std::int32_t, std::int32_t> Footprint(std::int16_t edge, std::int32_t width, std::int32_t height) {
    if (edge == kAlignLeft || edge == kAlignRight) return {width, 0};
    if (edge == kAlignTop || edge == kAlignBottom) return {0, height};
    return {0, 0};
}

// The smallest outer size a form is given by the adjustment, so it never vanishes.
constexpr std::int32_t kMinFormTwips = 1500;

}  // namespace

void SplitWindow::AdjustOthers(std::int32_t width, std::int32_t height, bool force) {
    const bool formAdjust = autoAdjustForm_ && OnForm();
    if (lastDock_ != currentDock_ && (formAdjust || autoAdjust_)) {
        const auto [oldW, oldH] = Footprint(lastDock_, lastWidth_, lastHeight_);
        const auto [newW, newH] = Footprint(currentDock_, width, height);
        if (formAdjust) ResizeFormBy(newW - oldW, newH - oldH);
        if (autoAdjust_) ShiftFixedPositions(newW - oldW, newH - oldH);
        StretchSideBars();
    } else if (force) {
        StretchSideBars();
    }
    lastDock_ = currentDock_;
    lastWidth_ = width;
    lastHeight_ = height;
}

// The form grows by what the docked control takes, so its other controls keep their room.
void SplitWindow::ResizeFormBy(std::int32_t dWidth, std::int32_t dHeight) {
    host::Form* form = ParentForm();
    if (!form || (dWidth == 0 && dHeight == 0) || form->WindowState() != 0) return;
    host::TryInvoke([&] {
        form->Move(form->Left(), form->Top(), std::max(kMinFormTwips, form->Width() + dWidth),
                   std::max(kMinFormTwips, form->Height() + dHeight));
    });
    // The form's surface was made anew at its new size: every window on it paints again.
    if (form->hWnd()) RedrawWindow(form->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The other windows of the container that keep a fixed position beyond this one move with it.
void SplitWindow::ShiftFixedPositions(std::int32_t dWidth, std::int32_t dHeight) {
    for (const auto& s : SiblingWindows()) {
        bool moved = false;
        if (dWidth != 0 && s->fixedX_ > 0 && s->Left() > Left()) s->fixedX_ += static_cast<float>(dWidth), moved = true;
        if (dHeight != 0 && s->fixedY_ > 0 && s->Top() > Top()) s->fixedY_ += static_cast<float>(dHeight), moved = true;
        if (moved) host::TryInvoke([&] { s->Refresh(); });
    }
}

// Windows docked left or right in a container the host does not align (a non-form
// container) span the height left between the bars docked top and bottom there.
void SplitWindow::StretchSideBars() {
    RefreshContainerArea();
    std::int32_t top = containerArea_.top, bottom = containerArea_.top + containerArea_.height;
    const auto siblings = SiblingWindows();
    auto all = siblings;
    if (auto self = std::dynamic_pointer_cast<SplitWindow>(shared_from_this())) all.push_back(self);
    for (const auto& s : all) {
        if (s->currentDock_ == kAlignTop) top = std::max(top, s->Top() + s->Height());
        if (s->currentDock_ == kAlignBottom) bottom = std::min(bottom, s->Top());
    }
    for (const auto& s : siblings) {
        if (s->currentDock_ != kAlignLeft && s->currentDock_ != kAlignRight) continue;
        if (s->Align() != kAlignNone) continue;  // the host keeps it on the form's edge
        host::TryInvoke([&] { s->Move(s->Left(), top, s->Width(), std::max(0, bottom - top)); });
        host::TryInvoke([&] { s->Refresh(); });
        s->ResizeComplete();
    }
}

// ---- Resize steps ---------------------------------------------------------------------------------

void SplitWindow::DockResizeSteps() {
    if (Width() < minWidth_ || Height() < minHeight_) {
        host::TryInvoke([&] { Move(Left(), Top(), std::max(Width(), minWidth_), std::max(Height(), minHeight_)); });
    }
    if (!dockChanging_) SyncAlign();
    if (style_ != ToolBarWindow) return;
    if (!resizePending_ && completedWidth_ == 0 && completedHeight_ == 0) {
        completedWidth_ = Width();
        completedHeight_ = Height();
    }
    if (currentDock_ != kAlignNone) ArrangeToolBar(false);
    if (Width() != completedWidth_ || Height() != completedHeight_) resizePending_ = true;
}

}  // namespace brimlox::controls

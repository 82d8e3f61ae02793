// DreamBar: the minimise operation, the state a bar saved minimised comes back in, and the
// full size the bar remembers while it is expanded.
#include <cmath>

#include "controls/dreambar/dreambar.h"

namespace brimlox::controls {

using host::Variant;

// Shrinks the bar to its caption strip or grows it back to its full size, moving the controls
// on it out of the strip and back. The shift given on minimising is recorded and undone
// exactly on expanding, so a caption changed in between does not leave the controls off.
void DreamBar::MinimizeOperation(bool minimize) {
    if (inMinimize_) return;
    inMinimize_ = true;
    // The new state is stored before any other bar hears of it, so a bar minimised by the
    // accordion that moves this one finds it already in its new state.
    minimized_ = minimize;
    if (autoAdjust_ && Align() == host::kAlignNone) AdjustSiblings(true, 0);
    if (autoAdjustForm_ && (Align() == host::kAlignTop || Align() == host::kAlignLeft)) SetAutoAdjust(true);
    const bool vertical = WorksVertically();
    const std::int32_t thin = MinimizedThickness();
    std::int32_t sizeChange = 0;
    host::TryInvoke([&] {
        ZOrder(0);
        const std::int32_t current = vertical ? Height() : Width();
        if (minimize) {
            if (current > thin) fullSize_ = static_cast<float>(current);
            sizeChange = -(static_cast<std::int32_t>(std::lround(fullSize_)) - thin);
            recordedShift_ = thin;
        } else {
            sizeChange = static_cast<std::int32_t>(std::lround(fullSize_)) - thin;
        }
        const std::int32_t target = minimize ? thin : std::max(thin, static_cast<std::int32_t>(std::lround(fullSize_)));
        if (vertical) SetHeight(target);
        else SetWidth(target);
        const std::int32_t shift = minimize ? recordedShift_ : -recordedShift_;
        if (!minimize) recordedShift_ = 0;
        if (vertical) ShiftContainedControls(0, shift);
        else ShiftContainedControls(shift, 0);
        PassOnSizeChange(vertical, sizeChange);
    });
    inMinimize_ = false;
    bool state = minimize;
    auto change = static_cast<float>(sizeChange);
    RaiseEvent("Changed", state, change);
}

void DreamBar::ShiftContainedControls(std::int32_t dx, std::int32_t dy) {
    for (const auto& child : ContainedControls()) {
        host::TryInvoke([&] {
            child->Move(child->Left() + dx, child->Top() + dy, child->Width(), child->Height());
            host::CallMethod(*child, "Refresh", {});
        });
    }
}

// A bar saved minimised is read with Minimized False and the load-time flag set; before anything
// else uses the state, the bar takes it: minimised, with the saved full size to expand to, and
// its controls already shifted by the strip (they were saved that way).
void DreamBar::ApplyLoadedState() {
    if (!loadedMinimized_) return;
    loadedMinimized_ = false;
    const bool vertical = WorksVertically();
    const std::int32_t thin = MinimizedThickness();
    const float saved = vertical ? fullHeight_ : fullWidth_;
    // A stored size that is missing or smaller than the strip cannot be expanded to: keep the
    // size the bar has, or the strip if that is all there is.
    const std::int32_t current = vertical ? Height() : Width();
    fullSize_ = saved > thin ? saved : static_cast<float>(std::max(current, thin));
    minimized_ = true;
    recordedShift_ = thin;
    if (vertical) SetHeight(thin);
    else SetWidth(thin);
}

// While the bar is expanded, its size is the one to come back to.
void DreamBar::RememberFullSize() {
    if (minimized_ || loadedMinimized_ || inMinimize_) return;
    fullWidth_ = static_cast<float>(Width());
    fullHeight_ = static_cast<float>(Height());
    fullSize_ = WorksVertically() ? fullHeight_ : fullWidth_;
}

void DreamBar::Resize() {
    if (resizing_) return;
    resizing_ = true;
    const std::int32_t w = Width(), h = Height();
    const bool grew = w > lastWidth_ || h > lastHeight_;
    if (grew && (borderStyle_ == 2 || borderStyle_ == 3 || borderStyle_ == 5)) host::Control::Refresh();
    if (Align() == host::kAlignNone && lastHeight_ > 0 && autoAdjust_ && !inMinimize_ && !loadedMinimized_) {
        if (minimizeStyle_ == MinToLeft) AdjustSiblings(false, w - lastWidth_);
        else AdjustSiblings(true, h - lastHeight_);
    }
    RememberFullSize();
    lastWidth_ = Width();
    lastHeight_ = Height();
    resizing_ = false;
}

}  // namespace brimlox::controls

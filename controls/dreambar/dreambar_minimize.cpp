// DreamBar: the minimise operation, the state a bar saved minimised comes back in, and the
// full size the bar remembers while it is expanded.
#include <cmath>

#include "controls/dreambar/dreambar.h"

namespace brimlox::controls {

using host::Variant;

// Shrinks the bar to its caption strip or grows it back to its full size, moving the controls
// on it out of the strip and back. The shift given on minimising is recorded and undone
// exactly on expanding, so a caption changed in between does not leave the controls off.
// With an AnimationTime the size then changes step by step on a timer (the state is the new
// one at once); otherwise at once.
void DreamBar::MinimizeOperation(bool minimize) {
    if (inMinimize_) return;
    FinishAnimation();
    inMinimize_ = true;
    // The new state is stored before any other bar hears of it, so a bar minimised by the
    // accordion that moves this one finds it already in its new state.
    minimized_ = minimize;
    if (autoAdjust_ && Align() == host::kAlignNone) AdjustSiblings(true, 0);
    if (autoAdjustForm_ && (Align() == host::kAlignTop || Align() == host::kAlignLeft)) SetAutoAdjust(true);
    const bool vertical = WorksVertically();
    const std::int32_t thin = MinimizedThickness();
    std::int32_t sizeChange = 0;
    bool animated = false;
    host::TryInvoke([&] {
        ZOrder(0);
        const std::int32_t current = vertical ? Height() : Width();
        if (minimize) {
            if (current > thin) fullSize_ = static_cast<float>(current);
            sizeChange = -(static_cast<std::int32_t>(std::lround(fullSize_)) - thin);
            recordedShift_ = thin;
        } else {
            // A FullSize no larger than the strip (set from code or a saved layout) cannot be
            // expanded to: the size the bar last had expanded is used instead.
            const float remembered = vertical ? fullHeight_ : fullWidth_;
            if (fullSize_ <= static_cast<float>(thin) && remembered > static_cast<float>(thin)) fullSize_ = remembered;
            sizeChange = static_cast<std::int32_t>(std::lround(fullSize_)) - thin;
        }
        const std::int32_t target = minimize ? thin : std::max(thin, static_cast<std::int32_t>(std::lround(fullSize_)));
        const std::int32_t shift = minimize ? recordedShift_ : -recordedShift_;
        if (!minimize) recordedShift_ = 0;
        if (Animates()) {
            if (vertical) ShiftContainedControls(0, shift);
            else ShiftContainedControls(shift, 0);
            animation_.minimize = minimize;
            StartAnimation(vertical, current, target, sizeChange);
            animated = true;
            return;
        }
        if (vertical) SetHeight(target);
        else SetWidth(target);
        if (vertical) ShiftContainedControls(0, shift);
        else ShiftContainedControls(shift, 0);
        PassOnSizeChange(vertical, sizeChange);
    });
    inMinimize_ = false;
    if (!animated) RaiseChanged(minimize, sizeChange);
}

void DreamBar::RaiseChanged(bool minimize, std::int32_t change) {
    bool state = minimize;
    auto size = static_cast<float>(change);
    RaiseEvent("Changed", state, size);
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
    FinishAnimation();
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
    // Taking the saved state is no change of size for the sibling bars to follow: a stored
    // strip a pixel off must not minimise the bar that was saved open.
    const bool wasInMinimize = inMinimize_;
    inMinimize_ = true;
    if (vertical) SetHeight(thin);
    else SetWidth(thin);
    inMinimize_ = wasInMinimize;
}

// While the bar is expanded, its size is the one to come back to.
void DreamBar::RememberFullSize() {
    if (minimized_ || loadedMinimized_ || inMinimize_ || animation_.active) return;
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

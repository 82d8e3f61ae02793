// DreamBar: minimising and expanding spread over AnimationTime. The minimise operation stores
// the new state and moves the controls on the bar at once; the bar's size then follows the
// clock on a timer, and the form or the sibling bars take up each step's part of the change,
// so the end state is exactly the one an instant change gives. Changed is raised when the bar
// has reached its new size.
#include <algorithm>
#include <cmath>

#include "controls/dreambar/dreambar.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

// About sixty steps a second.
constexpr int kAnimationStepMs = 16;

// The part of `length` (twips) that `progress` has reached, in whole pixels of `perPixel`
// twips: positions set in twips are kept to whole pixels, so steps of whole pixels add up to
// exactly the moves one change of the whole length makes. At the end it is the whole length.
std::int32_t StepPart(std::int32_t length, double progress, long perPixel) {
    if (progress >= 1.0) return length;
    return static_cast<std::int32_t>(std::lround(length * progress / static_cast<double>(perPixel)) * perPixel);
}

}  // namespace

void DreamBar::SetAnimationTime(std::int32_t ms) {
    animationTime_ = std::clamp(ms, 0, kMaxAnimationMs);
    PropertyChanged("AnimationTime");
}

// Only a bar that has been painted once and runs on a live form animates: the designer, and
// the state a bar takes on its first paint, change the size at once.
bool DreamBar::Animates() const { return animationTime_ > 0 && initialised_ && UserMode() && tmrAnimate_; }

void DreamBar::StartAnimation(bool vertical, std::int32_t from, std::int32_t to, std::int32_t change) {
    animation_.active = true;
    animation_.vertical = vertical;
    animation_.from = from;
    animation_.to = to;
    animation_.change = change;
    animation_.passed = 0;
    animation_.startMs = GetTickCount();
    tmrAnimate_->SetInterval(kAnimationStepMs);
    tmrAnimate_->SetEnabled(true);
}

void DreamBar::AnimationTick() {
    if (!animation_.active) {
        tmrAnimate_->SetEnabled(false);
        return;
    }
    const std::uint32_t gone = GetTickCount() - animation_.startMs;
    const double progress = std::min(1.0, static_cast<double>(gone) / animationTime_);
    if (progress < 1.0) {
        StepAnimation(progress);
        return;
    }
    FinishAnimation();
}

// Sizes the bar for `progress` (0 to 1) and passes on the part of the change not passed yet.
void DreamBar::StepAnimation(double progress) {
    const long perPixel = std::max(1L, std::lround(animation_.vertical ? TwipsPerPixelY() : TwipsPerPixelX()));
    const auto size = animation_.from + StepPart(animation_.to - animation_.from, progress, perPixel);
    const auto passTo = StepPart(animation_.change, progress, perPixel);
    const bool wasInMinimize = inMinimize_;
    inMinimize_ = true;
    stepping_ = true;
    host::TryInvoke([&] {
        if (animation_.vertical) SetHeight(size);
        else SetWidth(size);
    });
    if (passTo != animation_.passed) {
        const std::int32_t part = passTo - animation_.passed;
        animation_.passed = passTo;
        host::TryInvoke([&] { PassOnSizeChange(animation_.vertical, part); });
    }
    stepping_ = false;
    inMinimize_ = wasInMinimize;
}

// Takes a running animation to its end at once (the clock ran out, or something needs the
// final state now) and reports the change.
void DreamBar::FinishAnimation() {
    if (!animation_.active) return;
    StepAnimation(1.0);
    animation_.active = false;
    if (tmrAnimate_) tmrAnimate_->SetEnabled(false);
    // The paint at the full size keeps the controls inside the margin again.
    host::TryInvoke([&] { Refresh(); });
    RaiseChanged(animation_.minimize, animation_.change);
}

}  // namespace brimlox::controls

// The marquee: for work of unknown length the bar shows a block that moves from the left edge
// to the right one and starts again, one step at every tick of its timer. The timer runs only
// at run time, while Marquee is on; the block is drawn with the same full-height pen and bar
// bevel as the fill, and no percentage is shown or reported.
#include <algorithm>

#include "controls/indicators/progressbar.h"

namespace brimlox::controls {

// A quarter of the bar, but never less than 8 pixels.
std::int32_t ProgressBar::MarqueeBlockWidth() const { return std::max(8, widthPx_ / 4); }

void ProgressBar::UpdateMarqueeTimer() {
    if (!tmrMarquee_) return;
    tmrMarquee_->SetInterval(marqueeSpeed_);
    tmrMarquee_->SetEnabled(marquee_ && Ambient().UserMode);
}

// Each step moves the block by a fiftieth of the bar (at least 2 pixels); once it has left the
// bar on the right it comes in again from the left.
void ProgressBar::StepMarquee() {
    if (!marquee_) return;
    marqueePos_ += std::max(2, widthPx_ / 50);
    if (marqueePos_ >= widthPx_) marqueePos_ = -MarqueeBlockWidth();
    Refresh();
}

void ProgressBar::DrawMarquee() {
    std::int32_t from = std::max(0, marqueePos_);
    std::int32_t to = std::min(widthPx_, marqueePos_ + MarqueeBlockWidth());
    if (to > from) DrawFill(from, to);
    DrawBevels(0, 0, false);
    if (to <= from) return;
    bool border = borderStyle_ != 0;
    DrawBevels(border ? std::max(from, 1) : from, border ? std::min(to, widthPx_ - 1) : to, true);
}

}  // namespace brimlox::controls

// ScrollBar input: presses on the arrows and the track with auto-repeat, thumb dragging, the
// right-click jump, the middle-button auto-scroll mode, and the repeat timer tmrRep.
//
// States and transitions ("along" is the pointer's coordinate on the bar's axis):
//
//   state        | event                                   | action                                  | next
//   -------------+-----------------------------------------+-----------------------------------------+-------------
//   any          | press while auto-scrolling, or Min=Max  | ignored                                 | same
//   idle         | right press in the track                | jump: centre the thumb on the pointer,  | idle
//                |                                         | one Change                              |
//   idle         | left/right press on the thumb           | remember Value; tmrRep every            | dragging
//                |                                         | AutoInterval                            |
//   idle         | left/right press on an arrow or track   | one step now, tmrRep after AutoDelay    | pressing
//   pressing     | tmrRep                                  | step by SmallChange (arrow, doubled for | pressing
//                |                                         | the right button) or LargeChange        |
//                |                                         | (track); Change; then every AutoInterval|
//   pressing     | thumb reaches the pointer (track)       | tmrRep stops                            | pressing
//   pressing     | pointer leaves or enters an arrow       | release the arrow, tmrRep stops         | pressing
//   dragging     | move                                    | thumb follows, Value from the thumb     | dragging
//   dragging     | tmrRep                                  | Scroll (or Change with ActiveScroll)    | dragging
//                |                                         | when Value moved since the last report  |
//   pressing,    | release                                 | tmrRep stops; a drag reports the rest   | idle
//   dragging     |                                         | (Change, or Scroll); buttons redrawn    |
//   idle         | middle release in the track, 150 twips  | capture, anchor, neutral cursor, mark   | auto-scroll
//                | clear of both arrows                    |                                         |
//   auto-scroll  | tmrRep                                  | Value moves SmallChange per dead zone   | auto-scroll
//                |                                         | the pointer is past the anchor; Change  |
//   auto-scroll  | any release                             | release capture, normal pointer         | idle
//
// The timer step runs once at a time: a Change handler that pumps messages cannot start
// another step inside it (inTimer).
#include <algorithm>
#include <cmath>

#include "controls/scrollbar/scrollbar.h"
#include "controls/scrollbar/scrollbar_cursors.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

// Auto-scroll starts only this far (twips) from either arrow.
constexpr double kAutoScrollMargin = 150;

// Clears a flag when the scope ends, also when an event handler raises a runtime error.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

// ---- Mouse -------------------------------------------------------------------------------------

void ScrollBar::MouseDown(int button, int shift, float x, float y) {
    if (AutoScrolling() || range_.Min == range_.Max) return;
    lastButton_ = static_cast<std::int16_t>(button);
    lastShift_ = static_cast<std::int16_t>(shift);
    pointerPos_ = Along(x, y);
    pointerCross_ = Across(x, y);
    if (button == 2 && geom_.InTrack(pointerPos_)) {
        JumpTo(pointerPos_);
        return;
    }
    if (button != 4 && pointerPos_ < geom_.barLength) BeginPress(pointerPos_);
}

void ScrollBar::BeginPress(double along) {
    EndKeyStep();
    mouseDown_ = true;
    pressedFirst_ = geom_.OnFirstArrow(along) && range_.Value != range_.Min;
    pressedSecond_ = geom_.OnSecondArrow(along) && range_.Value != range_.Max;
    DrawButtons();
    dragging_ = geom_.OnThumb(along);
    if (dragging_) {
        lastReported_ = dragStart_ = range_.Value;
        tmrRep_->SetInterval(autoInterval_);
        tmrRep_->SetEnabled(true);
        grabOffset_ = along - geom_.thumbPos;
        return;
    }
    // One step at once; the repeat follows after AutoDelay unless that step already brought
    // the thumb to the pointer.
    tmrRep_->SetEnabled(true);
    TimerStep();
    if (tmrRep_->Enabled()) tmrRep_->SetInterval(autoDelay_);
}

// Centres the thumb on the pointer. A thumb that fills the whole track has nowhere to go.
void ScrollBar::JumpTo(double along) {
    if (!geom_.thumbVisible || !(geom_.ThumbRoom() > 0)) return;
    dragStart_ = range_.Value;
    double start = ClampThumbStart(geom_, along - std::floor(geom_.thumbLen / 2));
    range_.Value = ValueFromThumb(geom_, range_, start, false);
    Refresh(false);
    RaiseChange(static_cast<std::int64_t>(range_.Value) - dragStart_);
}

void ScrollBar::MouseMove(int button, int shift, float x, float y) {
    (void)button, (void)shift;
    double along = Along(x, y);
    if (dragging_) {
        double start = ClampThumbStart(geom_, along + geom_.thumbPos - pointerPos_);
        range_.Value = ValueFromThumb(geom_, range_, start, along > pointerPos_);
        Refresh(false);
        // The thumb follows the pointer exactly; Refresh drew it at its snapped place.
        geom_.thumbPos = start;
        pointerPos_ = geom_.thumbPos + grabOffset_;
        return;
    }
    pointerPos_ = along;
    if (AutoScrolling()) return;
    bool onFirst = pointerPos_ < geom_.buttonSize, onSecond = pointerPos_ > geom_.barLength - geom_.buttonSize;
    if (onFirst == pressedFirst_ && onSecond == pressedSecond_) return;
    // Leaving a held arrow (or reaching one during a track press) ends the repeat; a mere
    // hover with nothing held or repeating has nothing to end.
    if (!pressedFirst_ && !pressedSecond_ && !tmrRep_->Enabled()) return;
    pressedFirst_ = pressedSecond_ = false;
    tmrRep_->SetEnabled(false);
    DrawButtons();
}

void ScrollBar::MouseUp(int button, int shift, float x, float y) {
    (void)shift;
    mouseDown_ = pressedFirst_ = pressedSecond_ = false;
    tmrRep_->SetEnabled(false);
    if (dragging_) EndDrag();
    double along = Along(x, y);
    if (AutoScrolling()) {
        StopAutoScroll();
    } else if (button == 4 && geom_.buttonSize + kAutoScrollMargin < along &&
               along < geom_.barLength - geom_.buttonSize - kAutoScrollMargin) {
        StartAutoScroll(along);
    }
    DrawButtons();
}

// The second click of a double click acts as another press at the same place.
void ScrollBar::DblClick() {
    float along = static_cast<float>(pointerPos_), across = static_cast<float>(pointerCross_);
    if (geom_.vertical) MouseDown(lastButton_, lastShift_, across, along);
    else MouseDown(lastButton_, lastShift_, along, across);
}

void ScrollBar::EndDrag() {
    dragging_ = false;
    std::int32_t value = range_.Value;
    if (activeScroll_) {
        if (value == lastReported_) return;
        std::int64_t distance = static_cast<std::int64_t>(value) - lastReported_;
        lastReported_ = value;
        RaiseChange(distance);
        return;
    }
    if (value != dragStart_) {
        RaiseChange(static_cast<std::int64_t>(value) - dragStart_);
    } else if (value != lastReported_) {
        lastReported_ = value;
        RaiseEvent("Scroll");
    }
}

// ---- Auto-scroll -------------------------------------------------------------------------------

void ScrollBar::StartAutoScroll(double along) {
    SetCapture(hWnd());
    anchor_ = along;
    mouseDown_ = true;
    tmrRep_->SetEnabled(true);
    anchorMark_ = MakeAutoScrollPicture(geom_.vertical ? kMarkV : kMarkH);
    ShowAutoScrollCursor(0);
    Control::SetMousePointer(99);
    DrawAnchorMark();
}

void ScrollBar::StopAutoScroll() {
    if (GetCapture() == hWnd()) ReleaseCapture();
    anchor_ = 0;
    tmrRep_->SetEnabled(false);
    Control::SetMousePointer(1);
    scrollDirection_ = 0;
    anchorMark_.reset();
}

void ScrollBar::ShowAutoScrollCursor(int direction) {
    Control::SetMouseIcon(MakeAutoScrollPicture(AutoScrollCursorFor(direction, geom_.vertical)));
    scrollDirection_ = static_cast<std::int16_t>(direction);
    // The pointer is captured: show the new shape now rather than at the next move.
    if (GetCapture() == hWnd() && Control::MouseIcon()) SetCursor(Control::MouseIcon()->Icon());
}

// The value moves SmallChange for every dead zone (DeadZone x 10 pixels) the pointer lies
// past the anchor. Inside the first dead zone nothing moves and the cursor is the neutral
// one: the arrow cursors appear exactly when the value starts to run, so the pointer never
// promises a movement that does not happen.
void ScrollBar::StepAutoScroll() {
    double zones = std::trunc((pointerPos_ - anchor_) / geom_.pixelStep / deadZone_);
    int direction = zones > 0 ? 1 : zones < 0 ? -1 : 0;
    if (direction != scrollDirection_) ShowAutoScrollCursor(direction);
    double steps = std::fabs(zones);
    double delta = steps * smallChange_;
    double target = pointerPos_ >= anchor_ ? range_.Value + delta : range_.Value - delta;
    target = std::nearbyint(std::clamp(target, static_cast<double>(range_.Min), static_cast<double>(range_.Max)));
    range_.Value = range_.Clamp(static_cast<std::int64_t>(target));
    Refresh(false);
}

// ---- Timer -------------------------------------------------------------------------------------

void ScrollBar::TimerStep() {
    if (inTimer_ || (!mouseDown_ && !heldKey_)) return;
    // A handler may unload the form; keep this control alive until the step is done.
    auto keepAlive = shared_from_this();
    FlagScope busy(inTimer_);
    if (!mouseDown_) {
        StepKey();
        tmrRep_->SetInterval(autoInterval_);
        return;
    }
    if (dragging_) {
        ReportDragProgress();
    } else {
        std::int32_t old = range_.Value;
        if (AutoScrolling()) StepAutoScroll();
        else StepPress(old);
        if (range_.Value != old) RaiseChange(static_cast<std::int64_t>(range_.Value) - old);
        tmrRep_->SetInterval(autoInterval_);
    }
    if (range_.Value == range_.Min || range_.Value == range_.Max) DrawButtons();
}

void ScrollBar::ReportDragProgress() {
    if (range_.Value == lastReported_) return;
    std::int64_t distance = static_cast<std::int64_t>(range_.Value) - lastReported_;
    lastReported_ = range_.Value;
    if (activeScroll_) RaiseChange(distance);
    else RaiseEvent("Scroll");
}

// One step of an arrow or track press. Sums are formed in 64 bits and clamped, so a step near
// the 32-bit limits stops at Min or Max instead of wrapping.
void ScrollBar::StepPress(std::int32_t old) {
    double p = pointerPos_;
    bool inTrack = !geom_.OnFirstArrow(p) && !geom_.OnSecondArrow(p);
    bool grow = inTrack ? geom_.thumbPos <= p : geom_.OnSecondArrow(p);
    std::int64_t amount = inTrack ? largeChange_ : smallChange_;
    if (!inTrack && lastButton_ == 2 && range_.Min < static_cast<std::int64_t>(old) - 1) amount *= 2;
    range_.Value = range_.Clamp(static_cast<std::int64_t>(old) + (grow ? amount : -amount));
    Refresh(false);
    bool reached = grow ? p <= geom_.thumbPos + geom_.thumbLen : geom_.thumbPos <= p;
    if (inTrack && reached) tmrRep_->SetEnabled(false);
}

void ScrollBar::RaiseChange(std::int64_t distance) {
    // The range rules keep |Max - Min| within 32 bits, so every distance fits.
    auto value = static_cast<std::int32_t>(distance);
    RaiseEvent("Change", value);
}

}  // namespace brimlox::controls

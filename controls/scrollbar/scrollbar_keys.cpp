// ScrollBar: the keyboard. The arrow keys move Value by SmallChange, Page Up and Page Down by
// LargeChange, Home and End to Min and Max, with the events of the matching mouse presses: a
// Change per step that moved Value. A held key steps as a held arrow does, on the bar's own
// repeat timer (AutoDelay, then every AutoInterval), so the keyboard's own repeats are ignored.
//
//   idle --step key down--> one step now; tmrRep after AutoDelay     --> key stepping
//   key stepping --tmrRep--> one step; then every AutoInterval        --> key stepping
//   key stepping --that key up, focus lost, a mouse press--> tmrRep stops --> idle
//   idle --Home / End--> Value to Min / Max, one Change               --> idle
//
// While focused, with the focus cue shown, the thumb carries the focus frame.
#include <cmath>

#include "controls/scrollbar/scrollbar.h"
#include "platform/user/keyboard_cues.h"
#include "platform/user/user.h"

namespace brimlox::controls {

void ScrollBar::KeyDown(int keyCode, int shift, bool repeat) {
    (void)shift;
    if (repeat || AutoScrolling() || mouseDown_ || range_.Min == range_.Max) return;
    const std::int64_t small = smallChange_, large = largeChange_;
    switch (keyCode) {
        case VK_LEFT: case VK_UP: BeginKeyStep(keyCode, -small); break;
        case VK_RIGHT: case VK_DOWN: BeginKeyStep(keyCode, small); break;
        case VK_PRIOR: BeginKeyStep(keyCode, -large); break;
        case VK_NEXT: BeginKeyStep(keyCode, large); break;
        case VK_HOME: case VK_END: {
            EndKeyStep();
            const std::int32_t old = range_.Value;
            range_.Value = keyCode == VK_HOME ? range_.Min : range_.Max;
            Refresh(false);
            if (range_.Value != old) RaiseChange(static_cast<std::int64_t>(range_.Value) - old);
            DrawButtons();
            break;
        }
        default: break;
    }
}

void ScrollBar::KeyUp(int keyCode, int shift) {
    (void)shift;
    if (keyCode == heldKey_) EndKeyStep();
}

namespace {

// Whether the window shows the focus cue: only then does a focus change alter the picture.
bool FocusCueShown(HWND hwnd) { return hwnd && !(SendMessageA(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS); }

}  // namespace

void ScrollBar::GotFocus() {
    if (FocusCueShown(hWnd())) Refresh(true);
}

void ScrollBar::LostFocus() {
    EndKeyStep();
    if (FocusCueShown(hWnd())) Refresh(true);
}

void ScrollBar::BeginKeyStep(int keyCode, std::int64_t step) {
    heldKey_ = keyCode;
    keyStep_ = step;
    StepKey();
    // A Change handler may have ended the step (a message box taking the focus).
    if (heldKey_ != keyCode) return;
    tmrRep_->SetInterval(autoDelay_);
    tmrRep_->SetEnabled(true);
}

void ScrollBar::EndKeyStep() {
    if (!heldKey_) return;
    heldKey_ = 0;
    keyStep_ = 0;
    if (!mouseDown_) tmrRep_->SetEnabled(false);
}

// One step, clamped to the range in 64 bits as a press's step is.
void ScrollBar::StepKey() {
    const std::int32_t old = range_.Value;
    range_.Value = range_.Clamp(static_cast<std::int64_t>(old) + keyStep_);
    Refresh(false);
    if (range_.Value != old) RaiseChange(static_cast<std::int64_t>(range_.Value) - old);
    if (range_.Value == range_.Min || range_.Value == range_.Max) DrawButtons();
}

// Inside the thumb's raised edge (two pixels) with one pixel to spare.
void ScrollBar::DrawFocusFrame() {
    if (!host::ShowsFocusRect(*this) || !geom_.thumbVisible || range_.Min == range_.Max) return;
    auto start = static_cast<LONG>(std::floor(geom_.thumbPos / geom_.pixelStep));
    auto end = static_cast<LONG>(std::floor((geom_.thumbPos + geom_.thumbLen) / geom_.pixelStep));
    int t = geom_.ThicknessPixels();
    RECT frame = geom_.vertical ? RECT{3, start + 3, t - 3, end - 3} : RECT{start + 3, 3, end - 3, t - 3};
    if (frame.right - frame.left < 2 || frame.bottom - frame.top < 2) return;
    DrawFocusRect(hDC(), &frame);
}

}  // namespace brimlox::controls

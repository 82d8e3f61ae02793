// DreamBar: mouse handlers. Each records the mouse information GetMouseInfo returns and raises
// its event; a move restarts the auto-hide countdown while the bar hides or shows itself.
#include "controls/dreambar/dreambar.h"

namespace brimlox::controls {

using host::Variant;

namespace {

void Raise(host::Control& c, const char* name, int button, int shift, float x, float y) {
    auto b = static_cast<std::int16_t>(button);
    auto s = static_cast<std::int16_t>(shift);
    c.RaiseEvent(name, b, s, x, y);
}

}  // namespace

void DreamBar::MouseDown(int button, int shift, float x, float y) {
    mouseInfo_ = CmdMouseInfo{static_cast<std::int16_t>(button), static_cast<std::int16_t>(shift), x, y};
    Raise(*this, "MouseDown", button, shift, x, y);
}

void DreamBar::MouseMove(int button, int shift, float x, float y) {
    mouseInfo_.x = x;
    mouseInfo_.y = y;
    Raise(*this, "MouseMove", button, shift, x, y);
    if (autoHideLive_ || autoShow_) {
        SetTimerEnabled(false);
        SetTimerEnabled(true);
    }
}

void DreamBar::MouseUp(int button, int shift, float x, float y) {
    ClickToMinimize(button, x, y);
    Raise(*this, "MouseUp", button, shift, x, y);
}

void DreamBar::Click() { RaiseEvent("Click"); }
void DreamBar::DblClick() { RaiseEvent("DblClick"); }

}  // namespace brimlox::controls

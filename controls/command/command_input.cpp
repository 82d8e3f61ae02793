// Command: mouse and timer input.
//
// State table of a press (the flags are pressed, Value, autoClicked, menuPress, hovering):
//
//   idle --left press inside--> pressed, drawn down, Value True (plain button), timer armed
//        (AutoDelay, then AutoInterval); a toggle flips Value and clicks on the press.
//   pressed --timer--> Click raised, autoClicked (unless the press opens the menu)
//   pressed --release--> idle: drawn up; Click if the mouse is inside and nothing clicked yet
//   idle --press on a menu button's strip (or anywhere with menu items and no strip)-->
//        pressed + menuPress, drawn down --release--> the popup runs modally --close-->
//        MenuClick for a chosen item, drawn up without Click, presses ignored for 0.1 s
//   idle --Alt + left press on a Moveable button--> dragging: the button follows the mouse
//        --release--> dropped; Escape during the drag puts it back
//   idle --any press while Locked--> remembered only (no look, no Value) --release--> idle,
//        MouseUp raised and nothing else
//   idle --first move over an ActiveBorder/ActiveColor button--> hovering, watched every
//        55 ms --cursor outside--> idle, drawn as its Value says
#include <cstdlib>

#include "controls/command/command.h"
#include "foundation/helpers/colour.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

constexpr int kHoverWatchMs = 55;
constexpr DWORD kMenuGuardMs = 100;

// Whether the message being handled is a press made with the mouse. The keyboard hook clicks a
// button for its accelerator by posting a press while Alt is still held; such a press must
// click, never start an Alt-drag.
bool PressMadeWithMouse() {
    INPUT_MESSAGE_SOURCE source;
    return GetCurrentInputMessageSource(&source) && source.deviceType == IMDT_MOUSE;
}

}  // namespace

bool Command::HitTest(float x, float y) {
    const bool insideX = x >= 0 && x <= Width();
    const bool insideY = y >= 0 && y <= Height();
    if (insideX && !insideY) ignoreRelease_ = true;
    return insideX && insideY;
}

bool Command::IsMouseInside() const {
    return mouseInfo_.x >= 0 && mouseInfo_.x <= Width() && mouseInfo_.y >= 0 && mouseInfo_.y <= Height();
}

bool Command::OverMenuStrip(float x) const { return x + layout_.menuWidth > Width(); }
bool Command::OpensMenu(float x) const { return IsPopupMenu() && (!menuButton_ || OverMenuStrip(x)); }

void Command::RaiseClick() {
    if (IsArrayMember()) {
        std::int16_t index = Index();
        RaiseEvent("Click", index);
    } else {
        RaiseEvent("Click");
    }
}

void Command::RaiseMouse(const char* event, int& button, int& shift, float& x, float& y) {
    std::int16_t b = static_cast<std::int16_t>(button), s = static_cast<std::int16_t>(shift);
    if (IsArrayMember()) {
        std::int16_t index = Index();
        RaiseEvent(event, index, b, s, x, y);
    } else {
        RaiseEvent(event, b, s, x, y);
    }
    button = b, shift = s;
}

void Command::StopTimer() {
    if (tmrAutoRepeat_) tmrAutoRepeat_->SetEnabled(false);
}

void Command::StartHoverWatch() {
    if (!tmrAutoRepeat_) return;
    tmrAutoRepeat_->SetInterval(kHoverWatchMs);
    tmrAutoRepeat_->SetEnabled(true);
}

void Command::MouseDown(int button, int shift, float x, float y) {
    auto keep = shared_from_this();
    auto alive = alive_;
    mouseInfo_ = CmdMouseInfo{static_cast<std::int16_t>(button), static_cast<std::int16_t>(shift), x, y};
    if (menuClosedRecently_ && GetTickCount() - menuClosedTick_ < kMenuGuardMs) return;
    if (!Enabled() || button == 4 || !HitTest(x, y)) return;
    // Asked before the event: a MouseDown handler that pumps messages changes the answer.
    const bool byMouse = PressMadeWithMouse();
    RaiseMouse("MouseDown", button, shift, x, y);
    if (!*alive) return;
    if (button == 1 && shift == 4 && moveable_ && byMouse) {
        StartAltDrag();
        return;
    }
    menuPress_ = OpensMenu(x);
    if (locked_) {
        // A locked button keeps its state and look: the press is only remembered, so that its
        // release raises MouseUp and nothing else.
        pressed_ = lockedPress_ = true;
    } else if (menuPress_) {
        pressed_ = true;
        DrawButton(false);
    } else if (button == 1) {
        TogglePress(true);
    }
}

void Command::TogglePress(bool raiseClick) {
    auto alive = alive_;
    StopTimer();
    pressed_ = !pressed_;
    if (pressed_) {
        const int interval = autoDelay_ > 0 ? autoDelay_ : autoInterval_;
        bool justSet = false;
        if (!(toggle_ && value_)) {
            value_ = true;
            justSet = true;
            DrawButton(false);
            if (interval >= 1 && tmrAutoRepeat_) {
                tmrAutoRepeat_->SetInterval(interval);
                tmrAutoRepeat_->SetEnabled(true);
            }
            if (!toggle_) return;
        }
        if (justSet) value_ = false;
        const bool mayChange = group_ == 0 || !value_ || allowAllup_;
        if (mayChange && !(menuButton_ && OverMenuStrip(mouseInfo_.x))) {
            SetValue(!value_);
            autoClicked_ = true;
            if (*alive && raiseClick && IsMouseInside()) RaiseClick();
        }
        return;
    }
    if (!toggle_ || (!value_ && (group_ == 0 || allowAllup_))) {
        value_ = false;
        DrawButton(true);
    }
    if (autoClicked_) {
        autoClicked_ = false;
    } else if (raiseClick && IsMouseInside()) {
        RaiseClick();
    }
}

// The timer's two uses: the hover watch while the mouse is over an unpressed button, and
// auto-repeat while pressed. A Click handler that pumps messages does not get the timer
// again before it returns.
void Command::OnTimer() {
    if (inTimer_) return;
    auto keep = shared_from_this();
    auto alive = alive_;
    inTimer_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{inTimer_};
    if (hovering_ && !pressed_) {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(hWnd(), &p);
        float x = ScaleX(static_cast<float>(p.x), host::kScalePixels, host::kScaleTwips);
        float y = ScaleY(static_cast<float>(p.y), host::kScalePixels, host::kScaleTwips);
        if (x < 0 || y < 0 || x > Width() || y > Height()) {
            StopTimer();
            hovering_ = pressed_ = false;
            DrawButton(!value_);
        }
        return;
    }
    autoClicked_ = true;
    if (!menuPress_) RaiseClick();
    if (!*alive || !tmrAutoRepeat_) return;
    if (autoInterval_ > 0) {
        tmrAutoRepeat_->SetInterval(autoInterval_);
    } else {
        StopTimer();
    }
}

void Command::MouseMove(int button, int shift, float x, float y) {
    auto keep = shared_from_this();
    if (movingControl_) {
        if (EscapePressed()) {
            EndAltDrag(true);
        } else {
            Move(static_cast<std::int32_t>(Left() + x - mouseInfo_.x), static_cast<std::int32_t>(Top() + y - mouseInfo_.y),
                 Width(), Height());
        }
        return;
    }
    mouseInfo_.x = x, mouseInfo_.y = y;
    if (Enabled() && (activeColor_ || activeBorder_) && !hovering_ && !pressed_) {
        hovering_ = true;
        DrawButton(!value_);
        StartHoverWatch();
    }
    auto alive = alive_;
    RaiseMouse("MouseMove", button, shift, x, y);
    if (*alive && menuPress_ && !pressed_) menuPress_ = false;
}

void Command::MouseUp(int button, int shift, float x, float y) {
    auto keep = shared_from_this();
    auto alive = alive_;
    if (movingControl_) {
        EndAltDrag(EscapePressed());
        RaiseMouse("MouseUp", button, shift, x, y);
        return;
    }
    // A right release raises its MouseUp here and only here, also when it opens the menu or
    // ends a locked press: one MouseUp per release.
    const bool raised = button == 2;
    if (raised) {
        RaiseMouse("MouseUp", button, shift, x, y);
        if (!*alive) return;
    }
    if (!Enabled() || !pressed_) return;
    if (ignoreRelease_) {
        ignoreRelease_ = false;
        return;
    }
    StopTimer();
    if (lockedPress_) {
        EndLockedPress();
        if (!raised) RaiseMouse("MouseUp", button, shift, x, y);
        return;
    }
    hovering_ = false;
    if (!OpensMenu(x)) {
        menuClosedRecently_ = false;
        TogglePress(button == 1 && !menuPress_);
        if (*alive && !raised) RaiseMouse("MouseUp", button, shift, x, y);
        return;
    }
    OpenMenu(button, shift, x, y, !raised);
}

// The release (or lost capture) of a press made while Locked: nothing of it stays behind, so
// the next press after unlocking is an ordinary press.
void Command::EndLockedPress() {
    pressed_ = lockedPress_ = menuPress_ = false;
}

// The second press of a double click: a full press and release of its own, with its Click.
void Command::DblClick() {
    auto keep = shared_from_this();
    auto alive = alive_;
    if (ignoreRelease_) return;
    CmdMouseInfo info = mouseInfo_;
    MouseDown(info.Button, info.Shift, info.x, info.y);
    // A locked button does not click; its press ends with the host's following release.
    if (!*alive || lockedPress_) return;
    TogglePress(true);
    if (!*alive) return;
    hovering_ = false;
    MouseMove(info.Button, info.Shift, info.x, info.y);
}

// A second Alt-press while a drag runs (a posted press, say) keeps the first drag, its watch
// and its start position.
void Command::StartAltDrag() {
    if (movingControl_) return;
    dragWatch_ = std::make_unique<AltDragWatch>();
    movingControl_ = true;
    dragStartLeft_ = static_cast<float>(Left());
    dragStartTop_ = static_cast<float>(Top());
    ZOrder(0);
}

void Command::EndAltDrag(bool restore) {
    dragWatch_.reset();
    movingControl_ = false;
    if (restore) Move(static_cast<std::int32_t>(dragStartLeft_), static_cast<std::int32_t>(dragStartTop_), Width(), Height());
    host::TryInvoke([&] {
        if (auto container = Container()) host::CallMethod(*container, "Refresh");
    });
}

// A release that went to another window ends an Alt-drag where the button is, and a press
// without its release leaves the button up.
void Command::CaptureLost() {
    if (movingControl_) {
        EndAltDrag(EscapePressed());
        return;
    }
    if (lockedPress_) {
        EndLockedPress();
        return;
    }
    if (pressed_ && !menuPress_) {
        StopTimer();
        TogglePress(false);
    }
}

}  // namespace brimlox::controls

// The keyboard side of hosted controls: the focus, the keys a focused control receives, and the
// form's tab order.
//
// A control that the user operates with keys derives from KeyboardControl as well as from
// Control; only such a control takes the focus, by a press or by Tab. The host hands it the
// keys while it has the focus, except Tab and Shift+Tab, which move the focus along the form's
// tab order.
//
// The tab order belongs to the form, as the extender properties TabIndex and TabStop do: every
// control of a form has a position 0 .. n-1 (creation order unless set), kept without gaps or
// duplicates as a form designer keeps them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/host/control.h"

#include "platform/compat/push_x11_macros.h"

namespace brimlox::host {

class Form;

class KeyboardControl {
public:
    virtual ~KeyboardControl() = default;
    // KeyDown and KeyUp with the virtual key and the shift bits (1 Shift, 2 Ctrl, 4 Alt); a key
    // held down repeats KeyDown with `repeat` set. KeyPress with the character.
    virtual void KeyDown(int keyCode, int shift, bool repeat) { (void)keyCode, (void)shift, (void)repeat; }
    virtual void KeyUp(int keyCode, int shift) { (void)keyCode, (void)shift; }
    virtual void KeyPress(int keyAscii) { (void)keyAscii; }
    // Whether the control takes the focus in its present state (a splitter does, the same
    // control as a tool bar does not).
    virtual bool TakesFocus() const { return true; }
    // The control's answer to WM_GETDLGCODE for a key the form would otherwise use itself: a
    // push button claims Enter (DLGC_UNDEFPUSHBUTTON), a control in the middle of something
    // claims Enter or Escape (DLGC_WANTMESSAGE), so the default and cancel buttons leave them.
    virtual LRESULT DialogCode(int keyCode) const { (void)keyCode; return 0; }
    // The wheel goes to the focused control; false hands it on to the container.
    virtual bool MouseWheel(int delta, int shift) { (void)delta, (void)shift; return false; }
    virtual void GotFocus() {}
    virtual void LostFocus() {}
    // The window's keyboard cues changed while this control has the focus: a control that draws
    // a focus frame redraws, so that the frame appears or goes.
    virtual void FocusCueChanged() {}
};

// ---- Focus -------------------------------------------------------------------------------------
// Whether the control takes the focus at all (a KeyboardControl with a window).
bool CanGetFocus(const Control& control);
bool HasFocus(const Control& control);
// Focused, on a running form, and the window's focus cue shown: the control draws its frame.
bool ShowsFocusRect(const Control& control);
// Gives the control the focus; false when it cannot take it now (hidden, disabled ...).
bool SetFocus(Control& control);

// ---- Tab order ---------------------------------------------------------------------------------
std::int16_t TabIndex(const Control& control);
// Moves the control to `index` (clamped to the last position), shifting the others; throws
// HostError 380 for a negative index.
void SetTabIndex(Control& control, std::int16_t index);
bool TabStop(const Control& control);
void SetTabStop(Control& control, bool on);
// The form's controls by tab position: those Tab may visit now (TabStop, shown, enabled, able
// to take the focus) or, with `all`, every control.
std::vector<Control*> TabOrder(const Form& form, bool all = false);
// Moves the focus to the next (or previous) control Tab may visit after `from` (nullptr: from
// the start), wrapping round, and shows the focus cue. False when no control can take it.
bool SelectNextControl(Form& form, Control* from, bool forward);

// ---- Host internals ----------------------------------------------------------------------------
// Sets a position without moving the others (the form file loader, new controls).
void PlaceInTabOrder(Control& control, std::int16_t index);
// Closes the gaps controls that left the form leave behind.
void RenumberTabOrder(const Form& form);
void ForgetTabPlace(const Control& control);
// The control's window procedure hands keys, focus and cue changes here; true when handled.
bool HandleControlKeyboard(Control& control, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace brimlox::host

#include "platform/compat/pop_x11_macros.h"

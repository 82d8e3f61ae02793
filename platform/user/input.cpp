// Key and button state, mouse position, and the conversion of desktop input events into
// Windows messages: hit testing, capture, activation, double clicks and key data.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "platform/desktop/desktop.h"
#include "platform/user/input_state.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

namespace brimlox::user {

HWND HitTestChildren(WindowObject* parent, POINT screen);
HWND HitTestBeneath(HWND above, POINT screen);

namespace {

struct InputState {
    std::array<BYTE, 256> keys{};       // bit 7 down, bit 0 toggled
    std::array<bool, 256> pressedSince{};  // GetAsyncKeyState's "pressed since last call"
    POINT cursor{};
    HWND capture = nullptr;
    HWND focus = nullptr;
    HWND active = nullptr;
    UINT doubleClickTime = 500;
    bool keySinceAlt = false;  // another key went down while Alt was held
    // Click tracking for double clicks.
    bool haveClick = false;
    HWND clickWindow = nullptr;
    UINT clickMessage = 0;
    std::uint64_t clickTime = 0;
    POINT clickPoint{};
};

InputState& State() {
    static InputState s;
    return s;
}

constexpr int ButtonVk(desktop::MouseButton b) {
    return b == desktop::MouseButton::Left ? VK_LBUTTON : b == desktop::MouseButton::Right ? VK_RBUTTON : VK_MBUTTON;
}

constexpr UINT DownMessage(desktop::MouseButton b) {
    return b == desktop::MouseButton::Left ? WM_LBUTTONDOWN : b == desktop::MouseButton::Right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
}

void SetKey(int vk, bool down) {
    auto& s = State();
    BYTE& k = s.keys[static_cast<std::size_t>(vk & 0xFF)];
    if (down && !(k & 0x80)) {
        k ^= 0x01;  // the toggle flips on each press (Caps Lock, Num Lock ...)
        s.pressedSince[static_cast<std::size_t>(vk & 0xFF)] = true;
    }
    k = static_cast<BYTE>(down ? (k | 0x80) : (k & ~0x80));
}

// Left and right variants move the generic key with them.
void SetKeyWithSides(int vk, bool extended, bool down) {
    SetKey(vk, down);
    auto& k = State().keys;
    if (vk == VK_SHIFT) SetKey(VK_LSHIFT, down);
    if (vk == VK_CONTROL) SetKey(extended ? VK_RCONTROL : VK_LCONTROL, down);
    if (vk == VK_MENU) SetKey(extended ? VK_RMENU : VK_LMENU, down);
    (void)k;
}

// The window that receives mouse input at a screen point and its hit code: the capture
// window (HTCLIENT), or the visible enabled window under the point. Each window found is asked
// WM_NCHITTEST, as Windows asks on every move; one answering HTTRANSPARENT passes the point to
// the window beneath it (a sibling below, else its parent). nullptr when nobody may have it.
struct MouseHit {
    HWND window = nullptr;
    WindowObject* object = nullptr;  // the window's object, as found after the last message
    LRESULT code = HTCLIENT;
};

MouseHit MouseTarget(POINT pt) {
    auto& s = State();
    if (s.capture)
        if (WindowObject* w = LookupWindow(s.capture)) return {s.capture, w, HTCLIENT};
    HWND hit = WindowFromPoint(pt);
    LRESULT code = HTNOWHERE;
    while (hit) {
        code = SendMessageA(hit, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
        if (code != HTTRANSPARENT) break;
        hit = HitTestBeneath(hit, pt);
    }
    WindowObject* w = LookupWindow(hit);
    if (!w || !w->Enabled()) return {};
    return {hit, w, code};
}

// The hit code of a point for the window that gets the mouse: HTCLIENT inside its client
// area or while the mouse is captured; otherwise the window's own answer to WM_NCHITTEST.
// `origin` is the client origin of the target on the screen.
LRESULT FrameHit(const MouseHit& target, const WindowObject& w, POINT origin, POINT screen) {
    if (State().capture) return HTCLIENT;
    if (RectContains(ClientRectOf(&w), POINT{screen.x - origin.x, screen.y - origin.y})) return HTCLIENT;
    const LRESULT hit = target.code;
    return hit == HTNOWHERE || hit == HTTRANSPARENT || hit == HTERROR ? HTCLIENT : hit;
}

LPARAM ClientPointParam(POINT origin, POINT screen) { return MAKELPARAM(screen.x - origin.x, screen.y - origin.y); }

bool MakeMessage(MSG& m, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, std::uint64_t now) {
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<DWORD>(now);
    m.pt = State().cursor;
    return true;
}

void SendSetCursor(HWND target, UINT mouseMessage, LRESULT hit) {
    if (State().capture) return;  // Windows sends no WM_SETCURSOR while the mouse is captured
    SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(static_cast<int>(hit), mouseMessage));
}

// Activates the clicked top-level window unless WM_MOUSEACTIVATE says otherwise. False when
// the click is to be eaten.
bool ActivateOnClick(HWND target, UINT message, LRESULT hit) {
    WindowObject* top = TopLevelOf(LookupWindow(target));
    if (!top || top->handle == State().active || (top->exStyle & WS_EX_NOACTIVATE)) return true;
    LRESULT r = SendMessageA(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->handle),
                             MAKELPARAM(static_cast<int>(hit), message));
    if (r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT) {
        SetActiveWindow(top->handle);
        BringWindowToTop(top->handle);
    }
    return r != MA_ACTIVATEANDEAT && r != MA_NOACTIVATEANDEAT;
}

// Turns a press into a double click when it follows a press of the same button on the same
// window within the double-click time and a 4 x 4 pixel box.
UINT ClassifyPress(HWND target, desktop::MouseButton button, std::uint64_t now, bool nonClient) {
    auto& s = State();
    UINT down = DownMessage(button);
    POINT pt = s.cursor;
    bool isDouble = s.haveClick && s.clickWindow == target && s.clickMessage == down &&
                    now - s.clickTime <= s.doubleClickTime &&
                    std::abs(pt.x - s.clickPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                    std::abs(pt.y - s.clickPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    WindowObject* w = LookupWindow(target);
    // Frames take double clicks whatever the class says (a double click on a caption maximises).
    if (isDouble && w && (nonClient || (w->cls->style & CS_DBLCLKS))) {
        s.haveClick = false;  // a third press starts over
        return down + 2;      // WM_xBUTTONDBLCLK follows WM_xBUTTONUP
    }
    s.haveClick = true;
    s.clickWindow = target;
    s.clickMessage = down;
    s.clickTime = now;
    s.clickPoint = pt;
    return down;
}

bool ConvertMouse(const desktop::InputEvent& e, std::uint64_t now, MSG& out) {
    auto& s = State();
    using desktop::InputType;
    // The hit test takes the point from this local: reading back the position just stored in
    // two halves would stall the load.
    POINT pointer = s.cursor;
    if (e.type == InputType::MouseMove) {
        const auto& set = desktop::Desktop::Instance().Settings();
        pointer = POINT{std::clamp(e.x, 0, set.width - 1), std::clamp(e.y, 0, set.height - 1)};
        // A move to where the pointer already is gives no WM_MOUSEMOVE, as on Windows.
        if (pointer == s.cursor && !e.force) return false;
        s.cursor = pointer;
    }
    if (e.type == InputType::ButtonDown || e.type == InputType::ButtonUp)
        SetKey(ButtonVk(e.button), e.type == InputType::ButtonDown);
    const MouseHit found = MouseTarget(pointer);
    HWND target = found.window;
    if (!found.object) return false;
    POINT origin = ClientOriginOnScreen(found.object);
    const std::uint64_t originGeneration = TreeGeneration();
    const LRESULT hit = FrameHit(found, *found.object, origin, pointer);
    const bool nonClient = hit != HTCLIENT;
    UINT message = WM_MOUSEMOVE;
    if (e.type == InputType::ButtonDown) {
        if (!ActivateOnClick(target, DownMessage(e.button), hit)) return false;
        if (!IsWindow(target)) return false;
        message = ClassifyPress(target, e.button, now, nonClient);
    } else if (e.type == InputType::ButtonUp) {
        message = DownMessage(e.button) + 1;
    }
    SendSetCursor(target, message, hit);
    WindowObject* targetWindow = LookupWindow(target);
    if (!targetWindow) return false;
    // WM_SETCURSOR may have moved the window.
    if (TreeGeneration() != originGeneration) origin = ClientOriginOnScreen(targetWindow);
    if (nonClient) {
        // Frame input: the WM_NC* twin of the message, with the hit code and the screen point.
        const UINT ncMessage = message - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        return MakeMessage(out, target, ncMessage, static_cast<WPARAM>(hit), MAKELPARAM(s.cursor.x, s.cursor.y), now);
    }
    return MakeMessage(out, target, message, MouseKeyFlags(), ClientPointParam(origin, s.cursor), now);
}

// Key data of WM_KEYDOWN and friends: repeat count 1, scan code, extended bit 24, context
// bit 29 (Alt held), previous state bit 30, transition bit 31.
LPARAM KeyData(int vk, bool extended, bool down, bool wasDown, bool altHeld) {
    DWORD data = 1u | (ScanCodeOf(vk) << 16);
    if (extended || IsExtendedKey(vk)) data |= 1u << 24;
    if (altHeld) data |= 1u << 29;
    if (wasDown || !down) data |= 1u << 30;
    if (!down) data |= 1u << 31;
    return static_cast<LPARAM>(data);
}

bool ConvertKey(const desktop::InputEvent& e, std::uint64_t now, MSG& out) {
    auto& s = State();
    bool down = e.type == desktop::InputType::KeyDown;
    bool wasDown = KeyDown(e.vk);
    SetKeyWithSides(e.vk, e.extended, down);
    bool alt = KeyDown(VK_MENU);
    bool ctrl = KeyDown(VK_CONTROL);
    if (e.vk == VK_MENU && down && !wasDown) s.keySinceAlt = false;
    else if (down && alt) s.keySinceAlt = true;
    // Alt (without Ctrl) turns key messages into system key messages; F10 is one by itself.
    // Releasing Alt is a system key only when no other key was pressed meanwhile (checked
    // against Windows: Alt, A, release A, release Alt ends with WM_KEYUP 0xC0380001).
    bool sys = (alt && !ctrl) || e.vk == VK_F10 || (e.vk == VK_MENU && !down && !ctrl && !s.keySinceAlt);
    LPARAM data = KeyData(e.vk, e.extended, down, wasDown, alt && !ctrl);
    UINT message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    HWND target = s.focus && IsWindow(s.focus) ? s.focus : s.active;
    WindowObject* w = LookupWindow(target);
    if (!w || !w->Enabled()) return false;
    return MakeMessage(out, target, message, static_cast<WPARAM>(e.vk), data, now);
}

}  // namespace

bool ConvertInput(const desktop::InputEvent& e, std::uint64_t now, MSG& out) {
    using desktop::InputType;
    switch (e.type) {
        case InputType::MouseMove:
        case InputType::ButtonDown:
        case InputType::ButtonUp: return ConvertMouse(e, now, out);
        case InputType::KeyDown:
        case InputType::KeyUp: return ConvertKey(e, now, out);
        case InputType::Wheel: {
            auto& s = State();
            HWND target = s.focus && IsWindow(s.focus) ? s.focus : MouseTarget(s.cursor).window;
            if (!target) return false;
            WPARAM w = MouseKeyFlags() | (static_cast<WPARAM>(static_cast<WORD>(e.x)) << 16);
            return MakeMessage(out, target, WM_MOUSEWHEEL, w, MAKELPARAM(s.cursor.x, s.cursor.y), now);
        }
        default: return false;
    }
}

WPARAM MouseKeyFlags() {
    const auto& keys = State().keys;
    auto down = [&keys](int vk) { return (keys[static_cast<std::size_t>(vk)] & 0x80) != 0; };
    WPARAM f = 0;
    if (down(VK_LBUTTON)) f |= MK_LBUTTON;
    if (down(VK_RBUTTON)) f |= MK_RBUTTON;
    if (down(VK_MBUTTON)) f |= MK_MBUTTON;
    if (down(VK_SHIFT)) f |= MK_SHIFT;
    if (down(VK_CONTROL)) f |= MK_CONTROL;
    return f;
}

bool KeyDown(int vk) { return (State().keys[static_cast<std::size_t>(vk & 0xFF)] & 0x80) != 0; }
POINT CursorPos() { return State().cursor; }

void ResetInputState() { State() = InputState{}; }

void ForgetWindowInput(HWND hwnd) {
    auto& s = State();
    if (s.capture == hwnd) s.capture = nullptr;  // no WM_CAPTURECHANGED to a dying window
    if (s.focus == hwnd) s.focus = nullptr;
    if (s.active == hwnd) s.active = nullptr;
    if (s.clickWindow == hwnd) s.haveClick = false;
}

}  // namespace brimlox::user

using namespace brimlox::user;
namespace gdi = brimlox::gdi;

HWND SetCapture(HWND hwnd) {
    auto& s = State();
    HWND old = s.capture;
    if (hwnd && !IsWindow(hwnd)) return old;
    if (old == hwnd) return old;
    s.capture = hwnd;
    if (old && IsWindow(old)) SendMessageA(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

HWND GetCapture() { return State().capture; }

namespace brimlox::user {

HWND DetachCapture() {
    HWND old = State().capture;
    State().capture = nullptr;
    return old;
}

void RestoreCapture(HWND hwnd) {
    if (!State().capture && IsWindow(hwnd)) State().capture = hwnd;
}

}  // namespace brimlox::user

BOOL ReleaseCapture() {
    HWND old = State().capture;
    State().capture = nullptr;
    if (old && IsWindow(old)) SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND SetFocus(HWND hwnd) {
    auto& s = State();
    HWND old = s.focus;
    if (hwnd) {
        WindowObject* w = LookupWindow(hwnd);
        if (!w || !w->Enabled()) return nullptr;
        if (WindowObject* top = TopLevelOf(w); top && top->handle != s.active) SetActiveWindow(top->handle);
        if (!IsWindow(hwnd)) return nullptr;
    }
    if (old == hwnd) return old;
    s.focus = hwnd;
    if (old && IsWindow(old)) SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && IsWindow(hwnd) && s.focus == hwnd) SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old && IsWindow(old) ? old : nullptr;
}

HWND GetFocus() { return State().focus; }
HWND GetActiveWindow() { return State().active; }
HWND GetForegroundWindow() { return State().active; }
BOOL SetForegroundWindow(HWND hwnd) { return SetActiveWindow(hwnd) != nullptr || GetActiveWindow() == hwnd; }

HWND SetActiveWindow(HWND hwnd) {
    auto& s = State();
    WindowObject* top = TopLevelOf(LookupWindow(hwnd));
    HWND next = top ? top->handle : nullptr;
    HWND old = s.active;
    if (hwnd && !next) return nullptr;
    if (old == next) return old;
    s.active = next;
    if (old && IsWindow(old)) {
        SendMessageA(old, WM_NCACTIVATE, FALSE, 0);
        SendMessageA(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(next));
    }
    if (s.focus && (s.focus == old || IsChild(old, s.focus))) SetFocus(nullptr);
    if (next && IsWindow(next) && s.active == next) {
        SendMessageA(next, WM_NCACTIVATE, TRUE, 0);
        SendMessageA(next, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
        // The activated window takes the focus unless its procedure gave it to a child.
        if (IsWindow(next) && s.active == next && !s.focus) SetFocus(next);
    }
    return old && IsWindow(old) ? old : nullptr;
}

SHORT GetKeyState(int vk) {
    // The state byte sign-extended, as Windows returns it: 0xFF80 down, 0xFF81 down and toggled.
    BYTE k = State().keys[static_cast<std::size_t>(vk & 0xFF)] & 0x81;
    return static_cast<SHORT>(static_cast<signed char>(k));
}

SHORT GetAsyncKeyState(int vk) {
    auto& s = State();
    auto i = static_cast<std::size_t>(vk & 0xFF);
    SHORT r = static_cast<SHORT>(((s.keys[i] & 0x80) ? 0x8000 : 0) | (s.pressedSince[i] ? 1 : 0));
    s.pressedSince[i] = false;
    return r;
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    *point = State().cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    auto& d = brimlox::desktop::Desktop::Instance();
    const auto& set = d.Settings();
    POINT p{std::clamp(x, 0, set.width - 1), std::clamp(y, 0, set.height - 1)};
    // The pointer moves at once; the WM_MOUSEMOVE a real move gives follows through the queue.
    brimlox::desktop::InputEvent e;
    e.type = brimlox::desktop::InputType::MouseMove;
    e.timeMs = d.Now();
    e.x = p.x;
    e.y = p.y;
    e.force = true;  // the pointer is already there when the event is converted
    bool moved = !(p == State().cursor);
    State().cursor = p;
    if (moved) d.Inject(e);
    return TRUE;
}

UINT GetDoubleClickTime() { return State().doubleClickTime; }

BOOL SetDoubleClickTime(UINT ms) {
    State().doubleClickTime = ms == 0 ? 500 : ms;
    return TRUE;
}

UINT GetCaretBlinkTime() { return 530; }

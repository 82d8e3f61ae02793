// Keyboard cues: whether a window shows focus frames (UISF_HIDEFOCUS) and accelerator underlines
// (UISF_HIDEACCEL). The cues start hidden and appear once the user works with the keyboard, the
// way Windows hides them until Alt or a navigation key is pressed:
//   - a control asks for a change with WM_CHANGEUISTATE; DefWindowProcA passes it up to the
//     top-level window, which applies it to itself and its whole tree with WM_UPDATEUISTATE;
//   - DefWindowProcA answers WM_QUERYUISTATE with the window's flags;
//   - Alt (WM_SYSKEYDOWN VK_MENU reaching DefWindowProcA) reveals both cues;
//   - UIS_INITIALIZE shows the cues when the message being handled came from the keyboard and
//     hides them otherwise.
// A new child window starts with its parent's flags, a new top-level window with both hidden.
#include <vector>

#include "platform/user/keyboard_cues.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

namespace brimlox::user {

namespace {

constexpr WORD kCueFlags = UISF_HIDEFOCUS | UISF_HIDEACCEL | UISF_ACTIVE;

bool LastInputFromKeyboard() {
    INPUT_MESSAGE_SOURCE source{};
    return GetCurrentInputMessageSource(&source) && source.deviceType == IMDT_KEYBOARD;
}

// The flags after an action; UIS_INITIALIZE resolves to set or clear first.
WORD Apply(WORD state, WORD action, WORD flags) {
    flags &= kCueFlags;
    if (action == UIS_INITIALIZE) action = LastInputFromKeyboard() ? UIS_CLEAR : UIS_SET;
    if (action == UIS_SET) return static_cast<WORD>(state | flags);
    if (action == UIS_CLEAR) return static_cast<WORD>(state & ~flags);
    return state;
}

bool ValidAction(WORD action) { return action == UIS_SET || action == UIS_CLEAR || action == UIS_INITIALIZE; }

// Applies the update to a window and sends it on to each child, which may have a procedure of
// its own that looks at the change (a control repainting its focus frame).
void UpdateTree(WindowObject* w, WPARAM wParam) {
    w->uiState = Apply(w->uiState, LOWORD(wParam), HIWORD(wParam));
    std::vector<HWND> kids = w->children;
    for (HWND k : kids)
        if (IsWindow(k)) SendMessageA(k, WM_UPDATEUISTATE, wParam, 0);
}

}  // namespace

WORD InitialUiState(const WindowObject* parent, DWORD style) {
    if ((style & WS_CHILD) && parent && !parent->isDesktop) return parent->uiState;
    return UISF_HIDEFOCUS | UISF_HIDEACCEL;
}

LRESULT DefUiStateProc(WindowObject* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    const WORD action = LOWORD(wParam);
    switch (msg) {
        case WM_QUERYUISTATE: return w->uiState;
        case WM_UPDATEUISTATE:
            if (ValidAction(action)) UpdateTree(w, wParam);
            return 0;
        case WM_CHANGEUISTATE: {
            if (!ValidAction(action)) return 0;
            // Nothing to do when the change would leave the flags as they are: the request
            // stops here instead of repainting the whole tree.
            if (action != UIS_INITIALIZE && Apply(w->uiState, action, HIWORD(wParam)) == w->uiState) return 0;
            WindowObject* parent = w->IsChild() ? LookupWindow(w->parent) : nullptr;
            if (parent && !parent->isDesktop) return SendMessageA(parent->handle, WM_CHANGEUISTATE, wParam, 0);
            return SendMessageA(w->handle, WM_UPDATEUISTATE, wParam, 0);
        }
        case WM_SYSKEYDOWN:
            if (wParam == VK_MENU && !(lParam & (1 << 30)))
                SendMessageA(w->handle, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
            return 0;
        default: return 0;
    }
}

}  // namespace brimlox::user

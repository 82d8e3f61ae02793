// Resetting the whole USER state between tests, and the live counts used by leak checks.
#include "platform/desktop/desktop.h"
#include "platform/user/clipboard.h"
#include "platform/user/hook.h"
#include "platform/user/input_state.h"
#include "platform/user/msgbox.h"
#include "platform/user/nonclient.h"
#include "platform/user/timer.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

namespace brimlox::user {

void ResetQueue();

void ResetUserState() {
    std::vector<HWND> tops = DesktopWindowObject().children;
    for (HWND h : tops) DestroyWindow(h);
    ResetHooks();
    ResetTimers();
    ResetQueue();
    ResetInputState();
    SetCursor(nullptr);
    ReserveScreenBottom(0);
    SetDragFullWindows(FALSE);
    ResetClipboard();
    // Answers queued for headless message boxes belong to the run that queued them.
    ClearMessageBoxLog();
}

}  // namespace brimlox::user

#include "platform/user/thread_info.h"

#include "platform/user/menu.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

using namespace brimlox::user;

WINBOOL GetGUIThreadInfo(DWORD idThread, GUITHREADINFO* info) {
    if (!info || info->cbSize != sizeof(GUITHREADINFO)) return FALSE;
    if (idThread != 0 && idThread != GetCurrentThreadId()) return FALSE;
    const DWORD size = info->cbSize;
    *info = GUITHREADINFO{};
    info->cbSize = size;
    info->hwndActive = GetActiveWindow();
    info->hwndFocus = GetFocus();
    info->hwndCapture = GetCapture();
    if (HWND owner = MenuLoopOwner()) {
        info->hwndMenuOwner = owner;
        info->flags |= GUI_INMENUMODE | GUI_POPUPMENUMODE;
    }
    if (HWND moving = MoveSizeWindow()) {
        info->hwndMoveSize = moving;
        info->flags |= GUI_INMOVESIZE;
    }
    return TRUE;
}

// The shell's notification area as this platform provides it: Shell_NotifyIconA with the
// record of the first shell that had one. The record keeps its published 32-bit layout
// (88 bytes, handles as 32-bit values) whatever the build, because callers fill it field by
// field from that layout.
#pragma once

#include <cstdint>

#include "platform/user/winuser.h"

constexpr DWORD NIM_ADD = 0x00000000;
constexpr DWORD NIM_MODIFY = 0x00000001;
constexpr DWORD NIM_DELETE = 0x00000002;
constexpr UINT NIF_MESSAGE = 0x00000001;
constexpr UINT NIF_ICON = 0x00000002;
constexpr UINT NIF_TIP = 0x00000004;

struct NOTIFYICONDATAA {
    DWORD cbSize = 0;
    std::uint32_t hWnd = 0;   // the window that gets the callback message
    std::uint32_t uID = 0;    // the caller's number for the icon; (hWnd, uID) names it
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uint32_t hIcon = 0;
    CHAR szTip[64] = {};
};
static_assert(sizeof(NOTIFYICONDATAA) == 88, "NOTIFYICONDATAA must keep its 88-byte layout");
constexpr DWORD NOTIFYICONDATAA_V1_SIZE = 88;

// Adds, changes or removes an icon of the notification area. FALSE for a record of the wrong
// size, a window that does not exist, an add of an icon already there, a change or removal of
// one that is not, or an unknown message.
WINBOOL Shell_NotifyIconA(DWORD message, NOTIFYICONDATAA* data);

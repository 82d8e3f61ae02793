// Keyboard cues and the focus frame: the WM_*UISTATE messages with their UIS_* actions and
// UISF_* flags, by which a window tree shows or hides focus frames and accelerator underlines,
// and DrawFocusRect, the dotted frame a focused control draws when the focus cue is shown.
#pragma once

#include "platform/user/winuser.h"

constexpr UINT WM_CHANGEUISTATE = 0x0127;
constexpr UINT WM_UPDATEUISTATE = 0x0128;
constexpr UINT WM_QUERYUISTATE = 0x0129;
// Actions (low word of wParam) and flags (high word).
constexpr WORD UIS_SET = 1;
constexpr WORD UIS_CLEAR = 2;
constexpr WORD UIS_INITIALIZE = 3;
constexpr WORD UISF_HIDEFOCUS = 0x1;
constexpr WORD UISF_HIDEACCEL = 0x2;
constexpr WORD UISF_ACTIVE = 0x4;

// Inverts every other pixel of the rectangle's one-pixel border, so drawing the same frame
// twice restores what was under it. The DC's colours, pen and ROP play no part.
WINBOOL DrawFocusRect(HDC hdc, const RECT* rect);

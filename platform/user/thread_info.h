// What the UI thread is doing: the windows that hold activation, focus and capture, the owner
// of a running menu loop and the window in a move or size loop. Keyboard hooks read it to leave
// keys to a modal loop that owns them (Enter ends a keyboard move, it presses no button).
#pragma once

#include "platform/user/winuser.h"

struct GUITHREADINFO {
    DWORD cbSize = 0;
    DWORD flags = 0;
    HWND hwndActive = nullptr;
    HWND hwndFocus = nullptr;
    HWND hwndCapture = nullptr;
    HWND hwndMenuOwner = nullptr;
    HWND hwndMoveSize = nullptr;
    HWND hwndCaret = nullptr;
    RECT rcCaret{};
};
using PGUITHREADINFO = GUITHREADINFO*;
using LPGUITHREADINFO = GUITHREADINFO*;

constexpr DWORD GUI_CARETBLINKING = 0x0001;
constexpr DWORD GUI_INMOVESIZE = 0x0002;
constexpr DWORD GUI_INMENUMODE = 0x0004;
constexpr DWORD GUI_SYSTEMMENUMODE = 0x0008;
constexpr DWORD GUI_POPUPMENUMODE = 0x0010;

// Fills `info` for the UI thread (id 0 or that thread's id). Fails when `info` is null, its
// cbSize is not the record's size, or the id names another thread. The platform draws no
// system caret, so hwndCaret and rcCaret stay empty.
WINBOOL GetGUIThreadInfo(DWORD idThread, GUITHREADINFO* info);

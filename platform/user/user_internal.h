// Calls between the USER modules (windows, paint, queue, input, timers) that are not part of the
// public API. Each module cleans up its own state when a window goes away.
#pragma once

#include <cstdint>

#include "platform/user/window.h"

namespace brimlox::user {

// Called once per window while it is being destroyed, after WM_DESTROY and before WM_NCDESTROY.
void ForgetWindowInQueue(HWND hwnd);   // message.cpp: drops posted messages
void ForgetWindowTimers(HWND hwnd);    // timer.cpp
void ForgetWindowInput(HWND hwnd);     // input.cpp: capture, focus, activation, click tracking
void ForgetWindowDcs(HWND hwnd);       // paint.cpp: detaches or deletes its DCs

// paint.cpp: points every DC obtained for a window at its current surface, origin and clip;
// with a window, only the DCs of that window and its descendants (the ones a move, resize or
// new parent of that window changes).
void RetargetWindowDcs();
void RetargetWindowDcs(WindowObject* root);
// paint.cpp: the first window (z-order, parents before children) that needs WM_PAINT.
HWND FindWindowToPaint(HWND filter);
bool AnyPaintPending();
// paint.cpp: invalidates a client rectangle of a window and the children it overlaps.
void InvalidateClient(WindowObject* w, const RECT& rect, bool erase);
// Puts the screen area of a top-level window (or part of it) on the composed screen.
void ComposeScreenRect(const RECT& screenRect);

// input.cpp: takes the capture away and gives it back without WM_CAPTURECHANGED. SetParent
// hides and shows the window it moves, which would otherwise end the capture; Windows keeps a
// window's capture across a change of parent.
HWND DetachCapture();
void RestoreCapture(HWND hwnd);

// window_geometry.cpp: gives a top-level window a backing surface of its current size.
void EnsureSurface(WindowObject* w);

// ui_state.cpp: what DefWindowProcA does with WM_CHANGEUISTATE, WM_UPDATEUISTATE and
// WM_QUERYUISTATE, the Alt key that reveals the keyboard cues, and the state a new window starts with.
LRESULT DefUiStateProc(WindowObject* w, UINT msg, WPARAM wParam, LPARAM lParam);
WORD InitialUiState(const WindowObject* parent, DWORD style);

// frame_tracking.cpp: the window whose move or size loop is running, or null.
HWND MoveSizeWindow();

// Window procedure tokens (wndproc_registry.cpp).
WNDPROC ResolveWndProc(WNDPROC maybeToken);

}  // namespace brimlox::user

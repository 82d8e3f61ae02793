// The windowing half of the Windows API as this platform provides it: windows and classes,
// messages and the queue, painting, input state, capture and focus, hooks, timers and
// cursors. Calls, arguments, return values and failure results are those of Windows USER.
// One UI thread: every call is made on it.
#pragma once

#include "platform/user/winuser.h"

// ---- Classes and windows ----------------------------------------------------------------------
ATOM RegisterClassA(const WNDCLASSA* wc);
WINBOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
WINBOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* wc);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
inline HWND CreateWindowA(LPCSTR cls, LPCSTR name, DWORD style, int x, int y, int w, int h, HWND parent,
                          HMENU menu, HINSTANCE inst, void* param) {
    return CreateWindowExA(0, cls, name, style, x, y, w, h, parent, menu, inst, param);
}
WINBOOL DestroyWindow(HWND hwnd);
LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
WINBOOL IsWindow(HWND hwnd);
WINBOOL IsWindowVisible(HWND hwnd);
WINBOOL IsWindowEnabled(HWND hwnd);
WINBOOL IsChild(HWND parent, HWND hwnd);
WINBOOL ShowWindow(HWND hwnd, int cmd);
WINBOOL EnableWindow(HWND hwnd, WINBOOL enable);
int GetWindowTextA(HWND hwnd, LPSTR buffer, int size);
int GetWindowTextLengthA(HWND hwnd);
WINBOOL SetWindowTextA(HWND hwnd, LPCSTR text);
int GetClassNameA(HWND hwnd, LPSTR buffer, int size);
WORD GetWindowWord(HWND hwnd, int index);
WORD SetWindowWord(HWND hwnd, int index, WORD value);
LONG GetWindowLongA(HWND hwnd, int index);
LONG SetWindowLongA(HWND hwnd, int index, LONG value);
LONG_PTR GetWindowLongPtrA(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value);
int GetDlgCtrlID(HWND hwnd);

// ---- The window tree -------------------------------------------------------------------------
HWND GetDesktopWindow();
HWND GetParent(HWND hwnd);
HWND SetParent(HWND child, HWND newParent);
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND hwnd);
HWND GetAncestor(HWND hwnd, UINT flags);
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
WINBOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);
WINBOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);

// ---- Geometry --------------------------------------------------------------------------------
WINBOOL GetClientRect(HWND hwnd, LPRECT rect);
WINBOOL GetWindowRect(HWND hwnd, LPRECT rect);
WINBOOL ClientToScreen(HWND hwnd, LPPOINT point);
WINBOOL ScreenToClient(HWND hwnd, LPPOINT point);
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
WINBOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, WINBOOL repaint);
WINBOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
WINBOOL BringWindowToTop(HWND hwnd);
HWND WindowFromPoint(POINT point);
HWND ChildWindowFromPoint(HWND parent, POINT point);
int GetSystemMetrics(int index);

// ---- Messages --------------------------------------------------------------------------------
LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
WINBOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
WINBOOL PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
WINBOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
WINBOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);
WINBOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
DWORD GetQueueStatus(UINT flags);
DWORD GetMessageTime();
// Where the message last taken from the queue came from: the mouse or the keyboard for input
// messages, "unavailable" for posted, paint and timer messages. A press posted by code (an
// accelerator's click) is thus told apart from one made with the mouse.
WINBOOL GetCurrentInputMessageSource(INPUT_MESSAGE_SOURCE* source);
DWORD GetCurrentThreadId();
WINBOOL WaitMessage();

// ---- Painting --------------------------------------------------------------------------------
WINBOOL InvalidateRect(HWND hwnd, const RECT* rect, WINBOOL erase);
WINBOOL ValidateRect(HWND hwnd, const RECT* rect);
WINBOOL GetUpdateRect(HWND hwnd, LPRECT rect, WINBOOL erase);
WINBOOL UpdateWindow(HWND hwnd);
WINBOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps);
WINBOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);
HWND WindowFromDC(HDC hdc);

// ---- Input state, capture, focus, activation -------------------------------------------------
HWND SetCapture(HWND hwnd);
HWND GetCapture();
WINBOOL ReleaseCapture();
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND GetActiveWindow();
HWND SetActiveWindow(HWND hwnd);
HWND GetForegroundWindow();
WINBOOL SetForegroundWindow(HWND hwnd);
SHORT GetKeyState(int vk);
SHORT GetAsyncKeyState(int vk);
WINBOOL GetCursorPos(LPPOINT point);
WINBOOL SetCursorPos(int x, int y);
UINT GetDoubleClickTime();
WINBOOL SetDoubleClickTime(UINT ms);
UINT GetCaretBlinkTime();
UINT MapVirtualKeyA(UINT code, UINT mapType);

// ---- Hooks -----------------------------------------------------------------------------------
HHOOK SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId);
WINBOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

// ---- Timers and time ---------------------------------------------------------------------------
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
WINBOOL KillTimer(HWND hwnd, UINT_PTR id);
DWORD timeGetTime();
DWORD GetTickCount();

// ---- Cursors and icons -------------------------------------------------------------------------
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
HICON CreateIconIndirect(ICONINFO* info);
WINBOOL DestroyIcon(HICON icon);
WINBOOL DestroyCursor(HCURSOR cursor);
WINBOOL DrawIcon(HDC hdc, int x, int y, HICON icon);
WINBOOL GetIconInfo(HICON icon, ICONINFO* info);
HICON CopyIcon(HICON icon);

// ---- Menus ---------------------------------------------------------------------------------------
HMENU CreateMenu();
HMENU CreatePopupMenu();
WINBOOL DestroyMenu(HMENU menu);
WINBOOL IsMenu(HMENU menu);
WINBOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
WINBOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
WINBOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
DWORD CheckMenuItem(HMENU menu, UINT idCheckItem, UINT check);
WINBOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
WINBOOL EnableMenuItem(HMENU menu, UINT idEnableItem, UINT enable);
WINBOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
WINBOOL SetMenuItemBitmaps(HMENU menu, UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked);
LONG GetMenuCheckMarkDimensions();
UINT GetMenuState(HMENU menu, UINT id, UINT flags);
int GetMenuStringA(HMENU menu, UINT id, LPSTR buffer, int size, UINT flags);
HMENU GetMenu(HWND hwnd);
HMENU GetSubMenu(HMENU menu, int position);
UINT GetMenuItemID(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
WINBOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect);
WINBOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
WINBOOL EndMenu();

// ---- Message boxes -------------------------------------------------------------------------------
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// ---- Platform helpers that are not Windows calls ----------------------------------------------
namespace brimlox::user {

// A window procedure as a 32-bit value for SetWindowLongA(GWL_WNDPROC). Pointers do not fit in
// a LONG on 64-bit builds, so the 32-bit calls trade procedures as small registered tokens
// (GetWindowLongA returns one, CallWindowProcA accepts one cast to WNDPROC), the way Windows
// hands out procedure handles for procedures it cannot return directly.
LONG WndProcToLong(WNDPROC proc);
WNDPROC WndProcFromLong(LONG value);

// GetMessageA returns FALSE with a WM_QUIT whose lParam is this value when nothing will ever
// happen again: on the virtual clock, no posted message, input, paint or timer is left before
// the desktop's run limit (see Desktop::RunLimit). wParam is the last PostQuitMessage code, or 0.
constexpr LPARAM kEndOfInput = 0x454E44;  // "END"

// The GetMessage step of a modal loop (a drag or a menu that pumps messages inside a handler).
// Fetches one message like GetMessageA; on WM_QUIT (or the end of scripted input) it posts the
// quit again, so that the loop's owner and every loop below it end too, and returns false.
bool GetModalMessage(MSG* msg);

// Registers a window class of the platform's own windows (menus, message boxes, the tray)
// the first time it is asked for, with the arrow cursor; returns the class name.
const char* EnsureWindowClass(const char* name, WNDPROC proc, UINT style);

// Live USER objects of each kind, for leak checks in tests.
std::size_t LiveWindowCount();
std::size_t LiveHookCount();
std::size_t LiveIconCount();

// Drops every window, hook, timer and queued message (between tests).
void ResetUserState();

}  // namespace brimlox::user

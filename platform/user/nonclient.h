// The non-client area of a window: the frame and the caption bar with its icon and buttons.
// One layout feeds WM_NCCALCSIZE, WM_NCHITTEST, WM_NCPAINT and the title-bar buttons, so what
// is drawn, what is hit and what the client area leaves over always agree.
#pragma once

#include "platform/user/window.h"

namespace brimlox::user {

// Where the parts of a frame lie, in window coordinates ((0, 0) is the window's top left).
// A part a window lacks has an empty rectangle.
struct FrameLayout {
    int frame = 0;          // thickness of the border on every side
    bool sizable = false;   // the border sizes the window (WS_THICKFRAME, not maximised)
    bool tool = false;      // a tool window's short caption
    RECT caption{};         // the caption bar, without the line below it
    int captionZone = 0;    // caption bar plus that line: hits above it belong to the caption
    RECT icon{};            // the small icon (the system menu's place)
    RECT text{};            // where the caption text goes
    RECT closeButton{};
    RECT maxButton{};
    RECT minButton{};
    bool minEnabled = false;  // a window with one of the two boxes shows both, the other disabled
    bool maxEnabled = false;
};

// The frame insets the default WM_NCCALCSIZE takes from a window of these styles.
RECT DefaultFrameInsets(DWORD style, DWORD exStyle);
// The layout of a window's frame at its current size and state.
FrameLayout LayoutFrame(const WindowObject* w);
// The default WM_NCHITTEST answer for a point in window coordinates.
LRESULT FrameHitTest(const WindowObject* w, POINT windowPoint);
// Asks the window (WM_NCCALCSIZE) where its client area lies and keeps the answer.
void RecalcFrame(WindowObject* w);
// True when the window has any non-client area to draw.
bool HasFrame(const WindowObject* w);

// nonclient_paint.cpp: the default WM_NCPAINT, and a repaint of the frame of a visible
// window followed by its composition on the screen.
void PaintFrame(WindowObject* w);
void RedrawFrame(HWND hwnd);

// The default WM_NCHITTEST: where the screen point of lParam falls in the window's frame.
LRESULT DefHitTest(const WindowObject* w, LPARAM lParam);
// The default handling of WM_NCCALCSIZE, WM_NCPAINT, WM_NCACTIVATE, WM_SETICON, WM_GETICON
// and WM_GETMINMAXINFO.
LRESULT DefNonClientMessage(WindowObject* w, UINT msg, WPARAM wParam, LPARAM lParam);
// The cursor of a hit code: the sizing arrows over the sizing border, else the arrow.
LPCSTR SizingCursor(LRESULT hit);

// frame_tracking.cpp: the default handling of non-client clicks and system commands.
LRESULT DefNonClientButtonDown(HWND hwnd, WPARAM hit, LPARAM screenPoint);
LRESULT DefNonClientDoubleClick(HWND hwnd, WPARAM hit);
LRESULT DefSysCommand(HWND hwnd, WPARAM command, LPARAM lParam);
// The keys DefWindowProcA turns into system commands of the top-level window: Alt+Space (the
// window menu) and Alt+F4 (close). True when the key was one of them.
bool DefSystemKey(HWND hwnd, UINT msg, WPARAM key);

// system_menu.cpp: the window's copy of the window menu, and the menu shown below the caption's
// icon with the commands its state does not allow greyed; a chosen command is sent as
// WM_SYSCOMMAND.
HMENU SystemMenuOf(HWND hwnd, bool revert);
// At `at` (screen pixels), or by default below the caption's icon.
void ShowSystemMenu(HWND hwnd, const POINT* at = nullptr);
// A right click on the caption or its icon asks for a context menu (WM_CONTEXTMENU), whose
// default answer on the frame is the window menu at the pointer; a child passes the question to
// its parent.
LRESULT DefNonClientRightUp(HWND hwnd, WPARAM hit, LPARAM screenPoint);
LRESULT DefContextMenu(HWND hwnd, WPARAM wParam, LPARAM screenPoint);

// placement.cpp: ShowWindow's minimise, maximise and restore commands; the work area
// (the screen without the task strip) that maximised windows fill.
bool ApplyShowState(WindowObject* w, int cmd);
RECT WorkArea();
// The shell's strip along the bottom of the screen keeps that many rows out of the work area.
void ReserveScreenBottom(int pixels);
// The shell is told when a window is minimised (true) and when it leaves that state (false);
// adding the same observer twice keeps one.
using MinimizeObserver = void (*)(HWND hwnd, bool minimised);
void AddMinimizeObserver(MinimizeObserver observer);

}  // namespace brimlox::user

// Window objects and the class registry: the internal side of the window tree. Public calls
// (CreateWindowExA, GetWindow, SetWindowPos ...) live in window.cpp, window_tree.cpp and
// window_geometry.cpp; painting, messages and input read the same objects.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/user/child_grid.h"
#include "platform/user/user_handles.h"
#include "platform/user/frame.h"
#include "platform/user/winuser.h"

namespace brimlox::user {

// A registered window class. Windows keep a shared reference, so unregistering a class that
// still has windows leaves those windows working.
struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int clsExtra = 0;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
};

// One window: its place in the tree, its rectangle in the parent's client coordinates, styles,
// text, procedure, extra bytes and the pending update area. Top-level windows also own the
// backing surface that they and all their descendants draw on.
class WindowObject : public UserObject {
public:
    static constexpr UserKind kKind = UserKind::Window;
    WindowObject() : UserObject(UserKind::Window) {}

    HWND handle = nullptr;
    std::shared_ptr<const WindowClass> cls;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    WNDPROC proc = nullptr;
    HWND parent = nullptr;  // the desktop window for top-level windows
    HWND owner = nullptr;
    std::vector<HWND> children;  // z-order, topmost first
    // The children as hit tests read them: rectangles and flags in z-order in one array, so a
    // hit test walks contiguous memory instead of looking up every child, and a grid over them
    // when there are many. Rebuilt on first use after the tree changed (any move, resize, show,
    // hide, enable, reorder or destruction).
    using ChildSpot = user::ChildSpot;
    std::vector<ChildSpot> childSpots;
    ChildGrid childGrid;
    std::uint64_t childSpotsGeneration = ~std::uint64_t{0};
    RECT rect;                   // window rectangle in the parent's client coordinates
    std::vector<BYTE> extra;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    HINSTANCE instance = nullptr;

    // The update area as one union rectangle in client coordinates.
    bool hasUpdate = false;
    bool eraseNeeded = false;
    RECT update;

    // The frame: the insets of the client area as WM_NCCALCSIZE last gave them, whether the
    // caption shows as active, the title-bar button drawn pushed (a hit code, 0 for none),
    // and the icons of WM_SETICON.
    RECT ncInsets{};
    bool ncActive = false;
    LRESULT pushedButton = 0;
    HICON smallIcon = nullptr;
    HICON bigIcon = nullptr;
    // The normal rectangle (parent's client coordinates) kept while minimised or maximised,
    // and whether a minimised window goes back maximised.
    RECT normalRect{};
    bool restoreMaximized = false;

    std::unique_ptr<gdi::Surface> surface;  // top-level windows only
    HDC ownDc = nullptr;                    // CS_OWNDC windows
    std::vector<HDC> dcs;                   // every DC handed out for this window and not released
    bool destroying = false;
    bool isDesktop = false;
    // The keyboard cues hidden in this window (UISF_* flags, see ui_state.cpp).
    WORD uiState = 0;

    bool IsChild() const { return (style & WS_CHILD) != 0; }
    bool Visible() const { return (style & WS_VISIBLE) != 0; }
    bool Enabled() const { return (style & WS_DISABLED) == 0; }
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
};

// The window behind a handle, or nullptr (stale, forged or not a window).
inline WindowObject* LookupWindow(HWND hwnd) {
    return hwnd ? UserHandleTable::Instance().Get<WindowObject>(hwnd) : nullptr;
}
// The desktop window (created on first use); top-level windows are its children.
WindowObject& DesktopWindowObject();
// The top-level ancestor of a window (the window itself when it is top-level).
WindowObject* TopLevelOf(WindowObject* w);
// The non-client insets (frame and caption) of a window, as WM_NCCALCSIZE last gave them.
inline RECT NonClientInsets(const WindowObject* w) { return w->ncInsets; }
// The client rectangle in the window's own client coordinates: (0, 0, cx, cy).
RECT ClientRectOf(const WindowObject* w);
// The client area's top-left corner in screen coordinates.
POINT ClientOriginOnScreen(const WindowObject* w);
// The window rectangle in screen coordinates.
RECT WindowRectOnScreen(const WindowObject* w);
// True when the window and all its ancestors are visible.
bool IsReallyVisible(const WindowObject* w);
// The part of the client area that may be drawn, in client coordinates: the client rectangle
// clipped by every ancestor's client area (children are clipped by their parents).
RECT VisibleClientRect(const WindowObject* w);
// Bumped whenever a window is created, destroyed, moved, shown, hidden or re-ordered; caches of
// hit tests and geometry compare against it. Inline on a hidden global: every mouse move reads
// it several times.
[[gnu::visibility("hidden")]] extern constinit std::uint64_t g_treeGeneration;
inline std::uint64_t TreeGeneration() { return g_treeGeneration; }
inline void BumpTreeGeneration() { ++g_treeGeneration; }

// Calls the window's procedure (the one now installed), or DefWindowProcA when it has none.
LRESULT CallProc(WindowObject* w, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace brimlox::user

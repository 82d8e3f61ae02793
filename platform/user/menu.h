// Menu objects in the USER handle table: the items of a menu bar or popup menu, their flags and
// texts, and the layout a popup window gives them while it is shown. The public calls
// (CreatePopupMenu, AppendMenuA, TrackPopupMenu ...) are declared in user.h; the files
// menu.cpp, menu_layout.cpp, menu_paint.cpp, menu_window.cpp and menu_tracker.cpp share these
// internals.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/user/user_handles.h"
#include "platform/user/winuser.h"

namespace brimlox::user {

// One menu item. `flags` keeps the MF_* type and state bits as AppendMenuA received them
// (MF_POPUP, MF_OWNERDRAW, MF_SEPARATOR, column breaks, MF_CHECKED, MF_GRAYED, MF_DISABLED,
// MF_DEFAULT), plus MFT_RADIOCHECK set by CheckMenuRadioItem.
struct MenuItem {
    UINT flags = 0;
    UINT id = 0;                 // command id; 0xFFFFFFFF reads back for popup items
    HMENU submenu = nullptr;     // MF_POPUP items
    std::string text;            // string items; empty for separators and owner-drawn items
    ULONG_PTR itemData = 0;      // owner-drawn items: the value given as the "text"
    HBITMAP checkedMark = nullptr;    // SetMenuItemBitmaps
    HBITMAP uncheckedMark = nullptr;
    RECT rect;                   // in the popup window's client coordinates while shown
    int shortcutX = 0;           // where the text after a tab starts (string items)

    bool IsSeparator() const { return (flags & MF_SEPARATOR) != 0 && (flags & MF_OWNERDRAW) == 0; }
    bool IsOwnerDraw() const { return (flags & MF_OWNERDRAW) != 0; }
    bool IsPopup() const { return (flags & MF_POPUP) != 0; }
    bool IsDisabled() const { return (flags & (MF_GRAYED | MF_DISABLED)) != 0; }
};

// A menu: a menu bar (CreateMenu) or a popup menu (CreatePopupMenu). Submenus are referred to
// by handle; destroying a menu destroys the submenus it holds.
class MenuObject : public UserObject {
public:
    static constexpr UserKind kKind = UserKind::Menu;
    MenuObject() : UserObject(UserKind::Menu) {}

    HMENU handle = nullptr;
    bool isPopup = true;
    std::vector<MenuItem> items;
    HWND window = nullptr;  // the popup window while the menu is shown
    SIZE size{};            // the popup's client size after layout
};

// Limits that keep hostile input bounded: items per menu, characters per item text, and the
// depth of nested submenus that TrackPopupMenu follows.
constexpr std::size_t kMaxMenuItems = 65535;
constexpr std::size_t kMaxMenuTextLength = 4096;
constexpr int kMaxMenuDepth = 32;

// The menu behind a handle, or nullptr (stale, forged or not a menu).
MenuObject* LookupMenu(HMENU menu);
// The index of an item named by command id (searched depth first, as Windows does) or by
// position. On success `owner` is the menu that holds the item.
MenuItem* FindMenuItem(HMENU menu, UINT item, UINT flags, MenuObject** owner = nullptr, int* index = nullptr);
// The live menu count, for leak checks.
std::size_t LiveMenuCount();

// ---- Layout (menu_layout.cpp) ----------------------------------------------------------------
// The classic metrics of popup menus at the current scale.
struct MenuMetrics {
    int frame = 3;           // raised edge plus one pixel of menu colour around the items
    int itemHeight = 16;     // string items
    int separatorHeight = 9;
    int checkColumn = 16;    // room for the check mark left of the text
    int arrowColumn = 16;    // room for the submenu arrow right of the text
    int shortcutGap = 16;    // between the text and the text after a tab
};
MenuMetrics CurrentMenuMetrics();
// Measures every item (WM_MEASUREITEM to `owner` for owner-drawn ones), places them in
// columns (MF_MENUBREAK, MF_MENUBARBREAK, and a new column when one would outgrow the screen)
// and sets menu.size to the client size of the popup window.
void LayoutPopupMenu(MenuObject& menu, HWND owner);

// ---- Painting (menu_paint.cpp) ----------------------------------------------------------------
// Draws one item on a DC of the popup window: owner-drawn items through WM_DRAWITEM to
// `owner`, others in the classic look.
void PaintMenuItem(HDC dc, MenuObject& menu, int index, bool selected, HWND owner, UINT action);
// Draws the whole popup: frame, column bars, every item.
void PaintPopupMenu(HDC dc, MenuObject& menu, int selected, HWND owner);

// ---- Popup windows (menu_window.cpp) ----------------------------------------------------------
// The window class of popup menus ("#32768"), registered on first use.
const char* PopupMenuClass();

// ---- Tracking (menu_tracker.cpp) --------------------------------------------------------------
// The popup window procedure hands paints and timers to the tracker.
void TrackerPaint(HWND popup);
void TrackerTimer(HWND popup, UINT_PTR id);
// True while a TrackPopupMenu loop runs.
bool MenuTracking();
// The owner window of the running TrackPopupMenu loop, or null.
HWND MenuLoopOwner();

// The delay before a submenu opens under a resting mouse: 400 ms, the value Windows reports
// for SPI_GETMENUSHOWDELAY (checked against Windows).
UINT MenuShowDelay();
void SetMenuShowDelay(UINT ms);

}  // namespace brimlox::user

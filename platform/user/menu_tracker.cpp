// TrackPopupMenu: the modal menu loop. It shows the popup (and the submenus the user opens) as
// popup windows, takes the mouse and key messages out of the queue for itself, dispatches
// everything else (paints and timers of other windows go on), tells the owner what happens
// (WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_ENTERIDLE, WM_MENUCHAR ...), and posts
// WM_COMMAND with the chosen id when the menu closes.
//
// Message order, checked against Windows: WM_ENTERMENULOOP(TRUE), WM_INITMENU, WM_INITMENUPOPUP
// (menu, position 0), WM_MEASUREITEM for owner-drawn items, then WM_ENTERIDLE(MSGF_MENU, popup
// window) whenever the loop waits. Closing sends WM_UNINITMENUPOPUP for each open level,
// WM_MENUSELECT(0xFFFF << 16, 0) and WM_EXITMENULOOP(TRUE); WM_COMMAND is posted afterwards.
// A button press outside every popup level, real or posted (even to no window), ends the menu
// and stays in the queue for its window.
#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "platform/user/menu.h"
#include "platform/user/user.h"
#include "platform/user/window_tracker.h"

namespace brimlox::user {

namespace {

constexpr UINT_PTR kShowSubmenuTimer = 1;
UINT g_showDelay = 400;

// One open popup: the menu, its window and its selected item (-1 for none).
struct Level {
    HMENU menu = nullptr;
    HWND window = nullptr;
    int selected = -1;
};

// The state of the one running menu loop.
struct Tracker {
    HWND owner = nullptr;
    UINT flags = 0;
    bool notify = true;
    std::vector<Level> levels;
    bool done = false;
    UINT chosen = 0;
};

Tracker* g_tracker = nullptr;

bool IsButtonDown(UINT m) {
    return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN || m == WM_LBUTTONDBLCLK ||
           m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDBLCLK;
}
bool IsButtonUp(UINT m) { return m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_MBUTTONUP; }
bool IsRightButton(UINT m) { return m == WM_RBUTTONDOWN || m == WM_RBUTTONUP || m == WM_RBUTTONDBLCLK; }

void Notify(Tracker& t, UINT msg, WPARAM w, LPARAM l) {
    if (t.notify && IsWindow(t.owner)) SendMessageA(t.owner, msg, w, l);
}

int LevelOfWindow(const Tracker& t, HWND hwnd) {
    if (!hwnd) return -1;
    for (std::size_t i = 0; i < t.levels.size(); ++i)
        if (t.levels[i].window == hwnd) return static_cast<int>(i);
    return -1;
}

MenuItem* ItemOf(const Level& level, int index) {
    MenuObject* m = LookupMenu(level.menu);
    if (!m || index < 0 || static_cast<std::size_t>(index) >= m->items.size()) return nullptr;
    return &m->items[static_cast<std::size_t>(index)];
}

// The selectable item under a screen point in one level; separators count as none.
int ItemAt(const Level& level, POINT screen) {
    MenuObject* m = LookupMenu(level.menu);
    if (!m) return -1;
    ScreenToClient(level.window, &screen);
    for (std::size_t i = 0; i < m->items.size(); ++i)
        if (PtInRect(&m->items[i].rect, screen)) return m->items[i].IsSeparator() ? -1 : static_cast<int>(i);
    return -1;
}

// Draws one item again with its new selection state, straight on the popup window.
void RepaintItem(Tracker& t, const Level& level, int index, bool selected) {
    MenuObject* m = LookupMenu(level.menu);
    if (!m || index < 0 || !IsWindow(level.window)) return;
    HDC dc = GetDC(level.window);
    PaintMenuItem(dc, *m, index, selected, t.owner, ODA_SELECT);
    ReleaseDC(level.window, dc);
}

// Closes the deepest levels until `count` remain, telling the owner of each one.
void CloseDownTo(Tracker& t, std::size_t count) {
    while (t.levels.size() > count) {
        Level level = t.levels.back();
        t.levels.pop_back();
        if (IsWindow(level.window)) {
            KillTimer(level.window, kShowSubmenuTimer);
            DestroyWindow(level.window);
        }
        if (MenuObject* m = LookupMenu(level.menu)) m->window = nullptr;
        Notify(t, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(level.menu), 0);
    }
}

void CloseLevelsAbove(Tracker& t, std::size_t keep) { CloseDownTo(t, keep + 1); }

// Moves the selection of a level and reports it with WM_MENUSELECT (the position for popup
// items, the command id for others; the item's flags with MF_HILITE).
void Select(Tracker& t, std::size_t li, int index, bool byMouse) {
    CloseLevelsAbove(t, li);
    if (li >= t.levels.size()) return;
    Level& level = t.levels[li];
    if (level.selected == index) return;
    int old = level.selected;
    level.selected = index;
    KillTimer(level.window, kShowSubmenuTimer);
    RepaintItem(t, t.levels[li], old, false);
    if (li >= t.levels.size() || index < 0) return;
    RepaintItem(t, t.levels[li], index, true);
    MenuItem* item = ItemOf(t.levels[li], index);
    if (!item) return;
    UINT flags = (item->flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_POPUP | MF_OWNERDRAW | MF_DEFAULT)) | MF_HILITE;
    if (byMouse) flags |= MF_MOUSESELECT;
    int id = item->IsPopup() ? index : static_cast<int>(item->id);
    Notify(t, WM_MENUSELECT, MAKEWPARAM(id, static_cast<int>(flags)), reinterpret_cast<LPARAM>(t.levels[li].menu));
}

// Where a popup of this size goes so that it stays on the screen: flipped to the other side
// of the point when it does not fit, pushed inside when that does not fit either.
int FitOnScreen(int pos, int size, int limit, int flipTo) {
    if (pos + size > limit) pos = flipTo - size >= 0 && flipTo <= limit ? flipTo - size : limit - size;
    return std::max(0, pos);
}

bool ShowLevel(Tracker& t, HMENU menu, POINT at, const RECT* parentItem) {
    MenuObject* m = LookupMenu(menu);
    if (!m) return false;
    LayoutPopupMenu(*m, t.owner);
    if (!(m = LookupMenu(menu)) || !IsWindow(t.owner)) return false;
    const auto& screen = desktop::Desktop::Instance().Settings();
    int w = m->size.cx, h = m->size.cy;
    int x, y;
    if (parentItem) {
        // To the right of the parent item, or to the left of its popup when that is full.
        x = parentItem->right + w > screen.width ? std::max(0, static_cast<int>(parentItem->left) - w) : parentItem->right;
        y = FitOnScreen(parentItem->top - CurrentMenuMetrics().frame, h, screen.height, parentItem->bottom);
    } else {
        x = (t.flags & TPM_RIGHTALIGN) ? at.x - w : (t.flags & TPM_CENTERALIGN) ? at.x - w / 2 : at.x;
        y = (t.flags & TPM_BOTTOMALIGN) ? at.y - h : (t.flags & TPM_VCENTERALIGN) ? at.y - h / 2 : at.y;
        x = FitOnScreen(std::max(0, x), w, screen.width, at.x);
        y = FitOnScreen(std::max(0, y), h, screen.height, at.y);
    }
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, PopupMenuClass(), "", WS_POPUP,
                                x, y, w, h, t.owner, nullptr, nullptr, nullptr);
    if (!hwnd) return false;
    m->window = hwnd;
    t.levels.push_back(Level{menu, hwnd, -1});
    ShowWindow(hwnd, SW_SHOWNA);
    return true;
}

// The first item from `from` on in direction `step` (wrapping) that is not a separator.
int NextSelectable(const Level& level, int from, int step) {
    MenuObject* m = LookupMenu(level.menu);
    if (!m || m->items.empty()) return -1;
    int n = static_cast<int>(m->items.size());
    int i = from;
    for (int k = 0; k < n; ++k) {
        i = ((i + step) % n + n) % n;
        if (!m->items[static_cast<std::size_t>(i)].IsSeparator()) return i;
    }
    return -1;
}

// The first selectable item of the column next to the one holding `index`, to the right
// (step 1) or to the left (step -1); -1 when there is no such column. Columns are told by the
// items' left edges, so the breaks the layout makes for menus taller than the screen count as
// well as MF_MENUBREAK and MF_MENUBARBREAK.
int FirstOfNeighbourColumn(const Level& level, int index, int step) {
    MenuObject* m = LookupMenu(level.menu);
    if (!m || index < 0 || static_cast<std::size_t>(index) >= m->items.size()) return -1;
    const LONG here = m->items[static_cast<std::size_t>(index)].rect.left;
    std::optional<LONG> column;
    for (const MenuItem& it : m->items) {
        const LONG left = it.rect.left;
        if (step > 0 ? left <= here : left >= here) continue;
        if (!column || (step > 0 ? left < *column : left > *column)) column = left;
    }
    if (!column) return -1;
    for (std::size_t i = 0; i < m->items.size(); ++i)
        if (m->items[i].rect.left == *column && !m->items[i].IsSeparator()) return static_cast<int>(i);
    return -1;
}

void OpenSubmenu(Tracker& t, std::size_t li, bool selectFirst) {
    if (li >= t.levels.size() || t.levels.size() >= static_cast<std::size_t>(kMaxMenuDepth)) return;
    CloseLevelsAbove(t, li);
    int index = t.levels[li].selected;
    MenuItem* item = ItemOf(t.levels[li], index);
    if (!item || !item->IsPopup() || item->IsDisabled() || !LookupMenu(item->submenu)) return;
    HMENU sub = item->submenu;
    RECT parent = item->rect;
    MapWindowPoints(t.levels[li].window, nullptr, reinterpret_cast<POINT*>(&parent), 2);
    Notify(t, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(index, FALSE));
    if (t.done || li >= t.levels.size() || t.levels.size() != li + 1) return;
    if (!ShowLevel(t, sub, POINT{}, &parent)) return;
    if (selectFirst) Select(t, li + 1, NextSelectable(t.levels[li + 1], -1, 1), false);
}

void Cancel(Tracker& t) {
    t.done = true;
    t.chosen = 0;
}

// Enter, a click or a mnemonic on an item: a popup item opens, an enabled item ends the menu
// with its id, a grayed or disabled one does nothing.
void Execute(Tracker& t, std::size_t li, int index, bool byMouse) {
    MenuItem* item = ItemOf(t.levels[li], index);
    if (!item || item->IsSeparator()) return;
    if (t.levels[li].selected != index) Select(t, li, index, byMouse);
    item = ItemOf(t.levels[li], index);
    if (!item) return;
    if (item->IsPopup()) {
        if (t.levels.size() == li + 1) OpenSubmenu(t, li, !byMouse);
        return;
    }
    if (item->IsDisabled()) return;
    t.chosen = item->id;
    t.done = true;
}

void HandleMouse(Tracker& t, const MSG& msg) {
    int li = LevelOfWindow(t, msg.hwnd);
    if (li < 0) {
        // Over no popup: a plain item of the deepest level loses its highlight.
        Level& deepest = t.levels.back();
        MenuItem* sel = ItemOf(deepest, deepest.selected);
        if (msg.message == WM_MOUSEMOVE && sel && !sel->IsPopup()) Select(t, t.levels.size() - 1, -1, true);
        return;
    }
    auto level = static_cast<std::size_t>(li);
    int index = ItemAt(t.levels[level], msg.pt);
    bool buttonAllowed = !IsRightButton(msg.message) || (t.flags & TPM_RIGHTBUTTON);
    if (msg.message == WM_MOUSEMOVE || !buttonAllowed) {
        MenuItem* sel = ItemOf(t.levels[level], t.levels[level].selected);
        bool keepOpen = index < 0 && sel && sel->IsPopup() && t.levels.size() > level + 1;
        if (keepOpen || (index == t.levels[level].selected && t.levels.size() > level + 1)) return;
        Select(t, level, index, true);
        MenuItem* item = ItemOf(t.levels[level], index);
        if (item && item->IsPopup() && !item->IsDisabled())
            SetTimer(t.levels[level].window, kShowSubmenuTimer, g_showDelay, nullptr);
        return;
    }
    if (index < 0) return;
    MenuItem* item = ItemOf(t.levels[level], index);
    if (IsButtonDown(msg.message) && item && item->IsPopup()) {
        Select(t, level, index, true);
        if (t.levels.size() == level + 1) OpenSubmenu(t, level, false);
    } else if (IsButtonUp(msg.message)) {
        Execute(t, level, index, true);
    }
}

// The mnemonic of a string item: the character after a single "&".
char MnemonicOf(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
        ++i;
    }
    return 0;
}

// A typed character: string items with that mnemonic first (one match runs it, several take
// turns being selected); else the owner answers WM_MENUCHAR.
void HandleChar(Tracker& t, WPARAM ch) {
    std::size_t li = t.levels.size() - 1;
    MenuObject* m = LookupMenu(t.levels[li].menu);
    if (!m) return;
    char key = static_cast<char>(std::toupper(static_cast<int>(ch & 0xFF)));
    std::vector<int> matches;
    for (std::size_t i = 0; i < m->items.size(); ++i)
        if (!m->items[i].IsOwnerDraw() && !m->items[i].IsSeparator() && MnemonicOf(m->items[i].text) == key)
            matches.push_back(static_cast<int>(i));
    if (matches.size() == 1) return Execute(t, li, matches[0], false);
    if (matches.size() > 1) {
        auto next = std::upper_bound(matches.begin(), matches.end(), t.levels[li].selected);
        return Select(t, li, next == matches.end() ? matches[0] : *next, false);
    }
    LRESULT r = 0;
    if (t.notify && IsWindow(t.owner))
        r = SendMessageA(t.owner, WM_MENUCHAR, MAKEWPARAM(static_cast<int>(ch & 0xFFFF), MF_POPUP),
                         reinterpret_cast<LPARAM>(t.levels[li].menu));
    if (t.done || li >= t.levels.size()) return;
    auto answer = static_cast<std::uint32_t>(r);
    int position = LOWORD(answer);
    switch (HIWORD(answer)) {
        case MNC_EXECUTE: {
            // Running a grayed or disabled item this way ends the menu with nothing chosen
            // (checked against Windows).
            MenuItem* item = ItemOf(t.levels[li], position);
            if (item && item->IsDisabled() && !item->IsPopup()) Cancel(t);
            else Execute(t, li, position, false);
            break;
        }
        case MNC_SELECT:
            if (ItemOf(t.levels[li], position)) Select(t, li, position, false);
            break;
        case MNC_CLOSE: Cancel(t); break;
        default: break;  // MNC_IGNORE
    }
}

void HandleKey(Tracker& t, int vk) {
    std::size_t li = t.levels.size() - 1;
    Level& level = t.levels[li];
    switch (vk) {
        case VK_UP:
        case VK_DOWN: {
            int from = level.selected < 0 ? (vk == VK_DOWN ? -1 : 0) : level.selected;
            Select(t, li, NextSelectable(level, from, vk == VK_DOWN ? 1 : -1), false);
            break;
        }
        case VK_HOME: Select(t, li, NextSelectable(level, -1, 1), false); break;
        case VK_END: Select(t, li, NextSelectable(level, 0, -1), false); break;
        case VK_RIGHT: {
            // Across the columns of this popup first; only from the last column does Right
            // open a submenu (or, unused, leave the menu to its owner).
            if (int next = FirstOfNeighbourColumn(level, level.selected, 1); next >= 0) {
                Select(t, li, next, false);
                break;
            }
            MenuItem* item = ItemOf(level, level.selected);
            if (item && item->IsPopup()) OpenSubmenu(t, li, true);
            break;
        }
        case VK_LEFT:
            if (int previous = FirstOfNeighbourColumn(level, level.selected, -1); previous >= 0) {
                Select(t, li, previous, false);
                break;
            }
            if (li > 0) CloseLevelsAbove(t, li - 1);
            break;
        case VK_RETURN:
            if (level.selected >= 0) Execute(t, li, level.selected, false);
            break;
        case VK_ESCAPE:
            if (li > 0) CloseLevelsAbove(t, li - 1);
            else Cancel(t);
            break;
        case VK_MENU:
        case VK_F10: Cancel(t); break;
        default: break;
    }
}

void HandleMessage(Tracker& t, MSG& msg) {
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) return HandleMouse(t, msg);
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            TranslateMessage(&msg);
            return HandleKey(t, static_cast<int>(msg.wParam));
        case WM_CHAR:
        case WM_SYSCHAR: return HandleChar(t, msg.wParam);
        case WM_KEYUP:
        case WM_SYSKEYUP: return;
        default: DispatchMessageA(&msg);
    }
}

bool MenusAlive(const Tracker& t) {
    return std::all_of(t.levels.begin(), t.levels.end(), [](const Level& l) { return LookupMenu(l.menu) != nullptr; });
}

// The loop proper. Button presses outside the popups and WM_QUIT are looked at without being
// taken, so they stay queued for whoever comes after the menu.
void RunMenuLoop(Tracker& t, const WindowTracker& owner) {
    while (!t.done) {
        if (!owner.Alive() || !MenusAlive(t) || t.levels.empty()) return Cancel(t);
        MSG msg;
        if (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) {
            if (msg.message == WM_QUIT) return Cancel(t);
            if (IsButtonDown(msg.message) && LevelOfWindow(t, msg.hwnd) < 0) return Cancel(t);
        }
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return Cancel(t);
            }
            HandleMessage(t, msg);
            continue;
        }
        Notify(t, WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(t.levels.back().window));
        if (t.done || !owner.Alive() || HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0) continue;
        // Wait by taking the next message, so that keyboard hooks see each key once. The queue
        // was empty, so a press outside put back among the posted messages still comes first.
        if (!GetModalMessage(&msg)) return Cancel(t);
        if (IsButtonDown(msg.message) && LevelOfWindow(t, msg.hwnd) < 0) {
            PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
            return Cancel(t);
        }
        HandleMessage(t, msg);
    }
}

}  // namespace

bool MenuTracking() { return g_tracker != nullptr; }
HWND MenuLoopOwner() { return g_tracker ? g_tracker->owner : nullptr; }
UINT MenuShowDelay() { return g_showDelay; }
void SetMenuShowDelay(UINT ms) { g_showDelay = ms; }

void TrackerPaint(HWND popup) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(popup, &ps);
    if (g_tracker) {
        int li = LevelOfWindow(*g_tracker, popup);
        if (li >= 0)
            if (MenuObject* m = LookupMenu(g_tracker->levels[static_cast<std::size_t>(li)].menu))
                PaintPopupMenu(dc, *m, g_tracker->levels[static_cast<std::size_t>(li)].selected, g_tracker->owner);
    }
    EndPaint(popup, &ps);
}

void TrackerTimer(HWND popup, UINT_PTR id) {
    KillTimer(popup, id);
    if (!g_tracker || id != kShowSubmenuTimer) return;
    int li = LevelOfWindow(*g_tracker, popup);
    if (li >= 0 && g_tracker->levels.size() == static_cast<std::size_t>(li) + 1)
        OpenSubmenu(*g_tracker, static_cast<std::size_t>(li), false);
}

}  // namespace brimlox::user

using namespace brimlox::user;

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    // One menu loop at a time (a second call while one runs fails, as on Windows).
    if (g_tracker || !LookupMenu(menu) || !IsWindow(owner)) return FALSE;
    Tracker t;
    t.owner = owner;
    t.flags = flags;
    t.notify = !(flags & TPM_NONOTIFY);
    g_tracker = &t;
    WindowTracker ownerAlive(owner);
    Notify(t, WM_ENTERMENULOOP, TRUE, 0);
    Notify(t, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    Notify(t, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
    if (ownerAlive.Alive() && ShowLevel(t, menu, POINT{x, y}, nullptr)) RunMenuLoop(t, ownerAlive);
    else Cancel(t);
    CloseDownTo(t, 0);
    g_tracker = nullptr;
    if (!ownerAlive.Alive()) return FALSE;
    Notify(t, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    Notify(t, WM_EXITMENULOOP, TRUE, 0);
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(t.chosen);
    if (t.chosen) PostMessageA(owner, WM_COMMAND, MAKEWPARAM(static_cast<int>(t.chosen), 0), 0);
    return TRUE;
}

BOOL EndMenu() {
    if (!g_tracker) return FALSE;
    Cancel(*g_tracker);
    return TRUE;
}

// Menu objects: creation, destruction, items and their states, and the queries that read them.
#include "platform/user/menu.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "platform/gdi/gdi.h"
#include "platform/user/user.h"
#include "platform/user/window.h"

namespace brimlox::user {

namespace {

constexpr UINT kNoId = 0xFFFFFFFFu;
// The check and enable states an item keeps; everything else is its type.
constexpr UINT kStateBits = MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_DEFAULT | MF_HILITE;

HMENU NewMenu(bool popup) {
    auto m = std::make_unique<MenuObject>();
    MenuObject* raw = m.get();
    raw->isPopup = popup;
    std::uint32_t value = UserHandleTable::Instance().Add(std::move(m));
    if (!value) return nullptr;
    raw->handle = HandleFromValue<HMENU>(value);
    return raw->handle;
}

// Fills an item from AppendMenuA / ModifyMenuA arguments; false when they make no item.
bool BuildItem(MenuItem& item, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    // MF_APPEND, MF_DELETE and MF_REMOVE of old share their bits with MF_OWNERDRAW,
    // MF_USECHECKBITMAPS and MF_DEFAULT, so only the position flag and the highlight go.
    item.flags = flags & ~(MF_BYPOSITION | MF_HILITE);
    item.submenu = nullptr;
    item.text.clear();
    item.itemData = 0;
    if (flags & MF_POPUP) {
        HMENU sub = HandleFromValue<HMENU>(static_cast<std::uint32_t>(idNewItem));
        if (!LookupMenu(sub)) return false;
        item.submenu = sub;
        item.id = kNoId;
    } else {
        item.id = static_cast<UINT>(idNewItem);
    }
    if (flags & MF_OWNERDRAW) {
        item.itemData = reinterpret_cast<ULONG_PTR>(newItem);
    } else if (flags & MF_BITMAP) {
        return false;  // bitmap items are not drawn by this platform
    } else if (!(flags & MF_SEPARATOR) && newItem) {
        std::size_t n = strnlen(newItem, kMaxMenuTextLength);
        item.text.assign(newItem, n);
    }
    // An empty string item shows as a separator, as on Windows.
    if (!(flags & (MF_OWNERDRAW | MF_POPUP)) && item.text.empty()) item.flags |= MF_SEPARATOR;
    return true;
}

// Every menu reachable from `root` through popup items, `root` first. Iterative with a visited
// set, so neither a very deep chain nor a cycle made through ModifyMenuA can exhaust the stack.
std::vector<HMENU> MenuTree(HMENU root) {
    std::vector<HMENU> out;
    std::unordered_set<HMENU> seen;
    std::vector<HMENU> stack{root};
    while (!stack.empty()) {
        HMENU h = stack.back();
        stack.pop_back();
        MenuObject* m = LookupMenu(h);
        if (!m || !seen.insert(h).second) continue;
        out.push_back(h);
        for (const MenuItem& it : m->items)
            if (it.submenu) stack.push_back(it.submenu);
    }
    return out;
}

// True when `inner` is `outer` or a submenu somewhere below it: such an item would make a cycle.
bool Contains(HMENU outer, HMENU inner) {
    std::vector<HMENU> tree = MenuTree(outer);
    return std::find(tree.begin(), tree.end(), inner) != tree.end();
}

}  // namespace

// Searching by command stops this deep, so a giant chain of submenus cannot exhaust the stack.
constexpr int kMaxSearchDepth = 1000;
MenuItem* FindMenuItemBelow(HMENU menu, UINT item, UINT flags, MenuObject** owner, int* index, int depth);

MenuObject* LookupMenu(HMENU menu) {
    if (!menu) return nullptr;
    return UserHandleTable::Instance().Get<MenuObject>(menu);
}

MenuItem* FindMenuItem(HMENU menu, UINT item, UINT flags, MenuObject** owner, int* index) {
    return FindMenuItemBelow(menu, item, flags, owner, index, 0);
}

MenuItem* FindMenuItemBelow(HMENU menu, UINT item, UINT flags, MenuObject** owner, int* index, int depth) {
    MenuObject* m = LookupMenu(menu);
    if (!m || depth > kMaxSearchDepth) return nullptr;
    if (flags & MF_BYPOSITION) {
        if (item >= m->items.size()) return nullptr;
        if (owner) *owner = m;
        if (index) *index = static_cast<int>(item);
        return &m->items[item];
    }
    // By command: this menu's items first, each submenu searched where it stands (Windows
    // searches depth first and a popup item whose id matches counts too).
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        MenuItem& it = m->items[i];
        if (it.submenu) {
            if (MenuItem* found = FindMenuItemBelow(it.submenu, item, flags, owner, index, depth + 1)) return found;
            if (HandleValue(it.submenu) != item) continue;
        } else if (it.id != item) {
            continue;
        }
        if (owner) *owner = m;
        if (index) *index = static_cast<int>(i);
        return &it;
    }
    return nullptr;
}

std::size_t LiveMenuCount() { return UserHandleTable::Instance().LiveCount(UserKind::Menu); }

}  // namespace brimlox::user

using namespace brimlox::user;

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu) {
    if (!LookupMenu(menu)) return FALSE;
    for (HMENU h : MenuTree(menu)) {
        MenuObject* m = LookupMenu(h);
        if (m && m->window) DestroyWindow(m->window);
        UserHandleTable::Instance().Remove(HandleValue(h));
    }
    return TRUE;
}

BOOL IsMenu(HMENU menu) { return LookupMenu(menu) != nullptr; }

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    MenuObject* m = LookupMenu(menu);
    if (!m || m->items.size() >= kMaxMenuItems) return FALSE;
    MenuItem item;
    if (!BuildItem(item, flags, idNewItem, newItem)) return FALSE;
    if (item.submenu && Contains(item.submenu, menu)) return FALSE;
    m->items.push_back(std::move(item));
    return TRUE;
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
    MenuObject* owner = nullptr;
    MenuItem* it = FindMenuItem(menu, position, flags, &owner);
    if (!it) return FALSE;
    MenuItem next;
    next.checkedMark = it->checkedMark;
    next.uncheckedMark = it->uncheckedMark;
    if (!BuildItem(next, flags, idNewItem, newItem)) return FALSE;
    if (next.submenu && Contains(next.submenu, owner->handle)) return FALSE;
    // A popup item that now opens a different menu no longer owns the old one; the caller
    // destroys it, as on Windows.
    *it = std::move(next);
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    MenuObject* owner = nullptr;
    int index = 0;
    MenuItem* it = FindMenuItem(menu, position, flags, &owner, &index);
    if (!it) return FALSE;
    HMENU sub = it->submenu;
    owner->items.erase(owner->items.begin() + index);
    if (sub) DestroyMenu(sub);
    return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT idCheckItem, UINT check) {
    MenuItem* it = FindMenuItem(menu, idCheckItem, check);
    if (!it) return static_cast<DWORD>(-1);
    DWORD old = it->flags & MF_CHECKED;
    it->flags = (it->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return old;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
    MenuObject* m = LookupMenu(menu);
    if (!m) return FALSE;
    // The range is given by command or by position within this one menu.
    int from = -1, to = -1, chosen = -1;
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        UINT key = (flags & MF_BYPOSITION) ? static_cast<UINT>(i) : m->items[i].id;
        if (key == first && from < 0) from = static_cast<int>(i);
        if (key == last) to = static_cast<int>(i);
        if (key == check && chosen < 0) chosen = static_cast<int>(i);
    }
    if (from < 0 || to < 0 || from > to) return FALSE;
    for (int i = from; i <= to; ++i) {
        MenuItem& it = m->items[static_cast<std::size_t>(i)];
        if (it.IsSeparator()) continue;
        if (i == chosen) it.flags |= MF_CHECKED | MFT_RADIOCHECK;
        else it.flags &= ~MF_CHECKED;
    }
    return chosen >= from && chosen <= to;
}

BOOL EnableMenuItem(HMENU menu, UINT idEnableItem, UINT enable) {
    MenuItem* it = FindMenuItem(menu, idEnableItem, enable);
    if (!it) return -1;
    UINT old = it->flags & (MF_GRAYED | MF_DISABLED);
    it->flags = (it->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return static_cast<BOOL>(old);
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
    MenuObject* m = LookupMenu(menu);
    if (!m) return FALSE;
    for (MenuItem& it : m->items) it.flags &= ~MF_DEFAULT;
    if (item == kNoId) return TRUE;  // -1 clears the default
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        if (byPosition ? i == item : m->items[i].id == item) {
            m->items[i].flags |= MF_DEFAULT;
            return TRUE;
        }
    }
    return FALSE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT) {
    MenuObject* m = LookupMenu(menu);
    if (!m) return kNoId;
    for (std::size_t i = 0; i < m->items.size(); ++i)
        if (m->items[i].flags & MF_DEFAULT) return byPosition ? static_cast<UINT>(i) : m->items[i].id;
    return kNoId;
}

BOOL SetMenuItemBitmaps(HMENU menu, UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked) {
    MenuItem* it = FindMenuItem(menu, position, flags);
    if (!it) return FALSE;
    it->uncheckedMark = unchecked;
    it->checkedMark = checked;
    return TRUE;
}

LONG GetMenuCheckMarkDimensions() {
    // The classic check-mark bitmap is 13 x 13 pixels at 96 DPI. (Wine reports 11 x 11, the
    // SM_CXMENUCHECK of its smaller menu font; callers that need room raise it anyway.)
    return static_cast<LONG>(MAKELPARAM(13, 13));
}

UINT GetMenuState(HMENU menu, UINT id, UINT flags) {
    MenuItem* it = FindMenuItem(menu, id, flags);
    if (!it) return kNoId;
    if (it->submenu) {
        MenuObject* sub = LookupMenu(it->submenu);
        UINT count = sub ? static_cast<UINT>(sub->items.size()) : 0;
        return (count << 8) | (it->flags & 0xFF);
    }
    return it->flags & (kStateBits | MF_SEPARATOR | MF_OWNERDRAW | MF_MENUBREAK | MF_MENUBARBREAK | MF_POPUP | MFT_RADIOCHECK);
}

int GetMenuStringA(HMENU menu, UINT id, LPSTR buffer, int size, UINT flags) {
    MenuItem* it = FindMenuItem(menu, id, flags);
    if (!it) return 0;
    if (!buffer || size <= 0) return static_cast<int>(it->text.size());
    std::size_t n = std::min(it->text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, it->text.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

HMENU GetMenu(HWND hwnd) {
    // A top-level window's menu bar is the menu given to CreateWindowExA; child windows keep an
    // id there instead and have no menu.
    WindowObject* w = LookupWindow(hwnd);
    if (!w || w->IsChild()) return nullptr;
    HMENU menu = HandleFromValue<HMENU>(static_cast<std::uint32_t>(w->id));
    return LookupMenu(menu) ? menu : nullptr;
}

HMENU GetSubMenu(HMENU menu, int position) {
    MenuObject* m = LookupMenu(menu);
    if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return nullptr;
    return m->items[static_cast<std::size_t>(position)].submenu;
}

UINT GetMenuItemID(HMENU menu, int position) {
    MenuObject* m = LookupMenu(menu);
    if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return kNoId;
    const MenuItem& it = m->items[static_cast<std::size_t>(position)];
    return it.submenu ? kNoId : it.id;
}

int GetMenuItemCount(HMENU menu) {
    MenuObject* m = LookupMenu(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

BOOL GetMenuItemRect(HWND, HMENU menu, UINT item, LPRECT rect) {
    MenuObject* m = LookupMenu(menu);
    if (!m || !rect || item >= m->items.size() || !m->window) return FALSE;
    // Screen coordinates of the item in its shown popup window.
    *rect = m->items[item].rect;
    POINT o{0, 0};
    ClientToScreen(m->window, &o);
    OffsetRect(rect, o.x, o.y);
    return TRUE;
}

// Popup menu layout: item sizes (measured text of string items, WM_MEASUREITEM for owner-drawn
// ones), columns, and the client size of the popup window.
#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/sysparams.h"
#include "platform/user/menu.h"
#include "platform/user/user.h"

namespace brimlox::user {

namespace {

// Item sizes before they are placed in columns.
struct ItemSize {
    int width = 0;  // the item's own width, without the shortcut part
    int shortcut = 0;
    int height = 0;
};

// A memory DC with the menu font selected, for measuring string items.
class MeasureDc {
public:
    MeasureDc() {
        LOGFONTA lf = gdi::SystemLogFont(gdi::SystemFont::Menu);
        font_ = CreateFontIndirectA(&lf);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, font_);
    }
    ~MeasureDc() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(font_);
    }
    MeasureDc(const MeasureDc&) = delete;
    MeasureDc& operator=(const MeasureDc&) = delete;

    // The width of a piece of item text with "&" prefixes applied, as DrawTextA draws it.
    int Width(const std::string& s) const {
        if (s.empty()) return 0;
        RECT r{0, 0, 0, 0};
        DrawTextA(dc_, s.data(), static_cast<int>(s.size()), &r, DT_SINGLELINE | DT_CALCRECT);
        return r.right - r.left;
    }
    int Height() const {
        TEXTMETRICA tm{};
        GetTextMetricsA(dc_, &tm);
        return tm.tmHeight;
    }

private:
    HFONT font_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

ItemSize MeasureStringItem(const MenuItem& item, const MeasureDc& dc, const MenuMetrics& mm) {
    ItemSize s;
    if (item.IsSeparator()) {
        s.height = mm.separatorHeight;
        return s;
    }
    std::size_t tab = item.text.find('\t');
    s.width = dc.Width(item.text.substr(0, tab));
    if (tab != std::string::npos) s.shortcut = dc.Width(item.text.substr(tab + 1));
    s.height = mm.itemHeight;
    return s;
}

// Asks the owner for an owner-drawn item's size. Popup items report their submenu handle as
// the item id, as on Windows; the default height is the string item height.
ItemSize MeasureOwnerDrawItem(const MenuItem& item, HWND owner, const MenuMetrics& mm) {
    MEASUREITEMSTRUCT mi;
    mi.CtlType = ODT_MENU;
    mi.itemID = item.submenu ? HandleValue(item.submenu) : item.id;
    mi.itemHeight = static_cast<UINT>(mm.itemHeight);
    mi.itemData = item.itemData;
    SendMessageA(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi));
    // Sizes beyond any screen are cut so that a careless owner cannot ask for a giant window.
    // The item is widened by the width of a check mark, as Windows does for owner-drawn items
    // (owners that want the exact width subtract it; most draw a check mark in that room).
    ItemSize s;
    const int check = LOWORD(static_cast<std::uint32_t>(GetMenuCheckMarkDimensions()));
    s.width = static_cast<int>(std::min<UINT>(mi.itemWidth, gdi::kMaxSurfaceSide)) + check;
    s.height = static_cast<int>(std::min<UINT>(mi.itemHeight, gdi::kMaxSurfaceSide));
    return s;
}

// One column of items: [first, last) and its widths.
struct Column {
    std::size_t first = 0;
    std::size_t last = 0;
    int textWidth = 0;
    int shortcutWidth = 0;
    int ownerWidth = 0;
    int height = 0;
    bool bar = false;  // MF_MENUBARBREAK: a line separates it from the column before
};

int ColumnWidth(const Column& c, const MenuMetrics& mm) {
    int text = mm.checkColumn + c.textWidth + (c.shortcutWidth ? mm.shortcutGap + c.shortcutWidth : 0) + mm.arrowColumn;
    return std::max(text, c.ownerWidth);
}

// Splits the items into columns at MF_MENUBREAK / MF_MENUBARBREAK, and wherever a column would
// grow taller than the screen (the way early Windows wrapped long menus).
std::vector<Column> MakeColumns(const MenuObject& menu, const std::vector<ItemSize>& sizes, int maxHeight) {
    std::vector<Column> cols(1);
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const MenuItem& it = menu.items[i];
        Column* c = &cols.back();
        bool breakHere = i > c->first && ((it.flags & (MF_MENUBREAK | MF_MENUBARBREAK)) || c->height + sizes[i].height > maxHeight);
        if (breakHere) {
            c->last = i;
            Column next;
            next.first = i;
            next.bar = (it.flags & MF_MENUBARBREAK) != 0;
            cols.push_back(next);
            c = &cols.back();
        }
        if (it.IsOwnerDraw()) c->ownerWidth = std::max(c->ownerWidth, sizes[i].width);
        else c->textWidth = std::max(c->textWidth, sizes[i].width);
        c->shortcutWidth = std::max(c->shortcutWidth, sizes[i].shortcut);
        c->height += sizes[i].height;
    }
    cols.back().last = sizes.size();
    return cols;
}

}  // namespace

MenuMetrics CurrentMenuMetrics() {
    MenuMetrics mm;
    MeasureDc dc;
    // String items are the font height plus three pixels (checked against Windows: 16 pixels
    // for a 13-pixel menu font); separators half a menu bar (9 pixels); the frame 3 pixels.
    mm.itemHeight = dc.Height() + 3;
    mm.separatorHeight = 9;
    mm.frame = 3;
    int check = LOWORD(static_cast<std::uint32_t>(GetMenuCheckMarkDimensions()));
    mm.checkColumn = check + 4;
    mm.arrowColumn = check + 4;
    mm.shortcutGap = 16;
    return mm;
}

void LayoutPopupMenu(MenuObject& target, HWND owner) {
    const MenuMetrics mm = CurrentMenuMetrics();
    const HMENU handle = target.handle;
    std::vector<ItemSize> sizes;
    {
        MeasureDc dc;
        // Item by item through the handle: a WM_MEASUREITEM handler may change or destroy the menu.
        for (std::size_t i = 0;; ++i) {
            MenuObject* m = LookupMenu(handle);
            if (!m || i >= m->items.size()) break;
            const MenuItem item = m->items[i];
            sizes.push_back(item.IsOwnerDraw() ? MeasureOwnerDrawItem(item, owner, mm) : MeasureStringItem(item, dc, mm));
        }
    }
    MenuObject* menu = LookupMenu(handle);
    if (!menu) return;
    sizes.resize(menu->items.size());
    const auto& screen = desktop::Desktop::Instance().Settings();
    const int maxHeight = std::max(1, screen.height - 2 * mm.frame);
    std::vector<Column> cols = MakeColumns(*menu, sizes, maxHeight);
    int x = mm.frame;
    int height = 0;
    for (Column& c : cols) {
        if (c.bar) x += 4;  // room for the etched line between the columns
        int w = ColumnWidth(c, mm);
        int y = mm.frame;
        int shortcutX = x + mm.checkColumn + c.textWidth + mm.shortcutGap;
        for (std::size_t i = c.first; i < c.last; ++i) {
            MenuItem& it = menu->items[i];
            it.rect = RECT{x, y, x + w, y + sizes[i].height};
            it.shortcutX = shortcutX;
            y += sizes[i].height;
        }
        height = std::max(height, c.height);
        x += w;
    }
    // An empty menu still shows its frame and one empty row, as Windows does.
    if (menu->items.empty()) height = mm.itemHeight / 2, x += 2 * mm.frame;
    menu->size = SIZE{std::min(x + mm.frame, screen.width), std::min(height + 2 * mm.frame, screen.height)};
}

}  // namespace brimlox::user

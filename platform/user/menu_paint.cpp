// Popup menu painting in the classic look: a raised frame, items on the menu colour, the
// highlight bar, embossed grey text for grayed items, check and radio marks, submenu arrows,
// etched separators and column bars. Owner-drawn items are drawn by their owner through
// WM_DRAWITEM; the arrow of an owner-drawn popup item is still drawn here, as Windows does.
#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/gdi/sysparams.h"
#include "platform/user/menu.h"
#include "platform/user/user.h"

namespace brimlox::user {

namespace {

// Small glyphs as rows of '#' pixels, drawn at the item's text colour.
constexpr const char* kCheckGlyph[] = {"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."};
constexpr const char* kRadioGlyph[] = {"..##..", ".####.", "######", "######", ".####.", "..##.."};
constexpr const char* kArrowGlyph[] = {"#...", "##..", "###.", "####", "###.", "##..", "#..."};

template <std::size_t N>
void DrawGlyph(HDC dc, int x, int y, const char* const (&rows)[N], COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    for (std::size_t r = 0; r < N; ++r) {
        const char* row = rows[r];
        for (int c = 0; row[c];) {
            if (row[c] != '#') {
                ++c;
                continue;
            }
            int start = c;
            while (row[c] == '#') ++c;
            RECT run{x + start, y + static_cast<int>(r), x + c, y + static_cast<int>(r) + 1};
            FillRect(dc, &run, brush);
        }
    }
    DeleteObject(brush);
}

void FillSys(HDC dc, const RECT& r, int colourIndex) { FillRect(dc, &r, GetSysColorBrush(colourIndex)); }

// The fonts of menu items: the menu font, and its bold form for the default item.
class MenuFonts {
public:
    MenuFonts() {
        LOGFONTA lf = gdi::SystemLogFont(gdi::SystemFont::Menu);
        normal_ = CreateFontIndirectA(&lf);
        lf.lfWeight = FW_BOLD;
        bold_ = CreateFontIndirectA(&lf);
    }
    ~MenuFonts() {
        DeleteObject(normal_);
        DeleteObject(bold_);
    }
    MenuFonts(const MenuFonts&) = delete;
    MenuFonts& operator=(const MenuFonts&) = delete;
    HFONT Normal() const { return normal_; }
    HFONT Bold() const { return bold_; }

private:
    HFONT normal_ = nullptr;
    HFONT bold_ = nullptr;
};

void DrawSeparator(HDC dc, const RECT& r) {
    int mid = (r.top + r.bottom) / 2 - 1;
    RECT line{r.left + 1, mid, r.right - 1, mid + 1};
    FillSys(dc, line, COLOR_3DSHADOW);
    OffsetRect(&line, 0, 1);
    FillSys(dc, line, COLOR_3DHILIGHT);
}

// The check column: a SetMenuItemBitmaps bitmap when the item has one, else the check mark
// (or the radio bullet for items checked by CheckMenuRadioItem).
void DrawCheck(HDC dc, const MenuItem& item, const RECT& r, int checkColumn, COLORREF colour) {
    bool checked = (item.flags & MF_CHECKED) != 0;
    HBITMAP mark = checked ? item.checkedMark : item.uncheckedMark;
    int midY = (r.top + r.bottom) / 2;
    if (mark) {
        BITMAP bm{};
        GetObjectA(mark, sizeof bm, &bm);
        HDC src = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(src, mark);
        int w = std::min<int>(bm.bmWidth, checkColumn), h = std::min<int>(bm.bmHeight, r.bottom - r.top);
        BitBlt(dc, r.left + (checkColumn - w) / 2, midY - h / 2, w, h, src, 0, 0, SRCCOPY);
        SelectObject(src, old);
        DeleteDC(src);
        return;
    }
    if (!checked) return;
    int cx = r.left + checkColumn / 2;
    if (item.flags & MFT_RADIOCHECK) DrawGlyph(dc, cx - 3, midY - 3, kRadioGlyph, colour);
    else DrawGlyph(dc, cx - 3, midY - 3, kCheckGlyph, colour);
}

void DrawItemText(HDC dc, const MenuItem& item, const RECT& r, int checkColumn, COLORREF colour) {
    SetTextColor(dc, colour);
    std::size_t tab = item.text.find('\t');
    RECT tr{r.left + checkColumn, r.top, r.right, r.bottom};
    DrawTextA(dc, item.text.data(), static_cast<int>(std::min(tab, item.text.size())), &tr,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (tab != std::string::npos) {
        RECT sr{item.shortcutX, r.top, r.right, r.bottom};
        DrawTextA(dc, item.text.data() + tab + 1, static_cast<int>(item.text.size() - tab - 1), &sr,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
}

void DrawStringItem(HDC dc, const MenuItem& item, bool selected, const MenuFonts& fonts, const MenuMetrics& mm) {
    const RECT& r = item.rect;
    if (item.IsSeparator()) {
        FillSys(dc, r, COLOR_MENU);
        DrawSeparator(dc, r);
        return;
    }
    FillSys(dc, r, selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    HGDIOBJ oldFont = SelectObject(dc, (item.flags & MF_DEFAULT) ? fonts.Bold() : fonts.Normal());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    bool grayed = (item.flags & MF_GRAYED) != 0;
    COLORREF colour = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if (grayed && !selected) {
        // Embossed: a white copy one pixel down and right, then the grey text over it.
        RECT shifted = item.rect;
        OffsetRect(&shifted, 1, 1);
        MenuItem copy = item;
        copy.rect = shifted;
        copy.shortcutX += 1;
        DrawItemText(dc, copy, shifted, mm.checkColumn, GetSysColor(COLOR_3DHILIGHT));
        colour = GetSysColor(COLOR_GRAYTEXT);
    } else if (grayed) {
        colour = GetSysColor(COLOR_GRAYTEXT);
    }
    DrawCheck(dc, item, r, mm.checkColumn, colour);
    DrawItemText(dc, item, r, mm.checkColumn, colour);
    if (item.IsPopup()) DrawGlyph(dc, r.right - mm.arrowColumn / 2 - 2, (r.top + r.bottom) / 2 - 3, kArrowGlyph, colour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

UINT OwnerDrawState(const MenuItem& item, bool selected) {
    // A grayed item is disabled as well (checked against Windows: MF_GRAYED draws with
    // ODS_GRAYED | ODS_DISABLED, MF_DISABLED alone with ODS_DISABLED).
    UINT state = selected ? ODS_SELECTED : 0;
    if (item.flags & MF_GRAYED) state |= ODS_GRAYED | ODS_DISABLED;
    if (item.flags & MF_DISABLED) state |= ODS_DISABLED;
    if (item.flags & MF_CHECKED) state |= ODS_CHECKED;
    if (item.flags & MF_DEFAULT) state |= ODS_DEFAULT;
    return state;
}

void DrawOwnerItem(HDC dc, HMENU menu, const MenuItem& item, bool selected, HWND owner, UINT action,
                   const MenuFonts& fonts, const MenuMetrics& mm) {
    DRAWITEMSTRUCT di;
    di.CtlType = ODT_MENU;
    di.itemID = item.submenu ? HandleValue(item.submenu) : item.id;
    di.itemAction = action;
    di.itemState = OwnerDrawState(item, selected);
    di.hwndItem = HandleFromValue<HWND>(HandleValue(menu));
    di.hDC = dc;
    di.rcItem = item.rect;
    di.itemData = item.itemData;
    // The owner draws on the menu font and the menu colours, and whatever it selects stays its
    // own business: the previous objects are put back afterwards.
    HGDIOBJ oldFont = SelectObject(dc, fonts.Normal());
    COLORREF oldText = SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    COLORREF oldBk = SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    HGDIOBJ oldPen = GetCurrentObject(dc, OBJ_PEN);
    HGDIOBJ oldBrush = GetCurrentObject(dc, OBJ_BRUSH);
    SendMessageA(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di));
    if (item.IsPopup()) {
        COLORREF colour = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
        DrawGlyph(dc, item.rect.right - mm.arrowColumn / 2 - 2, (item.rect.top + item.rect.bottom) / 2 - 3, kArrowGlyph, colour);
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SetBkColor(dc, oldBk);
    SetTextColor(dc, oldText);
    SelectObject(dc, oldFont);
}

// The raised frame and the one-pixel menu-coloured ring inside it.
void DrawFrame(HDC dc, const MenuObject& menu) {
    RECT r{0, 0, menu.size.cx, menu.size.cy};
    FillSys(dc, r, COLOR_MENU);
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
}

void DrawColumnBars(HDC dc, const MenuObject& menu, int frame) {
    for (const MenuItem& it : menu.items) {
        if (!(it.flags & MF_MENUBARBREAK) || it.rect.left <= frame) continue;
        RECT bar{it.rect.left - 3, frame, it.rect.left - 1, menu.size.cy - frame};
        DrawEdge(dc, &bar, EDGE_ETCHED, BF_LEFT);
    }
}

}  // namespace

void PaintMenuItem(HDC dc, MenuObject& menu, int index, bool selected, HWND owner, UINT action) {
    if (index < 0 || static_cast<std::size_t>(index) >= menu.items.size()) return;
    MenuFonts fonts;
    MenuMetrics mm = CurrentMenuMetrics();
    const MenuItem item = menu.items[static_cast<std::size_t>(index)];
    if (item.IsOwnerDraw()) DrawOwnerItem(dc, menu.handle, item, selected, owner, action, fonts, mm);
    else DrawStringItem(dc, item, selected, fonts, mm);
}

void PaintPopupMenu(HDC dc, MenuObject& target, int selected, HWND owner) {
    MenuFonts fonts;
    MenuMetrics mm = CurrentMenuMetrics();
    const HMENU handle = target.handle;
    DrawFrame(dc, target);
    DrawColumnBars(dc, target, mm.frame);
    RECT client{0, 0, target.size.cx, target.size.cy};
    // Item by item through the handle: a WM_DRAWITEM handler may change or destroy the menu.
    for (std::size_t i = 0;; ++i) {
        MenuObject* m = LookupMenu(handle);
        if (!m || i >= m->items.size()) break;
        const MenuItem item = m->items[i];
        RECT visible;
        if (!IntersectRect(&visible, &item.rect, &client)) continue;  // beyond the screen
        bool sel = static_cast<int>(i) == selected;
        if (item.IsOwnerDraw()) DrawOwnerItem(dc, handle, item, sel, owner, ODA_DRAWENTIRE, fonts, mm);
        else DrawStringItem(dc, item, sel, fonts, mm);
    }
}

}  // namespace brimlox::user

// Measuring and drawing the owner-drawn popup items: the check column with icons, check marks
// and radio boxes, title bars and titled separators, the solid or gradient highlight bar,
// embossed grayed text and right-aligned shortcut text. Colours are system colours.
#include <algorithm>

#include "foundation/painters/gradient.h"
#include "foundation/painters/transparent_paint.h"
#include "menus/popup_internal.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/text.h"
#include "platform/host/variant.h"
#include "platform/user/user.h"

namespace brimlox::menus::detail {

namespace {

using foundation::GradientFill;

// The item text and the shortcut text after the first tab.
struct TextParts {
    std::string item;
    std::string shortcut;
};
TextParts SplitAtTab(const std::string& text) {
    std::size_t tab = text.find('\t');
    if (tab == std::string::npos) return {text, {}};
    return {text.substr(0, tab), text.substr(tab + 1)};
}

std::string Without(std::string text, const std::string& characters) {
    text.erase(std::remove_if(text.begin(), text.end(), [&](char c) { return characters.find(c) != std::string::npos; }),
               text.end());
    return text;
}

SIZE TextSize(HDC dc, const std::string& text) {
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &r, DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

int Round(double v) { return static_cast<int>(host::RoundHalfEven(v)); }

COLORREF Sys(int index) { return GetSysColor(index); }

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// The raised box behind an icon or a radio item's mark.
void RaisedBox(HDC dc, RECT box) {
    GradientFill(dc, box, Sys(COLOR_MENU), Sys(COLOR_MENU), false);
    DrawEdge(dc, &box, EDGE_RAISED, BF_RECT | BF_FLAT);
    DrawEdge(dc, &box, BDR_RAISEDINNER, BF_RECT);
}

// A picture in the 16 x 16 square at (x, y), its top-left colour transparent. Icons are drawn
// from their colour bitmap.
void PaintPicture(HDC dc, const host::StdPicture& picture, int x, int y, bool disabled) {
    HBITMAP bitmap = picture.Bitmap();
    ICONINFO info{};
    bool icon = picture.Type() == host::PictureType::Icon;
    if (icon) {
        if (!GetIconInfo(picture.Icon(), &info)) return;
        bitmap = info.hbmColor ? info.hbmColor : info.hbmMask;
    }
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    RECT src{0, 0, bm.bmWidth, bm.bmHeight};
    RECT dest{x, y, x + 16, y + 16};
    foundation::TransparentPaint(dc, bitmap, src, dest, disabled ? 1 : 0, -1);
    if (icon) {
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

void CheckMark(HDC dc, int x0, int y0) {
    HPEN pen = CreatePen(PS_SOLID, 1, Sys(COLOR_MENUTEXT));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    int oldRop = SetROP2(dc, R2_COPYPEN);
    MoveToEx(dc, x0 + 6, y0 + 8, nullptr);
    LineTo(dc, x0 + 8, y0 + 10);
    LineTo(dc, x0 + 13, y0 + 5);
    MoveToEx(dc, x0 + 6, y0 + 9, nullptr);
    LineTo(dc, x0 + 8, y0 + 11);
    LineTo(dc, x0 + 13, y0 + 6);
    SetROP2(dc, oldRop);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

// One item being drawn.
struct ItemPaint {
    HDC dc;
    const RECT& item;
    RECT work;
    UINT state;
    bool selected;
    const OwnerDrawRecord& record;
    const PopupDrawing& drawing;
};

void DrawCheckColumn(ItemPaint& p) {
    RECT box = p.work;
    box.right = box.left + p.drawing.checkWidth + 4;
    int dx = (p.drawing.checkWidth - 15) / 2;
    int dy = (p.drawing.itemHeight - 15) / 2;
    bool disabled = (p.state & ODS_DISABLED) != 0;
    if (!(p.state & ODS_CHECKED)) {
        if (!p.selected) RaisedBox(p.dc, box);
        PaintPicture(p.dc, *p.record.icon, box.left + 1 + dx, p.item.top + dy, disabled);
    } else {
        if (!p.record.radio) {
            FillSolid(p.dc, box, Sys(p.selected ? COLOR_MENU : COLOR_3DHILIGHT));
            DrawEdge(p.dc, &box, EDGE_RAISED, BF_RECT | BF_FLAT);
            DrawEdge(p.dc, &box, BDR_SUNKENOUTER, BF_RECT);
        } else if (!p.selected) {
            RaisedBox(p.dc, box);
        }
        if (p.record.checkIcon) PaintPicture(p.dc, *p.record.checkIcon, box.left + 1 + dx, p.item.top + dy, disabled);
        else CheckMark(p.dc, p.item.left + dx, p.item.top + dy);
    }
    p.work.left = p.item.left + p.drawing.checkWidth + 5;
}

// The item text, and the shortcut text right-aligned 19 pixels inside the right edge.
void DrawTexts(HDC dc, RECT r, const TextParts& parts) {
    DrawTextA(dc, parts.item.data(), static_cast<int>(parts.item.size()), &r, DT_SINGLELINE | DT_VCENTER);
    if (parts.shortcut.empty()) return;
    r.right -= 19;
    DrawTextA(dc, parts.shortcut.data(), static_cast<int>(parts.shortcut.size()), &r, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
}

void DrawTitle(HDC dc, RECT r, const std::string& title, HFONT font) {
    if (title.empty()) return;
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextA(dc, title.data(), static_cast<int>(title.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
}

// Two vertical gradients meeting in the middle and a sunken frame: the 3D look of a bar.
void Gradient3D(ItemPaint& p, int lowerTop, COLORREF edge, COLORREF middle) {
    RECT lower = p.work;
    lower.top = lowerTop;
    GradientFill(p.dc, lower, middle, edge, true);
    RECT upper = p.work;
    upper.top = p.item.top + 1;
    upper.bottom = Round(p.work.bottom - (p.work.bottom - p.item.top - 1) / 2.0);
    GradientFill(p.dc, upper, edge, middle, true);
    DrawEdge(p.dc, &p.work, BDR_SUNKENOUTER, BF_RECT);
}

void DrawTitleBar(ItemPaint& p, const std::string& text) {
    BOOL gradients = FALSE;
    if (!SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &gradients, 0) || !gradients) {
        FillSolid(p.dc, p.work, Sys(COLOR_ACTIVECAPTION));
    } else if (MenuGradient3D()) {
        int lowerTop = Round(p.work.top + (p.work.bottom - p.work.top) / 2.0 - 1);
        Gradient3D(p, lowerTop, Sys(COLOR_ACTIVECAPTION), Sys(COLOR_GRADIENTACTIVECAPTION));
    } else {
        GradientFill(p.dc, p.work, Sys(COLOR_ACTIVECAPTION), Sys(COLOR_GRADIENTACTIVECAPTION), false);
    }
    SetTextColor(p.dc, Sys(COLOR_CAPTIONTEXT));
    DrawTitle(p.dc, p.work, Without(text, "[]"), p.drawing.titleFont);
}

void DrawTitledSeparator(ItemPaint& p, const std::string& text) {
    RECT r = p.work;
    int half = (r.bottom - r.top) / 2;
    OffsetRect(&r, 0, half);
    DrawEdge(p.dc, &r, EDGE_ETCHED, BF_TOP);
    OffsetRect(&r, 0, -half);
    SetBkMode(p.dc, OPAQUE);
    SetTextColor(p.dc, Sys(COLOR_MENUTEXT));
    std::string title = Without(text, "-");
    DrawTitle(p.dc, r, title.empty() ? title : " " + title + " ", p.drawing.titleFont);
}

void DrawGrayed(ItemPaint& p, const std::string& text) {
    if (!p.record.title) {
        // Embossed: a highlight copy one pixel down and right under the grey text.
        RECT r = p.work;
        r.left = p.item.left + p.drawing.checkWidth + 6;
        TextParts parts = SplitAtTab(text);
        SetTextColor(p.dc, Sys(COLOR_3DHILIGHT));
        OffsetRect(&r, 1, 1);
        DrawTexts(p.dc, r, parts);
        SetTextColor(p.dc, Sys(COLOR_GRAYTEXT));
        OffsetRect(&r, -1, -1);
        DrawTexts(p.dc, r, parts);
    } else if (text[0] == '-') {
        DrawTitledSeparator(p, text);
    } else {
        DrawTitleBar(p, text);
    }
}

void DrawEnabled(ItemPaint& p, const std::string& text) {
    FillSolid(p.dc, p.work, Sys(p.selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (p.selected && MenuGradient()) {
        if (MenuGradient3D()) {
            int lowerTop = Round(p.work.top + (p.work.bottom - p.work.top) / 2.0);
            Gradient3D(p, lowerTop, Sys(COLOR_MENU), Sys(COLOR_HIGHLIGHT));
        } else {
            RECT right = p.work;
            right.left = p.work.left + (p.work.right - p.work.left) / 2;
            GradientFill(p.dc, right, Sys(COLOR_HIGHLIGHT), Sys(COLOR_MENU), false);
        }
    }
    RECT r = p.work;
    r.left = p.item.left + p.drawing.checkWidth + 6;
    SetTextColor(p.dc, Sys(p.selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    DrawTexts(p.dc, r, SplitAtTab(text));
}

}  // namespace

void PopupDrawing::Open() {
    auto dims = static_cast<std::uint32_t>(GetMenuCheckMarkDimensions());
    checkWidth = LOWORD(dims) < 15 ? 16 : LOWORD(dims);
    checkHeight = HIWORD(dims) < 15 ? 16 : HIWORD(dims);
    // Compatible with the screen without taking the screen's DC, which would first bring the
    // pixels of windows still repainting to the screen.
    memoryDc = CreateCompatibleDC(nullptr);
    metrics = std::make_unique<foundation::CUlvaroMetrics>();
    metrics->GetMetrics();
    titleFont = metrics->FontHandle(foundation::SmallCaptionFont);
    itemFont = metrics->FontHandle(foundation::MenuFont);
    oldFont = SelectObject(memoryDc, itemFont);
    int h = TextSize(memoryDc, "yY").cy;
    itemHeight = h >= 19 ? h + 6 : 22;
    shortcutWidth = 0;
}

void PopupDrawing::Close() {
    if (memoryDc) SelectObject(memoryDc, oldFont);
    metrics.reset();
    if (memoryDc) DeleteDC(memoryDc);
    memoryDc = nullptr;
    oldFont = nullptr;
    itemFont = titleFont = nullptr;
}

void MeasureItem(const PopupBuild& build, PopupDrawing& d, MEASUREITEMSTRUCT& mi) {
    const OwnerDrawRecord* r = FindRecord(build, mi.itemID);
    if (!r) return;
    if (!r->title) {
        TextParts parts = SplitAtTab(r->text);
        if (!parts.shortcut.empty()) {
            d.shortcutWidth = std::max(d.shortcutWidth, static_cast<int>(TextSize(d.memoryDc, parts.shortcut).cx) + 8);
            parts.item += "   ";
        }
        mi.itemHeight = static_cast<UINT>(d.itemHeight);
        mi.itemWidth = static_cast<UINT>(d.checkWidth + d.shortcutWidth + 2 + TextSize(d.memoryDc, parts.item).cx);
        return;
    }
    std::string title = Without(r->text, "-[]");
    if (title.empty()) {
        mi.itemHeight = 6;
        return;
    }
    HGDIOBJ old = SelectObject(d.memoryDc, d.titleFont);
    SIZE size = TextSize(d.memoryDc, title);
    SelectObject(d.memoryDc, old);
    mi.itemHeight = static_cast<UINT>(size.cy + 4);
    mi.itemWidth = static_cast<UINT>(d.checkWidth + d.shortcutWidth + size.cx);
}

void DrawItem(const PopupBuild& build, PopupDrawing& d, const DRAWITEMSTRUCT& di) {
    const OwnerDrawRecord* r = FindRecord(build, di.itemID);
    if (!r) return;
    d.shortcutWidth = 0;
    bool grayed = (di.itemState & ODS_GRAYED) != 0;
    RECT work = di.rcItem;
    work.top += 1;
    ItemPaint p{di.hDC, di.rcItem, work, di.itemState, (di.itemState & ODS_SELECTED) && !grayed, *r, d};
    if (r->icon || (di.itemState & ODS_CHECKED)) DrawCheckColumn(p);
    int oldMode = SetBkMode(p.dc, TRANSPARENT);
    if (grayed) DrawGrayed(p, r->text);
    else DrawEnabled(p, r->text);
    SetBkMode(p.dc, oldMode);
}

}  // namespace brimlox::menus::detail

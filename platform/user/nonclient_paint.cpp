// Painting the frame (WM_NCPAINT): the classic raised border, the caption bar in the active or
// inactive colours (a horizontal gradient when SPI_GETGRADIENTCAPTIONS is on), the small icon,
// the caption text in the caption font, and the caption buttons, which DrawFrameControl draws
// with the Marlett glyphs. Everything goes through a window DC, so frames are ordinary GDI
// drawing: traced, replayed and composed like any other pixels.
#include <algorithm>
#include <cstring>

#include "platform/gdi/gdi.h"
#include "platform/gdi/sysparams.h"
#include "platform/user/nonclient.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

namespace brimlox::user {

namespace {

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A ring of one colour just inside `r`, `width` pixels wide.
void FillRing(HDC dc, RECT& r, int width, COLORREF colour) {
    if (width <= 0) return;
    FillSolid(dc, RECT{r.left, r.top, r.right, r.top + width}, colour);
    FillSolid(dc, RECT{r.left, r.bottom - width, r.right, r.bottom}, colour);
    FillSolid(dc, RECT{r.left, r.top + width, r.left + width, r.bottom - width}, colour);
    FillSolid(dc, RECT{r.right - width, r.top + width, r.right, r.bottom - width}, colour);
    InflateRect(&r, -width, -width);
}

// The border: a raised edge, then the sizing band in the border colour, then the button
// face up to the caption; a thin border is one line of the window frame colour.
void PaintBorder(HDC dc, const WindowObject* w, const FrameLayout& f, bool active) {
    RECT r{0, 0, w->Width(), w->Height()};
    if (f.frame <= 0) return;
    const bool dialog = (w->style & (WS_THICKFRAME | WS_DLGFRAME)) || (w->exStyle & WS_EX_DLGMODALFRAME);
    if (!dialog) {
        FillRing(dc, r, 1, GetSysColor(COLOR_WINDOWFRAME));
    } else {
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
        if (w->style & WS_THICKFRAME)
            FillRing(dc, r, GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXDLGFRAME),
                     GetSysColor(active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER));
        FillRing(dc, r, GetSystemMetrics(SM_CXDLGFRAME) - GetSystemMetrics(SM_CXEDGE), GetSysColor(COLOR_BTNFACE));
    }
    if (w->exStyle & WS_EX_CLIENTEDGE) {
        RECT inner{w->ncInsets.left - 2, w->ncInsets.top - 2, w->Width() - w->ncInsets.right + 2,
                   w->Height() - w->ncInsets.bottom + 2};
        DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT);
    }
}

// The caption colour of column x of n from `a` to `b`, as GradientFill shades a rectangle.
COLORREF Blend(COLORREF a, COLORREF b, int x, int n) {
    auto mix = [&](int ca, int cb) { return ca + (cb - ca) * x / std::max(1, n); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

// The caption bar: one fill, or vertical bands of the gradient (columns of equal colour are
// filled together, so a caption costs one fill per distinct shade).
void PaintCaptionBar(HDC dc, const FrameLayout& f, bool active) {
    const COLORREF a = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    const COLORREF b = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    BOOL gradient = FALSE;
    SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
    const RECT& c = f.caption;
    FillSolid(dc, RECT{c.left, c.bottom, c.right, f.captionZone}, GetSysColor(COLOR_BTNFACE));
    if (!gradient || a == b) {
        FillSolid(dc, c, a);
        return;
    }
    const int n = c.right - c.left;
    int start = 0;
    COLORREF shade = Blend(a, b, 0, n);
    for (int x = 1; x <= n; ++x) {
        const COLORREF next = x < n ? Blend(a, b, x, n) : ~shade;
        if (next == shade) continue;
        FillSolid(dc, RECT{c.left + start, c.top, c.left + x, c.bottom}, shade);
        start = x;
        shade = next;
    }
}

// An icon of any size drawn into a 16 x 16 box: its mask and colour bitmaps stretched.
void DrawSmallIcon(HDC dc, const RECT& box, HICON icon) {
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info)) return;
    BITMAP bm{};
    GetObjectA(info.hbmMask, sizeof bm, &bm);
    const int height = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;  // a mono icon stacks AND over XOR
    HDC mem = CreateCompatibleDC(dc);
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    HGDIOBJ old = SelectObject(mem, info.hbmMask);
    const int w = box.right - box.left, h = box.bottom - box.top;
    StretchBlt(dc, box.left, box.top, w, h, mem, 0, 0, bm.bmWidth, height, SRCAND);
    if (info.hbmColor) SelectObject(mem, info.hbmColor);
    StretchBlt(dc, box.left, box.top, w, h, mem, 0, info.hbmColor ? 0 : height, bm.bmWidth, height, SRCINVERT);
    SelectObject(mem, old);
    SetStretchBltMode(dc, oldMode);
    DeleteDC(mem);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
}

HICON SmallIconOf(const WindowObject* w) {
    if (w->smallIcon) return w->smallIcon;
    if (w->bigIcon) return w->bigIcon;
    return w->cls->icon;
}

void PaintCaptionText(HDC dc, const WindowObject* w, const FrameLayout& f, bool active) {
    if (w->text.empty() || IsRectEmpty(&f.text)) return;
    LOGFONTA lf = gdi::SystemLogFont(f.tool ? gdi::SystemFont::SmallCaption : gdi::SystemFont::Caption);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT r = f.text;
    DrawTextA(dc, w->text.c_str(), static_cast<int>(w->text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
}

UINT ButtonState(const WindowObject* w, LRESULT hit, bool enabled) {
    UINT state = 0;
    if (w->pushedButton == hit) state |= DFCS_PUSHED;
    if (!enabled) state |= DFCS_INACTIVE;
    return state;
}

void PaintButtons(HDC dc, const WindowObject* w, const FrameLayout& f) {
    RECT r = f.closeButton;
    if (!IsRectEmpty(&r)) DrawFrameControl(dc, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | ButtonState(w, HTCLOSE, true));
    if (IsRectEmpty(&f.maxButton)) return;
    r = f.maxButton;
    const UINT maxGlyph = (w->style & WS_MAXIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX;
    DrawFrameControl(dc, &r, DFC_CAPTION, maxGlyph | ButtonState(w, HTMAXBUTTON, f.maxEnabled));
    r = f.minButton;
    const UINT minGlyph = (w->style & WS_MINIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN;
    DrawFrameControl(dc, &r, DFC_CAPTION, minGlyph | ButtonState(w, HTMINBUTTON, f.minEnabled));
}

// A Marlett glyph centred in `r`, one em as tall as the box.
void DrawGlyph(HDC dc, const RECT& r, char glyph, COLORREF colour, int shift) {
    const int em = std::min(r.right - r.left, r.bottom - r.top);
    LOGFONTA lf{};
    lf.lfHeight = -em;
    lf.lfCharSet = SYMBOL_CHARSET;
    std::strncpy(lf.lfFaceName, "Marlett", LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    const int x = r.left + (r.right - r.left - em) / 2 + shift;
    const int y = r.top + (r.bottom - r.top - em) / 2 + shift;
    TextOutA(dc, x, y, &glyph, 1);
    SelectObject(dc, old);
    DeleteObject(font);
}

}  // namespace

void PaintFrame(WindowObject* w) {
    if (!HasFrame(w)) return;
    const HWND hwnd = w->handle;
    HDC dc = GetWindowDC(hwnd);
    if (!dc) return;
    const FrameLayout f = LayoutFrame(w);
    const bool active = w->ncActive;
    PaintBorder(dc, w, f, active);
    if (f.captionZone) {
        PaintCaptionBar(dc, f, active);
        if (!IsRectEmpty(&f.icon)) DrawSmallIcon(dc, f.icon, SmallIconOf(w));
        PaintCaptionText(dc, w, f, active);
        PaintButtons(dc, w, f);
    }
    ReleaseDC(hwnd, dc);
}

void RedrawFrame(HWND hwnd) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || !HasFrame(w) || !IsReallyVisible(w)) return;
    SendMessageA(hwnd, WM_NCPAINT, 1, 0);
    if ((w = LookupWindow(hwnd)) && IsReallyVisible(w)) ComposeScreenRect(WindowRectOnScreen(w));
}

}  // namespace brimlox::user

using namespace brimlox::user;

BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state) {
    if (!dc || !rect || type != DFC_CAPTION) return FALSE;
    RECT r = *rect;
    const bool pushed = (state & DFCS_PUSHED) != 0;
    DrawEdge(dc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    static constexpr char kGlyphs[] = {'r', '0', '1', '2'};
    const UINT kind = state & 0xFF;
    if (kind > DFCS_CAPTIONRESTORE) return TRUE;
    const char glyph = kGlyphs[kind];
    const int shift = pushed ? 1 : 0;
    if (state & DFCS_INACTIVE) {
        // Disabled glyphs are embossed: a highlight one pixel down and right under the shadow.
        DrawGlyph(dc, *rect, glyph, GetSysColor(COLOR_3DHILIGHT), 1);
        DrawGlyph(dc, *rect, glyph, GetSysColor(COLOR_3DSHADOW), 0);
    } else {
        DrawGlyph(dc, *rect, glyph, GetSysColor(COLOR_BTNTEXT), shift);
    }
    return TRUE;
}

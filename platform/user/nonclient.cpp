// Frame geometry: the default client insets (WM_NCCALCSIZE), the layout of the caption bar
// and its buttons, and the default hit test. The sizes are the classic ones, checked against
// a record of wine drawing the same styles (tools/wine/frame_probe.cpp): a sizing border of 4,
// a fixed border of 3, a caption of 18 rows plus a line, buttons of 16 x 14 with the close
// button set 2 apart, and a tool window's caption of 15 rows with an 11 x 11 close button.
#include "platform/user/nonclient.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

namespace brimlox::user {

namespace {

bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

int FrameThickness(DWORD style, DWORD exStyle) {
    int frame = 0;
    if (style & WS_THICKFRAME) frame = GetSystemMetrics(SM_CXFRAME);
    else if (HasCaption(style) || (style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) frame = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER) frame = GetSystemMetrics(SM_CXBORDER);
    if (exStyle & WS_EX_CLIENTEDGE) frame += GetSystemMetrics(SM_CXEDGE);
    return frame;
}

int CaptionHeight(DWORD style, DWORD exStyle) {
    if (!HasCaption(style)) return 0;
    return GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

bool Iconic(const WindowObject* w) { return (w->style & WS_MINIMIZE) != 0; }

// The buttons from the right end of the caption: close, then maximise and minimise side by
// side. A tool window has only the close button.
void PlaceButtons(FrameLayout& f, DWORD style) {
    const RECT& c = f.caption;
    if (!(style & WS_SYSMENU)) return;
    if (f.tool) {
        const int w = GetSystemMetrics(SM_CXSMSIZE) - 4, h = GetSystemMetrics(SM_CYSMSIZE) - 4;
        f.closeButton = RECT{c.right - 3 - w, c.top + 2, c.right - 3, c.top + 2 + h};
        return;
    }
    const int w = GetSystemMetrics(SM_CXSIZE) - 2, h = GetSystemMetrics(SM_CYSIZE) - 4;
    f.closeButton = RECT{c.right - 2 - w, c.top + 2, c.right - 2, c.top + 2 + h};
    if (!(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) return;
    f.maxButton = RECT{f.closeButton.left - 2 - w, f.closeButton.top, f.closeButton.left - 2, f.closeButton.bottom};
    f.minButton = RECT{f.maxButton.left - w, f.maxButton.top, f.maxButton.left, f.maxButton.bottom};
    f.minEnabled = (style & WS_MINIMIZEBOX) != 0;
    f.maxEnabled = (style & WS_MAXIMIZEBOX) != 0;
}

// The sizing code of a point on a sizing border: corners reach a caption button's width
// along each edge, as on Windows.
LRESULT SizingHit(const FrameLayout& f, int width, int height, POINT p) {
    const int cornerX = f.frame + GetSystemMetrics(SM_CXSIZE);
    const int cornerY = f.frame + GetSystemMetrics(SM_CYSIZE);
    const bool left = p.x < f.frame, right = p.x >= width - f.frame;
    const bool top = p.y < f.frame, bottom = p.y >= height - f.frame;
    const bool nearLeft = p.x < cornerX, nearRight = p.x >= width - cornerX;
    const bool nearTop = p.y < cornerY, nearBottom = p.y >= height - cornerY;
    if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    return HTBOTTOM;
}

// Which part of the caption zone a point hits. Buttons own whole columns of the zone, one
// button width each, so the gaps beside the drawn buttons still hit them.
LRESULT CaptionHit(const FrameLayout& f, const WindowObject* w, POINT p) {
    if (!IsRectEmpty(&f.closeButton)) {
        const int column = GetSystemMetrics(f.tool ? SM_CXSMSIZE : SM_CXSIZE);
        const int right = f.caption.right;
        if (p.x >= right - column) return HTCLOSE;
        if (!IsRectEmpty(&f.maxButton)) {
            if (p.x >= right - 2 * column) return HTMAXBUTTON;
            if (p.x >= right - 3 * column) return HTMINBUTTON;
        }
    }
    if (!IsRectEmpty(&f.icon) && p.x < f.caption.left + GetSystemMetrics(SM_CXSIZE)) return HTSYSMENU;
    (void)w;
    return HTCAPTION;
}

}  // namespace

RECT DefaultFrameInsets(DWORD style, DWORD exStyle) {
    const int frame = FrameThickness(style, exStyle);
    return RECT{frame, frame + CaptionHeight(style, exStyle), frame, frame};
}

bool HasFrame(const WindowObject* w) {
    const RECT& in = w->ncInsets;
    return in.left || in.top || in.right || in.bottom;
}

FrameLayout LayoutFrame(const WindowObject* w) {
    FrameLayout f;
    f.frame = FrameThickness(w->style, w->exStyle);
    f.tool = (w->exStyle & WS_EX_TOOLWINDOW) != 0;
    f.sizable = (w->style & WS_THICKFRAME) && !(w->style & (WS_MAXIMIZE | WS_MINIMIZE));
    const int height = CaptionHeight(w->style, w->exStyle);
    if (!height) return f;
    f.caption = RECT{f.frame, f.frame, std::max(f.frame, w->Width() - f.frame), f.frame + height - 1};
    f.captionZone = f.frame + height;
    PlaceButtons(f, w->style);
    const bool icon = (w->style & WS_SYSMENU) && !f.tool && !(w->exStyle & WS_EX_DLGMODALFRAME);
    if (icon) {
        const int size = GetSystemMetrics(SM_CXSMICON);
        f.icon = RECT{f.caption.left + 2, f.caption.top + 1, f.caption.left + 2 + size, f.caption.top + 1 + size};
    }
    const RECT* firstButton = !IsRectEmpty(&f.minButton) ? &f.minButton : &f.closeButton;
    f.text = f.caption;
    f.text.left = icon ? f.icon.right + 2 : f.caption.left + 2;
    if (!IsRectEmpty(firstButton)) f.text.right = firstButton->left - 2;
    f.text.right = std::max(f.text.left, f.text.right);
    return f;
}

namespace {

// Neither a border nor a caption: the hit test needs no frame layout.
bool Frameless(const WindowObject* w) {
    return !(w->style & (WS_THICKFRAME | WS_CAPTION)) && !(w->exStyle & (WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE));
}

// Inside the client area as WM_NCCALCSIZE gave it, or on the border around it.
LRESULT ClientOrBorder(const WindowObject* w, POINT p) {
    const RECT& in = w->ncInsets;
    const int width = w->Width(), height = w->Height();
    if (p.x >= in.left && p.y >= in.top && p.x < width - in.right && p.y < height - in.bottom) return HTCLIENT;
    return HTBORDER;
}

}  // namespace

LRESULT FrameHitTest(const WindowObject* w, POINT p) {
    const int width = w->Width(), height = w->Height();
    if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height) return HTNOWHERE;
    if (Iconic(w)) return HTCAPTION;
    // Most windows under the mouse are borderless children: no frame to lay out.
    if (Frameless(w)) return ClientOrBorder(w, p);
    const FrameLayout f = LayoutFrame(w);
    const bool inBorder = p.x < f.frame || p.y < f.frame || p.x >= width - f.frame || p.y >= height - f.frame;
    if (inBorder) return f.sizable ? SizingHit(f, width, height, p) : HTBORDER;
    if (f.captionZone && p.y < f.captionZone) return CaptionHit(f, w, p);
    return ClientOrBorder(w, p);
}

void RecalcFrame(WindowObject* w) {
    const HWND hwnd = w->handle;
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = w->rect;
    SendMessageA(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&params.rgrc[0]));
    if (!(w = LookupWindow(hwnd))) return;
    const RECT& c = params.rgrc[0];
    RECT in{c.left - w->rect.left, c.top - w->rect.top, w->rect.right - c.right, w->rect.bottom - c.bottom};
    // A procedure may give any answer; a client area outside the window is taken as none.
    in.left = std::clamp<LONG>(in.left, 0, w->Width());
    in.top = std::clamp<LONG>(in.top, 0, w->Height());
    in.right = std::clamp<LONG>(in.right, 0, w->Width());
    in.bottom = std::clamp<LONG>(in.bottom, 0, w->Height());
    if (!EqualRect(&in, &w->ncInsets)) {
        w->ncInsets = in;
        BumpTreeGeneration();
    }
}

LPCSTR SizingCursor(LRESULT hit) {
    switch (hit) {
        case HTLEFT: case HTRIGHT: return IDC_SIZEWE;
        case HTTOP: case HTBOTTOM: return IDC_SIZENS;
        case HTTOPLEFT: case HTBOTTOMRIGHT: return IDC_SIZENWSE;
        case HTTOPRIGHT: case HTBOTTOMLEFT: return IDC_SIZENESW;
        default: return IDC_ARROW;
    }
}

namespace {

// WM_NCCALCSIZE: the client area is the window less the frame; a minimised window has none.
LRESULT CalcClient(const WindowObject* w, LPARAM lParam) {
    auto* r = reinterpret_cast<RECT*>(lParam);
    if (!r) return 0;
    if (w->style & WS_MINIMIZE) {
        r->right = r->left;
        r->bottom = r->top;
        return 0;
    }
    const RECT in = DefaultFrameInsets(w->style, w->exStyle);
    r->left += in.left;
    r->top += in.top;
    r->right = std::max(r->left, r->right - in.right);
    r->bottom = std::max(r->top, r->bottom - in.bottom);
    return 0;
}

LRESULT SetIcon(WindowObject* w, WPARAM which, LPARAM lParam) {
    HICON& slot = which == ICON_BIG ? w->bigIcon : w->smallIcon;
    HICON old = slot;
    slot = reinterpret_cast<HICON>(lParam);
    RedrawFrame(w->handle);
    return reinterpret_cast<LRESULT>(old);
}

// The tracking limits of a frame drag: no smaller than the caption's buttons need, no larger
// than the screen and its borders.
void FillMinMax(const WindowObject* w, MINMAXINFO* info) {
    if (!info) return;
    const RECT work = WorkArea();
    const RECT in = DefaultFrameInsets(w->style & ~(WS_MINIMIZE | WS_MAXIMIZE), w->exStyle);
    info->ptMaxSize = POINT{work.right - work.left + 2 * in.left, work.bottom - work.top + 2 * in.left};
    info->ptMaxPosition = POINT{-in.left, -in.left};
    info->ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXSCREEN) + 2 * in.left, GetSystemMetrics(SM_CYSCREEN) + 2 * in.left};
}

}  // namespace

// The window's corner on the screen is its client origin less the frame's insets: mouse input
// maps the same move into this window's client area next, so the origin is asked for once.
LRESULT DefHitTest(const WindowObject* w, LPARAM lParam) {
    const POINT client = ClientOriginOnScreen(w);
    const POINT corner{client.x - w->ncInsets.left, client.y - w->ncInsets.top};
    return FrameHitTest(w, POINT{GET_X_LPARAM(lParam) - corner.x, GET_Y_LPARAM(lParam) - corner.y});
}

LRESULT DefNonClientMessage(WindowObject* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCCALCSIZE: return CalcClient(w, lParam);
        case WM_NCPAINT: PaintFrame(w); return 0;
        case WM_NCACTIVATE:
            w->ncActive = wParam != 0;
            RedrawFrame(w->handle);
            return TRUE;
        case WM_SETICON: return SetIcon(w, wParam, lParam);
        case WM_GETICON: return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? w->bigIcon : w->smallIcon);
        case WM_GETMINMAXINFO: FillMinMax(w, reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
        default: return 0;
    }
}

}  // namespace brimlox::user

using namespace brimlox::user;

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL, DWORD exStyle) {
    if (!rect) return FALSE;
    const RECT in = DefaultFrameInsets(style, exStyle);
    rect->left -= in.left;
    rect->top -= in.top;
    rect->right += in.right;
    rect->bottom += in.bottom;
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }

// The message box window: layout, painting in the classic look (raised frame, gradient title
// bar, icon, text in the message font, a default OK button) and its modal loop.
#include <algorithm>
#include <cmath>

#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/sysparams.h"
#include "platform/user/msgbox.h"
#include "platform/user/user.h"
#include "platform/user/window_tracker.h"

namespace brimlox::user {

namespace {

constexpr int kFrame = 3;
constexpr int kCaption = 18;
constexpr int kMargin = 12;
constexpr int kIcon = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

// Everything the window needs to paint and to react: its layout and the button state.
struct BoxState {
    std::string text;
    std::string caption;
    std::string icon;
    RECT textRect{};
    RECT iconRect{};
    RECT buttonRect{};
    SIZE size{};
    bool pressed = false;   // the mouse holds the button down over it
    bool tracking = false;  // a press on the button is in progress
    bool done = false;
};

// A font of the system set, created for one paint or layout and freed with it.
class SystemFontObject {
public:
    explicit SystemFontObject(gdi::SystemFont which, LONG weight = 0) {
        LOGFONTA lf = gdi::SystemLogFont(which);
        if (weight) lf.lfWeight = weight;
        font_ = CreateFontIndirectA(&lf);
    }
    ~SystemFontObject() { DeleteObject(font_); }
    SystemFontObject(const SystemFontObject&) = delete;
    SystemFontObject& operator=(const SystemFontObject&) = delete;
    HFONT Get() const { return font_; }

private:
    HFONT font_;
};

RECT MeasureText(const std::string& text, int maxWidth) {
    SystemFontObject font(gdi::SystemFont::Message);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Get());
    RECT r{0, 0, maxWidth, 0};
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &r, kTextFormat | DT_CALCRECT);
    SelectObject(dc, old);
    DeleteDC(dc);
    r.right = std::min<LONG>(r.right, maxWidth);
    return r;
}

// Places icon, text and button; the text wraps at five eighths of the screen width.
void Layout(BoxState& box) {
    const auto& screen = desktop::Desktop::Instance().Settings();
    int maxText = std::max(80, screen.width * 5 / 8);
    RECT text = MeasureText(box.text, maxText);
    int top = kFrame + kCaption + kMargin;
    int left = kFrame + kMargin;
    int textHeight = text.bottom - text.top;
    if (!box.icon.empty()) {
        box.iconRect = RECT{left, top, left + kIcon, top + kIcon};
        left += kIcon + kMargin;
    } else {
        box.iconRect = RECT{};
    }
    // A short text sits level with the middle of the icon.
    int textTop = !box.icon.empty() && textHeight < kIcon ? top + (kIcon - textHeight) / 2 : top;
    box.textRect = RECT{left, textTop, left + (text.right - text.left), textTop + textHeight};
    int contentBottom = std::max<int>(box.textRect.bottom, box.iconRect.bottom);
    int width = std::max<int>({box.textRect.right + kMargin + kFrame, kButtonWidth + 2 * (kMargin + kFrame), 160});
    width = std::min(width, screen.width);
    int buttonTop = contentBottom + kMargin;
    box.buttonRect = RECT{(width - kButtonWidth) / 2, buttonTop, (width + kButtonWidth) / 2, buttonTop + kButtonHeight};
    box.size = SIZE{width, std::min(buttonTop + kButtonHeight + kMargin + kFrame, screen.height)};
}

COLORREF Blend(COLORREF a, COLORREF b, int i, int n) {
    auto mix = [&](int ca, int cb) { return ca + (cb - ca) * i / std::max(1, n - 1); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

void DrawCaption(HDC dc, const BoxState& box) {
    RECT bar{kFrame, kFrame, box.size.cx - kFrame, kFrame + kCaption};
    COLORREF from = GetSysColor(COLOR_ACTIVECAPTION), to = GetSysColor(COLOR_GRADIENTACTIVECAPTION);
    int n = bar.right - bar.left;
    for (int i = 0; i < n; ++i) {
        HBRUSH b = CreateSolidBrush(Blend(from, to, i, n));
        RECT col{bar.left + i, bar.top, bar.left + i + 1, bar.bottom};
        FillRect(dc, &col, b);
        DeleteObject(b);
    }
    SystemFontObject font(gdi::SystemFont::Caption, FW_BOLD);
    HGDIOBJ old = SelectObject(dc, font.Get());
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    RECT t{bar.left + 3, bar.top, bar.right - 3, bar.bottom};
    DrawTextA(dc, box.caption.data(), static_cast<int>(box.caption.size()), &t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, old);
}

// A closed polygon of `sides` corners approximating a circle, filled and outlined.
void DrawDisc(HDC dc, int cx, int cy, int radius, COLORREF fill, COLORREF outline) {
    POINT pts[32];
    for (int i = 0; i < 32; ++i) {
        double a = i * 6.283185307179586 / 32;
        pts[i] = POINT{cx + static_cast<LONG>(std::lround(radius * std::cos(a))),
                       cy + static_cast<LONG>(std::lround(radius * std::sin(a)))};
    }
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, outline);
    HGDIOBJ ob = SelectObject(dc, brush), op = SelectObject(dc, pen);
    Polygon(dc, pts, 32);
    SelectObject(dc, ob);
    SelectObject(dc, op);
    DeleteObject(brush);
    DeleteObject(pen);
}

void DrawGlyphText(HDC dc, const RECT& r, const char* glyph, COLORREF colour, int height, int dy) {
    LOGFONTA lf = gdi::SystemLogFont(gdi::SystemFont::Message);
    lf.lfHeight = -height;
    lf.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, colour);
    RECT t = r;
    OffsetRect(&t, 0, dy);
    DrawTextA(dc, glyph, -1, &t, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
}

// The four classic icons, drawn with GDI: a yellow warning triangle, a red stop disc with a
// white cross, and white discs with a blue "i" or "?".
void DrawIcon32(HDC dc, const std::string& icon, const RECT& r) {
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    if (icon == "exclamation") {
        POINT tri[3] = {{cx, r.top + 1}, {r.right - 1, r.bottom - 2}, {r.left, r.bottom - 2}};
        HBRUSH brush = CreateSolidBrush(RGB(255, 255, 0));
        HGDIOBJ ob = SelectObject(dc, brush), op = SelectObject(dc, GetStockObject(BLACK_PEN));
        Polygon(dc, tri, 3);
        SelectObject(dc, ob);
        SelectObject(dc, op);
        DeleteObject(brush);
        DrawGlyphText(dc, r, "!", RGB(0, 0, 0), 20, 4);
    } else if (icon == "stop") {
        DrawDisc(dc, cx, cy, 15, RGB(255, 0, 0), RGB(128, 0, 0));
        HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 255, 255));
        HGDIOBJ op = SelectObject(dc, pen);
        MoveToEx(dc, cx - 7, cy - 7, nullptr);
        LineTo(dc, cx + 7, cy + 7);
        MoveToEx(dc, cx + 7, cy - 7, nullptr);
        LineTo(dc, cx - 7, cy + 7);
        SelectObject(dc, op);
        DeleteObject(pen);
    } else if (icon == "information" || icon == "question") {
        DrawDisc(dc, cx, cy, 15, RGB(255, 255, 255), RGB(0, 0, 128));
        DrawGlyphText(dc, r, icon == "information" ? "i" : "?", RGB(0, 0, 255), 22, 0);
    }
}

void FrameRectSolid(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH b = CreateSolidBrush(colour);
    RECT sides[4] = {{r.left, r.top, r.right, r.top + 1},
                     {r.left, r.bottom - 1, r.right, r.bottom},
                     {r.left, r.top, r.left + 1, r.bottom},
                     {r.right - 1, r.top, r.right, r.bottom}};
    for (const RECT& side : sides) FillRect(dc, &side, b);
    DeleteObject(b);
}

void DrawButton(HDC dc, const BoxState& box) {
    RECT r = box.buttonRect;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    // The default button: a black frame around the raised (or, while pressed, flat) face.
    FrameRectSolid(dc, r, GetSysColor(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
    if (box.pressed) {
        FrameRectSolid(dc, r, GetSysColor(COLOR_BTNSHADOW));
    } else {
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    }
    SystemFontObject font(gdi::SystemFont::Message);
    HGDIOBJ old = SelectObject(dc, font.Get());
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT t = r;
    if (box.pressed) OffsetRect(&t, 1, 1);
    DrawTextA(dc, "OK", 2, &t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    SelectObject(dc, old);
    // The dotted focus rectangle inside the face.
    RECT f = r;
    InflateRect(&f, -3, -3);
    COLORREF dot = GetSysColor(COLOR_BTNTEXT);
    for (int x = f.left; x < f.right; x += 2) SetPixel(dc, x, f.top, dot), SetPixel(dc, x, f.bottom - 1, dot);
    for (int y = f.top; y < f.bottom; y += 2) SetPixel(dc, f.left, y, dot), SetPixel(dc, f.right - 1, y, dot);
}

void Paint(HDC dc, const BoxState& box) {
    RECT all{0, 0, box.size.cx, box.size.cy};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawCaption(dc, box);
    if (!box.icon.empty()) DrawIcon32(dc, box.icon, box.iconRect);
    SystemFontObject font(gdi::SystemFont::Message);
    HGDIOBJ old = SelectObject(dc, font.Get());
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT t = box.textRect;
    DrawTextA(dc, box.text.data(), static_cast<int>(box.text.size()), &t, kTextFormat);
    SelectObject(dc, old);
    DrawButton(dc, box);
    SetBkMode(dc, oldMode);
}

void SetPressed(HWND hwnd, BoxState& box, bool pressed) {
    if (box.pressed == pressed) return;
    box.pressed = pressed;
    InvalidateRect(hwnd, &box.buttonRect, FALSE);
}

LRESULT HandleMouse(HWND hwnd, BoxState& box, UINT msg, LPARAM lParam) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    bool over = PtInRect(&box.buttonRect, pt) != 0;
    if (msg == WM_LBUTTONDOWN && over) {
        box.tracking = true;
        SetCapture(hwnd);
        SetPressed(hwnd, box, true);
    } else if (msg == WM_MOUSEMOVE && box.tracking) {
        SetPressed(hwnd, box, over);
    } else if (msg == WM_LBUTTONUP && box.tracking) {
        box.tracking = false;
        ReleaseCapture();
        SetPressed(hwnd, box, false);
        if (over) box.done = true;
    }
    return 0;
}

LRESULT MessageBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* box = reinterpret_cast<BoxState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!box) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            Paint(dc, *box);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_SPACE) box->done = true;
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE: return HandleMouse(hwnd, *box, msg, lParam);
        case WM_CLOSE: box->done = true; return 0;
        default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

const char* MessageBoxClass() { return user::EnsureWindowClass("BrimloxMessageBox", MessageBoxProc, 0); }

POINT CentredOn(HWND owner, SIZE size) {
    const auto& screen = desktop::Desktop::Instance().Settings();
    RECT area{0, 0, screen.width, screen.height};
    if (owner) GetWindowRect(owner, &area);
    int x = (area.left + area.right - size.cx) / 2, y = (area.top + area.bottom - size.cy) / 2;
    x = std::clamp(x, 0, std::max(0, screen.width - static_cast<int>(size.cx)));
    y = std::clamp(y, 0, std::max(0, screen.height - static_cast<int>(size.cy)));
    return POINT{x, y};
}

}  // namespace

int RunMessageBoxWindow(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    BoxState box;
    box.text = text;
    box.caption = caption;
    box.icon = MessageBoxIconName(type);
    Layout(box);
    POINT at = CentredOn(owner, box.size);
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, MessageBoxClass(), caption.c_str(), WS_POPUP,
                                at.x, at.y, box.size.cx, box.size.cy, owner, nullptr, nullptr, nullptr);
    // The owner takes no input while its box is up, as with any modal dialog.
    if (hwnd) SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&box));
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    WindowTracker alive(hwnd);
    if (hwnd) {
        ShowWindow(hwnd, SW_SHOW);
        SetFocus(hwnd);
    }
    MSG msg;
    while (alive.Alive() && !box.done && GetModalMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (ownerWasEnabled && IsWindow(owner)) EnableWindow(owner, TRUE);
    if (alive.Alive()) DestroyWindow(hwnd);
    if (owner && IsWindow(owner)) SetActiveWindow(owner);
    return IDOK;
}

}  // namespace brimlox::user

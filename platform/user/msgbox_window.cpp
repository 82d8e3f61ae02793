// The message box window: layout, painting in the classic look (raised frame, gradient title
// bar, icon, text in the message font, the buttons of its set with the focused one framed as
// the default), its keyboard and mouse behaviour, and its modal loop.
//
// Button behaviour, one state table for the whole row:
//   Enter, Space          the focused button answers
//   Tab, Right, Down      focus moves to the next button (wrapping); Shift+Tab, Left, Up back
//   a button's letter     that button answers (Y, N, A, R, I, T, C), with or without Alt
//   Escape, WM_CLOSE      MessageBoxEscapeAnswer: Cancel, OK alone, or nothing
//   press on a button     it takes the focus and looks pressed while the mouse stays over it
//   release over it       it answers; released elsewhere nothing happens
//   owner gone, input end the loop stops; the box answers MessageBoxCloseAnswer
#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

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
constexpr int kButtonGap = 6;

// One button of the row: the answer it gives, its caption with its '&' accelerator, its place.
struct Button {
    int answer = 0;
    std::string label;
    char accelerator = 0;  // the upper-case letter after '&', 0 if none
    RECT rect{};
};
constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

// Everything the window needs to paint and to react: its layout and the button state.
struct BoxState {
    std::string text;
    std::string caption;
    std::string icon;
    RECT textRect{};
    RECT iconRect{};
    std::vector<Button> buttons;
    SIZE size{};
    UINT type = 0;
    std::size_t focus = 0;  // the focused button, framed as the default
    bool pressed = false;   // the mouse holds the focused button down over it
    bool tracking = false;  // a press on the focused button is in progress
    int answer = 0;         // set when a button answered; ends the loop
};

const char* ButtonLabel(int answer) {
    switch (answer) {
        case IDOK: return "OK";
        case IDCANCEL: return "Cancel";
        case IDABORT: return "&Abort";
        case IDRETRY: return "&Retry";
        case IDIGNORE: return "&Ignore";
        case IDYES: return "&Yes";
        case IDNO: return "&No";
        case IDTRYAGAIN: return "&Try Again";
        case IDCONTINUE: return "&Continue";
        default: return "";
    }
}

std::vector<Button> ButtonsOf(UINT type) {
    std::vector<Button> buttons;
    for (int answer : MessageBoxButtons(type)) {
        Button b{answer, ButtonLabel(answer)};
        if (auto amp = b.label.find('&'); amp != std::string::npos && amp + 1 < b.label.size())
            b.accelerator = static_cast<char>(std::toupper(static_cast<unsigned char>(b.label[amp + 1])));
        buttons.push_back(b);
    }
    return buttons;
}

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

// Lays the buttons out side by side, the row centred in the box's width.
void PlaceButtons(BoxState& box, int top) {
    int count = static_cast<int>(box.buttons.size());
    int row = count * kButtonWidth + (count - 1) * kButtonGap;
    int left = (box.size.cx - row) / 2;
    for (Button& b : box.buttons) {
        b.rect = RECT{left, top, left + kButtonWidth, top + kButtonHeight};
        left += kButtonWidth + kButtonGap;
    }
}

// Places icon, text and buttons; the text wraps at five eighths of the screen width.
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
    int count = static_cast<int>(box.buttons.size());
    int row = count * kButtonWidth + (count - 1) * kButtonGap;
    int width = std::max<int>({box.textRect.right + kMargin + kFrame, row + 2 * (kMargin + kFrame), 160});
    width = std::min(width, screen.width);
    int buttonTop = contentBottom + kMargin;
    box.size = SIZE{width, std::min(buttonTop + kButtonHeight + kMargin + kFrame, screen.height)};
    PlaceButtons(box, buttonTop);
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

void DrawFocusDots(HDC dc, const RECT& face) {
    RECT f = face;
    InflateRect(&f, -3, -3);
    COLORREF dot = GetSysColor(COLOR_BTNTEXT);
    for (int x = f.left; x < f.right; x += 2) SetPixel(dc, x, f.top, dot), SetPixel(dc, x, f.bottom - 1, dot);
    for (int y = f.top; y < f.bottom; y += 2) SetPixel(dc, f.left, y, dot), SetPixel(dc, f.right - 1, y, dot);
}

// The focused button is the default one: a black frame around the raised (or, while pressed,
// flat) face and the dotted focus rectangle inside. The others are plain raised buttons.
void DrawButton(HDC dc, const Button& button, bool focused, bool pressed) {
    RECT r = button.rect;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (focused) {
        FrameRectSolid(dc, r, GetSysColor(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    if (pressed) {
        FrameRectSolid(dc, r, GetSysColor(COLOR_BTNSHADOW));
    } else {
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    }
    SystemFontObject font(gdi::SystemFont::Message);
    HGDIOBJ old = SelectObject(dc, font.Get());
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT t = r;
    if (pressed) OffsetRect(&t, 1, 1);
    DrawTextA(dc, button.label.data(), static_cast<int>(button.label.size()), &t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    SelectObject(dc, old);
    if (focused) DrawFocusDots(dc, r);
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
    for (std::size_t i = 0; i < box.buttons.size(); ++i) {
        bool focused = i == box.focus;
        DrawButton(dc, box.buttons[i], focused, focused && box.pressed);
    }
    SetBkMode(dc, oldMode);
}

void InvalidateButtons(HWND hwnd, const BoxState& box) {
    for (const Button& b : box.buttons) InvalidateRect(hwnd, &b.rect, FALSE);
}

void SetPressed(HWND hwnd, BoxState& box, bool pressed) {
    if (box.pressed == pressed) return;
    box.pressed = pressed;
    InvalidateRect(hwnd, &box.buttons[box.focus].rect, FALSE);
}

void SetFocusButton(HWND hwnd, BoxState& box, std::size_t index) {
    if (index == box.focus) return;
    box.focus = index;
    InvalidateButtons(hwnd, box);
}

// Moves the focus one button on (step 1) or back (step -1), wrapping round the row.
void StepFocus(HWND hwnd, BoxState& box, int step) {
    std::size_t n = box.buttons.size();
    SetFocusButton(hwnd, box, step > 0 ? (box.focus + 1) % n : (box.focus + n - 1) % n);
}

int ButtonAt(const BoxState& box, POINT pt) {
    for (std::size_t i = 0; i < box.buttons.size(); ++i)
        if (PtInRect(&box.buttons[i].rect, pt)) return static_cast<int>(i);
    return -1;
}

LRESULT HandleMouse(HWND hwnd, BoxState& box, UINT msg, LPARAM lParam) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    int hit = ButtonAt(box, pt);
    if (msg == WM_LBUTTONDOWN && hit >= 0) {
        SetFocusButton(hwnd, box, static_cast<std::size_t>(hit));
        box.tracking = true;
        SetCapture(hwnd);
        SetPressed(hwnd, box, true);
        return 0;
    }
    bool overFocused = hit >= 0 && static_cast<std::size_t>(hit) == box.focus;
    if (msg == WM_MOUSEMOVE && box.tracking) {
        SetPressed(hwnd, box, overFocused);
    } else if (msg == WM_LBUTTONUP && box.tracking) {
        box.tracking = false;
        ReleaseCapture();
        SetPressed(hwnd, box, false);
        if (overFocused) box.answer = box.buttons[box.focus].answer;
    }
    return 0;
}

// A letter answers with the button it is the accelerator of, if any.
bool PressAccelerator(BoxState& box, WPARAM key) {
    if (key < 'A' || key > 'Z') return false;
    for (const Button& b : box.buttons) {
        if (b.accelerator == static_cast<char>(key)) {
            box.answer = b.answer;
            return true;
        }
    }
    return false;
}

LRESULT HandleKey(HWND hwnd, BoxState& box, WPARAM key) {
    if (box.tracking) return 0;  // keys wait while the mouse holds a button down
    switch (key) {
        case VK_RETURN:
        case VK_SPACE: box.answer = box.buttons[box.focus].answer; break;
        case VK_ESCAPE: box.answer = MessageBoxEscapeAnswer(box.type); break;
        case VK_TAB: StepFocus(hwnd, box, GetKeyState(VK_SHIFT) < 0 ? -1 : 1); break;
        case VK_RIGHT:
        case VK_DOWN: StepFocus(hwnd, box, 1); break;
        case VK_LEFT:
        case VK_UP: StepFocus(hwnd, box, -1); break;
        default: PressAccelerator(box, key); break;
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
        case WM_KEYDOWN: return HandleKey(hwnd, *box, wParam);
        case WM_SYSKEYDOWN:
            // Alt with a button's letter presses it as the letter alone does.
            if (PressAccelerator(*box, wParam)) return 0;
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE: return HandleMouse(hwnd, *box, msg, lParam);
        case WM_CAPTURECHANGED:
            // Capture taken away mid-press: the press is over without an answer.
            if (box->tracking) {
                box->tracking = false;
                SetPressed(hwnd, *box, false);
            }
            return 0;
        case WM_CLOSE: box->answer = MessageBoxEscapeAnswer(box->type); return 0;
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
    box.type = type;
    box.buttons = ButtonsOf(type);
    box.focus = MessageBoxDefaultButton(type);
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
    while (alive.Alive() && box.answer == 0 && GetModalMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (ownerWasEnabled && IsWindow(owner)) EnableWindow(owner, TRUE);
    if (alive.Alive()) DestroyWindow(hwnd);
    if (owner && IsWindow(owner)) SetActiveWindow(owner);
    return box.answer ? box.answer : MessageBoxCloseAnswer(type);
}

}  // namespace brimlox::user

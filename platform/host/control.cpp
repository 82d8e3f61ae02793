// The control's window: creation, the window procedure, painting and mouse input.
#include "platform/host/control.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/host/form.h"
#include "platform/host/keyboard.h"
#include "platform/host/runtime.h"
#include "platform/user/user.h"

namespace brimlox::host {

namespace {

constexpr const char* kControlClass = "BrimloxControl";

void RegisterControlClass(WNDPROC proc) {
    static bool registered = false;
    WNDCLASSA probe;
    if (registered && GetClassInfoA(nullptr, kControlClass, &probe)) return;
    WNDCLASSA wc;
    // An own DC per window gives every control a surface DC that lives as long as it does.
    wc.style = CS_OWNDC | CS_DBLCLKS;
    wc.lpszClassName = kControlClass;
    wc.lpfnWndProc = proc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
    registered = true;
}

LPCSTR CursorFor(std::int16_t pointer) {
    switch (pointer) {
        case 2: return IDC_CROSS;
        case 3: return IDC_IBEAM;
        case 5: case 15: return IDC_SIZEALL;
        case 6: return IDC_SIZENESW;
        case 7: return IDC_SIZENS;
        case 8: return IDC_SIZENWSE;
        case 9: return IDC_SIZEWE;
        case 10: return IDC_UPARROW;
        case 11: return IDC_WAIT;
        case 12: return IDC_NO;
        case 13: return IDC_APPSTARTING;
        case 14: return IDC_HELP;
        default: return IDC_ARROW;
    }
}

}  // namespace

int ShiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) shift |= 1;
    if (GetKeyState(VK_CONTROL) & 0x8000) shift |= 2;
    if (GetKeyState(VK_MENU) & 0x8000) shift |= 4;
    return shift;
}

int TwipsPerPixel() { return std::max(1, desktop::Desktop::Instance().Settings().twipsPerPixel); }

COLORREF ResolveColor(std::uint32_t oleColor) {
    COLORREF rgb = 0;
    if (OleTranslateColor(oleColor, nullptr, &rgb) != 0) return oleColor & 0x00FFFFFFu;
    return rgb;
}

Control::Control() : font_(std::make_shared<StdFont>()) {}

Control::~Control() {
    DestroySurface();
    ForgetTabPlace(*this);
}

void Control::AttachToForm(Form& form, std::string name, std::int16_t index) {
    form_ = &form;
    name_ = std::move(name);
    index_ = index;
    // A new control takes a copy of the ambient font, as hosted controls do.
    if (form.Font()) font_ = form.Font()->Clone();
    backColor_ = form.BackColor();
}

void Control::SetName(std::string name) {
    // Names are fixed while the program runs, as in the host's run mode.
    if (form_ && !form_->DesignMode()) throw HostError(kErrSetNotSupportedAtRuntime);
    if (form_) form_->CheckRename(*this, name);
    name_ = std::move(name);
}

bool Control::ShownOnForm() const { return visible_ && !(InvisibleAtRunTime() && Ambient().UserMode); }

void Control::CreateSurface(HWND parentWindow, bool show) {
    if (IsWindowless() || hwnd_) return;
    RegisterControlClass(&Control::WindowProc);
    int tpp = TwipsPerPixel();
    DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (show && ShownOnForm() ? WS_VISIBLE : 0);
    hwnd_ = CreateWindowExA(0, kControlClass, name_.c_str(), style,
                            left_ / tpp, top_ / tpp, width_ / tpp, height_ / tpp, parentWindow, nullptr, nullptr,
                            nullptr);
    if (!hwnd_) throw HostError(kErrInvalidCall, "Invalid procedure call: the control's window could not be created");
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ownDc_ = GetDC(hwnd_);
    SelectFont();
    fontListener_ = font_->AddListener([this] { SelectFont(); });
    if (!enabled_) EnableWindow(hwnd_, FALSE);
}

void Control::DestroySurface() {
    if (font_ && fontListener_) font_->RemoveListener(fontListener_);
    fontListener_ = 0;
    if (memDc_) {
        SelectObject(memDc_, memOldBitmap_);
        if (memOldFont_) SelectObject(memDc_, memOldFont_);
        DeleteDC(memDc_);
        DeleteObject(memBitmap_);
        memDc_ = nullptr;
        memBitmap_ = nullptr;
    }
    if (ownDc_ && ownOldFont_) SelectObject(ownDc_, ownOldFont_);
    ownOldFont_ = nullptr;
    ownDc_ = nullptr;
    if (hwnd_) {
        HWND h = hwnd_;
        hwnd_ = nullptr;
        SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        if (GetCapture() == h) ReleaseCapture();
        DestroyWindow(h);
    }
}

void Control::SelectFont() {
    HFONT f = font_->Handle();
    if (ownDc_) {
        HGDIOBJ old = SelectObject(ownDc_, f);
        if (!ownOldFont_) ownOldFont_ = old;
    }
    if (memDc_) {
        HGDIOBJ old = SelectObject(memDc_, f);
        if (!memOldFont_) memOldFont_ = old;
    }
}

void Control::SetFont(std::shared_ptr<StdFont> font) {
    if (!font) throw HostError(kErrInvalidPropertyValue);
    if (fontListener_) font_->RemoveListener(fontListener_);
    font_ = std::move(font);
    fontListener_ = hwnd_ ? font_->AddListener([this] { SelectFont(); }) : 0;
    SelectFont();
}

std::unique_ptr<user::HostTimer> Control::CreateTimer(std::function<void()> onTick) {
    return std::make_unique<user::HostTimer>([this, onTick = std::move(onTick)] {
        RunHostEvent([&] { onTick(); });
        Flush();
    });
}

void Control::Flush() {
    if (!hwnd_) return;
    if (autoRedraw_) {
        InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    }
    // Releasing an own DC keeps it but puts the window's pixels on the screen; a hidden
    // window has nothing to show (its pixels are composed when it is shown).
    if (IsWindowVisible(hwnd_)) ReleaseDC(hwnd_, ownDc_);
}

class Control::HandlingScope {
public:
    explicit HandlingScope(Control& control) : control_(control) { ++control_.handling_; }
    ~HandlingScope() {
        if (--control_.handling_ == 0 && control_.released_) delete &control_;
    }
    HandlingScope(const HandlingScope&) = delete;
    HandlingScope& operator=(const HandlingScope&) = delete;

private:
    Control& control_;
};

void Control::Release(Control* control) {
    if (control->handling_ > 0) control->released_ = true;
    else delete control;
}

LRESULT CALLBACK Control::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self || self->hwnd_ != hwnd) return DefWindowProcA(hwnd, msg, wParam, lParam);
    // Keep the control alive while its handler runs, even if the handler unloads the form.
    if (self->freedAfterHandling_) {
        HandlingScope handling(*self);
        return self->HandleMessage(msg, wParam, lParam);
    }
    auto keep = self->shared_from_this();
    return self->HandleMessage(msg, wParam, lParam);
}

LRESULT Control::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND:
            if (!autoRedraw_ && !PaintsWholeClient()) FillBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_PAINT:
            HandlePaint();
            return 0;
        case WM_SETCURSOR:
            if (mousePointer_ == 99 && mouseIcon_ && mouseIcon_->Icon()) {
                SetCursor(mouseIcon_->Icon());
                return TRUE;
            }
            if (mousePointer_ != 0) {
                SetCursor(LoadCursorA(nullptr, CursorFor(mousePointer_)));
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE: {
            int buttons = ((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) | ((wParam & MK_MBUTTON) ? 4 : 0);
            // The arguments travel in one struct, so the handler's closure holds two pointers and
            // fits std::function's own storage: a mouse move allocates nothing.
            const struct {
                int buttons, shift;
                float x, y;
            } move{buttons, ShiftState(), PixelsToScaleX(static_cast<float>(GET_X_LPARAM(lParam))),
                   PixelsToScaleY(static_cast<float>(GET_Y_LPARAM(lParam)))};
            RunHostEvent([this, &move] { MouseMove(move.buttons, move.shift, move.x, move.y); });
            Flush();
            return 0;
        }
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
            HandleButton(msg, wParam, lParam);
            Flush();
            return 0;
        case WM_NCHITTEST:
            // On a form in the designer the mouse belongs to the form (the design surface
            // selects, moves and sizes the controls), so the controls let it through.
            if (form_ && form_->DesignMode()) return HTTRANSPARENT;
            break;
        case WM_CAPTURECHANGED: {
            bool pressInProgress = buttons_ != 0;
            buttons_ = 0;
            clickArmed_ = false;
            if (pressInProgress) RunHostEvent([&] { CaptureLost(); });
            return 0;
        }
        default:
            // None of the messages above concern the keyboard side, so the mouse and paint
            // messages that make up most of the traffic skip it.
            if (LRESULT r = 0; HandleControlKeyboard(*this, msg, wParam, lParam, r)) {
                Flush();
                return r;
            }
            break;
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

void Control::HandlePaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (autoRedraw_) {
        // With AutoRedraw the persistent bitmap is the picture; Paint is not raised.
        RECT r;
        GetClientRect(hwnd_, &r);
        BitBlt(dc, 0, 0, r.right, r.bottom, memDc_, 0, 0, SRCCOPY);
    } else {
        ++paintDepth_;
        RunHostEvent([&] { Paint(); });
        DrawWindowlessChildren(ownDc_);
        --paintDepth_;
    }
    EndPaint(hwnd_, &ps);
}

namespace {

bool PressFromMouse() {
    INPUT_MESSAGE_SOURCE source{};
    return GetCurrentInputMessageSource(&source) && source.deviceType == IMDT_MOUSE;
}

}  // namespace

void Control::HandleButton(UINT msg, WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    int button = 1;
    if (msg >= WM_RBUTTONDOWN && msg <= WM_RBUTTONDBLCLK) button = 2;
    if (msg >= WM_MBUTTONDOWN && msg <= WM_MBUTTONDBLCLK) button = 4;
    UINT base = button == 1 ? WM_LBUTTONDOWN : button == 2 ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
    float x = PixelsToScaleX(static_cast<float>(GET_X_LPARAM(lParam)));
    float y = PixelsToScaleY(static_cast<float>(GET_Y_LPARAM(lParam)));
    int shift = ShiftState();
    if (msg == base || msg == base + 2) {
        // The host captures the mouse from the first press until every button is up again; a
        // control that takes the focus takes it with a press of the mouse. A click made for a
        // key (the Default, Cancel and accelerator keys post one) leaves the focus where it is,
        // as a dialog's Enter and Escape do, so Enter keeps going to the default button.
        if (buttons_ == 0) {
            if (CanGetFocus(*this) && !HasFocus(*this) && PressFromMouse()) host::SetFocus(*this);
            if (!hwnd_) return;
            SetCapture(hwnd_);
        }
        buttons_ |= button;
        if (msg == base) {
            if (button == 1) clickArmed_ = true;
            RunHostEvent([&] { MouseDown(button, shift, x, y); });
        } else {
            // The second press of a double click raises DblClick instead of MouseDown.
            if (button == 1) clickArmed_ = false;
            RunHostEvent([&] { DblClick(); });
        }
        return;
    }
    bool wasArmed = clickArmed_ && button == 1;
    buttons_ &= ~button;
    if (button == 1) clickArmed_ = false;
    if (buttons_ == 0 && GetCapture() == hwnd_) ReleaseCapture();
    RunHostEvent([&] { MouseUp(button, shift, x, y); });
    RECT r;
    GetClientRect(hwnd_, &r);
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (wasArmed && hwnd_ && PtInRect(&r, p)) RunHostEvent([&] { Click(); });
}

void Control::PropertyChanged(const std::string& name) {
    if (form_) form_->NotePropertyChanged(*this, name);
}

AmbientProperties Control::Ambient() const {
    AmbientProperties a;
    a.DisplayName = index_ >= 0 ? name_ + "(" + std::to_string(index_) + ")" : name_;
    if (form_) {
        a.UserMode = !form_->DesignMode();
        a.Font = form_->Font();
        a.BackColor = form_->BackColor();
        a.ForeColor = form_->ForeColor();
    }
    return a;
}

std::vector<std::shared_ptr<Control>> Control::ContainedControls() const {
    std::vector<std::shared_ptr<Control>> out;
    if (!form_ || !IsContainer()) return out;
    for (const auto& c : form_->Controls())
        if (c->container_ == this) out.push_back(c);
    return out;
}

void Control::DrawWindowlessChildren(HDC hdc) const {
    if (!form_ || !form_->HasWindowlessControls()) return;
    for (const auto& c : form_->Controls())
        if (c->IsWindowless() && c->visible_ && c->container_ == this) c->DrawWindowless(hdc);
}

}  // namespace brimlox::host

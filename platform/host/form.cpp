#include "platform/host/form.h"
#include "platform/host/erase.h"

#include <algorithm>

#include "platform/host/control_registry.h"
#include "platform/host/keyboard.h"
#include "platform/host/runtime.h"
#include "platform/host/type_builder.h"
#include "platform/shell/task_strip.h"
#include "platform/user/frame.h"
#include "platform/user/user.h"

namespace brimlox::host {

namespace {

constexpr const char* kFormClass = "BrimloxForm";

// The window styles of a border style and the caption's boxes, as the form designer maps
// them: fixed dialogs and tool windows have no minimise or maximise buttons, and a form
// without a control box has neither icon nor buttons.
DWORD StyleFor(std::int16_t border, bool controlBox, bool minButton, bool maxButton) {
    if (border == 0) return WS_POPUP | WS_CLIPCHILDREN;
    DWORD style = WS_CAPTION | WS_CLIPCHILDREN;
    if (border == 2 || border == 5) style |= WS_THICKFRAME;
    if (controlBox) style |= WS_SYSMENU;
    if (controlBox && (border == 1 || border == 2)) {
        if (minButton) style |= WS_MINIMIZEBOX;
        if (maxButton) style |= WS_MAXIMIZEBOX;
    }
    return style;
}

DWORD ExStyleFor(std::int16_t border) {
    if (border >= 4) return WS_EX_TOOLWINDOW;
    return border == 3 ? WS_EX_DLGMODALFRAME : 0;
}

// The Controls collection as late-bound code sees it: Count and Item(index or name).
class ControlCollection : public Dispatch {
public:
    explicit ControlCollection(std::shared_ptr<Form> form) : form_(std::move(form)) {}
    std::string TypeName() const override { return "Object"; }
    const TypeInfo* GetTypeInfo() const override {
        static const auto info =
            TypeBuilder<ControlCollection>("Controls")
                .Method("Count", [](ControlCollection& c, std::span<Variant>) {
                    return Variant(static_cast<std::int32_t>(c.form_->Controls().size()));
                }, "Returns the number of controls.")
                .Method("Item", [](ControlCollection& c, std::span<Variant> a) {
                    const auto& all = c.form_->Controls();
                    if (a[0].IsString()) {
                        auto found = c.form_->Find(a[0].ToString());
                        if (!found) throw HostError(kErrSubscript);
                        return Variant(std::static_pointer_cast<Dispatch>(found));
                    }
                    std::int32_t i = a[0].ToLong();
                    if (i < 0 || i >= static_cast<std::int32_t>(all.size())) throw HostError(kErrSubscript);
                    return Variant(std::static_pointer_cast<Dispatch>(all[static_cast<std::size_t>(i)]));
                }, "Returns a control by position or name.", {{"Index"}})
                .Build();
        return info.get();
    }

private:
    std::shared_ptr<Form> form_;
};

}  // namespace

std::shared_ptr<Form> Form::Create(std::string name, bool designMode) {
    std::shared_ptr<Form> form(new Form(std::move(name), designMode));
    form->CreateWindowForForm();
    return form;
}

Form::Form(std::string name, bool designMode)
    : name_(std::move(name)), caption_(name_), designMode_(designMode), font_(std::make_shared<StdFont>()),
      picture_(std::make_shared<StdPicture>()), icon_(std::make_shared<StdPicture>()) {}

Form::~Form() { Discard(); }

void Form::CreateWindowForForm() {
    static bool registered = false;
    WNDCLASSA probe;
    if (!registered || !GetClassInfoA(nullptr, kFormClass, &probe)) {
        WNDCLASSA wc;
        wc.style = CS_OWNDC | CS_DBLCLKS;
        wc.lpszClassName = kFormClass;
        wc.lpfnWndProc = &Form::WindowProc;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
        registered = true;
    }
    int tpp = TwipsPerPixel();
    shell::UseTaskStrip();  // minimised forms show as buttons on the task strip
    hwnd_ = CreateWindowExA(ExStyleFor(borderStyle_), kFormClass, caption_.c_str(),
                            StyleFor(borderStyle_, controlBox_, minButton_, maxButton_), 0, 0,
                            4800 / tpp, 3600 / tpp, nullptr, nullptr, nullptr, nullptr);
    if (!hwnd_) throw HostError(kErrInvalidCall, "Invalid procedure call: the form's window could not be created");
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ownDc_ = GetDC(hwnd_);
}

const TypeInfo* Form::GetTypeInfo() const {
    static const auto info =
        TypeBuilder<Form>("Form")
            .Property("Name", &Form::Name, &Form::SetName, "Returns the name used in code to identify the form.")
            .Property("Caption", &Form::Caption, &Form::SetCaption, "Returns/sets the text of the title bar.")
            .Method("hWnd", [](Form& f, std::span<Variant>) {
                return Variant(static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(f.hWnd())));
            }, "Returns the window handle of the form.")
            .Method("hDC", [](Form& f, std::span<Variant>) {
                return Variant(static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(f.hDC())));
            }, "Returns the device context of the form.")
            .Property("Left", &Form::Left, &Form::SetLeft, "Returns/sets the outer left edge in twips.")
            .Property("Top", &Form::Top, &Form::SetTop, "Returns/sets the outer top edge in twips.")
            .Property("Width", &Form::Width, &Form::SetWidth, "Returns/sets the outer width in twips.")
            .Property("Height", &Form::Height, &Form::SetHeight, "Returns/sets the outer height in twips.")
            .Get("ScaleWidth", &Form::ScaleWidth, "Returns the width of the client area.")
            .Get("ScaleHeight", &Form::ScaleHeight, "Returns the height of the client area.")
            .Property("BackColor", &Form::BackColor, &Form::SetBackColor, "Returns/sets the background colour.")
            .Property("ForeColor", &Form::ForeColor, &Form::SetForeColor, "Returns/sets the foreground colour.")
            .Property("Font", &Form::Font, &Form::SetFont, "Returns/sets the font.")
            .Property("Picture", &Form::Picture, &Form::SetPicture, "Returns/sets the background picture.")
            .Property("WindowState", &Form::WindowState, &Form::SetWindowState, "Returns/sets normal, minimised or maximised.")
            .Property("BorderStyle", &Form::BorderStyle, &Form::SetBorderStyle, "Returns/sets the border style.")
            // Published for property browsers, under the host's constant names.
            .Enumeration("WindowState", {{0, "vbNormal"}, {1, "vbMinimized"}, {2, "vbMaximized"}})
            .Enumeration("BorderStyle", {{0, "vbBSNone"}, {1, "vbFixedSingle"}, {2, "vbSizable"}, {3, "vbFixedDouble"},
                                         {4, "vbFixedToolWindow"}, {5, "vbSizableToolWindow"}})
            .Property("ControlBox", &Form::ControlBox, &Form::SetControlBox, "Returns/sets whether the title bar has its icon and buttons.")
            .Property("MinButton", &Form::MinButton, &Form::SetMinButton, "Returns/sets whether the title bar has a minimise button.")
            .Property("MaxButton", &Form::MaxButton, &Form::SetMaxButton, "Returns/sets whether the title bar has a maximise button.")
            .Property("Icon", &Form::Icon, &Form::SetIcon, "Returns/sets the icon of the title bar.")
            .Method("Controls", [](Form& f, std::span<Variant>) {
                auto self = std::static_pointer_cast<Form>(f.shared_from_this());
                return Variant(std::static_pointer_cast<Dispatch>(std::make_shared<ControlCollection>(self)));
            }, "Returns the collection of the form's controls.")
            .Method("Move", [](Form& f, std::span<Variant> a) {
                auto arg = [&](std::size_t i, std::int32_t cur) { return a.size() > i && !a[i].IsEmpty() ? a[i].ToLong() : cur; };
                f.Move(arg(0, f.Left()), arg(1, f.Top()), arg(2, f.Width()), arg(3, f.Height()));
                return Variant();
            }, "Moves and sizes the form.", {{"Left"}, {"Top", true}, {"Width", true}, {"Height", true}})
            .Method("Show", [](Form& f, std::span<Variant>) { f.Show(); return Variant(); }, "Shows the form.")
            .Method("Hide", [](Form& f, std::span<Variant>) { f.Hide(); return Variant(); }, "Hides the form.")
            .Event("Load", 1, "Occurs when the form is loaded.")
            .Event("Resize", 2, "Occurs when the form's size changes.")
            .Event("Paint", 3, "Occurs when the form must be redrawn.")
            .Event("QueryUnload", 4, "Occurs before the form unloads.", {{"Cancel", false, true}, {"UnloadMode"}})
            .Event("Unload", 5, "Occurs when the form unloads.", {{"Cancel", false, true}})
            .Event("Terminate", 6, "Occurs when the form is gone.")
            .Build();
    return info.get();
}

void Form::SetName(std::string name) {
    if (!IsValidName(name)) throw HostError(kErrInvalidPropertyValue);
    name_ = std::move(name);
}

void Form::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    if (hwnd_) SetWindowTextA(hwnd_, caption_.c_str());
}

std::int32_t Form::Left() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r.left * TwipsPerPixel();
}
std::int32_t Form::Top() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r.top * TwipsPerPixel();
}
std::int32_t Form::Width() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return (r.right - r.left) * TwipsPerPixel();
}
std::int32_t Form::Height() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return (r.bottom - r.top) * TwipsPerPixel();
}

void Form::Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0) throw HostError(kErrInvalidPropertyValue);
    int tpp = TwipsPerPixel();
    auto px = [tpp](std::int32_t v) { return static_cast<int>(RoundHalfEven(static_cast<double>(v) / tpp)); };
    // A minimised or maximised form keeps the new rectangle for when it is restored.
    WINDOWPLACEMENT wp;
    if (GetWindowPlacement(hwnd_, &wp) && wp.showCmd != SW_SHOWNORMAL) {
        wp.rcNormalPosition = RECT{px(left), px(top), px(left) + px(width), px(top) + px(height)};
        if (!IsWindowVisible(hwnd_)) wp.showCmd = SW_HIDE;
        SetWindowPlacement(hwnd_, &wp);
        return;
    }
    MoveWindow(hwnd_, px(left), px(top), px(width), px(height), TRUE);
}

RECT Form::NormalRectTwips() const {
    WINDOWPLACEMENT wp;
    RECT r{};
    if (GetWindowPlacement(hwnd_, &wp)) r = wp.rcNormalPosition;
    const int tpp = TwipsPerPixel();
    return RECT{r.left * tpp, r.top * tpp, r.right * tpp, r.bottom * tpp};
}

float Form::ScaleWidth() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return static_cast<float>(r.right * TwipsPerPixel());
}

float Form::ScaleHeight() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return static_cast<float>(r.bottom * TwipsPerPixel());
}

void Form::SetBackColor(std::uint32_t color) {
    backColor_ = color;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form::SetFont(std::shared_ptr<StdFont> font) {
    if (!font) throw HostError(kErrInvalidPropertyValue);
    font_ = std::move(font);
}

void Form::SetPicture(std::shared_ptr<StdPicture> picture) {
    picture_ = picture ? std::move(picture) : std::make_shared<StdPicture>();
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form::SetWindowState(std::int16_t state) {
    if (state < 0 || state > 2) throw HostError(kErrInvalidPropertyValue);
    windowState_ = state;
    // A hidden form takes its state when it is shown.
    if (visible_) ApplyWindowState();
}

void Form::ApplyWindowState() {
    const int command = windowState_ == 1 ? SW_MINIMIZE : windowState_ == 2 ? SW_MAXIMIZE : SW_RESTORE;
    ShowWindow(hwnd_, command);
}

void Form::SetBorderStyle(std::int16_t style) {
    if (style < 0 || style > 5) throw HostError(kErrInvalidPropertyValue);
    borderStyle_ = style;
    ApplyFrameStyle();
}

void Form::SetControlBox(bool on) {
    controlBox_ = on;
    ApplyFrameStyle();
}

void Form::SetMinButton(bool on) {
    minButton_ = on;
    ApplyFrameStyle();
}

void Form::SetMaxButton(bool on) {
    maxButton_ = on;
    ApplyFrameStyle();
}

void Form::SetIcon(std::shared_ptr<StdPicture> icon) {
    icon_ = icon ? std::move(icon) : std::make_shared<StdPicture>();
    HICON handle = icon_->Type() == PictureType::Icon ? icon_->Icon() : nullptr;
    if (hwnd_) SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(handle));
}

void Form::ApplyFrameStyle() {
    if (!hwnd_) return;
    const DWORD state = static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)) & (WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    SetWindowLongA(hwnd_, GWL_STYLE, static_cast<LONG>(StyleFor(borderStyle_, controlBox_, minButton_, maxButton_) | state));
    SetWindowLongA(hwnd_, GWL_EXSTYLE, static_cast<LONG>(ExStyleFor(borderStyle_)));
    // The outer size stays; the client area changes with the frame.
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    Arrange();
}

void Form::Load() {
    if (loaded_ || unloaded_) return;
    loaded_ = true;
    NoteFormLoaded(*this);
    Arrange();
    RunHostEvent([&] { RaiseEvent("Load"); });
}

void Form::Show() {
    if (unloaded_) throw HostError(kErrObjectNotSet);
    Load();
    if (unloaded_) return;  // Load's handler may unload the form again
    visible_ = true;
    ShowWindow(hwnd_, SW_SHOW);
    if (windowState_ != 0) ApplyWindowState();
    UpdateWindow(hwnd_);
}

void Form::Hide() {
    visible_ = false;
    ShowWindow(hwnd_, SW_HIDE);
}

bool Form::Unload(std::int16_t unloadMode) {
    if (unloaded_) return true;
    auto keep = shared_from_this();
    bool cancel = false;
    std::int16_t mode = unloadMode;
    RunHostEvent([&] { RaiseEvent("QueryUnload", cancel, mode); });
    if (cancel) return false;
    RunHostEvent([&] { RaiseEvent("Unload", cancel); });
    if (cancel) return false;
    unloaded_ = true;
    Discard();
    RunHostEvent([&] { RaiseEvent("Terminate"); });
    NoteFormUnloaded(*this);
    return true;
}

void Form::TerminateControls() {
    // Terminate runs in creation order while every control is still alive, so a control's
    // Terminate may still read its neighbours; then the windows go, children first.
    auto controls = controls_;
    for (auto& c : controls) {
        if (c->Terminated()) continue;
        c->MarkTerminated();
        if (!c->Initialised()) continue;
        RunHostEvent([&] { c->Terminate(); });
    }
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) (*it)->DestroySurface();
}

void Form::Discard() {
    TerminateControls();
    controls_.clear();
    windowless_ = 0;
    if (hwnd_) {
        HWND h = hwnd_;
        hwnd_ = nullptr;
        ownDc_ = nullptr;
        SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        DestroyWindow(h);
    }
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self || self->hwnd_ != hwnd) return DefWindowProcA(hwnd, msg, wParam, lParam);
    auto keep = self->shared_from_this();
    return self->HandleMessage(msg, wParam, lParam);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            RECT r;
            GetClientRect(hwnd_, &r);
            HBRUSH brush = CreateSolidBrush(ResolveColor(backColor_));
            FillAroundChildWindows(hwnd_, dc, r, brush);
            DeleteObject(brush);
            if (picture_->Type() != PictureType::None)
                picture_->Render(dc, 0, 0, picture_->PixelWidth(), picture_->PixelHeight());
            return 1;
        }
        case WM_PAINT:
            HandlePaint();
            return 0;
        case WM_SIZE:
            NoteSize(wParam);
            return 0;
        case WM_CLOSE:
            Unload(kFormControlMenu);
            return 0;
        case WM_KEYDOWN:
            // The form itself has the focus (no control took it yet): Tab enters the tab order.
            if (wParam != VK_TAB || (GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000)) break;
            SelectNextControl(*this, nullptr, (GetKeyState(VK_SHIFT) & 0x8000) == 0);
            return 0;
        default: break;
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

// A change of size: the window state follows what the frame did (its buttons, a double
// click on the caption), aligned controls re-dock unless the form went to the task strip,
// and Resize is raised with the new client size.
void Form::NoteSize(WPARAM kind) {
    if (visible_) windowState_ = kind == SIZE_MINIMIZED ? 1 : kind == SIZE_MAXIMIZED ? 2 : 0;
    if (kind != SIZE_MINIMIZED) Arrange();
    if (loaded_) RunHostEvent([&] { RaiseEvent("Resize"); });
}

void Form::HandlePaint() {
    PAINTSTRUCT ps;
    BeginPaint(hwnd_, &ps);
    RunHostEvent([&] { RaiseEvent("Paint"); });
    // Windowless controls placed on the form itself are drawn over its paint.
    for (const auto& c : controls_)
        if (c->IsWindowless() && c->Visible() && !c->ContainerControl()) c->DrawWindowless(ownDc_);
    EndPaint(hwnd_, &ps);
}

}  // namespace brimlox::host

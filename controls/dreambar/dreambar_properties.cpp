// DreamBar: the model. Properties and their setters' side effects, the methods that are not
// painting or minimising, the caption height, unit conversions and form persistence.
#include <algorithm>
#include <cmath>

#include "controls/dreambar/dreambar.h"
#include "foundation/helpers/colour.h"
#include "foundation/helpers/naming.h"
#include "foundation/persistence/persist_state.h"

namespace brimlox::controls {

using host::Variant;

namespace {

constexpr std::uint32_t kButtonFace = 0x8000000F;
constexpr std::uint32_t kButtonText = 0x80000012;
constexpr std::uint32_t kButtonShadow = 0x80000010;
constexpr int kEmptyCaptionHeight = 5;
constexpr int kCaptionPadding = 3;
constexpr std::int32_t kMaxDelay = 32767;
constexpr int kMenuTimerMs = 100;
constexpr int kFirstIntervalMs = 100;

}  // namespace

DreamBar::DreamBar() = default;
DreamBar::~DreamBar() = default;

// ---- Lifecycle ---------------------------------------------------------------------------------

void DreamBar::Initialize() {
    tmrAutoRepeat_ = CreateTimer([this] { AutoHideTick(); });
    // The auto-hide timer looks every 100 ms until told otherwise; a timer without an interval
    // never ticks, and a bar made at run time would never hide.
    SetTimerInterval(kFirstIntervalMs);
    tmrAnimate_ = CreateTimer([this] { AnimationTick(); });
}

void DreamBar::InitProperties() {
    host::TryInvoke([&] { SetName(foundation::UniqueName("dbr", *this)); });
    if (auto font = Ambient().Font) host::Control::SetFont(font);
    host::Control::SetBackColor(kButtonFace);
    host::Control::SetForeColor(kButtonText);
    minimizeColor_ = kButtonFace;
    gradientColor_ = kButtonShadow;
    gradient_ = NoGradient;
    borderStyle_ = 1;
    picture_.reset();
    caption_.clear();
    captionBar_ = true;
    transparent_ = false;
    alignControls_ = true;
    autoSize_ = false;
    leading_ = 4;
    minimizeStyle_ = MinToTop;
    minimizeAuto_ = autoHideLive_ = autoHideConfigured_ = autoShow_ = false;
    autoAdjust_ = autoAdjustForm_ = false;
    autoHideDelay_ = 250;
    fullSize_ = 0;
    animationTime_ = 0;
    minimized_ = false;
    captionHeight_ = kEmptyCaptionHeight;
}

void DreamBar::Terminate() {
    if (tmrAutoRepeat_) tmrAutoRepeat_->SetEnabled(false);
    if (tmrAnimate_) tmrAnimate_->SetEnabled(false);
    animation_.active = false;
    persistence_.Terminate();
}

// ---- Setters -----------------------------------------------------------------------------------

void DreamBar::SetMessage(const DreamBarMessage& message) {
    message_ = message;
    Refresh();
}

void DreamBar::SetBackColor(std::uint32_t color) {
    host::Control::SetBackColor(color);
    PropertyChanged("BackColor");
    Cls();
    Refresh();
}

void DreamBar::SetForeColor(std::uint32_t color) {
    host::Control::SetForeColor(color);
    PropertyChanged("ForeColor");
}

void DreamBar::SetEnabled(bool on) {
    host::Control::SetEnabled(on);
    PropertyChanged("Enabled");
    for (const auto& child : ContainedControls())
        host::TryInvoke([&] { host::LetProperty(*child, "Enabled", Variant(on)); });
}

void DreamBar::SetFont(std::shared_ptr<host::StdFont> font) {
    if (!font) return;
    host::Control::SetFont(std::move(font));
    PropertyChanged("Font");
    if (!caption_.empty()) {
        captionHeight_ = MeasureCaptionHeight(caption_);
        ApplyThickness();
    }
    Refresh();
}

void DreamBar::SetBorderStyle(std::int16_t style) {
    borderStyle_ = style;
    PropertyChanged("BorderStyle");
    host::Control::Refresh();
}

void DreamBar::SetMouseIcon(std::shared_ptr<host::StdPicture> icon) {
    host::Control::SetMouseIcon(std::move(icon));
    PropertyChanged("MouseIcon");
}

void DreamBar::SetMousePointer(std::int16_t pointer) {
    host::Control::SetMousePointer(pointer);
    PropertyChanged("MousePointer");
}

void DreamBar::SetPicture(std::shared_ptr<host::StdPicture> picture) {
    picture_ = std::move(picture);
    PropertyChanged("Picture");
    initialised_ = false;
    Refresh();
}

// Controls on the bar keep their distance to the margin: a smaller Leading moves them towards
// the top left by the difference, a larger one away from it.
void DreamBar::SetLeading(std::uint8_t pixels) {
    if (alignControls_) {
        const int diff = static_cast<int>(leading_) - static_cast<int>(pixels);
        const auto dx = static_cast<std::int32_t>(std::lround(diff * TwipsPerPixelX()));
        const auto dy = static_cast<std::int32_t>(std::lround(diff * TwipsPerPixelY()));
        for (const auto& child : ContainedControls())
            host::TryInvoke([&] { child->Move(child->Left() - dx, child->Top() - dy, child->Width(), child->Height()); });
    }
    leading_ = pixels;
    PropertyChanged("Leading");
    host::Control::Refresh();
}

void DreamBar::SetMinimized(bool on) {
    // A bar loaded minimised first takes the state it was saved in, so that expanding it now
    // starts from the thin size and the remembered full size.
    if (loadedMinimized_) ApplyLoadedState();
    if (on != minimized_ && !foundation::LayoutRestoring()) MinimizeOperation(on);
    minimized_ = on;
    PropertyChanged("Minimized");
    host::Control::Refresh();
    loadedMinimized_ = false;
}

void DreamBar::SetCurrentX(float v) {
    host::Control::SetCurrentX(v);
    PropertyChanged("CurrentX");
}

void DreamBar::SetCurrentY(float v) {
    host::Control::SetCurrentY(v);
    PropertyChanged("CurrentY");
}

void DreamBar::SetMinimizeStyle(std::int16_t style) {
    minimizeStyle_ = style == MinToLeft ? MinToLeft : MinToTop;
    PropertyChanged("MinimizeStyle");
    Refresh();
}

void DreamBar::SetMinimizeAuto(bool on) { minimizeAuto_ = on, PropertyChanged("MinimizeAuto"); }

void DreamBar::SetAutoHide(bool on) {
    if (on == autoHideLive_) return;
    autoHideLive_ = autoHideConfigured_ = on;
    PropertyChanged("AutoHide");
    if (UserMode()) {
        SetTimerEnabled(on);
        if (!on) SetMinimized(false);
    }
    if (on) SetAutoShow(false);
}

void DreamBar::SetAutoAdjust(bool on) { autoAdjust_ = on, PropertyChanged("AutoAdjust"); }

void DreamBar::SetTransparent(bool on) {
    transparent_ = on;
    PropertyChanged("Transparent");
    picture_.reset();
    initialised_ = false;
    Refresh();
}

// The delay is kept within 0 to 32767 ms, so it reads back as it was set and never wraps to a
// negative value that would stop the timer.
void DreamBar::SetAutoHideDelay(std::int32_t ms) {
    autoHideDelay_ = std::clamp(ms, 0, kMaxDelay);
    SetTimerInterval(autoHideDelay_);
    PropertyChanged("AutoHideDelay");
}

void DreamBar::SetAutoAdjustForm(bool on) { autoAdjustForm_ = on, PropertyChanged("AutoAdjustForm"); }

void DreamBar::SetAlignControls(bool on) {
    alignControls_ = on;
    PropertyChanged("AlignControls");
    if (on) {
        const auto marginX = static_cast<std::int32_t>(std::lround(leading_ * TwipsPerPixelX()));
        const auto marginY = static_cast<std::int32_t>(std::lround(leading_ * TwipsPerPixelY()));
        for (const auto& c : ContainedControls()) {
            host::TryInvoke([&] {
                if (c->Top() < marginY) c->SetTop(marginY);
                if (c->Left() < marginX) c->SetLeft(marginX);
            });
        }
    }
    host::Control::Refresh();
}

void DreamBar::SetAutoSize(bool on) {
    autoSize_ = on;
    PropertyChanged("AutoSize");
    host::Control::Refresh();
}

void DreamBar::SetAutoShow(bool on) {
    if (on == autoShow_) return;
    autoShow_ = on;
    PropertyChanged("AutoShow");
    if (on) SetAutoHide(false);
}

void DreamBar::SetCaption(const std::string& caption) {
    if (caption.empty()) captionHeight_ = kEmptyCaptionHeight;
    else captionHeight_ = MeasureCaptionHeight(caption);
    if (caption.empty() != caption_.empty() || !caption.empty()) ApplyThickness();
    caption_ = caption;
    PropertyChanged("Caption");
    Refresh();
}

void DreamBar::SetMinimizeColor(std::uint32_t color) {
    minimizeColor_ = color;
    PropertyChanged("MinimizeColor");
    Refresh();
}

void DreamBar::SetGradientColor(std::uint32_t color) {
    gradientColor_ = color;
    PropertyChanged("GradientColor");
    Refresh();
}

void DreamBar::SetCaptionBar(bool on) {
    captionBar_ = on;
    PropertyChanged("CaptionBar");
    Cls();
    Refresh();
}

void DreamBar::SetGradient(std::int16_t direction) {
    gradient_ = direction >= NoGradient && direction <= HorizontalGradient ? direction : std::int16_t{NoGradient};
    PropertyChanged("Gradient");
    Cls();
    Refresh();
}

void DreamBar::SetFullSize(float twips) {
    fullSize_ = std::isfinite(twips) ? twips : 0;
    PropertyChanged("FullSize");
}

// ---- Methods -----------------------------------------------------------------------------------

std::int32_t DreamBar::hDCValue() const { return static_cast<std::int32_t>(HandleValue(hDC())); }
std::int32_t DreamBar::hWndValue() const { return static_cast<std::int32_t>(HandleValue(hWnd())); }

void DreamBar::PersistForm(const std::shared_ptr<host::Form>& form, bool center) {
    persistence_.PersistForm(form, center);
}

void DreamBar::ShowAboutBox() {
    host::MsgBox(std::string("Brimlox DreamBar\nVersion ") + BRIMLOX_VERSION, 0, "About DreamBar");
}

float DreamBar::TextWidthOf(const std::string& text) { return host::Control::TextWidth(text); }
float DreamBar::TextHeightOf(const std::string& text) { return host::Control::TextHeight(text); }

void DreamBar::Refresh() {
    host::Control::Refresh();
    // Children without the method (a timer, say) are skipped rather than asked and caught.
    for (const auto& child : ContainedControls())
        if (host::HasMember(*child, "Refresh")) host::TryInvoke([&] { host::CallMethod(*child, "Refresh", {}); });
}

void DreamBar::MenuPoppedUp(std::int32_t l, std::int32_t r, std::int32_t T, std::int32_t B, bool shown) {
    menuRect_ = RECT{l, T, r, B};
    menuShown_ = shown;
    if (shown) {
        SetTimerInterval(kMenuTimerMs);
        SetTimerEnabled(true);
    } else {
        SetTimerEnabled(autoHideLive_);
    }
}

void DreamBar::RemovePersistence(const std::string& formName) { persistence_.RemovePersistence(formName); }
void DreamBar::RemovePersistenceIDE(const std::string& formName) { persistence_.RemovePersistenceIDE(formName); }

bool DreamBar::AutoHideTimerEnabled() const { return tmrAutoRepeat_ && tmrAutoRepeat_->Enabled(); }
int DreamBar::AutoHideTimerInterval() const { return tmrAutoRepeat_ ? tmrAutoRepeat_->Interval() : 0; }

// ---- Helpers -----------------------------------------------------------------------------------

bool DreamBar::UserMode() const {
    const host::Form* form = ParentForm();
    return !form || !form->DesignMode();
}

double DreamBar::TwipsPerPixelX() const {
    const double v = ScaleX(1.0f, host::kScalePixels, host::kScaleTwips);
    return v > 0 ? v : 15.0;
}

double DreamBar::TwipsPerPixelY() const {
    const double v = ScaleY(1.0f, host::kScalePixels, host::kScaleTwips);
    return v > 0 ? v : 15.0;
}

// The caption's text height on the surface in whole pixels, plus a little room.
int DreamBar::MeasureCaptionHeight(const std::string& caption) {
    const long twips = std::lround(host::Control::TextHeight(caption));
    const long perPixel = std::max(1L, std::lround(TwipsPerPixelY()));
    return static_cast<int>(twips / perPixel) + kCaptionPadding;
}

bool DreamBar::WorksVertically() const {
    const std::int16_t align = Align();
    if (align == host::kAlignTop || align == host::kAlignBottom) return true;
    return align == host::kAlignNone && minimizeStyle_ == MinToTop;
}

std::int32_t DreamBar::MinimizedThickness() const {
    const double perPixel = WorksVertically() ? TwipsPerPixelY() : TwipsPerPixelX();
    return static_cast<std::int32_t>(std::lround(captionHeight_ * perPixel));
}

// A minimised bar follows a change of its caption height at once.
// The change of thickness goes to the form or the sibling bars as a minimise's change would,
// and the controls on the bar keep the shift they were given.
void DreamBar::ApplyThickness() {
    if (!minimized_ || inMinimize_) return;
    FinishAnimation();
    const bool vertical = WorksVertically();
    const std::int32_t before = vertical ? Height() : Width();
    inMinimize_ = true;
    if (vertical) SetHeight(MinimizedThickness());
    else SetWidth(MinimizedThickness());
    const std::int32_t change = (vertical ? Height() : Width()) - before;
    if (change != 0) host::TryInvoke([&] { PassOnSizeChange(vertical, change); });
    inMinimize_ = false;
}

// The timer ticks at least every millisecond: an interval of 0 would stop it for good.
void DreamBar::SetTimerInterval(std::int32_t ms) {
    if (tmrAutoRepeat_) tmrAutoRepeat_->SetInterval(std::max(1, ms));
}

void DreamBar::SetTimerEnabled(bool on) {
    if (tmrAutoRepeat_) tmrAutoRepeat_->SetEnabled(on);
}

}  // namespace brimlox::controls

// SplitWindow: the model. Properties and their setters' side effects, the refusals, the
// methods that are not pane layout, unit conversions and form persistence.
#include <algorithm>
#include <cmath>

#include "controls/splitwindow/splitwindow.h"
#include "foundation/helpers/colour.h"
#include "foundation/helpers/naming.h"

namespace brimlox::controls {

using host::Variant;

namespace {

constexpr std::uint32_t kButtonFace = 0x8000000F;
constexpr float kMaxGradient = 0.99f;
constexpr std::int32_t kSmallestLimit = 300;
constexpr std::int32_t kUnlimited = std::numeric_limits<std::int32_t>::max();

bool g_toolWindowMoving = false;

float ClampFraction(float fraction) {
    if (std::isnan(fraction)) return 0;
    return std::clamp(fraction, -kMaxGradient, kMaxGradient);
}

std::int32_t Rounded(double v) { return static_cast<std::int32_t>(foundation::RoundHalfEven(v)); }

}  // namespace

SplitWindow::SplitWindow() = default;

SplitWindow::~SplitWindow() { *alive_ = false; }

bool SplitWindow::ToolWindowMoving() { return g_toolWindowMoving; }
void SplitWindow::SetToolWindowMoving(bool on) { g_toolWindowMoving = on; }

// ---- Lifecycle ---------------------------------------------------------------------------------

void SplitWindow::Initialize() {
    tmrCursor_ = CreateTimer([this] { CursorTick(); });
    panes_.assign(1, Pane{});
}

void SplitWindow::InitProperties() {
    host::TryInvoke([&] { SetName(foundation::UniqueName("spl", *this)); });
    active_ = false;
    gapInPixels_ = 3;
    minimumPaneHeld_ = 5;
    picture_.reset();
    host::Control::SetBackColor(kButtonFace);
    gradientFraction_ = 0;
    border_ = true;
    borderStyle_ = 2;
    transparent_ = false;
    vertical_ = true;
    style_ = SplitterWindow;
    moveable_ = dockable_ = sizeable_ = false;
    floatHeight_ = floatWidth_ = 0;
    autoAdjust_ = autoAdjustForm_ = false;
    dockTop_ = dockBottom_ = dockLeft_ = dockRight_ = true;
    configuredDock_ = currentDock_ = host::kAlignNone;
    minWidth_ = minHeight_ = kSmallestLimit;
    maxWidth_ = maxHeight_ = kUnlimited;
    dockableContained_ = false;
    moving_ = false;
    fixedX_ = fixedY_ = 0;
    userOrientation_ = true;
    ComputeColours();
}

// The layout is written at the end of the control's life, when persistence was established
// and the form's close collected it. A move or drag cut short by the unload ends here too.
void SplitWindow::Terminate() {
    if (tmrCursor_) tmrCursor_->SetEnabled(false);
    if (moving_) g_toolWindowMoving = false;
    moving_ = false;
    persistence_.Terminate();
}

// ---- Setters -----------------------------------------------------------------------------------

void SplitWindow::SetActive(bool on) {
    const bool was = active_;
    active_ = on;
    PropertyChanged("Active");
    if (!was && on) {
        ArrangeToolBar(false);
        CollectPanes();
        ResetChildren(true);
    }
    SetCursorTimerRunning(active_);
    SetPointer(0);
}

// A new gap rescales the panes so that what is free of gaps keeps its proportions. Only lists
// that exist and free lengths that are positive on both sides can be scaled; otherwise the
// panes are spread again on the next paint (a scale by 0 would flatten every pane).
void SplitWindow::SetGapInPixels(std::int32_t gap) {
    const std::int32_t minimum = MinimumPane();
    const auto gaps = static_cast<std::int32_t>(Children().size()) + (border_ ? 1 : -1);
    const std::int32_t extent = axisExtent_ > 0 ? axisExtent_ : AxisExtentNow();
    const double oldFree = extent - gaps * AxisTwips(gapInPixels_);
    gapInPixels_ = std::max(2, gap);
    const double newFree = extent - gaps * AxisTwips(gapInPixels_);
    const bool built = layoutInitialised_ && !ChildrenChanged() && !Children().empty();
    if (built && oldFree >= 1 && newFree >= 1) ScalePanes(newFree / oldFree);
    else needsRespread_ = true;
    ArrangeToolBar(false);
    Refresh();
    PropertyChanged("GapInPixels");
    SetMinimumPane(minimum);
}

std::int32_t SplitWindow::MinimumPane() const { return Rounded(AxisTwips(minimumPaneHeld_ - gapInPixels_)); }

void SplitWindow::SetMinimumPane(std::int32_t twips) {
    const double pixels = AxisPixels(std::max(0, twips));
    minimumPaneHeld_ = gapInPixels_ + Rounded(std::min(pixels, 1e6));
    PropertyChanged("MinimumPane");
}

void SplitWindow::SetPicture(std::shared_ptr<host::StdPicture> picture) {
    picture_ = std::move(picture);
    PropertyChanged("Picture");
    Refresh();
}

void SplitWindow::SetBackColor(std::uint32_t color) {
    host::Control::SetBackColor(color);
    ComputeColours();
    PropertyChanged("BackColor");
    Refresh();
}

float SplitWindow::GradientPct() const {
    return static_cast<float>(foundation::RoundHalfEven(gradientFraction_ * 100.0 * 100.0) / 100.0);
}

void SplitWindow::SetGradientPct(float percent) {
    gradientFraction_ = ClampFraction(percent / 100.0f);
    ComputeColours();
    PropertyChanged("GradientPct");
    Refresh();
}

void SplitWindow::SetBorder(bool on) {
    border_ = on;
    PropertyChanged("Border");
    ResetChildrenInactive();
    Refresh();
}

void SplitWindow::SetBorderStyle(std::int16_t style) {
    borderStyle_ = style;
    PropertyChanged("BorderStyle");
    Refresh();
}

void SplitWindow::SetTransparent(bool on) {
    transparent_ = on;
    picture_.reset();
    PropertyChanged("Transparent");
    Refresh();
}

void SplitWindow::SetVertical(bool on) {
    if (style_ == ToolBarWindow) {
        TurnToolBar(on);
        return;
    }
    vertical_ = on;
    PropertyChanged("Vertical");
    ResetChildren(true);
    axisExtent_ = AxisExtentNow();
    host::Control::Refresh();
}

// Values outside SplitStyleConst are ignored: the style stays as it was.
void SplitWindow::SetStyle(std::int16_t style) {
    if (style != SplitterWindow && style != ToolBarWindow) return;
    style_ = style;
    PropertyChanged("Style");
    if (style != ToolBarWindow) {
        SetActive(false);
        SetBorderStyle(2);
    } else {
        SetBorderStyle(kToolBarBorderStyle);
        SetActive(true);
        SetMoveable(true);
        ArrangeToolBar(false);
    }
    Refresh();
}

void SplitWindow::SetMoveable(bool on) {
    moveable_ = on;
    PropertyChanged("Moveable");
    ArrangeToolBar(false);
}

void SplitWindow::SetDockable(bool on) { dockable_ = on, PropertyChanged("Dockable"); }
void SplitWindow::SetSizeable(bool on) { sizeable_ = on, PropertyChanged("Sizeable"); }

void SplitWindow::SetFloatHeight(float twips) {
    floatHeight_ = twips < 10 || std::isnan(twips) ? static_cast<float>(Height()) : twips;
    PropertyChanged("FloatHeight");
}

void SplitWindow::SetFloatWidth(float twips) {
    floatWidth_ = twips < 10 || std::isnan(twips) ? static_cast<float>(Width()) : twips;
    PropertyChanged("FloatWidth");
}

void SplitWindow::SetAutoAdjust(bool on) { autoAdjust_ = on, PropertyChanged("AutoAdjust"); }
void SplitWindow::SetAutoAdjustForm(bool on) { autoAdjustForm_ = on, PropertyChanged("AutoAdjustForm"); }
void SplitWindow::SetDockTop(bool on) { dockTop_ = on, PropertyChanged("DockTop"); }
void SplitWindow::SetDockBottom(bool on) { dockBottom_ = on, PropertyChanged("DockBottom"); }
void SplitWindow::SetDockLeft(bool on) { dockLeft_ = on, PropertyChanged("DockLeft"); }
void SplitWindow::SetDockRight(bool on) { dockRight_ = on, PropertyChanged("DockRight"); }
void SplitWindow::SetDockableContained(bool on) { dockableContained_ = on, PropertyChanged("DockableContained"); }
void SplitWindow::SetUserOrientation(bool on) { userOrientation_ = on, PropertyChanged("UserOrientation"); }

// Limits never cross: a minimum above the maximum raises the maximum with it, and a maximum
// below the minimum is raised to it.
void SplitWindow::SetMinWidth(std::int32_t twips) {
    minWidth_ = twips > kSmallestLimit ? twips : kSmallestLimit;
    maxWidth_ = std::max(maxWidth_, minWidth_);
    PropertyChanged("MinWidth");
}

void SplitWindow::SetMinHeight(std::int32_t twips) {
    minHeight_ = twips > kSmallestLimit ? twips : kSmallestLimit;
    maxHeight_ = std::max(maxHeight_, minHeight_);
    PropertyChanged("MinHeight");
}

void SplitWindow::SetMaxWidth(std::int32_t twips) {
    maxWidth_ = std::max(twips > kSmallestLimit ? twips : kUnlimited, minWidth_);
    PropertyChanged("MaxWidth");
}

void SplitWindow::SetMaxHeight(std::int32_t twips) {
    maxHeight_ = std::max(twips > kSmallestLimit ? twips : kUnlimited, minHeight_);
    PropertyChanged("MaxHeight");
}

void SplitWindow::SetMoving(bool) {
    throw host::HostError(UserMode() ? host::kErrSetNotSupportedAtRuntime : host::kErrSetNotPermitted);
}

void SplitWindow::SetFixedX(float twips) {
    fixedX_ = twips;
    PropertyChanged("FixedX");
    Refresh();
}

void SplitWindow::SetFixedY(float twips) {
    fixedY_ = twips;
    PropertyChanged("FixedY");
    Refresh();
}

void SplitWindow::SetEnabled(bool on) {
    host::Control::SetEnabled(on);
    PropertyChanged("Enabled");
    for (const auto& child : ContainedControls())
        host::TryInvoke([&] { host::LetProperty(*child, "Enabled", Variant(on)); });
}

// ---- Read-only members and methods ---------------------------------------------------------------

std::int32_t SplitWindow::hWndValue() const { return static_cast<std::int32_t>(HandleValue(hWnd())); }
std::int32_t SplitWindow::hDCValue() const { return static_cast<std::int32_t>(HandleValue(hDC())); }

void SplitWindow::Refresh() {
    if (refreshing_) return;
    refreshing_ = true;
    ArrangeToolBar(false);
    Cls();
    host::Control::Refresh();
    refreshing_ = false;
}

void SplitWindow::ShowAboutBox() {
    host::MsgBox(std::string("Brimlox SplitWindow\nVersion ") + BRIMLOX_VERSION, 0, "About SplitWindow");
}

void SplitWindow::MenuPoppedUp(std::int32_t l, std::int32_t r, std::int32_t T, std::int32_t B, bool shown) {
    menuRect_ = RECT{l, T, r, B};
    menuShown_ = shown;
}

void SplitWindow::ResizeComplete() {
    resizePending_ = false;
    completedWidth_ = Width();
    completedHeight_ = Height();
}

void SplitWindow::Docked(std::int16_t edge) {
    if (edge < host::kAlignNone || edge > host::kAlignRight) edge = host::kAlignNone;
    configuredDock_ = currentDock_ = edge;
    PropertyChanged("Dock");
    AdjustOthers(Width(), Height(), true);
}

// ---- Form persistence ------------------------------------------------------------------------------

void SplitWindow::PersistForm(const std::shared_ptr<host::Form>& form, bool center) {
    persistence_.PersistForm(form, center);
}

void SplitWindow::RemovePersistence(const std::string& formName) { persistence_.RemovePersistence(formName); }

void SplitWindow::RemovePersistenceIDE(const std::string& formName) { persistence_.RemovePersistenceIDE(formName); }

// ---- Helpers -----------------------------------------------------------------------------------------

void SplitWindow::ComputeColours() {
    cachedBackColour_ = foundation::TranslateColor(BackColor());
    lightColor_ = foundation::AdjustLuminance(BackColor(), gradientFraction_);
    darkColor_ = foundation::AdjustLuminance(BackColor(), -gradientFraction_);
}

void SplitWindow::SetCursorTimerRunning(bool on) {
    if (tmrCursor_) tmrCursor_->SetEnabled(on);
}

bool SplitWindow::CursorTimerEnabled() const { return tmrCursor_ && tmrCursor_->Enabled(); }
int SplitWindow::CursorTimerInterval() const { return tmrCursor_ ? tmrCursor_->Interval() : 0; }

bool SplitWindow::UserMode() const {
    const host::Form* form = ParentForm();
    return !form || !form->DesignMode();
}

// Twips per pixel as the host's scale gives them (not necessarily whole).
double SplitWindow::TwipsPerPixelX() const {
    const double v = ScaleX(1.0f, host::kScalePixels, host::kScaleTwips);
    return v > 0 ? v : 15.0;
}

double SplitWindow::TwipsPerPixelY() const {
    const double v = ScaleY(1.0f, host::kScalePixels, host::kScaleTwips);
    return v > 0 ? v : 15.0;
}

double SplitWindow::AxisTwips(double pixels) const { return pixels * (vertical_ ? TwipsPerPixelX() : TwipsPerPixelY()); }
double SplitWindow::AcrossTwips(double pixels) const {
    return pixels * (vertical_ ? TwipsPerPixelY() : TwipsPerPixelX());
}
double SplitWindow::AxisPixels(double twips) const { return twips / (vertical_ ? TwipsPerPixelX() : TwipsPerPixelY()); }

std::int32_t SplitWindow::GapTwips() const { return Rounded(AxisTwips(gapInPixels_)); }
std::int32_t SplitWindow::AcrossGapTwips() const { return Rounded(AcrossTwips(gapInPixels_)); }
std::int32_t SplitWindow::BorderGapTwips() const { return border_ ? GapTwips() : 0; }
std::int32_t SplitWindow::AxisExtentNow() const { return vertical_ ? Width() : Height(); }
std::int32_t SplitWindow::AcrossExtentNow() const { return vertical_ ? Height() : Width(); }

// The Border setter spreads the panes again with Active off around the spread, so the spread
// does not run the tool-bar arrangement or the timer's syncing against half-built lists.
void SplitWindow::ResetChildrenInactive() {
    const bool was = active_;
    active_ = false;
    ResetChildren(true);
    active_ = was;
}

void SplitWindow::RaiseChanged() { RaiseEvent("Changed"); }

}  // namespace brimlox::controls

// ProgressBar: properties and their setters, persistence in the property bag, the lifecycle,
// and Resize, which sizes the off-screen buffer to the control.
#include "controls/indicators/progressbar.h"

#include "foundation/helpers/colour.h"
#include "foundation/helpers/naming.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

using host::Variant;

constexpr std::uint32_t kDefaultForeColor = 0xC00000;  // RGB(0, 0, 192)

Variant Long(std::int32_t v) { return Variant(v); }
Variant Integer(std::int16_t v) { return Variant(v); }
Variant Colour(std::uint32_t c) { return Variant(static_cast<std::int32_t>(c)); }
Variant Object(const std::shared_ptr<host::StdFont>& f) { return Variant(std::static_pointer_cast<host::Dispatch>(f)); }

}  // namespace

ProgressBar::ProgressBar() = default;
ProgressBar::~ProgressBar() = default;

// ---- Lifecycle ---------------------------------------------------------------------------------

void ProgressBar::Initialize() {
    buffer_ = std::make_unique<drawing::HiddenBuffer>();
    tmrMarquee_ = CreateTimer([this] { StepMarquee(); });
}

void ProgressBar::InitProperties() {
    host::TryInvoke([this] { SetName(foundation::UniqueName("prg", *this)); });
    if (auto ambient = Ambient().Font) Control::SetFont(ambient->Clone());
    Control::SetForeColor(kDefaultForeColor);
    max_ = 100;
    value_ = 0;
    borderStyle_ = 8;
    barStyle_ = 7;
    divisions_ = 0;
    showPercent_ = true;
    marquee_ = false;
    marqueeSpeed_ = 30;
    UpdateMarqueeTimer();
}

void ProgressBar::Terminate() {
    if (tmrMarquee_) tmrMarquee_->SetEnabled(false);
}

// Stored values go through the setters' limits, so a hand-edited or damaged file cannot leave
// a Max of 0 (nothing ever drawn) or a Value outside 0..Max.
void ProgressBar::ReadProperties(host::PropertyBag& bag) {
    Control::SetForeColor(static_cast<std::uint32_t>(bag.ReadProperty("ForeColor", Colour(kDefaultForeColor)).ToLong()));
    if (auto font = bag.ReadProperty("Font", Object(Ambient().Font)).As<host::StdFont>()) Control::SetFont(font);
    max_ = ProgressLimits::Max(bag.ReadProperty("Max", Long(100)).ToLong());
    value_ = ProgressLimits::Value(bag.ReadProperty("Value", Long(0)).ToLong(), max_);
    borderStyle_ = bag.ReadProperty("BorderStyle", Integer(8)).ToInteger();
    barStyle_ = bag.ReadProperty("BarStyle", Integer(7)).ToInteger();
    divisions_ = ProgressLimits::Divisions(bag.ReadProperty("Divisions", Long(0)).ToLong());
    showPercent_ = bag.ReadProperty("ShowPercent", Variant(true)).ToBool();
    marquee_ = bag.ReadProperty("Marquee", Variant(false)).ToBool();
    marqueeSpeed_ = ProgressLimits::MarqueeSpeed(bag.ReadProperty("MarqueeSpeed", Long(30)).ToLong());
    // The percentage a loaded bar shows is not a change.
    lastPercent_ = Percentage();
    UpdateMarqueeTimer();
}

void ProgressBar::WriteProperties(host::PropertyBag& bag) {
    bag.WriteProperty("ForeColor", Colour(ForeColor()), Colour(kDefaultForeColor));
    bag.WriteProperty("Font", Object(Font()), Object(Ambient().Font));
    bag.WriteProperty("Max", Long(max_), Long(100));
    bag.WriteProperty("Value", Long(value_), Long(0));
    bag.WriteProperty("BorderStyle", Integer(borderStyle_), Integer(8));
    bag.WriteProperty("BarStyle", Integer(barStyle_), Integer(7));
    bag.WriteProperty("Divisions", Long(divisions_), Long(0));
    bag.WriteProperty("ShowPercent", Variant(showPercent_), Variant(true));
    bag.WriteProperty("Marquee", Variant(marquee_), Variant(false));
    bag.WriteProperty("MarqueeSpeed", Long(marqueeSpeed_), Long(30));
}

// ---- Resize ------------------------------------------------------------------------------------

void ProgressBar::Resize() {
    if (!buffer_) return;
    SetScaleWidth(static_cast<float>(max_));
    const double tpp = host::TwipsPerPixel();
    widthPx_ = foundation::RoundHalfEven(Width() / tpp);
    heightPx_ = foundation::RoundHalfEven(Height() / tpp);
    if (buffer_->Attached()) buffer_->Resize(widthPx_, heightPx_);
    else buffer_->Attach(hDC(), widthPx_, heightPx_);
    buffer_->SetDrawMode(R2_NOTXORPEN);
    Refresh();
}

void ProgressBar::Paint() { Refresh(); }

// ---- Setters -----------------------------------------------------------------------------------

void ProgressBar::Changed(const char* property) {
    PropertyChanged(property);
    Refresh();
}

void ProgressBar::SetForeColor(std::uint32_t colour) {
    Control::SetForeColor(colour);
    Changed("ForeColor");
}

void ProgressBar::SetFont(std::shared_ptr<host::StdFont> font) {
    if (!font) return;
    Control::SetFont(std::move(font));
    Changed("Font");
}

void ProgressBar::SetMax(std::int32_t v) {
    max_ = ProgressLimits::Max(v);
    PropertyChanged("Max");
    value_ = 0;
    PropertyChanged("Value");
    SetScaleWidth(static_cast<float>(max_));
    Refresh();
}

void ProgressBar::SetValue(std::int32_t v) {
    v = ProgressLimits::Value(v, max_);
    if (v == value_) return;
    value_ = v;
    Changed("Value");
}

void ProgressBar::SetBorderStyle(std::int16_t v) {
    borderStyle_ = v;
    Changed("BorderStyle");
}

void ProgressBar::SetBarStyle(std::int16_t v) {
    barStyle_ = v;
    Changed("BarStyle");
}

std::int32_t ProgressBar::Percentage() const {
    if (value_ > max_) return 100;
    return foundation::RoundHalfEven(static_cast<double>(value_) / max_ * 100.0);
}

void ProgressBar::SetPercentage(std::int32_t v) {
    std::int32_t p = ProgressLimits::Percent(v);
    value_ = foundation::RoundHalfEven(p / 100.0 * max_);
    Changed("Value");
}

void ProgressBar::SetDivisions(std::int32_t v) {
    divisions_ = ProgressLimits::Divisions(v);
    Changed("Divisions");
}

void ProgressBar::SetShowPercent(bool v) {
    showPercent_ = v;
    Changed("ShowPercent");
}

void ProgressBar::SetMarquee(bool v) {
    marquee_ = v;
    // At run time the block comes in from the left; the designer shows it standing at the start.
    marqueePos_ = Ambient().UserMode ? -MarqueeBlockWidth() : 0;
    UpdateMarqueeTimer();
    Changed("Marquee");
}

void ProgressBar::SetMarqueeSpeed(std::int32_t v) {
    marqueeSpeed_ = ProgressLimits::MarqueeSpeed(v);
    UpdateMarqueeTimer();
    PropertyChanged("MarqueeSpeed");
}

std::int32_t ProgressBar::hWndValue() const {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hWnd())));
}

void ProgressBar::ShowAboutBox() {
    host::MsgBox(std::string("Brimlox ProgressBar\nVersion ") + BRIMLOX_VERSION, 0, "About ProgressBar");
}

}  // namespace brimlox::controls

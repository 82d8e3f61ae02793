// Divider: properties and their setters, persistence in the property bag, Rotate, and the
// late-bound questions it asks its container.
#include <algorithm>
#include <cmath>

#include "controls/divider/divider.h"
#include "foundation/helpers/colour.h"
#include "foundation/helpers/naming.h"

namespace brimlox::controls {

using host::PropertyBag;
using host::Variant;

namespace {

constexpr std::uint32_t kButtonFace = 0x8000000F;
constexpr std::uint32_t kButtonText = 0x80000012;
constexpr float kMaxGradient = 0.99f;
constexpr int kMinSidePixels = 5;

Variant Colour(std::uint32_t c) { return Variant(static_cast<std::int32_t>(c)); }
std::uint32_t ToColour(const Variant& v) { return static_cast<std::uint32_t>(v.ToLong()); }

// Keeps a gradient fraction in range; a value that is not a number means no gradient.
float ClampGradient(float fraction) {
    if (std::isnan(fraction)) return 0;
    return std::clamp(fraction, -kMaxGradient, kMaxGradient);
}

bool IsDividerStyle(std::int16_t style) { return style >= SpaceDivider && style <= SpringDivider; }

}  // namespace

Divider::Divider() = default;
Divider::~Divider() = default;

// ---- Lifecycle ---------------------------------------------------------------------------------

void Divider::InitProperties() {
    host::TryInvoke([&] { SetName(foundation::UniqueName("div", *this)); });
    style_ = SpaceDivider;
    transparent_ = true;
    gradientPct_ = 0;
    moveable_ = SplitWindowContainer() != nullptr;
    ComputeGradient();
}

// A stored style outside the enumeration is refused with the form, naming the value; a stored
// gradient outside its range is clamped as the setter would.
void Divider::ReadProperties(PropertyBag& bag) {
    host::Control::SetBackColor(ToColour(bag.ReadProperty("BackColor", Colour(kButtonFace))));
    gradientPct_ = ClampGradient(bag.ReadProperty("GradientPct", Variant(0.0f)).ToSingle());
    host::Control::SetForeColor(ToColour(bag.ReadProperty("ForeColor", Colour(kButtonText))));
    const std::int16_t style = bag.ReadProperty("Style", Variant(std::int16_t{SpaceDivider})).ToInteger();
    if (!IsDividerStyle(style))
        throw host::HostError(host::kErrInvalidPropertyValue,
                              "Style " + std::to_string(style) + " is not a divider style (0 to 3)");
    style_ = style;
    transparent_ = bag.ReadProperty("Transparent", Variant(true)).ToBool();
    moveable_ = bag.ReadProperty("Moveable", Variant(false)).ToBool();
    ComputeGradient();
}

void Divider::WriteProperties(PropertyBag& bag) {
    bag.WriteProperty("BackColor", Colour(BackColor()), Colour(kButtonFace));
    bag.WriteProperty("ForeColor", Colour(ForeColor()), Colour(kButtonText));
    bag.WriteProperty("Style", Variant(style_), Variant(std::int16_t{SpaceDivider}));
    bag.WriteProperty("Transparent", Variant(transparent_), Variant(true));
    bag.WriteProperty("GradientPct", Variant(gradientPct_), Variant(0.0f));
    bag.WriteProperty("Moveable", Variant(moveable_), Variant(false));
}

// A divider unloaded in the middle of a drag stops watching the keyboard and keeps the style
// it had before, without repainting anything.
void Divider::Terminate() {
    if (!dragging_) return;
    dragWatch_.reset();
    dragging_ = false;
    style_ = styleBeforeDrag_;
}

// ---- Setters -----------------------------------------------------------------------------------

void Divider::SetBackColor(std::uint32_t color) {
    host::Control::SetBackColor(color);
    ComputeGradient();
    PropertyChanged("BackColor");
    host::Control::Refresh();
}

void Divider::SetForeColor(std::uint32_t color) {
    host::Control::SetForeColor(color);
    PropertyChanged("ForeColor");
}

// A divider is never thinner than 5 pixels either way once its style is set, so its line
// always has room. Its container repaints too: a tool bar lays its dividers out by style.
void Divider::SetStyle(std::int16_t style) {
    if (!IsDividerStyle(style)) return;
    style_ = style;
    PropertyChanged("Style");
    const int minWidth = kMinSidePixels * TwipsPerPixelX(), minHeight = kMinSidePixels * TwipsPerPixelY();
    if (Width() < minWidth) SetWidth(minWidth);
    if (Height() < minHeight) SetHeight(minHeight);
    host::Control::Refresh();
    host::DoEvents();
    RefreshContainer();
}

void Divider::SetTransparent(bool on) {
    transparent_ = on;
    PropertyChanged("Transparent");
    host::Control::Refresh();
}

float Divider::GradientPct() const { return static_cast<float>(foundation::RoundHalfEven(gradientPct_ * 100.0) / 100.0); }

void Divider::SetGradientPct(float fraction) {
    gradientPct_ = ClampGradient(fraction);
    PropertyChanged("GradientPct");
    ComputeGradient();
    host::Control::Refresh();
}

void Divider::SetMoveable(bool on) {
    moveable_ = on;
    PropertyChanged("Moveable");
}

// ---- Methods -----------------------------------------------------------------------------------

void Divider::ShowAboutBox() {
    host::MsgBox(std::string("Brimlox Divider\nVersion ") + BRIMLOX_VERSION, 0, "About Divider");
}

void Divider::Refresh() {
    Cls();
    host::Control::Refresh();
}

void Divider::Rotate(bool vertical) {
    if (!SplitWindowContainer()) return;
    const bool wide = Width() > Height();
    if (wide == vertical) Move(Left(), Top(), Height(), Width());
}

// ---- Derived state and the container ------------------------------------------------------------

void Divider::ComputeGradient() {
    lastBackColour_ = foundation::TranslateColor(BackColor());
    lightColor_ = foundation::AdjustLuminance(BackColor(), gradientPct_);
    darkColor_ = foundation::AdjustLuminance(BackColor(), -gradientPct_);
}

// The container when it is a SplitWindow, the one container whose Picture, Transparent and
// Vertical the divider follows.
std::shared_ptr<host::Dispatch> Divider::SplitWindowContainer() const {
    std::shared_ptr<host::Dispatch> result;
    host::TryInvoke([&] {
        auto container = Container();
        if (container && container->TypeName() == "SplitWindow") result = container;
    });
    return result;
}

bool Divider::ContainerFlag(const char* property) const {
    bool on = false;
    if (auto container = SplitWindowContainer())
        host::TryInvoke([&] { on = host::GetProperty(*container, property).ToBool(); });
    return on;
}

void Divider::RefreshContainer() {
    host::TryInvoke([&] {
        auto container = Container();
        if (container && host::HasMember(*container, "Refresh")) host::CallMethod(*container, "Refresh");
    });
}

int Divider::TwipsPerPixelX() const { return std::max(1, host::Screen().TwipsPerPixelX); }
int Divider::TwipsPerPixelY() const { return std::max(1, host::Screen().TwipsPerPixelY); }

}  // namespace brimlox::controls

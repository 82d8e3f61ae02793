// ScrollBar: properties and their setters, persistence in the property bag, the lifecycle,
// and Resize, which derives the orientation and geometry from the control's shape.
#include "controls/scrollbar/scrollbar.h"

#include <algorithm>

#include "foundation/helpers/naming.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

// Property-bag values, typed as the host stores them.
host::Variant Long(std::int32_t v) { return host::Variant(v); }
host::Variant Integer(std::int16_t v) { return host::Variant(v); }
host::Variant Boolean(bool v) { return host::Variant(v); }

constexpr std::int16_t kDefaultPointer = 1;

}  // namespace

ScrollBar::ScrollBar() {
    tmrRep_ = CreateTimer([this] { TimerStep(); });
    tmrRep_->SetInterval(500);  // the design-time interval; ReadProperties sets AutoDelay
}

ScrollBar::~ScrollBar() = default;

// ---- Lifecycle ---------------------------------------------------------------------------------

void ScrollBar::Initialize() {
    // The arrow glyphs of small buttons are characters of the symbol font.
    auto marlett = std::make_shared<host::StdFont>();
    marlett->SetName("Marlett");
    marlett->SetSize(8.25f);
    marlett->SetCharset(2);
    SetFont(marlett);
    geom_.pixelStep = geom_.crossStep = TwipsPerPixelNow();
}

void ScrollBar::InitProperties() {
    // Names can change only in the designer; at run time the host's name stays (errors ignored).
    host::TryInvoke([this] { SetName(foundation::UniqueName("sbr", *this)); });
    Control::SetAutoRedraw(true);
    Control::SetMousePointer(kDefaultPointer);
    Control::SetBackColor(GetSysColor(COLOR_SCROLLBAR));
    tmrRep_->SetEnabled(false);
    tmrRep_->SetInterval(autoDelay_);
}

void ScrollBar::Terminate() {
    tmrRep_->SetEnabled(false);
    if (AutoScrolling() && GetCapture() == hWnd()) ReleaseCapture();
    anchorMark_.reset();
}

// A stored range is applied through the setters' rules, starting from a new control's range,
// so a hand-edited or damaged file cannot leave Value outside Min..Max or the two ends in an
// order the setters would refuse. Every pair the setters can produce reads back unchanged.
void ScrollBar::ApplyReadRange(std::int32_t min, std::int32_t max, std::int32_t value) {
    range_ = ScrollRange{};
    range_.SetMin(min);
    range_.SetMax(max);
    range_.Value = range_.Clamp(value);
}

void ScrollBar::ReadProperties(host::PropertyBag& bag) {
    ApplyReadRange(bag.ReadProperty("Min", Long(0)).ToLong(), bag.ReadProperty("Max", Long(kLongMax)).ToLong(),
                   bag.ReadProperty("Value", Long(0)).ToLong());
    largeChange_ = bag.ReadProperty("LargeChange", Long(10)).ToLong();
    smallChange_ = bag.ReadProperty("SmallChange", Integer(1)).ToInteger();
    borderStyle_ = bag.ReadProperty("BorderStyle", Integer(0)).ToInteger();
    std::int16_t font3D = bag.ReadProperty("Font3D", Integer(Flat)).ToInteger();
    font3D_ = (font3D >= Raised3D && font3D <= Inset3D) ? font3D : static_cast<std::int16_t>(Flat);
    activeScroll_ = bag.ReadProperty("ActiveScroll", Boolean(false)).ToBool();
    autoDelay_ = bag.ReadProperty("AutoDelay", Integer(500)).ToInteger();
    autoInterval_ = bag.ReadProperty("AutoInterval", Integer(55)).ToInteger();
    softButtons_ = bag.ReadProperty("SoftButtons", Boolean(false)).ToBool();
    // Stored as tenths; a value outside 10..90 would stall auto-scrolling or divide by zero.
    deadZone_ = std::clamp<std::int16_t>(bag.ReadProperty("DeadZone", Integer(10)).ToInteger(), 10, 90);
    vertical_ = bag.ReadProperty("Vertical", Boolean(false)).ToBool();
    extended_ = bag.ReadProperty("Extended", Boolean(false)).ToBool();
    if (auto icon = bag.ReadProperty("MouseIcon").As<host::StdPicture>()) SetMouseIcon(icon);
    tmrRep_->SetInterval(autoDelay_);
    Control::SetEnabled(bag.ReadProperty("Enabled", Boolean(true)).ToBool());
    Control::SetAutoRedraw(bag.ReadProperty("AutoRedraw", Boolean(true)).ToBool());
    Control::SetMousePointer(bag.ReadProperty("MousePointer", Integer(kDefaultPointer)).ToInteger());
    Control::SetBackColor(GetSysColor(COLOR_SCROLLBAR));
    Resize();
}

void ScrollBar::WriteProperties(host::PropertyBag& bag) {
    bag.WriteProperty("Min", Long(range_.Min), Long(0));
    bag.WriteProperty("Max", Long(range_.Max), Long(kLongMax));
    bag.WriteProperty("LargeChange", Long(largeChange_), Long(10));
    bag.WriteProperty("SmallChange", Integer(smallChange_), Integer(1));
    bag.WriteProperty("Value", Long(range_.Value), Long(0));
    bag.WriteProperty("BorderStyle", Integer(borderStyle_), Integer(0));
    bag.WriteProperty("Font3D", Integer(font3D_), Integer(Flat));
    bag.WriteProperty("ActiveScroll", Boolean(activeScroll_), Boolean(false));
    bag.WriteProperty("AutoDelay", Integer(autoDelay_), Integer(500));
    bag.WriteProperty("AutoInterval", Integer(autoInterval_), Integer(55));
    bag.WriteProperty("SoftButtons", Boolean(softButtons_), Boolean(false));
    bag.WriteProperty("DeadZone", Integer(deadZone_), Integer(10));
    if (foundation::HasPicture(MouseIcon()))
        bag.WriteProperty("MouseIcon", host::Variant(std::static_pointer_cast<host::Dispatch>(MouseIcon())));
    bag.WriteProperty("MousePointer", Integer(MousePointer()), Integer(kDefaultPointer));
    bag.WriteProperty("Enabled", Boolean(Enabled()), Boolean(true));
    bag.WriteProperty("AutoRedraw", Boolean(AutoRedraw()), Boolean(true));
    bag.WriteProperty("Vertical", Boolean(vertical_), Boolean(false));
    bag.WriteProperty("Extended", Boolean(extended_), Boolean(false));
}

double ScrollBar::TwipsPerPixelNow() const { return static_cast<double>(host::TwipsPerPixel()); }

// ---- Resize ------------------------------------------------------------------------------------

void ScrollBar::Resize() {
    if (resizing_) return;
    resizing_ = true;
    double longSide = 0;
    if (ComputeGeometry(geom_, Width(), Height(), extended_, TwipsPerPixelNow(), &longSide)) {
        vertical_ = geom_.vertical;
        // A bar is never shorter than its minimum; the nested Resize this raises is ignored.
        auto length = static_cast<std::int32_t>(longSide);
        if (vertical_ && Height() < length) SetHeight(length);
        if (!vertical_ && Width() < length) SetWidth(length);
        DrawButtons();
        PropertyChanged("Vertical");
    }
    resizing_ = false;
}

// ---- Setters -----------------------------------------------------------------------------------

void ScrollBar::SignalRange(const RangeChanges& changes) {
    if (changes.min) PropertyChanged("Min");
    if (changes.max) PropertyChanged("Max");
    if (changes.value) PropertyChanged("Value");
}

void ScrollBar::SetMin(std::int32_t v) {
    if (v == range_.Min) return;
    RangeChanges changes = range_.SetMin(v);
    PropertyChanged("Min");
    SignalRange(changes);
    Refresh(true);
}

void ScrollBar::SetMax(std::int32_t v) {
    if (v == range_.Max) return;
    RangeChanges changes = range_.SetMax(v);
    PropertyChanged("Max");
    SignalRange(changes);
    Refresh(true);
}

void ScrollBar::SetLargeChange(std::int32_t v) {
    if (v == largeChange_) return;
    largeChange_ = v;
    PropertyChanged("LargeChange");
    Refresh(true);
}

void ScrollBar::SetSmallChange(std::int16_t v) {
    smallChange_ = v;
    PropertyChanged("SmallChange");
}

void ScrollBar::SetValue(std::int32_t v) {
    // While the user drags the thumb, the pointer owns the value.
    if (v == range_.Value || dragging_) return;
    range_.SetValue(v);
    PropertyChanged("Value");
    Refresh(true);
}

void ScrollBar::SetBorderStyle(std::int16_t v) {
    borderStyle_ = v;
    PropertyChanged("BorderStyle");
    DrawButtons();
}

void ScrollBar::SetFont3D(std::int16_t v) {
    if (v < Raised3D || v > Inset3D) return;
    font3D_ = v;
    PropertyChanged("Font3D");
    DrawButtons();
}

void ScrollBar::SetActiveScroll(bool v) {
    activeScroll_ = v;
    PropertyChanged("ActiveScroll");
}

void ScrollBar::SetAutoDelay(std::int16_t v) {
    autoDelay_ = v;
    PropertyChanged("AutoDelay");
}

void ScrollBar::SetAutoInterval(std::int16_t v) {
    autoInterval_ = v;
    PropertyChanged("AutoInterval");
}

void ScrollBar::SetSoftButtons(bool v) {
    softButtons_ = v;
    PropertyChanged("SoftButtons");
    DrawButtons();
}

void ScrollBar::SetDeadZone(std::int16_t v) {
    deadZone_ = DeadZoneTenths(v);
    PropertyChanged("DeadZone");
}

// Turning the bar swaps its width and height in one move, so Resize runs once, on the new
// shape. Asking for the orientation the bar already has changes nothing.
void ScrollBar::SetVertical(bool v) {
    bool was = geom_.vertical;
    vertical_ = v;
    PropertyChanged("Vertical");
    if (v == was) return;
    Move(Left(), Top(), Height(), Width());
}

void ScrollBar::SetExtended(bool v) {
    extended_ = v;
    PropertyChanged("Extended");
    Resize();
}

void ScrollBar::SetMouseIcon(std::shared_ptr<host::StdPicture> icon) {
    Control::SetMouseIcon(std::move(icon));
    PropertyChanged("MouseIcon");
}

void ScrollBar::SetMousePointer(std::int16_t pointer) {
    Control::SetMousePointer(pointer);
    PropertyChanged("MousePointer");
}

void ScrollBar::SetEnabled(bool enabled) {
    if (enabled == Control::Enabled()) return;
    Control::SetEnabled(enabled);
    PropertyChanged("Enabled");
    Refresh(true);
}

void ScrollBar::SetAutoRedraw(bool on) {
    bool changed = on != Control::AutoRedraw();
    Control::SetAutoRedraw(on);
    PropertyChanged("AutoRedraw");
    // A new persistent bitmap starts blank: put the bar on it.
    if (changed && on) DrawButtons();
}

std::int32_t ScrollBar::hDCValue() const {
    return static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(hDC()));
}

std::int32_t ScrollBar::hWndValue() const {
    return static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(hWnd()));
}

void ScrollBar::ShowAboutBox() {
    host::MsgBox(std::string("Brimlox ScrollBar\nVersion ") + BRIMLOX_VERSION, 0, "About ScrollBar");
}

}  // namespace brimlox::controls

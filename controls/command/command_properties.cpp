// Command: properties, persistence and the setters' side effects.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "controls/command/command.h"
#include "foundation/helpers/colour.h"
#include "foundation/helpers/naming.h"
#include "menus/keyboard_registry.h"

namespace brimlox::controls {

using host::PropertyBag;
using host::Variant;

namespace {

constexpr float kMaxGradient = 0.99f;

Variant Colour(std::uint32_t c) { return Variant(static_cast<std::int32_t>(c)); }
std::uint32_t ToColour(const Variant& v) { return static_cast<std::uint32_t>(v.ToLong()); }

// Stored fractions outside the setter's range (or not numbers at all) are clamped as the
// setter would, so a damaged file cannot ask for an endless soft edge.
float ClampFraction(float f) {
    if (!std::isfinite(f)) return 0;
    return std::clamp(f, -kMaxGradient, kMaxGradient);
}

}  // namespace

Command::Command() {
    menu_.SetChangeSink([this](const std::string& property) { PropertyChanged(property); });
}

Command::~Command() = default;

void Command::Initialize() {
    tmrAutoRepeat_ = CreateTimer([this] { OnTimer(); });
}

void Command::InitProperties() {
    host::TryInvoke([&] { SetName(foundation::UniqueName("cmd", *this)); });
    if (auto ambient = Ambient().Font) SetFont(ambient);
    picture_ = pictureDown_ = pictureBg_ = nullptr;
    menu_.InitProperties();
    ComputeGradient();
    TakeFontBase();
    host::TryInvoke([&] {
        auto container = Container();
        if (container && container->TypeName() == "SplitWindow") moveable_ = true;
    });
}

void Command::ReadColours(const PropertyBag& bag) {
    foreColor_ = ToColour(bag.ReadProperty("ForeColor", Colour(0x80000012)));
    host::Control::SetMousePointer(bag.ReadProperty("MousePointer", Variant(std::int16_t{0})).ToInteger());
    host::Control::SetEnabled(bag.ReadProperty("Enabled", Variant(true)).ToBool());
    caption_ = bag.ReadProperty("Caption", Variant("")).ToString();
    backColor_ = ToColour(bag.ReadProperty("BackColor", Colour(0x8000000F)));
    host::Control::SetBackColor(backColor_);
    gradientFraction_ = ClampFraction(bag.ReadProperty("GradientPct", Variant(0.0f)).ToSingle());
    ComputeGradient();
    buttonColor_ = ToColour(bag.ReadProperty("ButtonColor", Colour(0x8000000F)));
    TakeFontBase();
}

void Command::ReadFlags(const PropertyBag& bag) {
    auto flag = [&](const char* key, bool fallback) { return bag.ReadProperty(key, Variant(fallback)).ToBool(); };
    auto integer = [&](const char* key) { return bag.ReadProperty(key, Variant(std::int16_t{0})).ToInteger(); };
    bevelOuter_ = integer("BevelOuter");
    autoDelay_ = integer("AutoDelay");
    autoInterval_ = integer("AutoInterval");
    group_ = bag.ReadProperty("Group", Variant(std::uint8_t{0})).ToByte();
    arrowType_ = integer("ArrowType");
    buttonColorDn_ = ToColour(bag.ReadProperty("ButtonColorDn", Colour(0x8000000F)));
    fontColorDn_ = ToColour(bag.ReadProperty("FontColorDn", Colour(0x80000012)));
    toggle_ = flag("Toggle", false);
    value_ = flag("Value", false);
    rounded_ = flag("Rounded", false);
    allowAllup_ = flag("AllowAllup", true);
    moveable_ = flag("Moveable", false);
    locked_ = flag("Locked", false);
    activeBorder_ = flag("ActiveBorder", false);
    activeColor_ = flag("ActiveColor", false);
    button3D_ = flag("Button3D", true);
    fontEffects_ = flag("FontEffects", false);
    colorEffects_ = flag("ColorEffects", false);
    maskColor_ = ToColour(bag.ReadProperty("MaskColor", Colour(0x8000000F)));
    useMask_ = flag("UseMask", false);
    font3D_ = integer("Font3D");
    fontColor3D_ = ToColour(bag.ReadProperty("FontColor3D", Colour(0x80000014)));
    softButton_ = flag("SoftButton", false);
    pictureAlignment_ = integer("PictureAlignment");
    stretch_ = flag("Stretch", false);
    transparent_ = flag("Transparent", false);
    default_ = flag("Default", false);
    cancel_ = flag("Cancel", false);
    menuButton_ = bag.ReadProperty("MenuButton", Variant(std::int16_t{0})).ToBool();
}

void Command::ReadProperties(PropertyBag& bag) {
    auto picture = [&](const char* key) { return bag.ReadProperty(key).As<host::StdPicture>(); };
    if (auto font = bag.ReadProperty("Font", Variant(std::static_pointer_cast<host::Dispatch>(Ambient().Font)))
                        .As<host::StdFont>())
        SetFont(font);
    host::Control::SetMouseIcon(picture("MouseIcon"));
    picture_ = picture("Picture");
    pictureDown_ = picture("PictureDown");
    pictureBg_ = picture("PictureBg");
    ReadColours(bag);
    ReadFlags(bag);
    menu_.ReadProperties(bag);
    if (!toggle_) value_ = false;
    ComputeLayout();
    picturesReady_ = true;
    if (RunTime()) RegisterKeys();
}

void Command::WriteLooks(PropertyBag& bag) const {
    auto picture = [&](const char* key, const std::shared_ptr<host::StdPicture>& p) {
        if (p) bag.WriteProperty(key, Variant(std::static_pointer_cast<host::Dispatch>(p)));
    };
    bag.WriteProperty("MaskColor", Colour(maskColor_), Colour(0x8000000F));
    picture("Picture", picture_);
    picture("PictureDown", pictureDown_);
    picture("PictureBg", pictureBg_);
    bag.WriteProperty("UseMask", Variant(useMask_), Variant(false));
    bag.WriteProperty("ActiveBorder", Variant(activeBorder_), Variant(false));
    bag.WriteProperty("ActiveColor", Variant(activeColor_), Variant(false));
    bag.WriteProperty("Font3D", Variant(font3D_), Variant(std::int16_t{0}));
    bag.WriteProperty("FontColor3D", Colour(fontColor3D_), Colour(0x80000014));
    bag.WriteProperty("SoftButton", Variant(softButton_), Variant(false));
    bag.WriteProperty("PictureAlignment", Variant(pictureAlignment_), Variant(std::int16_t{0}));
    bag.WriteProperty("Stretch", Variant(stretch_), Variant(false));
    bag.WriteProperty("Transparent", Variant(transparent_), Variant(false));
    bag.WriteProperty("Default", Variant(default_), Variant(false));
    bag.WriteProperty("Cancel", Variant(cancel_), Variant(false));
    bag.WriteProperty("MenuButton", Variant(menuButton_), Variant(std::int16_t{0}));
}

void Command::WriteProperties(PropertyBag& bag) {
    auto object = [](const auto& p) { return Variant(std::static_pointer_cast<host::Dispatch>(p)); };
    auto flag = [&](const char* key, bool v, bool fallback) { bag.WriteProperty(key, Variant(v), Variant(fallback)); };
    bag.WriteProperty("ForeColor", Colour(foreColor_), Colour(0x80000012));
    // A font with the ambient font's attributes is the default and is not stored; reading
    // gives the button its own copy of the ambient font again.
    auto ambient = Ambient().Font;
    auto font = Font();
    bag.WriteProperty("Font", object(ambient && font && font->SameAs(*ambient) ? ambient : font), object(ambient));
    bag.WriteProperty("MousePointer", Variant(MousePointer()), Variant(std::int16_t{0}));
    if (MouseIcon()) bag.WriteProperty("MouseIcon", object(MouseIcon()));
    flag("Enabled", Enabled(), true);
    bag.WriteProperty("Caption", Variant(caption_), Variant(""));
    bag.WriteProperty("BackColor", Colour(backColor_), Colour(0x8000000F));
    bag.WriteProperty("ButtonColor", Colour(buttonColor_), Colour(0x8000000F));
    bag.WriteProperty("BevelOuter", Variant(bevelOuter_), Variant(std::int16_t{0}));
    bag.WriteProperty("AutoDelay", Variant(autoDelay_), Variant(std::int16_t{0}));
    bag.WriteProperty("AutoInterval", Variant(autoInterval_), Variant(std::int16_t{0}));
    bag.WriteProperty("Group", Variant(group_), Variant(std::uint8_t{0}));
    bag.WriteProperty("ArrowType", Variant(arrowType_), Variant(std::int16_t{0}));
    bag.WriteProperty("ButtonColorDn", Colour(buttonColorDn_), Colour(0x8000000F));
    bag.WriteProperty("FontColorDn", Colour(fontColorDn_), Colour(0x80000012));
    flag("Toggle", toggle_, false);
    flag("Value", value_, false);
    flag("Rounded", rounded_, false);
    flag("AllowAllup", allowAllup_, true);
    flag("Locked", locked_, false);
    flag("Button3D", button3D_, true);
    flag("FontEffects", fontEffects_, false);
    flag("ColorEffects", colorEffects_, false);
    WriteLooks(bag);
    menu_.WriteProperties(bag);
    bag.WriteProperty("GradientPct", Variant(gradientFraction_), Variant(0.0f));
    flag("Moveable", moveable_, false);
}

void Command::Terminate() {
    *alive_ = false;
    StopTimer();
    if (dragWatch_) EndAltDrag(false);
    UnregisterKeys();
}

// ---- Derived state -------------------------------------------------------------------------

void Command::ComputeGradient() {
    gradientTop_ = foundation::AdjustLuminance(backColor_, gradientFraction_);
    gradientBottom_ = foundation::AdjustLuminance(backColor_, -gradientFraction_);
}

void Command::TakeFontBase() {
    if (auto font = Font()) {
        fontBoldBase_ = font->Bold();
        fontItalicBase_ = font->Italic();
    }
}

// Registers the accelerator (the letter or digit after the first "&"), Default and Cancel with
// the keyboard hook. A caption whose "&" is followed by anything else registers key 0, so the
// Enter and Escape roles still work and an old accelerator is replaced.
void Command::RegisterKeys() {
    if (!RunTime() || !hWnd()) return;
    std::int16_t key = 0;
    std::size_t amp = caption_.find('&');
    if (amp != std::string::npos && amp + 1 < caption_.size() && Enabled()) {
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(caption_[amp + 1])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) key = c;
    }
    HWND form = ParentForm() ? ParentForm()->hWnd() : nullptr;
    menus::RegisterAccelerator(form, hWnd(), key, default_, cancel_);
}

void Command::UnregisterKeys() {
    if (hWnd()) menus::RegisterAccelerator(nullptr, hWnd(), 0, false, false);
}

// ---- Setters -------------------------------------------------------------------------------

void Command::SetForeColor(std::uint32_t v) { foreColor_ = v, Changed("ForeColor"), Repaint(); }
void Command::SetButtonColor(std::uint32_t v) { buttonColor_ = v, Changed("ButtonColor"), Repaint(); }
void Command::SetButtonColorDn(std::uint32_t v) { buttonColorDn_ = v, Changed("ButtonColorDn"), Repaint(); }
void Command::SetFontColorDn(std::uint32_t v) { fontColorDn_ = v, Changed("FontColorDn"), Repaint(); }
void Command::SetFontColor3D(std::uint32_t v) { fontColor3D_ = v, Changed("FontColor3D"), Repaint(); }
void Command::SetArrowType(std::int16_t v) { arrowType_ = v, Changed("ArrowType"), Repaint(); }
void Command::SetFontEffects(bool v) { fontEffects_ = v, Changed("FontEffects"), Repaint(); }
void Command::SetFont3D(std::int16_t v) { font3D_ = v, Changed("Font3D"), Repaint(); }
void Command::SetSoftButton(bool v) { softButton_ = v, Changed("SoftButton"), Repaint(); }
void Command::SetStretch(bool v) { stretch_ = v, Changed("Stretch"), Repaint(); }
void Command::SetTransparent(bool v) { transparent_ = v, Changed("Transparent"), Repaint(); }
void Command::SetMenuButton(bool v) { menuButton_ = v, Changed("MenuButton"), ComputeLayout(), Repaint(); }
void Command::SetAutoInterval(std::int16_t v) { autoInterval_ = v, Changed("AutoInterval"); }
void Command::SetMoveable(bool v) { moveable_ = v, Changed("Moveable"); }
void Command::SetMaskColor(std::uint32_t v) { maskColor_ = v, Changed("MaskColor"), Refresh(); }
void Command::SetUseMask(bool v) { useMask_ = v, Changed("UseMask"), Refresh(); }
void Command::SetPictureAlignment(std::int16_t v) { pictureAlignment_ = v, Changed("PictureAlignment"), Refresh(); }
void Command::SetBevelOuter(std::int16_t v) { bevelOuter_ = v, Changed("BevelOuter"), ComputeLayout(), Repaint(); }
void Command::SetRounded(bool v) { rounded_ = v, Changed("Rounded"), ComputeLayout(), Repaint(); }
void Command::SetColorEffects(bool v) { colorEffects_ = v, Changed("ColorEffects"), SyncGroup(), Refresh(); }
void Command::SetActiveColor(bool v) { activeColor_ = v, Changed("ActiveColor"), SyncGroup(), Refresh(); }

void Command::SetFont(std::shared_ptr<host::StdFont> font) {
    if (!font) return;
    // The button keeps its own copy: its pressed look changes Bold and Italic.
    host::Control::SetFont(font->Clone());
    Changed("Font");
    TakeFontBase();
    Repaint();
}

void Command::SetMousePointer(std::int16_t v) { host::Control::SetMousePointer(v), Changed("MousePointer"); }
void Command::SetMouseIcon(std::shared_ptr<host::StdPicture> v) { host::Control::SetMouseIcon(std::move(v)), Changed("MouseIcon"); }

void Command::SetEnabled(bool v) {
    if (v == Enabled()) return;
    if (!v) {
        pressed_ = false;
        if (!toggle_) value_ = false;
        if (hovering_) {
            StartHoverWatch();
        } else {
            StopTimer();
        }
    }
    host::Control::SetEnabled(v);
    Changed("Enabled");
    Repaint();
    if (RunTime()) RegisterKeys();
}

void Command::SetCaption(std::string v) {
    caption_ = std::move(v);
    Changed("Caption");
    Repaint();
    if (RunTime()) RegisterKeys();
}

void Command::SetBackColor(std::uint32_t v) {
    backColor_ = v;
    host::Control::SetBackColor(v);
    ComputeGradient();
    Changed("BackColor");
    Repaint();
}

float Command::GradientPct() const {
    return static_cast<float>(foundation::RoundHalfEven(static_cast<double>(gradientFraction_) * 10000.0) / 100.0);
}

void Command::SetGradientPct(float percent) {
    gradientFraction_ = ClampFraction(percent / 100.0f);
    Changed("GradientPct");
    ComputeGradient();
    Repaint();
}

void Command::SetAutoDelay(std::int16_t v) {
    autoDelay_ = v;
    Changed("AutoDelay");
    if (autoInterval_ == 0) SetAutoInterval(v);
}

void Command::SetToggle(bool v) {
    toggle_ = v;
    Changed("Toggle");
    if (!v) value_ = false;
    Repaint();
}

void Command::SetValue(bool v) {
    if (v != value_) {
        value_ = v;
        Changed("Value");
        if (toggle_) {
            SyncGroup();
            if (!v) StopTimer();
        }
    }
    // Setting a plain button's Value at run time is a programmatic click.
    if (value_ && !toggle_ && RunTime()) {
        value_ = false;
        RaiseClick();
    }
    Repaint();
    hovering_ = false;
}

void Command::SetAllowAllup(bool v) {
    allowAllup_ = v;
    Changed("AllowAllup");
    if (!allowAllup_ && toggle_) SetValue(true);
    SyncGroup();
}

void Command::SetLocked(bool v) {
    if (activeBorder_ && v) {
        host::MsgBox("A Locked control cannot have an Active Border");
        return;
    }
    locked_ = v;
    Changed("Locked");
}

void Command::SetActiveBorder(bool v) {
    if (v && locked_) {
        host::MsgBox("A Locked control cannot have an Active Border");
        return;
    }
    activeBorder_ = v;
    Changed("ActiveBorder");
    SetButton3D(true);
}

void Command::SetButton3D(bool v) {
    if (activeBorder_ && !v) {
        host::MsgBox("ActiveBorder requires a 3D Button");
        return;
    }
    button3D_ = v;
    Changed("Button3D");
    ComputeLayout();
    SyncGroup();
    Repaint();
}

void Command::SetPicture(std::shared_ptr<host::StdPicture> v) {
    picture_ = std::move(v);
    Changed("Picture");
    pictureCache_.width = 0;
    Refresh();
}

void Command::SetPictureDown(std::shared_ptr<host::StdPicture> v) {
    pictureDown_ = v;
    Changed("PictureDown");
    pictureDownCache_.width = 0;
    if (!foundation::HasPicture(picture_)) {
        picture_ = std::move(v);
        Changed("Picture");
        pictureCache_.width = 0;
    }
    Refresh();
}

void Command::SetPictureBg(std::shared_ptr<host::StdPicture> v) {
    if (foundation::HasPicture(v) && transparent_) {
        host::MsgBox("A Background Picture is not allowed if the control is Transparent!", 0, Ambient().DisplayName);
        return;
    }
    pictureBg_ = std::move(v);
    Changed("PictureBg");
    Repaint();
}

// Clears `property` on every other control of the form that has it set (controls without it
// are skipped); the flag stops the walk from re-entering this control.
void Command::ClearOthers(const char* property) {
    host::Form* form = ParentForm();
    if (!form) return;
    auto controls = form->Controls();
    for (const auto& control : controls) {
        if (control.get() == this) continue;
        host::TryInvoke([&] {
            if (host::GetProperty(*control, property).ToBool()) host::LetProperty(*control, property, Variant(false));
        });
    }
}

void Command::SetDefault(bool v) {
    if (inDefaultLet_) return;
    inDefaultLet_ = true;
    default_ = v;
    Changed("Default");
    if (v) ClearOthers("Default");
    inDefaultLet_ = false;
    if (RunTime()) RegisterKeys();
    ComputeLayout();
    Repaint();
}

void Command::SetCancel(bool v) {
    if (inCancelLet_) return;
    inCancelLet_ = true;
    cancel_ = v;
    Changed("Cancel");
    if (v) ClearOthers("Cancel");
    inCancelLet_ = false;
    if (RunTime()) RegisterKeys();
}

void Command::Refresh() {
    picturesReady_ = true;
    host::Control::Refresh();
}

}  // namespace brimlox::controls

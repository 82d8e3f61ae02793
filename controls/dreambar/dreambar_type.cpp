// DreamBar: the interface as late-bound callers and the property browser see it (members in
// interface order, help strings, dispatch ids), the property bag (read and written in their
// fixed, different orders) and the registration of the type.
#include <algorithm>
#include <cmath>

#include "controls/dreambar/dreambar.h"

#include "platform/host/standard_dispids.h"
#include "controls/published_enumerations.h"

namespace brimlox::controls {

using host::MemberFlags;
using host::PropertyBag;
using host::Variant;

namespace {


constexpr std::uint32_t kButtonFace = 0x8000000F;
constexpr std::uint32_t kButtonText = 0x80000012;
constexpr std::uint32_t kButtonShadow = 0x80000010;
// The largest size a form file gives a control, in twips.
constexpr double kMaxStoredSize = 100000;

const std::vector<host::ParamInfo> kMouseParams = {
    {"Button", false, true}, {"Shift", false, true}, {"x", false, true}, {"y", false, true}};
const std::vector<host::ParamInfo> kMessageParams = {
    {"Alignment", true, false}, {"x", true, false}, {"y", true, false}, {"MaxWidth", true, false}, {"Angle", true, false}};

Variant Colour(std::uint32_t c) { return Variant(static_cast<std::int32_t>(c)); }
template <typename T>
Variant Object(const std::shared_ptr<T>& p) {
    return p ? Variant(std::static_pointer_cast<host::Dispatch>(p)) : Variant();
}

float OptionalSingle(std::span<Variant> a, std::size_t i) {
    if (a.size() <= i || a[i].IsEmpty()) return 0;
    const float v = a[i].ToSingle();
    return std::isfinite(v) ? v : 0;
}

// Message(Alignment, x, y, MaxWidth, Angle) = text; the getter ignores its arguments.
void AddMessage(host::TypeInfo& info) {
    host::MemberInfo m;
    m.name = "Message";
    m.kind = host::MemberKind::Property;
    m.dispId = 1;
    m.help = "Returns/sets a message to be displayed on the control.";
    m.params = kMessageParams;
    m.get = [](host::Dispatch& self, std::span<Variant>) { return Variant(static_cast<DreamBar&>(self).Message()); };
    m.let = [](host::Dispatch& self, std::span<Variant> a) {
        if (a.empty()) throw host::HostError(host::kErrArgumentNotOptional);
        const auto options = a.first(a.size() - 1);
        DreamBarMessage message;
        message.text = a.back().ToString();
        message.alignment = static_cast<std::int16_t>(OptionalSingle(options, 0));
        message.x = OptionalSingle(options, 1);
        message.y = OptionalSingle(options, 2);
        message.maxWidth = OptionalSingle(options, 3);
        message.angle = OptionalSingle(options, 4);
        static_cast<DreamBar&>(self).SetMessage(message);
        return Variant();
    };
    info.Add(std::move(m));
}

void AddMenuPoppedUp(host::TypeInfo& info) {
    host::MemberInfo m;
    m.name = "MenuPoppedUp";
    m.kind = host::MemberKind::Property;
    m.dispId = 30;
    m.help = "Returns/sets if a menu has been popped up by a contained control.";
    m.hidden = true;
    m.params = {{"l", false, false}, {"r", false, false}, {"T", false, false}, {"B", false, false}};
    m.let = [](host::Dispatch& self, std::span<Variant> a) {
        if (a.size() < 5) throw host::HostError(host::kErrArgumentNotOptional);
        static_cast<DreamBar&>(self).MenuPoppedUp(a[0].ToLong(), a[1].ToLong(), a[2].ToLong(), a[3].ToLong(),
                                                  a[4].ToBool());
        return Variant();
    };
    info.Add(std::move(m));
}

std::string OptionalString(std::span<Variant> a, std::size_t i) {
    return a.size() > i && !a[i].IsEmpty() ? a[i].ToString() : std::string();
}

void AddLeadingMembers(host::TypeBuilder<DreamBar>& b) {
    using D = DreamBar;
    const MemberFlags hiddenFromBrowser{false, true};
    b.Get("RegistryLocation", &D::RegistryLocation, "Returns where saved form layouts are kept.", 2)
        .Get("FormRestored", &D::FormRestored, "Returns True if PersistForm caused the form to be restored.", 3,
             hiddenFromBrowser)
        .Method("PersistForm", [](D& d, std::span<Variant> a) {
            if (a.empty() || a[0].IsEmpty()) throw host::HostError(host::kErrArgumentNotOptional);
            auto form = a[0].As<host::Form>();
            if (!form) throw host::HostError(host::kErrTypeMismatch);
            d.PersistForm(form, a.size() > 1 && !a[1].IsEmpty() ? a[1].ToBool() : true);
            return Variant();
        }, "Restores the saved layout of the form and saves it when the form closes.",
                {{"frmParent", false, true}, {"Center", true, false}}, 4)
        .Method("ShowAboutBox", [](D& d, std::span<Variant>) { d.ShowAboutBox(); return Variant(); }, "", {},
                host::dispid::kAboutBox)
        .Method("PrintText", [](D& d, std::span<Variant> a) {
            if (a.empty()) throw host::HostError(host::kErrArgumentNotOptional);
            d.PrintText(a[0].ToString(), static_cast<std::int16_t>(OptionalSingle(a, 1)), OptionalSingle(a, 2),
                        OptionalSingle(a, 3), OptionalSingle(a, 4), OptionalSingle(a, 5));
            return Variant();
        }, "Prints text on the control, wrapped to a width or at an angle.",
                {{"Text", false, false}, {"Alignment", true, false}, {"x", true, false}, {"y", true, false},
                 {"MaxWidth", true, true}, {"Angle", true, true}}, 34)
        .With(AddMessage)
        .Method("TextWidth", [](D& d, std::span<Variant> a) {
            if (a.empty()) throw host::HostError(host::kErrArgumentNotOptional);
            return Variant(d.TextWidthOf(a[0].ToString()));
        }, "Returns the width of a string in twips.", {{"Text", false, false}}, 5)
        .Method("TextHeight", [](D& d, std::span<Variant> a) {
            if (a.empty()) throw host::HostError(host::kErrArgumentNotOptional);
            return Variant(d.TextHeightOf(a[0].ToString()));
        }, "Returns the height of a string in twips.", {{"Text", false, false}}, 6);
}

void AddProperties(host::TypeBuilder<DreamBar>& b) {
    using D = DreamBar;
    const MemberFlags hiddenFromBrowser{false, true};
    b.Property("BackColor", &D::BackColor, &D::SetBackColor,
               "Returns/sets the background color used to display text and graphics in an object.", host::dispid::kBackColor)
        .Property("ForeColor", &D::ForeColor, &D::SetForeColor,
                  "Returns/sets the foreground color used to display text and graphics in an object.", host::dispid::kForeColor)
        .Property("Enabled", &D::Enabled, &D::SetEnabled,
                  "Returns/sets a value that determines whether an object can respond to user-generated events.",
                  host::dispid::kEnabled)
        .Property("Font", &D::Font, &D::SetFont, "Returns a Font object.", host::dispid::kFont)
        .Property("BorderStyle", &D::BorderStyle, &D::SetBorderStyle, "Returns/sets the border style for an object.",
                  host::dispid::kBorderStyle)
        .Method("Refresh", [](D& d, std::span<Variant>) { d.Refresh(); return Variant(); },
                "Forces a complete repaint of a object.", {}, host::dispid::kRefresh)
        .Property("MouseIcon", &D::MouseIcon, &D::SetMouseIcon, "Sets a custom mouse icon.", 7)
        .Property("MousePointer", &D::MousePointer, &D::SetMousePointer,
                  "Returns/sets the type of mouse pointer displayed when over part of an object.", 8)
        .Property("Picture", &D::Picture, &D::SetPicture, "Returns/sets a graphic to be displayed in a control.",
                  host::dispid::kValue)
        .Method("PaintPanel", [](D& d, std::span<Variant> a) {
            if (a.empty() || a[0].IsEmpty()) throw host::HostError(host::kErrArgumentNotOptional);
            if (auto target = a[0].ToObject()) d.PaintPanel(*target);
            return Variant();
        }, "Tiles the specified object with the DreamBar's picture.", {{"ControlName", false, false}}, 35)
        .Property("Leading", &D::Leading, &D::SetLeading,
                  "Returns/sets the spacing in pixels used when aligning controls.", 9)
        .Property("Minimized", &D::Minimized, &D::SetMinimized, "Returns/sets if control is set to Mimimized.", 10)
        .Property("CurrentX", &D::CurrentX, &D::SetCurrentX,
                  "Returns/sets the horizontal coordinates for next print or draw method.", 11, hiddenFromBrowser)
        .Property("CurrentY", &D::CurrentY, &D::SetCurrentY,
                  "Returns/sets the vertical coordinates for next print or draw method.", 12, hiddenFromBrowser)
        .Get("hDC", &D::hDCValue, "Returns a handle (from Microsoft Windows) to the object's device context.", 13)
        .Get("hWnd", &D::hWndValue, "Returns a handle (from Microsoft Windows) to an object's window.", host::dispid::kHwnd)
        .Property("MinimizeStyle", &D::MinimizeStyle, &D::SetMinimizeStyle,
                  "Returns/sets the minimize direction to Top or Left.", 14)
        .Property("MinimizeAuto", &D::MinimizeAuto, &D::SetMinimizeAuto,
                  "Returns/sets if right click automatically minimizes the control.", 15)
        .Property("AutoHide", &D::AutoHide, &D::SetAutoHide, "Returns/sets if control automatically expands and hides.",
                  16)
        .Property("AutoAdjust", &D::AutoAdjust, &D::SetAutoAdjust,
                  "Returns/sets if control automatically adjusts control positions on the form when minimized.", 17)
        .Property("Transparent", &D::Transparent, &D::SetTransparent,
                  "Returns/sets if the container's background shows through.", 18)
        .Property("AutoHideDelay", &D::AutoHideDelay, &D::SetAutoHideDelay,
                  "Returns/sets the number of milliseconds to delay before the control is automatically hidden.", 19)
        .Property("AutoAdjustForm", &D::AutoAdjustForm, &D::SetAutoAdjustForm,
                  "Returns/sets if control automatically adjusts form height or width when minimized.", 20)
        .Method("GetMouseInfo", [](D& d, std::span<Variant>) {
            const CmdMouseInfo m = d.GetMouseInfo();
            return Variant(std::to_string(m.Button) + "," + std::to_string(m.Shift) + "," + std::to_string(m.x) + "," +
                           std::to_string(m.y));
        }, "Returns the arguments of the last mouse event.", {}, 21)
        .With(AddMenuPoppedUp)
        .Property("AlignControls", &D::AlignControls, &D::SetAlignControls,
                  "Returns/sets if contained controls are to be aligned to the leading.", 22)
        .Property("AutoSize", &D::AutoSize, &D::SetAutoSize,
                  "Returns/sets if container width/height are adjusted when controls are aligned.", 23)
        .Property("AutoShow", &D::AutoShow, &D::SetAutoShow,
                  "Returns/sets if control automatically expands when hidden and AutoHide=False.", 24)
        .Property("Caption", &D::Caption, &D::SetCaption, "Returns/sets the caption of the DreamBar when minimized.", 25)
        .Property("MinimizeColor", &D::MinimizeColor, &D::SetMinimizeColor,
                  "Returns/sets the background color used to display text and graphics when minimized.", 26)
        .Property("GradientColor", &D::GradientColor, &D::SetGradientColor,
                  "Returns/sets the gradient background color used with BackColor to display a gradient background.", 27)
        .Property("CaptionBar", &D::CaptionBar, &D::SetCaptionBar,
                  "Returns/sets if the control will display the caption when not minimized.", 28)
        .Property("Gradient", &D::Gradient, &D::SetGradient,
                  "Returns/sets the gradient behavior used to display a gradient background.", 29)
        .Property("FullSize", &D::FullSize, &D::SetFullSize, "Returns/sets the size of the DreamBar when it is not minimized.",
                  31, hiddenFromBrowser)
        .Property("AnimationTime", &D::AnimationTime, &D::SetAnimationTime,
                  "Returns/sets the number of milliseconds minimizing and expanding take; 0 changes the size at once.", 36)
        .Method("RemovePersistence", [](D& d, std::span<Variant> a) {
            d.RemovePersistence(OptionalString(a, 0));
            return Variant();
        }, "Deletes saved form layouts.", {{"FormName", true, false}}, 32)
        .Method("RemovePersistenceIDE", [](D& d, std::span<Variant> a) {
            d.RemovePersistenceIDE(OptionalString(a, 0));
            return Variant();
        }, "Deletes saved form layouts while running in the design environment.", {{"FormName", true, false}}, 33);
}

void AddEvents(host::TypeBuilder<DreamBar>& b) {
    b.Event("Changed", 1, "Occurs after the control was minimized or expanded.",
            {{"Minimized", false, true}, {"SizeChange", false, true}})
        .Event("Initialized", 2, "Occurs at the end of the first paint.")
        .Event("Refreshed", 3, "Occurs at the end of every complete paint.")
        .Event("Click", 4, "Occurs when the user presses and then releases a mouse button over an object.")
        .Event("DblClick", 5,
               "Occurs when the user presses and releases a mouse button and then presses and releases it again over "
               "an object.")
        .Event("MouseDown", host::dispid::kMouseDown, "Occurs when the user presses the mouse button while an object has the focus.",
               kMouseParams)
        .Event("MouseMove", host::dispid::kMouseMove, "Occurs when the user moves the mouse.", kMouseParams)
        .Event("MouseUp", host::dispid::kMouseUp, "Occurs when the user releases the mouse button while an object has the focus.",
               kMouseParams);
    (void)host::dispid::kClick, (void)host::dispid::kDblClick;
}

void PublishValues(host::TypeBuilder<DreamBar>& b) {
    b.Enumeration("BorderStyle", BevelConstMembers())
        .Enumeration("Gradient", {{NoGradient, "NoGradient"}, {VerticalGradient, "VerticalGradient"},
                                  {HorizontalGradient, "HorizontalGradient"}})
        .Enumeration("MinimizeStyle", {{MinToTop, "MinToTop"}, {MinToLeft, "MinToLeft"}})
        .Range("Leading", 0, 255)
        .Range("AutoHideDelay", 0, 32767)
        .Range("AnimationTime", 0, DreamBar::kMaxAnimationMs)
        .Range("FullSize", 0, kMaxStoredSize);
}

}  // namespace

const host::TypeInfo* DreamBar::GetTypeInfo() const {
    static const auto info = [] {
        host::TypeBuilder<DreamBar> b("DreamBar");
        AddLeadingMembers(b);
        AddProperties(b);
        AddEvents(b);
        PublishValues(b);
        return b.Build();
    }();
    return info.get();
}

// ---- The property bag ---------------------------------------------------------------------------
//
// Values travel raw (no setter runs). Stored values that would break the bar are made sound:
// enumerations outside their values take the default, Leading is kept to a byte, the delay to
// 0..32767 ms, sizes that are not finite are dropped.

namespace {

float FiniteSingle(const Variant& v) {
    const float f = v.ToSingle();
    return std::isfinite(f) ? f : 0.0f;
}

}  // namespace

void DreamBar::ReadProperties(PropertyBag& bag) {
    auto read = [&](const char* name, Variant fallback) { return bag.ReadProperty(name, std::move(fallback)); };
    if (auto font = read("Font", Object(Ambient().Font)).As<host::StdFont>()) host::Control::SetFont(font);
    host::Control::SetMouseIcon(read("MouseIcon", Variant()).As<host::StdPicture>());
    picture_ = read("Picture", Variant()).As<host::StdPicture>();
    host::Control::SetEnabled(read("Enabled", true).ToBool());
    host::Control::SetMousePointer(static_cast<std::int16_t>(std::clamp(read("MousePointer", std::int16_t{0}).ToLong(), 0, 99)));
    minimizeColor_ = static_cast<std::uint32_t>(read("MinimizeColor", Colour(kButtonFace)).ToLong());
    host::Control::SetBackColor(static_cast<std::uint32_t>(read("BackColor", Colour(kButtonFace)).ToLong()));
    host::Control::SetForeColor(static_cast<std::uint32_t>(read("ForeColor", Colour(kButtonText)).ToLong()));
    transparent_ = read("Transparent", false).ToBool();
    borderStyle_ = static_cast<std::int16_t>(std::clamp(read("BorderStyle", std::int16_t{1}).ToLong(), 0, 32767));
    alignControls_ = read("AlignControls", true).ToBool();
    autoSize_ = read("AutoSize", false).ToBool();
    leading_ = static_cast<std::uint8_t>(std::clamp(read("Leading", std::int32_t{4}).ToLong(), 0, 255));
    minimizeStyle_ = read("MinimizeStyle", std::int16_t{0}).ToLong() == MinToLeft ? MinToLeft : MinToTop;
    minimizeAuto_ = read("MinimizeAuto", false).ToBool();
    autoHideLive_ = read("AutoHide", false).ToBool();
    autoShow_ = read("AutoShow", false).ToBool();
    autoAdjust_ = read("AutoAdjust", false).ToBool();
    autoAdjustForm_ = read("AutoAdjustForm", false).ToBool();
    caption_ = read("Caption", std::string()).ToString();
    captionBar_ = read("CaptionBar", true).ToBool();
    loadedMinimized_ = read("Minimized", false).ToBool();
    minimized_ = false;
    fullWidth_ = std::max(0.0f, FiniteSingle(read("StdWidth", 0.0f)));
    fullHeight_ = std::max(0.0f, FiniteSingle(read("StdHeight", 0.0f)));
    autoHideDelay_ = std::clamp(read("AutoHideDelay", std::int32_t{250}).ToLong(), 0, 32767);
    const std::int32_t gradient = read("Gradient", std::int16_t{0}).ToLong();
    gradient_ = static_cast<std::int16_t>(gradient >= NoGradient && gradient <= HorizontalGradient ? gradient : 0);
    gradientColor_ = static_cast<std::uint32_t>(read("GradientColor", Colour(kButtonShadow)).ToLong());
    fullSize_ = std::max(0.0f, FiniteSingle(read("FullSize", 0.0f)));
    animationTime_ = std::clamp(read("AnimationTime", std::int32_t{0}).ToLong(), 0, kMaxAnimationMs);
    captionHeight_ = caption_.empty() ? 5 : MeasureCaptionHeight(caption_);
    SetTimerInterval(100);
    autoHideConfigured_ = autoHideLive_;
    if (autoHideLive_ && UserMode()) SetTimerEnabled(true);
}

// A minimised bar saves the size it expands to, not its strip: the sizes are the remembered
// full ones whenever the bar is minimised (even if it was resized since, in the designer).
void DreamBar::WriteProperties(PropertyBag& bag) {
    auto write = [&](const char* name, Variant value, Variant fallback) {
        bag.WriteProperty(name, std::move(value), std::move(fallback));
    };
    // A bar caught half way through minimising or expanding is saved in its final state.
    FinishAnimation();
    const std::int32_t thin = MinimizedThickness();
    const bool atStrip = Width() == thin || Height() == thin;
    if (minimized_ || loadedMinimized_ || atStrip) {
        const bool vertical = WorksVertically();
        float width = fullWidth_ > 0 ? fullWidth_ : static_cast<float>(Width());
        float height = fullHeight_ > 0 ? fullHeight_ : static_cast<float>(Height());
        if (minimized_ && vertical && fullSize_ > 0) height = fullSize_;
        if (minimized_ && !vertical && fullSize_ > 0) width = fullSize_;
        write("Minimized", true, false);
        write("StdWidth", width, 0.0f);
        write("StdHeight", height, 0.0f);
    } else {
        write("Minimized", minimized_, false);
        write("StdWidth", static_cast<float>(Width()), 0.0f);
        write("StdHeight", static_cast<float>(Height()), 0.0f);
    }
    write("Enabled", Enabled(), true);
    write("MousePointer", MousePointer(), std::int16_t{0});
    write("MinimizeColor", Colour(minimizeColor_), Colour(kButtonFace));
    write("BackColor", Colour(BackColor()), Colour(kButtonFace));
    write("ForeColor", Colour(ForeColor()), Colour(kButtonText));
    auto ambient = Ambient().Font;
    auto font = Font();
    write("Font", Object(ambient && font && font->SameAs(*ambient) ? ambient : font), Object(ambient));
    write("BorderStyle", borderStyle_, std::int16_t{1});
    write("MouseIcon", Object(MouseIcon()), Variant());
    write("Picture", Object(picture_), Variant());
    write("Leading", static_cast<std::int32_t>(leading_), std::int32_t{4});
    write("MinimizeStyle", minimizeStyle_, std::int16_t{0});
    write("MinimizeAuto", minimizeAuto_, false);
    write("AutoHide", autoHideLive_, false);
    write("AutoShow", autoShow_, false);
    write("AutoAdjust", autoAdjust_, false);
    write("Transparent", transparent_, false);
    write("AutoHideDelay", autoHideDelay_, std::int32_t{250});
    write("AutoAdjustForm", autoAdjustForm_, false);
    write("AlignControls", alignControls_, true);
    write("AutoSize", autoSize_, false);
    write("Caption", caption_, std::string());
    write("CaptionBar", captionBar_, true);
    write("Gradient", gradient_, std::int16_t{0});
    write("GradientColor", Colour(gradientColor_), Colour(kButtonShadow));
    write("FullSize", fullSize_, 0.0f);
    write("AnimationTime", animationTime_, std::int32_t{0});
}

}  // namespace brimlox::controls

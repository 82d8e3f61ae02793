// SplitWindow: the interface as late-bound callers and the property browser see it (members in
// interface order, help strings, dispatch ids), the design-time properties in the property bag
// (read and written in their fixed, different orders), and the registration of the type.
#include <algorithm>
#include <cmath>

#include "controls/published_enumerations.h"

#include "platform/host/standard_dispids.h"
#include "controls/splitwindow/splitwindow.h"

namespace brimlox::controls {

using host::MemberFlags;
using host::PropertyBag;
using host::Variant;

namespace {


constexpr std::uint32_t kButtonFace = 0x8000000F;
constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
// A gap wider than this many pixels leaves no room for any pane on any screen.
constexpr std::int32_t kMaxStoredGap = 1000;

const std::vector<host::ParamInfo> kMouseParams = {
    {"Button", false, true}, {"Shift", false, true}, {"x", false, true}, {"y", false, true}};

Variant Colour(std::uint32_t c) { return Variant(static_cast<std::int32_t>(c)); }

// An indexed property: PaneSize(Pane).
void AddPaneSize(host::TypeInfo& info) {
    host::MemberInfo m;
    m.name = "PaneSize";
    m.kind = host::MemberKind::Property;
    m.dispId = 4;
    m.help = "Returns/sets the size of a pane in twips.";
    m.params = {{"Pane", false, false}};
    m.get = [](host::Dispatch& self, std::span<Variant> args) {
        if (args.empty()) throw host::HostError(host::kErrArgumentNotOptional);
        return Variant(static_cast<SplitWindow&>(self).PaneSize(args[0].ToByte()));
    };
    m.let = [](host::Dispatch& self, std::span<Variant> args) {
        if (args.size() < 2) throw host::HostError(host::kErrArgumentNotOptional);
        static_cast<SplitWindow&>(self).SetPaneSize(args[0].ToByte(), args.back().ToLong());
        return Variant();
    };
    info.Add(std::move(m));
}

// MenuPoppedUp(l, r, T, B) = shown: assigned by a Command on the control around its menu.
void AddMenuPoppedUp(host::TypeInfo& info) {
    host::MemberInfo m;
    m.name = "MenuPoppedUp";
    m.kind = host::MemberKind::Property;
    m.dispId = 45;
    m.help = "Internal use only!";
    m.hidden = true;
    m.params = {{"l", false, false}, {"r", false, false}, {"T", false, false}, {"B", false, false}};
    m.let = [](host::Dispatch& self, std::span<Variant> a) {
        if (a.size() < 5) throw host::HostError(host::kErrArgumentNotOptional);
        static_cast<SplitWindow&>(self).MenuPoppedUp(a[0].ToLong(), a[1].ToLong(), a[2].ToLong(), a[3].ToLong(),
                                                     a[4].ToBool());
        return Variant();
    };
    info.Add(std::move(m));
}

// Docked = edge: write-only.
void AddDocked(host::TypeInfo& info) {
    host::MemberInfo m;
    m.name = "Docked";
    m.kind = host::MemberKind::Property;
    m.dispId = 47;
    m.hidden = true;
    m.let = [](host::Dispatch& self, std::span<Variant> a) {
        static_cast<SplitWindow&>(self).Docked(a.back().ToInteger());
        return Variant();
    };
    info.Add(std::move(m));
}

void AddProperties(host::TypeBuilder<SplitWindow>& b) {
    using S = SplitWindow;
    b.Property("Active", &S::Active, &S::SetActive, "Returns/sets if the splitter resizes the controls placed on it.",
               host::dispid::kValue)
        .Property("GapInPixels", &S::GapInPixels, &S::SetGapInPixels,
                  "Returns/sets the width in pixels of the gaps between the panes.", 1)
        .Property("MinimumPane", &S::MinimumPane, &S::SetMinimumPane,
                  "Returns/sets the smallest size of a pane in twips.", 2)
        .With(AddPaneSize)
        .Property("Picture", &S::Picture, &S::SetPicture, "Returns/sets the picture tiled over the background.", 5)
        .Property("BackColor", &S::BackColor, &S::SetBackColor,
                  "Returns/sets the background color used to display text and graphics in an object.", host::dispid::kBackColor)
        .Property("GradientPct", &S::GradientPct, &S::SetGradientPct,
                  "Returns/sets the percentage of luminance change of the background gradient.", 6)
        .Property("Border", &S::Border, &S::SetBorder, "Returns/sets if a border and a border gap are drawn.", 7)
        .Property("BorderStyle", &S::BorderStyle, &S::SetBorderStyle, "Returns/sets the style of the border.", 8)
        .Property("Transparent", &S::Transparent, &S::SetTransparent,
                  "Returns/sets if the container's background shows through.", 9)
        .Property("Vertical", &S::Vertical, &S::SetVertical,
                  "Returns/sets if the panes lie side by side (the gaps are vertical).", 10)
        .Property("Style", &S::Style, &S::SetStyle, "Returns/sets if the control is a splitter or a tool window.", 11)
        .Property("Moveable", &S::Moveable, &S::SetMoveable, "Returns/sets if the user may move the control.", 12)
        .Property("Dockable", &S::Dockable, &S::SetDockable, "Returns/sets if the control docks to the edges.", 13)
        .Property("Sizeable", &S::Sizeable, &S::SetSizeable, "Returns/sets if the user may resize the control.", 14)
        .Property("FloatHeight", &S::FloatHeight, &S::SetFloatHeight, "Returns/sets the height while floating.", 15)
        .Property("FloatWidth", &S::FloatWidth, &S::SetFloatWidth, "Returns/sets the width while floating.", 16)
        .Property("AutoAdjust", &S::AutoAdjust, &S::SetAutoAdjust,
                  "Returns/sets if other docked controls make room for this one.", 17)
        .Property("AutoAdjustForm", &S::AutoAdjustForm, &S::SetAutoAdjustForm,
                  "Returns/sets if the form grows or shrinks with this control.", 18)
        .Property("DockTop", &S::DockTop, &S::SetDockTop, "Returns/sets if the control may dock to the top.", 19)
        .Property("DockBottom", &S::DockBottom, &S::SetDockBottom, "Returns/sets if the control may dock to the bottom.",
                  20)
        .Property("DockLeft", &S::DockLeft, &S::SetDockLeft, "Returns/sets if the control may dock to the left.", 21)
        .Property("DockRight", &S::DockRight, &S::SetDockRight, "Returns/sets if the control may dock to the right.",
                  22)
        .Property("Dock", &S::Dock, &S::SetDock, "Returns/sets the edge the control is docked to.", 23)
        .Property("MinWidth", &S::MinWidth, &S::SetMinWidth, "Returns/sets the smallest width in twips.", 24)
        .Property("MinHeight", &S::MinHeight, &S::SetMinHeight, "Returns/sets the smallest height in twips.", 25)
        .Property("MaxWidth", &S::MaxWidth, &S::SetMaxWidth, "Returns/sets the largest width in twips.", 26)
        .Property("MaxHeight", &S::MaxHeight, &S::SetMaxHeight, "Returns/sets the largest height in twips.", 27)
        .Property("DockableContained", &S::DockableContained, &S::SetDockableContained,
                  "Returns/sets if the control docks inside a container other than the form.", 28)
        .Property("Moving", &S::Moving, &S::SetMoving, "Returns if the user is moving the control.", 29)
        .Property("FixedX", &S::FixedX, &S::SetFixedX, "Returns/sets the position when docked left or right.", 30)
        .Property("FixedY", &S::FixedY, &S::SetFixedY, "Returns/sets the position when docked top or bottom.", 31)
        .Property("UserOrientation", &S::UserOrientation, &S::SetUserOrientation,
                  "Returns/sets if a right click turns the tool window.", 32)
        .Property("Enabled", &S::Enabled, &S::SetEnabled,
                  "Returns/sets a value that determines whether an object can respond to user-generated events.",
                  host::dispid::kEnabled);
}

void AddReadOnly(host::TypeBuilder<SplitWindow>& b) {
    using S = SplitWindow;
    b.Get("hWnd", &S::hWndValue, "Returns a handle (from Microsoft Windows) to an object's window.", host::dispid::kHwnd)
        .Get("hDC", &S::hDCValue, "Returns a handle (from Microsoft Windows) to the object's device context.", 33)
        .Get("TimedEvent", &S::TimedEvent, "Returns if a resize has not been acknowledged yet.", 34)
        .Get("FormRestored", &S::FormRestored, "Returns if PersistForm restored a saved layout.", 35)
        .Get("RegistryLocation", &S::RegistryLocation, "Returns where saved layouts are kept.", 36);
}

bool OptionalBool(std::span<Variant> a, std::size_t i, bool fallback) {
    return a.size() > i && !a[i].IsEmpty() ? a[i].ToBool() : fallback;
}
std::string OptionalString(std::span<Variant> a, std::size_t i) {
    return a.size() > i && !a[i].IsEmpty() ? a[i].ToString() : std::string();
}

void AddMethods(host::TypeBuilder<SplitWindow>& b) {
    using S = SplitWindow;
    b.Method("ResetChildren", [](S& s, std::span<Variant> a) {
         s.ResetChildren(OptionalBool(a, 0, true));
         return Variant();
     }, "Spreads the panes evenly.", {{"MoveChildren", true, false}}, 40)
        .Method("Refresh", [](S& s, std::span<Variant>) { s.Refresh(); return Variant(); },
                "Forces a complete repaint of a object.", {}, host::dispid::kRefresh)
        .Method("GetMouseInfo", [](S& s, std::span<Variant>) {
            CmdMouseInfo m = s.GetMouseInfo();
            return Variant(std::to_string(m.Button) + "," + std::to_string(m.Shift) + "," + std::to_string(m.x) + "," +
                           std::to_string(m.y));
        }, "Returns the arguments of the last mouse event.", {}, 41)
        .Method("ShowAboutBox", [](S& s, std::span<Variant>) { s.ShowAboutBox(); return Variant(); }, "", {},
                host::dispid::kAboutBox)
        .With(AddMenuPoppedUp)
        .Method("ResizeComplete", [](S& s, std::span<Variant>) { s.ResizeComplete(); return Variant(); }, "", {}, 46,
                MemberFlags{true, false})
        .With(AddDocked)
        .Method("PersistForm", [](S& s, std::span<Variant> a) {
            if (a.empty() || a[0].IsEmpty()) throw host::HostError(host::kErrArgumentNotOptional);
            auto form = a[0].As<host::Form>();
            if (!form) throw host::HostError(host::kErrTypeMismatch);
            s.PersistForm(form, OptionalBool(a, 1, true));
            return Variant();
        }, "Restores the saved layout of the form and saves it when the form closes.",
                {{"frmParent", false, false}, {"Center", true, false}}, 48)
        .Method("RemovePersistence", [](S& s, std::span<Variant> a) {
            s.RemovePersistence(OptionalString(a, 0));
            return Variant();
        }, "Deletes saved layouts.", {{"FormName", true, false}}, 49)
        .Method("RemovePersistenceIDE", [](S& s, std::span<Variant> a) {
            s.RemovePersistenceIDE(OptionalString(a, 0));
            return Variant();
        }, "Deletes saved layouts while running in the design environment.", {{"FormName", true, false}}, 50);
}

void AddEvents(host::TypeBuilder<SplitWindow>& b) {
    b.Event("MouseEnter", 1, "Occurs when the mouse comes over the control.")
        .Event("MouseExit", 2, "Occurs when the mouse leaves the control.")
        .Event("MouseOver", 3, "Occurs while the mouse moves over the control.", {{"x", false, true}, {"y", false, true}})
        .Event("MouseDown", host::dispid::kMouseDown, "Occurs when the user presses the mouse button while an object has the focus.",
               kMouseParams)
        .Event("MouseMove", host::dispid::kMouseMove, "Occurs when the user moves the mouse.", kMouseParams)
        .Event("MouseUp", host::dispid::kMouseUp, "Occurs when the user releases the mouse button while an object has the focus.",
               kMouseParams)
        .Event("Click", host::dispid::kClick, "Occurs when the user presses and then releases a mouse button over an object.")
        .Event("DblClick", host::dispid::kDblClick,
               "Occurs when the user presses and releases a mouse button and then presses and releases it again over "
               "an object.")
        .Event("Moved", 4, "Occurs after the user moved or docked the control.")
        .Event("Changed", 5, "Occurs after the user changed the panes or the orientation.")
        .Event("Resized", 6, "Occurs when the control is resized.");
}

void PublishValues(host::TypeBuilder<SplitWindow>& b) {
    auto bevels = BevelConstMembers();
    b.Enumeration("BorderStyle", bevels)
        .Enumeration("Style", {{SplitterWindow, "SplitterWindow"}, {ToolBarWindow, "ToolBarWindow"}})
        .Enumeration("Dock", {{0, "vbAlignNone"}, {1, "vbAlignTop"}, {2, "vbAlignBottom"}, {3, "vbAlignLeft"},
                              {4, "vbAlignRight"}})
        .Range("GradientPct", -99, 99);
}

}  // namespace

const host::TypeInfo* SplitWindow::GetTypeInfo() const {
    static const auto info = [] {
        host::TypeBuilder<SplitWindow> b("SplitWindow");
        AddProperties(b);
        AddReadOnly(b);
        AddMethods(b);
        AddEvents(b);
        PublishValues(b);
        return b.Build();
    }();
    return info.get();
}

// ---- The property bag ---------------------------------------------------------------------------
//
// Values travel raw: no setter runs, MinimumPane and GradientPct keep their held forms. Stored
// values that would break the control are made sound on the way in: a gap of 0 or less takes
// the minimum, an edge outside 0 to 4 means none, a stored Moving is ignored (nobody is moving
// a control that is being loaded), and limits that cross are straightened.

void SplitWindow::ReadProperties(PropertyBag& bag) {
    auto read = [&](const char* name, Variant fallback) { return bag.ReadProperty(name, std::move(fallback)); };
    picture_ = read("Picture", Variant()).As<host::StdPicture>();
    gapInPixels_ = std::clamp(read("GapInPixels", std::int32_t{3}).ToLong(), 2, kMaxStoredGap);
    minimumPaneHeld_ = read("MinimumPane", std::int32_t{5}).ToLong();
    host::Control::SetBackColor(static_cast<std::uint32_t>(read("BackColor", Colour(kButtonFace)).ToLong()));
    const float fraction = read("GradientPct", 0.0f).ToSingle();
    gradientFraction_ = std::isnan(fraction) ? 0.0f : std::clamp(fraction, -0.99f, 0.99f);
    border_ = read("Border", true).ToBool();
    borderStyle_ = read("BorderStyle", std::int16_t{2}).ToInteger();
    active_ = read("Active", false).ToBool();
    transparent_ = read("Transparent", false).ToBool();
    vertical_ = read("Vertical", true).ToBool();
    axisExtent_ = vertical_ ? Width() : Height();
    moveable_ = read("Moveable", false).ToBool();
    dockable_ = read("Dockable", false).ToBool();
    floatHeight_ = read("FloatHeight", 0.0f).ToSingle();
    floatWidth_ = read("FloatWidth", 0.0f).ToSingle();
    sizeable_ = read("Sizeable", false).ToBool();
    const std::int16_t style = read("Style", std::int16_t{0}).ToInteger();
    style_ = style == ToolBarWindow ? ToolBarWindow : SplitterWindow;
    autoAdjust_ = read("AutoAdjust", false).ToBool();
    autoAdjustForm_ = read("AutoAdjustForm", false).ToBool();
    dockTop_ = read("DockTop", true).ToBool();
    dockBottom_ = read("DockBottom", true).ToBool();
    dockLeft_ = read("DockLeft", true).ToBool();
    dockRight_ = read("DockRight", true).ToBool();
    const std::int32_t dock = read("Dock", std::int32_t{0}).ToLong();
    configuredDock_ = currentDock_ = static_cast<std::int16_t>(dock >= 0 && dock <= 4 ? dock : 0);
    minWidth_ = std::max(300, read("MinWidth", std::int32_t{300}).ToLong());
    minHeight_ = std::max(300, read("MinHeight", std::int32_t{300}).ToLong());
    maxWidth_ = read("MaxWidth", kLargest).ToLong();
    maxHeight_ = read("MaxHeight", kLargest).ToLong();
    if (maxWidth_ <= 300) maxWidth_ = kLargest;
    if (maxHeight_ <= 300) maxHeight_ = kLargest;
    maxWidth_ = std::max(maxWidth_, minWidth_);
    maxHeight_ = std::max(maxHeight_, minHeight_);
    dockableContained_ = read("DockableContained", false).ToBool();
    (void)read("Moving", false);
    moving_ = false;
    fixedX_ = read("FixedX", 0.0f).ToSingle();
    fixedY_ = read("FixedY", 0.0f).ToSingle();
    userOrientation_ = read("UserOrientation", true).ToBool();
    host::Control::SetEnabled(read("Enabled", true).ToBool());
    ComputeColours();
}

void SplitWindow::WriteProperties(PropertyBag& bag) {
    auto write = [&](const char* name, Variant value, Variant fallback) {
        bag.WriteProperty(name, std::move(value), std::move(fallback));
    };
    write("GapInPixels", gapInPixels_, std::int32_t{3});
    write("Active", active_, false);
    write("MinimumPane", minimumPaneHeld_, std::int32_t{5});
    write("Picture", picture_ ? Variant(std::static_pointer_cast<host::Dispatch>(picture_)) : Variant(), Variant());
    write("BackColor", Colour(BackColor()), Colour(kButtonFace));
    write("Border", border_, true);
    write("Transparent", transparent_, false);
    write("Vertical", vertical_, true);
    write("BorderStyle", borderStyle_, std::int16_t{2});
    write("Moveable", moveable_, false);
    write("Dockable", dockable_, false);
    write("FloatHeight", floatHeight_, 0.0f);
    write("FloatWidth", floatWidth_, 0.0f);
    write("Sizeable", sizeable_, false);
    write("Style", style_, std::int16_t{0});
    write("AutoAdjust", autoAdjust_, false);
    write("AutoAdjustForm", autoAdjustForm_, false);
    write("DockTop", dockTop_, true);
    write("DockBottom", dockBottom_, true);
    write("DockLeft", dockLeft_, true);
    write("DockRight", dockRight_, true);
    write("Dock", std::int32_t{configuredDock_}, std::int32_t{0});
    write("MinWidth", minWidth_, std::int32_t{300});
    write("MinHeight", minHeight_, std::int32_t{300});
    write("MaxWidth", maxWidth_, kLargest);
    write("MaxHeight", maxHeight_, kLargest);
    write("DockableContained", dockableContained_, false);
    write("Moving", moving_, false);
    write("FixedX", fixedX_, 0.0f);
    write("FixedY", fixedY_, 0.0f);
    write("UserOrientation", userOrientation_, true);
    write("Enabled", Enabled(), true);
    write("GradientPct", gradientFraction_, 0.0f);
}

}  // namespace brimlox::controls

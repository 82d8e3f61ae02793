// The ScrollBar's interface as late-bound callers and the property browser see it (members in
// interface order, with their help strings and dispatch ids), and its registration with the
// host, so forms can add it and form files can hold it.
#include "controls/scrollbar/scrollbar.h"
#include "controls/published_enumerations.h"

namespace brimlox::controls {

namespace {

using host::ParamInfo;
using host::TypeBuilder;
using host::Variant;

// Standard dispatch ids of the surface properties.
constexpr int kDispValue = 0;
constexpr int kDispBorderStyle = -504;
constexpr int kDispEnabled = -514;
constexpr int kDispHwnd = -515;
constexpr int kDispMousePointer = -521;
constexpr int kDispMouseIcon = -522;

void AddRangeMembers(TypeBuilder<ScrollBar>& b) {
    b.Property("Min", &ScrollBar::Min, &ScrollBar::SetMin,
               "Returns/sets a scroll bar position's minimum Value property setting.", 1)
        .Property("Max", &ScrollBar::Max, &ScrollBar::SetMax,
                  "Returns/sets a scroll bar position's maximum Value property setting.", 2)
        .Property("LargeChange", &ScrollBar::LargeChange, &ScrollBar::SetLargeChange,
                  "Returns/sets amount of change to Value property in a scroll bar when user clicks the scroll bar "
                  "area.",
                  3)
        .Property("SmallChange", &ScrollBar::SmallChange, &ScrollBar::SetSmallChange,
                  "Returns/sets amount of change to Value property in a scroll bar when user clicks a scroll arrow.", 4)
        .Property("Value", &ScrollBar::Value, &ScrollBar::SetValue, "Returns/sets the value of an object.",
                  kDispValue)
        .RangeOf("Value", "Min", "Max");
}

void AddLookMembers(TypeBuilder<ScrollBar>& b) {
    b.Property("BorderStyle", &ScrollBar::BorderStyle, &ScrollBar::SetBorderStyle,
               "Returns/sets the border style for an object.", kDispBorderStyle)
        .Property("Font3D", &ScrollBar::Font3D, &ScrollBar::SetFont3D,
                  "Sets/Returns if the font is to be displayed flat or 3D.", 5)
        .Enumeration("BorderStyle", BevelConstMembers())
        .Enumeration("Font3D", Font3dConstMembers())
        .Property("ActiveScroll", &ScrollBar::ActiveScroll, &ScrollBar::SetActiveScroll,
                  "Actively triggers change event as user moves slider when set to true otherwise change event "
                  "occurs when user releases the slider.",
                  6)
        .Property("AutoDelay", &ScrollBar::AutoDelay, &ScrollBar::SetAutoDelay,
                  "Sets/Returns the delay time before the first auto-click is fired.", 7)
        .Property("AutoInterval", &ScrollBar::AutoInterval, &ScrollBar::SetAutoInterval,
                  "Sets/Returns the delay time between auto-click events.", 8)
        .Property("SoftButtons", &ScrollBar::SoftButtons, &ScrollBar::SetSoftButtons,
                  "Returns/sets if scroll buttons will appear soft.", 9)
        .Property("DeadZone", &ScrollBar::DeadZone, &ScrollBar::SetDeadZone,
                  "Sets/Returns the width of the dead zone for center button scroll (1-9).", 10)
        .Property("Vertical", &ScrollBar::Vertical, &ScrollBar::SetVertical,
                  "Returns/sets the orientation of the scroll bar.", 11)
        .Property("Extended", &ScrollBar::Extended, &ScrollBar::SetExtended,
                  "Returns/sets if a filler space is extended at the end of the scroll bar.", 12);
}

void AddSurfaceMembers(TypeBuilder<ScrollBar>& b) {
    b.Property("MouseIcon", &ScrollBar::MouseIcon, &ScrollBar::SetMouseIcon, "Sets a custom mouse icon.",
               kDispMouseIcon)
        .Property("MousePointer", &ScrollBar::MousePointer, &ScrollBar::SetMousePointer,
                  "Returns/sets the type of mouse pointer displayed when over part of an object.", kDispMousePointer)
        .Property("Enabled", &ScrollBar::Enabled, &ScrollBar::SetEnabled,
                  "Returns/sets a value that determines whether an object can respond to user-generated events.",
                  kDispEnabled)
        .Property("AutoRedraw", &ScrollBar::AutoRedraw, &ScrollBar::SetAutoRedraw,
                  "Returns/sets the output from a graphics method to a persistent bitmap.", 13)
        .Get("hDC", &ScrollBar::hDCValue, "Returns a handle (from Microsoft Windows) to the object's device context.",
             14)
        .Get("hWnd", &ScrollBar::hWndValue, "Returns a handle (from Microsoft Windows) to an object's window.",
             kDispHwnd);
}

void AddMethodsAndEvents(TypeBuilder<ScrollBar>& b) {
    b.Method(
         "Refresh",
         [](ScrollBar& s, std::span<Variant> args) {
             s.Refresh(!args.empty() && !args[0].IsEmpty() && args[0].ToBool());
             return Variant();
         },
         "Forces a complete repaint of a object.", {ParamInfo{"ForceRedraw", true, false}}, 15)
        .Method(
            "ShowAboutBox",
            [](ScrollBar& s, std::span<Variant>) {
                s.ShowAboutBox();
                return Variant();
            },
            "", {}, -552)
        .Event("Change", 1, "Occurs when the value of the control changes.", {ParamInfo{"Distance", false, true}})
        .Event("Scroll", 2, "Occurs when you reposition the scroll box on a control.");
}

}  // namespace

const host::TypeInfo* ScrollBar::GetTypeInfo() const {
    static const auto info = [] {
        TypeBuilder<ScrollBar> b("ScrollBar");
        AddRangeMembers(b);
        AddLookMembers(b);
        AddSurfaceMembers(b);
        AddMethodsAndEvents(b);
        return b.Build();
    }();
    return info.get();
}

}  // namespace brimlox::controls

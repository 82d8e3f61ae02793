// Command: the interface description (members in interface order, help strings, dispatch ids)
// and the registration of the control type with the host.
#include "controls/command/command.h"
#include "controls/menu_members.h"
#include "controls/published_enumerations.h"

namespace brimlox::controls {

using host::MemberFlags;
using host::ParamInfo;
using host::Variant;

namespace {

// The values of the enumerated properties, whose bag values are the property values.
void PublishValues(host::TypeBuilder<Command>& b) {
    b.Enumeration("BevelOuter", BevelConstMembers())
        .Enumeration("ArrowType", {{0, "NoArrow"}, {1, "ArrowDown"}, {2, "ArrowUp"}, {3, "ArrowLeft"},
                                   {4, "ArrowRight"}, {5, "BarDown"}, {6, "BarUp"}, {7, "BarLeft"}, {8, "BarRight"},
                                   {9, "DownBar"}, {10, "UpBar"}, {11, "LeftBar"}, {12, "RightBar"},
                                   {13, "DoubleDown"}, {14, "DoubleUp"}, {15, "DoubleLeft"}, {16, "DoubleRight"}})
        .Enumeration("Font3D", Font3dConstMembers())
        .Enumeration("PictureAlignment", {{0, "CenterMiddle"}, {1, "CenterTop"}, {2, "CenterBottom"},
                                          {3, "LeftMiddle"}, {4, "RightMiddle"}, {5, "StretchFull"}})
        .Range("Group", 0, 255);
}

}  // namespace

const host::TypeInfo* Command::GetTypeInfo() const {
    static const auto info = [] {
        host::TypeBuilder<Command> b("Command");
        b.Property("ForeColor", &Command::ForeColor, &Command::SetForeColor,
                   "Returns/sets the font color used to display text on the button.", -513)
            .Property("Caption", &Command::Caption, &Command::SetCaption,
                      "Sets/Returns the caption that is displayed on the button.", -518)
            .Property("ButtonColor", &Command::ButtonColor, &Command::SetButtonColor, "Sets/Returns the face color of the button.")
            .Property("BevelOuter", &Command::BevelOuter, &Command::SetBevelOuter,
                      "Sets/Returns if a beveled area is displayed around the button.")
            .Property("AutoDelay", &Command::AutoDelay, &Command::SetAutoDelay,
                      "Sets/Returns the delay time before the first auto-click is fired.")
            .Property("AutoInterval", &Command::AutoInterval, &Command::SetAutoInterval,
                      "Sets/Returns the delay time between auto-click events.")
            .Property("Group", &Command::Group, &Command::SetGroup,
                      "Set/Return the group that this button belongs to, Group 0 is not grouped.")
            .Property("ArrowType", &Command::ArrowType, &Command::SetArrowType,
                      "Sets/Returns the arrow that will be drawn on the button in place of a caption.")
            .Property("ButtonColorDn", &Command::ButtonColorDn, &Command::SetButtonColorDn,
                      "Sets/Returns the Button face color when the button is pressed.")
            .Property("FontColorDn", &Command::FontColorDn, &Command::SetFontColorDn,
                      "Sets/Returns the Font color when the button is down.")
            .Property("Toggle", &Command::Toggle, &Command::SetToggle, "Sets/Returns if the button stays down when pressed.")
            .Property("Value", &Command::Value, &Command::SetValue,
                      "Sets/Returns the current state of the button (False=Up, True=Down).", 0)
            .Property("Rounded", &Command::Rounded, &Command::SetRounded, "Sets/Returns if the button is to appear rounded.")
            .Property("AllowAllup", &Command::AllowAllup, &Command::SetAllowAllup,
                      "Sets/Returns if all buttons in the group are alowed to be up.")
            .Property("Locked", &Command::Locked, &Command::SetLocked,
                      "Set/Return Locked status which locks the button in its current state and disables the click event.")
            .Property("Button3D", &Command::Button3D, &Command::SetButton3D,
                      "Sets/Returns if the button is to be displayed flat or in 3D.")
            .Property("FontEffects", &Command::FontEffects, &Command::SetFontEffects,
                      "Sets/Returns if special font effects (Bold & Italic) are used when button is pressed and released.")
            .Property("ColorEffects", &Command::ColorEffects, &Command::SetColorEffects,
                      "Sets/Returns if ButtonColorDn and FontColorDn properties are used to change button face when button is pressed and released.")
            .Property("MaskColor", &Command::MaskColor, &Command::SetMaskColor,
                      "Sets/Returns the color that specifies transparent areas in the MaskPicture.")
            .Property("Picture", &Command::Picture, &Command::SetPicture, "Sets/Returns a graphic to be displayed in the button.")
            .Property("PictureDown", &Command::PictureDown, &Command::SetPictureDown,
                      "Sets/Returns the picture used when the button is pressed.")
            .Property("UseMask", &Command::UseMask, &Command::SetUseMask,
                      "Sets/Returns if the MaskColor is used to mask then transparent areas in the MaskPicture.")
            .Property("ActiveBorder", &Command::ActiveBorder, &Command::SetActiveBorder,
                      "Sets/Returns if button appears flat until mouse is over the button.")
            .Property("Font3D", &Command::Font3D, &Command::SetFont3D, "Sets/Returns if the font is to be displayed flat or 3D.")
            .Property("SoftButton", &Command::SoftButton, &Command::SetSoftButton, "Set/Return if button has a soft appearance.")
            .Property("PictureAlignment", &Command::PictureAlignment, &Command::SetPictureAlignment,
                      "Sets/Returns the alignment of the graphic on the button.")
            .Property("PictureBg", &Command::PictureBg, &Command::SetPictureBg,
                      "Sets/Returns the picture used to paint the button face.")
            .Property("Stretch", &Command::Stretch, &Command::SetStretch,
                      "Set/Return if button background picture is to be stretched to fit.")
            .Property("FontColor3D", &Command::FontColor3D, &Command::SetFontColor3D,
                      "Returns/sets the font color used to display 3d text highlight on the button.")
            .Property("Transparent", &Command::Transparent, &Command::SetTransparent,
                      "Sets/Returns if the container's picture is used as the PictureBg.")
            .Property("Default", &Command::Default, &Command::SetDefault, "Determines which button is the default button on a form.", -609)
            .Property("Cancel", &Command::Cancel, &Command::SetCancel, "Indicates whether a button is the Cancel button on a form.", -610)
            .Property("MenuButton", &Command::MenuButton, &Command::SetMenuButton,
                      "Sets/Returns if the button has a pulldown  menu button attached.")
            .Property("ActiveColor", &Command::ActiveColor, &Command::SetActiveColor,
                      "Sets/Returns if button picture appears monochrome until mouse is over the button.")
            .Property("Moveable", &Command::Moveable, &Command::SetMoveable,
                      "Sets/Returns if the user is allowed to drag the control with the mouse using the Alt-Key.")
            .Property("GradientPct", &Command::GradientPct, &Command::SetGradientPct, "")
            .Property("MousePointer", &Command::MousePointer, &Command::SetMousePointer,
                      "Returns/sets the type of mouse pointer displayed when over part of an object.", -521)
            .Property("MouseIcon", &Command::MouseIcon, &Command::SetMouseIcon, "Sets a custom mouse icon.", -522)
            .Property("Enabled", &Command::Enabled, &Command::SetEnabled,
                      "Returns/sets a value that determines whether an object can respond to user-generated events.", -514)
            .Property("Font", &Command::Font, &Command::SetFont, "Returns a Font object.", -512)
            .Property("BackColor", &Command::BackColor, &Command::SetBackColor,
                      "Returns/sets the background color used to display text and graphics in an object.", -501)
            .Get("hWnd", &Command::hWndValue, "Returns a handle (from Microsoft Windows) to an object's window.", -515)
            .Get("hDC", &Command::hDCValue, "Returns a handle (from Microsoft Windows) to the object's device context.")
            .Method("GroupValues", [](Command& c, std::span<Variant> a) -> Variant {
                auto source = a.empty() ? nullptr : a[0].As<Command>();
                if (!source) throw host::HostError(host::kErrTypeMismatch);
                return Variant(c.GroupValues(*source));
            }, "Internal routine.", {{"Source", false, false}}, 0, MemberFlags{true, false})
            .Method("Refresh", [](Command& c, std::span<Variant>) { c.Refresh(); return Variant(); },
                    "Forces a complete repaint of a object.", {}, -550)
            .Method("ShowAboutBox", [](Command& c, std::span<Variant>) { c.ShowAboutBox(); return Variant(); }, "", {}, -552)
            .Method("GetMouseInfo", [](Command& c, std::span<Variant>) {
                CmdMouseInfo m = c.GetMouseInfo();
                return Variant(std::to_string(m.Button) + "," + std::to_string(m.Shift) + "," + std::to_string(m.x) + "," +
                               std::to_string(m.y));
            }, "");
        PublishValues(b);
        AddMenuMembers(b);
        AddMenuCursorMembers(b);
        b.Event("MenuClick", 1, "Occurs when the user selects a menu item.", {{"Tag", false, true}})
            .Event("Click", -600, "Occurs when the user presses and then releases a mouse button over an object.")
            .Event("MouseUp", -607, "Occurs when the user releases the mouse button while an object has the focus.",
                   {{"Button", false, true}, {"Shift", false, true}, {"x", false, true}, {"y", false, true}})
            .Event("MouseMove", -606, "Occurs when the user moves the mouse.",
                   {{"Button", false, true}, {"Shift", false, true}, {"x", false, true}, {"y", false, true}})
            .Event("MouseDown", -605, "Occurs when the user presses the mouse button while an object has the focus.",
                   {{"Button", false, true}, {"Shift", false, true}, {"x", false, true}, {"y", false, true}});
        return b.Build();
    }();
    return info.get();
}

}  // namespace brimlox::controls

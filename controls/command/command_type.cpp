// Command: the interface description (members in interface order, help strings, dispatch ids)
// and the registration of the control type with the host.
#include "controls/command/command.h"
#include "controls/published_enumerations.h"

namespace brimlox::controls {

using host::MemberFlags;
using host::ParamInfo;
using host::Variant;

namespace {

// Adds the popup-menu members every menu-carrying control shares.
template <typename T>
void AddMenuMembers(host::TypeBuilder<T>& b) {
    b.Method("AddMenu", [](T& c, std::span<Variant> a) {
         menus::AddMenuOptions o;
         auto has = [&](std::size_t i) { return a.size() > i && !a[i].IsEmpty(); };
         if (has(2)) o.MenuEnabled = a[2].ToBool();
         if (has(3)) o.MenuVisible = a[3].ToBool();
         if (has(4)) o.MenuChecked = a[4].ToBool();
         if (has(5)) o.MenuAutoCheck = a[5].ToBool();
         if (has(6)) o.MenuRadio = a[6].ToBool();
         if (has(7)) o.MenuIcon = a[7].template As<host::StdPicture>();
         if (has(8)) o.MenuIconCheck = a[8].template As<host::StdPicture>();
         if (has(9)) o.BeforeTag = a[9];
         c.Menu().AddMenu(a.size() > 0 ? a[0].ToString() : "", a.size() > 1 ? a[1] : Variant(), o);
         return Variant();
     }, "Add a Menu Item.",
     {{"Caption", false, true}, {"Tag", false, true}, {"MenuEnabled", true, true}, {"MenuVisible", true, true},
      {"MenuChecked", true, true}, {"MenuAutoCheck", true, true}, {"MenuRadio", true, true}, {"MenuIcon", true, true},
      {"MenuIconCheck", true, true}, {"BeforeTag", true, true}})
        .Method("DeleteMenu", [](T& c, std::span<Variant> a) {
            std::optional<Variant> tag;
            if (a.size() > 0 && !a[0].IsEmpty()) tag = a[0];
            std::int16_t index = a.size() > 1 && !a[1].IsEmpty() ? a[1].ToInteger() : std::int16_t{0};
            c.Menu().DeleteMenu(tag, &index);
            if (a.size() > 1) a[1] = Variant(index);
            return Variant();
        }, "Delete a Menu Item.", {{"Tag", true, false}, {"Index", true, true}})
        .Method("ClearMenu", [](T& c, std::span<Variant>) { c.Menu().ClearMenu(); return Variant(); },
                "Delete all Menu Items.")
        .Get("MenuItemCount", &T::MenuItemCount, "Returns the number of MenuItems.")
        .Get("IsPopupMenu", &T::IsPopupMenu, "");
}

// A property of the item list's cursor copy, reached through the control. Object-valued
// ones are assigned with set, the others with let.
template <typename V, typename S>
std::function<void(host::TypeInfo&)> MenuProperty(std::string name, V (menus::PopupItemList::*getter)() const,
                                                  void (menus::PopupItemList::*setter)(S), std::string help,
                                                  bool object = false) {
    return [=](host::TypeInfo& info) {
        host::MemberInfo m;
        m.name = name;
        m.kind = host::MemberKind::Property;
        m.help = help;
        m.get = [getter](host::Dispatch& self, std::span<Variant>) {
            return host::VariantCast<std::remove_cvref_t<V>>::To((static_cast<Command&>(self).Menu().*getter)());
        };
        host::MemberCall put = [setter](host::Dispatch& self, std::span<Variant> args) {
            (static_cast<Command&>(self).Menu().*setter)(host::VariantCast<std::remove_cvref_t<V>>::From(args.back()));
            return Variant();
        };
        if (object) m.set = put;
        else m.let = put;
        info.Add(std::move(m));
    };
}

// A module-wide menu look flag, read and written through any control.
std::function<void(host::TypeInfo&)> MenuLookFlag(std::string name, bool (*getter)(), void (*setter)(bool),
                                                  std::string help) {
    return [=](host::TypeInfo& info) {
        host::MemberInfo m;
        m.name = name;
        m.kind = host::MemberKind::Property;
        m.help = help;
        m.get = [getter](host::Dispatch&, std::span<Variant>) { return Variant(getter()); };
        m.let = [setter, name](host::Dispatch& self, std::span<Variant> args) {
            setter(args.back().ToBool());
            static_cast<Command&>(self).PropertyChanged(name);
            return Variant();
        };
        info.Add(std::move(m));
    };
}

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
        using L = menus::PopupItemList;
        b.With(MenuProperty("MenuItem", &L::MenuItem, &L::SetMenuItem, "Selects menu item to be altered."))
            .Method("MenuSelect", [](Command& c, std::span<Variant> a) {
                if (!a.empty()) c.Menu().MenuSelect(a.back().ToInteger());
                return Variant();
            }, "Internal Routine for Property Page.", {{"Index", false, false}}, 0, MemberFlags{true, false})
            .With(MenuProperty("MenuItemCaption", &L::MenuItemCaption, &L::SetMenuItemCaption,
                                            "Sets/Returns the Caption for the selected MenuItem."))
            .With(MenuProperty("MenuItemTag", &L::MenuItemTag, &L::SetMenuItemTag,
                                            "Sets/Returns the Tag for the selected MenuItem."))
            .With(MenuProperty("MenuItemVisible", &L::MenuItemVisible, &L::SetMenuItemVisible,
                                     "Sets/Returns if  the selected MenuItem is Visible."))
            .With(MenuProperty("MenuItemChecked", &L::MenuItemChecked, &L::SetMenuItemChecked,
                                             "Sets/Returns if the selected MenuItem is checked."))
            .With(MenuProperty("MenuItemEnabled", &L::MenuItemEnabled, &L::SetMenuItemEnabled,
                                     "Sets/Returns if the selected MenuItem is Enabled."))
            .Get("MenuSelected", &Command::MenuSelected, "Returns the last menu item Index selected.")
            .With(MenuProperty("MenuItemRadio", &L::MenuItemRadio, &L::SetMenuItemRadio,
                                             "Sets/Returns if the selected MenuItem is a radio button."))
            .With(MenuProperty("MenuItemAutoCheck", &L::MenuItemAutoCheck, &L::SetMenuItemAutoCheck,
                                     "Sets/Returns if the selected MenuItem automatically handles menu checkmarking."))
            .With(MenuProperty("MenuItemIcon", &L::MenuItemIcon, &L::SetMenuItemIcon,
                                                                   "Sets/Returns the bitmap for the selected MenuItem.", true))
            .With(MenuProperty("MenuItemIconChk", &L::MenuItemIconChk,
                                                                   &L::SetMenuItemIconChk,
                                                                   "Sets/Returns the checked bitmap for the selected MenuItem.", true))
            .With(MenuProperty("MenuWindowList", &L::MenuWindowList, &L::SetMenuWindowList,
                                     "Sets/Returns if the button contains a window list menu."))
            .With(MenuLookFlag("MenuGradient", &menus::MenuGradient, &menus::SetMenuGradient,
                               "Sets/Returns if the selected menu item will have a gradient highlight bar."))
            .With(MenuLookFlag("MenuGradient3D", &menus::MenuGradient3D, &menus::SetMenuGradient3D,
                               "Sets/Returns if the selected menu item gradient highlight bar will appear 3D."))
            .Event("MenuClick", 1, "Occurs when the user selects a menu item.", {{"Tag", false, true}})
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

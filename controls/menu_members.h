// The popup-menu members every menu-carrying control (Command, TrayIcon) offers late-bound
// callers and the property browser: AddMenu and its kin, then the cursor properties of the item
// list, in interface order. A control type T provides Menu(), MenuItemCount(), IsPopupMenu(),
// MenuSelected() and PropertyChanged().
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <type_traits>

#include "menus/popup_item_list.h"
#include "menus/popup_menu.h"
#include "platform/host/type_builder.h"

namespace brimlox::controls {

// Adds the popup-menu members every menu-carrying control shares.
template <typename T>
void AddMenuMembers(host::TypeBuilder<T>& b) {
    b.Method("AddMenu", [](T& c, std::span<host::Variant> a) {
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
         c.Menu().AddMenu(a.size() > 0 ? a[0].ToString() : "", a.size() > 1 ? a[1] : host::Variant(), o);
         return host::Variant();
     }, "Add a Menu Item.",
     {{"Caption", false, true}, {"Tag", false, true}, {"MenuEnabled", true, true}, {"MenuVisible", true, true},
      {"MenuChecked", true, true}, {"MenuAutoCheck", true, true}, {"MenuRadio", true, true}, {"MenuIcon", true, true},
      {"MenuIconCheck", true, true}, {"BeforeTag", true, true}})
        .Method("DeleteMenu", [](T& c, std::span<host::Variant> a) {
            std::optional<host::Variant> tag;
            if (a.size() > 0 && !a[0].IsEmpty()) tag = a[0];
            std::int16_t index = a.size() > 1 && !a[1].IsEmpty() ? a[1].ToInteger() : std::int16_t{0};
            c.Menu().DeleteMenu(tag, &index);
            if (a.size() > 1) a[1] = host::Variant(index);
            return host::Variant();
        }, "Delete a Menu Item.", {{"Tag", true, false}, {"Index", true, true}})
        .Method("ClearMenu", [](T& c, std::span<host::Variant>) { c.Menu().ClearMenu(); return host::Variant(); },
                "Delete all Menu Items.")
        .Get("MenuItemCount", &T::MenuItemCount, "Returns the number of MenuItems.")
        .Get("IsPopupMenu", &T::IsPopupMenu, "");
}

// A property of the item list's cursor copy, reached through the control. Object-valued
// ones are assigned with set, the others with let.
template <typename T, typename V, typename S>
std::function<void(host::TypeInfo&)> MenuProperty(std::string name, V (menus::PopupItemList::*getter)() const,
                                                  void (menus::PopupItemList::*setter)(S), std::string help,
                                                  bool object = false) {
    return [=](host::TypeInfo& info) {
        host::MemberInfo m;
        m.name = name;
        m.kind = host::MemberKind::Property;
        m.help = help;
        m.get = [getter](host::Dispatch& self, std::span<host::Variant>) {
            return host::VariantCast<std::remove_cvref_t<V>>::To((static_cast<T&>(self).Menu().*getter)());
        };
        host::MemberCall put = [setter](host::Dispatch& self, std::span<host::Variant> args) {
            (static_cast<T&>(self).Menu().*setter)(host::VariantCast<std::remove_cvref_t<V>>::From(args.back()));
            return host::Variant();
        };
        if (object) m.set = put;
        else m.let = put;
        info.Add(std::move(m));
    };
}

// A module-wide menu look flag, read and written through any control.
template <typename T>
std::function<void(host::TypeInfo&)> MenuLookFlag(std::string name, bool (*getter)(), void (*setter)(bool),
                                                  std::string help) {
    return [=](host::TypeInfo& info) {
        host::MemberInfo m;
        m.name = name;
        m.kind = host::MemberKind::Property;
        m.help = help;
        m.get = [getter](host::Dispatch&, std::span<host::Variant>) { return host::Variant(getter()); };
        m.let = [setter, name](host::Dispatch& self, std::span<host::Variant> args) {
            setter(args.back().ToBool());
            static_cast<T&>(self).PropertyChanged(name);
            return host::Variant();
        };
        info.Add(std::move(m));
    };
}

// The cursor, its copy of the selected item's fields and the look flags, in interface order.
template <typename T>
void AddMenuCursorMembers(host::TypeBuilder<T>& b) {
    using L = menus::PopupItemList;
    b.With(MenuProperty<T>("MenuItem", &L::MenuItem, &L::SetMenuItem, "Selects menu item to be altered."))
            .Method("MenuSelect", [](T& c, std::span<host::Variant> a) {
                if (!a.empty()) c.Menu().MenuSelect(a.back().ToInteger());
                return host::Variant();
            }, "Internal Routine for Property Page.", {{"Index", false, false}}, 0, host::MemberFlags{true, false})
            .With(MenuProperty<T>("MenuItemCaption", &L::MenuItemCaption, &L::SetMenuItemCaption,
                                            "Sets/Returns the Caption for the selected MenuItem."))
            .With(MenuProperty<T>("MenuItemTag", &L::MenuItemTag, &L::SetMenuItemTag,
                                            "Sets/Returns the Tag for the selected MenuItem."))
            .With(MenuProperty<T>("MenuItemVisible", &L::MenuItemVisible, &L::SetMenuItemVisible,
                                     "Sets/Returns if  the selected MenuItem is Visible."))
            .With(MenuProperty<T>("MenuItemChecked", &L::MenuItemChecked, &L::SetMenuItemChecked,
                                             "Sets/Returns if the selected MenuItem is checked."))
            .With(MenuProperty<T>("MenuItemEnabled", &L::MenuItemEnabled, &L::SetMenuItemEnabled,
                                     "Sets/Returns if the selected MenuItem is Enabled."))
            .Get("MenuSelected", &T::MenuSelected, "Returns the last menu item Index selected.")
            .With(MenuProperty<T>("MenuItemRadio", &L::MenuItemRadio, &L::SetMenuItemRadio,
                                             "Sets/Returns if the selected MenuItem is a radio button."))
            .With(MenuProperty<T>("MenuItemAutoCheck", &L::MenuItemAutoCheck, &L::SetMenuItemAutoCheck,
                                     "Sets/Returns if the selected MenuItem automatically handles menu checkmarking."))
            .With(MenuProperty<T>("MenuItemIcon", &L::MenuItemIcon, &L::SetMenuItemIcon,
                                                                   "Sets/Returns the bitmap for the selected MenuItem.", true))
            .With(MenuProperty<T>("MenuItemIconChk", &L::MenuItemIconChk,
                                                                   &L::SetMenuItemIconChk,
                                                                   "Sets/Returns the checked bitmap for the selected MenuItem.", true))
            .With(MenuProperty<T>("MenuWindowList", &L::MenuWindowList, &L::SetMenuWindowList,
                                     "Sets/Returns if the button contains a window list menu."))
            .With(MenuLookFlag<T>("MenuGradient", &menus::MenuGradient, &menus::SetMenuGradient,
                               "Sets/Returns if the selected menu item will have a gradient highlight bar."))
            .With(MenuLookFlag<T>("MenuGradient3D", &menus::MenuGradient3D, &menus::SetMenuGradient3D,
                               "Sets/Returns if the selected menu item gradient highlight bar will appear 3D."))
;
}

}  // namespace brimlox::controls

// TrayIcon: the interface as late-bound callers and the property browser see it (members in
// interface order, help strings, dispatch ids).
#include "controls/menu_members.h"
#include "controls/trayicon/trayicon.h"

namespace brimlox::controls {

using host::Variant;

const host::TypeInfo* TrayIcon::GetTypeInfo() const {
    static const auto info = [] {
        host::TypeBuilder<TrayIcon> b("TrayIcon");
        b.Property("Icon", &TrayIcon::Icon, &TrayIcon::SetIcon, "Returns/sets a graphic to be displayed in a control.")
            .Property("ToolTip", &TrayIcon::ToolTip, &TrayIcon::SetToolTip,
                      "Returns/sets the message that is displayed when the mouse hovers over the Icon in the system "
                      "tray.")
            .Property("Hidden", &TrayIcon::Hidden, &TrayIcon::SetHidden,
                      "Returns/sets if Icon is displayed in the system tray.")
            .Method("Refresh", [](TrayIcon& t, std::span<Variant>) { t.Refresh(); return Variant(); },
                    "Forces a complete repaint of a object.", {}, -550)
            .Method("ShowAboutBox", [](TrayIcon& t, std::span<Variant>) { t.ShowAboutBox(); return Variant(); }, "",
                    {}, -552);
        AddMenuMembers(b);
        AddMenuCursorMembers(b);
        b.Event("MenuClick", 1, "Occurs when the user selects a menu item.", {{"Tag", false, true}})
            .Event("Click", 2, "", {{"Button", false, true}})
            .Event("DblClick", 3, "", {{"Button", false, true}});
        return b.Build();
    }();
    return info.get();
}

}  // namespace brimlox::controls

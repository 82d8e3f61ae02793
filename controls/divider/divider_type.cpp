// Divider: the interface as late-bound callers and the property browser see it (members in
// interface order, help strings, dispatch ids), and the registration of the control type with
// the host, so forms can add it and form files can hold it.
#include "controls/divider/divider.h"

#include "platform/host/standard_dispids.h"

namespace brimlox::controls {

using host::MemberFlags;
using host::Variant;

const host::TypeInfo* Divider::GetTypeInfo() const {
    static const auto info = [] {
        host::TypeBuilder<Divider> b("Divider");
        b.Method("ShowAboutBox", [](Divider& d, std::span<Variant>) { d.ShowAboutBox(); return Variant(); }, "", {},
                 host::dispid::kAboutBox)
            .Property("BackColor", &Divider::BackColor, &Divider::SetBackColor,
                      "Returns/sets the background color used to display text and graphics in an object.",
                      host::dispid::kBackColor)
            .Property("ForeColor", &Divider::ForeColor, &Divider::SetForeColor,
                      "Returns/sets the foreground color used to display text and graphics in an object.",
                      host::dispid::kForeColor)
            .Method("Refresh", [](Divider& d, std::span<Variant>) { d.Refresh(); return Variant(); },
                    "Forces a complete repaint of a object.", {}, host::dispid::kRefresh)
            .Property("Style", &Divider::Style, &Divider::SetStyle, "", 1)
            .Property("Transparent", &Divider::Transparent, &Divider::SetTransparent, "", 2)
            .Method("Rotate", [](Divider& d, std::span<Variant> a) {
                if (a.empty() || a[0].IsEmpty()) throw host::HostError(host::kErrArgumentNotOptional);
                d.Rotate(a[0].ToBool());
                return Variant();
            }, "", {{"Vertical", false, false}}, 3, MemberFlags{true, false})
            .Property("GradientPct", &Divider::GradientPct, &Divider::SetGradientPct, "", 4)
            .Property("Moveable", &Divider::Moveable, &Divider::SetMoveable,
                      "Sets/Returns if the user is allowed to drag the control with the mouse using the Alt-Key.", 5);
        return b.Build();
    }();
    return info.get();
}

}  // namespace brimlox::controls

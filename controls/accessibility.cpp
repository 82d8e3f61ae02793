// The accessibility tree. A control's facts are read through its published properties (late
// binding), so this one table knows every type without reaching into any control's internals.
#include "controls/accessibility.h"

#include <map>

#include "controls/command/command.h"
#include "platform/host/keyboard.h"
#include "platform/host/type_info.h"
#include "platform/user/user.h"

namespace brimlox::controls {

namespace {

// The property's value, or nothing when the type has no such property.
std::optional<host::Variant> Read(host::Control& c, const char* property) {
    std::optional<host::Variant> out;
    host::TryInvoke([&] { out = host::GetProperty(c, property); });
    return out;
}

bool Flag(host::Control& c, const char* property) {
    auto v = Read(c, property);
    return v && v->ToBool();
}

// "&Open" reads "Open"; "&&" is a literal ampersand.
std::string WithoutAccelerator(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        else if (caption[i] == '&') continue;
        out += caption[i];
    }
    return out;
}

std::string RoleOf(host::Control& c) {
    static const std::map<std::string, std::string> kRoles = {
        {"ScrollBar", "scroll bar"}, {"ProgressBar", "progress bar"}, {"Divider", "separator"},
        {"SplitWindow", "pane"},     {"DreamBar", "tool bar"},        {"TrayIcon", "push button"},
        {"CommandButton", "push button"}, {"CheckBox", "check box"},  {"TextBox", "text"},
        {"Label", "static text"},    {"Frame", "grouping"},           {"Image", "graphic"},
        {"PictureBox", "graphic"},   {"ListBox", "list"}};
    if (auto* b = dynamic_cast<Command*>(&c)) {
        if (b->MenuButton() && b->IsPopupMenu()) return "split button";
        return b->Toggle() ? "toggle button" : "push button";
    }
    // A SplitWindow of the tool-window style (Style 1) is a floating or docked tool bar.
    if (c.TypeName() == "SplitWindow") {
        auto style = Read(c, "Style");
        return style && style->ToInteger() == 1 ? "tool bar" : "pane";
    }
    auto it = kRoles.find(c.TypeName());
    return it == kRoles.end() ? "client" : it->second;
}

std::string ValueOf(host::Control& c) {
    const std::string type = c.TypeName();
    if (type == "ScrollBar" || type == "ProgressBar") {
        if (auto v = Read(c, "Value")) return v->ToString();
    }
    if (type == "TextBox") {
        if (auto v = Read(c, "Text")) return v->ToString();
    }
    return {};
}

std::vector<std::string> StatesOf(host::Control& c) {
    std::vector<std::string> states;
    if (host::HasFocus(c)) states.push_back("focused");
    if (auto* b = dynamic_cast<Command*>(&c)) {
        if (b->Pressed()) states.push_back("pressed");
        if (b->Toggle() && b->Value()) states.push_back("checked");
    }
    if (!c.Enabled()) states.push_back("disabled");
    if (c.TypeName() == "DreamBar") states.push_back(Flag(c, "Minimized") ? "collapsed" : "expanded");
    if (!c.ShownOnForm() || (c.hWnd() && !IsWindowVisible(c.hWnd()))) states.push_back("invisible");
    return states;
}

RECT ScreenBounds(const host::Control& c) {
    RECT r{};
    if (c.hWnd()) {
        GetWindowRect(c.hWnd(), &r);
        return r;
    }
    // A windowless control lies at its extender's place in its container's client area.
    const int tpp = host::TwipsPerPixel();
    POINT origin{0, 0};
    ClientToScreen(c.ContainerHwnd(), &origin);
    r.left = origin.x + c.Left() / tpp;
    r.top = origin.y + c.Top() / tpp;
    r.right = r.left + c.Width() / tpp;
    r.bottom = r.top + c.Height() / tpp;
    return r;
}

AccessibleNode Describe(host::Form& form, host::Control& c) {
    AccessibleNode node;
    auto caption = Read(c, "Caption");
    node.name = caption && !caption->ToString().empty() ? WithoutAccelerator(caption->ToString()) : c.Name();
    node.role = RoleOf(c);
    node.value = ValueOf(c);
    node.states = StatesOf(c);
    node.bounds = ScreenBounds(c);
    for (const auto& k : form.Controls())
        if (k->ContainerControl() == &c) node.children.push_back(Describe(form, *k));
    return node;
}

}  // namespace

AccessibleNode DescribeAccessible(host::Form& form) {
    AccessibleNode root;
    root.name = form.Caption().empty() ? form.Name() : form.Caption();
    root.role = "window";
    if (form.hWnd()) GetWindowRect(form.hWnd(), &root.bounds);
    if (form.hWnd() && GetFocus() == form.hWnd()) root.states.push_back("focused");
    for (const auto& c : form.Controls())
        if (!c->ContainerControl()) root.children.push_back(Describe(form, *c));
    return root;
}

nlohmann::ordered_json AccessibleJson(const AccessibleNode& node) {
    nlohmann::ordered_json j;
    j["name"] = node.name;
    j["role"] = node.role;
    if (!node.value.empty()) j["value"] = node.value;
    j["states"] = node.states;
    const RECT& r = node.bounds;
    j["bounds"] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    if (!node.children.empty()) {
        j["children"] = nlohmann::ordered_json::array();
        for (const auto& k : node.children) j["children"].push_back(AccessibleJson(k));
    }
    return j;
}

}  // namespace brimlox::controls

// The accessibility tree of a form: for every control what assistive technology reads (name,
// role, value, states and bounds on the screen), nested as the controls are contained. Roles are
// the usual names of accessibility APIs ("push button", "scroll bar", "tool bar" ...).
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/host/form.h"

namespace brimlox::controls {

struct AccessibleNode {
    std::string name;   // the caption without its accelerator mark, or the control's Name
    std::string role;
    std::string value;  // empty for controls without one
    // In this order when present: focused, pressed, checked, disabled, expanded, collapsed, invisible.
    std::vector<std::string> states;
    RECT bounds{};  // screen pixels
    std::vector<AccessibleNode> children;
};

// The tree of a form: the form as a window holding its controls.
AccessibleNode DescribeAccessible(host::Form& form);
// The tree as JSON: {name, role, value?, states, bounds: [left, top, width, height], children?}.
nlohmann::ordered_json AccessibleJson(const AccessibleNode& node);

}  // namespace brimlox::controls

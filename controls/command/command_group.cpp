// Command: toggle groups. Buttons with the same non-zero Group on one form share their toggle
// looks, and at most one of them is down; without AllowAllup exactly one is.
#include "controls/command/command.h"

namespace brimlox::controls {

namespace {

// The group number a button carries while it walks its group, so it does not find itself.
constexpr std::uint8_t kWalkingGroup = 255;

}  // namespace

void Command::ForEachGroupSibling(std::uint8_t group, const std::function<bool(Command&)>& visit) {
    host::Form* form = ParentForm();
    if (!form) return;
    // A copy: a visited button's handlers may add or remove controls.
    auto controls = form->Controls();
    for (const auto& control : controls) {
        auto* other = dynamic_cast<Command*>(control.get());
        if (!other || other == this || other->group_ != group) continue;
        if (!visit(*other)) return;
    }
}

void Command::SyncGroup() {
    if (!toggle_) return;
    bool anyDown = allowAllup_ || value_;
    if (group_ != 0) {
        const std::uint8_t group = group_;
        group_ = kWalkingGroup;
        ForEachGroupSibling(group, [&](Command& other) {
            anyDown = other.GroupValues(*this) || anyDown;
            return true;
        });
        group_ = group;
    }
    if (!anyDown) SetValue(true);
}

bool Command::GroupValues(Command& source) {
    const bool wasDown = value_;
    toggle_ = source.toggle_, Changed("Toggle");
    allowAllup_ = source.allowAllup_, Changed("AllowAllup");
    activeBorder_ = source.activeBorder_, Changed("ActiveBorder");
    button3D_ = source.button3D_, Changed("Button3D");
    colorEffects_ = source.colorEffects_, Changed("ColorEffects");
    activeColor_ = source.activeColor_, Changed("ActiveColor");
    picturesReady_ = true;
    if (source.value_) {
        value_ = false;
        Changed("Value");
    }
    ComputeLayout();
    DrawButton(!value_);
    return wasDown;
}

void Command::SetGroup(std::uint8_t v) {
    const std::uint8_t old = group_;
    if (!allowAllup_ && value_ && old != 0) {
        // The down button leaves its group: another member takes its place.
        group_ = kWalkingGroup;
        Changed("Group");
        ForEachGroupSibling(old, [](Command& other) {
            other.SetValue(true);
            return false;
        });
    }
    if (v != 0) {
        ForEachGroupSibling(v, [&](Command& other) {
            toggle_ = true, Changed("Toggle");
            allowAllup_ = other.allowAllup_, Changed("AllowAllup");
            return false;
        });
    }
    group_ = v;
    Changed("Group");
    SyncGroup();
}

}  // namespace brimlox::controls

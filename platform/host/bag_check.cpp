#include "platform/host/bag_check.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/host/type_info.h"

namespace brimlox::host {

namespace {

enum class Kind { None, Text, Flag, Number, Object };

Kind KindOf(const Variant& v) {
    switch (v.Type()) {
        case VarType::Empty: return Kind::None;
        case VarType::Boolean: return Kind::Flag;
        case VarType::String: return Kind::Text;
        case VarType::Object: return Kind::Object;
        default: return Kind::Number;
    }
}

// A value as the form file spells it.
std::string Spelled(const Variant& v) {
    switch (KindOf(v)) {
        case Kind::Text: return "\"" + v.ToString() + "\"";
        case Kind::Flag: return v.ToBool() ? "true" : "false";
        case Kind::Number: return v.ToString();
        default: return "null";
    }
}

// The property's current value, which tells its type; nothing for members without a getter
// or whose getter refuses.
std::optional<Variant> CurrentValue(Control& control, const MemberInfo& member) {
    if (member.kind != MemberKind::Property || !member.HasGet() || member.RequiredParams() > 0) return std::nullopt;
    try {
        return GetProperty(control, member.name);
    } catch (const HostError&) {
        return std::nullopt;
    }
}

// A stored value of another kind than the property's; numbers stand for Booleans only as the
// host writes them (0, -1, and 1 from other writers).
std::optional<std::string> KindProblem(const Variant& stored, const Variant& current) {
    const Kind want = KindOf(current), have = KindOf(stored);
    if (want == have || want == Kind::None || want == Kind::Object || have == Kind::None) return std::nullopt;
    if (want == Kind::Flag && have == Kind::Number) {
        const double d = stored.ToDouble();
        if (d == 0 || d == -1 || d == 1) return std::nullopt;
        return "expected true or false, not " + Spelled(stored);
    }
    if (want == Kind::Text) return "expected a string, not " + Spelled(stored);
    if (want == Kind::Flag) return "expected true or false, not " + Spelled(stored);
    return "expected a number, not " + Spelled(stored);
}

std::string ListMembers(const std::vector<EnumMember>& members) {
    std::string list;
    for (const EnumMember& m : members) list += (list.empty() ? "" : ", ") + std::to_string(m.value) + " " + m.name;
    return list;
}

std::string Number(double d) {
    if (d == std::floor(d) && std::fabs(d) < 1e15) return std::to_string(static_cast<long long>(d));
    return Variant(d).ToString();
}

std::optional<std::string> RuleProblem(Control& control, const MemberInfo& member, const Variant& stored) {
    const ValueRule& rule = member.values;
    if (rule.Empty() || KindOf(stored) != Kind::Number) return std::nullopt;
    const double d = stored.ToDouble();
    if (!rule.enumeration.empty()) {
        const bool known = std::any_of(rule.enumeration.begin(), rule.enumeration.end(),
                                       [&](const EnumMember& m) { return m.value == d; });
        if (known) return std::nullopt;
        return Number(d) + " is not a value of " + member.name + " (" + ListMembers(rule.enumeration) + ")";
    }
    std::optional<double> lo = rule.min, hi = rule.max;
    std::string bounds = "range";
    if (!rule.minProperty.empty()) {
        try {
            const double a = GetProperty(control, rule.minProperty).ToDouble();
            const double b = GetProperty(control, rule.maxProperty).ToDouble();
            lo = std::min(a, b), hi = std::max(a, b);
            bounds = rule.minProperty + " to " + rule.maxProperty;
        } catch (const HostError&) {
            return std::nullopt;
        }
    }
    if ((lo && d < *lo) || (hi && d > *hi))
        return Number(d) + " is outside the " + bounds + " (" + (lo ? Number(*lo) : "") + " to " + (hi ? Number(*hi) : "") + ")";
    return std::nullopt;
}

}  // namespace

std::vector<BagWarning> CheckBag(Control& control, const PropertyBag& bag) {
    std::vector<BagWarning> warnings;
    const std::vector<std::string> unread = bag.UnreadKeys();
    const TypeInfo* info = control.GetTypeInfo();
    for (const auto& [key, stored] : bag.Entries()) {
        if (std::find(unread.begin(), unread.end(), key) != unread.end()) {
            warnings.push_back({key, "unknown key: a " + control.TypeName() + " does not read it"});
            continue;
        }
        const MemberInfo* member = info ? info->Find(key) : nullptr;
        if (!member) continue;  // a key of the control's own format (menu items ...)
        if (auto current = CurrentValue(control, *member)) {
            if (auto problem = KindProblem(stored, *current)) {
                warnings.push_back({key, *problem});
                continue;
            }
        }
        if (auto problem = RuleProblem(control, *member, stored)) warnings.push_back({key, *problem});
    }
    return warnings;
}

}  // namespace brimlox::host

// The property grid's model: rows from type information, common to every selected object.
#include "apps/designer/property_rows.h"

#include <algorithm>
#include <cctype>

#include "platform/host/host_error.h"
#include "platform/host/runtime.h"
#include "platform/user/winuser.h"

namespace brimlox::designer {

namespace {

std::string Lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool Browsable(const host::MemberInfo& m) {
    return m.kind == host::MemberKind::Property && !m.hidden && !m.nonBrowsable && m.HasGet() &&
           (m.HasLet() || m.HasSet()) && m.params.empty();
}

// The browsable members of `info`, leaving out those `hiding` has (the object's own member
// hides an extender member of the same name).
void AddBrowsable(const host::TypeInfo* info, const host::TypeInfo* hiding, std::vector<const host::MemberInfo*>& out) {
    if (!info) return;
    for (const auto& m : info->Members())
        if (Browsable(m) && !(hiding && hiding->Find(m.name))) out.push_back(&m);
}

// A property value read late-bound; nothing when the object raises.
std::optional<host::Variant> ReadValue(host::Dispatch& object, const std::string& name) {
    try {
        return host::GetProperty(object, name);
    } catch (const host::HostError&) {
        return std::nullopt;
    }
}

// Whether the values read from every object are the same (objects by what the grid shows).
bool Agree(const PropertyRow& row, const std::vector<std::optional<host::Variant>>& values) {
    if (values.size() == 1) return values.front().has_value();
    for (const auto& v : values) {
        if (!v) return false;
        if (ValueText(row.kind, *v, row.Rule()) != ValueText(row.kind, *values.front(), row.Rule())) return false;
    }
    return true;
}

// The object's browsable property of that name (its own, else the extender's), or nullptr.
const host::MemberInfo* FindBrowsable(const host::Dispatch& object, const std::string& name) {
    for (const host::TypeInfo* info : {object.GetTypeInfo(), object.GetExtenderTypeInfo()}) {
        const host::MemberInfo* m = info ? info->Find(name) : nullptr;
        if (m) return Browsable(*m) ? m : nullptr;
    }
    return nullptr;
}

bool CarriesMenu(const host::Dispatch& object) {
    const host::TypeInfo* info = object.GetTypeInfo();
    return info && info->Find("MenuItemCount") && info->Find("MenuSelect");
}

}  // namespace

std::vector<const host::MemberInfo*> BrowsableProperties(const host::Dispatch& object) {
    std::vector<const host::MemberInfo*> out;
    AddBrowsable(object.GetTypeInfo(), nullptr, out);
    AddBrowsable(object.GetExtenderTypeInfo(), object.GetTypeInfo(), out);
    return out;
}

PropertyRows PropertyRows::Read(const std::vector<std::shared_ptr<host::Dispatch>>& objects) {
    PropertyRows rows;
    if (objects.empty()) return rows;
    rows.objects_ = objects;
    rows.hasMenu_ = objects.size() == 1 && CarriesMenu(*objects.front());
    // The properties every object has, keyed by lower-case name, with the first object's member.
    std::vector<PropertyRow> found;
    std::vector<std::string> keys;  // lower-case names, for the name order
    for (const host::MemberInfo* m : BrowsableProperties(*objects.front())) {
        const bool common = std::all_of(objects.begin() + 1, objects.end(), [&](const auto& other) {
            const host::MemberInfo* o = FindBrowsable(*other, m->name);
            return o != nullptr;
        });
        if (!common) continue;
        std::vector<std::optional<host::Variant>> values;
        for (const auto& object : objects) values.push_back(ReadValue(*object, m->name));
        PropertyRow row;
        row.name = m->name;
        row.published = &m->values;
        row.value = values.front().value_or(host::Variant());
        row.kind = KindOf(*m, row.value);
        row.differs = !Agree(row, values);
        if (!row.differs) row.text = ValueText(row.kind, row.value, row.Rule());
        keys.push_back(Lowered(row.name));
        found.push_back(std::move(row));
    }
    // Rows are sorted by position, so that each is moved once.
    std::vector<std::size_t> order(found.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    rows.rows_.reserve(found.size());
    for (std::size_t i : order) rows.rows_.push_back(std::move(found[i]));
    return rows;
}

const PropertyRow* PropertyRows::Find(const std::string& name) const {
    const std::string key = Lowered(name);
    for (const auto& row : rows_)
        if (Lowered(row.name) == key) return &row;
    return nullptr;
}

host::Variant PropertyRows::Convert(const std::string& name, const std::string& text) const {
    const PropertyRow* row = Find(name);
    if (!row) throw host::HostError(host::kErrMemberNotFound);
    host::Variant value = ParseValue(row->kind, text, row->Rule(), row->value);
    CheckPublishedValues(*row, value);
    return value;
}

void PropertyRows::CheckPublishedValues(const PropertyRow& row, const host::Variant& value) const {
    const host::ValueRule& rule = row.Rule();
    if (rule.Empty() || !value.IsNumeric()) return;
    const double number = value.ToDouble();
    auto refuse = [&](const std::string& why) {
        throw host::HostError(host::kErrInvalidPropertyValue,
                              host::HostError::DescriptionFor(host::kErrInvalidPropertyValue) + ": " + why);
    };
    if (!rule.enumeration.empty()) {
        const bool known = std::any_of(rule.enumeration.begin(), rule.enumeration.end(),
                                       [&](const host::EnumMember& m) { return m.value == number; });
        if (!known) refuse(host::FormatNumber(number, 15) + " is not a value of " + row.name + ".");
        return;
    }
    if ((rule.min && number < *rule.min) || (rule.max && number > *rule.max))
        refuse(row.name + " takes " + (rule.min ? host::FormatNumber(*rule.min, 15) : "") + " to " +
               (rule.max ? host::FormatNumber(*rule.max, 15) : "") + ".");
    if (rule.minProperty.empty()) return;
    // Bounds held by the objects themselves, in either order.
    for (const auto& object : objects_) {
        const double a = host::GetProperty(*object, rule.minProperty).ToDouble();
        const double b = host::GetProperty(*object, rule.maxProperty).ToDouble();
        if (number < std::min(a, b) || number > std::max(a, b))
            refuse(row.name + " lies between " + rule.minProperty + " (" + host::FormatNumber(a, 15) + ") and " +
                   rule.maxProperty + " (" + host::FormatNumber(b, 15) + ").");
    }
}

bool PropertyRows::Apply(const std::string& name, const std::string& text, const Setter& setter) const {
    try {
        const host::Variant value = Convert(name, text);
        // A copy: the setter's change notifications may read the rows again.
        const std::string property = Find(name)->name;
        setter(property, value);
        return true;
    } catch (const host::HostError& e) {
        host::MsgBox(e.Description(), MB_ICONEXCLAMATION);
        return false;
    }
}

}  // namespace brimlox::designer

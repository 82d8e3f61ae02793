// PropertyRows: the property grid's model. It reads the browsable properties of a list of
// objects (the selected controls, or the form) from their type information, late-bound, and
// keeps one row per property that every object has, in name order, with the value's text where
// all objects agree and blank where they differ. It converts text typed for a row into a value
// of the row's kind, and applies an edit through a setter the caller gives (the designer's
// document), showing the host's message when the value is refused.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "apps/designer/property_values.h"
#include "platform/host/type_info.h"
#include "platform/host/variant.h"

namespace brimlox::designer {

struct PropertyRow {
    std::string name;            // as the type information spells it
    PropertyKind kind = PropertyKind::Text;
    std::string text;            // the value as shown; "" where the objects differ
    bool differs = false;
    host::Variant value;         // the first object's value (the width of numbers, the font)
    // The published values; type descriptions live as long as the program.
    const host::ValueRule* published = nullptr;
    const host::ValueRule& Rule() const { return *published; }
};

class PropertyRows {
public:
    // Reads the rows of `objects` (none gives no rows).
    static PropertyRows Read(const std::vector<std::shared_ptr<host::Dispatch>>& objects);

    const std::vector<PropertyRow>& Rows() const { return rows_; }
    // Case-insensitive; nullptr for a property the grid does not show.
    const PropertyRow* Find(const std::string& name) const;
    // Whether the objects are one control that carries popup-menu items (the "(Menu)" row).
    bool HasMenu() const { return hasMenu_; }

    // The value typed `text` stands for in row `name`; raises the host's error (438 for a
    // property not shown, 13 for text of the wrong kind, 380 for a value outside the values the
    // property publishes: its enumeration, its bounds, or the bounds two other properties of
    // each object hold, as a scroll bar's Min and Max do for its Value).
    host::Variant Convert(const std::string& name, const std::string& text) const;

    // Converts `text` and hands the value to `setter`. A host error from either is shown with
    // host::MsgBox and gives false; the setter is expected to leave everything as it was then.
    using Setter = std::function<void(const std::string& property, const host::Variant& value)>;
    bool Apply(const std::string& name, const std::string& text, const Setter& setter) const;

private:
    void CheckPublishedValues(const PropertyRow& row, const host::Variant& value) const;

    std::vector<std::shared_ptr<host::Dispatch>> objects_;
    std::vector<PropertyRow> rows_;
    bool hasMenu_ = false;
};

// The browsable properties of one object, as the grid lists them: own members first, then the
// extender's, each with get and let or set, no arguments, neither hidden nor non-browsable.
std::vector<const host::MemberInfo*> BrowsableProperties(const host::Dispatch& object);

}  // namespace brimlox::designer

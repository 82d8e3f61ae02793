// Property values as the property grid shows and takes them: the kind of each property (from
// its published values and the value it holds), the text a value is shown as, and the
// conversion of typed text back into a value of that kind. Text that cannot become a value of
// the kind raises the host's type mismatch (13) with a description naming the text and what
// was expected; conversions the host itself refuses (an overflow, a missing picture file) keep
// the host's own error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/host/type_info.h"
#include "platform/host/variant.h"

namespace brimlox::designer {

enum class PropertyKind { Text, Number, Boolean, Enumeration, Color, Font, Picture, Object };

// The kind of `member`, whose present value is `value`.
PropertyKind KindOf(const host::MemberInfo& member, const host::Variant& value);

// "vbButtonFace" for the host's OLE colour of system colour 15 (0x8000000F); nothing for other
// values. SystemColorByName is the reverse, ignoring case.
std::optional<std::string> SystemColorName(std::int32_t color);
std::optional<std::int32_t> SystemColorByName(std::string_view name);
// The system colours' names in index order (the colour drop-down lists them).
const char* const* SystemColorNames();
constexpr int kSystemColorCount = 25;

// The text the grid shows for `value` of a property of `kind` with the published `rule`.
std::string ValueText(PropertyKind kind, const host::Variant& value, const host::ValueRule& rule);

// The value typed `text` stands for. `current` is the property's present value: it fixes the
// width of numbers and is the font whose name and size a typed font replaces.
host::Variant ParseValue(PropertyKind kind, std::string_view text, const host::ValueRule& rule,
                         const host::Variant& current);

}  // namespace brimlox::designer

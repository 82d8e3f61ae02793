#include "apps/brimlox/describe_command.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "apps/common/command_line.h"
#include "controls/library.h"
#include "platform/desktop/desktop.h"
#include "platform/host/class_registry.h"
#include "platform/host/control.h"
#include "platform/host/control_registry.h"
#include "platform/host/form.h"
#include "platform/host/host_error.h"
#include "platform/host/type_info.h"

namespace brimlox::cli {

const char* const kDescribeUsage =
    "usage: brimlox describe TYPE\n"
    "       brimlox describe --list\n"
    "\n"
    "Prints the reference of a control type or public class of the library as Markdown: its\n"
    "properties (type, default, values, property-bag key, access, help), methods and events,\n"
    "as its type information publishes them. --list prints the library's type names.\n";

namespace {

int Bad(const std::string& problem) {
    std::fprintf(stderr, "brimlox describe: %s\n", problem.c_str());
    return 2;
}

// Table cells hold one line; a '|' would end the cell.
std::string Cell(std::string text) {
    for (std::size_t at = text.find('|'); at != std::string::npos; at = text.find('|', at + 2)) text.replace(at, 1, "\\|");
    for (char& c : text)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    return text;
}

std::string Number(double v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

// The kind of value a property holds, named as the type library names it.
std::string KindName(const host::Variant& v) {
    switch (v.Type()) {
    case host::VarType::Empty: return "Variant";
    case host::VarType::Boolean: return "Boolean";
    case host::VarType::Byte: return "Byte";
    case host::VarType::Integer: return "Integer";
    case host::VarType::Long: return "Long";
    case host::VarType::Single: return "Single";
    case host::VarType::Double: return "Double";
    case host::VarType::String: return "String";
    case host::VarType::Object: {
        auto object = v.ToObject();
        return object ? object->TypeName() : "Object";
    }
    }
    return "Variant";
}

std::string ValueText(const host::Variant& v) {
    switch (v.Type()) {
    case host::VarType::Empty: return "";
    case host::VarType::Boolean: return v.ToBool() ? "True" : "False";
    case host::VarType::String: return "\"" + v.ToString() + "\"";
    case host::VarType::Object: return v.ToObject() ? "(" + v.ToObject()->TypeName() + ")" : "Nothing";
    case host::VarType::Single:
    case host::VarType::Double: return Number(v.ToDouble());
    case host::VarType::Long:
        if (v.ToLong() < 0) {
            // A system colour (0x800000nn) reads better the way the colour tables write it.
            char hex[16];
            std::snprintf(hex, sizeof hex, "&H%08X&", static_cast<std::uint32_t>(v.ToLong()));
            return hex;
        }
        return v.ToString();
    default: return v.ToString();
    }
}

std::string ValuesText(const host::ValueRule& rule) {
    std::string out;
    for (const auto& m : rule.enumeration) out += (out.empty() ? "" : ", ") + std::to_string(m.value) + " " + m.name;
    if (!rule.minProperty.empty()) return rule.minProperty + " to " + rule.maxProperty;
    if (rule.min || rule.max) {
        if (!out.empty()) out += "; ";
        out += (rule.min ? Number(*rule.min) : "") + " to " + (rule.max ? Number(*rule.max) : "");
    }
    return out;
}

std::string Params(const std::vector<host::ParamInfo>& params) {
    std::string out;
    for (const auto& p : params)
        out += std::string(out.empty() ? "" : ", ") + (p.optional ? "[" : "") + (p.byRef ? "ByRef " : "") + p.name +
               (p.optional ? "]" : "");
    return out;
}

// What describing a property needs from a live instance.
struct PropertyFacts {
    std::string kind, defaultValue, bagKey;
};

// The property's value on a new instance, and whether ReadProperties reads a bag key of the
// property's name: a bag holding just that key, at that value, must come back fully read.
PropertyFacts Facts(host::Dispatch& object, host::Control* control, const host::MemberInfo& m) {
    PropertyFacts f;
    if (!m.HasGet() || !m.params.empty()) return f;
    host::Variant value;
    if (!host::TryInvoke([&] { value = host::GetProperty(object, m.name); })) return f;
    f.kind = KindName(value);
    // A read-only property has no design-time default (and its value may be a handle).
    if (m.HasLet() || m.HasSet()) f.defaultValue = ValueText(value);
    if (control) {
        // A bag drops a value equal to the default it is written with; "Nothing" equals no
        // plain value, so every value but Nothing itself is kept.
        host::PropertyBag bag;
        bag.WriteProperty(m.name, value, host::Variant(std::shared_ptr<host::Dispatch>()));
        if (bag.Contains(m.name) && host::TryInvoke([&] { control->ReadProperties(bag); }) && bag.UnreadKeys().empty())
            f.bagKey = m.name;
    }
    return f;
}

void PrintProperties(std::ostream& out, host::Dispatch& object, host::Control* control, const host::TypeInfo& info) {
    out << "## Properties\n\n"
           "| Property | Type | Default | Values | Bag key | Access | Description |\n"
           "| --- | --- | --- | --- | --- | --- | --- |\n";
    for (const auto& m : info.Members()) {
        if (m.kind != host::MemberKind::Property) continue;
        const PropertyFacts f = Facts(object, control, m);
        std::string access = std::string(m.HasGet() ? "get" : "") + (m.HasLet() ? (m.HasGet() ? ", let" : "let") : "") +
                             (m.HasSet() ? ((m.HasGet() || m.HasLet()) ? ", set" : "set") : "");
        std::string name = m.name + (m.params.empty() ? "" : "(" + Params(m.params) + ")");
        if (m.hidden) name += " (hidden)";
        out << "| " << Cell(name) << " | " << Cell(f.kind) << " | " << Cell(f.defaultValue) << " | "
            << Cell(ValuesText(m.values)) << " | " << Cell(f.bagKey) << " | " << access << " | " << Cell(m.help) << " |\n";
    }
}

void PrintMembers(std::ostream& out, const host::TypeInfo& info, host::MemberKind kind) {
    const bool events = kind == host::MemberKind::Event;
    out << (events ? "\n## Events\n\n| Event | Dispatch id | Arguments | Description |\n| --- | --- | --- | --- |\n"
                   : "\n## Methods\n\n| Method | Dispatch id | Arguments | Description |\n| --- | --- | --- | --- |\n");
    for (const auto& m : info.Members())
        if (m.kind == kind)
            out << "| " << Cell(m.name + (m.hidden ? " (hidden)" : "")) << " | " << m.dispId << " | "
                << Cell(Params(m.params)) << " | " << Cell(m.help) << " |\n";
}

// The caption grammar of the popup-menu item list, for the types that carry one.
const char* const kMenuCaptionGrammar = R"(
## Menu caption grammar

Each item of the popup menu (`AddMenu`, `MenuItemCaption`) is one caption:

- Leading `>` characters give the item's level: an item one level deeper than the item before
  it opens that item's submenu (levels 0 to 15; deeper captions join level 15). The text after
  the last `>` is what the item shows.
- `-` alone is a separator line; `|` alone starts a new column with the next item.
- Text that begins with `[` is a title bar, and text that begins with `-` a titled separator:
  both are drawn grayed and cannot be chosen (`[`, `]` and `-` are not shown).
- `\t` (a backslash and a `t`) separates the item's text from shortcut text, which is drawn
  right-aligned.
- `&` underlines the character after it, the item's access key.
)";

std::string Describe(const std::string& typeName) {
    auto form = host::Form::Create("frmDescribe", true);
    std::shared_ptr<host::Dispatch> object;
    host::Control* control = nullptr;
    bool isControl = host::IsControlType(typeName);
    if (isControl) {
        auto c = form->Add(typeName);
        control = c.get();
        object = c;
    } else {
        object = host::CreateObject(typeName);
    }
    const host::TypeInfo* info = object->GetTypeInfo();
    std::ostringstream out;
    out << "# " << object->TypeName() << "\n\n"
        << (isControl ? "A control type: forms create it by this name (`Form::Add`, `\"type\"` in form files)."
                      : "A public class: code creates it with `CreateObject(\"Brimlox." + object->TypeName() + "\")`.")
        << " Generated by `brimlox describe " << object->TypeName()
        << "` from the type information the " << (isControl ? "control" : "class")
        << " publishes; the default is the value of a new instance of a property that can be set, and the bag key is the property-bag key it"
           " is saved under in form files (values equal to the default are not written).\n\n";
    if (info) {
        PrintProperties(out, *object, control, *info);
        PrintMembers(out, *info, host::MemberKind::Method);
        PrintMembers(out, *info, host::MemberKind::Event);
        if (info->Find("AddMenu")) out << kMenuCaptionGrammar;
    }
    form->Discard();
    return out.str();
}

}  // namespace

int RunDescribe(int argc, char** argv) {
    static const apps::OptionRule kOptions[] = {{"--help", false}, {"-h", false}, {"--list", false}};
    apps::CommandLine line;
    if (auto problem = line.Parse(apps::ArgumentsAfter(argc, argv, 2), kOptions)) return Bad(*problem + " (try --help)");
    if (line.Has("--help") || line.Has("-h")) return std::fputs(kDescribeUsage, stdout), 0;
    desktop::Desktop::Instance().Configure({1024, 768, 15, true});
    controls::RegisterLibrary();
    std::string known;
    for (const auto& n : controls::LibraryControlTypes()) known += (known.empty() ? "" : ", ") + n;
    for (const auto& n : controls::LibraryClasses()) known += ", " + n;
    if (line.Has("--list")) {
        if (!line.Positional().empty()) return Bad("--list takes no type");
        for (const auto& n : controls::LibraryControlTypes()) std::printf("%s\n", n.c_str());
        for (const auto& n : controls::LibraryClasses()) std::printf("%s\n", n.c_str());
        return 0;
    }
    if (line.Positional().size() != 1) return Bad("give one type name (" + known + ")");
    const std::string type = line.Positional()[0];
    if (!host::IsControlType(type) && !host::IsCreatableClass(type))
        return Bad("unknown type '" + type + "' (the library's types: " + known + ")");
    try {
        std::fputs(Describe(type).c_str(), stdout);
    } catch (const host::HostError& e) {
        std::fprintf(stderr, "brimlox describe: %s: %s\n", type.c_str(), e.what());
        return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace brimlox::cli

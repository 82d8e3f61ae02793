// Type information and late binding. Every control and public class describes its interface
// here, in interface order: properties (get, let, set), methods and events, each with its
// dispatch id, help string and flags. Late-bound calls (Invoke by name) go through this table,
// so a call on an object that lacks the member raises runtime error 438, which the "errors
// ignored" call sites of the controls catch; the property browser reads the same table.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/host_error.h"
#include "platform/host/variant.h"

namespace brimlox::host {

// How a member is invoked (the values of the DISPATCH_* flags).
enum class InvokeKind { Method = 1, PropertyGet = 2, PropertyLet = 4, PropertySet = 8 };
enum class MemberKind { Property, Method, Event };

struct ParamInfo {
    std::string name;
    bool optional = false;
    bool byRef = false;
};

using MemberCall = std::function<Variant(Dispatch& self, std::span<Variant> args)>;

// The values a property takes, published for property browsers and form-file checks: the
// members of its enumeration, fixed bounds, or bounds held by two other properties of the same
// object (a scroll bar's Value lies between its Min and Max, in either order).
struct EnumMember {
    std::int32_t value = 0;
    std::string name;
};
struct ValueRule {
    std::vector<EnumMember> enumeration;
    std::optional<double> min, max;
    std::string minProperty, maxProperty;

    bool Empty() const { return enumeration.empty() && !min && !max && minProperty.empty(); }
};

struct MemberInfo {
    std::string name;
    MemberKind kind = MemberKind::Method;
    int dispId = 0;
    std::string help;
    bool hidden = false;
    bool nonBrowsable = false;
    std::vector<ParamInfo> params;  // method and event arguments, indexed property arguments
    MemberCall get, let, set, call; // the bound implementations that exist
    ValueRule values;               // properties: the values they take, when published

    bool HasGet() const { return static_cast<bool>(get); }
    bool HasLet() const { return static_cast<bool>(let); }
    bool HasSet() const { return static_cast<bool>(set); }
    std::size_t RequiredParams() const;
};

class TypeInfo {
public:
    explicit TypeInfo(std::string name) : name_(std::move(name)) {}
    const std::string& Name() const { return name_; }

    // Adds a member at the end of the interface; a member of the same name and kind is merged
    // (a property's get and let may be added separately).
    MemberInfo& Add(MemberInfo member);
    // Case-insensitive lookup, as the host's language is; events are found by FindEvent.
    const MemberInfo* Find(std::string_view name) const;
    const MemberInfo* FindEvent(std::string_view name) const;
    const std::vector<MemberInfo>& Members() const { return members_; }

private:
    // Positions of members by case-insensitive name (open addressing), so a late-bound call
    // costs the same whether its member comes first or sixtieth in the interface.
    class NameIndex {
    public:
        void Insert(const std::vector<MemberInfo>& members, std::size_t position);
        const MemberInfo* Find(const std::vector<MemberInfo>& members, std::string_view name) const;

    private:
        void Grow(const std::vector<MemberInfo>& members);
        std::vector<std::int32_t> slots_;  // member positions, -1 for free
        std::size_t count_ = 0;
    };

    std::string name_;
    std::vector<MemberInfo> members_;
    NameIndex events_;
    NameIndex others_;
};

// The registry of type descriptions by type name (for TypeName, form files and the browser).
void RegisterType(std::shared_ptr<const TypeInfo> info);
std::shared_ptr<const TypeInfo> FindType(std::string_view name);

// Late-bound calls. Missing members raise 438, missing required arguments 449, too many
// arguments 450; errors raised by the member itself pass through unchanged.
Variant Invoke(Dispatch& object, std::string_view name, InvokeKind kind, std::span<Variant> args);
Variant GetProperty(Dispatch& object, std::string_view name);
// Whether a late-bound call of this name finds a member (the object's own or its host's).
bool HasMember(const Dispatch& object, std::string_view name);
void LetProperty(Dispatch& object, std::string_view name, Variant value);
Variant CallMethod(Dispatch& object, std::string_view name, std::vector<Variant> args = {});

// Runs a late-bound step with errors ignored: returns false (and does nothing more) when the
// object raised a host error, as the controls' "errors ignored" call sites expect.
bool TryInvoke(const std::function<void()>& step);

}  // namespace brimlox::host

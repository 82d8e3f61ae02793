#include "platform/host/type_info.h"

#include <algorithm>
#include <cctype>

namespace brimlox::host {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::map<std::string, std::shared_ptr<const TypeInfo>, std::less<>>& Registry() {
    static std::map<std::string, std::shared_ptr<const TypeInfo>, std::less<>> registry;
    return registry;
}

void MergeInto(MemberInfo& into, MemberInfo&& from) {
    if (from.get) into.get = std::move(from.get);
    if (from.let) into.let = std::move(from.let);
    if (from.set) into.set = std::move(from.set);
    if (from.call) into.call = std::move(from.call);
    if (into.help.empty()) into.help = std::move(from.help);
}

void CheckArguments(const MemberInfo& m, std::size_t given, std::size_t extra) {
    // `extra` is the value argument of a let or set, which is not among the parameters.
    if (given < m.RequiredParams() + extra) throw HostError(kErrArgumentNotOptional);
    if (given > m.params.size() + extra) throw HostError(kErrWrongArgumentCount);
}

// The object's own member first, then the member its host adds around it.
const MemberInfo* FindMember(const Dispatch& object, std::string_view name) {
    const TypeInfo* info = object.GetTypeInfo();
    const MemberInfo* m = info ? info->Find(name) : nullptr;
    if (m) return m;
    const TypeInfo* extender = object.GetExtenderTypeInfo();
    return extender ? extender->Find(name) : nullptr;
}

}  // namespace

std::size_t MemberInfo::RequiredParams() const {
    std::size_t n = 0;
    for (const ParamInfo& p : params) n += p.optional ? 0 : 1;
    return n;
}

MemberInfo& TypeInfo::Add(MemberInfo member) {
    for (MemberInfo& existing : members_) {
        if (existing.kind == member.kind && SameName(existing.name, member.name)) {
            MergeInto(existing, std::move(member));
            return existing;
        }
    }
    members_.push_back(std::move(member));
    return members_.back();
}

const MemberInfo* TypeInfo::Find(std::string_view name) const {
    for (const MemberInfo& m : members_)
        if (m.kind != MemberKind::Event && SameName(m.name, name)) return &m;
    return nullptr;
}

const MemberInfo* TypeInfo::FindEvent(std::string_view name) const {
    for (const MemberInfo& m : members_)
        if (m.kind == MemberKind::Event && SameName(m.name, name)) return &m;
    return nullptr;
}

void RegisterType(std::shared_ptr<const TypeInfo> info) { Registry()[info->Name()] = std::move(info); }

std::shared_ptr<const TypeInfo> FindType(std::string_view name) {
    auto it = Registry().find(name);
    return it == Registry().end() ? nullptr : it->second;
}

Variant Invoke(Dispatch& object, std::string_view name, InvokeKind kind, std::span<Variant> args) {
    const MemberInfo* m = FindMember(object, name);
    if (!m) throw HostError(kErrMemberNotFound);
    switch (kind) {
        case InvokeKind::PropertyGet:
            // A method without arguments can be read like a property, as the host allows.
            if (m->get) {
                CheckArguments(*m, args.size(), 0);
                return m->get(object, args);
            }
            if (m->call) {
                CheckArguments(*m, args.size(), 0);
                return m->call(object, args);
            }
            break;
        case InvokeKind::PropertyLet:
            if (m->let) {
                CheckArguments(*m, args.size(), 1);
                return m->let(object, args);
            }
            break;
        case InvokeKind::PropertySet:
            if (m->set) {
                CheckArguments(*m, args.size(), 1);
                return m->set(object, args);
            }
            break;
        case InvokeKind::Method:
            if (m->call) {
                CheckArguments(*m, args.size(), 0);
                return m->call(object, args);
            }
            if (m->get) {
                CheckArguments(*m, args.size(), 0);
                return m->get(object, args);
            }
            break;
    }
    throw HostError(kErrMemberNotFound);
}

Variant GetProperty(Dispatch& object, std::string_view name) {
    return Invoke(object, name, InvokeKind::PropertyGet, {});
}

void LetProperty(Dispatch& object, std::string_view name, Variant value) {
    Variant args[1] = {std::move(value)};
    // Objects are assigned with set when the member has one, values with let.
    bool objectValue = args[0].IsObject();
    const MemberInfo* m = FindMember(object, name);
    InvokeKind kind = objectValue && m && m->set ? InvokeKind::PropertySet : InvokeKind::PropertyLet;
    Invoke(object, name, kind, args);
}

Variant CallMethod(Dispatch& object, std::string_view name, std::vector<Variant> args) {
    return Invoke(object, name, InvokeKind::Method, args);
}

bool TryInvoke(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const HostError&) {
        return false;
    }
}

}  // namespace brimlox::host

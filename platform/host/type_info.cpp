#include "platform/host/type_info.h"

#include <algorithm>
#include <cstring>

namespace brimlox::host {

namespace {

// Member names are ASCII identifiers, compared without regard to case as the host's language
// does; folding by hand keeps the locale out of every late-bound call.
constexpr unsigned char FoldCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    // Callers mostly spell a member as it is declared: one comparison of bytes settles that.
    if (std::memcmp(a.data(), b.data(), a.size()) == 0) return true;
    return std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

// Eight characters at a time. Setting bit 5 of every byte folds the case of letters (and only
// merges pairs of characters that identifiers do not contain), which is all a hash needs:
// SameName decides.
std::size_t NameHash(std::string_view name) {
    std::uint64_t h = name.size() * 0x9E3779B97F4A7C15ull;
    std::size_t at = 0;
    for (; at + 8 <= name.size(); at += 8) {
        std::uint64_t chunk;
        std::memcpy(&chunk, name.data() + at, 8);
        h = (h ^ (chunk | 0x2020202020202020ull)) * 0xBF58476D1CE4E5B9ull;
    }
    if (at < name.size()) {
        std::uint64_t chunk = 0;
        for (std::size_t i = at; i < name.size(); ++i)
            chunk |= static_cast<std::uint64_t>(static_cast<unsigned char>(name[i])) << (8 * (i - at));
        h = (h ^ (chunk | 0x2020202020202020ull)) * 0xBF58476D1CE4E5B9ull;
    }
    h ^= h >> 31;  // the low bits, which pick the slot, then depend on every character
    return static_cast<std::size_t>(h ^ (h >> 17));
}

// A slot holds a member's position in its low 16 bits and 15 further bits of the name's hash
// above them, so a probe that meets another name is mostly turned away without comparing
// strings.
constexpr std::uint32_t kPositionMask = 0xFFFF;
constexpr std::size_t kMaxMembers = kPositionMask + 1;

std::int32_t SlotTag(std::size_t hash) { return static_cast<std::int32_t>((hash >> 48) & 0x7FFF); }

std::int32_t SlotValue(std::size_t position, std::size_t hash) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(SlotTag(hash)) << 16) | position);
}

std::size_t SlotPosition(std::int32_t slot) { return static_cast<std::uint32_t>(slot) & kPositionMask; }

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
    if (!from.values.Empty()) into.values = std::move(from.values);
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

void TypeInfo::NameIndex::Insert(const std::vector<MemberInfo>& members, std::size_t position) {
    if (position >= kMaxMembers) throw HostError(7, "An interface holds at most 65536 members");
    if ((count_ + 1) * 2 > slots_.size()) Grow(members);
    const std::size_t mask = slots_.size() - 1;
    const std::size_t hash = NameHash(members[position].name);
    std::size_t i = hash & mask;
    while (slots_[i] >= 0) i = (i + 1) & mask;
    slots_[i] = SlotValue(position, hash);
    ++count_;
}

void TypeInfo::NameIndex::Grow(const std::vector<MemberInfo>& members) {
    std::vector<std::int32_t> old = std::move(slots_);
    slots_.assign(std::max<std::size_t>(16, old.size() * 2), -1);
    count_ = 0;
    for (std::int32_t slot : old)
        if (slot >= 0) Insert(members, SlotPosition(slot));
}

const MemberInfo* TypeInfo::NameIndex::Find(const std::vector<MemberInfo>& members, std::string_view name) const {
    if (slots_.empty()) return nullptr;
    const std::size_t mask = slots_.size() - 1;
    const std::size_t hash = NameHash(name);
    const std::int32_t tag = SlotTag(hash);
    for (std::size_t i = hash & mask; slots_[i] >= 0; i = (i + 1) & mask) {
        if ((slots_[i] >> 16) != tag) continue;
        const MemberInfo& m = members[SlotPosition(slots_[i])];
        if (SameName(m.name, name)) return &m;
    }
    return nullptr;
}

MemberInfo& TypeInfo::Add(MemberInfo member) {
    NameIndex& index = member.kind == MemberKind::Event ? events_ : others_;
    const MemberInfo* first = index.Find(members_, member.name);
    if (first) {
        // Merged into the member of the same name and kind. A property and a method of one
        // name stay two members, and the first one answers lookups.
        for (MemberInfo& existing : members_) {
            if (existing.kind == member.kind && SameName(existing.name, member.name)) {
                MergeInto(existing, std::move(member));
                return existing;
            }
        }
    }
    members_.push_back(std::move(member));
    if (!first) index.Insert(members_, members_.size() - 1);
    return members_.back();
}

const MemberInfo* TypeInfo::Find(std::string_view name) const { return others_.Find(members_, name); }

const MemberInfo* TypeInfo::FindEvent(std::string_view name) const { return events_.Find(members_, name); }

void RegisterType(std::shared_ptr<const TypeInfo> info) { Registry()[info->Name()] = std::move(info); }

std::shared_ptr<const TypeInfo> FindType(std::string_view name) {
    auto it = Registry().find(name);
    return it == Registry().end() ? nullptr : it->second;
}

namespace {

Variant InvokeMember(Dispatch& object, const MemberInfo* m, InvokeKind kind, std::span<Variant> args) {
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

}  // namespace

Variant Invoke(Dispatch& object, std::string_view name, InvokeKind kind, std::span<Variant> args) {
    return InvokeMember(object, FindMember(object, name), kind, args);
}

bool HasMember(const Dispatch& object, std::string_view name) { return FindMember(object, name) != nullptr; }

Variant GetProperty(Dispatch& object, std::string_view name) {
    return Invoke(object, name, InvokeKind::PropertyGet, {});
}

void LetProperty(Dispatch& object, std::string_view name, Variant value) {
    Variant args[1] = {std::move(value)};
    // Objects are assigned with set when the member has one, values with let.
    bool objectValue = args[0].IsObject();
    const MemberInfo* m = FindMember(object, name);
    InvokeKind kind = objectValue && m && m->set ? InvokeKind::PropertySet : InvokeKind::PropertyLet;
    InvokeMember(object, m, kind, args);
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

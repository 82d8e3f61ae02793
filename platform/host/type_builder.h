// TypeBuilder: describes a C++ class's interface for late binding by naming its member
// functions. Values cross the boundary as Variants, converted by the host's rules:
//
//     TypeBuilder<Command>("Command")
//         .Property("Caption", &Command::Caption, &Command::SetCaption,
//                   "Sets/Returns the caption that is displayed on the button.")
//         .Event("Click", -600, "Occurs when the user presses and then releases a mouse button over an object.")
//         .Build();
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/host/type_info.h"

namespace brimlox::host {

// ---- Variant conversions for bound members ---------------------------------------------------
template <typename T>
struct VariantCast;

template <> struct VariantCast<Variant> {
    static Variant From(const Variant& v) { return v; }
    static Variant To(Variant v) { return v; }
};
template <> struct VariantCast<bool> {
    static bool From(const Variant& v) { return v.ToBool(); }
    static Variant To(bool v) { return Variant(v); }
};
template <> struct VariantCast<std::uint8_t> {
    static std::uint8_t From(const Variant& v) { return v.ToByte(); }
    static Variant To(std::uint8_t v) { return Variant(v); }
};
template <> struct VariantCast<std::int16_t> {
    static std::int16_t From(const Variant& v) { return v.ToInteger(); }
    static Variant To(std::int16_t v) { return Variant(v); }
};
template <> struct VariantCast<std::int32_t> {
    static std::int32_t From(const Variant& v) { return v.ToLong(); }
    static Variant To(std::int32_t v) { return Variant(v); }
};
// OLE_COLOR and other 32-bit unsigned values travel as the Long with the same bits.
template <> struct VariantCast<std::uint32_t> {
    static std::uint32_t From(const Variant& v) {
        double d = v.ToDouble();
        if (d >= 2147483648.0 && d <= 4294967295.0) return static_cast<std::uint32_t>(d);
        return static_cast<std::uint32_t>(v.ToLong());
    }
    static Variant To(std::uint32_t v) { return Variant(static_cast<std::int32_t>(v)); }
};
template <> struct VariantCast<float> {
    static float From(const Variant& v) { return v.ToSingle(); }
    static Variant To(float v) { return Variant(v); }
};
template <> struct VariantCast<double> {
    static double From(const Variant& v) { return v.ToDouble(); }
    static Variant To(double v) { return Variant(v); }
};
template <> struct VariantCast<std::string> {
    static std::string From(const Variant& v) { return v.ToString(); }
    static Variant To(std::string v) { return Variant(std::move(v)); }
};
template <typename U> struct VariantCast<std::shared_ptr<U>> {
    static std::shared_ptr<U> From(const Variant& v) {
        auto object = v.ToObject();
        if (!object) return nullptr;
        auto typed = std::dynamic_pointer_cast<U>(object);
        if (!typed) throw HostError(kErrTypeMismatch);
        return typed;
    }
    static Variant To(std::shared_ptr<U> v) { return Variant(std::static_pointer_cast<Dispatch>(std::move(v))); }
};

template <typename T>
using Plain = std::remove_cvref_t<T>;

struct MemberFlags {
    bool hidden = false;
    bool nonBrowsable = false;
};

template <typename T>
class TypeBuilder {
public:
    explicit TypeBuilder(std::string name) : info_(std::make_shared<TypeInfo>(std::move(name))) {}

    // Getters and setters may belong to a base class of T (a control's inherited surface members).
    template <typename R, typename C>
        requires std::is_base_of_v<C, T>
    TypeBuilder& Get(std::string name, R (C::*getter)() const, std::string help, int dispId = 0, MemberFlags flags = {}) {
        MemberInfo m = Base(std::move(name), MemberKind::Property, std::move(help), dispId, flags);
        m.get = [getter](Dispatch& self, std::span<Variant>) {
            return VariantCast<Plain<R>>::To((Self(self).*getter)());
        };
        info_->Add(std::move(m));
        return *this;
    }

    template <typename A, typename C>
        requires std::is_base_of_v<C, T>
    TypeBuilder& Let(std::string name, void (C::*setter)(A), std::string help = "", int dispId = 0, MemberFlags flags = {}) {
        MemberInfo m = Base(std::move(name), MemberKind::Property, std::move(help), dispId, flags);
        auto call = [setter](Dispatch& self, std::span<Variant> args) {
            (Self(self).*setter)(VariantCast<Plain<A>>::From(args.back()));
            return Variant();
        };
        // Object-valued properties are assigned with set, others with let.
        if constexpr (IsObject<Plain<A>>()) m.set = call;
        else m.let = call;
        info_->Add(std::move(m));
        return *this;
    }

    template <typename R, typename A, typename C1, typename C2>
    TypeBuilder& Property(std::string name, R (C1::*getter)() const, void (C2::*setter)(A), std::string help,
                          int dispId = 0, MemberFlags flags = {}) {
        Get(name, getter, help, dispId, flags);
        return Let(std::move(name), setter, std::move(help), dispId, flags);
    }

    // A method bound to a callable taking the object and its arguments (optional ones may be
    // missing from the span; by-reference ones may be written back).
    TypeBuilder& Method(std::string name, std::function<Variant(T&, std::span<Variant>)> body, std::string help,
                        std::vector<ParamInfo> params = {}, int dispId = 0, MemberFlags flags = {}) {
        MemberInfo m = Base(std::move(name), MemberKind::Method, std::move(help), dispId, flags);
        m.params = std::move(params);
        m.call = [body = std::move(body)](Dispatch& self, std::span<Variant> args) { return body(Self(self), args); };
        info_->Add(std::move(m));
        return *this;
    }

    TypeBuilder& Event(std::string name, int dispId, std::string help, std::vector<ParamInfo> params = {}) {
        MemberInfo m = Base(std::move(name), MemberKind::Event, std::move(help), dispId, {});
        m.params = std::move(params);
        info_->Add(std::move(m));
        return *this;
    }

    // Publishes the values of a property added before: its enumeration, its fixed bounds, or
    // the two properties that bound it.
    TypeBuilder& Enumeration(std::string name, std::vector<EnumMember> members) {
        return Rule(std::move(name), [&](ValueRule& r) { r.enumeration = std::move(members); });
    }
    TypeBuilder& Range(std::string name, double min, double max) {
        return Rule(std::move(name), [&](ValueRule& r) { r.min = min, r.max = max; });
    }
    TypeBuilder& RangeOf(std::string name, std::string minProperty, std::string maxProperty) {
        return Rule(std::move(name), [&](ValueRule& r) {
            r.minProperty = std::move(minProperty);
            r.maxProperty = std::move(maxProperty);
        });
    }

    // Adds members written by hand (shared member sets such as a control's extender).
    TypeBuilder& With(const std::function<void(TypeInfo&)>& add) {
        add(*info_);
        return *this;
    }

    // Registers the description and returns it for the class's GetTypeInfo.
    std::shared_ptr<const TypeInfo> Build() {
        RegisterType(info_);
        return info_;
    }

private:
    template <typename A>
    static constexpr bool IsObject() {
        if constexpr (requires { typename A::element_type; }) return std::is_base_of_v<Dispatch, typename A::element_type>;
        else return false;
    }
    static T& Self(Dispatch& d) { return static_cast<T&>(d); }
    TypeBuilder& Rule(std::string name, const std::function<void(ValueRule&)>& fill) {
        MemberInfo m;
        m.name = std::move(name);
        m.kind = MemberKind::Property;
        fill(m.values);
        info_->Add(std::move(m));
        return *this;
    }
    static MemberInfo Base(std::string name, MemberKind kind, std::string help, int dispId, MemberFlags flags) {
        MemberInfo m;
        m.name = std::move(name);
        m.kind = kind;
        m.help = std::move(help);
        m.dispId = dispId;
        m.hidden = flags.hidden;
        m.nonBrowsable = flags.nonBrowsable;
        return m;
    }

    std::shared_ptr<TypeInfo> info_;
};

}  // namespace brimlox::host

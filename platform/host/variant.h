// Variant: the host's dynamically typed value. Property bags, late-bound calls, event
// arguments and menu item tags all carry Variants. Conversions follow the host's rules:
// Booleans are -1 and 0, floating values become integers by rounding halves to even (unless a
// caller asks for truncation), a value outside the target range raises runtime error 6 and an
// impossible conversion runtime error 13.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace brimlox::host {

class TypeInfo;

// Base of every object a Variant can hold: controls, forms, pictures, fonts.
class Dispatch : public std::enable_shared_from_this<Dispatch> {
public:
    virtual ~Dispatch() = default;
    // The type name the host reports (TypeName), e.g. "Command" or "Picture".
    virtual std::string TypeName() const = 0;
    // The interface late-bound calls go through; nullptr for objects without one.
    virtual const TypeInfo* GetTypeInfo() const { return nullptr; }
    // Members the host adds around the object (a control's extender: Name, Left, Container ...),
    // searched by late-bound calls after the object's own interface.
    virtual const TypeInfo* GetExtenderTypeInfo() const { return nullptr; }
};

enum class VarType { Empty, Boolean, Byte, Integer, Long, Single, Double, String, Object };

class Variant {
public:
    Variant() = default;
    Variant(bool v) : value_(v) {}
    Variant(std::uint8_t v) : value_(v) {}
    Variant(std::int16_t v) : value_(v) {}
    Variant(std::int32_t v) : value_(v) {}
    Variant(float v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(std::string v) : value_(std::move(v)) {}
    Variant(const char* v) : value_(std::string(v ? v : "")) {}
    Variant(std::shared_ptr<Dispatch> v) : value_(std::move(v)) {}

    VarType Type() const { return static_cast<VarType>(value_.index()); }
    bool IsEmpty() const { return Type() == VarType::Empty; }
    bool IsNumeric() const;  // Boolean, Byte, Integer, Long, Single, Double (not Empty)
    bool IsString() const { return Type() == VarType::String; }
    bool IsObject() const { return Type() == VarType::Object; }

    bool ToBool() const;
    std::uint8_t ToByte() const;
    std::int16_t ToInteger() const;
    std::int32_t ToLong() const;
    float ToSingle() const;
    double ToDouble() const;
    std::string ToString() const;
    std::shared_ptr<Dispatch> ToObject() const;  // Empty gives nullptr ("Nothing")
    template <typename T>
    std::shared_ptr<T> As() const {
        return std::dynamic_pointer_cast<T>(ToObject());
    }

    // The host's "=" on two values: numbers compare by value whatever their width, Empty
    // equals 0 and "", a numeric string equals the number it spells, strings compare exactly,
    // objects by identity. Never raises: values that cannot be compared are unequal.
    friend bool operator==(const Variant& a, const Variant& b);

private:
    std::variant<std::monostate, bool, std::uint8_t, std::int16_t, std::int32_t, float, double, std::string,
                 std::shared_ptr<Dispatch>>
        value_;
};

// Round to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double v);

// The numeric value of a string as the host reads numbers (leading/trailing blanks allowed,
// a point as decimal separator, "&H" hexadecimal); nothing when it is not a number.
bool ParseNumber(const std::string& s, double* out);

// The host's text for a number: up to 7 significant digits for singles, 15 for doubles,
// no trailing zeros, a point as decimal separator.
std::string FormatNumber(double v, int significantDigits);

}  // namespace brimlox::host

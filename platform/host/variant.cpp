#include "platform/host/variant.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/host/host_error.h"

namespace brimlox::host {

// Halves go to the even neighbour whatever the floating-point rounding mode is; asking the
// mode (fegetround) each time cost more than the rounding itself.
double RoundHalfEven(double v) {
    const double f = std::floor(v);
    const double diff = v - f;
    return diff > 0.5 ? f + 1 : diff < 0.5 ? f : (std::fmod(f, 2.0) == 0 ? f : f + 1);
}

bool ParseNumber(const std::string& s, double* out) {
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return false;
    std::size_t e = s.find_last_not_of(" \t");
    std::string t = s.substr(b, e - b + 1);
    if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h')) {
        char* end = nullptr;
        errno = 0;
        unsigned long long v = std::strtoull(t.c_str() + 2, &end, 16);
        if (errno || *end || v > 0xFFFFFFFFull) return false;
        // Hexadecimal literals of up to 8 digits are 32-bit signed values.
        *out = v > 0xFFFF ? static_cast<double>(static_cast<std::int32_t>(v))
                          : static_cast<double>(static_cast<std::int16_t>(v));
        return true;
    }
    for (char c : t)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return false;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(t.c_str(), &end);
    if (errno == ERANGE || *end || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

std::string FormatNumber(double v, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", digits, v);
    std::string s = buf;
    if (s.find('e') == std::string::npos && s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

bool Variant::IsNumeric() const {
    switch (Type()) {
        case VarType::Boolean: case VarType::Byte: case VarType::Integer: case VarType::Long:
        case VarType::Single: case VarType::Double: return true;
        default: return false;
    }
}

namespace {

// The value as a double, or a type mismatch.
double NumericValue(const Variant& v, const auto& value) {
    switch (v.Type()) {
        case VarType::Empty: return 0;
        case VarType::Boolean: return std::get<bool>(value) ? -1 : 0;
        case VarType::Byte: return std::get<std::uint8_t>(value);
        case VarType::Integer: return std::get<std::int16_t>(value);
        case VarType::Long: return std::get<std::int32_t>(value);
        case VarType::Single: return std::get<float>(value);
        case VarType::Double: return std::get<double>(value);
        case VarType::String: {
            const std::string& s = std::get<std::string>(value);
            double d;
            if (ParseNumber(s, &d)) return d;
            if (s == "True" || s == "true" || s == "TRUE") return -1;
            if (s == "False" || s == "false" || s == "FALSE") return 0;
            throw HostError(kErrTypeMismatch);
        }
        case VarType::Object: throw HostError(kErrTypeMismatch);
    }
    throw HostError(kErrTypeMismatch);
}

double RoundedInRange(double d, double lo, double hi) {
    double r = RoundHalfEven(d);
    if (!(r >= lo && r <= hi)) throw HostError(kErrOverflow);
    return r;
}

}  // namespace

bool Variant::ToBool() const { return NumericValue(*this, value_) != 0; }
std::uint8_t Variant::ToByte() const { return static_cast<std::uint8_t>(RoundedInRange(NumericValue(*this, value_), 0, 255)); }
std::int16_t Variant::ToInteger() const {
    // Whole-number kinds that fit need neither rounding nor the trip through double.
    switch (Type()) {
        case VarType::Integer: return std::get<std::int16_t>(value_);
        case VarType::Byte: return std::get<std::uint8_t>(value_);
        case VarType::Boolean: return std::get<bool>(value_) ? -1 : 0;
        default: return static_cast<std::int16_t>(RoundedInRange(NumericValue(*this, value_), -32768, 32767));
    }
}
std::int32_t Variant::ToLong() const {
    // Whole-number kinds need neither rounding nor the trip through double.
    switch (Type()) {
        case VarType::Long: return std::get<std::int32_t>(value_);
        case VarType::Integer: return std::get<std::int16_t>(value_);
        case VarType::Byte: return std::get<std::uint8_t>(value_);
        case VarType::Boolean: return std::get<bool>(value_) ? -1 : 0;
        default:
            return static_cast<std::int32_t>(RoundedInRange(NumericValue(*this, value_), -2147483648.0, 2147483647.0));
    }
}
float Variant::ToSingle() const {
    double d = NumericValue(*this, value_);
    if (std::fabs(d) > std::numeric_limits<float>::max()) throw HostError(kErrOverflow);
    return static_cast<float>(d);
}
double Variant::ToDouble() const { return NumericValue(*this, value_); }

std::string Variant::ToString() const {
    switch (Type()) {
        case VarType::Empty: return "";
        case VarType::Boolean: return std::get<bool>(value_) ? "True" : "False";
        case VarType::String: return std::get<std::string>(value_);
        case VarType::Single: return FormatNumber(std::get<float>(value_), 7);
        case VarType::Object: throw HostError(kErrTypeMismatch);
        default: return FormatNumber(NumericValue(*this, value_), 15);
    }
}

std::shared_ptr<Dispatch> Variant::ToObject() const {
    if (Type() == VarType::Empty) return nullptr;
    if (Type() != VarType::Object) throw HostError(kErrTypeMismatch);
    return std::get<std::shared_ptr<Dispatch>>(value_);
}

bool operator==(const Variant& a, const Variant& b) {
    if (a.IsObject() || b.IsObject()) {
        return a.IsObject() && b.IsObject() && a.ToObject() == b.ToObject();
    }
    if (a.IsString() && b.IsString()) return a.ToString() == b.ToString();
    if (a.IsEmpty() && b.IsString()) return b.ToString().empty();
    if (b.IsEmpty() && a.IsString()) return a.ToString().empty();
    try {
        return a.ToDouble() == b.ToDouble();
    } catch (const HostError&) {
        return false;
    }
}

}  // namespace brimlox::host

#include "foundation/persistence/persist_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace brimlox::foundation {

namespace {

constexpr std::size_t kFormFields = 5;
constexpr std::size_t kWindowFields = 14;
constexpr double kMaxIndexPlusOne = 32768;  // a 16-bit index + 1

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Digits with at most one point and at least one digit, after an optional minus sign.
bool IsPlainDecimal(std::string_view s) {
    if (!s.empty() && s.front() == '-') s.remove_prefix(1);
    bool digit = false, point = false;
    for (char c : s) {
        if (c >= '0' && c <= '9') digit = true;
        else if (c == '.' && !point) point = true;
        else return false;
    }
    return digit;
}

double Clamp(double v, double lo, double hi) { return std::isfinite(v) ? std::clamp(v, lo, hi) : 0.0; }

// A parsed number within [lo, hi], or nothing.
std::optional<double> Bounded(std::string_view field, double lo, double hi) {
    auto v = ParseLayoutNumber(field);
    if (!v || *v < lo || *v > hi) return std::nullopt;
    return v;
}

std::optional<double> Coordinate(std::string_view f) { return Bounded(f, -kMaxLayoutCoordinate, kMaxLayoutCoordinate); }
std::optional<double> Size(std::string_view f) { return Bounded(f, -kMaxLayoutCoordinate, kMaxLayoutSize); }

// An index + 1 field: a whole number from 0 (no index) to 32768; the index itself is returned.
std::optional<std::int16_t> IndexField(std::string_view f) {
    auto v = Bounded(f, 0, kMaxIndexPlusOne);
    if (!v || std::floor(*v) != *v) return std::nullopt;
    return static_cast<std::int16_t>(*v - 1);
}

// A whole number within [lo, hi], or `fallback` for any other well-formed number.
std::int32_t WholeOr(double v, std::int32_t lo, std::int32_t hi, std::int32_t fallback) {
    if (std::floor(v) != v || v < lo || v > hi) return fallback;
    return static_cast<std::int32_t>(v);
}

std::string Join(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) out += (i ? "," : "") + fields[i];
    return out;
}

}  // namespace

std::string FormatLayoutNumber(double value) {
    auto v = static_cast<float>(Clamp(value, -kMaxLayoutCoordinate, kMaxLayoutCoordinate));
    char buf[32];
    auto result = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 7);
    std::string s(buf, result.ptr);
    // Bounded values stay below 10^7, so only magnitudes under 0.0001 would need an exponent.
    if (s.find('e') != std::string::npos || s == "-0") s = "0";
    return s.front() == '-' ? s : " " + s;
}

std::optional<double> ParseLayoutNumber(std::string_view field) {
    field = Trim(field);
    if (!IsPlainDecimal(field)) return std::nullopt;
    double v = 0;
    auto result = std::from_chars(field.data(), field.data() + field.size(), v, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != field.data() + field.size() || !std::isfinite(v)) return std::nullopt;
    return v == 0 ? 0.0 : v;  // no negative zero
}

std::vector<std::string_view> SplitLayoutFields(std::string_view value) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = value.find(',', start)) != std::string_view::npos; start = comma + 1)
        fields.push_back(value.substr(start, comma - start));
    fields.push_back(value.substr(start));
    return fields;
}

std::string FormatFormValue(const typPersistForm& form) {
    std::string left = FormatLayoutNumber(form.Left);
    if (left.front() == ' ') left.erase(0, 1);
    return Join({left, FormatLayoutNumber(form.Top), FormatLayoutNumber(Clamp(form.Width, 0, kMaxLayoutSize)),
                 FormatLayoutNumber(Clamp(form.Height, 0, kMaxLayoutSize)), FormatLayoutNumber(form.State)});
}

std::optional<typPersistForm> ParseFormValue(std::string_view value) {
    auto f = SplitLayoutFields(value);
    if (f.size() != kFormFields) return std::nullopt;
    auto left = Coordinate(f[0]), top = Coordinate(f[1]), width = Size(f[2]), height = Size(f[3]);
    auto state = Coordinate(f[4]);
    if (!left || !top || !width || !height || !state) return std::nullopt;
    typPersistForm form;
    form.Left = static_cast<float>(*left);
    form.Top = static_cast<float>(*top);
    form.Width = static_cast<float>(*width);
    form.Height = static_cast<float>(*height);
    form.State = WholeOr(*state, 0, 2, 0);
    return form;
}

std::string FormatWindowValue(const typPersistControl& c) {
    auto size = [](float v) { return FormatLayoutNumber(Clamp(v, 0, kMaxLayoutSize)); };
    return Join({c.Name, FormatLayoutNumber(c.Index + 1), FormatLayoutNumber(c.Left), FormatLayoutNumber(c.Top),
                 size(c.Width), size(c.Height), FormatLayoutNumber(c.FloatWidth), FormatLayoutNumber(c.FloatHeight),
                 FormatLayoutNumber(c.FixedX), FormatLayoutNumber(c.FixedY), FormatLayoutNumber(c.Vertical ? 1 : 0),
                 FormatLayoutNumber(c.Dock), c.Container, FormatLayoutNumber(c.ContainIdx + 1)});
}

std::optional<typPersistControl> ParseWindowValue(std::string_view value) {
    auto f = SplitLayoutFields(value);
    if (f.size() != kWindowFields) return std::nullopt;
    auto index = IndexField(f[1]), containIdx = IndexField(f[13]);
    std::optional<double> numbers[] = {Coordinate(f[2]), Coordinate(f[3]), Size(f[4]),       Size(f[5]),
                                       Coordinate(f[6]), Coordinate(f[7]), Coordinate(f[8]), Coordinate(f[9]),
                                       Coordinate(f[10]), Coordinate(f[11])};
    if (!index || !containIdx || std::any_of(std::begin(numbers), std::end(numbers), [](auto& n) { return !n; }))
        return std::nullopt;
    auto n = [&](int i) { return static_cast<float>(*numbers[i]); };
    typPersistControl c;
    c.Name = std::string(f[0]);
    c.Index = *index;
    c.Left = n(0), c.Top = n(1), c.Width = n(2), c.Height = n(3);
    c.FloatWidth = n(4), c.FloatHeight = n(5), c.FixedX = n(6), c.FixedY = n(7);
    c.Vertical = *numbers[8] != 0;
    c.Dock = static_cast<std::int16_t>(WholeOr(*numbers[9], 0, 4, typPersistControl::kNoDock));
    c.Container = std::string(f[12]);
    c.ContainIdx = *containIdx;
    return c;
}

}  // namespace brimlox::foundation

// Integers read from outside JSON, checked on the value as written. nlohmann keeps integers
// above INT64_MAX as unsigned, and get<int>() or get<int64_t>() wraps them (18446744073709551615
// reads as -1, 4294967296 as 0), so a range check on the converted value passes bad input.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>

namespace brimlox::json {

// The integer as written, or nothing when the value is not an integer or lies beyond int64.
template <typename Json>
std::optional<std::int64_t> Integer(const Json& v) {
    if (v.is_number_unsigned()) {
        const auto u = v.template get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
        return static_cast<std::int64_t>(u);
    }
    if (v.is_number_integer()) return v.template get<std::int64_t>();
    return std::nullopt;
}

// Whether the value is an integer from `lo` to `hi` as written.
template <typename Json>
bool IntegerIn(const Json& v, std::int64_t lo, std::int64_t hi) {
    const auto n = Integer(v);
    return n && *n >= lo && *n <= hi;
}

}  // namespace brimlox::json

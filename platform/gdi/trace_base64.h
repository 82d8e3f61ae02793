// Base64 (RFC 4648, with padding) for the pixel and byte data a drawing trace carries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brimlox::gdi {

// Appends the base64 text of `size` bytes to `out`.
void AppendBase64(std::string& out, const void* data, std::size_t size);

// Decodes base64 text. nullopt when a character is outside the alphabet, the length is not a
// multiple of four, or padding appears anywhere but at the end.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text);

}  // namespace brimlox::gdi

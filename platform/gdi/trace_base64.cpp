#include "platform/gdi/trace_base64.h"

#include <array>

namespace brimlox::gdi {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Value of each character, or -1 for characters outside the alphabet ('=' included).
constexpr std::array<std::int8_t, 256> MakeDecodeTable() {
    std::array<std::int8_t, 256> t{};
    for (auto& v : t) v = -1;
    for (int i = 0; i < 64; ++i) t[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
    return t;
}
constexpr auto kDecode = MakeDecodeTable();

}  // namespace

// Whole groups of three bytes first; the one or two left over are padded with '='.
void AppendBase64(std::string& out, const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    out.reserve(out.size() + (size + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= size; i += 3) {
        std::uint32_t n = (p[i] << 16) | (p[i + 1] << 8) | p[i + 2];
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += kAlphabet[(n >> 6) & 63];
        out += kAlphabet[n & 63];
    }
    if (i < size) {
        std::uint32_t n = p[i] << 16;
        if (i + 1 < size) n |= p[i + 1] << 8;
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += i + 1 < size ? kAlphabet[(n >> 6) & 63] : '=';
        out += '=';
    }
}

// Strict on purpose: a trace with damaged pixel data is rejected rather than replayed with
// pixels shifted or missing.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    std::size_t padding = 0;
    if (!text.empty() && text.back() == '=') padding = text.size() >= 2 && text[text.size() - 2] == '=' ? 2 : 1;
    std::vector<std::uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        bool last = i + 4 == text.size();
        std::uint32_t n = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            unsigned char c = static_cast<unsigned char>(text[i + k]);
            int v = kDecode[c];
            if (v < 0) {
                // '=' is only allowed in the last one or two places of the text.
                if (c != '=' || !last || k < 4 - padding) return std::nullopt;
                v = 0;
            }
            n = (n << 6) | static_cast<std::uint32_t>(v);
        }
        out.push_back(static_cast<std::uint8_t>(n >> 16));
        if (!last || padding < 2) out.push_back(static_cast<std::uint8_t>(n >> 8));
        if (!last || padding < 1) out.push_back(static_cast<std::uint8_t>(n));
    }
    return out;
}

}  // namespace brimlox::gdi

#include "platform/kernel/codepage.h"

#include <array>
#include <cstdint>

namespace brimlox::kernel {

namespace {

// Windows-1252 bytes 0x80..0x9F; the undefined ones keep their own number.
constexpr std::array<char32_t, 32> kHigh{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOf(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte; }

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The byte for a code point, or -1 when the code page has none.
int ByteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp) return static_cast<int>(0x80 + i);
    return -1;
}

// Decodes one UTF-8 sequence at `at`; advances it. Returns U+FFFF for a malformed sequence
// (which no code-page byte maps to).
char32_t NextCodePoint(std::string_view s, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(s[at++]);
    if (lead < 0x80) return lead;
    int more = lead >= 0xF0 && lead < 0xF8 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
    if (more < 0) return 0xFFFF;
    char32_t cp = lead & (0x3F >> more);
    for (int k = 0; k < more; ++k) {
        if (at >= s.size() || (static_cast<unsigned char>(s[at]) & 0xC0) != 0x80) return 0xFFFF;
        cp = (cp << 6) | (static_cast<unsigned char>(s[at++]) & 0x3F);
    }
    return cp;
}

}  // namespace

std::string AnsiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (char c : ansi) AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToAnsi(std::string_view utf8, char missing) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const int byte = ByteOf(NextCodePoint(utf8, at));
        out += byte < 0 ? missing : static_cast<char>(byte);
    }
    return out;
}

}  // namespace brimlox::kernel

// The 8-bit code page and UTF-8: every byte string survives a round trip, the table's
// characters land where Windows-1252 puts them, and text the code page cannot hold becomes '?'.
#include <gtest/gtest.h>

#include "platform/kernel/codepage.h"

namespace brimlox::kernel {
namespace {

TEST(CodePage, EveryByteRoundTripsAndTheTableMatchesWindows1252) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    all += '\0';
    const std::string utf8 = AnsiToUtf8(all);
    EXPECT_EQ(Utf8ToAnsi(utf8), all);
    EXPECT_EQ(AnsiToUtf8("\x80"), "\xE2\x82\xAC");       // euro sign
    EXPECT_EQ(AnsiToUtf8("\x9F"), "\xC5\xB8");           // Y with diaeresis
    EXPECT_EQ(AnsiToUtf8("\x81"), "\xC2\x81");           // undefined: the C1 control of that number
    EXPECT_EQ(AnsiToUtf8("Caf\xE9"), "Caf\xC3\xA9");     // Latin-1 range as itself
    EXPECT_EQ(Utf8ToAnsi("\xE2\x80\x9C" "x" "\xE2\x80\x9D"), "\x93x\x94");
    // Characters outside the code page and malformed sequences become the default character.
    EXPECT_EQ(Utf8ToAnsi("\xE6\x97\xA5" "a"), "?a");
    EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80"), "?");
    EXPECT_EQ(Utf8ToAnsi("\xC3"), "?");
    EXPECT_EQ(Utf8ToAnsi("\xFF" "b", '#'), "#b");
    EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "??") << "an overlong form is malformed, byte by byte";
}

}  // namespace
}  // namespace brimlox::kernel

// The system's 8-bit code page (Windows-1252, the ANSI code page of Western Windows) and UTF-8,
// converted the way MultiByteToWideChar and WideCharToMultiByte convert them. The host's strings
// are 8-bit code-page text (captions, folder names); files that must be UTF-8 (JSON) store them
// through these two functions, so any byte string survives a round trip.
#pragma once

#include <string>
#include <string_view>

namespace brimlox::kernel {

// Every byte becomes one character: 0x80..0x9F by the code page's table, the five bytes the
// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) as the C1 controls of the same
// number, as Windows maps them; everything else as itself (0xE9 is U+00E9).
std::string AnsiToUtf8(std::string_view ansi);

// The inverse. A character the code page lacks, and any malformed UTF-8 sequence, becomes
// `missing` (Windows' default character is '?').
std::string Utf8ToAnsi(std::string_view utf8, char missing = '?');

}  // namespace brimlox::kernel

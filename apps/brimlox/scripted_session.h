// What the interactive commands (menu-edit, design) share: finding a display to show a window
// on, playing an input script on the virtual clock with its screenshots, and printing the
// message boxes a headless run answered.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/desktop/input_script.h"

namespace brimlox::cli {

// The value of --max-time in milliseconds of virtual time into `maxTimeMs`; the problem when
// the value is no whole number of seconds from 1 to 100000000.
std::optional<std::string> ReadMaxTime(const std::string& value, std::uint64_t& maxTimeMs);
// Whether a display is named (DISPLAY or WAYLAND_DISPLAY) for a live window.
bool DisplayNamed();
// Plays the script on the virtual clock with its screenshots written to `dir`; false when a
// picture could not be written or the script outlasted `maxTimeMs` (told on standard error
// under `command`'s name).
bool PlayScript(const char* command, desktop::InputScript script, const std::string& dir, std::uint64_t maxTimeMs);
// Prints the message boxes a headless run answered, one line each ("message: ...").
void PrintMessageBoxes();

}  // namespace brimlox::cli

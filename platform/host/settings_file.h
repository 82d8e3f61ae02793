// The text form of one application's settings file: JSON with a format tag, a version and
// sections of string keys and values, kept in the order they were first written:
//
//     {"format": "brimlox-settings", "version": 1,
//      "sections": {"frmMain": {"Form": "1200, 900, 6000, 4500, 0"}}}
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace brimlox::host {

using SettingsData = nlohmann::ordered_json;

// An empty settings document.
SettingsData EmptySettings();

// Parses and validates a settings file's text. On failure returns nothing and sets *error to
// a message that names what was wrong (and where, for JSON syntax errors).
std::optional<SettingsData> ParseSettings(std::string_view text, std::string* error);

std::string SerializeSettings(const SettingsData& data);

}  // namespace brimlox::host

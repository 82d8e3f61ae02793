#include "platform/host/settings_file.h"

#include "platform/json/nesting.h"

namespace brimlox::host {

namespace {
constexpr const char* kFormat = "brimlox-settings";
constexpr int kVersion = 1;

bool Fail(std::string* error, std::string message) {
    if (error) *error = std::move(message);
    return false;
}

bool ValidateSections(const SettingsData& sections, std::string* error) {
    if (!sections.is_object()) return Fail(error, "\"sections\" is not an object");
    for (const auto& [name, section] : sections.items()) {
        if (!section.is_object()) return Fail(error, "section \"" + name + "\" is not an object");
        for (const auto& [key, value] : section.items()) {
            if (!value.is_string())
                return Fail(error, "value of \"" + name + "\"/\"" + key + "\" is not a string");
        }
    }
    return true;
}
}  // namespace

SettingsData EmptySettings() {
    SettingsData d = SettingsData::object();
    d["format"] = kFormat;
    d["version"] = kVersion;
    d["sections"] = SettingsData::object();
    return d;
}

std::optional<SettingsData> ParseSettings(std::string_view text, std::string* error) {
    SettingsData d;
    try {
        d = SettingsData::parse(text);
    } catch (const nlohmann::json::exception& e) {
        // Syntax errors and numbers too large to hold both end up here.
        Fail(error, std::string("not valid JSON: ") + e.what());
        return std::nullopt;
    }
    if (auto at = json::FindTooDeep(d, json::kMaxNesting, "$")) {
        Fail(error, *at + ": " + json::TooDeepMessage(json::kMaxNesting));
        return std::nullopt;
    }
    if (!d.is_object()) {
        Fail(error, "the top level is not an object");
        return std::nullopt;
    }
    if (!d.contains("format") || d["format"] != kFormat) {
        Fail(error, "\"format\" is missing or not \"brimlox-settings\"");
        return std::nullopt;
    }
    if (!d.contains("version") || !d["version"].is_number_integer() || d["version"] != kVersion) {
        Fail(error, "\"version\" is missing or not 1");
        return std::nullopt;
    }
    if (!d.contains("sections")) {
        Fail(error, "\"sections\" is missing");
        return std::nullopt;
    }
    if (!ValidateSections(d["sections"], error)) return std::nullopt;
    return d;
}

std::string SerializeSettings(const SettingsData& data) { return data.dump(2) + "\n"; }

}  // namespace brimlox::host

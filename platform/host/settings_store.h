// The per-user settings store: string values by application name, section and key, kept in
// one file per application under $XDG_CONFIG_HOME/brimlox/ (or ~/.config/brimlox/).
//
// Every write goes to a temporary file that is flushed to disk and then renamed over the old
// file, under an exclusive lock on a companion lock file, so a process killed mid-write loses
// nothing that was written before and two processes never interleave their updates. A file
// that cannot be parsed is moved aside under a name no other file has (kept for the user),
// reported through Problems(), and read as empty.
//
// Names and values are 8-bit code-page strings, as the host's strings are; the file holds them
// as UTF-8 (kernel/codepage.h), so any byte string comes back as it was stored. No member
// throws: a failure is reported through Problems() and the result says it failed.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brimlox::host {

class SettingsStore {
public:
    // The store rooted at the default per-user folder.
    SettingsStore();
    explicit SettingsStore(std::filesystem::path root);

    static std::filesystem::path DefaultRoot();

    // The value, or `fallback` when the application, section or key does not exist.
    std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& fallback = "");
    // Stores a value, creating the file and section as needed. False (with a problem reported)
    // when the file cannot be written; the stored data is then unchanged.
    bool SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value);
    // Stores several keys of one section and removes the existing keys of that section for
    // which `removeIf` (when given) returns true, in one atomic update: a reader or a process
    // killed at any moment sees the section either wholly before or wholly after it, and of two
    // processes updating at once the later one wins whole.
    bool SaveSettings(const std::string& app, const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& values,
                      const std::function<bool(const std::string& key)>& removeIf = nullptr);
    // Deletes one key; with an empty key the whole section; with an empty section the whole
    // application. Returns whether something was deleted.
    bool DeleteSetting(const std::string& app, const std::string& section = "", const std::string& key = "");

    // All keys of a section in the order they were first written.
    std::vector<std::pair<std::string, std::string>> GetAllSettings(const std::string& app,
                                                                    const std::string& section);

    // The file that holds an application's settings. Any application name works, an absolute
    // path included: characters outside [A-Za-z0-9._-] are escaped as %XX and overlong names
    // are shortened with a hash, so the name is always one safe file name.
    std::filesystem::path FileFor(const std::string& app) const;

    // Messages about corrupt files set aside and writes that failed, oldest first.
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    std::filesystem::path root_;
    std::vector<std::string> problems_;
};

}  // namespace brimlox::host

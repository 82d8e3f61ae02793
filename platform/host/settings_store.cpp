#include "platform/host/settings_store.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/host/settings_file.h"
#include "platform/kernel/codepage.h"
#include "platform/kernel/atomic_file.h"

namespace brimlox::host {

namespace fs = std::filesystem;

namespace {

// An flock on the application's lock file, held for the lifetime of the object.
class FileLock {
public:
    FileLock(const fs::path& path, bool exclusive) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ >= 0) {
            while (::flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0 && errno == EINTR) {
            }
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

std::optional<std::string> ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Tests set BRIMLOX_SETTINGS_FAULT=before-rename to make a writer die after the new file is
// complete but before it replaces the old one: the moment a crash is most likely to lose data.
void MaybeInjectFault() {
    const char* fault = std::getenv("BRIMLOX_SETTINGS_FAULT");
    if (fault && std::strcmp(fault, "before-rename") == 0) ::_exit(70);
}

}  // namespace

SettingsStore::SettingsStore() : SettingsStore(DefaultRoot()) {}

SettingsStore::SettingsStore(fs::path root) : root_(std::move(root)) {}

fs::path SettingsStore::DefaultRoot() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return fs::path(xdg) / "brimlox";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / ".config" / "brimlox";
}

fs::path SettingsStore::FileFor(const std::string& app) const {
    std::string name;
    for (unsigned char c : app) {
        if (std::isalnum(c) || c == '.' || c == '_' || c == '-') {
            name += static_cast<char>(c);
        } else {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            name += buf;
        }
    }
    // Names starting with a dot would be hidden (or be "." and ".."); escape the dot.
    if (name.empty() || name[0] == '.') name = "%2E" + name.substr(name.empty() ? 0 : 1);
    constexpr std::size_t kMaxName = 200;
    if (name.size() > kMaxName) {
        char hash[20];
        std::snprintf(hash, sizeof hash, "~%016zx", std::hash<std::string>{}(app));
        name = name.substr(0, kMaxName - 17) + hash;
    }
    return root_ / (name + ".json");
}

namespace {

// Moves a corrupt file aside under a name no other file has: link() refuses an existing name,
// so two processes (or two files in the same second) never overwrite each other's copy.
std::optional<fs::path> SetAside(const fs::path& file) {
    static unsigned counter = 0;
    const std::string stamp = std::to_string(std::time(nullptr)) + "-" + std::to_string(::getpid());
    for (int attempt = 0; attempt < 1000; ++attempt) {
        fs::path aside = file;
        aside += ".corrupt-" + stamp + "-" + std::to_string(++counter);
        if (::link(file.c_str(), aside.c_str()) == 0) {
            ::unlink(file.c_str());
            return aside;
        }
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

// Loads an application's data; a corrupt file is moved aside and reported.
SettingsData Load(const fs::path& file, std::vector<std::string>& problems) {
    auto text = ReadWhole(file);
    if (!text) return EmptySettings();
    std::string error;
    if (auto data = ParseSettings(*text, &error)) return std::move(*data);
    const auto aside = SetAside(file);
    problems.push_back("settings file " + file.string() + " is corrupt (" + error + "); " +
                       (aside ? "moved to " + aside->string() : std::string("it could not be moved aside")) +
                       " and read as empty");
    return EmptySettings();
}

// Writes the whole file atomically (the shared helper: a unique temporary name, synced,
// renamed over the old file); any failure leaves the old file as it was. Settings are private.
bool Store(const fs::path& file, const SettingsData& data, std::vector<std::string>& problems) {
    const std::string text = SerializeSettings(data);
    kernel::AtomicWriteOptions options;
    options.mode = 0600;
    options.beforeRename = MaybeInjectFault;
    std::string error;
    if (kernel::WriteFileAtomically(file, text, &error, options)) return true;
    problems.push_back("settings file: " + error);
    return false;
}

fs::path LockPath(const fs::path& file) {
    fs::path p = file;
    p += ".lock";
    return p;
}

// Runs one operation of the store's interface: anything thrown inside (no memory, a file
// system error) becomes a reported problem and `failed`, so no exception leaves the store.
template <typename Result, typename Operation>
Result Guarded(std::vector<std::string>& problems, Result failed, Operation operation) {
    try {
        return operation();
    } catch (const std::exception& e) {
        problems.push_back(std::string("settings store: ") + e.what());
    }
    return failed;
}

// The section's object in `data`, by its 8-bit name; nullptr when it does not exist.
SettingsData* FindSection(SettingsData& data, const std::string& section) {
    auto& sections = data["sections"];
    auto s = sections.find(kernel::AnsiToUtf8(section));
    return s == sections.end() ? nullptr : &*s;
}

}  // namespace

std::string SettingsStore::GetSetting(const std::string& app, const std::string& section, const std::string& key,
                                      const std::string& fallback) {
    return Guarded(problems_, fallback, [&] {
        fs::path file = FileFor(app);
        if (!fs::exists(file)) return fallback;
        FileLock lock(LockPath(file), false);
        SettingsData data = Load(file, problems_);
        SettingsData* s = FindSection(data, section);
        if (!s) return fallback;
        auto v = s->find(kernel::AnsiToUtf8(key));
        return v == s->end() ? fallback : kernel::Utf8ToAnsi(v->get_ref<const std::string&>());
    });
}

bool SettingsStore::SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                                const std::string& value) {
    return SaveSettings(app, section, {{key, value}});
}

bool SettingsStore::SaveSettings(const std::string& app, const std::string& section,
                                 const std::vector<std::pair<std::string, std::string>>& values,
                                 const std::function<bool(const std::string& key)>& removeIf) {
    return Guarded(problems_, false, [&] {
        std::error_code ec;
        fs::create_directories(root_, ec);
        fs::path file = FileFor(app);
        FileLock lock(LockPath(file), true);
        if (!lock.Held()) {
            problems_.push_back("cannot lock settings file " + file.string());
            return false;
        }
        SettingsData data = Load(file, problems_);
        SettingsData& s = data["sections"][kernel::AnsiToUtf8(section)];
        if (!s.is_object()) s = SettingsData::object();
        if (removeIf) {
            std::vector<std::string> doomed;
            for (const auto& [key, value] : s.items())
                if (removeIf(kernel::Utf8ToAnsi(key))) doomed.push_back(key);
            for (const auto& key : doomed) s.erase(key);
        }
        for (const auto& [key, value] : values) s[kernel::AnsiToUtf8(key)] = kernel::AnsiToUtf8(value);
        return Store(file, data, problems_);
    });
}

bool SettingsStore::DeleteSetting(const std::string& app, const std::string& section, const std::string& key) {
    return Guarded(problems_, false, [&] {
        fs::path file = FileFor(app);
        if (!fs::exists(file)) return false;
        FileLock lock(LockPath(file), true);
        SettingsData data = Load(file, problems_);
        if (section.empty()) {
            std::error_code ec;
            return fs::remove(file, ec);
        }
        SettingsData* s = FindSection(data, section);
        if (!s) return false;
        if (key.empty()) {
            data["sections"].erase(kernel::AnsiToUtf8(section));
        } else if (!s->erase(kernel::AnsiToUtf8(key))) {
            return false;
        }
        return Store(file, data, problems_);
    });
}

std::vector<std::pair<std::string, std::string>> SettingsStore::GetAllSettings(const std::string& app,
                                                                               const std::string& section) {
    using Entries = std::vector<std::pair<std::string, std::string>>;
    return Guarded(problems_, Entries{}, [&] {
        Entries out;
        fs::path file = FileFor(app);
        if (!fs::exists(file)) return out;
        FileLock lock(LockPath(file), false);
        SettingsData data = Load(file, problems_);
        SettingsData* s = FindSection(data, section);
        if (!s) return out;
        for (const auto& [k, v] : s->items())
            out.emplace_back(kernel::Utf8ToAnsi(k), kernel::Utf8ToAnsi(v.get_ref<const std::string&>()));
        return out;
    });
}

}  // namespace brimlox::host

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

bool WriteAllAndSync(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return ::fsync(fd) == 0;
}

void SyncDirectory(const fs::path& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
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

// Loads an application's data; a corrupt file is renamed aside and reported.
SettingsData Load(const fs::path& file, std::vector<std::string>& problems) {
    auto text = ReadWhole(file);
    if (!text) return EmptySettings();
    std::string error;
    if (auto data = ParseSettings(*text, &error)) return *data;
    fs::path aside = file;
    aside += ".corrupt-" + std::to_string(std::time(nullptr));
    std::error_code ec;
    fs::rename(file, aside, ec);
    problems.push_back("settings file " + file.string() + " is corrupt (" + error + "); " +
                       (ec ? "it could not be moved aside" : "moved to " + aside.string()) +
                       " and read as empty");
    return EmptySettings();
}

// Temporary files left by writers that died before their rename hold nothing that was ever
// committed; remove those whose process is gone.
void RemoveStaleTemporaries(const fs::path& file) {
    std::string prefix = file.filename().string() + ".tmp.";
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(file.parent_path(), ec)) {
        std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) fs::remove(entry.path(), ec);
    }
}

bool Store(const fs::path& file, const SettingsData& data, std::vector<std::string>& problems) {
    fs::path temp = file;
    temp += ".tmp." + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool ok = fd >= 0 && WriteAllAndSync(fd, SerializeSettings(data));
    if (fd >= 0) ::close(fd);
    if (ok) {
        MaybeInjectFault();
        ok = ::rename(temp.c_str(), file.c_str()) == 0;
    }
    if (!ok) {
        problems.push_back("cannot write settings file " + file.string() + ": " + std::strerror(errno));
        ::unlink(temp.c_str());
        return false;
    }
    SyncDirectory(file.parent_path());
    RemoveStaleTemporaries(file);
    return true;
}

fs::path LockPath(const fs::path& file) {
    fs::path p = file;
    p += ".lock";
    return p;
}

}  // namespace

std::string SettingsStore::GetSetting(const std::string& app, const std::string& section, const std::string& key,
                                      const std::string& fallback) {
    fs::path file = FileFor(app);
    if (!fs::exists(file)) return fallback;
    FileLock lock(LockPath(file), false);
    SettingsData data = Load(file, problems_);
    const auto& sections = data["sections"];
    auto s = sections.find(section);
    if (s == sections.end()) return fallback;
    auto v = s->find(key);
    return v == s->end() ? fallback : v->get<std::string>();
}

bool SettingsStore::SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                                const std::string& value) {
    std::error_code ec;
    fs::create_directories(root_, ec);
    fs::path file = FileFor(app);
    FileLock lock(LockPath(file), true);
    if (!lock.Held()) {
        problems_.push_back("cannot lock settings file " + file.string());
        return false;
    }
    SettingsData data = Load(file, problems_);
    data["sections"][section][key] = value;
    return Store(file, data, problems_);
}

bool SettingsStore::DeleteSetting(const std::string& app, const std::string& section, const std::string& key) {
    fs::path file = FileFor(app);
    if (!fs::exists(file)) return false;
    FileLock lock(LockPath(file), true);
    SettingsData data = Load(file, problems_);
    auto& sections = data["sections"];
    if (section.empty()) {
        std::error_code ec;
        return fs::remove(file, ec);
    }
    auto s = sections.find(section);
    if (s == sections.end()) return false;
    if (key.empty()) {
        sections.erase(section);
    } else {
        if (!s->contains(key)) return false;
        s->erase(key);
    }
    return Store(file, data, problems_);
}

std::vector<std::pair<std::string, std::string>> SettingsStore::GetAllSettings(const std::string& app,
                                                                               const std::string& section) {
    std::vector<std::pair<std::string, std::string>> out;
    fs::path file = FileFor(app);
    if (!fs::exists(file)) return out;
    FileLock lock(LockPath(file), false);
    SettingsData data = Load(file, problems_);
    auto s = data["sections"].find(section);
    if (s == data["sections"].end()) return out;
    for (const auto& [k, v] : s->items()) out.emplace_back(k, v.get<std::string>());
    return out;
}

}  // namespace brimlox::host

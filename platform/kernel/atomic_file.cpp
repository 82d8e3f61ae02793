#include "platform/kernel/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>

namespace brimlox::kernel {

namespace fs = std::filesystem;

namespace {

std::string TemporaryPrefix(const fs::path& path) { return path.filename().string() + ".tmp."; }

// A name no other write uses: this process's id, a counter for writes within the process and
// random bits for a process id reused after a crash.
fs::path TemporaryName(const fs::path& path) {
    static std::atomic<unsigned> counter{0};
    static const unsigned salt = std::random_device{}();
    char unique[48];
    std::snprintf(unique, sizeof unique, "%ld.%u%08x", static_cast<long>(::getpid()), counter.fetch_add(1), salt);
    return path.parent_path() / (TemporaryPrefix(path) + unique);
}

// Creates a new, empty temporary file; -1 after a few names were all taken.
int CreateTemporary(const fs::path& path, unsigned mode, fs::path& temp) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp = TemporaryName(path);
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Flushes a file written through its path to disk.
bool SyncFile(const fs::path& file) {
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

void SyncDirectory(const fs::path& dir) {
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool Fail(std::string* error, const fs::path& path, const std::string& reason) {
    if (error) *error = "cannot write " + path.string() + ": " + reason;
    return false;
}

// The target exists and is something other than a regular file (or a folder).
bool IsSpecial(const fs::path& path, bool& folder) {
    struct stat st {};
    folder = false;
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return false;
    folder = S_ISDIR(st.st_mode);
    return true;
}

// Renames the finished temporary file over the target, or removes it.
bool Commit(const fs::path& path, const fs::path& temp, bool written, std::string* error,
            const AtomicWriteOptions& options) {
    if (written) {
        if (options.beforeRename) options.beforeRename();
        if (::rename(temp.c_str(), path.c_str()) == 0) {
            SyncDirectory(path.parent_path());
            RemoveStaleTemporaries(path);
            return true;
        }
        Fail(error, path, std::strerror(errno));
    }
    ::unlink(temp.c_str());
    return false;
}

}  // namespace

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, std::string* error,
                         const AtomicWriteOptions& options) {
    return WriteFileAtomically(
        path,
        [&](const std::string& into) {
            int fd = ::open(into.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
            if (fd < 0) return Fail(error, path, std::strerror(errno));
            bool ok = WriteAll(fd, bytes);
            int saved = errno;
            ok = ::close(fd) == 0 && ok;
            if (!ok) return Fail(error, path, std::strerror(saved ? saved : errno));
            return true;
        },
        error, options);
}

bool WriteFileAtomically(const fs::path& path, const std::function<bool(const std::string& into)>& write,
                         std::string* error, const AtomicWriteOptions& options) {
    bool folder = false;
    if (IsSpecial(path, folder)) {
        if (folder) return Fail(error, path, "it is a folder");
        return write(path.string());
    }
    fs::path temp;
    int fd = CreateTemporary(path, options.mode, temp);
    if (fd < 0) return Fail(error, path, std::strerror(errno));
    ::close(fd);
    bool written = write(temp.string());
    if (!written && error) {
        // The caller named the target, not the temporary file.
        const std::string t = temp.string();
        for (auto at = error->find(t); at != std::string::npos; at = error->find(t, at + 1))
            error->replace(at, t.size(), path.string());
    }
    if (written && !SyncFile(temp)) written = Fail(error, path, std::strerror(errno));
    return Commit(path, temp, written, error, options);
}

void RemoveStaleTemporaries(const fs::path& path) {
    const std::string prefix = TemporaryPrefix(path);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(path.parent_path().empty() ? "." : path.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) fs::remove(entry.path(), ec);
    }
}

}  // namespace brimlox::kernel

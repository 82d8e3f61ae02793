#include "apps/brimlox/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace brimlox::cli {

namespace fs = std::filesystem;

bool WriteOutputFile(const std::string& path, const std::function<bool(const std::string&)>& write, std::string* error) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode)) {
            *error = "cannot write " + path + ": it is a folder";
            return false;
        }
        return write(path);
    }
    const fs::path final(path);
    const fs::path temp = final.parent_path() / ("." + final.filename().string() + "." + std::to_string(::getpid()) + ".tmp");
    std::error_code ec;
    if (write(temp.string())) {
        fs::rename(temp, final, ec);
        if (!ec) return true;
        *error = "cannot write " + path + ": " + ec.message();
    } else {
        // The user named the target, not the temporary file.
        for (auto at = error->find(temp.string()); at != std::string::npos; at = error->find(temp.string()))
            error->replace(at, temp.string().size(), path);
    }
    fs::remove(temp, ec);
    return false;
}

}  // namespace brimlox::cli

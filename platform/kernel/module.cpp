#include "platform/kernel/module.h"

#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

// The value the program's instance handle has always had on the desktop systems the controls
// were written for; any fixed non-zero value would do.
constexpr std::uint32_t kProgramModule = 0x400000;

std::string ProgramPath() {
    char path[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", path, sizeof path);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof path) return {};
    return std::string(path, static_cast<std::size_t>(n));
}

}  // namespace

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    return moduleName ? nullptr : HandleFromValue<HMODULE>(kProgramModule);
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
    if (module && module != GetModuleHandleA(nullptr)) return 0;
    if (!buffer || size == 0) return 0;
    std::string path = ProgramPath();
    if (path.empty()) return 0;
    if (path.size() >= size) {
        std::memcpy(buffer, path.data(), size - 1);
        buffer[size - 1] = '\0';
        return size;
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

#include "foundation/persistence/design_environment.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/host/design_environment.h"
#include "platform/user/user.h"

namespace brimlox::foundation {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace

bool InDesignEnvironment() {
    const std::string product = Lower(std::string(host::DesignEnvironmentProduct()));
    std::string title;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        char buffer[128] = {};
        int n = GetWindowTextA(w, buffer, sizeof buffer);
        title = Lower(std::string(buffer, static_cast<std::size_t>(std::max(n, 0))));
        if (title.find(product) != std::string::npos) break;
    }
    return title.find(product + " [run]") != std::string::npos;
}

}  // namespace brimlox::foundation

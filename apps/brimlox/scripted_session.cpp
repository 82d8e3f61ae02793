#include "apps/brimlox/scripted_session.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/desktop/desktop.h"
#include "platform/desktop/headless_presenter.h"
#include "platform/desktop/input_source.h"
#include "platform/host/runtime.h"

namespace brimlox::cli {

namespace fs = std::filesystem;

std::optional<std::string> ReadMaxTime(const std::string& value, std::uint64_t& maxTimeMs) {
    std::uint64_t seconds = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (ec != std::errc() || end != value.data() + value.size() || seconds < 1 || seconds > 100000000)
        return "--max-time wants seconds from 1 to 100000000, not '" + value + "'";
    maxTimeMs = seconds * 1000;
    return std::nullopt;
}

bool DisplayNamed() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* v = std::getenv(name);
        if (v && *v) return true;
    }
    return false;
}

bool PlayScript(const char* command, desktop::InputScript script, const std::string& dir, std::uint64_t maxTimeMs) {
    auto& d = desktop::Desktop::Instance();
    d.UseVirtualClock();
    desktop::HeadlessPresenter presenter(dir);
    bool ok = true;
    d.SetScreenshotHandler([&](const std::string& name) {
        std::error_code ec;
        fs::create_directories(dir, ec);
        std::string error;
        const std::string path = (fs::path(dir) / (name.ends_with(".png") ? name : name + ".png")).string();
        if (!presenter.WriteScreen(path, true, &error)) {
            std::fprintf(stderr, "brimlox %s: %s\n", command, error.c_str());
            ok = false;
        }
    });
    const bool overBudget = script.endTime > maxTimeMs;
    if (overBudget) d.SetRunLimit(maxTimeMs);
    d.SetInputSource(std::make_unique<desktop::ScriptedInput>(std::move(script.events), script.endTime));
    host::Run();
    d.SetInputSource(nullptr);
    d.SetScreenshotHandler(nullptr);
    d.SetRunLimit(0);
    if (overBudget)
        std::fprintf(stderr, "brimlox %s: stopped after %llu s of virtual time\n", command,
                     static_cast<unsigned long long>(maxTimeMs / 1000));
    return ok && !overBudget;
}

void PrintMessageBoxes() {
    for (const auto& box : host::MessageBoxLog()) {
        std::string text = box.text;
        for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.replace(at, 2, " ");
        std::printf("message: %s\n", text.c_str());
    }
    std::fflush(stdout);
}

}  // namespace brimlox::cli

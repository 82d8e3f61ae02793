#include "apps/brimlox/form_commands.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "apps/brimlox/scripted_session.h"
#include "apps/common/command_line.h"
#include "controls/accessibility.h"
#include "controls/library.h"
#include "foundation/persistence/layout_restore.h"
#include "foundation/persistence/persist_state.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/headless_presenter.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/desktop/sdl_presenter.h"
#include "platform/gdi/surface.h"
#include "platform/host/bag_check.h"
#include "platform/host/form.h"
#include "platform/host/form_file.h"
#include "platform/host/host_error.h"
#include "platform/host/property_bag.h"
#include "platform/host/runtime.h"
#include "platform/host/settings_store.h"
#include "platform/host/type_info.h"

namespace brimlox::cli {

const char* const kRenderUsage =
    "usage: brimlox render FORM.json -o OUT.png [--scale TWIPS_PER_PIXEL] [--no-frame]\n"
    "\n"
    "Loads a form file, shows the form and writes its window, frame and title bar included,\n"
    "as a PNG.\n"
    "  --no-frame        write the client area alone\n"
    "  -o OUT.png        the picture to write (replaced only when the whole picture is written)\n"
    "  --scale N         twips per pixel, 1 to 1440 (default 15, that is 96 dots per inch)\n";

const char* const kRunUsage =
    "usage: brimlox run FORM.json [--script FILE] [--out DIR] [--scale TWIPS_PER_PIXEL] [--max-time S]\n"
    "                             [--reset-layout]\n"
    "\n"
    "Loads a form file and runs it; the events its controls raise are printed, one a line.\n"
    "With a display it shows the form in a window until the window is closed. With --script\n"
    "it plays the input script on a virtual clock (docs/input-script.md) and writes the\n"
    "script's screenshots to DIR (default: the current folder).\n"
    "  --max-time S      stop a scripted run after S seconds of virtual time (default 600);\n"
    "                    a script that lasts longer ends the run with exit status 1\n"
    "A form holding a SplitWindow reopens as it was left: its layout is kept in the settings\n"
    "store under the form file's path.\n"
    "  --reset-layout    delete the kept layout first, so the form opens as designed\n";

const char* const kCheckUsage =
    "usage: brimlox check FORM.json\n"
    "\n"
    "Validates a form file: every problem the loader finds is reported with the JSON path of\n"
    "the bad value; controls that lie outside their container are reported as warnings, and\n"
    "so are bag keys a control does not read, values of the wrong kind, and numbers outside a\n"
    "property's enumeration or range.\n"
    "Exit status 0 when the file loads, 2 when it does not.\n";

const char* const kA11yUsage =
    "usage: brimlox a11y FORM.json [--scale TWIPS_PER_PIXEL]\n"
    "\n"
    "Loads a form file, shows the form and prints its accessibility tree as JSON: for the form\n"
    "and every control its name, role, value, states and bounds (left, top, width, height in\n"
    "screen pixels), controls nested in their containers.\n";

namespace {

namespace fs = std::filesystem;

struct FormArgs {
    std::string form;
    std::string out;
    std::string script;
    int scale = 15;
    std::uint64_t maxTimeMs = 600000;
    bool help = false;
    bool resetLayout = false;
    bool noFrame = false;
};

// One line on standard error and the exit code 2.
int Bad(const char* command, const std::string& problem) {
    std::fprintf(stderr, "brimlox %s: %s\n", command, problem.c_str());
    return 2;
}

// Parses FORM.json and the options `allowed` lists ("-o", "--scale", "--script", "--out").
// Returns -1 to go on, or the exit code to stop with.
int ParseFormArgs(const char* command, int argc, char** argv, const std::vector<std::string>& allowed, FormArgs& a) {
    std::vector<apps::OptionRule> options{{"--help", false}, {"-h", false}};
    for (const auto& name : allowed) options.push_back({name, name != "--reset-layout" && name != "--no-frame"});
    apps::CommandLine line;
    if (auto problem = line.Parse(apps::ArgumentsAfter(argc, argv, 2), options))
        return Bad(command, *problem + " (try --help)");
    if (line.Has("--help") || line.Has("-h")) {
        a.help = true;
        return -1;
    }
    a.out = line.Value("-o", line.Value("--out"));
    a.script = line.Value("--script");
    a.resetLayout = line.Has("--reset-layout");
    a.noFrame = line.Has("--no-frame");
    if (line.Has("--max-time")) {
        if (auto problem = ReadMaxTime(line.Value("--max-time"), a.maxTimeMs)) return Bad(command, *problem);
    }
    if (line.Has("--scale")) {
        const std::string value = line.Value("--scale");
        auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), a.scale);
        if (ec != std::errc() || end != value.data() + value.size() || a.scale < 1 || a.scale > 1440)
            return Bad(command, "--scale wants twips per pixel from 1 to 1440, not '" + value + "'");
    }
    const auto& files = line.Positional();
    if (files.size() > 1) return Bad(command, "one form file only ('" + files[1] + "' is a second)");
    if (files.empty()) return Bad(command, "no form file given (try --help)");
    a.form = files[0];
    return -1;
}

// Loads the form file on a headless desktop of the given scale; nullptr after reporting.
std::shared_ptr<host::Form> LoadForm(const char* command, const std::string& path, int scale, bool headlessDialogs) {
    auto& d = desktop::Desktop::Instance();
    if (!d.Configure({1024, 768, scale, headlessDialogs})) {
        std::fprintf(stderr, "brimlox %s: no memory for the screen\n", command);
        return nullptr;
    }
    controls::RegisterLibrary();
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        Bad(command, path + ": no such file");
        return nullptr;
    }
    try {
        return host::LoadFormFile(path);
    } catch (const host::FormFileError& e) {
        Bad(command, e.what());
    } catch (const host::HostError& e) {
        Bad(command, path + ": " + e.what());
    }
    return nullptr;
}

// Puts the form at the screen's origin on a screen just big enough for it. A form too large
// for any screen at this scale is reported (exit 1): nothing can be shown.
bool PlaceAtOrigin(const char* command, host::Form& form, int scale) {
    const int w = std::max(1, form.Width() / scale), h = std::max(1, form.Height() / scale);
    auto& d = desktop::Desktop::Instance();
    if (std::max(w, h) > gdi::kMaxSurfaceSide || !d.Configure({w, h, scale, d.Settings().headlessDialogs})) {
        std::fprintf(stderr,
                     "brimlox %s: the form is %d x %d pixels at --scale %d, more than a screen can hold "
                     "(at most %d pixels a side and %zu MiB; try a larger --scale)\n",
                     command, w, h, scale, gdi::kMaxSurfaceSide, gdi::kMaxSurfaceBytes >> 20);
        return false;
    }
    form.Move(0, 0, form.Width(), form.Height());
    return true;
}

// Prints every event the form's controls raise, with its arguments.
void PrintEvents(host::Form& form) {
    for (const auto& control : form.Controls()) {
        const host::TypeInfo* info = control->GetTypeInfo();
        if (!info) continue;
        for (const auto& m : info->Members()) {
            if (m.kind != host::MemberKind::Event) continue;
            const std::string label = control->Name() + " " + m.name;
            control->Connect(m.name, [label](std::span<host::Variant> args) {
                std::string line = label;
                for (const auto& v : args) line += " " + v.ToString();
                std::printf("%s\n", line.c_str());
                std::fflush(stdout);
            });
        }
    }
}

void UnloadAll() {
    for (auto& f : host::LoadedForms()) f->Unload();
}

// A form that holds a SplitWindow keeps its layout between runs, as an application would ask
// its first SplitWindow to in its form's Load: under the form file's absolute path, so two
// form files with forms of the same name keep two layouts. --reset-layout deletes it first.
void PersistLayout(host::Form& form, const std::string& path, bool reset) {
    std::error_code ec;
    const std::string app = fs::absolute(path, ec).lexically_normal().string();
    if (ec || app.empty()) return;
    if (reset) foundation::ProcessSettingsStore().DeleteSetting(app);
    for (const auto& control : form.Controls()) {
        if (control->TypeName() != "SplitWindow") continue;
        foundation::SetRegistryLocation(app);
        host::TryInvoke([&] {
            host::CallMethod(*control, "PersistForm", {host::Variant(form.shared_from_this()), host::Variant(false)});
        });
        return;
    }
}

}  // namespace

int RunRender(int argc, char** argv) {
    FormArgs a;
    if (int stop = ParseFormArgs("render", argc, argv, {"-o", "--scale", "--no-frame"}, a); stop >= 0) return stop;
    if (a.help) return std::fputs(kRenderUsage, stdout), 0;
    if (a.out.empty()) return Bad("render", "no output file given (-o OUT.png)");
    auto form = LoadForm("render", a.form, a.scale, true);
    if (!form) return 2;
    if (!PlaceAtOrigin("render", *form, a.scale)) return UnloadAll(), 1;
    form->Show();
    host::DoEvents();
    desktop::HeadlessPresenter presenter(".");
    std::string error;
    // The picture is written whole or not at all: the PNG writer goes through a temporary file.
    const bool ok = presenter.WriteWindow(form->hWnd(), a.out, &error, !a.noFrame);
    UnloadAll();
    if (!ok) {
        std::fprintf(stderr, "brimlox render: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int RunForm(int argc, char** argv) {
    FormArgs a;
    if (int stop = ParseFormArgs("run", argc, argv, {"--script", "--out", "--scale", "--max-time", "--reset-layout"}, a);
        stop >= 0)
        return stop;
    if (a.help) return std::fputs(kRunUsage, stdout), 0;
    desktop::InputScript script;
    std::string error;
    if (!a.script.empty() && !desktop::LoadInputScript(a.script, script, error)) return Bad("run", error);
    if (a.script.empty() && !DisplayNamed()) return Bad("run", "no display to show the form on (give --script FILE)");
    auto form = LoadForm("run", a.form, a.scale, !a.script.empty());
    if (!form) return 2;
    if (!PlaceAtOrigin("run", *form, a.scale)) return UnloadAll(), 1;
    auto& d = desktop::Desktop::Instance();
    PersistLayout(*form, a.form, a.resetLayout);
    PrintEvents(*form);
    if (a.script.empty()) {
        d.UseRealClock();
        auto window = desktop::SdlPresenter::Open(form->Caption(), &error);
        if (!window) {
            UnloadAll();
            std::fprintf(stderr, "brimlox run: cannot open a window: %s\n", error.c_str());
            return 1;
        }
        d.SetInputSource(std::move(window));
        form->Show();
        host::Run();
        UnloadAll();
        d.SetInputSource(nullptr);
        return 0;
    }
    d.UseVirtualClock();
    form->Show();
    host::DoEvents();
    const std::string dir = a.out.empty() ? "." : a.out;
    desktop::HeadlessPresenter presenter(dir);
    bool failed = false;
    d.SetScreenshotHandler([&](const std::string& name) {
        std::error_code ec;
        fs::create_directories(dir, ec);
        const std::string path = (fs::path(dir) / (name.ends_with(".png") ? name : name + ".png")).string();
        if (!presenter.WriteScreen(path, true, &error)) {
            std::fprintf(stderr, "brimlox run: %s\n", error.c_str());
            failed = true;
        }
    });
    // A run is bounded in virtual time: a script that waits for ever while a control ticks
    // would otherwise run for days, one timer tick at a time.
    const std::uint64_t endTime = script.endTime;
    const bool overBudget = endTime > a.maxTimeMs;
    if (overBudget) d.SetRunLimit(a.maxTimeMs);
    d.SetInputSource(std::make_unique<desktop::ScriptedInput>(std::move(script.events), script.endTime));
    host::Run();
    d.SetInputSource(nullptr);
    d.SetScreenshotHandler(nullptr);
    d.SetRunLimit(0);
    UnloadAll();
    if (overBudget) {
        std::fprintf(stderr, "brimlox run: stopped after %llu s of virtual time; the script lasts %llu s (--max-time raises the limit)\n",
                     static_cast<unsigned long long>(a.maxTimeMs / 1000), static_cast<unsigned long long>(endTime / 1000));
        return 1;
    }
    return failed ? 1 : 0;
}

int RunCheck(int argc, char** argv) {
    FormArgs a;
    if (int stop = ParseFormArgs("check", argc, argv, {}, a); stop >= 0) return stop;
    if (a.help) return std::fputs(kCheckUsage, stdout), 0;
    // Design mode: checking a file runs none of its controls' run-time behaviour.
    desktop::Desktop::Instance().Configure({1024, 768, 15, true});
    controls::RegisterLibrary();
    std::error_code ec;
    if (!fs::is_regular_file(a.form, ec)) return Bad("check", a.form + ": no such file");
    std::shared_ptr<host::Form> form;
    std::vector<host::LoadedBag> bags;
    try {
        form = host::LoadFormFile(a.form, true, &bags);
    } catch (const host::FormFileError& e) {
        return Bad("check", e.what());
    } catch (const host::HostError& e) {
        return Bad("check", a.form + ": " + e.what());
    }
    int warnings = 0;
    const auto& controls = form->Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const auto& c = *controls[i];
        auto container = std::dynamic_pointer_cast<host::Control>(c.Container());
        const float w = container ? container->ScaleWidth() : form->ScaleWidth();
        const float h = container ? container->ScaleHeight() : form->ScaleHeight();
        if (c.Left() >= w || c.Top() >= h || c.Left() + c.Width() <= 0 || c.Top() + c.Height() <= 0) {
            std::fprintf(stderr, "brimlox check: warning: %s: controls[%zu](%s): lies outside its container\n",
                         a.form.c_str(), i, c.Name().c_str());
            ++warnings;
        }
    }
    for (const auto& loaded : bags) {
        if (!loaded.control) continue;
        for (const auto& w : host::CheckBag(*loaded.control, loaded.bag)) {
            std::fprintf(stderr, "brimlox check: warning: %s: %s.bag.%s: %s\n", a.form.c_str(), loaded.path.c_str(),
                         w.key.c_str(), w.problem.c_str());
            ++warnings;
        }
    }
    std::printf("%s: ok: form %s with %zu controls%s\n", a.form.c_str(), form->Name().c_str(), controls.size(),
                warnings ? (", " + std::to_string(warnings) + " warning(s)").c_str() : "");
    form->Discard();
    return 0;
}

int RunA11y(int argc, char** argv) {
    FormArgs a;
    if (int stop = ParseFormArgs("a11y", argc, argv, {"--scale"}, a); stop >= 0) return stop;
    if (a.help) return std::fputs(kA11yUsage, stdout), 0;
    auto form = LoadForm("a11y", a.form, a.scale, true);
    if (!form) return 2;
    if (!PlaceAtOrigin("a11y", *form, a.scale)) return UnloadAll(), 1;
    form->Show();
    host::DoEvents();
    const std::string text = controls::AccessibleJson(controls::DescribeAccessible(*form)).dump(2);
    UnloadAll();
    std::printf("%s\n", text.c_str());
    return 0;
}

}  // namespace brimlox::cli

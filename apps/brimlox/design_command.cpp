#include "apps/brimlox/design_command.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "apps/brimlox/scripted_session.h"
#include "apps/common/command_line.h"
#include "apps/designer/designer.h"
#include "controls/library.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/sdl_presenter.h"
#include "platform/host/design_environment.h"
#include "platform/host/property_bag.h"
#include "platform/host/runtime.h"

namespace brimlox::cli {

const char* const kDesignUsage =
    "usage: brimlox design FORM.json [FORM.json ...] [--script FILE] [--out DIR] [--max-time S]\n"
    "\n"
    "Opens form files in the designer, each in its own design window beside the designer's\n"
    "toolbox and property grid; a file that does not exist yet opens as a new, empty form.\n"
    "Pick a type in the toolbox and draw it on the form; click, Ctrl+click or drag a band to\n"
    "select; drag to move, drag a handle to size, arrow keys move (Shift+arrows size).\n"
    "Keys: Ctrl+S save, Ctrl+Shift+S save as, Ctrl+Z undo, Ctrl+Y redo, Ctrl+X/C/V cut, copy\n"
    "and paste (between design windows too), Delete, F5 run the form. Files are written whole\n"
    "or not at all; closing a changed form asks whether to save it.\n"
    "With a display the designer shows in a window; with --script it plays the input script on\n"
    "a virtual clock (docs/input-script.md), answers message boxes with their default button,\n"
    "prints their text, and writes the script's screenshots to DIR (default: the current folder).\n"
    "  --max-time S      stop a scripted run after S seconds of virtual time (default 600)\n";

namespace {

// The screen the designer works on: room for the designer window and, beside it, a form as
// large as the gallery's.
constexpr int kScreenWidthPx = 1440;
constexpr int kScreenHeightPx = 960;

int Bad(const std::string& problem) {
    std::fprintf(stderr, "brimlox design: %s\n", problem.c_str());
    return 2;
}

struct DesignArgs {
    std::vector<std::string> forms;
    std::string script, out;
    std::uint64_t maxTimeMs = 600000;
};

// Returns -1 to go on, or the exit code to stop with.
int Parse(int argc, char** argv, DesignArgs& a) {
    const std::vector<apps::OptionRule> options{
        {"--help", false}, {"-h", false}, {"--script", true}, {"--out", true}, {"--max-time", true}};
    apps::CommandLine line;
    if (auto problem = line.Parse(apps::ArgumentsAfter(argc, argv, 2), options)) return Bad(*problem + " (try --help)");
    if (line.Has("--help") || line.Has("-h")) return std::fputs(kDesignUsage, stdout), 0;
    a.script = line.Value("--script");
    a.out = line.Value("--out", ".");
    if (line.Has("--max-time")) {
        if (auto problem = ReadMaxTime(line.Value("--max-time"), a.maxTimeMs)) return Bad(*problem);
    }
    a.forms = line.Positional();
    if (a.forms.empty()) return Bad("give the form file to design (try --help)");
    return -1;
}

}  // namespace

int RunDesign(int argc, char** argv) {
    DesignArgs a;
    if (int stop = Parse(argc, argv, a); stop >= 0) return stop;
    desktop::InputScript script;
    std::string error;
    if (!a.script.empty() && !desktop::LoadInputScript(a.script, script, error)) return Bad(error);
    if (a.script.empty() && !DisplayNamed()) return Bad("no display to show the designer on (give --script FILE)");
    auto& d = desktop::Desktop::Instance();
    d.Configure({kScreenWidthPx, kScreenHeightPx, 15, !a.script.empty()});
    controls::RegisterLibrary();
    int status = 0;
    {
        designer::Designer designer;
        for (const std::string& path : a.forms) {
            try {
                designer.Open(path);
            } catch (const host::FormFileError& e) {
                return Bad(e.what());
            } catch (const std::exception& e) {
                return Bad(path + ": " + e.what());
            }
        }
        if (a.script.empty()) {
            d.UseRealClock();
            auto window = desktop::SdlPresenter::Open(std::string(host::DesignEnvironmentProduct()), &error);
            if (!window) {
                std::fprintf(stderr, "brimlox design: cannot open a window: %s\n", error.c_str());
                return 1;
            }
            d.SetInputSource(std::move(window));
            host::Run();
            d.SetInputSource(nullptr);
        } else {
            host::DoEvents();
            if (!PlayScript("design", std::move(script), a.out, a.maxTimeMs)) status = 1;
            PrintMessageBoxes();
        }
    }
    return status;
}

}  // namespace brimlox::cli

#include "apps/brimlox/menu_edit_command.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "apps/brimlox/scripted_session.h"
#include "apps/common/command_line.h"
#include "apps/designer/menu_page_frame.h"
#include "controls/library.h"
#include "menus/editor/menu_page.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/headless_presenter.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/desktop/sdl_presenter.h"
#include "platform/host/form.h"
#include "platform/host/form_file.h"
#include "platform/host/host_error.h"
#include "platform/host/runtime.h"
#include "platform/host/standard_controls.h"
#include "platform/host/type_info.h"

namespace brimlox::cli {

const char* const kMenuEditUsage =
    "usage: brimlox menu-edit FORM.json CONTROL [--script FILE] [--out DIR] [--max-time S]\n"
    "\n"
    "Opens the Menu property page for the Command or TrayIcon named CONTROL of a form file.\n"
    "OK and Apply write the page to the control and save the form file (replaced whole, never\n"
    "half written); OK and Cancel close the page. Level corrections are told in message boxes.\n"
    "With a display the page shows in a window; with --script it plays the input script on a\n"
    "virtual clock (docs/input-script.md), answers message boxes with OK, prints their text,\n"
    "and writes the script's screenshots to DIR (default: the current folder).\n"
    "  --max-time S      stop a scripted run after S seconds of virtual time (default 600)\n";

namespace {

namespace fs = std::filesystem;

int Bad(const std::string& problem) {
    std::fprintf(stderr, "brimlox menu-edit: %s\n", problem.c_str());
    return 2;
}

bool CarriesMenu(host::Control& control) {
    const host::TypeInfo* info = control.GetTypeInfo();
    return info && info->Find("MenuItemCount") && info->Find("MenuSelect");
}

// Saves the designed form each time the page is applied; a failed write keeps the page open.
class MenuFileSaver {
public:
    MenuFileSaver(std::shared_ptr<host::Form> designed, std::shared_ptr<host::Control> control, std::string path)
        : designed_(std::move(designed)), control_(std::move(control)), path_(std::move(path)) {}

    bool Save() {
        try {
            host::SaveFormFile(*designed_, path_);
        } catch (const std::exception& e) {
            failed_ = true;
            std::fprintf(stderr, "brimlox menu-edit: %s\n", e.what());
            host::MsgBox(std::string("The form file was not saved: ") + e.what());
            return false;
        }
        const auto count = host::GetProperty(*control_, "MenuItemCount").ToInteger();
        std::printf("%s: saved %s with %d menu item(s)\n", path_.c_str(), control_->Name().c_str(), count);
        std::fflush(stdout);
        return true;
    }
    bool Failed() const { return failed_; }

private:
    std::shared_ptr<host::Form> designed_;
    std::shared_ptr<host::Control> control_;
    std::string path_;
    bool failed_ = false;
};

struct MenuEditArgs {
    std::string form, control, script, out;
    std::uint64_t maxTimeMs = 600000;
};

// Returns -1 to go on, or the exit code to stop with.
int Parse(int argc, char** argv, MenuEditArgs& a) {
    const std::vector<apps::OptionRule> options{
        {"--help", false}, {"-h", false}, {"--script", true}, {"--out", true}, {"--max-time", true}};
    apps::CommandLine line;
    if (auto problem = line.Parse(apps::ArgumentsAfter(argc, argv, 2), options)) return Bad(*problem + " (try --help)");
    if (line.Has("--help") || line.Has("-h")) return std::fputs(kMenuEditUsage, stdout), 0;
    a.script = line.Value("--script");
    a.out = line.Value("--out", ".");
    if (line.Has("--max-time")) {
        if (auto problem = ReadMaxTime(line.Value("--max-time"), a.maxTimeMs)) return Bad(*problem);
    }
    const auto& words = line.Positional();
    if (words.size() < 2) return Bad("give a form file and the name of a control on it (try --help)");
    if (words.size() > 2) return Bad("unexpected argument '" + words[2] + "'");
    a.form = words[0];
    a.control = words[1];
    return -1;
}

}  // namespace

int RunMenuEdit(int argc, char** argv) {
    MenuEditArgs a;
    if (int stop = Parse(argc, argv, a); stop >= 0) return stop;
    desktop::InputScript script;
    std::string error;
    if (!a.script.empty() && !desktop::LoadInputScript(a.script, script, error)) return Bad(error);
    if (a.script.empty() && !DisplayNamed()) return Bad("no display to show the page on (give --script FILE)");
    auto& d = desktop::Desktop::Instance();
    d.Configure({menus::MenuPage::kWidthPx + 16, menus::MenuPage::kHeightPx + 80, 15, !a.script.empty()});
    controls::RegisterLibrary();
    std::error_code ec;
    if (!fs::is_regular_file(a.form, ec)) return Bad(a.form + ": no such file");
    std::shared_ptr<host::Form> designed;
    try {
        // Design mode: the controls on the form keep still while their menus are edited.
        designed = host::LoadFormFile(a.form, true);
    } catch (const host::FormFileError& e) {
        return Bad(e.what());
    } catch (const host::HostError& e) {
        return Bad(a.form + ": " + e.what());
    }
    auto control = designed->Find(a.control);
    if (!control) return designed->Discard(), Bad(a.form + ": no control named '" + a.control + "'");
    if (!CarriesMenu(*control))
        return designed->Discard(), Bad(a.control + " is a " + control->TypeName() +
                                        "; the Menu page edits the items of a Command or a TrayIcon");
    int status = 0;
    {
        MenuFileSaver saver(designed, control, a.form);
        designer::MenuPageFrame frame(control, [&saver] { return saver.Save(); });
        // The screen is just large enough for the page in its frame.
        const int tpp = host::TwipsPerPixel();
        d.Configure({frame.Form().Width() / tpp, frame.Form().Height() / tpp, 15, d.Settings().headlessDialogs});
        if (a.script.empty()) {
            d.UseRealClock();
            auto window = desktop::SdlPresenter::Open(frame.Form().Caption(), &error);
            if (!window) {
                std::fprintf(stderr, "brimlox menu-edit: cannot open a window: %s\n", error.c_str());
                return designed->Discard(), 1;
            }
            d.SetInputSource(std::move(window));
            frame.Form().Show();
            host::Run();
            d.SetInputSource(nullptr);
        } else {
            frame.Form().Show();
            host::DoEvents();
            if (!PlayScript("menu-edit", std::move(script), a.out, a.maxTimeMs)) status = 1;
            PrintMessageBoxes();
        }
        if (saver.Failed()) status = 1;
    }
    designed->Discard();
    return status;
}

}  // namespace brimlox::cli

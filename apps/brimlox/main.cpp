// brimlox: the command-line tool. Each command has its own --help; problems go to standard
// error and the exit status is 0 for success, 1 for a runtime failure and 2 for bad usage or
// bad input.
#include <csignal>
#include <cstdio>
#include <string>

#include "apps/brimlox/describe_command.h"
#include "apps/brimlox/design_command.h"
#include "apps/brimlox/form_commands.h"
#include "apps/brimlox/menu_edit_command.h"
#include "apps/brimlox/replay_command.h"
#include "controls/library.h"

namespace {
const char* const kUsage =
    "usage: brimlox COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  render FORM.json -o OUT.png [--scale N]   draw a form file's form as a PNG\n"
    "  run FORM.json [--script FILE]             run a form file live, or under an input script\n"
    "  check FORM.json                           validate a form file and report its problems\n"
    "  replay TRACE -o OUT.png                   draw a GDI trace again\n"
    "  describe TYPE                             print a control's properties, methods and events\n"
    "  menu-edit FORM.json CONTROL               edit a Command's or TrayIcon's menu items and save them\n"
    "  design FORM.json [FORM.json ...]          open form files in the designer (new ones when missing)\n"
    "  a11y FORM.json [--scale N]                print a form file's accessibility tree as JSON\n"
    "\n"
    "brimlox COMMAND --help tells more about each; brimlox --version prints the version.\n";
}

int main(int argc, char** argv) {
    // A write beyond the file size limit (ulimit -f) then fails with EFBIG and is reported
    // like a full disk, instead of the signal ending the program with half a file.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) {
        std::fputs("brimlox: no command given (try --help)\n", stderr);
        return 2;
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "--version") {
        std::printf("brimlox %s\n", brimlox::controls::Version());
        return 0;
    }
    if (command == "replay") return brimlox::cli::RunReplay(argc, argv);
    if (command == "render") return brimlox::cli::RunRender(argc, argv);
    if (command == "run") return brimlox::cli::RunForm(argc, argv);
    if (command == "describe") return brimlox::cli::RunDescribe(argc, argv);
    if (command == "check") return brimlox::cli::RunCheck(argc, argv);
    if (command == "menu-edit") return brimlox::cli::RunMenuEdit(argc, argv);
    if (command == "design") return brimlox::cli::RunDesign(argc, argv);
    if (command == "a11y") return brimlox::cli::RunA11y(argc, argv);
    std::fprintf(stderr, "brimlox: unknown command '%s' (try --help)\n", argv[1]);
    return 2;
}

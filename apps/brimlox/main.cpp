// brimlox: the command-line tool. Commands are added as the platform grows.
#include <cstdio>
#include <string>

#include "apps/brimlox/replay_command.h"

namespace {
const char* const kUsage =
    "usage: brimlox COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  replay TRACE -o OUT.png   draw a GDI trace again (brimlox replay --help for more)\n";
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::string command = argv[1];
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "replay") return brimlox::cli::RunReplay(argc, argv);
    std::fprintf(stderr, "brimlox: unknown command '%s' (try --help)\n", argv[1]);
    return 2;
}

// brimlox: the command-line tool. Commands are added as the platform grows.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help") {
        std::puts("usage: brimlox COMMAND [ARGS]\n\nCommands:\n  replay TRACE -o OUT.png   draw a GDI trace again");
        return argc < 2 ? 2 : 0;
    }
    std::fprintf(stderr, "brimlox: unknown command '%s' (try --help)\n", argv[1]);
    return 2;
}

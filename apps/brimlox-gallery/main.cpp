// brimlox-gallery: every control of the library in its main looks and behaviours, on a form
// loaded from forms/gallery.json. With a display it runs live in an SDL2 window; with
// --headless (or without a display) it writes the platform's drawing scenes and a scripted
// tour of the form as PNG files with an index.html; --script FILE plays an input script whose
// screenshot lines write pictures.
#include <cstdio>
#include <string>

#include "apps/brimlox-gallery/gallery_session.h"
#include "apps/common/command_line.h"
#include "controls/library.h"

namespace {

const char* const kUsage =
    "usage: brimlox-gallery [--headless] [--out DIR] [--script FILE] [--forms DIR] [--page NAME]\n"
    "\n"
    "Without --headless and with a display (DISPLAY or WAYLAND_DISPLAY), shows the gallery in a\n"
    "window until it is closed. Otherwise writes one PNG per scene and index.html to DIR.\n"
    "\n"
    "  --headless      write pictures even when a display is there\n"
    "  --out DIR       where pictures go (default gallery-out)\n"
    "  --script FILE   play an input script on the gallery form (docs/input-script.md); its\n"
    "                  screenshot lines write DIR/NAME.png; shown in a window when there is a display\n"
    "  --forms DIR     read the form files from DIR (default: the source tree's forms/, or the\n"
    "                  installed share/brimlox/forms)\n"
    "  --page NAME     the form shown live or played by --script: main (default) or dreambars\n"
    "                  (auto-hiding, accordion and banded DreamBars); --headless tours both\n"
    "  --version       print the version\n";

struct Parsed {
    brimlox::gallery::Options options;
    bool help = false;
    bool version = false;
    std::string error;
};

Parsed ParseArguments(int argc, char** argv) {
    static const brimlox::apps::OptionRule kOptions[] = {{"--out", true},       {"--forms", true}, {"--script", true},
                                                         {"--page", true},      {"--headless", false}, {"--help", false}, {"-h", false},
                                                         {"--version", false}};
    Parsed p;
    brimlox::apps::CommandLine line;
    if (auto problem = line.Parse(brimlox::apps::ArgumentsAfter(argc, argv, 1), kOptions)) {
        p.error = *problem;
        return p;
    }
    if (!line.Positional().empty()) p.error = "unknown argument '" + line.Positional()[0] + "'";
    p.options.out = line.Value("--out", p.options.out);
    p.options.forms = line.Value("--forms");
    p.options.script = line.Value("--script");
    p.options.page = line.Value("--page");
    if (p.error.empty() && !brimlox::gallery::KnownPage(p.options.page))
        p.error = "unknown page '" + p.options.page + "' (main or dreambars)";
    p.options.headless = line.Has("--headless");
    p.help = line.Has("--help") || line.Has("-h");
    p.version = line.Has("--version");
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brimlox::gallery;
    const Parsed p = ParseArguments(argc, argv);
    if (!p.error.empty()) {
        std::fprintf(stderr, "brimlox-gallery: %s (try --help)\n", p.error.c_str());
        return 2;
    }
    if (p.version) {
        std::printf("brimlox-gallery %s\n", brimlox::controls::Version());
        return 0;
    }
    if (p.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const bool display = !p.options.headless && DisplayNamed();
    if (!p.options.script.empty()) return RunScript(p.options, display);
    if (!display) return RunHeadless(p.options);
    return RunLive(p.options);
}

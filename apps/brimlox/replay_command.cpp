#include "apps/brimlox/replay_command.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "apps/common/command_line.h"
#include "platform/gdi/png.h"
#include "platform/gdi/trace_replayer.h"

namespace brimlox::cli {

const char* const kReplayUsage =
    "usage: brimlox replay TRACE [-o OUT.png] [--all DIR] [--check]\n"
    "\n"
    "Draws a GDI trace (written with BRIMLOX_GDI_TRACE=FILE) again.\n"
    "  -o OUT.png   write the first surface of the trace (without any: the bitmap last\n"
    "               held by the first memory DC the trace created)\n"
    "  --all DIR    write every surface as DIR/surface-N.png, N counting surfaces from 1\n"
    "  --check      compare the drawing with the trace's #result pixels\n"
    "\n"
    "Exit status: 0 done; 1 the drawing differs from #result or cannot be written;\n"
    "2 bad usage or a malformed trace.\n";

namespace {

constexpr std::int64_t kMaxReplayBitmapPixels = std::int64_t{1} << 24;

struct ReplayArgs {
    std::string trace;
    std::string out;
    std::string allDir;
    bool check = false;
};

// One line, as every other command's usage errors.
int Usage(const std::string& problem) {
    std::fprintf(stderr, "brimlox replay: %s (try --help)\n", problem.c_str());
    return 2;
}

// Fills `args`; returns -1 to go on, or the exit code to stop with.
int ParseArgs(int argc, char** argv, ReplayArgs& args) {
    static const apps::OptionRule kOptions[] = {{"--help", false}, {"-h", false}, {"-o", true}, {"--all", true},
                                                {"--check", false}};
    apps::CommandLine line;
    if (auto problem = line.Parse(apps::ArgumentsAfter(argc, argv, 2), kOptions)) return Usage(*problem);
    if (line.Has("--help") || line.Has("-h")) {
        std::fputs(kReplayUsage, stdout);
        return 0;
    }
    args.out = line.Value("-o");
    args.allDir = line.Value("--all");
    args.check = line.Has("--check");
    if (line.Positional().size() > 1) return Usage("more than one trace given");
    if (line.Positional().empty()) return Usage("no trace given");
    args.trace = line.Positional()[0];
    if (args.out.empty() && args.allDir.empty() && !args.check) return Usage("nothing to do: give -o, --all or --check");
    return -1;
}

bool Write(const gdi::Surface& s, const std::string& path) {
    std::string error;
    if (gdi::WriteSurfacePng(s, path, &error)) return true;
    std::fprintf(stderr, "brimlox replay: %s\n", error.c_str());
    return false;
}

// Writes -o and --all. A trace of off-screen drawing has no #dc; its first memory DC's bitmap
// stands in, and the user is told so.
int WriteOutputs(const gdi::replay::TraceReplayer& replayer, const ReplayArgs& args) {
    const auto& surfaces = replayer.Surfaces();
    if (surfaces.empty() || !surfaces.front().pixels) {
        std::fprintf(stderr,
                     "brimlox replay: %s has no surface and no memory DC that held a bitmap: nothing to write\n",
                     args.trace.c_str());
        return 1;
    }
    if (!replayer.HadDcLines())
        std::fprintf(stderr, "brimlox replay: %s has no surface; writing the bitmap of its first memory DC\n",
                     args.trace.c_str());
    bool ok = true;
    if (!args.out.empty()) ok = Write(*surfaces.front().pixels, args.out) && ok;
    if (!args.allDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(args.allDir, ec);
        for (std::size_t i = 0; i < surfaces.size(); ++i) {
            if (!surfaces[i].pixels) continue;
            ok = Write(*surfaces[i].pixels, args.allDir + "/surface-" + std::to_string(i + 1) + ".png") && ok;
        }
    }
    return ok ? 0 : 1;
}

}  // namespace

// Reading errors are usage-class failures (2); a drawing that differs or cannot be written is
// a result of the replay (1). Only the first surface is kept unless --all wants every one.
int RunReplay(int argc, char** argv) {
    ReplayArgs args;
    if (int code = ParseArgs(argc, argv, args); code >= 0) return code;
    std::error_code ec;
    if (std::filesystem::is_directory(args.trace, ec)) {
        std::fprintf(stderr, "brimlox replay: %s is a folder, not a trace\n", args.trace.c_str());
        return 2;
    }
    std::ifstream in(args.trace, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "brimlox replay: cannot open %s\n", args.trace.c_str());
        return 2;
    }
    gdi::replay::ReplayOptions options;
    options.keepEverySurface = !args.allDir.empty();
    // A trace of a few lines may ask for bitmaps of gigabytes; like the fuzzer, the tool bounds
    // each one (16 Mpixels covers any screen this platform draws).
    options.maxBitmapPixels = kMaxReplayBitmapPixels;
    gdi::replay::TraceReplayer replayer(options);
    try {
        replayer.Run(in);
    } catch (const gdi::replay::TraceFormatError& e) {
        std::fprintf(stderr, "brimlox replay: %s: %s\n", args.trace.c_str(), e.what());
        return 2;
    }
    int code = args.out.empty() && args.allDir.empty() ? 0 : WriteOutputs(replayer, args);
    if (args.check) {
        if (const auto& m = replayer.FirstMismatch()) {
            std::fprintf(stderr, "brimlox replay: %s: %s\n", args.trace.c_str(), m->Describe().c_str());
            return 1;
        }
        if (replayer.ResultsChecked() == 0)
            std::fprintf(stderr, "brimlox replay: %s has no #result lines: nothing was checked\n", args.trace.c_str());
    }
    return code;
}

}  // namespace brimlox::cli

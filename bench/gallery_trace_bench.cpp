// What tracing costs a whole program: the gallery's headless run (scenes, the scripted tour of
// its form, every picture written) with BRIMLOX_GDI_TRACE set, against the same run without.
// Both run the built gallery as a child process, so start-up and exit (where the trace's final
// pixels are written) are counted alike.
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Scratch(const char* name) {
    const fs::path dir = fs::temp_directory_path() / ("brimlox-bench-" + std::to_string(::getpid())) / name;
    fs::create_directories(dir);
    return dir.string();
}

// Runs the gallery headless into `out`; `trace` empty runs it untraced.
bool RunGallery(const std::string& out, const std::string& trace) {
    std::string command = trace.empty() ? "env -u BRIMLOX_GDI_TRACE " : "env BRIMLOX_GDI_TRACE='" + trace + "' ";
    command += std::string("'") + BRIMLOX_GALLERY_EXE + "' --headless --out '" + out + "' >/dev/null";
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void GalleryRun(benchmark::State& state, bool traced) {
    const std::string out = Scratch(traced ? "traced" : "plain");
    const std::string trace = traced ? out + "/gallery.trace" : "";
    for (auto _ : state) {
        if (!RunGallery(out, trace)) {
            state.SkipWithError("the gallery failed");
            break;
        }
    }
    if (traced) state.counters["trace_MB"] = static_cast<double>(fs::file_size(trace)) / 1e6;
    fs::remove_all(fs::path(out).parent_path());
}

void BM_GalleryHeadlessRun(benchmark::State& state) { GalleryRun(state, false); }
BENCHMARK(BM_GalleryHeadlessRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_GalleryHeadlessRunTraced(benchmark::State& state) { GalleryRun(state, true); }
BENCHMARK(BM_GalleryHeadlessRunTraced)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

// DreamBar against its physical baselines: a full paint of a 1920 x 120 bar tiled with a
// 16 x 16 picture against one BitBlt of the same area; PrintText wrapping 2,000 characters
// against DrawTextA(DT_WORDBREAK) of the same text into the same width, measured only and
// drawn; 100 ticks of a hidden auto-hiding bar against 100 ticks of a timer that does nothing.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_canvas.h"
#include "controls/dreambar/dreambar.h"
#include "controls/library.h"
#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"
#include "platform/user/timer.h"
#include "platform/user/user.h"

namespace {

using brimlox::controls::DreamBar;
namespace host = brimlox::host;

constexpr int kWidth = 1920, kHeight = 120, kTile = 16;
// Wide enough for the whole text to fit the 31 lines PrintText makes at most.
constexpr int kWrapPixels = 640;
constexpr int kTicks = 100, kTickMs = 100;

// A 24-bit BMP of kTile x kTile pixels in two colours.
std::shared_ptr<host::StdPicture> CheckPicture() {
    const int stride = (kTile * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> bmp = {'B', 'M'};
    auto le = [&](int v, int n) {
        for (int i = 0; i < n; ++i) bmp.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    le(54 + stride * kTile, 4), le(0, 4), le(54, 4), le(40, 4), le(kTile, 4), le(kTile, 4), le(1, 2), le(24, 2);
    le(0, 4), le(stride * kTile, 4), le(0, 4), le(0, 4), le(0, 4), le(0, 4);
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) bmp.push_back((x ^ y) & 4 ? 200 : 40), bmp.push_back(90), bmp.push_back(160);
        for (int pad = kTile * 3; pad < stride; ++pad) bmp.push_back(0);
    }
    return host::StdPicture::FromBytes(bmp);
}

std::string Prose() {
    std::string text;
    const char* words[] = {"alpha ", "bravo ", "charlie ", "delta ", "echo ", "foxtrot ", "golf ", "hotel "};
    for (int i = 0; text.size() < 2000; ++i) text += words[i % 8];
    text.resize(2000);
    return text;
}

struct BarOnForm {
    BarOnForm() {
        brimlox::controls::RegisterLibrary();
        auto& desktop = brimlox::desktop::Desktop::Instance();
        desktop.Configure({kWidth, 1080, 15, true});
        desktop.UseVirtualClock(desktop.Now());
        form = host::Form::Create("frmBench");
        form->SetBorderStyle(0);
        form->Move(0, 0, kWidth * 15, 1080 * 15);
        form->Show();
        bar = std::static_pointer_cast<DreamBar>(form->Add("DreamBar", "dbrBench"));
        bar->Move(0, 0, kWidth * 15, kHeight * 15);
        host::DoEvents();
        // The form of the run before left the quit of "last form gone"; it would end Run at once.
        MSG stale;
        while (PeekMessageA(&stale, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    ~BarOnForm() { form->Unload(); }
    std::shared_ptr<host::Form> form;
    std::shared_ptr<DreamBar> bar;
};

void BM_BitBltBarBaseline(benchmark::State& state) {
    BenchCanvas target(kWidth, kHeight), source(kWidth, kHeight);
    for (auto _ : state) benchmark::DoNotOptimize(BitBlt(target.dc(), 0, 0, kWidth, kHeight, source.dc(), 0, 0, SRCCOPY));
}
BENCHMARK(BM_BitBltBarBaseline)->Unit(benchmark::kMicrosecond);

void BM_DreamBarTiledPaint(benchmark::State& state) {
    BarOnForm f;
    f.bar->SetPicture(CheckPicture());
    host::DoEvents();
    for (auto _ : state) f.bar->Paint();
}
BENCHMARK(BM_DreamBarTiledPaint)->Unit(benchmark::kMicrosecond);

void BM_DrawTextWordBreakBaseline(benchmark::State& state) {
    BarOnForm f;
    const std::string text = Prose();
    for (auto _ : state) {
        RECT r{0, 0, kWrapPixels, 100000};
        benchmark::DoNotOptimize(DrawTextA(f.bar->hDC(), text.c_str(), static_cast<int>(text.size()), &r,
                                           DT_WORDBREAK | DT_CALCRECT));
    }
}
BENCHMARK(BM_DrawTextWordBreakBaseline)->Unit(benchmark::kMicrosecond);

void BM_DreamBarWrapLines(benchmark::State& state) {
    BarOnForm f;
    const std::string text = Prose();
    for (auto _ : state) benchmark::DoNotOptimize(f.bar->WrapLines(text, kWrapPixels * 15.0f));
}
BENCHMARK(BM_DreamBarWrapLines)->Unit(benchmark::kMicrosecond);

void BM_DrawTextWordBreakDrawnBaseline(benchmark::State& state) {
    BarOnForm f;
    const std::string text = Prose();
    for (auto _ : state) {
        RECT r{0, 0, kWrapPixels, kHeight};
        benchmark::DoNotOptimize(DrawTextA(f.bar->hDC(), text.c_str(), static_cast<int>(text.size()), &r,
                                           DT_WORDBREAK | DT_NOCLIP));
    }
}
BENCHMARK(BM_DrawTextWordBreakDrawnBaseline)->Unit(benchmark::kMicrosecond);

void BM_DreamBarPrintTextWrapped(benchmark::State& state) {
    BarOnForm f;
    const std::string text = Prose();
    for (auto _ : state) f.bar->PrintText(text, 0, 15, 15, kWrapPixels * 15.0f);
}
BENCHMARK(BM_DreamBarPrintTextWrapped)->Unit(benchmark::kMicrosecond);

// Runs the event loop on the virtual clock for kTicks intervals of kTickMs.
void RunTicks() {
    auto& desktop = brimlox::desktop::Desktop::Instance();
    desktop.SetRunLimit(desktop.Now() + kTicks * kTickMs);
    host::Run();
    desktop.SetRunLimit(0);
}

void BM_BareTimerTicksBaseline(benchmark::State& state) {
    BarOnForm f;
    int ticks = 0;
    brimlox::user::HostTimer timer([&ticks] { ++ticks; });
    timer.SetInterval(kTickMs);
    timer.SetEnabled(true);
    for (auto _ : state) RunTicks();
    state.counters["ticks/run"] = static_cast<double>(ticks) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_BareTimerTicksBaseline)->Unit(benchmark::kMicrosecond);

// The bar is hidden (minimised) and the mouse is far from it: every tick looks, finds the
// mouse away and keeps the bar hidden.
void BM_DreamBarHiddenAutoHideTicks(benchmark::State& state) {
    BarOnForm f;
    f.bar->SetCaption("Tools");
    f.bar->SetAutoHide(true);
    SetCursorPos(kWidth / 2, 900);
    host::DoEvents();
    RunTicks();
    if (!f.bar->Minimized()) state.SkipWithError("the bar did not hide");
    for (auto _ : state) RunTicks();
    if (!f.bar->Minimized()) state.SkipWithError("the bar showed itself");
}
BENCHMARK(BM_DreamBarHiddenAutoHideTicks)->Unit(benchmark::kMicrosecond);

}  // namespace

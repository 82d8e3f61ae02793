// The scroll bar's drawing cost against FillRect of the bar's own area (300 x 17 pixels):
// a thumb move as a drag makes it (Refresh(False) after the value changed: glyphs, track,
// border, thumb, the window refreshed) and a full repaint (buttons, then all of that).
#include <benchmark/benchmark.h>

#include "controls/library.h"
#include "bench/bench_canvas.h"
#include "controls/scrollbar/scrollbar.h"
#include "platform/desktop/desktop.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"

namespace {

using brimlox::controls::ScrollBar;

constexpr int kWidth = 300;
constexpr int kHeight = 17;

// A shown form with one 300 x 17 bar at the screen's corner.
struct BarOnForm {
    BarOnForm() {
        brimlox::desktop::Desktop::Instance().UseVirtualClock();
        brimlox::controls::RegisterLibrary();
        form = brimlox::host::Form::Create("frmBench");
        form->SetBorderStyle(0);
        form->Move(0, 0, 400 * 15, 100 * 15);
        bar = std::static_pointer_cast<ScrollBar>(form->Add("ScrollBar"));
        bar->Move(0, 0, kWidth * 15, kHeight * 15);
        bar->SetMax(100);
        form->Show();
        brimlox::host::DoEvents();
    }
    ~BarOnForm() {
        form->Unload();
        brimlox::host::ResetHostState();
    }
    std::shared_ptr<brimlox::host::Form> form;
    std::shared_ptr<ScrollBar> bar;
};

void BM_FillRectBarArea(benchmark::State& state) {
    BenchCanvas canvas(kWidth, kHeight);
    HBRUSH brush = CreateSolidBrush(RGB(200, 200, 200));
    RECT r{0, 0, kWidth, kHeight};
    for (auto _ : state) benchmark::DoNotOptimize(FillRect(canvas.dc(), &r, brush));
    DeleteObject(brush);
}
BENCHMARK(BM_FillRectBarArea);

// The pointer drags the thumb back and forth by ten pixels; every move repaints the thumb.
void BM_ScrollBarThumbMove(benchmark::State& state) {
    BarOnForm f;
    const auto& g = f.bar->Geometry();
    float grab = static_cast<float>(g.thumbPos + g.thumbLen / 2);
    f.bar->MouseDown(1, 0, grab, 120);
    bool out = false;
    for (auto _ : state) {
        out = !out;
        f.bar->MouseMove(1, 0, grab + (out ? 150.0f : 0.0f), 120);
    }
    f.bar->MouseUp(1, 0, grab, 120);
}
BENCHMARK(BM_ScrollBarThumbMove);

void BM_ScrollBarFullRepaint(benchmark::State& state) {
    BarOnForm f;
    f.bar->SetValue(30);
    for (auto _ : state) f.bar->Paint();
}
BENCHMARK(BM_ScrollBarFullRepaint);

}  // namespace

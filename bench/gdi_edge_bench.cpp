// DrawEdge(EDGE_RAISED, BF_RECT | BF_MIDDLE) of a 100x30 button rectangle against FillRect of
// the same rectangle, the floor any edge drawing pays for its face. Also a wide round pen
// stroke under R2_NOTXORPEN (the splitter's track line) against FillRect of its bounds.
#include <benchmark/benchmark.h>

#include "bench/bench_canvas.h"
#include "platform/gdi/gdi.h"

namespace {

void BM_FillRectButton(benchmark::State& state) {
    BenchCanvas canvas(120, 40);
    HBRUSH brush = GetSysColorBrush(COLOR_3DFACE);
    const RECT r{10, 5, 110, 35};
    for (auto _ : state) benchmark::DoNotOptimize(FillRect(canvas.dc(), &r, brush));
}
BENCHMARK(BM_FillRectButton);

void BM_DrawEdgeRaisedMiddleButton(benchmark::State& state) {
    BenchCanvas canvas(120, 40);
    for (auto _ : state) {
        RECT r{10, 5, 110, 35};
        benchmark::DoNotOptimize(DrawEdge(canvas.dc(), &r, EDGE_RAISED, BF_RECT | BF_MIDDLE));
    }
}
BENCHMARK(BM_DrawEdgeRaisedMiddleButton);

void BM_FillRectTrackBounds(benchmark::State& state) {
    BenchCanvas canvas(800, 600);
    HBRUSH brush = GetSysColorBrush(COLOR_3DFACE);
    const RECT r{97, 0, 104, 600};
    for (auto _ : state) benchmark::DoNotOptimize(FillRect(canvas.dc(), &r, brush));
}
BENCHMARK(BM_FillRectTrackBounds);

void BM_NotXorTrackLine(benchmark::State& state) {
    BenchCanvas canvas(800, 600);
    HPEN pen = CreatePen(PS_SOLID, 5, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(canvas.dc(), pen);
    SetROP2(canvas.dc(), R2_NOTXORPEN);
    for (auto _ : state) {
        MoveToEx(canvas.dc(), 100, 0, nullptr);
        benchmark::DoNotOptimize(LineTo(canvas.dc(), 100, 600));
    }
    SelectObject(canvas.dc(), old);
    DeleteObject(pen);
}
BENCHMARK(BM_NotXorTrackLine);

}  // namespace

// Cosmetic lines: LineTo of an 895-pixel diagonal on a full-HD 32-bpp surface against a plain
// loop that writes the same pixels into the same surface.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/bench_canvas.h"
#include "platform/gdi/dc.h"

using namespace brimlox::gdi;

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kLength = 895;

void BM_LineToDiagonal895(benchmark::State& state) {
    BenchCanvas canvas(kWidth, kHeight);
    for (auto _ : state) {
        MoveToEx(canvas.dc(), 0, 0, nullptr);
        benchmark::DoNotOptimize(LineTo(canvas.dc(), kLength, kLength));
    }
}
BENCHMARK(BM_LineToDiagonal895);

void BM_PlainLoopDiagonal895(benchmark::State& state) {
    BenchCanvas canvas(kWidth, kHeight);
    Surface* s = LookupDc(canvas.dc())->Target();
    for (auto _ : state) {
        for (int i = 0; i < kLength; ++i) s->Row32(i)[i] = 0;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainLoopDiagonal895);

}  // namespace

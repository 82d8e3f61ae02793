// FillRect of a full-HD surface against memset of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/bench_canvas.h"
#include "platform/gdi/gdi.h"

namespace {
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

void BM_MemsetFullHd(benchmark::State& state) {
    std::vector<std::uint32_t> bytes(static_cast<std::size_t>(kWidth) * kHeight);
    int v = 0;
    for (auto _ : state) {
        std::memset(bytes.data(), ++v & 0xFF, bytes.size() * 4);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size() * 4));
}
BENCHMARK(BM_MemsetFullHd);

void BM_FillRectSolidFullHd(benchmark::State& state) {
    BenchCanvas canvas(kWidth, kHeight);
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    RECT r{0, 0, kWidth, kHeight};
    for (auto _ : state) benchmark::DoNotOptimize(FillRect(canvas.dc(), &r, brush));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kWidth) * kHeight * 4);
    DeleteObject(brush);
}
BENCHMARK(BM_FillRectSolidFullHd);
}  // namespace

// The shared painters against their baselines: GradientFill against FillRect of the same
// full-HD rectangle, TransparentPaint of a 32 x 32 picture against a plain BitBlt of it, and
// the greyscale effect on a 256 x 256 DIB against a plain loop over the same bytes.
#include <benchmark/benchmark.h>

#include "bench/bench_canvas.h"
#include "foundation/dib/dib_surface.h"
#include "foundation/painters/gradient.h"
#include "foundation/painters/picture_effects.h"
#include "foundation/painters/transparent_paint.h"
#include "platform/gdi/gdi.h"

namespace {

using namespace brimlox::foundation;

// A memory DC over a 32-bpp bitmap, freed at the end of the benchmark.
constexpr RECT kFullHd{0, 0, 1920, 1080};

void BM_FillRectFullHdBaseline(benchmark::State& state) {
    BenchCanvas target(1920, 1080);
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    for (auto _ : state) benchmark::DoNotOptimize(FillRect(target.dc(), &kFullHd, brush));
    DeleteObject(brush);
}
BENCHMARK(BM_FillRectFullHdBaseline);

void BM_GradientFillFullHd(benchmark::State& state) {
    BenchCanvas target(1920, 1080);
    bool vertical = state.range(0) != 0;
    for (auto _ : state) GradientFill(target.dc(), kFullHd, RGB(255, 0, 0), RGB(0, 0, 255), vertical);
}
BENCHMARK(BM_GradientFillFullHd)->Arg(1)->Arg(0);

// A 32 x 32 picture on magenta with a filled square in it.
HBITMAP Picture() {
    BenchCanvas canvas(32, 32);
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255)), red = CreateSolidBrush(RGB(200, 0, 0));
    RECT all{0, 0, 32, 32}, square{6, 6, 26, 26};
    FillRect(canvas.dc(), &all, magenta);
    FillRect(canvas.dc(), &square, red);
    DeleteObject(magenta);
    DeleteObject(red);
    return canvas.TakeBitmap();
}

void BM_BitBlt32Baseline(benchmark::State& state) {
    BenchCanvas target(64, 64);
    HBITMAP picture = Picture();
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, picture);
    for (auto _ : state) benchmark::DoNotOptimize(BitBlt(target.dc(), 8, 8, 32, 32, source, 0, 0, SRCCOPY));
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(picture);
}
BENCHMARK(BM_BitBlt32Baseline);

void BM_TransparentPaint32(benchmark::State& state) {
    BenchCanvas target(64, 64);
    HBITMAP picture = Picture();
    const int effect = static_cast<int>(state.range(0));
    for (auto _ : state) TransparentPaint(target.dc(), picture, RECT{0, 0, 32, 32}, RECT{8, 8, 40, 40}, effect, -1);
    DeleteObject(picture);
}
BENCHMARK(BM_TransparentPaint32)->Arg(0)->Arg(2);

constexpr int kSide = 256;

void BM_ByteLoop256Baseline(benchmark::State& state) {
    CUlvaroDIBS dib;
    dib.Create(kSide, kSide);
    dib.RandomiseBits(false);
    std::span<std::uint8_t> bits = dib.Bits();
    for (auto _ : state) {
        // The simplest pass that reads and writes every byte.
        for (std::uint8_t& b : bits) b = static_cast<std::uint8_t>(b ^ 7);
        benchmark::DoNotOptimize(bits.data());
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_ByteLoop256Baseline);

void BM_GreyscaleEffect256(benchmark::State& state) {
    CUlvaroDIBS dib;
    dib.Create(kSide, kSide);
    dib.RandomiseBits(false);
    // After the first pass every pixel is grey and each pass flips it by XOR 7: the same
    // work per pixel every time.
    for (auto _ : state) {
        ApplyGreyscaleEffect(dib, RGB(255, 0, 255));
        benchmark::DoNotOptimize(dib.Bits().data());
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_GreyscaleEffect256);

}  // namespace

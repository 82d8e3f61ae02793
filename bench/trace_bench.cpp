// The drawing trace's costs, each beside its baseline: a traced call with tracing off against
// a plain call, a small FillRect against the same fill through the raster layer alone, a small
// FillRect with tracing on against the same call with it off, and the DIB fingerprint against
// memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/raster/fill.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/trace.h"
#include "platform/gdi/trace_recorder.h"

namespace {

// A 64x64 memory DC with a brush, freed on destruction.
struct SmallCanvas {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateBitmap(64, 64, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    ~SmallCanvas() {
        DeleteObject(brush);
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
};

void BM_RasterFillSmall(benchmark::State& state) {
    SmallCanvas c;
    brimlox::gdi::DcObject* dc = brimlox::gdi::LookupDc(c.dc);
    RECT r{4, 4, 20, 20};
    for (auto _ : state) {
        brimlox::gdi::raster::FillSolid(*dc->Target(), r, 0x0A141E);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RasterFillSmall);

void BM_FillRectSmallTracingOff(benchmark::State& state) {
    SmallCanvas c;
    RECT r{4, 4, 20, 20};
    for (auto _ : state) benchmark::DoNotOptimize(FillRect(c.dc, &r, c.brush));
}
BENCHMARK(BM_FillRectSmallTracingOff);

void BM_FillRectSmallTracingOn(benchmark::State& state) {
    SmallCanvas c;
    brimlox::gdi::TraceStart("/dev/null");
    RECT r{4, 4, 20, 20};
    for (auto _ : state) benchmark::DoNotOptimize(FillRect(c.dc, &r, c.brush));
    brimlox::gdi::TraceStop();
}
BENCHMARK(BM_FillRectSmallTracingOn);

// What one traced call pays when tracing is off, beside a plain call that cannot be inlined.
__attribute__((noinline)) int PlainCall(int v) {
    benchmark::DoNotOptimize(v);
    return v;
}
__attribute__((noinline)) int TracedCall(int v) {
    brimlox::gdi::TraceCall tc("Bench");
    if (tc) tc.Args(v);
    return tc.Return(v);
}

void BM_PlainCall(benchmark::State& state) {
    int v = 0;
    for (auto _ : state) benchmark::DoNotOptimize(v = PlainCall(v + 1));
}
BENCHMARK(BM_PlainCall);

void BM_TraceCallOff(benchmark::State& state) {
    int v = 0;
    for (auto _ : state) benchmark::DoNotOptimize(v = TracedCall(v + 1));
}
BENCHMARK(BM_TraceCallOff);

constexpr int kDibWidth = 640;
constexpr int kDibHeight = 480;

void BM_MemcpyDibBytes(benchmark::State& state) {
    auto s = brimlox::gdi::Surface::Create(kDibWidth, kDibHeight, brimlox::gdi::PixelFormat::Rgb24);
    std::vector<std::uint8_t> copy(s->ByteSize());
    for (auto _ : state) {
        std::memcpy(copy.data(), s->Bits(), s->ByteSize());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(s->ByteSize()));
}
BENCHMARK(BM_MemcpyDibBytes);

void BM_FingerprintDib(benchmark::State& state) {
    auto s = brimlox::gdi::Surface::Create(kDibWidth, kDibHeight, brimlox::gdi::PixelFormat::Rgb24);
    for (auto _ : state) benchmark::DoNotOptimize(brimlox::gdi::TraceRecorder::Fingerprint(*s));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(s->ByteSize()));
}
BENCHMARK(BM_FingerprintDib);

}  // namespace

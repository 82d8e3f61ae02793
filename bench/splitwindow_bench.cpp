// SplitWindow against its physical baselines: a full paint of a 1920 x 1080 control tiled with a
// 32 x 32 picture against one BitBlt of a bitmap already tiled to that size; one drag step
// (erase the track line, draw it one pixel on) against two PatBlt(DSTINVERT) of the line's
// area, with 1 and with 20 top-level windows on the screen; and an idle paint's layout pass
// over 100 children against 100 late-bound reads of Left and Width.
#include <benchmark/benchmark.h>

#include "bench/bench_canvas.h"
#include "controls/splitwindow/splitwindow.h"
#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"
#include "platform/host/type_info.h"
#include "platform/user/user.h"

namespace {

using brimlox::controls::SplitWindow;
namespace host = brimlox::host;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kLineWidth = 4;

// A 24-bit BMP of `side` x `side` pixels in a colour ramp.
std::shared_ptr<host::StdPicture> RampPicture(int side) {
    const int stride = (side * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> bmp = {'B', 'M'};
    auto le = [&](int v, int n) {
        for (int i = 0; i < n; ++i) bmp.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    le(54 + stride * side, 4), le(0, 4), le(54, 4), le(40, 4), le(side, 4), le(side, 4), le(1, 2), le(24, 2);
    le(0, 4), le(stride * side, 4), le(0, 4), le(0, 4), le(0, 4), le(0, 4);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) bmp.push_back(x * 7), bmp.push_back(y * 7), bmp.push_back(128);
        for (int pad = side * 3; pad < stride; ++pad) bmp.push_back(0);
    }
    return host::StdPicture::FromBytes(bmp);
}

void UseScreen() {
    host::StartHost();
    brimlox::desktop::Desktop::Instance().Configure({kWidth, kHeight, 15, true});
}

// ---- Tiled paint ---------------------------------------------------------------------------

void BM_BitBltPreTiledBaseline(benchmark::State& state) {
    BenchCanvas target(kWidth, kHeight), source(kWidth, kHeight);
    for (auto _ : state) benchmark::DoNotOptimize(BitBlt(target.dc(), 0, 0, kWidth, kHeight, source.dc(), 0, 0, SRCCOPY));
}
BENCHMARK(BM_BitBltPreTiledBaseline)->Unit(benchmark::kMicrosecond);

void BM_SplitWindowTiledPaint(benchmark::State& state) {
    UseScreen();
    auto form = host::Form::Create("frmBench");
    form->SetBorderStyle(0);
    form->Move(0, 0, kWidth * 15, kHeight * 15);
    form->Show();
    auto s = std::static_pointer_cast<SplitWindow>(form->Add("SplitWindow", "splBench"));
    s->Move(0, 0, kWidth * 15, kHeight * 15);
    s->SetPicture(RampPicture(32));
    host::DoEvents();
    for (auto _ : state) s->Paint();
    form->Unload();
}
BENCHMARK(BM_SplitWindowTiledPaint)->Unit(benchmark::kMicrosecond);

// ---- Drag step -------------------------------------------------------------------------------

// `windows` top-level forms on the screen while the line is drawn.
std::vector<std::shared_ptr<host::Form>> Windows(int windows) {
    UseScreen();
    std::vector<std::shared_ptr<host::Form>> forms;
    for (int i = 0; i < windows; ++i) {
        auto f = host::Form::Create("frmBench" + std::to_string(i));
        f->Move(i * 600, i * 450, 6000, 4500);
        f->Show();
        forms.push_back(f);
    }
    host::DoEvents();
    return forms;
}

void BM_TwoPatBltDstInvertBaseline(benchmark::State& state) {
    auto forms = Windows(static_cast<int>(state.range(0)));
    int x = 100;
    for (auto _ : state) {
        HDC screen = GetDC(nullptr);
        PatBlt(screen, x - kLineWidth / 2, 0, kLineWidth, kHeight, DSTINVERT);
        ++x;
        PatBlt(screen, x - kLineWidth / 2, 0, kLineWidth, kHeight, DSTINVERT);
        ReleaseDC(nullptr, screen);
        if (x > 1800) x = 100;
    }
    for (auto& f : forms) f->Unload();
}
BENCHMARK(BM_TwoPatBltDstInvertBaseline)->Arg(1)->Arg(20)->ArgNames({"windows"})->Unit(benchmark::kMicrosecond);

void BM_SplitWindowDragStep(benchmark::State& state) {
    auto forms = Windows(static_cast<int>(state.range(0)));
    auto s = std::static_pointer_cast<SplitWindow>(forms[0]->Add("SplitWindow", "splBench"));
    int x = 100;
    s->DrawTrackLine(x, 0, x, kHeight);
    for (auto _ : state) {
        s->DrawTrackLine(x, 0, x, kHeight);  // erase
        ++x;
        s->DrawTrackLine(x, 0, x, kHeight);  // draw one pixel on
        if (x > 1800) {
            s->DrawTrackLine(x, 0, x, kHeight);
            x = 100;
            s->DrawTrackLine(x, 0, x, kHeight);
        }
    }
    s->DrawTrackLine(x, 0, x, kHeight);
    for (auto& f : forms) f->Unload();
}
BENCHMARK(BM_SplitWindowDragStep)->Arg(1)->Arg(20)->ArgNames({"windows"})->Unit(benchmark::kMicrosecond);

// ---- Idle layout pass ------------------------------------------------------------------------

constexpr int kChildren = 100;

struct HundredPanes {
    HundredPanes() {
        UseScreen();
        form = host::Form::Create("frmPanes");
        form->SetBorderStyle(0);
        form->Move(0, 0, kWidth * 15, 300 * 15);
        form->Show();
        splitter = std::static_pointer_cast<SplitWindow>(form->Add("SplitWindow", "splPanes"));
        splitter->Move(0, 0, kWidth * 15, 300 * 15);
        for (int i = 0; i < kChildren; ++i) {
            auto c = form->Add("PictureBox", "", splitter.get());
            c->Move((1 + 18 * i) * 15, 15, 15 * 15, 100 * 15);
            children.push_back(c);
        }
        splitter->SetActive(true);
        host::DoEvents();
    }
    ~HundredPanes() {
        children.clear();
        form->Unload();
    }
    std::shared_ptr<host::Form> form;
    std::shared_ptr<SplitWindow> splitter;
    std::vector<std::shared_ptr<host::Control>> children;
};

void BM_LateBoundLeftAndWidthBaseline(benchmark::State& state) {
    HundredPanes panes;
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (const auto& c : panes.children) {
            sum += host::GetProperty(*c, "Left").ToLong();
            sum += host::GetProperty(*c, "Width").ToLong();
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_LateBoundLeftAndWidthBaseline)->Unit(benchmark::kMicrosecond);

void BM_SplitWindowIdleLayoutPass(benchmark::State& state) {
    HundredPanes panes;
    for (auto _ : state) panes.splitter->LaterPaintLayout();
}
BENCHMARK(BM_SplitWindowIdleLayoutPass)->Unit(benchmark::kMicrosecond);

}  // namespace

// The progress bar and the drawing classes against their baselines, in the same run:
// - a ProgressBar Refresh (text, fill, segments, bevels, Show) against 30 FillRects of its
//   area and one BitBlt of it;
// - the full-height NOT-XOR pen fill against one PatBlt of the same area with the matching
//   raster operation (DPxn, 0xA50065);
// - HiddenBuffer.Show of a full-HD buffer against memcpy of the same bytes;
// - HiddenBuffer.DrawTextRect against a direct ExtTextOutA of the same text and rectangle;
// - a CLogFont rotation change against creating and deleting the same font directly.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "controls/library.h"
#include "bench/bench_canvas.h"
#include "controls/indicators/progressbar.h"
#include "drawing/clog_font.h"
#include "drawing/hidden_buffer.h"
#include "platform/desktop/desktop.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"

namespace {

using brimlox::controls::ProgressBar;
using brimlox::drawing::CLogFont;
using brimlox::drawing::HiddenBuffer;

constexpr int kBarWidth = 300;
constexpr int kBarHeight = 20;
constexpr DWORD kDPxn = 0x00A50065;  // NOT (pattern XOR destination): the NOT-XOR pen as a ROP3

// A shown form with one 300 x 20 bar with segments and text at the screen's corner.
struct BarOnForm {
    BarOnForm() {
        brimlox::desktop::Desktop::Instance().UseVirtualClock();
        brimlox::controls::RegisterLibrary();
        form = brimlox::host::Form::Create("frmBench");
        form->SetBorderStyle(0);
        form->Move(0, 0, 400 * 15, 100 * 15);
        bar = std::static_pointer_cast<ProgressBar>(form->Add("ProgressBar"));
        bar->Move(0, 0, kBarWidth * 15, kBarHeight * 15);
        bar->SetDivisions(10);
        bar->SetValue(47);
        form->Show();
        brimlox::host::DoEvents();
    }
    ~BarOnForm() {
        form->Unload();
        brimlox::host::ResetHostState();
    }
    std::shared_ptr<brimlox::host::Form> form;
    std::shared_ptr<ProgressBar> bar;
};

void BM_ThirtyFillRectsAndBlitOfBarArea(benchmark::State& state) {
    BenchCanvas canvas(kBarWidth, kBarHeight), target(kBarWidth, kBarHeight);
    HBRUSH brush = CreateSolidBrush(RGB(200, 200, 200));
    RECT r{0, 0, kBarWidth, kBarHeight};
    for (auto _ : state) {
        for (int i = 0; i < 30; ++i) FillRect(canvas.dc(), &r, brush);
        benchmark::DoNotOptimize(BitBlt(target.dc(), 0, 0, kBarWidth, kBarHeight, canvas.dc(), 0, 0, SRCCOPY));
    }
    DeleteObject(brush);
}
BENCHMARK(BM_ThirtyFillRectsAndBlitOfBarArea);

void BM_ProgressBarRefresh(benchmark::State& state) {
    BarOnForm f;
    for (auto _ : state) f.bar->Refresh();
}
BENCHMARK(BM_ProgressBarRefresh);

// The fill as the bar draws it: a flat-ended geometric pen as wide as the bar is tall.
void BM_NotXorPenFill(benchmark::State& state) {
    BenchCanvas target(kBarWidth, kBarHeight);
    HiddenBuffer b;
    b.Attach(target.dc(), kBarWidth, kBarHeight);
    b.SetDrawMode(R2_NOTXORPEN);
    b.SetDrawWidth(kBarHeight);
    b.SetPenType(brimlox::drawing::GeometricPen);
    b.SetLineEndCap(brimlox::drawing::FlatCap);
    b.SetLineJoin(brimlox::drawing::MiterJoin);
    for (auto _ : state) b.DrawLine(0, kBarHeight / 2, kBarWidth, kBarHeight / 2, RGB(0, 0, 192));
}
BENCHMARK(BM_NotXorPenFill);

void BM_PatBltNotXorOfBarArea(benchmark::State& state) {
    BenchCanvas canvas(kBarWidth, kBarHeight);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 192));
    HGDIOBJ old = SelectObject(canvas.dc(), brush);
    for (auto _ : state) benchmark::DoNotOptimize(PatBlt(canvas.dc(), 0, 0, kBarWidth, kBarHeight, kDPxn));
    SelectObject(canvas.dc(), old);
    DeleteObject(brush);
}
BENCHMARK(BM_PatBltNotXorOfBarArea);

constexpr int kHdWidth = 1920;
constexpr int kHdHeight = 1080;

void BM_HiddenBufferShowFullHd(benchmark::State& state) {
    BenchCanvas target(kHdWidth, kHdHeight);
    HiddenBuffer b;
    b.Attach(target.dc(), kHdWidth, kHdHeight);
    for (auto _ : state) b.Show();
    state.SetBytesProcessed(state.iterations() * kHdWidth * kHdHeight * 4);
}
BENCHMARK(BM_HiddenBufferShowFullHd);

void BM_MemcpyShowBaselineFullHd(benchmark::State& state) {
    std::vector<std::uint32_t> from(kHdWidth * kHdHeight, 0xC0C0C0), to(kHdWidth * kHdHeight);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kHdWidth * kHdHeight * 4);
}
BENCHMARK(BM_MemcpyShowBaselineFullHd);

const char kText[] = "47% of the files copied";

void BM_HiddenBufferDrawTextRect(benchmark::State& state) {
    BenchCanvas target(kBarWidth, kBarHeight);
    HiddenBuffer b;
    b.Attach(target.dc(), kBarWidth, kBarHeight);
    for (auto _ : state) b.DrawTextRect(0, 2, kBarWidth, kBarHeight, kText, false, true, 2);
}
BENCHMARK(BM_HiddenBufferDrawTextRect);

// The same call the buffer makes, text and trailing blank included.
void BM_ExtTextOutDirect(benchmark::State& state) {
    BenchCanvas canvas(kBarWidth, kBarHeight);
    RECT r{0, 2, kBarWidth, kBarHeight};
    SetTextAlign(canvas.dc(), TA_CENTER);
    const char text[] = "47% of the files copied ";
    for (auto _ : state)
        benchmark::DoNotOptimize(ExtTextOutA(canvas.dc(), kBarWidth / 2, 2, ETO_OPAQUE | ETO_CLIPPED, &r, text,
                                             sizeof text - 1, nullptr));
}
BENCHMARK(BM_ExtTextOutDirect);

void BM_CLogFontRotationChange(benchmark::State& state) {
    brimlox::desktop::Desktop::Instance().UseVirtualClock();
    auto font = std::make_shared<brimlox::host::StdFont>();
    font->SetName("Arial");
    font->SetSize(10);
    CLogFont f;
    f.SetLogFont(font);
    float angle = 0;
    for (auto _ : state) {
        angle = angle >= 359 ? 0 : angle + 1;
        f.SetRotation(angle);
        benchmark::DoNotOptimize(f.Handle());
    }
}
BENCHMARK(BM_CLogFontRotationChange);

void BM_CreateAndDeleteRotatedFont(benchmark::State& state) {
    LOGFONTA lf{};
    lf.lfHeight = -13;
    lf.lfWeight = 400;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    std::strcpy(lf.lfFaceName, "Arial");
    int angle = 0;
    for (auto _ : state) {
        angle = angle >= 3590 ? 0 : angle + 10;
        lf.lfEscapement = lf.lfOrientation = angle;
        HFONT font = CreateFontIndirectA(&lf);
        benchmark::DoNotOptimize(font);
        DeleteObject(font);
    }
}
BENCHMARK(BM_CreateAndDeleteRotatedFont);

}  // namespace

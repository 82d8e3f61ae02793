// One paint of a 300 x 12-pixel Divider in its main looks, against filling the same area with
// FillRect (the looks without a picture) and against one BitBlt of the same area (the looks
// over the container's tiled picture).
#include <benchmark/benchmark.h>

#include "controls/library.h"
#include "controls/divider/divider.h"
#include "platform/gdi/gdi.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"

namespace {

using brimlox::controls::Divider;

constexpr int kWidth = 300, kHeight = 12;

// A 24-bit BMP of `side` x `side` pixels in a colour ramp.
std::shared_ptr<brimlox::host::StdPicture> RampPicture(int side) {
    const int stride = (side * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> bmp = {'B', 'M'};
    auto le = [&](int v, int n) {
        for (int i = 0; i < n; ++i) bmp.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    le(54 + stride * side, 4), le(0, 4), le(54, 4), le(40, 4), le(side, 4), le(side, 4), le(1, 2), le(24, 2);
    le(0, 4), le(stride * side, 4), le(0, 4), le(0, 4), le(0, 4), le(0, 4);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) bmp.push_back(x * 15), bmp.push_back(y * 15), bmp.push_back(128);
        for (int pad = side * 3; pad < stride; ++pad) bmp.push_back(0);
    }
    return brimlox::host::StdPicture::FromBytes(bmp);
}

void BM_FillRectDividerAreaBaseline(benchmark::State& state) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(kWidth, kHeight, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(RGB(212, 208, 200));
    RECT r{0, 0, kWidth, kHeight};
    for (auto _ : state) benchmark::DoNotOptimize(FillRect(dc, &r, brush));
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
BENCHMARK(BM_FillRectDividerAreaBaseline);

void BM_BitBltDividerAreaBaseline(benchmark::State& state) {
    HDC dc = CreateCompatibleDC(nullptr), source = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(kWidth, kHeight, 1, 32, nullptr), picture = CreateBitmap(kWidth, kHeight, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap), oldSource = SelectObject(source, picture);
    for (auto _ : state) benchmark::DoNotOptimize(BitBlt(dc, 0, 0, kWidth, kHeight, source, 0, 0, SRCCOPY));
    SelectObject(source, oldSource);
    SelectObject(dc, old);
    DeleteObject(picture);
    DeleteObject(bitmap);
    DeleteDC(source);
    DeleteDC(dc);
}
BENCHMARK(BM_BitBltDividerAreaBaseline);

enum Look { kDip, kDipGradient, kOverPicture16, kOverPicture1 };

// Paints one divider of the look given by the benchmark's argument, on a form that has a
// picture for the picture looks.
void BM_DividerPaint(benchmark::State& state) {
    brimlox::controls::RegisterLibrary();
    auto form = brimlox::host::Form::Create("frmBench");
    const auto look = static_cast<Look>(state.range(0));
    if (look == kOverPicture16) form->SetPicture(RampPicture(16));
    if (look == kOverPicture1) form->SetPicture(RampPicture(1));
    form->Show();
    auto divider = std::static_pointer_cast<Divider>(form->Add("Divider", "divBench"));
    divider->Move(3 * 15, 5 * 15, kWidth * 15, kHeight * 15);
    divider->SetStyle(brimlox::controls::DipDivider);
    divider->SetTransparent(look == kOverPicture16 || look == kOverPicture1);
    if (look == kDipGradient) divider->SetGradientPct(0.3f);
    brimlox::host::DoEvents();
    for (auto _ : state) divider->Paint();
    form->Unload();
}
BENCHMARK(BM_DividerPaint)
    ->Arg(kDip)
    ->Arg(kDipGradient)
    ->Arg(kOverPicture16)
    ->Arg(kOverPicture1)
    ->ArgNames({"look(0 dip,1 gradient,2 tile16,3 tile1)"});

}  // namespace

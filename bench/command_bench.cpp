// One DrawButton frame of a 75 x 25-pixel Command with a gradient face, a masked picture and a
// 3D caption, against FillRect of the same area.
#include <benchmark/benchmark.h>

#include "controls/library.h"
#include "controls/command/command.h"
#include "platform/gdi/gdi.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"

namespace {

using brimlox::controls::Command;

// A 16 x 16 24-bit BMP of a square on magenta.
std::shared_ptr<brimlox::host::StdPicture> Picture() {
    std::vector<std::uint8_t> bmp = {'B', 'M'};
    auto le = [&](int v, int n) {
        for (int i = 0; i < n; ++i) bmp.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    le(54 + 48 * 16, 4), le(0, 4), le(54, 4), le(40, 4), le(16, 4), le(16, 4), le(1, 2), le(24, 2), le(0, 4);
    le(48 * 16, 4), le(0, 4), le(0, 4), le(0, 4), le(0, 4);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            bool in = x > 3 && x < 12 && y > 3 && y < 12;
            bmp.push_back(in ? 200 : 255), bmp.push_back(0), bmp.push_back(in ? 0 : 255);
        }
    return brimlox::host::StdPicture::FromBytes(bmp);
}

void BM_FillRectButtonAreaBaseline(benchmark::State& state) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(75, 25, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(RGB(212, 208, 200));
    RECT r{0, 0, 75, 25};
    for (auto _ : state) benchmark::DoNotOptimize(FillRect(dc, &r, brush));
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
BENCHMARK(BM_FillRectButtonAreaBaseline);

void BM_CommandDrawButton(benchmark::State& state) {
    brimlox::controls::RegisterLibrary();
    auto form = brimlox::host::Form::Create("frmBench");
    form->Show();
    auto button = std::static_pointer_cast<Command>(form->Add("Command", "cmdBench"));
    button->Move(0, 0, 75 * 15, 25 * 15);
    button->SetCaption("Bench");
    button->SetGradientPct(25);
    button->SetFont3D(brimlox::controls::Inset3D);
    button->SetMaskColor(RGB(255, 0, 255));
    button->SetUseMask(true);
    button->SetPictureAlignment(brimlox::controls::LeftMiddle);
    button->SetPicture(Picture());
    button->Refresh();
    bool up = true;
    for (auto _ : state) {
        button->DrawButton(up);
        up = !up;
    }
    form->Unload();
}
BENCHMARK(BM_CommandDrawButton);

}  // namespace

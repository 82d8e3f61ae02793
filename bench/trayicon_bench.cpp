// The way from the shell's callback to the tray icon's Click handler (a right button-up, the
// message decoded, the event raised to one handler), against SendMessageA of the same message
// to a bare window procedure. The target: at most 10 times the baseline.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "controls/library.h"
#include "controls/trayicon/trayicon.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"
#include "platform/user/user.h"

namespace {

using brimlox::controls::TrayIcon;

LRESULT CALLBACK BareProc(HWND, UINT, WPARAM, LPARAM lParam) { return lParam; }

// A 16 x 16, 32-bit icon of one colour.
std::shared_ptr<brimlox::host::StdPicture> BenchIcon() {
    std::vector<std::uint8_t> b;
    auto le = [&](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    le(0, 2), le(1, 2), le(1, 2);
    b.push_back(16), b.push_back(16), b.push_back(0), b.push_back(0);
    le(1, 2), le(32, 2), le(40 + 1024 + 64, 4), le(22, 4);
    le(40, 4), le(16, 4), le(32, 4), le(1, 2), le(32, 2), le(0, 4), le(1024 + 64, 4);
    for (int i = 0; i < 4; ++i) le(0, 4);
    for (int i = 0; i < 256; ++i) b.push_back(200), b.push_back(100), b.push_back(50), b.push_back(255);
    for (int i = 0; i < 64; ++i) b.push_back(0);
    return brimlox::host::StdPicture::FromBytes(std::move(b));
}

void BM_SendMessageBareProcBaseline(benchmark::State& state) {
    brimlox::controls::RegisterLibrary();
    WNDCLASSA wc{};
    wc.lpfnWndProc = BareProc;
    wc.lpszClassName = "BenchBareTray";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "BenchBareTray", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    for (auto _ : state) benchmark::DoNotOptimize(SendMessageA(hwnd, WM_MOUSEMOVE, 0, WM_RBUTTONUP));
    DestroyWindow(hwnd);
    UnregisterClassA("BenchBareTray", nullptr);
}
BENCHMARK(BM_SendMessageBareProcBaseline);

void BM_TrayCallbackToClickHandler(benchmark::State& state) {
    brimlox::controls::RegisterLibrary();
    auto form = brimlox::host::Form::Create("frmBench");
    form->Show();
    auto tray = std::static_pointer_cast<TrayIcon>(form->Add("TrayIcon", "traBench"));
    tray->SetIcon(BenchIcon());
    std::int64_t clicks = 0;
    tray->Connect("Click", [&](std::span<brimlox::host::Variant> a) { clicks += a[0].ToInteger(); });
    brimlox::host::DoEvents();
    for (auto _ : state) benchmark::DoNotOptimize(SendMessageA(tray->hWnd(), WM_MOUSEMOVE, 0, WM_RBUTTONUP));
    if (clicks != 2 * static_cast<std::int64_t>(state.iterations())) state.SkipWithError("a click was lost");
    form->Unload();
}
BENCHMARK(BM_TrayCallbackToClickHandler);

}  // namespace

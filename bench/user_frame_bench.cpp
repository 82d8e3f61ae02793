// Frame costs against their peers in the same run:
// - painting the frame of a 640 x 480 window (border, gradient caption, icon place, text and
//   three buttons) against three FillRect calls over the whole window and one DrawTextA of
//   the caption in the caption font;
// - a drag of 100 pointer moves through the move loop on the virtual clock (input, WM_MOVING,
//   the XOR outline erased and drawn again) against 100 x 5 x four PatBlt(DSTINVERT) of the
//   outline's sides on the screen.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/desktop/desktop.h"
#include "platform/desktop/input_script.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/sysparams.h"
#include "platform/user/frame.h"
#include "platform/user/user.h"

namespace {

constexpr int kSteps = 100;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND FreshWindow() {
    brimlox::user::ResetUserState();
    auto& d = brimlox::desktop::Desktop::Instance();
    d.Reset();
    d.Configure(brimlox::desktop::DesktopSettings{1024, 768, 15});
    const char* cls = brimlox::user::EnsureWindowClass("BenchFrame", FrameProc, 0);
    HWND w = CreateWindowExA(0, cls, "Benchmark form with a caption", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 640,
                             480, nullptr, nullptr, nullptr, nullptr);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    return w;
}

void BM_FramePaint640x480(benchmark::State& state) {
    HWND w = FreshWindow();
    for (auto _ : state) SendMessageA(w, WM_NCPAINT, 1, 0);
    DestroyWindow(w);
}
BENCHMARK(BM_FramePaint640x480);

void BM_ThreeFillRectsAndCaptionText(benchmark::State& state) {
    HWND w = FreshWindow();
    HDC dc = GetWindowDC(w);
    LOGFONTA lf = brimlox::gdi::SystemLogFont(brimlox::gdi::SystemFont::Caption);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const RECT all{0, 0, 640, 480};
    HBRUSH brushes[3] = {GetSysColorBrush(COLOR_BTNFACE), GetSysColorBrush(COLOR_ACTIVECAPTION),
                         GetSysColorBrush(COLOR_ACTIVEBORDER)};
    for (auto _ : state) {
        for (HBRUSH b : brushes) FillRect(dc, &all, b);
        RECT text{24, 4, 560, 22};
        DrawTextA(dc, "Benchmark form with a caption", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(w, dc);
    DestroyWindow(w);
}
BENCHMARK(BM_ThreeFillRectsAndCaptionText);

// A press on the caption, kSteps moves a millisecond apart, and the release, from `start` on
// (a second later than the last drag, so the press is never taken for a double click).
std::string DragScript(std::uint64_t start) {
    auto at = [start](int ms) { return "at " + std::to_string(start + static_cast<std::uint64_t>(ms)) + "ms "; };
    std::string s = at(0) + "move 300 110\ndown left\n";
    for (int i = 1; i <= kSteps; ++i) s += at(i) + "move " + std::to_string(300 + i) + " " + std::to_string(110 + i % 7) + "\n";
    s += at(10 + kSteps) + "up left\n";
    return s;
}

void BM_MoveLoopDrag100Steps(benchmark::State& state) {
    HWND w = FreshWindow();
    auto& d = brimlox::desktop::Desktop::Instance();
    for (auto _ : state) {
        state.PauseTiming();
        SetWindowPos(w, nullptr, 100, 100, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
        brimlox::desktop::InputScript script;
        std::string error;
        if (!brimlox::desktop::ParseInputScript(DragScript(d.Now() + 1000), script, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        d.SetInputSource(std::make_unique<brimlox::desktop::ScriptedInput>(std::move(script.events), script.endTime));
        state.ResumeTiming();
        MSG m;
        while (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
    }
    RECT r;
    GetWindowRect(w, &r);
    if (r.left != 100 + kSteps) state.SkipWithError(("the drag left the window at " + std::to_string(r.left)).c_str());
    DestroyWindow(w);
}
BENCHMARK(BM_MoveLoopDrag100Steps)->Unit(benchmark::kMicrosecond);

void BM_FivePatBltOutlinesPer100Steps(benchmark::State& state) {
    HWND w = FreshWindow();
    HDC screen = GetDC(nullptr);
    for (auto _ : state) {
        for (int step = 0; step < kSteps * 5; ++step) {
            const int x = 100 + step % 7, y = 100;
            PatBlt(screen, x, y, 640, 4, DSTINVERT);
            PatBlt(screen, x, y + 476, 640, 4, DSTINVERT);
            PatBlt(screen, x, y + 4, 4, 472, DSTINVERT);
            PatBlt(screen, x + 636, y + 4, 4, 472, DSTINVERT);
        }
    }
    ReleaseDC(nullptr, screen);
    DestroyWindow(w);
}
BENCHMARK(BM_FivePatBltOutlinesPer100Steps)->Unit(benchmark::kMicrosecond);

}  // namespace

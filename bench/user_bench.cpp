// Message costs against their peers in the same run:
// - post plus dispatch of one message against a std::function call through a std::deque;
// - a mouse move over a form of 200 child windows (hit test, WM_SETCURSOR, WM_MOUSEMOVE)
//   against a single dispatch, and an idle look for messages on the same form;
// - a mouse move landing on another child among 2,000 against the same among 20;
// - composing a full-HD screen of 10 overlapping top-level windows against memcpy of the
//   screen's bytes;
// - composing a 75 x 25 button's repaint onto the screen against memcpy of its pixels.
#include <benchmark/benchmark.h>

#include <cstring>
#include <deque>
#include <functional>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/user/user.h"

namespace {

int g_sink = 0;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER || msg == WM_MOUSEMOVE) {
        g_sink += static_cast<int>(wParam) + 1;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

const char* BenchClass() { return brimlox::user::EnsureWindowClass("BenchWindow", CountingProc, 0); }

void Fresh(int width, int height) {
    brimlox::user::ResetUserState();
    auto& d = brimlox::desktop::Desktop::Instance();
    d.Reset();
    d.Configure(brimlox::desktop::DesktopSettings{width, height, 15});
}

void BM_StdFunctionThroughDeque(benchmark::State& state) {
    std::deque<std::function<void()>> queue;
    int counter = 0;
    for (auto _ : state) {
        queue.emplace_back([&counter] { ++counter; });
        std::function<void()> f = std::move(queue.front());
        queue.pop_front();
        f();
        benchmark::DoNotOptimize(counter);
    }
}
BENCHMARK(BM_StdFunctionThroughDeque);

void BM_PostAndDispatch(benchmark::State& state) {
    Fresh(1024, 768);
    HWND w = CreateWindowExA(0, BenchClass(), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    MSG m;
    for (auto _ : state) {
        PostMessageA(w, WM_USER, 1, 2);
        PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
        DispatchMessageA(&m);
    }
    benchmark::DoNotOptimize(g_sink);
    DestroyWindow(w);
}
BENCHMARK(BM_PostAndDispatch);

void BM_DispatchOne(benchmark::State& state) {
    Fresh(1024, 768);
    HWND w = CreateWindowExA(0, BenchClass(), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    MSG m;
    m.hwnd = w;
    m.message = WM_USER;
    for (auto _ : state) benchmark::DoNotOptimize(DispatchMessageA(&m));
    DestroyWindow(w);
}
BENCHMARK(BM_DispatchOne);

// A 1000 x 800 form holding 20 x 10 child windows of 50 x 80 pixels; the pointer sweeps across
// it a pixel at a time, row after row, as a hand moving the mouse does.
// A fresh desktop with a 1000 x 800 form of 200 children in a 20 x 10 grid, painted once.
HWND FormOf200Children() {
    Fresh(1024, 900);
    HWND form = CreateWindowExA(0, BenchClass(), "form", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 800, nullptr, nullptr,
                                nullptr, nullptr);
    for (int i = 0; i < 200; ++i)
        CreateWindowExA(0, BenchClass(), "", WS_CHILD | WS_VISIBLE, (i % 20) * 50, (i / 20) * 80, 50, 80, form,
                        nullptr, nullptr, nullptr);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);  // first paints
    return form;
}

void BM_MouseMoveOver200Children(benchmark::State& state) {
    HWND form = FormOf200Children();
    MSG m;
    auto& desktop = brimlox::desktop::Desktop::Instance();
    int x = 0;
    int y = 3;
    brimlox::desktop::InputEvent e;
    for (auto _ : state) {
        x = (x + 1) % 1000;
        if (x == 0) y = (y + 7) % 800;
        e.x = x;
        e.y = y;
        desktop.Inject(e);
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
    benchmark::DoNotOptimize(g_sink);
    DestroyWindow(form);
}
BENCHMARK(BM_MouseMoveOver200Children);

// A fresh desktop with a 1000 x 800 form of `count` equal children in a grid, painted once.
HWND FormOfChildren(int count) {
    Fresh(1024, 900);
    HWND form = CreateWindowExA(0, BenchClass(), "form", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 800, nullptr, nullptr,
                                nullptr, nullptr);
    int columns = 1;
    while (columns * columns * 4 < count * 5) ++columns;  // about as many columns as the 5:4 form fits
    const int rows = (count + columns - 1) / columns;
    const int w = 1000 / columns;
    const int h = 800 / rows;
    for (int i = 0; i < count; ++i)
        CreateWindowExA(0, BenchClass(), "", WS_CHILD | WS_VISIBLE, (i % columns) * w, (i / columns) * h, w, h, form,
                        nullptr, nullptr, nullptr);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    return form;
}

// Every move lands on another child, far from the last one, so no move is answered from the
// previous hit: the cost of finding the child under the pointer among 20 or 2,000 siblings.
void BM_MouseMoveToAnotherChild(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    HWND form = FormOfChildren(count);
    std::vector<POINT> spots;
    for (int k = 0; k < 64; ++k) {
        RECT r;
        HWND child = GetWindow(form, GW_CHILD);
        for (int i = (k * 7919) % count; i > 0 && child; --i) child = GetWindow(child, GW_HWNDNEXT);
        GetWindowRect(child, &r);
        spots.push_back(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    MSG m;
    auto& desktop = brimlox::desktop::Desktop::Instance();
    brimlox::desktop::InputEvent e;
    std::size_t next = 0;
    for (auto _ : state) {
        e.x = spots[next].x;
        e.y = spots[next].y;
        next = (next + 1) % spots.size();
        desktop.Inject(e);
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
    benchmark::DoNotOptimize(g_sink);
    DestroyWindow(form);
}
BENCHMARK(BM_MouseMoveToAnotherChild)->Arg(20)->Arg(2000);

// An idle message loop looking for work on the same form: nothing posted, no input, nothing
// to paint, no timer due. Against a single dispatch, like the mouse move.
void BM_PeekWithNothingWaitingOver200Children(benchmark::State& state) {
    HWND form = FormOf200Children();
    MSG m;
    for (auto _ : state) benchmark::DoNotOptimize(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(form);
}
BENCHMARK(BM_PeekWithNothingWaitingOver200Children);

// The baselines of the compositions below: one memcpy of as many pixels as they compose, a
// full-HD screen (1920 x 1080) or a button (75 x 25).
void BM_MemcpyPixels(benchmark::State& state) {
    const auto pixels = static_cast<std::size_t>(state.range(0) * state.range(1));
    std::vector<std::uint32_t> a(pixels, 1);
    std::vector<std::uint32_t> b(pixels, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * 4);
        benchmark::DoNotOptimize(b.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(a.size() * 4));
}
BENCHMARK(BM_MemcpyPixels)->Args({1920, 1080})->Args({75, 25});

// Ten cascaded 1600 x 900 windows: every screen pixel is covered by up to ten of them.
void BM_ComposeFullHdTenWindows(benchmark::State& state) {
    Fresh(1920, 1080);
    std::vector<HWND> windows;
    for (int i = 0; i < 10; ++i)
        windows.push_back(CreateWindowExA(0, BenchClass(), "", WS_POPUP | WS_VISIBLE, 32 * i, 18 * i, 1600, 900,
                                          nullptr, nullptr, nullptr, nullptr));
    auto& desktop = brimlox::desktop::Desktop::Instance();
    for (auto _ : state) {
        desktop.ComposeAll();
        benchmark::DoNotOptimize(desktop.Screen().Bits());
    }
    state.SetBytesProcessed(state.iterations() * 1920 * 1080 * 4);
    for (HWND w : windows) DestroyWindow(w);
}
BENCHMARK(BM_ComposeFullHdTenWindows);

// A button's repaint reaching the screen: the 75 x 25 pixels of a button on a form are composed
// onto a full-HD screen, against memcpy of the button's 7,500 bytes. The form is one of three
// overlapping top-level windows, as on a desktop with a few programs open.
void BM_ComposeButtonRepaint(benchmark::State& state) {
    Fresh(1920, 1080);
    std::vector<HWND> windows;
    for (int i = 0; i < 3; ++i)
        windows.push_back(CreateWindowExA(0, BenchClass(), "", WS_POPUP | WS_VISIBLE, 300 - 100 * i, 200 - 60 * i,
                                          1000, 700, nullptr, nullptr, nullptr, nullptr));
    HWND form = windows.back();  // created last: on top
    HWND button = CreateWindowExA(0, BenchClass(), "", WS_CHILD | WS_VISIBLE, 120, 80, 75, 25, form, nullptr, nullptr,
                                  nullptr);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    RECT r;
    GetWindowRect(button, &r);
    auto& desktop = brimlox::desktop::Desktop::Instance();
    for (auto _ : state) {
        desktop.Compose(r);
        benchmark::DoNotOptimize(desktop.Screen().Bits());
    }
    state.SetBytesProcessed(state.iterations() * 75 * 25 * 4);
    for (HWND w : windows) DestroyWindow(w);
}
BENCHMARK(BM_ComposeButtonRepaint);

}  // namespace

// The popup menu display against its baseline in the same run: building, showing and closing
// a 200-item item list (20 top items, each with a submenu of 9 items with shortcut text)
// through ShowPopupMenu on the virtual clock (captions parsed, owner-drawn items measured and
// drawn with the menu fonts, subclassing, clean-up), against the same nested popup built from
// plain string items with AppendMenuA and shown by TrackPopupMenu. Both close at the first
// idle moment with a posted button press, as the controls close a menu.
// Also a flat popup of 100 and of 1,000 items on a large screen, per item.
#include <benchmark/benchmark.h>

#include <string>

#include "menus/popup_menu.h"
#include "platform/desktop/desktop.h"
#include "platform/user/user.h"

namespace {

using brimlox::host::Variant;
using brimlox::menus::PopupItemList;

constexpr int kGroups = 20;
constexpr int kChildren = 9;

std::string ItemText(int group, int child) {
    return "Menu item " + std::to_string(group) + "." + std::to_string(child);
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE) {
        PostMessageA(nullptr, WM_LBUTTONDOWN, 0, 0);
        PostMessageA(nullptr, WM_LBUTTONUP, 0, 0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

struct Fixture {
    HWND owner = nullptr;
    Fixture() {
        brimlox::user::ResetUserState();
        brimlox::desktop::Desktop::Instance().Reset();
        const char* cls = brimlox::user::EnsureWindowClass("BenchPopupOwner", OwnerProc, 0);
        owner = CreateWindowExA(0, cls, "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
    }
    ~Fixture() { DestroyWindow(owner); }
    static void DrainQueue() {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
};

void BM_ShowPopupMenu200Items(benchmark::State& state) {
    Fixture f;
    PopupItemList list;
    list.InitProperties();
    for (int g = 0; g < kGroups; ++g) {
        list.AddMenu("&Group " + std::to_string(g), Variant(std::int32_t{g}));
        for (int c = 0; c < kChildren; ++c) list.AddMenu(">" + ItemText(g, c) + "\\tCtrl+" + std::to_string(c), Variant(""));
    }
    for (auto _ : state) {
        // The popup's own idle handler closes it when an arrow key is pending.
        brimlox::menus::Popup().arrowRight = true;
        benchmark::DoNotOptimize(brimlox::menus::ShowPopupMenu(f.owner, f.owner, 0, 0, list, false));
        Fixture::DrainQueue();
    }
}
BENCHMARK(BM_ShowPopupMenu200Items)->Unit(benchmark::kMicrosecond);

// Baseline: the same tree of 200 string items, built, shown, closed and destroyed.
void BM_Baseline_StringPopup200Items(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        HMENU top = CreatePopupMenu();
        for (int g = 0; g < kGroups; ++g) {
            HMENU sub = CreatePopupMenu();
            for (int c = 0; c < kChildren; ++c) {
                std::string text = ItemText(g, c) + "\tCtrl+" + std::to_string(c);
                AppendMenuA(sub, MF_STRING, static_cast<UINT_PTR>(g * 10 + c + 2), text.c_str());
            }
            std::string group = "&Group " + std::to_string(g);
            AppendMenuA(top, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), group.c_str());
        }
        benchmark::DoNotOptimize(TrackPopupMenu(top, TPM_RIGHTBUTTON | TPM_LEFTALIGN, 0, 0, 0, f.owner, nullptr));
        Fixture::DrainQueue();
        DestroyMenu(top);
    }
}
BENCHMARK(BM_Baseline_StringPopup200Items)->Unit(benchmark::kMicrosecond);

// A flat popup of 100 or 1,000 items on a 4096 x 2304 screen, shown and closed: the time per
// item should not grow with the count (each item is measured and drawn once, and the screen
// work is the popup's own rectangle). Compare the per-item times of the two sizes.
void BM_ShowPopupMenuOnLargeScreen(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Fixture f;
    brimlox::desktop::Desktop::Instance().Configure(brimlox::desktop::DesktopSettings{4096, 2304, 15});
    PopupItemList list;
    list.InitProperties();
    for (int i = 0; i < count; ++i) list.AddMenu("Menu item " + std::to_string(i) + "\\tCtrl+" + std::to_string(i % 10), Variant(""));
    for (auto _ : state) {
        brimlox::menus::Popup().arrowRight = true;
        benchmark::DoNotOptimize(brimlox::menus::ShowPopupMenu(f.owner, f.owner, 0, 0, list, false));
        Fixture::DrainQueue();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ShowPopupMenuOnLargeScreen)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

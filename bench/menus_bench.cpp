// The popup menu display against its baseline in the same run: building, showing and closing
// a 200-item item list (20 top items, each with a submenu of 9 items with shortcut text)
// through ShowPopupMenu on the virtual clock (captions parsed, owner-drawn items measured and
// drawn with the menu fonts, subclassing, clean-up), against the same nested popup built from
// plain string items with AppendMenuA and shown by TrackPopupMenu. Both close at the first
// idle moment with a posted button press, as the controls close a menu.
// Also a flat popup of 100 and of 1,000 items on a large screen, per item.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

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

// Posted to the owner before a popup is shown: the menu loop delivers it while the popup is
// up, and the owner notes the size of the popup menu window on top.
constexpr UINT kNotePopupSize = WM_APP + 1;
SIZE g_popupSize{};

void NoteTopPopupSize() {
    HWND top = GetWindow(GetDesktopWindow(), GW_CHILD);
    char cls[16] = {};
    RECT r{};
    if (top && GetClassNameA(top, cls, sizeof cls) && std::strcmp(cls, "#32768") == 0 && GetWindowRect(top, &r))
        g_popupSize = SIZE{r.right - r.left, r.bottom - r.top};
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kNotePopupSize) {
        NoteTopPopupSize();
        return 0;
    }
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

// The large screen and a flat list of `count` items with shortcut texts.
void UseLargeScreenAndFlatList(PopupItemList& list, int count) {
    brimlox::desktop::Desktop::Instance().Configure(brimlox::desktop::DesktopSettings{4096, 2304, 15});
    list.InitProperties();
    for (int i = 0; i < count; ++i) list.AddMenu("Menu item " + std::to_string(i) + "\\tCtrl+" + std::to_string(i % 10), Variant(""));
}

// A flat popup of 100 or 1,000 items on a 4096 x 2304 screen, shown and closed: the time per
// item should not grow with the count (each item is measured and drawn once, and the screen
// work is the popup's own rectangle). Compare the per-item times of the two sizes.
void BM_ShowPopupMenuOnLargeScreen(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Fixture f;
    PopupItemList list;
    UseLargeScreenAndFlatList(list, count);
    for (auto _ : state) {
        brimlox::menus::Popup().arrowRight = true;
        benchmark::DoNotOptimize(brimlox::menus::ShowPopupMenu(f.owner, f.owner, 0, 0, list, false));
        Fixture::DrainQueue();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ShowPopupMenuOnLargeScreen)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The memory traffic any popup of that size costs, and nothing else: its pixels written once
// into a buffer of its size, copied into a 4096-pixel-wide screen and the screen filled back
// where it stood. Its per-item time at 1,000 against 100 shows how much of the popup's own
// ratio the machine's caches and memory set, before any item is measured or drawn.
void BM_PopupMemoryTrafficBaseline(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    SIZE size{};
    {
        Fixture f;
        PopupItemList list;
        UseLargeScreenAndFlatList(list, count);
        g_popupSize = SIZE{};
        PostMessageA(f.owner, kNotePopupSize, 0, 0);
        brimlox::menus::Popup().arrowRight = true;
        brimlox::menus::ShowPopupMenu(f.owner, f.owner, 0, 0, list, false);
        Fixture::DrainQueue();
        size = g_popupSize;
    }
    if (size.cx <= 0 || size.cy <= 0 || size.cx > 4096 || size.cy > 2304) {
        state.SkipWithError("the popup's size could not be read");
        return;
    }
    const auto width = static_cast<std::size_t>(size.cx), height = static_cast<std::size_t>(size.cy);
    std::vector<std::uint32_t> screen(std::size_t{4096} * 2304, 0x3A6EA5u);
    std::vector<std::uint32_t> popup(width * height);
    for (auto _ : state) {
        std::fill(popup.begin(), popup.end(), 0xC0C0C0u);
        for (std::size_t y = 0; y < height; ++y) std::memcpy(&screen[y * 4096], &popup[y * width], width * 4);
        for (std::size_t y = 0; y < height; ++y) std::fill_n(&screen[y * 4096], width, 0x3A6EA5u);
        benchmark::DoNotOptimize(screen.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["width"] = static_cast<double>(size.cx);
    state.counters["height"] = static_cast<double>(size.cy);
}
BENCHMARK(BM_PopupMemoryTrafficBaseline)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

// Popup menus against their baseline in the same run: showing and closing a 1,000-item
// owner-drawn popup with 10 submenus (TrackPopupMenu on the virtual clock: WM_MEASUREITEM for
// every item, the first paint through WM_DRAWITEM, the loop, the close) against drawing the
// same 1,000 item texts with DrawTextA directly. (That a selection move redraws only two items
// is counted by a unit test, not timed.)
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "platform/user/user.h"

namespace {

constexpr int kItems = 1000;
constexpr int kSubmenus = 10;

std::vector<std::string>& Texts() {
    static std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (int i = 0; i < kItems; ++i) t.push_back("Menu item number " + std::to_string(i) + "\tCtrl+" + std::to_string(i % 10));
        return t;
    }();
    return texts;
}

// The owner measures each item text and draws it, as an owner-drawing control does; on the
// first idle moment it closes the menu the way the controls do, with a posted button press.
LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_MEASUREITEM: {
            auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            mi->itemWidth = 160;
            mi->itemHeight = 18;
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            const std::string& text = Texts()[di->itemData % kItems];
            RECT r = di->rcItem;
            DrawTextA(di->hDC, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
            return TRUE;
        }
        case WM_ENTERIDLE: PostMessageA(nullptr, WM_LBUTTONDOWN, 0, 0); return 0;
        default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

struct MenuFixture {
    HWND owner = nullptr;
    HMENU menu = nullptr;
    MenuFixture() {
        brimlox::user::ResetUserState();
        brimlox::desktop::Desktop::Instance().Reset();
        const char* cls = brimlox::user::EnsureWindowClass("BenchMenuOwner", OwnerProc, 0);
        owner = CreateWindowExA(0, cls, "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        menu = CreatePopupMenu();
        for (int i = 0; i < kItems; ++i) {
            if (i < kSubmenus) {
                HMENU sub = CreatePopupMenu();
                for (int k = 0; k < 10; ++k) AppendMenuA(sub, MF_OWNERDRAW, 5000 + i * 10 + k, reinterpret_cast<LPCSTR>(k));
                AppendMenuA(menu, MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), reinterpret_cast<LPCSTR>(i));
            } else {
                AppendMenuA(menu, MF_OWNERDRAW, i + 1, reinterpret_cast<LPCSTR>(i));
            }
        }
    }
    ~MenuFixture() {
        DestroyMenu(menu);
        DestroyWindow(owner);
    }
    void DrainQueue() {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
};

void BM_ShowAndClose1000ItemOwnerDrawnPopup(benchmark::State& state) {
    MenuFixture f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TrackPopupMenu(f.menu, TPM_RETURNCMD, 0, 0, 0, f.owner, nullptr));
        f.DrainQueue();
    }
}
BENCHMARK(BM_ShowAndClose1000ItemOwnerDrawnPopup)->Unit(benchmark::kMillisecond);

// Baseline: the same 1,000 item texts drawn with DrawTextA on a screen-sized memory DC.
void BM_Baseline_DrawText1000ItemTexts(benchmark::State& state) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateBitmap(1024, 768, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    for (auto _ : state) {
        for (int i = 0; i < kItems; ++i) {
            const std::string& text = Texts()[static_cast<std::size_t>(i)];
            RECT r{(i / 42) * 160 % 1024, (i % 42) * 18, (i / 42) * 160 % 1024 + 160, (i % 42) * 18 + 18};
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
        }
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}
BENCHMARK(BM_Baseline_DrawText1000ItemTexts)->Unit(benchmark::kMillisecond);

}  // namespace

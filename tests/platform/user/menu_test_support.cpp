#include "menu_test.h"

#include <cstdio>

namespace brimlox::test {

namespace {

std::string Hex(std::uintptr_t v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v));
    return buf;
}

LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    OwnerScript& o = Owner();
    switch (msg) {
        case WM_ENTERMENULOOP: o.log.push_back("WM_ENTERMENULOOP " + std::to_string(wParam)); return 0;
        case WM_EXITMENULOOP: o.log.push_back("WM_EXITMENULOOP " + std::to_string(wParam)); return 0;
        case WM_INITMENU: o.log.push_back("WM_INITMENU"); return 0;
        case WM_INITMENUPOPUP:
            o.log.push_back("WM_INITMENUPOPUP " + std::to_string(LOWORD(static_cast<std::uintptr_t>(lParam))));
            return 0;
        case WM_UNINITMENUPOPUP: o.log.push_back("WM_UNINITMENUPOPUP"); return 0;
        case WM_MENUSELECT:
            o.log.push_back("WM_MENUSELECT " + std::to_string(LOWORD(wParam)) + " " + Hex(HIWORD(wParam)) +
                            (lParam ? "" : " 0"));
            return 0;
        case WM_COMMAND: o.log.push_back("WM_COMMAND " + std::to_string(wParam)); return 0;
        case WM_MEASUREITEM: {
            auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            o.log.push_back("WM_MEASUREITEM " + std::to_string(mi->itemData));
            mi->itemWidth = static_cast<UINT>(o.itemWidth);
            mi->itemHeight = static_cast<UINT>(o.itemHeight);
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            ++o.drawCount;
            if (di->itemAction == ODA_SELECT) ++o.selectDraws;
            o.draws.push_back(*di);
            bool sel = di->itemState & ODS_SELECTED;
            FillRect(di->hDC, &di->rcItem, GetSysColorBrush(sel ? COLOR_HIGHLIGHT : COLOR_MENU));
            std::size_t k = di->itemData;
            if (k >= 1 && k <= o.texts.size()) {
                SetBkMode(di->hDC, TRANSPARENT);
                SetTextColor(di->hDC, GetSysColor(di->itemState & ODS_GRAYED ? COLOR_GRAYTEXT
                                                  : sel                       ? COLOR_HIGHLIGHTTEXT
                                                                              : COLOR_MENUTEXT));
                RECT r = di->rcItem;
                r.left += 20;
                DrawTextA(di->hDC, o.texts[k - 1].c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER);
            }
            return TRUE;
        }
        case WM_ENTERIDLE:
            ++o.idleCount;
            o.idleWindow = reinterpret_cast<HWND>(lParam);
            if (o.idleCount == 1) o.log.push_back("WM_ENTERIDLE " + std::to_string(wParam));
            if (o.onIdle) o.onIdle(hwnd);
            return 0;
        case WM_MENUCHAR:
            o.log.push_back("WM_MENUCHAR " + std::string(1, static_cast<char>(LOWORD(wParam))) + " " +
                            Hex(HIWORD(wParam)));
            return o.onMenuChar ? o.onMenuChar(wParam, lParam) : 0;
        default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

void MenuTest::SetUp() {
    UserTest::SetUp();
    Owner() = OwnerScript{};
    menus_ = user::LiveMenuCount();
}

void MenuTest::TearDown() {
    EXPECT_EQ(user::LiveMenuCount(), menus_) << "the test leaked menus";
    Owner() = OwnerScript{};
    UserTest::TearDown();
}

OwnerScript& Owner() {
    static OwnerScript o;
    return o;
}

HWND MakeMenuOwner(RECT r) {
    WNDCLASSA wc;
    if (!GetClassInfoA(nullptr, "MenuOwner", &wc)) {
        wc = WNDCLASSA{};
        wc.lpfnWndProc = OwnerProc;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "MenuOwner";
        RegisterClassA(&wc);
    }
    return CreateWindowExA(0, "MenuOwner", "owner", WS_POPUP | WS_VISIBLE, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
}

std::vector<std::string> OwnerLog(const std::vector<std::string>& names) {
    std::vector<std::string> out;
    for (const std::string& e : Owner().log) {
        std::string name = e.substr(0, e.find(' '));
        for (const std::string& n : names)
            if (name == n) out.push_back(e);
    }
    return out;
}

}  // namespace brimlox::test

// The notification area: record rules of Shell_NotifyIconA, the shell's own icon copies,
// cleanup when a window goes, the tray strip's pixels, callback messages for clicks and
// double clicks, and the tooltip after a rest.
#include "platform/shell/notify_area.h"

#include <cstdio>
#include <cstring>

#include "platform/desktop/desktop.h"
#include "platform/user/user.h"
#include "tests/platform/user/user_test.h"

namespace brimlox::test {
namespace {

using NotifyIconTest = UserTest;

// A 16 x 16 icon of one colour (an all-zero mask: opaque everywhere).
HICON SolidIcon(COLORREF colour) {
    HBITMAP color = CreateBitmap(16, 16, 1, 32, nullptr);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, color);
    HBRUSH b = CreateSolidBrush(colour);
    RECT r{0, 0, 16, 16};
    FillRect(dc, &r, b);
    SelectObject(dc, mask);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(dc, old);
    DeleteObject(b);
    DeleteDC(dc);
    ICONINFO ii;
    ii.hbmColor = color;
    ii.hbmMask = mask;
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
}

NOTIFYICONDATAA Record(HWND hwnd, UINT id, UINT flags, UINT callback, HICON icon, const char* tip) {
    NOTIFYICONDATAA d;
    d.cbSize = sizeof d;
    d.hWnd = HandleValue(hwnd);
    d.uID = id;
    d.uFlags = flags;
    d.uCallbackMessage = callback;
    d.hIcon = HandleValue(icon);
    if (tip) std::strncpy(d.szTip, tip, sizeof d.szTip);
    return d;
}

const std::vector<shell::TrayEntry>& Entries() { return shell::NotifyArea::Instance().Entries(); }

TEST_F(NotifyIconTest, RecordRulesIconCopiesAndCleanupWithTheWindow) {
    HWND a = MakeTopLevel("a", {0, 0, 100, 100});
    HWND b = MakeTopLevel("b", {0, 0, 100, 100});
    std::size_t icons = user::LiveIconCount();
    HICON red = SolidIcon(RGB(255, 0, 0));
    NOTIFYICONDATAA d = Record(a, 1, NIF_MESSAGE | NIF_ICON | NIF_TIP, WM_APP, red, "Red");
    NOTIFYICONDATAA bad = d;
    bad.cbSize = 104;
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &bad)) << "only the 88-byte record is known";
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, nullptr));
    EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &d));
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &d)) << "the same (hWnd, uID) twice";
    DestroyIcon(red);  // the shell keeps its own copy
    ASSERT_EQ(Entries().size(), 1u);
    EXPECT_NE(Entries()[0].icon, nullptr);
    EXPECT_NE(Entries()[0].icon, red);
    EXPECT_EQ(user::LiveIconCount(), icons + 1);
    EXPECT_EQ(Entries()[0].tip, "Red");

    // An unterminated tooltip is cut at 63 characters; flags decide which fields count.
    NOTIFYICONDATAA e = Record(b, 7, NIF_TIP, 0, nullptr, nullptr);
    std::memset(e.szTip, 'A', sizeof e.szTip);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &e));
    EXPECT_EQ(Entries()[1].tip, std::string(63, 'A'));
    EXPECT_FALSE(Entries()[1].hasCallback);
    EXPECT_EQ(Entries()[1].icon, nullptr);
    NOTIFYICONDATAA tipOnly = Record(a, 1, NIF_TIP, 0x999, nullptr, "Renamed");
    HICON before = Entries()[0].icon;
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &tipOnly));
    EXPECT_EQ(Entries()[0].tip, "Renamed");
    EXPECT_EQ(Entries()[0].icon, before) << "NIF_ICON absent: the icon stays";
    EXPECT_EQ(Entries()[0].callbackMessage, static_cast<UINT>(WM_APP)) << "NIF_MESSAGE absent: the message stays";
    HICON blue = SolidIcon(RGB(0, 0, 255));
    NOTIFYICONDATAA iconOnly = Record(a, 1, NIF_ICON, 0, blue, "ignored");
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &iconOnly));
    DestroyIcon(blue);
    EXPECT_EQ(Entries()[0].tip, "Renamed");
    EXPECT_EQ(user::LiveIconCount(), icons + 1) << "the old copy is freed";
    NOTIFYICONDATAA missing = Record(a, 2, NIF_TIP, 0, nullptr, "x");
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &missing));
    EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &missing));
    EXPECT_FALSE(Shell_NotifyIconA(7, &d));
    NOTIFYICONDATAA deadWindow = Record(HandleFromValue<HWND>(0x4444), 1, NIF_TIP, 0, nullptr, "x");
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &deadWindow));

    // The strip sits at the bottom right, one 20-pixel cell per icon, and shows the icon.
    EXPECT_EQ(shell::NotifyArea::Instance().StripRect(), (RECT{1024 - 44, 768 - 24, 1024, 768}));
    RunLoop();
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, 1024 - 44 + 2 + 2 + 8, 768 - 24 + 2 + 8), RGB(0, 0, 255));
    ReleaseDC(nullptr, screen);

    // A destroyed window takes its icons along; the last icon takes the strip.
    DestroyWindow(a);
    ASSERT_EQ(Entries().size(), 1u);
    EXPECT_EQ(user::LiveIconCount(), icons);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &e));
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(shell::NotifyArea::Instance().Strip(), nullptr);
    DestroyWindow(b);
}

std::vector<std::string>& Callbacks() {
    static std::vector<std::string> log;
    return log;
}

LRESULT CALLBACK TrayOwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP || msg == WM_MOUSEMOVE)
        Callbacks().push_back(std::to_string(msg) + ":" + std::to_string(wParam) + ":0x" +
                              [&] { char b[8]; std::snprintf(b, sizeof b, "%x", static_cast<unsigned>(lParam)); return std::string(b); }());
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST_F(NotifyIconTest, MouseActivityComesBackAsTheCallbackMessageAndTheTooltipFollowsARest) {
    WNDCLASSA wc;
    wc.lpfnWndProc = TrayOwnerProc;
    wc.lpszClassName = "TrayOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowExA(0, "TrayOwner", "o", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    Callbacks().clear();
    HICON icon = SolidIcon(RGB(0, 128, 0));
    NOTIFYICONDATAA first = Record(owner, 5, NIF_MESSAGE | NIF_ICON | NIF_TIP, WM_APP, icon, "First tip");
    // The way the tray control fills it: uID is the window, the callback WM_MOUSEMOVE.
    NOTIFYICONDATAA second = Record(owner, HandleValue(owner), NIF_MESSAGE | NIF_ICON, WM_MOUSEMOVE, icon, nullptr);
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &first));
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &second));
    DestroyIcon(icon);
    RECT strip = shell::NotifyArea::Instance().StripRect();
    int x0 = strip.left + 12, x1 = strip.left + 32, y = strip.top + 12;
    std::string tipText;
    desktop::Desktop::Instance().SetScreenshotHandler([&](const std::string&) {
        tipText.clear();
        EnumWindows(
            [](HWND h, LPARAM out) -> BOOL {
                char cls[32], text[80];
                GetClassNameA(h, cls, sizeof cls);
                GetWindowTextA(h, text, sizeof text);
                if (std::string(cls) == "BrimloxTrayTip") *reinterpret_cast<std::string*>(out) = text;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&tipText));
        Callbacks().push_back("tip=" + tipText);
    });
    UseScript("at 10ms move " + std::to_string(x0) + " " + std::to_string(y) +
              "\nat 400ms screenshot early\nat 600ms screenshot rested\n"
              "at 700ms click left\nat 800ms click left\nat 2000ms move " + std::to_string(x1) + " " +
              std::to_string(y) + "\nclick right\nat 2100ms click right\nat 3000ms move 10 10\nat 3200ms screenshot gone\n");
    RunLoop();
    const std::string id = std::to_string(HandleValue(owner));
    EXPECT_EQ(Callbacks(), (std::vector<std::string>{
                               "32768:5:0x200", "tip=", "tip=First tip", "32768:5:0x201", "32768:5:0x202",
                               "32768:5:0x203", "32768:5:0x202", "512:" + id + ":0x200", "512:" + id + ":0x204",
                               "512:" + id + ":0x205", "512:" + id + ":0x206", "512:" + id + ":0x205", "tip="}));
    DestroyWindow(owner);
    EXPECT_TRUE(Entries().empty());
    UnregisterClassA("TrayOwner", nullptr);
}

}  // namespace
}  // namespace brimlox::test

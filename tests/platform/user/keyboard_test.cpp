// Keyboard input: key data bits, system keys, TranslateMessage, key state, focus, and the
// thread keyboard hook chain with swallowing and self-removal.
#include <cstdio>

#include "user_test.h"

namespace brimlox::test {
namespace {

using KeyboardTest = UserTest;
using user::LiveHookCount;

std::vector<std::string> g_keys;

LRESULT CALLBACK KeyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if ((msg >= WM_KEYDOWN && msg <= WM_SYSCHAR) || msg == WM_SETFOCUS || msg == WM_KILLFOCUS) {
        char line[64];
        std::snprintf(line, sizeof line, "%04x %02x %08lx", msg, static_cast<unsigned>(wParam),
                      static_cast<unsigned long>(static_cast<DWORD>(lParam)));
        g_keys.push_back(msg == WM_SETFOCUS ? "setfocus" : msg == WM_KILLFOCUS ? "killfocus" : line);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND MakeKeyWindow() {
    WNDCLASSA wc;
    if (!GetClassInfoA(nullptr, "Keys", &wc)) {
        wc.lpfnWndProc = KeyProc;
        wc.lpszClassName = "Keys";
        RegisterClassA(&wc);
    }
    g_keys.clear();
    return CreateWindowExA(0, "Keys", "k", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
}

// Every value below was checked against Windows (SendInput and a message dump): scan codes,
// the extended bit, Alt's context bit, WM_SYSCHAR, the previous-state bit on auto-repeat,
// and Alt released after another key coming as WM_KEYUP.
TEST_F(KeyboardTest, KeyDataAndSystemKeysMatchWindows) {
    HWND w = MakeKeyWindow();
    UseScript("key down VK_MENU\nkey down A\nkey up A\nkey up VK_MENU\n"
              "key down VK_LEFT\nkey down VK_LEFT\nkey up VK_LEFT\n"
              "key down VK_SHIFT\nkey press B\nkey up VK_SHIFT\n");
    g_keys.clear();
    RunLoop();
    EXPECT_EQ(g_keys, (std::vector<std::string>{
                          "0104 12 20380001", "0104 41 201e0001", "0106 61 201e0001", "0105 41 e01e0001",
                          "0101 12 c0380001", "0100 25 014b0001", "0100 25 414b0001", "0101 25 c14b0001",
                          "0100 10 002a0001", "0100 42 00300001", "0102 42 00300001", "0101 42 c0300001",
                          "0101 10 c02a0001"}));
    // Alt pressed and released alone stays a system key.
    g_keys.clear();
    UseScript("key press VK_MENU\n");
    RunLoop();
    EXPECT_EQ(g_keys, (std::vector<std::string>{"0104 12 20380001", "0105 12 c0380001"}));
    DestroyWindow(w);
}

TEST_F(KeyboardTest, KeyStateTogglesAndAsyncStateRemembersPresses) {
    HWND w = MakeKeyWindow();
    UseScript("key down VK_CAPITAL\n");
    RunLoop();
    // Checked against Windows: 0xFF81 while Caps Lock is down and toggled on, 0x0001 after.
    EXPECT_EQ(static_cast<unsigned short>(GetKeyState(VK_CAPITAL)), 0xFF81);
    UseScript("key up VK_CAPITAL\nkey press Q\n");
    RunLoop();
    EXPECT_EQ(static_cast<unsigned short>(GetKeyState(VK_CAPITAL)), 0x0001);
    EXPECT_EQ(g_keys[g_keys.size() - 2], "0102 51 00100001") << "Caps Lock gives a capital letter";
    EXPECT_EQ(GetAsyncKeyState('Q') & 1, 1) << "pressed since the last call";
    EXPECT_EQ(GetAsyncKeyState('Q') & 1, 0);
    UseScript("move 10 10\ndown left\n");
    RunLoop();
    EXPECT_NE(GetKeyState(VK_LBUTTON) & 0x8000, 0);
    EXPECT_NE(GetAsyncKeyState(VK_LBUTTON) & 0x8000, 0);
    UseScript("up left\n");
    RunLoop();
    EXPECT_EQ(GetKeyState(VK_LBUTTON) & 0x8000, 0);
    DestroyWindow(w);
}

TEST_F(KeyboardTest, KeysGoToTheFocusWindowAndFocusChangesAreAnnounced) {
    HWND w = MakeKeyWindow();
    HWND a = CreateWindowExA(0, "Keys", "a", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, w, nullptr, nullptr, nullptr);
    HWND b = CreateWindowExA(0, "Keys", "b", WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, w, nullptr, nullptr, nullptr);
    g_keys.clear();
    EXPECT_EQ(SetFocus(a), w);
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(g_keys, (std::vector<std::string>{"killfocus", "setfocus", "killfocus", "setfocus"}));
    EXPECT_EQ(GetFocus(), b);
    // Checked against Windows: a focused child that goes away hands the focus to its parent,
    // a focused child that is disabled leaves no focus at all.
    DestroyWindow(b);
    EXPECT_EQ(GetFocus(), w);
    SetFocus(a);
    EnableWindow(a, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    DestroyWindow(w);
}

std::vector<std::string> g_hookLog;
HHOOK g_first = nullptr;
HHOOK g_second = nullptr;
int g_swallow = 0;

LRESULT CALLBACK FirstHook(int code, WPARAM vk, LPARAM data) {
    g_hookLog.push_back("first " + std::to_string(vk) + ((data & 0x80000000) ? " up" : " down"));
    return CallNextHookEx(g_first, code, vk, data);
}

// Installed second, so called first; swallows Escape and removes itself on 'X'.
LRESULT CALLBACK SecondHook(int code, WPARAM vk, LPARAM data) {
    g_hookLog.push_back("second " + std::to_string(vk) + ((data & 0x80000000) ? " up" : " down"));
    if (vk == VK_ESCAPE) {
        ++g_swallow;
        return 1;
    }
    if (vk == 'X' && !(data & 0x80000000)) UnhookWindowsHookEx(g_second);
    return CallNextHookEx(g_second, code, vk, data);
}

TEST_F(KeyboardTest, HooksRunNewestFirstSwallowKeysAndMayRemoveThemselves) {
    HWND w = MakeKeyWindow();
    g_hookLog.clear();
    g_first = SetWindowsHookExA(WH_KEYBOARD, FirstHook, nullptr, GetCurrentThreadId());
    g_second = SetWindowsHookExA(WH_KEYBOARD, SecondHook, nullptr, 0);
    ASSERT_NE(g_first, nullptr);
    EXPECT_EQ(SetWindowsHookExA(WH_KEYBOARD, FirstHook, nullptr, 12345), nullptr) << "another thread";
    EXPECT_EQ(LiveHookCount(), 2u);
    UseScript("key press VK_ESCAPE\nkey press X\nkey press Y\n");
    g_keys.clear();
    RunLoop();
    EXPECT_EQ(g_hookLog, (std::vector<std::string>{"second 27 down", "second 27 up", "second 88 down", "first 88 down",
                                                   "first 88 up", "first 89 down", "first 89 up"}));
    EXPECT_EQ(g_swallow, 2);
    // Escape never reached the window; X and Y did.
    EXPECT_EQ(g_keys, (std::vector<std::string>{"0100 58 002d0001", "0102 78 002d0001", "0101 58 c02d0001",
                                                "0100 59 00150001", "0102 79 00150001", "0101 59 c0150001"}));
    EXPECT_FALSE(UnhookWindowsHookEx(g_second)) << "already removed";
    EXPECT_TRUE(UnhookWindowsHookEx(g_first));
    EXPECT_EQ(CallNextHookEx(nullptr, 0, 0, 0), 0) << "outside a hook there is nothing to call";
    DestroyWindow(w);
}

}  // namespace
}  // namespace brimlox::test

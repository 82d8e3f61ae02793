// Timers on the virtual clock: SetTimer ticks, TIMERPROC, host timers' restart and re-entry
// rules, and the end of the loop when nothing is left to happen.
#include "platform/user/timer.h"
#include "user_test.h"

namespace brimlox::test {
namespace {

using TimerTest = UserTest;

std::vector<std::string> g_ticks;
int g_sevens = 0;

LRESULT CALLBACK TickProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        g_ticks.push_back(std::to_string(wParam) + "@" + std::to_string(timeGetTime()));
        if (++g_sevens == 3) KillTimer(hwnd, wParam);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void CALLBACK ThreadTimer(HWND, UINT, UINT_PTR id, DWORD time) {
    g_ticks.push_back("proc" + std::to_string(id) + "@" + std::to_string(time));
}

TEST_F(TimerTest, TimersFireAtTheirVirtualTimesUntilKilled) {
    WNDCLASSA wc;
    wc.lpfnWndProc = TickProc;
    wc.lpszClassName = "Ticker";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, "Ticker", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    g_ticks.clear();
    g_sevens = 0;
    EXPECT_EQ(SetTimer(w, 7, 100, nullptr), 7u);
    UINT_PTR id = SetTimer(nullptr, 0, 250, ThreadTimer);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(SetTimer(HandleFromValue<HWND>(0x21000009), 1, 10, nullptr), 0u) << "no such window";
    desktop::Desktop::Instance().SetRunLimit(600);
    MSG end = RunLoop();
    EXPECT_EQ(end.lParam, user::kEndOfInput);
    EXPECT_EQ(g_ticks, (std::vector<std::string>{"7@100", "7@200", "proc" + std::to_string(id) + "@250", "7@300",
                                                 "proc" + std::to_string(id) + "@500"}));
    EXPECT_EQ(timeGetTime(), 500u) << "the clock stops at the last thing that happened";
    EXPECT_TRUE(KillTimer(nullptr, id));
    EXPECT_FALSE(KillTimer(nullptr, id));
    DestroyWindow(w);
}

TEST_F(TimerTest, HostTimersRestartOnChangeAndAreNotReenteredByTheirOwnTicks) {
    std::vector<std::string> log;
    int depth = 0;
    bool nested = false;
    user::HostTimer other([&] { log.push_back("other@" + std::to_string(timeGetTime())); });
    user::HostTimer timer([&] {
        log.push_back("tick@" + std::to_string(timeGetTime()) + " depth " + std::to_string(depth));
        if (!nested) {
            nested = true;
            // The handler pumps messages until 650 ms: the other timer ticks, this one does not;
            // its next tick comes one interval after the handler returns (at 600, the last event).
            ++depth;
            other.SetInterval(100);
            other.SetEnabled(true);
            MSG m;
            std::uint64_t until = timeGetTime() + 250;
            desktop::Desktop::Instance().SetRunLimit(until);
            while (GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
            other.SetEnabled(false);
            --depth;
            desktop::Desktop::Instance().SetRunLimit(2000);
        }
    });
    timer.SetInterval(0);
    timer.SetEnabled(true);
    desktop::Desktop::Instance().SetRunLimit(300);
    RunLoop();
    EXPECT_TRUE(log.empty()) << "an interval of 0 gives no ticks";
    EXPECT_EQ(timeGetTime(), 0u) << "with nothing to happen the clock stays";

    desktop::Desktop::Instance().GetClock().AdvanceTo(300);
    timer.SetInterval(100);  // restarts at 300: first tick at 400
    desktop::Desktop::Instance().SetRunLimit(2000);
    MSG m;
    while (log.size() < 5 && GetMessageA(&m, nullptr, 0, 0)) DispatchMessageA(&m);
    EXPECT_EQ(log, (std::vector<std::string>{"tick@400 depth 0", "other@500", "other@600", "tick@700 depth 0",
                                             "tick@800 depth 0"}));
    // Re-enabling restarts the countdown from now.
    log.clear();
    desktop::Desktop::Instance().GetClock().AdvanceTo(900);
    timer.SetEnabled(true);
    desktop::Desktop::Instance().SetRunLimit(1000);
    RunLoop();
    EXPECT_EQ(log, (std::vector<std::string>{"tick@1000 depth 0"}));
    timer.SetInterval(-5);
    log.clear();
    desktop::Desktop::Instance().SetRunLimit(1500);
    RunLoop();
    EXPECT_TRUE(log.empty());
}

TEST_F(TimerTest, AnEmptyQueueEndsTheLoopInsteadOfHanging) {
    MSG m;
    EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.lParam, user::kEndOfInput);
    PostQuitMessage(3);
    EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.wParam, 3u);
    EXPECT_EQ(m.lParam, 0);
    // Posted messages come first, then the quit.
    PostMessageA(nullptr, WM_USER + 1, 1, 2);
    PostQuitMessage(4);
    EXPECT_TRUE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, WM_USER + 1);
    EXPECT_EQ(m.hwnd, nullptr);
    EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.wParam, 4u);
}

}  // namespace
}  // namespace brimlox::test

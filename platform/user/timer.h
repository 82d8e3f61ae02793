// Timers of the UI thread: SetTimer/KillTimer timers of windows and of the thread, and the
// timer objects of the component host. Due timers are handed out by the message loop as
// WM_TIMER when nothing else is waiting, at most one pending tick per timer, as on Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/user/winuser.h"

namespace brimlox::user {

// A host timer (the component host's timer control): an interval in milliseconds and an
// enabled flag. Setting the interval or enabling it restarts the countdown; an interval of 0
// or less gives no ticks. While the handler runs (it may pump messages), the timer does not
// tick again; its next tick comes one interval after the handler returns.
class HostTimer {
public:
    explicit HostTimer(std::function<void()> onTick);
    ~HostTimer();
    HostTimer(const HostTimer&) = delete;
    HostTimer& operator=(const HostTimer&) = delete;

    void SetInterval(int ms);
    int Interval() const { return interval_; }
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }

private:
    void Restart();
    std::function<void()> onTick_;
    int interval_ = 0;
    bool enabled_ = false;
    UINT_PTR id_ = 0;
};

// The first due timer (for the window filter), as the WM_TIMER message to hand out.
std::optional<MSG> TakeDueTimer(HWND filter, std::uint64_t now);
// The time the next timer falls due, if any timer runs.
std::optional<std::uint64_t> NextTimerDue();
// Runs a WM_TIMER's procedure or host handler; false when the message names no such timer.
bool DispatchTimer(const MSG& msg);
void ResetTimers();

}  // namespace brimlox::user

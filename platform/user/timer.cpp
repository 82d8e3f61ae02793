// SetTimer, KillTimer, host timers, and the clock calls timeGetTime and GetTickCount.
#include "platform/user/timer.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

namespace brimlox::user {

namespace {

// Host timers post their WM_TIMER with this lParam so DispatchMessageA knows them.
constexpr LPARAM kHostTimerTag = 0x484F5354;  // "HOST"

struct TimerEntry {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    TIMERPROC proc = nullptr;
    std::function<void()>* host = nullptr;
    std::uint64_t due = 0;
    bool running = false;  // a host handler is on the stack
};

std::vector<std::shared_ptr<TimerEntry>>& Timers() {
    static std::vector<std::shared_ptr<TimerEntry>> timers;
    return timers;
}

UINT_PTR g_nextThreadId = 1;
std::uint64_t Now() { return desktop::Desktop::Instance().Now(); }

std::shared_ptr<TimerEntry> Find(HWND hwnd, UINT_PTR id, bool host) {
    for (auto& t : Timers())
        if (t->hwnd == hwnd && t->id == id && (t->host != nullptr) == host) return t;
    return nullptr;
}

void Remove(HWND hwnd, UINT_PTR id, bool host) {
    auto& v = Timers();
    v.erase(std::remove_if(v.begin(), v.end(),
                           [&](const auto& t) { return t->hwnd == hwnd && t->id == id && (t->host != nullptr) == host; }),
            v.end());
}

bool Matches(HWND filter, HWND hwnd) { return !filter || filter == hwnd || IsChild(filter, hwnd); }

}  // namespace

std::optional<MSG> TakeDueTimer(HWND filter, std::uint64_t now) {
    for (auto& t : Timers()) {
        if (t->due > now || t->running || !Matches(filter, t->hwnd)) continue;
        // The next tick counts from now: a late tick is not made up for, as on Windows.
        t->due = now + std::max<UINT>(t->interval, 1);
        MSG m;
        m.hwnd = t->hwnd;
        m.message = WM_TIMER;
        m.wParam = t->id;
        m.lParam = t->host ? kHostTimerTag : reinterpret_cast<LPARAM>(t->proc);
        m.time = static_cast<DWORD>(now);
        GetCursorPos(&m.pt);
        return m;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> NextTimerDue() {
    std::optional<std::uint64_t> next;
    for (auto& t : Timers())
        if (!t->running && (!next || t->due < *next)) next = t->due;
    return next;
}

bool DispatchTimer(const MSG& msg) {
    bool host = msg.lParam == kHostTimerTag && !msg.hwnd;
    std::shared_ptr<TimerEntry> t = Find(msg.hwnd, msg.wParam, host);
    if (!t) return false;
    if (host) {
        t->running = true;
        // A copy, because the handler may destroy its own timer object.
        std::function<void()> handler = *t->host;
        handler();  // may pump messages; this timer stays quiet until it returns
        t->running = false;
        t->due = Now() + std::max<UINT>(t->interval, 1);
        return true;
    }
    if (t->proc && reinterpret_cast<LPARAM>(t->proc) == msg.lParam) {
        t->proc(msg.hwnd, WM_TIMER, msg.wParam, static_cast<DWORD>(Now()));
        return true;
    }
    return false;
}

void ForgetWindowTimers(HWND hwnd) {
    auto& v = Timers();
    v.erase(std::remove_if(v.begin(), v.end(), [&](const auto& t) { return t->hwnd == hwnd && hwnd; }), v.end());
}

void ResetTimers() { Timers().clear(); }

HostTimer::HostTimer(std::function<void()> onTick) : onTick_(std::move(onTick)) {
    static UINT_PTR nextId = 1;
    id_ = nextId++;
}

HostTimer::~HostTimer() { Remove(nullptr, id_, true); }

void HostTimer::SetInterval(int ms) {
    interval_ = ms;
    Restart();
}

void HostTimer::SetEnabled(bool enabled) {
    // A stopped timer has no entry to remove: stopping it again (as every click that cancels a
    // pending delay does) costs nothing.
    if (!enabled && !enabled_) return;
    enabled_ = enabled;
    Restart();
}

void HostTimer::Restart() {
    std::shared_ptr<TimerEntry> existing = Find(nullptr, id_, true);
    if (!enabled_ || interval_ <= 0) {
        Remove(nullptr, id_, true);
        return;
    }
    if (!existing) {
        existing = std::make_shared<TimerEntry>();
        existing->id = id_;
        existing->host = &onTick_;
        Timers().push_back(existing);
    }
    existing->interval = static_cast<UINT>(interval_);
    existing->due = Now() + static_cast<UINT>(interval_);
}

}  // namespace brimlox::user

using namespace brimlox::user;
namespace gdi = brimlox::gdi;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    if (hwnd && !IsWindow(hwnd)) return 0;
    // Windows clamps the interval to USER_TIMER_MINIMUM (10 ms).
    elapse = std::clamp<UINT>(elapse, 10, 0x7FFFFFFF);
    if (!hwnd) {
        // Thread timers get a fresh id unless an existing one is named.
        if (!id || !Find(nullptr, id, false)) id = g_nextThreadId++;
    }
    std::shared_ptr<TimerEntry> t = Find(hwnd, id, false);
    if (!t) {
        t = std::make_shared<TimerEntry>();
        t->hwnd = hwnd;
        t->id = id;
        Timers().push_back(t);
    }
    t->interval = elapse;
    t->proc = proc;
    t->due = Now() + elapse;
    return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    if (!Find(hwnd, id, false)) return FALSE;
    Remove(hwnd, id, false);
    return TRUE;
}

DWORD timeGetTime() { return static_cast<DWORD>(brimlox::desktop::Desktop::Instance().Now()); }
DWORD GetTickCount() { return static_cast<DWORD>(brimlox::desktop::Desktop::Instance().Now()); }

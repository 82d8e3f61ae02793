// The message queue of the UI thread: sending, posting, fetching and dispatching. Fetching
// follows Windows' order: posted messages, then WM_QUIT, input, WM_PAINT, and WM_TIMER. When
// nothing is waiting the loop advances the virtual clock to the next timer or input time, or,
// on the real clock, waits for input.
#include <algorithm>
#include <deque>
#include <thread>

#include "platform/desktop/desktop.h"
#include "platform/user/hook.h"
#include "platform/user/input_state.h"
#include "platform/user/keymap.h"
#include "platform/user/timer.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

namespace brimlox::user {

namespace {

struct Queue {
    std::deque<MSG> posted;
    std::deque<MSG> input;  // converted mouse and key messages not yet taken
    std::deque<std::string> screenshots;
    bool quit = false;
    int quitCode = 0;
    UINT newBits = 0;
    DWORD lastMessageTime = 0;
};

// A plain global rather than a function-local static: the queue is touched several times per
// message, and nothing posts before main.
Queue g_queue;
Queue& Q() { return g_queue; }

bool InRange(UINT message, UINT lo, UINT hi) { return (lo == 0 && hi == 0) || (message >= lo && message <= hi); }

bool MatchesWindow(HWND filter, HWND hwnd) {
    if (!filter) return true;
    if (filter == reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1))) return hwnd == nullptr;
    return hwnd == filter || IsChild(filter, hwnd);
}

bool IsKeyMessage(UINT m) { return m >= WM_KEYFIRST && m <= WM_KEYLAST; }

std::optional<MSG> TakeFrom(std::deque<MSG>& q, HWND filter, UINT lo, UINT hi, bool remove) {
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (!MatchesWindow(filter, it->hwnd) || !InRange(it->message, lo, hi)) continue;
        MSG m = *it;
        if (!remove) return m;
        // Unfiltered loops take the oldest message: popping it is cheaper than erasing.
        if (it == q.begin()) q.pop_front();
        else q.erase(it);
        return m;
    }
    return std::nullopt;
}

// Converts due input events until one gives a message. One at a time, so that key and button
// state always match the messages taken so far, as GetKeyState promises. Screenshots wait for
// the paints before them.
void PullDueInput(std::uint64_t now) {
    auto& d = desktop::Desktop::Instance();
    if (!Q().input.empty() || !Q().screenshots.empty()) return;
    while (Q().input.empty()) {
        auto e = d.TakeDueInput(now);
        if (!e) return;
        if (e->type == desktop::InputType::Screenshot) {
            Q().screenshots.push_back(e->name);
            return;  // later input waits until the picture is taken
        }
        if (e->type == desktop::InputType::Quit) {
            PostQuitMessage(0);
            continue;
        }
        if (auto m = ConvertInput(*e, now)) {
            Q().input.push_back(*m);
            Q().newBits |= IsKeyMessage(m->message) ? QS_KEY : (m->message == WM_MOUSEMOVE ? QS_MOUSEMOVE : QS_MOUSEBUTTON);
        }
    }
}

// The next input message for the filter; key messages pass the keyboard hooks first.
std::optional<MSG> TakeInput(HWND filter, UINT lo, UINT hi, bool remove) {
    while (auto m = TakeFrom(Q().input, filter, lo, hi, remove)) {
        if (!IsKeyMessage(m->message)) return m;
        bool swallowed = RunKeyboardHooks(remove ? HC_ACTION : HC_NOREMOVE, m->wParam, m->lParam);
        if (!remove || !swallowed) return m;
    }
    return std::nullopt;
}

void RunScreenshots() {
    while (!Q().screenshots.empty()) {
        std::string name = Q().screenshots.front();
        Q().screenshots.pop_front();
        desktop::Desktop::Instance().TakeScreenshot(name);
    }
}

MSG QuitMessage(LPARAM lParam) {
    MSG m;
    m.message = WM_QUIT;
    m.wParam = static_cast<WPARAM>(Q().quitCode);
    m.lParam = lParam;
    m.time = static_cast<DWORD>(desktop::Desktop::Instance().Now());
    GetCursorPos(&m.pt);
    return m;
}

// One pass over the sources of messages, without waiting.
std::optional<MSG> PeekOnce(HWND filter, UINT lo, UINT hi, bool remove) {
    auto& q = Q();
    auto& d = desktop::Desktop::Instance();
    if (auto m = TakeFrom(q.posted, filter, lo, hi, remove)) return m;
    if (q.quit) {
        if (remove) q.quit = false;
        return QuitMessage(0);
    }
    std::uint64_t now = d.Now();
    PullDueInput(now);
    if (auto m = TakeInput(filter, lo, hi, remove)) return m;
    if (InRange(WM_PAINT, lo, hi)) {
        if (HWND h = FindWindowToPaint(filter)) {
            MSG m;
            m.hwnd = h;
            m.message = WM_PAINT;
            m.time = static_cast<DWORD>(now);
            GetCursorPos(&m.pt);
            return m;
        }
    }
    if (!q.screenshots.empty() && !AnyPaintPending()) RunScreenshots();
    if (remove && InRange(WM_TIMER, lo, hi))
        if (auto m = TakeDueTimer(filter, now)) return m;
    return std::nullopt;
}

// Moves time forward to the next thing that will happen. False when nothing ever will
// (virtual clock: nothing left before the run limit).
bool WaitForSomething() {
    auto& d = desktop::Desktop::Instance();
    std::uint64_t now = d.Now();
    std::optional<std::uint64_t> next = NextTimerDue();
    if (auto input = d.NextInputTime(); input && (!next || *input < *next)) next = input;
    if (d.GetClock().IsVirtual()) {
        if (!next || std::max(*next, now) > d.RunLimit()) return false;
        d.GetClock().AdvanceTo(*next);
        return true;
    }
    desktop::InputSource* source = d.Source();
    if (!source && !next) return false;
    std::uint64_t timeout = next ? (*next > now ? *next - now : 0) : 100;
    if (source) source->Wait(std::min<std::uint64_t>(timeout, 100));
    else std::this_thread::sleep_for(std::chrono::milliseconds(timeout));
    return true;
}

}  // namespace

void ForgetWindowInQueue(HWND hwnd) {
    for (auto* list : {&Q().posted, &Q().input}) {
        list->erase(std::remove_if(list->begin(), list->end(), [&](const MSG& m) { return m.hwnd == hwnd; }),
                    list->end());
    }
}

bool GetModalMessage(MSG* msg) {
    if (GetMessageA(msg, nullptr, 0, 0)) return true;
    // Pass the quit on: the loop that owns this one must end as well.
    if (msg->lParam != kEndOfInput) PostQuitMessage(static_cast<int>(msg->wParam));
    return false;
}

void ResetQueue() { Q() = Queue{}; }

}  // namespace brimlox::user

using namespace brimlox::user;
namespace gdi = brimlox::gdi;

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return 0;
    return CallProc(w, msg, wParam, lParam);
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !LookupWindow(hwnd)) return FALSE;
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<DWORD>(brimlox::desktop::Desktop::Instance().Now());
    m.pt = CursorPos();
    Q().posted.push_back(m);
    Q().newBits |= QS_POSTMESSAGE;
    return TRUE;
}

BOOL PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (threadId != GetCurrentThreadId()) return FALSE;
    return PostMessageA(nullptr, msg, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    Q().quit = true;
    Q().quitCode = exitCode;
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT lo, UINT hi, UINT removeMsg) {
    if (!msg) return FALSE;
    auto m = PeekOnce(hwnd, lo, hi, (removeMsg & PM_REMOVE) != 0);
    Q().newBits = 0;
    if (!m) return FALSE;
    *msg = *m;
    Q().lastMessageTime = m->time;
    return TRUE;
}

BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT lo, UINT hi) {
    if (!msg) return -1;
    if (hwnd && !IsWindow(hwnd)) return -1;
    for (;;) {
        if (auto m = PeekOnce(hwnd, lo, hi, true)) {
            *msg = *m;
            Q().newBits = 0;
            Q().lastMessageTime = m->time;
            return m->message == WM_QUIT ? FALSE : TRUE;
        }
        if (!WaitForSomething()) {
            // Nothing will ever happen again (scripted input ran out): end the loop instead of
            // hanging. The quit code is the one posted last, or 0.
            *msg = QuitMessage(kEndOfInput);
            return FALSE;
        }
    }
}

BOOL WaitMessage() {
    MSG m;
    auto& d = brimlox::desktop::Desktop::Instance();
    while (!PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
        // A due timer counts as a message although a peek that removes nothing never hands
        // one out; without this check the wait would spin on it for ever.
        if (auto t = NextTimerDue(); t && *t <= d.Now()) return TRUE;
        if (!WaitForSomething()) return FALSE;
    }
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && (msg->lParam || !msg->hwnd)) {
        if (DispatchTimer(*msg)) return 0;
        if (!msg->hwnd) return 0;
    }
    WindowObject* w = LookupWindow(msg->hwnd);
    if (!w) return 0;
    return CallProc(w, msg->message, msg->wParam, msg->lParam);
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
    int ch = CharForKey(static_cast<int>(msg->wParam));
    if (!ch) return FALSE;
    MSG c = *msg;
    c.message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    c.wParam = static_cast<WPARAM>(ch);
    // The character comes next, before anything posted earlier.
    Q().posted.push_front(c);
    return TRUE;
}

DWORD GetQueueStatus(UINT flags) {
    auto& q = Q();
    auto& d = brimlox::desktop::Desktop::Instance();
    UINT now = 0;
    if (!q.posted.empty()) now |= QS_POSTMESSAGE;
    for (const MSG& m : q.input)
        now |= IsKeyMessage(m.message) ? QS_KEY : (m.message == WM_MOUSEMOVE ? QS_MOUSEMOVE : QS_MOUSEBUTTON);
    if (auto t = d.NextInputTime(); t && *t <= d.Now()) now |= QS_INPUT;
    if (AnyPaintPending()) now |= QS_PAINT;
    if (auto t = NextTimerDue(); t && *t <= d.Now()) now |= QS_TIMER;
    UINT fresh = q.newBits & now & flags;
    q.newBits &= ~flags;
    return (static_cast<DWORD>(now & flags) << 16) | fresh;
}

DWORD GetMessageTime() { return Q().lastMessageTime; }
DWORD GetCurrentThreadId() { return 1; }

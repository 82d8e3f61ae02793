// The message queue of the UI thread: sending, posting, fetching and dispatching. Fetching
// follows Windows' order: posted messages, then WM_QUIT, input, WM_PAINT, and WM_TIMER. When
// nothing is waiting the loop advances the virtual clock to the next timer or input time, or,
// on the real clock, waits for input.
#include <algorithm>
#include <deque>
#include <thread>

#include "platform/desktop/desktop.h"
#include "platform/desktop/event_queue.h"
#include "platform/user/hook.h"
#include "platform/user/input_state.h"
#include "platform/user/keymap.h"
#include "platform/user/timer.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

namespace brimlox::user {

namespace {

struct Queue {
    desktop::EventQueue<MSG> posted;
    desktop::EventQueue<MSG> input;  // converted mouse and key messages not yet taken
    std::deque<std::string> screenshots;
    bool quit = false;
    int quitCode = 0;
    UINT newBits = 0;
    DWORD lastMessageTime = 0;
    INPUT_MESSAGE_SOURCE lastSource;  // of the message taken last
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

// Messages travel by out-parameter rather than std::optional: each copy of a MSG just built
// field by field costs a stalled store-to-load forward, and a mouse move used to copy it five
// times on its way to the caller.
bool TakeFrom(desktop::EventQueue<MSG>& q, HWND filter, UINT lo, UINT hi, bool remove, MSG& out) {
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (!MatchesWindow(filter, it->hwnd) || !InRange(it->message, lo, hi)) continue;
        out = *it;
        if (!remove) return true;
        // Unfiltered loops take the oldest message: popping it is cheaper than erasing.
        if (it == q.begin()) q.pop_front();
        else q.erase(it);
        return true;
    }
    return false;
}

// Converts due input events until one gives a message. One at a time, so that key and button
// state always match the messages taken so far, as GetKeyState promises. Screenshots wait for
// the paints before them. A mouse message that the caller takes at once is handed over in
// `out` (true) instead of passing through the empty input queue; anything else is queued.
bool PullDueInput(std::uint64_t now, HWND filter, UINT lo, UINT hi, bool remove, MSG& out) {
    auto& d = desktop::Desktop::Instance();
    if (!Q().input.empty() || !Q().screenshots.empty()) return false;
    desktop::InputEvent e;
    while (Q().input.empty()) {
        if (!d.TakeDueInput(now, e)) return false;
        if (e.type == desktop::InputType::Screenshot) {
            Q().screenshots.push_back(e.name ? e.name : "");
            return false;  // later input waits until the picture is taken
        }
        if (e.type == desktop::InputType::Quit) {
            PostQuitMessage(0);
            continue;
        }
        if (ConvertInput(e, now, out)) {
            const bool key = IsKeyMessage(out.message);
            Q().newBits |= key ? QS_KEY : (out.message == WM_MOUSEMOVE ? QS_MOUSEMOVE : QS_MOUSEBUTTON);
            if (remove && !key && MatchesWindow(filter, out.hwnd) && InRange(out.message, lo, hi)) return true;
            Q().input.push_back(out);
        }
    }
    return false;
}

// The next input message for the filter; key messages pass the keyboard hooks first.
bool TakeInput(HWND filter, UINT lo, UINT hi, bool remove, MSG& out) {
    while (TakeFrom(Q().input, filter, lo, hi, remove, out)) {
        if (!IsKeyMessage(out.message)) return true;
        bool swallowed = RunKeyboardHooks(remove ? HC_ACTION : HC_NOREMOVE, out.wParam, out.lParam);
        if (!remove || !swallowed) return true;
    }
    return false;
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

// Input messages come from the desktop's devices; everything else (posted, paint, timer,
// quit) has no input source.
INPUT_MESSAGE_SOURCE SourceOf(const MSG& m, bool fromInput) {
    INPUT_MESSAGE_SOURCE s;
    if (!fromInput) return s;
    s.deviceType = IsKeyMessage(m.message) ? IMDT_KEYBOARD : IMDT_MOUSE;
    s.originId = IMO_HARDWARE;
    return s;
}

bool PeekSources(HWND filter, UINT lo, UINT hi, bool remove, MSG& out, bool& fromInput);

// One pass over the sources of messages, without waiting. A message taken out of the queue
// becomes the one GetCurrentInputMessageSource describes.
bool PeekOnce(HWND filter, UINT lo, UINT hi, bool remove, MSG& out) {
    bool fromInput = false;
    if (!PeekSources(filter, lo, hi, remove, out, fromInput)) return false;
    if (remove) Q().lastSource = SourceOf(out, fromInput);
    return true;
}

bool PeekSources(HWND filter, UINT lo, UINT hi, bool remove, MSG& out, bool& fromInput) {
    auto& q = Q();
    auto& d = desktop::Desktop::Instance();
    if (TakeFrom(q.posted, filter, lo, hi, remove, out)) return true;
    if (q.quit) {
        if (remove) q.quit = false;
        out = QuitMessage(0);
        return true;
    }
    std::uint64_t now = d.Now();
    fromInput = true;
    if (PullDueInput(now, filter, lo, hi, remove, out)) return true;
    if (TakeInput(filter, lo, hi, remove, out)) return true;
    fromInput = false;
    if (InRange(WM_PAINT, lo, hi)) {
        if (HWND h = FindWindowToPaint(filter)) {
            out = MSG{};
            out.hwnd = h;
            out.message = WM_PAINT;
            out.time = static_cast<DWORD>(now);
            GetCursorPos(&out.pt);
            return true;
        }
    }
    if (!q.screenshots.empty() && !AnyPaintPending()) RunScreenshots();
    if (remove && InRange(WM_TIMER, lo, hi)) {
        if (auto m = TakeDueTimer(filter, now)) {
            out = *m;
            return true;
        }
    }
    return false;
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
    // Filled in place: a copy of a message just built field by field stalls on its way out.
    // When no message is there, the contents of *msg are unspecified, as on Windows.
    const bool found = PeekOnce(hwnd, lo, hi, (removeMsg & PM_REMOVE) != 0, *msg);
    Q().newBits = 0;
    if (!found) return FALSE;
    Q().lastMessageTime = msg->time;
    return TRUE;
}

BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT lo, UINT hi) {
    if (!msg) return -1;
    if (hwnd && !IsWindow(hwnd)) return -1;
    for (;;) {
        MSG m;
        if (PeekOnce(hwnd, lo, hi, true, m)) {
            *msg = m;
            Q().newBits = 0;
            Q().lastMessageTime = m.time;
            return m.message == WM_QUIT ? FALSE : TRUE;
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

BOOL GetCurrentInputMessageSource(INPUT_MESSAGE_SOURCE* source) {
    if (!source) return FALSE;
    *source = Q().lastSource;
    return TRUE;
}
DWORD GetCurrentThreadId() { return 1; }

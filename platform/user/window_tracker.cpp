#include "platform/user/window_tracker.h"

#include <algorithm>
#include <vector>

#include "platform/user/user.h"

namespace brimlox::user {

namespace {
// Trackers form a stack through their next_ links; they are created and destroyed in LIFO
// order because they live on the stack of nested handlers.
WindowTracker* g_trackers = nullptr;

std::vector<WindowTracker::DestroyObserver>& Observers() {
    static std::vector<WindowTracker::DestroyObserver> observers;
    return observers;
}
}  // namespace

WindowTracker::WindowTracker(HWND hwnd) : hwnd_(IsWindow(hwnd) ? hwnd : nullptr), next_(g_trackers) {
    g_trackers = this;
}

WindowTracker::~WindowTracker() {
    WindowTracker** link = &g_trackers;
    while (*link && *link != this) link = &(*link)->next_;
    if (*link) *link = next_;
}

void WindowTracker::NotifyDestroyed(HWND hwnd) {
    for (WindowTracker* t = g_trackers; t; t = t->next_)
        if (t->hwnd_ == hwnd) t->hwnd_ = nullptr;
    for (DestroyObserver observer : Observers()) observer(hwnd);
}

void WindowTracker::AddDestroyObserver(DestroyObserver observer) {
    auto& list = Observers();
    if (std::find(list.begin(), list.end(), observer) == list.end()) list.push_back(observer);
}

}  // namespace brimlox::user

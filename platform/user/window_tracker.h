// Watches a window across calls that may destroy it (a message handler, a modal loop): after
// the call, Alive() tells whether the window still exists, so the caller does not touch a
// dead object. The same idea as FLTK's Fl_Widget_Tracker; trackers nest freely.
#pragma once

#include "platform/gdi/wintypes.h"

namespace brimlox::user {

class WindowTracker {
public:
    explicit WindowTracker(HWND hwnd);
    ~WindowTracker();
    WindowTracker(const WindowTracker&) = delete;
    WindowTracker& operator=(const WindowTracker&) = delete;

    bool Alive() const { return hwnd_ != nullptr; }
    HWND Window() const { return hwnd_; }

    // Called by the window manager when a window's object is freed.
    static void NotifyDestroyed(HWND hwnd);
    // Modules above USER that keep window handles (the notification area) are told of every
    // freed window through an observer; adding the same observer twice keeps one.
    using DestroyObserver = void (*)(HWND);
    static void AddDestroyObserver(DestroyObserver observer);

private:
    HWND hwnd_;
    WindowTracker* next_;
};

}  // namespace brimlox::user

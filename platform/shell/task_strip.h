// The task strip: a band along the bottom of the screen, left of the tray strip, with one
// button for each minimised top-level window that has a caption. A click on a button restores
// and activates its window. The strip exists only while some window is minimised, and keeps
// its rows out of the work area that maximised windows fill.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/gdi/wintypes.h"

namespace brimlox::shell {

// Starts watching minimised windows (idempotent). Hosts call it before they make their first
// top-level window.
void UseTaskStrip();

class TaskStrip {
public:
    static TaskStrip& Instance();

    // The minimised windows, in the order they were minimised, and the strip window (nullptr
    // while none is minimised).
    const std::vector<HWND>& Windows() const { return windows_; }
    HWND Strip() const { return strip_; }
    // A button's rectangle in the strip's client area, and the button under a point (or -1).
    RECT ButtonRect(std::size_t index) const;
    int ButtonAt(POINT client) const;

    void Minimised(HWND hwnd, bool minimised);
    void WindowDestroyed(HWND hwnd);

    static constexpr int kHeight = 24;
    static constexpr int kButtonWidth = 160;

private:
    TaskStrip() = default;
    void Update();
    RECT StripRect() const;

    std::vector<HWND> windows_;
    HWND strip_ = nullptr;
};

}  // namespace brimlox::shell

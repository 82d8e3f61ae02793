// Test support for the progress bar: a borderless form at the screen's origin (so the form's
// client pixels are screen pixels) holding one ProgressBar, a count of its PercentChange
// events, its pixels as the screen shows them, and scripted time on the event loop.
#pragma once

#include <memory>
#include <string>

#include "controls/indicators/progressbar.h"
#include "platform/host/host_test.h"

namespace brimlox::test {

class ProgressBarTest : public HostTest {
protected:
    void TearDown() override;

    // A form with one bar at (left, top) pixels, `width` x `height` pixels.
    controls::ProgressBar& MakeBar(int left, int top, int width, int height, bool designMode = false);
    // A screen pixel of the bar, at (x, y) pixels inside it.
    COLORREF Pixel(int x, int y) const;
    // Runs the event loop on the virtual clock for `ms` milliseconds.
    void Wait(int ms);
    // The bar saved to a form file and loaded again.
    std::shared_ptr<controls::ProgressBar> Reload();

    std::shared_ptr<host::Form> form;
    std::shared_ptr<controls::ProgressBar> bar;
    int percentChanges = 0;
    int barLeft = 0, barTop = 0;
};

// NOT-XOR of a pen colour over a pixel: what the fill makes of what lies under it.
inline COLORREF NotXor(COLORREF pen, COLORREF under) { return ~(pen ^ under) & 0xFFFFFF; }

}  // namespace brimlox::test

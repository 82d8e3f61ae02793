// Test support for the scroll bar: a borderless form at the screen's origin (so form client
// pixels are screen pixels), one ScrollBar on it, a log of its Change and Scroll events with
// the virtual time they came at, and scripted input run through the host's event loop.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/scrollbar/scrollbar.h"
#include "platform/host/host_test.h"

namespace brimlox::test {

struct BarEvent {
    std::string name;         // "Change" or "Scroll"
    std::int32_t distance;    // Change's argument (0 for Scroll)
    std::uint64_t time;       // ms since the script started
    std::int32_t value;       // Value when the event came
    bool operator==(const BarEvent&) const = default;
};

class ScrollBarTest : public HostTest {
protected:
    void TearDown() override;

    // A form with one bar at (left, top) pixels of the form, `width` x `height` pixels.
    controls::ScrollBar& MakeBar(int left, int top, int width, int height);
    // Runs a script to its end (its times count from its own start; event times from the first
    // script's start).
    void Play(const std::string& script);
    // A screen pixel of the bar, at (x, y) pixels inside it.
    COLORREF BarPixel(int x, int y) const;
    // "move X Y" in screen pixels for a point (x, y) pixels inside the bar.
    std::string At(int x, int y) const;

    std::vector<std::int32_t> Distances(const std::string& name = "Change") const;
    std::vector<std::uint64_t> Times(const std::string& name = "Change") const;

    std::shared_ptr<host::Form> form;
    std::shared_ptr<controls::ScrollBar> bar;
    std::vector<BarEvent> events;
    int barLeft = 0, barTop = 0;
    std::uint64_t scriptStart = 0;
    bool started = false;
};

}  // namespace brimlox::test

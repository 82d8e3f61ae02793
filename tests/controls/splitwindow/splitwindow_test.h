// Test support for SplitWindow: a borderless form at the screen's origin (form pixels are
// screen pixels), splitters placed in pixels with plain child controls, scripted input on the
// host's event loop, a log of the events a control raises, and copies of the screen.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/splitwindow/splitwindow.h"
#include "platform/host/host_test.h"

namespace brimlox::test {

class SplitWindowTest : public HostTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A visible borderless form of 400 x 300 pixels at the screen's origin.
    host::Form& MakeForm(bool designMode = false);
    // A splitter at (x, y) pixels of its container, w x h pixels.
    std::shared_ptr<controls::SplitWindow> AddSplitter(int x, int y, int w, int h, host::Control* container = nullptr);
    // `count` children of 20 x 20 pixels placed on `splitter` from the left (or top) in order.
    std::vector<std::shared_ptr<host::Control>> AddChildren(controls::SplitWindow& splitter, int count);
    // Installs an input script whose times count from now and runs the loop to its end.
    void Play(const std::string& script);
    // Lets the loop run for 300 ms of virtual time (paints, the cursor timer's ticks).
    void Settle() { Play("wait 300ms"); }
    // Records the events of `control` as "Name" or "Name(arg,arg)".
    void Record(host::Control& control, const std::vector<std::string>& events);
    // The screen's pixels now (after pending paints).
    std::vector<std::uint32_t> ScreenPixels();
    static std::size_t LiveGdiObjects();

    std::shared_ptr<host::Form> form;
    std::vector<std::string> events;
};

// Pane starts and sizes in twips, as "start+size" entries.
std::vector<std::string> PaneText(const controls::SplitWindow& splitter);

}  // namespace brimlox::test

// Test support for docking, floating, moving, sizing and turning a SplitWindow: a borderless
// form at the screen's origin (form pixels are screen pixels), tool bars and splitters placed
// in pixels, buttons and dividers on them, and scripted input on the host's event loop.
#pragma once

#include <memory>
#include <string>

#include "controls/divider/divider.h"
#include "controls/splitwindow/splitwindow.h"
#include "platform/host/host_test.h"

namespace brimlox::test {

inline constexpr int kDockTwips = 15;
inline constexpr std::int32_t Px(int pixels) { return pixels * kDockTwips; }

class DockTest : public HostTest {
protected:
    void TearDown() override;

    // A visible borderless form of w x h pixels at the screen's origin.
    host::Form& MakeForm(int w = 400, int h = 300);
    // A Dockable, Sizeable tool bar at (x, y) pixels, w x h pixels, floating at that size.
    std::shared_ptr<controls::SplitWindow> AddToolBar(int x, int y, int w, int h, host::Control* container = nullptr,
                                                      const std::string& name = "");
    // A Command of w x h pixels on `bar` (a Command keeps odd pixel sizes).
    std::shared_ptr<host::Control> AddButton(host::Control& bar, int w = 23, int h = 23);
    std::shared_ptr<controls::Divider> AddDivider(host::Control& bar, std::int16_t style, int w = 8, int h = 23);
    // Installs an input script whose times count from now and runs the loop to its end.
    void Play(const std::string& script);
    // Runs the loop for `ms` of virtual time with no input (timers tick, paints run).
    void Idle(int ms);

    std::shared_ptr<host::Form> form;
};

}  // namespace brimlox::test

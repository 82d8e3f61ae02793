// Test support for the Command button: a form at the origin of the screen with buttons placed
// in pixels, and an event log of what the buttons raise.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls/command/command.h"
#include "platform/host/host_test.h"

namespace brimlox::test {

class CommandTest : public HostTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A visible borderless form of 400 x 300 pixels at the screen's origin.
    std::shared_ptr<host::Form> MakeForm(const std::string& name = "frmTest");
    // A button at (x, y) pixels of the form, w x h pixels, logging its events.
    std::shared_ptr<controls::Command> AddButton(host::Form& form, const std::string& name, int x, int y, int w, int h);
    void Log(const std::string& entry) { events.push_back(entry); }
    // Installs an input script whose times count from now.
    void Script(const std::string& text);

    std::shared_ptr<host::Form> form;
    std::vector<std::string> events;
};

}  // namespace brimlox::test

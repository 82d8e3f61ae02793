// Test support for the windowing layer: a fixture that starts each test on a fresh desktop
// with the virtual clock and fails the test when it leaves windows, hooks, icons or GDI
// objects behind; and a window class that records the messages it receives.
#pragma once

#include <string>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/user/user.h"
#include "support/gdi_test.h"

namespace brimlox::test {

class UserTest : public GdiTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the input with a parsed script (fails the test on a parse error).
    void UseScript(const std::string& script);
    // Runs a plain GetMessage loop until it ends; returns the WM_QUIT message.
    MSG RunLoop();

private:
    std::size_t windows_ = 0;
    std::size_t hooks_ = 0;
    std::size_t icons_ = 0;
};

// Messages received by "Recorder" windows, as "<window text>:<message>" entries.
std::vector<std::string>& MessageLog();
// Registers the recording class once: CS_DBLCLKS, white background, arrow cursor.
const char* RecorderClass();
// The same recorder without CS_DBLCLKS.
const char* PlainRecorderClass();
// A name for a message, for the log ("WM_LBUTTONDOWN(10,20)" for mouse messages).
std::string Describe(UINT msg, WPARAM wParam, LPARAM lParam);
// Keeps only the entries that start with one of the prefixes' messages.
std::vector<std::string> Filtered(const std::vector<std::string>& log, const std::vector<std::string>& names);

HWND MakeTopLevel(const char* name, RECT r, const char* cls = nullptr);
HWND MakeChild(HWND parent, const char* name, RECT r, const char* cls = nullptr);

}  // namespace brimlox::test

// Test support for the popup-menu subsystem: a fixture that starts every test with a clean
// popup state, look flags and accelerator registry and fails a test that leaves registrations
// (or windows, hooks, menus, GDI objects) behind; small pictures for item icons; and a way
// to act while a popup is open.
#pragma once

#include <functional>
#include <memory>

#include "menus/keyboard_registry.h"
#include "menus/popup_item_list.h"
#include "menus/popup_menu.h"
#include "platform/host/picture.h"
#include "platform/user/menu_test.h"

namespace brimlox::test {

class MenusTest : public MenuTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Script times count from the clock's start, not from when a script is installed: this
    // one begins with a wait up to the present, so its waits count from now.
    void UseScriptFromNow(const std::string& script);
};

// A 16 x 16 bitmap picture: a magenta background (the transparent colour, being the top-left
// pixel) around a filled square of `colour` with a dark outline.
std::shared_ptr<host::StdPicture> MakeIconPicture(COLORREF colour);

// Runs `action` once, `ms` milliseconds of virtual time after the call, from inside whatever
// message loop is running then (an open popup's, typically).
class AfterDelay {
public:
    AfterDelay(int ms, std::function<void()> action);
    ~AfterDelay();
    AfterDelay(const AfterDelay&) = delete;
    AfterDelay& operator=(const AfterDelay&) = delete;
    bool Ran() const { return ran_; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool ran_ = false;
};

// The screen rectangle of item `position` of the open popup's top menu (empty when none).
RECT OpenItemRect(int position);
// The screen rectangle of item `position` of submenu `sub` of the open popup.
RECT OpenSubItemRect(int subPosition, int position);

}  // namespace brimlox::test

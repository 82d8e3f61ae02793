// Test support for menus: a fixture that also fails a test leaving menus behind, and an owner
// window that records the menu messages it gets, measures owner-drawn items at a fixed size,
// draws them as plain text, and lets a test react to WM_ENTERIDLE and WM_MENUCHAR.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/user/menu.h"
#include "user_test.h"

namespace brimlox::test {

class MenuTest : public UserTest {
protected:
    void SetUp() override;
    void TearDown() override;

private:
    std::size_t menus_ = 0;
};

// What the owner window does and saw.
struct OwnerScript {
    int itemWidth = 120;
    int itemHeight = 20;
    std::vector<std::string> log;  // "WM_MENUSELECT 11 0x8180" ... in arrival order
    int drawCount = 0;
    int selectDraws = 0;           // WM_DRAWITEM with ODA_SELECT
    int idleCount = 0;
    HWND idleWindow = nullptr;
    std::vector<DRAWITEMSTRUCT> draws;
    std::function<void(HWND)> onIdle;         // called on every WM_ENTERIDLE
    std::function<LRESULT(WPARAM, LPARAM)> onMenuChar;
    std::vector<std::string> texts;           // owner-drawn texts by item data (1-based)
};
OwnerScript& Owner();
// A visible top-level window of the owner class at the given screen rectangle.
HWND MakeMenuOwner(RECT r);
// The entries of the owner log whose message name is one of `names`.
std::vector<std::string> OwnerLog(const std::vector<std::string>& names);

}  // namespace brimlox::test

// The keyboard hook registry: Alt+letter, Enter and Escape click the registered window of the
// foreground form only; Alt counts only while it is held; an open popup turns the keys into
// arrow flags; registering updates, unregistering an unknown window changes nothing, and the
// hook lives from the first registration to the last unregistration.
#include "menus_test.h"

namespace brimlox::test {
namespace {

using menus::RegisterAccelerator;

class KeyboardRegistryTest : public MenusTest {
protected:
    void SetUp() override {
        MenusTest::SetUp();
        formA = MakeTopLevel("A", {0, 0, 300, 200});
        buttonA = MakeChild(formA, "okA", {10, 10, 100, 40});
        formB = MakeTopLevel("B", {400, 0, 700, 200});
        buttonB = MakeChild(formB, "cancelB", {10, 10, 100, 40});
    }
    void TearDown() override {
        DestroyWindow(formA);
        DestroyWindow(formB);
        MenusTest::TearDown();
    }
    // The windows that received a press and a release, in order, after the keys of `script`.
    std::vector<std::string> Clicks(const std::string& script) {
        MessageLog().clear();
        UseScript(script);
        RunLoop();
        std::vector<std::string> out;
        for (const std::string& e : Filtered(MessageLog(), {"WM_LBUTTONDOWN", "WM_LBUTTONUP"}))
            out.push_back(e.substr(0, e.find(':')) + (e.find("DOWN") != std::string::npos ? " down" : " up"));
        return out;
    }
    HWND formA = nullptr, buttonA = nullptr, formB = nullptr, buttonB = nullptr;
};

const std::string kAltO = "key down VK_MENU\nkey press O\nkey up VK_MENU\n";

TEST_F(KeyboardRegistryTest, KeysClickTheRegisteredWindowOfTheForegroundFormOnly) {
    RegisterAccelerator(formA, buttonA, 'O', true, false);
    RegisterAccelerator(formB, buttonB, 'O', false, true);
    EXPECT_TRUE(menus::AcceleratorHookInstalled());

    SetActiveWindow(formA);
    const std::vector<std::string> clickA{"okA down", "okA up"};
    const std::vector<std::string> clickB{"cancelB down", "cancelB up"};
    EXPECT_EQ(Clicks(kAltO), clickA);
    std::vector<std::string> sysKeys;
    for (const std::string& e : Filtered(MessageLog(), {"WM_SYSKEYDOWN"})) sysKeys.push_back(e.substr(e.find(':') + 1));
    EXPECT_EQ(sysKeys, (std::vector<std::string>{"WM_SYSKEYDOWN(18)"})) << "the letter is swallowed, Alt is not";
    EXPECT_EQ(Clicks("key press VK_RETURN\n"), clickA);
    EXPECT_TRUE(Clicks("key press VK_ESCAPE\n").empty()) << "the Cancel button is on the other form";
    EXPECT_TRUE(Clicks("key press O\n").empty()) << "a letter without Alt";

    SetActiveWindow(formB);
    EXPECT_EQ(Clicks("key press VK_ESCAPE\n"), clickB);
    EXPECT_EQ(Clicks(kAltO), clickB);
    EXPECT_TRUE(Clicks("key press VK_RETURN\n").empty());

    // Registering again updates the entry instead of adding one.
    RegisterAccelerator(formB, buttonB, '7', false, false);
    EXPECT_EQ(menus::RegisteredAcceleratorCount(), 2u);
    EXPECT_TRUE(Clicks("key press VK_ESCAPE\n").empty());
    EXPECT_EQ(Clicks("key down VK_MENU\nkey press 7\nkey up VK_MENU\n"), clickB);

    RegisterAccelerator(formA, buttonA, 0, false, false);
    RegisterAccelerator(formB, buttonB, 0, false, false);
    EXPECT_FALSE(menus::AcceleratorHookInstalled());
}

TEST_F(KeyboardRegistryTest, ReleasingAltEndsTheAcceleratorsAndAnOpenPopupTakesTheKeys) {
    RegisterAccelerator(formA, buttonA, 'O', true, true);
    SetActiveWindow(formA);
    EXPECT_TRUE(Clicks("key press VK_MENU\nkey press O\n").empty()) << "Alt was let go before the letter";
    EXPECT_EQ(Clicks("key down VK_MENU\nkey down O\nkey down O\nkey up O\nkey up VK_MENU\n").size(), 2u)
        << "an auto-repeat clicks no second time";

    menus::Popup().menuShowing = true;
    EXPECT_TRUE(Clicks("key press VK_RETURN\nkey press VK_ESCAPE\n" + kAltO).empty());
    Clicks("key press VK_RIGHT\n");
    EXPECT_TRUE(menus::Popup().arrowRight);
    Clicks("key press VK_LEFT\n");
    EXPECT_TRUE(menus::Popup().arrowLeft);
    EXPECT_FALSE(menus::Popup().arrowRight);
    Clicks("key press VK_DOWN\n");
    EXPECT_FALSE(menus::Popup().arrowLeft);
    menus::Popup().menuShowing = false;
    RegisterAccelerator(formA, buttonA, 0, false, false);
}

TEST_F(KeyboardRegistryTest, UnregisteringAnUnknownWindowChangesNothing) {
    HWND plain = MakeChild(formA, "plain", {10, 50, 100, 80});
    RegisterAccelerator(formA, plain, 0, false, false);  // a caption without "&" registers as all zeros
    EXPECT_EQ(menus::RegisteredAcceleratorCount(), 0u);
    EXPECT_FALSE(menus::AcceleratorHookInstalled()) << "no hook for nothing";
    RegisterAccelerator(formA, nullptr, 'X', true, true);
    EXPECT_EQ(menus::RegisteredAcceleratorCount(), 0u) << "window 0 is ignored";

    RegisterAccelerator(formA, buttonA, 0, true, false);
    RegisterAccelerator(formB, buttonB, 0, false, true);
    RegisterAccelerator(formA, plain, 0, false, false);
    EXPECT_EQ(menus::RegisteredAcceleratorCount(), 2u);
    SetActiveWindow(formA);
    EXPECT_EQ(Clicks("key press VK_RETURN\n"), (std::vector<std::string>{"okA down", "okA up"}));

    // One entry left: unregistering another window keeps it and its hook.
    RegisterAccelerator(formA, buttonA, 0, false, false);
    RegisterAccelerator(formA, plain, 0, false, false);
    EXPECT_EQ(menus::RegisteredAcceleratorCount(), 1u);
    EXPECT_TRUE(menus::AcceleratorHookInstalled());
    SetActiveWindow(formB);
    EXPECT_EQ(Clicks("key press VK_ESCAPE\n"), (std::vector<std::string>{"cancelB down", "cancelB up"}));

    // Removing the first of three moves the last into its place; all still work.
    HWND extra = MakeChild(formB, "extra", {10, 50, 100, 80});
    RegisterAccelerator(formA, buttonA, 'Q', false, false);
    RegisterAccelerator(formB, extra, 'E', false, false);
    RegisterAccelerator(formA, buttonA, 0, false, false);
    EXPECT_EQ(Clicks("key down VK_MENU\nkey press E\nkey up VK_MENU\n"),
              (std::vector<std::string>{"extra down", "extra up"}));
    RegisterAccelerator(formB, extra, 0, false, false);
    RegisterAccelerator(formB, buttonB, 0, false, false);
    EXPECT_FALSE(menus::AcceleratorHookInstalled());
}

}  // namespace
}  // namespace brimlox::test

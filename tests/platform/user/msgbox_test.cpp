// Message boxes: the headless log, a box driven by scripted keys and clicks, its owner being
// disabled while it runs, and a golden image of the box.
#include "platform/user/msgbox.h"

#include "platform/desktop/desktop.h"
#include "user_test.h"

namespace brimlox::test {
namespace {

class MessageBoxTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        user::ClearMessageBoxLog();
    }
    void ShowDialogs() {
        auto s = desktop::Desktop::Instance().Settings();
        s.headlessDialogs = false;
        desktop::Desktop::Instance().Configure(s);
    }
};

TEST_F(MessageBoxTest, HeadlessBoxesAreLoggedAndAnsweredAtOnce) {
    HWND owner = MakeTopLevel("owner", {0, 0, 100, 100});
    EXPECT_EQ(MessageBoxA(owner, "Only Icons are supported", "Brimlox", MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "two\nlines", nullptr, MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(MessageBoxA(HandleFromValue<HWND>(0x1234), nullptr, "t", MB_ICONSTOP), IDOK);
    const auto& log = user::MessageBoxLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].owner, owner);
    EXPECT_EQ(log[0].text, "Only Icons are supported");
    EXPECT_EQ(log[0].caption, "Brimlox");
    EXPECT_EQ(log[0].icon, "exclamation");
    EXPECT_FALSE(log[0].shown);
    EXPECT_EQ(log[1].text, "two\nlines");
    EXPECT_EQ(log[1].caption, "Error") << "Windows' title for a box without one";
    EXPECT_EQ(log[1].icon, "information");
    EXPECT_EQ(log[2].text, "");
    EXPECT_EQ(log[2].icon, "stop");
    EXPECT_EQ(user::MessageBoxIconName(MB_ICONQUESTION), "question");
    EXPECT_EQ(user::MessageBoxIconName(MB_OK), "");
    DestroyWindow(owner);
}

// Records whether the owner was enabled while the box ran (from a timer of another window).
bool g_ownerEnabledDuringBox = true;
HWND g_owner = nullptr;
void CALLBACK CheckOwner(HWND, UINT, UINT_PTR, DWORD) { g_ownerEnabledDuringBox = IsWindowEnabled(g_owner) != 0; }

TEST_F(MessageBoxTest, AShownBoxRunsModallyUntilEnterEscapeSpaceOrAClickOnOk) {
    ShowDialogs();
    g_owner = MakeTopLevel("owner", {100, 100, 500, 400});
    SetTimer(nullptr, 1, 50, CheckOwner);
    UseScript("at 100ms key press VK_RETURN\n");
    EXPECT_EQ(MessageBoxA(g_owner, "Proceed?", "Title", MB_OK | MB_ICONQUESTION), IDOK);
    EXPECT_FALSE(g_ownerEnabledDuringBox) << "the owner takes no input while its box is up";
    EXPECT_TRUE(IsWindowEnabled(g_owner));
    EXPECT_EQ(GetActiveWindow(), g_owner) << "the owner is active again";
    EXPECT_EQ(desktop::Desktop::Instance().Now(), 100u);
    KillTimer(nullptr, 1);
    UseScript("at 110ms key press VK_ESCAPE\n");
    MessageBoxA(g_owner, "x", "t", MB_OK);
    EXPECT_EQ(desktop::Desktop::Instance().Now(), 110u);
    UseScript("at 120ms key press VK_SPACE\n");
    MessageBoxA(g_owner, "x", "t", MB_OK);
    EXPECT_EQ(desktop::Desktop::Instance().Now(), 120u);

    // Clicks: a press on OK released elsewhere does nothing; a click on OK closes the box.
    // The box is centred on its owner; its OK button sits centred at its bottom.
    RECT box{};
    HWND found = nullptr;
    EnumWindows(
        [](HWND h, LPARAM out) -> BOOL {
            char cls[32];
            GetClassNameA(h, cls, sizeof cls);
            if (std::string(cls) == "BrimloxMessageBox") *reinterpret_cast<HWND*>(out) = h;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    EXPECT_EQ(found, nullptr) << "the box is gone after it closed";
    UseScript("at 130ms screenshot probe\n");
    desktop::Desktop::Instance().SetScreenshotHandler([&](const std::string&) {
        EnumWindows(
            [](HWND h, LPARAM out) -> BOOL {
                char cls[32];
                GetClassNameA(h, cls, sizeof cls);
                if (std::string(cls) == "BrimloxMessageBox") GetWindowRect(h, reinterpret_cast<RECT*>(out));
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&box));
    });
    MessageBoxA(g_owner, "x", "t", MB_OK);  // ends with the script, answered IDOK
    ASSERT_GT(box.right, box.left);
    EXPECT_EQ((box.left + box.right) / 2, 300) << "centred on the owner";
    int okX = (box.left + box.right) / 2, okY = box.bottom - 3 - 12 - 11;
    std::uint64_t start = desktop::Desktop::Instance().Now();
    auto at = [&](int ms) { return "at " + std::to_string(start + ms) + "ms "; };
    std::string ok = std::to_string(okX) + " " + std::to_string(okY) + "\n";
    UseScript(at(10) + "move " + ok + "down left\n" + at(20) + "move 5 5\nup left\n" + at(30) + "move " + ok +
              "click left\n");
    MessageBoxA(g_owner, "x", "t", MB_OK);
    EXPECT_EQ(desktop::Desktop::Instance().Now() - start, 30u);
    EXPECT_EQ(user::MessageBoxLog().size(), 5u);
    EXPECT_TRUE(user::MessageBoxLog().back().shown);
    DestroyWindow(g_owner);
}

TEST_F(MessageBoxTest, GoldenImageOfAnExclamationBox) {
    ShowDialogs();
    std::unique_ptr<Canvas> canvas;
    desktop::Desktop::Instance().SetScreenshotHandler([&](const std::string&) {
        RECT box{};
        EnumWindows(
            [](HWND h, LPARAM out) -> BOOL {
                char cls[32];
                GetClassNameA(h, cls, sizeof cls);
                if (std::string(cls) == "BrimloxMessageBox") GetWindowRect(h, reinterpret_cast<RECT*>(out));
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&box));
        canvas = std::make_unique<Canvas>(box.right - box.left, box.bottom - box.top);
        HDC screen = GetDC(nullptr);
        BitBlt(canvas->dc(), 0, 0, box.right - box.left, box.bottom - box.top, screen, box.left, box.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
    UseScript("at 10ms screenshot box\nat 20ms key press VK_RETURN\n");
    MessageBoxA(nullptr, "The picture is not an icon.\nOnly Icons are supported", "Brimlox", MB_OK | MB_ICONEXCLAMATION);
    ASSERT_TRUE(canvas);
    EXPECT_TRUE(MatchesGolden(canvas->surface(), "menus/message_box_exclamation"));
    canvas.reset();
}

}  // namespace
}  // namespace brimlox::test

// Message boxes with the standard button sets: the answers of each set, headless boxes with
// their default and queued answers, live boxes answered by clicks, keys, WM_CLOSE, the owner's
// destruction and the end of input, and a golden image of a Yes/No/Cancel box.
#include <memory>

#include "platform/desktop/desktop.h"
#include "platform/user/msgbox.h"
#include "user_test.h"

namespace brimlox::test {
namespace {

constexpr UINT kSets[] = {MB_OK, MB_OKCANCEL, MB_ABORTRETRYIGNORE, MB_YESNOCANCEL, MB_YESNO, MB_RETRYCANCEL};

HWND FindBoxWindow() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND h, LPARAM out) -> BOOL {
            char cls[32];
            GetClassNameA(h, cls, sizeof cls);
            if (std::string(cls) == "BrimloxMessageBox") *reinterpret_cast<HWND*>(out) = h;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

class MessageBoxButtonsTest : public UserTest {
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
    std::uint64_t Now() const { return desktop::Desktop::Instance().Now(); }
    // Runs a live box over `owner` with `steps`, one line each, 10 ms apart from now on.
    int Run(HWND owner, UINT type, const std::vector<std::string>& steps) {
        std::string script;
        start_ = Now();
        for (std::size_t i = 0; i < steps.size(); ++i)
            script += "at " + std::to_string(start_ + 10 * (i + 1)) + "ms " + steps[i] + "\n";
        UseScript(script);
        return MessageBoxA(owner, "Save changes to Form1?", "Designer", type);
    }
    // How long the last Run took until its box was answered.
    std::uint64_t Took() const { return Now() - start_; }
    // The screen rectangle a box of `type` takes over `owner`, seen while it runs.
    RECT BoxRect(HWND owner, UINT type) {
        RECT box{};
        desktop::Desktop::Instance().SetScreenshotHandler([&](const std::string&) { GetWindowRect(FindBoxWindow(), &box); });
        Run(owner, type, {"screenshot probe"});
        desktop::Desktop::Instance().SetScreenshotHandler(nullptr);
        return box;
    }

private:
    std::uint64_t start_ = 0;
};

TEST_F(MessageBoxButtonsTest, EachSetHasItsButtonsDefaultEscapeAndCloseAnswers) {
    using V = std::vector<int>;
    EXPECT_EQ(user::MessageBoxButtons(MB_OK), (V{IDOK}));
    EXPECT_EQ(user::MessageBoxButtons(MB_OKCANCEL | MB_ICONQUESTION), (V{IDOK, IDCANCEL}));
    EXPECT_EQ(user::MessageBoxButtons(MB_ABORTRETRYIGNORE), (V{IDABORT, IDRETRY, IDIGNORE}));
    EXPECT_EQ(user::MessageBoxButtons(MB_YESNOCANCEL | MB_DEFBUTTON2), (V{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(user::MessageBoxButtons(MB_YESNO), (V{IDYES, IDNO}));
    EXPECT_EQ(user::MessageBoxButtons(MB_RETRYCANCEL), (V{IDRETRY, IDCANCEL}));
    EXPECT_EQ(user::MessageBoxButtons(MB_CANCELTRYCONTINUE), (V{IDCANCEL, IDTRYAGAIN, IDCONTINUE}));
    EXPECT_EQ(user::MessageBoxButtons(0x0000000F), (V{IDOK})) << "an unknown set shows OK alone";

    EXPECT_EQ(user::MessageBoxDefaultAnswer(MB_YESNOCANCEL), IDYES);
    EXPECT_EQ(user::MessageBoxDefaultAnswer(MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(user::MessageBoxDefaultAnswer(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(user::MessageBoxDefaultAnswer(MB_YESNO | MB_DEFBUTTON3), IDYES) << "past the last button: the first";
    EXPECT_EQ(user::MessageBoxDefaultAnswer(MB_OK | MB_DEFBUTTON2), IDOK);
    EXPECT_EQ(user::MessageBoxDefaultButton(MB_ABORTRETRYIGNORE | MB_DEFBUTTON3), 2u);

    // Escape and WM_CLOSE: Cancel where there is one, OK when alone, else nothing.
    EXPECT_EQ(user::MessageBoxEscapeAnswer(MB_OK), IDOK);
    EXPECT_EQ(user::MessageBoxEscapeAnswer(MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(user::MessageBoxEscapeAnswer(MB_YESNOCANCEL | MB_DEFBUTTON2), IDCANCEL);
    EXPECT_EQ(user::MessageBoxEscapeAnswer(MB_RETRYCANCEL), IDCANCEL);
    EXPECT_EQ(user::MessageBoxEscapeAnswer(MB_YESNO), 0);
    EXPECT_EQ(user::MessageBoxEscapeAnswer(MB_ABORTRETRYIGNORE), 0);
    // Closed without a button: Cancel where there is one, else the default.
    EXPECT_EQ(user::MessageBoxCloseAnswer(MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(user::MessageBoxCloseAnswer(MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(user::MessageBoxCloseAnswer(MB_ABORTRETRYIGNORE | MB_DEFBUTTON3), IDIGNORE);
    EXPECT_EQ(user::MessageBoxCloseAnswer(MB_OK), IDOK);
}

TEST_F(MessageBoxButtonsTest, HeadlessBoxesAnswerTheirDefaultOrTheQueuedAnswers) {
    EXPECT_EQ(MessageBoxA(nullptr, "a", "t", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "b", "t", MB_YESNOCANCEL | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "c", "t", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "d", "t", MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
    EXPECT_EQ(MessageBoxA(nullptr, "e", "t", MB_RETRYCANCEL), IDRETRY);
    ASSERT_EQ(user::MessageBoxLog().size(), 5u);
    EXPECT_EQ(user::MessageBoxLog()[1].answer, IDYES);
    EXPECT_EQ(user::MessageBoxLog()[2].answer, IDCANCEL);

    // Queued answers go to the next boxes in order; one the box does not offer is refused.
    user::QueueMessageBoxAnswers({IDNO, IDCANCEL});
    user::QueueMessageBoxAnswers({IDABORT});
    EXPECT_EQ(MessageBoxA(nullptr, "f", "t", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "g", "t", MB_YESNO | MB_DEFBUTTON2), IDNO) << "Cancel refused: the default";
    EXPECT_EQ(MessageBoxA(nullptr, "h", "t", MB_ABORTRETRYIGNORE), IDABORT);
    EXPECT_EQ(MessageBoxA(nullptr, "i", "t", MB_YESNOCANCEL), IDYES) << "the queue is used up";
    const auto& log = user::MessageBoxLog();
    ASSERT_EQ(log.size(), 9u);
    EXPECT_EQ(log[5].answer, IDNO);
    EXPECT_EQ(log[5].refused, 0);
    EXPECT_EQ(log[6].answer, IDNO);
    EXPECT_EQ(log[6].refused, IDCANCEL);
    EXPECT_EQ(log[7].answer, IDABORT);
    EXPECT_EQ(log[8].refused, 0);

    // Clearing the log drops what is still queued.
    user::QueueMessageBoxAnswers({IDNO, IDNO});
    user::ClearMessageBoxLog();
    EXPECT_EQ(MessageBoxA(nullptr, "j", "t", MB_YESNO), IDYES);
    EXPECT_TRUE(user::MessageBoxLog().size() == 1u && user::MessageBoxLog()[0].refused == 0);

    // A box shown in a window leaves the queue to the next headless one.
    user::QueueMessageBoxAnswers({IDNO});
    ShowDialogs();
    EXPECT_EQ(Run(nullptr, MB_YESNOCANCEL, {"key press VK_RETURN"}), IDYES);
    auto s = desktop::Desktop::Instance().Settings();
    s.headlessDialogs = true;
    desktop::Desktop::Instance().Configure(s);
    EXPECT_EQ(MessageBoxA(nullptr, "k", "t", MB_YESNOCANCEL), IDNO);
}

// Takes the mouse capture away from a running box, as another window's SetCapture would.
HWND g_captureThief = nullptr;
void CALLBACK StealCapture(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    SetCapture(g_captureThief);
}

TEST_F(MessageBoxButtonsTest, EachSetAnswersTheClickedButtonAndItsCloseAnswerWhenInputEnds) {
    ShowDialogs();
    HWND owner = MakeTopLevel("owner", {100, 100, 700, 500});
    for (UINT type : kSets) {
        RECT box = BoxRect(owner, type);  // the script ends with the box up
        ASSERT_EQ(user::MessageBoxLog().back().answer, user::MessageBoxCloseAnswer(type)) << type;
        ASSERT_GT(box.right, box.left) << type;
        // The row of 75-pixel buttons, 6 apart, centred at the bottom of the box.
        auto answers = user::MessageBoxButtons(type);
        int n = static_cast<int>(answers.size());
        int left = (box.left + box.right - (n * 75 + (n - 1) * 6)) / 2, y = box.bottom - 3 - 12 - 11;
        auto centre = [&](int i) { return std::to_string(left + i * 81 + 37) + " " + std::to_string(y) + "\n"; };
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(Run(owner, type, {"move " + centre(i) + "click left"}), answers[i]) << type << " button " << i;
            EXPECT_EQ(Took(), 10u);
            EXPECT_EQ(user::MessageBoxLog().back().answer, answers[i]);
            EXPECT_TRUE(user::MessageBoxLog().back().shown);
        }
        if (n > 1) {
            // Pressed on the last button and released over the first: no answer, the box stays.
            EXPECT_EQ(Run(owner, type, {"move " + centre(n - 1) + "down left", "move " + centre(0) + "up left", "key press VK_RETURN"}),
                      answers[n - 1])
                << "the pressed button took the focus";
            EXPECT_EQ(Took(), 30u);
            // Between the buttons nothing answers.
            std::string gap = std::to_string(left + 77) + " " + std::to_string(y) + "\n";
            EXPECT_EQ(Run(owner, type, {"move " + gap + "click left", "key press VK_RETURN"}), answers[0]);
            EXPECT_EQ(Took(), 20u);
        }
        // A press that loses the capture ends unanswered; the keys work again at once.
        g_captureThief = owner;
        SetTimer(nullptr, 2, 15, StealCapture);
        EXPECT_EQ(Run(owner, type, {"move " + centre(n - 1) + "down left", "up left", "key press VK_RETURN"}), answers[n - 1]);
        EXPECT_EQ(Took(), 30u);
        ReleaseCapture();
    }
    DestroyWindow(owner);
}

TEST_F(MessageBoxButtonsTest, KeysMoveTheFocusAndAnswerAsWindowsDoes) {
    ShowDialogs();
    HWND owner = MakeTopLevel("owner", {100, 100, 700, 500});
    struct Case {
        UINT type;
        std::vector<std::string> steps;
        int answer;
        std::uint64_t took;
    };
    const std::string altDown = "key down VK_MENU", altUp = "key up VK_MENU";
    const Case cases[] = {
        {MB_YESNOCANCEL, {"key press VK_RETURN"}, IDYES, 10},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, {"key press VK_RETURN"}, IDNO, 10},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, {"key press VK_SPACE"}, IDCANCEL, 10},
        {MB_YESNOCANCEL, {"key press VK_TAB", "key press VK_RETURN"}, IDNO, 20},
        {MB_YESNOCANCEL, {"key press VK_RIGHT", "key press VK_RIGHT", "key press VK_RIGHT", "key press VK_RETURN"}, IDYES, 40},
        {MB_YESNOCANCEL, {"key press VK_LEFT", "key press VK_RETURN"}, IDCANCEL, 20},
        {MB_YESNOCANCEL, {"key press VK_DOWN", "key press VK_SPACE"}, IDNO, 20},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, {"key press VK_UP", "key press VK_RETURN"}, IDNO, 20},
        {MB_YESNOCANCEL, {"key down VK_SHIFT", "key press VK_TAB", "key up VK_SHIFT", "key press VK_RETURN"}, IDCANCEL, 40},
        {MB_YESNOCANCEL, {"key press VK_ESCAPE"}, IDCANCEL, 10},
        {MB_YESNOCANCEL, {"key press N"}, IDNO, 10},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, {"key press Y"}, IDYES, 10},
        {MB_YESNOCANCEL, {altDown, "key press N", altUp}, IDNO, 20},
        {MB_YESNOCANCEL, {"key press C", "key press O", "key press VK_TAB", "key press VK_RETURN"}, IDNO, 40},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, {altDown, "key press VK_F4", altUp}, IDCANCEL, 20},
        // Yes/No and Abort/Retry/Ignore have no Cancel: Escape and Alt+F4 leave the box up.
        {MB_YESNO, {"key press VK_ESCAPE", altDown, "key press VK_F4", altUp, "key press N"}, IDNO, 50},
        {MB_YESNO | MB_DEFBUTTON2, {"key press VK_RETURN"}, IDNO, 10},
        {MB_ABORTRETRYIGNORE, {"key press VK_ESCAPE", "key press I"}, IDIGNORE, 20},
        {MB_ABORTRETRYIGNORE, {"key press R"}, IDRETRY, 10},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, {"key press A"}, IDABORT, 10},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, {"key press VK_RETURN"}, IDIGNORE, 10},
        {MB_OKCANCEL, {"key press VK_ESCAPE"}, IDCANCEL, 10},
        {MB_OKCANCEL, {"key press VK_TAB", "key press VK_SPACE"}, IDCANCEL, 20},
        {MB_RETRYCANCEL, {"key press R"}, IDRETRY, 10},
        {MB_RETRYCANCEL, {"key press VK_ESCAPE"}, IDCANCEL, 10},
        {MB_OK, {"key press VK_ESCAPE"}, IDOK, 10},
    };
    for (const Case& c : cases) {
        std::string what = std::to_string(c.type) + ": " + c.steps.front() + " ...";
        EXPECT_EQ(Run(owner, c.type, c.steps), c.answer) << what;
        EXPECT_EQ(Took(), c.took) << what;
        EXPECT_EQ(FindBoxWindow(), nullptr) << what;
        // A box answered while Alt is down leaves its release unread: release it here.
        UseScript("at " + std::to_string(Now() + 1) + "ms key up VK_MENU\n");
        RunLoop();
    }
    // With no key to answer, the input ends with the box up: Cancel, or the default without one.
    EXPECT_EQ(Run(owner, MB_YESNO | MB_DEFBUTTON2, {"key press VK_ESCAPE"}), IDNO);
    EXPECT_EQ(Run(owner, MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, {"key press VK_ESCAPE"}), IDRETRY);
    EXPECT_EQ(Run(owner, MB_RETRYCANCEL, {"key press VK_TAB"}), IDCANCEL);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

// Destroys the owner of the running box from a timer, as a program's own code might.
HWND g_doomedOwner = nullptr;
void CALLBACK DestroyOwner(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    DestroyWindow(g_doomedOwner);
}

TEST_F(MessageBoxButtonsTest, DestroyingTheOwnerClosesTheBoxWithItsCloseAnswer) {
    ShowDialogs();
    for (UINT type : {MB_YESNOCANCEL, MB_YESNO | MB_DEFBUTTON2, MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, MB_OK}) {
        g_doomedOwner = MakeTopLevel("owner", {100, 100, 700, 500});
        SetTimer(nullptr, 1, 15, DestroyOwner);
        EXPECT_EQ(Run(g_doomedOwner, type, {"key press X", "key press VK_ESCAPE", "key press VK_ESCAPE"}),
                  user::MessageBoxCloseAnswer(type))
            << type;
        EXPECT_EQ(Took(), 15u) << type;
        EXPECT_FALSE(IsWindow(g_doomedOwner));
        EXPECT_EQ(FindBoxWindow(), nullptr);
    }
}

TEST_F(MessageBoxButtonsTest, GoldenImageOfAYesNoCancelQuestion) {
    ShowDialogs();
    std::unique_ptr<Canvas> canvas;
    desktop::Desktop::Instance().SetScreenshotHandler([&](const std::string&) {
        RECT box{};
        GetWindowRect(FindBoxWindow(), &box);
        canvas = std::make_unique<Canvas>(box.right - box.left, box.bottom - box.top);
        HDC screen = GetDC(nullptr);
        BitBlt(canvas->dc(), 0, 0, box.right - box.left, box.bottom - box.top, screen, box.left, box.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
    // The focus moved to No by Tab: No is framed as the default, Yes is a plain button.
    EXPECT_EQ(Run(nullptr, MB_YESNOCANCEL | MB_ICONQUESTION, {"key press VK_TAB", "screenshot box", "key press VK_ESCAPE"}),
              IDCANCEL);
    ASSERT_TRUE(canvas);
    EXPECT_TRUE(MatchesGolden(canvas->surface(), "menus/message_box_yes_no_cancel"));
    canvas.reset();
}

}  // namespace
}  // namespace brimlox::test

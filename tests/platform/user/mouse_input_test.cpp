// Mouse input on the virtual clock: message order for press, move, release and double click,
// parameter packing, capture, disabled windows, activation and SetCursorPos.
#include "user_test.h"

namespace brimlox::test {
namespace {

using MouseInputTest = UserTest;

std::vector<std::string> MouseLog() {
    return Filtered(MessageLog(), {"WM_MOUSEMOVE", "WM_LBUTTONDOWN", "WM_LBUTTONUP", "WM_LBUTTONDBLCLK",
                                   "WM_RBUTTONDOWN", "WM_RBUTTONUP", "WM_RBUTTONDBLCLK", "WM_CAPTURECHANGED"});
}

TEST_F(MouseInputTest, PressMoveReleaseAndDoubleClickArriveInOrderWithClientCoordinates) {
    HWND top = MakeTopLevel("top", {100, 100, 300, 300});
    HWND kid = MakeChild(top, "kid", {10, 10, 60, 60});
    UseScript(
        "at 10ms move 115 120\n"
        "down left\n"
        "at 20ms move 116 121\n"
        "at 30ms up left\n"
        "at 200ms down left\n"   // within 500 ms and 2 pixels: a double click
        "up left\n"
        "at 300ms down left\n"   // a third press starts a new click
        "up left\n"
        "at 2000ms click right\n"
        "at 2400ms click right\n");
    MSG end = RunLoop();
    EXPECT_EQ(end.message, WM_QUIT);
    EXPECT_EQ(MouseLog(), (std::vector<std::string>{
                              "kid:WM_MOUSEMOVE(5,10)", "kid:WM_LBUTTONDOWN(5,10)", "kid:WM_MOUSEMOVE(6,11)",
                              "kid:WM_LBUTTONUP(6,11)", "kid:WM_LBUTTONDBLCLK(6,11)", "kid:WM_LBUTTONUP(6,11)",
                              "kid:WM_LBUTTONDOWN(6,11)", "kid:WM_LBUTTONUP(6,11)", "kid:WM_RBUTTONDOWN(6,11)",
                              "kid:WM_RBUTTONUP(6,11)", "kid:WM_RBUTTONDBLCLK(6,11)", "kid:WM_RBUTTONUP(6,11)"}));
    (void)kid;
    DestroyWindow(top);
}

TEST_F(MouseInputTest, DoubleClicksNeedTheClassStyleTheTimeAndTheDistance) {
    HWND plain = MakeTopLevel("plain", {0, 0, 100, 100}, PlainRecorderClass());
    HWND dbl = MakeTopLevel("dbl", {200, 0, 300, 100});
    UseScript(
        "move 10 10\nclick left\nat 100ms click left\n"          // no CS_DBLCLKS: two presses
        "at 1000ms move 210 10\nclick left\nat 1501ms click left\n"  // 501 ms: too late
        "at 3000ms click left\nat 3100ms move 213 10\nclick left\n"  // 3 pixels: too far
        "at 5000ms click left\nat 5500ms move 212 12\nclick left\n");  // 500 ms and 2 pixels: double
    RunLoop();
    std::vector<std::string> downs = Filtered(MessageLog(), {"WM_LBUTTONDOWN", "WM_LBUTTONDBLCLK"});
    EXPECT_EQ(downs, (std::vector<std::string>{"plain:WM_LBUTTONDOWN(10,10)", "plain:WM_LBUTTONDOWN(10,10)",
                                               "dbl:WM_LBUTTONDOWN(10,10)", "dbl:WM_LBUTTONDOWN(10,10)",
                                               "dbl:WM_LBUTTONDOWN(10,10)", "dbl:WM_LBUTTONDOWN(13,10)",
                                               "dbl:WM_LBUTTONDOWN(13,10)", "dbl:WM_LBUTTONDBLCLK(12,12)"}));
    DestroyWindow(plain);
    DestroyWindow(dbl);
}

// A window that captures the mouse on a press and lets go on the release, like the host does.
LRESULT CALLBACK CapturingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_CAPTURECHANGED)
        MessageLog().push_back("cap:" + Describe(msg, wParam, lParam) + " mk=" + std::to_string(wParam));
    if (msg == WM_LBUTTONDOWN) SetCapture(hwnd);
    if (msg == WM_LBUTTONUP) ReleaseCapture();
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST_F(MouseInputTest, CaptureKeepsMovesAndTheReleaseOutsideWithSignedCoordinates) {
    WNDCLASSA wc;
    wc.lpfnWndProc = CapturingProc;
    wc.lpszClassName = "Capturing";
    RegisterClassA(&wc);
    HWND top = MakeTopLevel("top", {0, 0, 400, 400});
    HWND cap = MakeChild(top, "cap", {100, 100, 150, 150}, "Capturing");
    HWND other = MakeChild(top, "other", {200, 200, 300, 300});
    UseScript("move 110 110\ndown left\nat 10ms move 20 5\nat 20ms move 250 250\nat 30ms up left\n"
              "at 40ms move 251 251\n");
    RunLoop();
    std::vector<std::string> expected{"cap:WM_MOUSEMOVE(10,10) mk=0",   "cap:WM_LBUTTONDOWN(10,10) mk=1",
                                      "cap:WM_MOUSEMOVE(-80,-95) mk=1", "cap:WM_MOUSEMOVE(150,150) mk=1",
                                      "cap:WM_LBUTTONUP(150,150) mk=0", "cap:WM_CAPTURECHANGED mk=0"};
    std::vector<std::string> capLog;
    for (auto& e : MessageLog())
        if (e.rfind("cap:", 0) == 0) capLog.push_back(e);
    EXPECT_EQ(capLog, expected);
    EXPECT_EQ(Filtered(MessageLog(), {"WM_MOUSEMOVE"}).back(), "other:WM_MOUSEMOVE(51,51)");
    EXPECT_EQ(GetCapture(), nullptr);

    // Capture changes tell the loser, with the new capture window in lParam (checked against
    // Windows); releasing twice is harmless.
    MessageLog().clear();
    SetCapture(cap);
    SetCapture(other);
    EXPECT_EQ(GetCapture(), other);
    ReleaseCapture();
    ReleaseCapture();
    EXPECT_EQ(Filtered(MessageLog(), {"WM_CAPTURECHANGED"}), (std::vector<std::string>{"other:WM_CAPTURECHANGED"}));
    EXPECT_EQ(MessageLog().front(), "cap:WM_CAPTURECHANGED mk=0");
    // A dying window drops its capture without crashing anyone.
    SetCapture(other);
    DestroyWindow(other);
    EXPECT_EQ(GetCapture(), nullptr);
    DestroyWindow(top);
}

TEST_F(MouseInputTest, DisabledWindowsGetNoInputAndPostedClicksArriveLikeRealOnes) {
    HWND top = MakeTopLevel("top", {0, 0, 100, 100});
    HWND kid = MakeChild(top, "kid", {10, 10, 50, 50});
    EnableWindow(kid, FALSE);
    UseScript("move 20 20\nclick left\nat 10ms key press A\n");
    SetFocus(kid);
    EXPECT_EQ(GetFocus(), top) << "a disabled window cannot take the focus";
    RunLoop();
    // Over a disabled child the press belongs to the parent (checked against Windows).
    EXPECT_EQ(Filtered(MessageLog(), {"WM_LBUTTONDOWN", "WM_MOUSEMOVE"}),
              (std::vector<std::string>{"top:WM_MOUSEMOVE(20,20)", "top:WM_LBUTTONDOWN(20,20)"}));
    for (auto& e : MessageLog()) EXPECT_NE(e.rfind("kid:WM_L", 0), 0u) << e;
    EnableWindow(top, FALSE);
    MessageLog().clear();
    UseScript("move 30 30\nclick left\nkey press B\n");
    RunLoop();
    EXPECT_TRUE(Filtered(MessageLog(), {"WM_LBUTTONDOWN", "WM_MOUSEMOVE", "WM_KEYDOWN"}).empty());

    EnableWindow(top, TRUE);
    EnableWindow(kid, TRUE);
    MessageLog().clear();
    PostMessageA(kid, WM_LBUTTONDOWN, 0, 0);
    PostMessageA(kid, WM_LBUTTONUP, 0, 0);
    RunLoop();
    EXPECT_EQ(Filtered(MessageLog(), {"WM_LBUTTONDOWN", "WM_LBUTTONUP"}),
              (std::vector<std::string>{"kid:WM_LBUTTONDOWN(0,0)", "kid:WM_LBUTTONUP(0,0)"}));
    DestroyWindow(top);
}

TEST_F(MouseInputTest, TheInputSourceTellsPressesMadeWithTheMouseFromPostedOnes) {
    HWND top = MakeTopLevel("top", {0, 0, 100, 100});
    UpdateWindow(top);
    UseScript("move 20 20\nat 10ms click left\nat 20ms key press A\n");
    PostMessageA(top, WM_LBUTTONDOWN, 0, 0);
    std::vector<std::string> seen;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        INPUT_MESSAGE_SOURCE source;
        ASSERT_TRUE(GetCurrentInputMessageSource(&source));
        if (msg.message == WM_LBUTTONDOWN || msg.message == WM_KEYDOWN || msg.message == WM_MOUSEMOVE) {
            seen.push_back(Describe(msg.message, msg.wParam, msg.lParam) + " " + std::to_string(source.deviceType) + "/" +
                           std::to_string(source.originId));
            // A look that takes nothing leaves the answer for the message being handled.
            MSG peek;
            PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE);
            INPUT_MESSAGE_SOURCE again;
            GetCurrentInputMessageSource(&again);
            EXPECT_EQ(again.deviceType, source.deviceType);
        }
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"WM_LBUTTONDOWN(0,0) 0/0", "WM_MOUSEMOVE(20,20) 2/1",
                                              "WM_LBUTTONDOWN(20,20) 2/1", "WM_KEYDOWN(65) 1/1"}));
    EXPECT_FALSE(GetCurrentInputMessageSource(nullptr));
    DestroyWindow(top);
}

TEST_F(MouseInputTest, SetCursorPosMovesAtOnceAndSendsTheMoveThroughTheQueue) {
    HWND top = MakeTopLevel("top", {0, 0, 100, 100});
    SetCursorPos(40, 50);
    POINT p;
    GetCursorPos(&p);
    EXPECT_EQ(p, (POINT{40, 50}));
    RunLoop();
    EXPECT_EQ(Filtered(MessageLog(), {"WM_MOUSEMOVE"}), (std::vector<std::string>{"top:WM_MOUSEMOVE(40,50)"}));
    EXPECT_EQ(Filtered(MessageLog(), {"WM_SETCURSOR"}).size(), 1u);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW)) << "DefWindowProc sets the class cursor";
    SetCursorPos(-5, 100000);
    GetCursorPos(&p);
    EXPECT_EQ(p, (POINT{0, 767})) << "the pointer stays on the screen";
    DestroyWindow(top);
}

TEST_F(MouseInputTest, ClickingActivatesAndRaisesTopLevelWindows) {
    HWND a = MakeTopLevel("a", {0, 0, 100, 100});
    HWND b = MakeTopLevel("b", {50, 50, 150, 150});
    EXPECT_EQ(GetActiveWindow(), b);
    UseScript("move 10 10\nclick left\n");
    RunLoop();
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(GetForegroundWindow(), a);
    EXPECT_EQ(GetTopWindow(nullptr), a);
    EXPECT_EQ(GetFocus(), a);
    DestroyWindow(a);
    EXPECT_EQ(GetActiveWindow(), b) << "the next window takes over";
    DestroyWindow(b);
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

// A parent that destroys the child under the pointer when the child asks it for the cursor,
// and leaves the choice to the child.
WNDPROC g_recorderProc = nullptr;
LRESULT CALLBACK DestroysChildOnSetCursor(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) != hwnd) {
        DestroyWindow(reinterpret_cast<HWND>(wParam));
        return FALSE;
    }
    return CallWindowProcA(g_recorderProc, hwnd, msg, wParam, lParam);
}

TEST_F(MouseInputTest, AChildDestroyedWhileItsCursorIsChosenGetsNoMoveAndThePointerGoesOn) {
    HWND top = MakeTopLevel("top", {0, 0, 200, 200});
    // A bordered child, pointed at on its border: the cursor is asked for a frame hit code.
    HWND kid = CreateWindowExA(0, RecorderClass(), "kid", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 50, 50, top,
                               nullptr, nullptr, nullptr);
    g_recorderProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DestroysChildOnSetCursor)));
    UseScript("move 10 10\nat 10ms move 100 100\n");
    RunLoop();
    EXPECT_FALSE(IsWindow(kid));
    EXPECT_EQ(Filtered(MessageLog(), {"WM_MOUSEMOVE", "WM_NCMOUSEMOVE"}),
              (std::vector<std::string>{"top:WM_MOUSEMOVE(100,100)"}))
        << "the move over the destroyed child is dropped; the next one reaches the parent";
    EXPECT_EQ(Filtered(MessageLog(), {"WM_SETCURSOR"}), (std::vector<std::string>{"kid:WM_SETCURSOR", "top:WM_SETCURSOR"}));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
    DestroyWindow(top);
}

}  // namespace
}  // namespace brimlox::test

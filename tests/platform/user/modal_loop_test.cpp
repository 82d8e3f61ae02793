// A modal GetMessage loop inside a handler, driven by scripted input on the virtual clock: it
// keeps other windows painting, passes WM_QUIT on, and survives its window being destroyed.
#include "platform/user/window_tracker.h"
#include "user_test.h"

namespace brimlox::test {
namespace {

using ModalLoopTest = UserTest;

struct DragRecord {
    std::vector<std::string> log;
    HWND victim = nullptr;  // destroyed by a timer during the loop, if set
    HWND repaint = nullptr;  // otherwise invalidated by that timer
    bool quitSeen = false;
};
DragRecord g_drag;

// A splitter-like drag: capture, then fetch messages until the release, dispatching the rest.
LRESULT CALLBACK DragProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_LBUTTONDOWN) return DefWindowProcA(hwnd, msg, wParam, lParam);
    user::WindowTracker self(hwnd);
    SetCapture(hwnd);
    g_drag.log.push_back("drag start @" + std::to_string(timeGetTime()));
    MSG m;
    while (user::GetModalMessage(&m)) {
        if (!self.Alive() || GetCapture() != hwnd) {
            g_drag.log.push_back("lost the window or the capture");
            break;
        }
        if (m.message == WM_MOUSEMOVE && m.hwnd == hwnd) {
            g_drag.log.push_back("move " + std::to_string(GET_X_LPARAM(m.lParam)) + " @" + std::to_string(m.time));
        } else if (m.message == WM_LBUTTONUP) {
            g_drag.log.push_back("release @" + std::to_string(m.time));
            break;
        } else {
            DispatchMessageA(&m);
        }
    }
    if (m.message == WM_QUIT) g_drag.quitSeen = true;
    if (self.Alive() && GetCapture() == hwnd) ReleaseCapture();
    return 0;
}

void CALLBACK DuringDrag(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_drag.victim) {
        DestroyWindow(g_drag.victim);
        PostMessageA(nullptr, WM_NULL, 0, 0);  // wakes the loop so it notices
    } else {
        InvalidateRect(g_drag.repaint, nullptr, TRUE);
    }
}

HWND MakeDragWindow(HWND parent) {
    WNDCLASSA wc;
    if (!GetClassInfoA(nullptr, "Drag", &wc)) {
        wc.lpfnWndProc = DragProc;
        wc.lpszClassName = "Drag";
        RegisterClassA(&wc);
    }
    return CreateWindowExA(0, "Drag", "drag", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent, nullptr, nullptr, nullptr);
}

TEST_F(ModalLoopTest, ADragLoopRunsOnScriptedInputAndLetsOtherWindowsPaint) {
    g_drag = DragRecord{};
    HWND form = MakeTopLevel("form", {0, 0, 100, 100});
    HWND drag = MakeDragWindow(form);
    HWND other = MakeTopLevel("other", {300, 0, 400, 100});
    g_drag.repaint = other;
    RunLoop();
    SetTimer(nullptr, 0, 150, DuringDrag);  // invalidates "other" halfway through the drag
    MessageLog().clear();
    UseScript("at 100ms move 10 10\ndown left\nat 140ms move 30 10\nat 200ms move 60 12\nat 300ms up left\n"
              "at 400ms move 70 10\n");
    MSG end = RunLoop();
    EXPECT_EQ(end.lParam, user::kEndOfInput);
    EXPECT_EQ(g_drag.log, (std::vector<std::string>{"drag start @100", "move 30 @140", "move 60 @200", "release @300"}));
    EXPECT_EQ(Filtered(MessageLog(), {"WM_PAINT"}), (std::vector<std::string>{"other:WM_PAINT"}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Filtered(MessageLog(), {"WM_MOUSEMOVE"}).back(), "form:WM_MOUSEMOVE(70,10)");
    (void)drag;
    DestroyWindow(form);
    DestroyWindow(other);
}

TEST_F(ModalLoopTest, QuitInsideTheLoopIsPassedOnToTheOuterLoop) {
    g_drag = DragRecord{};
    HWND form = MakeTopLevel("form", {0, 0, 100, 100});
    MakeDragWindow(form);
    UseScript("move 10 10\ndown left\nat 100ms quit\nat 200ms up left\n");
    MSG end = RunLoop();
    EXPECT_TRUE(g_drag.quitSeen);
    EXPECT_EQ(end.message, WM_QUIT);
    EXPECT_EQ(end.lParam, 0) << "the outer loop saw the re-posted quit, not the end of input";
    DestroyWindow(form);
}

TEST_F(ModalLoopTest, TheLoopEndsSafelyWhenItsWindowIsDestroyed) {
    g_drag = DragRecord{};
    HWND form = MakeTopLevel("form", {0, 0, 100, 100});
    HWND drag = MakeDragWindow(form);
    g_drag.victim = form;  // the whole form goes, the drag window with it
    SetTimer(nullptr, 0, 150, DuringDrag);
    UseScript("at 100ms move 10 10\ndown left\nat 200ms move 20 20\nat 300ms up left\n");
    RunLoop();
    EXPECT_FALSE(IsWindow(drag));
    ASSERT_GE(g_drag.log.size(), 2u);
    EXPECT_EQ(g_drag.log.back(), "lost the window or the capture");
    EXPECT_EQ(GetCapture(), nullptr);
}

// A procedure that destroys its own window while handling a message, and a parent destroyed
// from a child's handler: no access to freed objects, no leaked handles.
LRESULT CALLBACK SelfDestructProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_LBUTTONDOWN) {
        user::WindowTracker t(hwnd);
        HWND parent = GetParent(hwnd);
        DestroyWindow(parent ? parent : hwnd);
        EXPECT_FALSE(t.Alive());
        EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 0);
        return 0;
    }
    if (msg == WM_DESTROY) DestroyWindow(hwnd);  // destroying again while going is harmless
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST_F(ModalLoopTest, ProceduresMayDestroyTheirOwnWindowOrTheirParent) {
    WNDCLASSA wc;
    wc.lpfnWndProc = SelfDestructProc;
    wc.lpszClassName = "SelfDestruct";
    RegisterClassA(&wc);
    HWND lone = CreateWindowExA(0, "SelfDestruct", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                nullptr);
    HWND form = MakeTopLevel("form", {100, 0, 200, 100});
    CreateWindowExA(0, "SelfDestruct", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, form, nullptr, nullptr, nullptr);
    PostMessageA(form, WM_USER, 0, 0);
    UseScript("move 10 10\nclick left\nmove 110 10\nclick left\n");
    RunLoop();
    EXPECT_FALSE(IsWindow(lone));
    EXPECT_FALSE(IsWindow(form));
}

}  // namespace
}  // namespace brimlox::test

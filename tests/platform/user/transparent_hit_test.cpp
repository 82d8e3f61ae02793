// Windows that answer WM_NCHITTEST with HTTRANSPARENT let the mouse through to the window
// beneath them: the next sibling below that holds the point (and its children), else the
// parent; a transparent top-level window passes it to the next top-level window.
#include "user_test.h"

namespace brimlox::test {
namespace {

using TransparentHitTest = UserTest;

// A recorder that lets every point through.
LRESULT CALLBACK SeeThroughProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    if (msg == WM_LBUTTONDOWN || msg == WM_MOUSEMOVE) {
        char text[64] = {};
        DefWindowProcA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        MessageLog().push_back(std::string(text) + ":" + Describe(msg, wParam, lParam));
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

const char* SeeThroughClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = SeeThroughProc;
        wc.lpszClassName = "SeeThrough";
        RegisterClassA(&wc);
        registered = true;
    }
    return "SeeThrough";
}

std::vector<std::string> Presses() { return Filtered(MessageLog(), {"WM_LBUTTONDOWN"}); }

TEST_F(TransparentHitTest, TheMouseGoesToTheSiblingBeneathThenTheParent) {
    HWND top = MakeTopLevel("top", {0, 0, 400, 300});
    // z-order, topmost first: glass (transparent) over low; glass holds a transparent pane
    // and an opaque knob; off is a disabled sibling beneath glass elsewhere.
    HWND low = MakeChild(top, "low", {50, 50, 150, 150});
    HWND off = MakeChild(top, "off", {200, 50, 300, 150});
    EnableWindow(off, FALSE);
    HWND glass = MakeChild(top, "glass", {0, 0, 350, 250}, SeeThroughClass());
    HWND pane = MakeChild(glass, "pane", {40, 40, 120, 120}, SeeThroughClass());
    HWND knob = MakeChild(glass, "knob", {300, 200, 340, 240});
    (void)low, (void)pane, (void)knob;
    UseScript(
        "move 100 100\nclick left\n"   // glass > pane over low: low has it
        "at 10ms move 20 20\nclick left\n"    // glass only: the parent
        "at 20ms move 310 210\nclick left\n"  // the opaque knob inside glass keeps it
        "at 30ms move 250 100\nclick left\n"  // glass over the disabled sibling: the parent
        "at 40ms move 380 280\nclick left\n");  // outside glass: the parent as always
    RunLoop();
    EXPECT_EQ(Presses(), (std::vector<std::string>{"low:WM_LBUTTONDOWN(50,50)", "top:WM_LBUTTONDOWN(20,20)",
                                                   "knob:WM_LBUTTONDOWN(10,10)", "top:WM_LBUTTONDOWN(250,100)",
                                                   "top:WM_LBUTTONDOWN(380,280)"}));
    // The transparent windows never saw a mouse message.
    for (const std::string& entry : MessageLog()) {
        EXPECT_NE(entry.rfind("glass:", 0), 0u) << entry;
        EXPECT_NE(entry.rfind("pane:", 0), 0u) << entry;
    }
    DestroyWindow(top);
}

// A window beneath that captures on the press keeps the moves over the transparent window.
LRESULT CALLBACK GrabbingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_LBUTTONDOWN) SetCapture(hwnd);
    if (msg == WM_LBUTTONUP) ReleaseCapture();
    if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP)
        MessageLog().push_back("grab:" + Describe(msg, wParam, lParam));
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST_F(TransparentHitTest, CaptureAndTopLevelWindowsFollowTheSameRule) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = GrabbingProc;
    wc.lpszClassName = "Grabbing";
    RegisterClassA(&wc);
    HWND back = MakeTopLevel("back", {0, 0, 300, 300});
    HWND grab = MakeChild(back, "grab", {0, 0, 300, 300}, "Grabbing");
    // A transparent top-level window over the other one.
    HWND veil = CreateWindowExA(0, SeeThroughClass(), "veil", WS_POPUP | WS_VISIBLE, 100, 100, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
    UseScript("move 150 150\ndown left\nat 10ms move 160 170\nat 20ms up left\n");
    RunLoop();
    EXPECT_EQ(Filtered(MessageLog(), {"WM_MOUSEMOVE", "WM_LBUTTONDOWN", "WM_LBUTTONUP"}),
              (std::vector<std::string>{"grab:WM_MOUSEMOVE(150,150)", "grab:WM_LBUTTONDOWN(150,150)",
                                                      "grab:WM_MOUSEMOVE(160,170)", "grab:WM_LBUTTONUP(160,170)"}));
    (void)grab;
    DestroyWindow(veil);
    DestroyWindow(back);
}

}  // namespace
}  // namespace brimlox::test

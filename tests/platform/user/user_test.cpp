#include "user_test.h"

#include "platform/user/frame.h"

#include "platform/desktop/input_script.h"
#include "platform/gdi/gdi.h"

namespace brimlox::test {

void UserTest::SetUp() {
    user::ResetUserState();
    desktop::Desktop::Instance().Reset();
    GdiTest::SetUp();
    MessageLog().clear();
    windows_ = user::LiveWindowCount();
    hooks_ = user::LiveHookCount();
    icons_ = user::LiveIconCount();
}

void UserTest::TearDown() {
    EXPECT_EQ(user::LiveWindowCount(), windows_) << "the test leaked windows";
    EXPECT_EQ(user::LiveHookCount(), hooks_) << "the test leaked hooks";
    EXPECT_EQ(user::LiveIconCount(), icons_) << "the test leaked icons";
    user::ResetUserState();
    GdiTest::TearDown();
    desktop::Desktop::Instance().Reset();
}

void UserTest::UseScript(const std::string& script) {
    desktop::InputScript parsed;
    std::string error;
    ASSERT_TRUE(desktop::ParseInputScript(script, parsed, error)) << error;
    desktop::Desktop::Instance().SetInputSource(
        std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), parsed.endTime));
}

MSG UserTest::RunLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return msg;
}

std::vector<std::string>& MessageLog() {
    static std::vector<std::string> log;
    return log;
}

std::string Describe(UINT msg, WPARAM wParam, LPARAM lParam) {
    static const std::pair<UINT, const char*> kNames[] = {
        {WM_CREATE, "WM_CREATE"}, {WM_DESTROY, "WM_DESTROY"}, {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_PAINT, "WM_PAINT"}, {WM_ERASEBKGND, "WM_ERASEBKGND"}, {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"}, {WM_ACTIVATE, "WM_ACTIVATE"}, {WM_SETCURSOR, "WM_SETCURSOR"},
        {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"}, {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_TIMER, "WM_TIMER"}, {WM_KEYDOWN, "WM_KEYDOWN"}, {WM_KEYUP, "WM_KEYUP"}, {WM_CHAR, "WM_CHAR"},
        {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"}, {WM_SYSKEYUP, "WM_SYSKEYUP"}, {WM_SYSCHAR, "WM_SYSCHAR"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"}, {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}, {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"}, {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
        {WM_RBUTTONUP, "WM_RBUTTONUP"}, {WM_RBUTTONDBLCLK, "WM_RBUTTONDBLCLK"},
        {WM_MBUTTONDOWN, "WM_MBUTTONDOWN"}, {WM_MBUTTONUP, "WM_MBUTTONUP"}, {WM_SIZE, "WM_SIZE"},
        {WM_MOVE, "WM_MOVE"}, {WM_SHOWWINDOW, "WM_SHOWWINDOW"}, {WM_USER, "WM_USER"}};
    std::string name = "0x" + std::to_string(msg);
    for (auto& [id, n] : kNames)
        if (id == msg) name = n;
    if (msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK)
        name += "(" + std::to_string(GET_X_LPARAM(lParam)) + "," + std::to_string(GET_Y_LPARAM(lParam)) + ")";
    if (msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP || msg == WM_CHAR ||
        msg == WM_SYSCHAR || msg == WM_TIMER)
        name += "(" + std::to_string(wParam) + ")";
    return name;
}

std::vector<std::string> Filtered(const std::vector<std::string>& log, const std::vector<std::string>& names) {
    std::vector<std::string> out;
    for (const std::string& e : log) {
        std::string msg = e.substr(e.find(':') + 1);
        msg = msg.substr(0, msg.find('('));
        for (const std::string& n : names)
            if (msg == n) out.push_back(e);
    }
    return out;
}

namespace {

LRESULT RecorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    char text[64] = {};
    // Read the text directly: WM_GETTEXT through the procedure would log itself.
    DefWindowProcA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    // Non-client bookkeeping is left out; the frame tests look at it themselves.
    if (msg != WM_GETTEXT && msg != WM_GETTEXTLENGTH && msg != WM_NCCREATE && msg != WM_NCACTIVATE &&
        msg != WM_NCCALCSIZE && msg != WM_NCPAINT)
        MessageLog().push_back(std::string(text) + ":" + Describe(msg, wParam, lParam));
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

const char* Register(const char* name, UINT style) {
    WNDCLASSA wc;
    if (!GetClassInfoA(nullptr, name, &wc)) {
        wc.style = style;
        wc.lpfnWndProc = RecorderProc;
        wc.cbWndExtra = 16;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
    return name;
}

}  // namespace

const char* RecorderClass() { return Register("Recorder", CS_DBLCLKS); }
const char* PlainRecorderClass() { return Register("PlainRecorder", 0); }

HWND MakeTopLevel(const char* name, RECT r, const char* cls) {
    return CreateWindowExA(0, cls ? cls : RecorderClass(), name, WS_POPUP | WS_VISIBLE, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
}

HWND MakeChild(HWND parent, const char* name, RECT r, const char* cls) {
    return CreateWindowExA(0, cls ? cls : RecorderClass(), name, WS_CHILD | WS_VISIBLE, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, parent, nullptr, nullptr, nullptr);
}

}  // namespace brimlox::test

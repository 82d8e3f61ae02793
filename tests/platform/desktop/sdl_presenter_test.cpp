// The live presenter under a real display (run by hand with xvfb-run -a, SDL_VIDEODRIVER=x11):
// a click pushed through SDL reaches the window under it, and the window shows the screen.
#include <SDL2/SDL.h>

#include <chrono>
#include <cstdlib>

#include "platform/desktop/sdl_presenter.h"
#include "platform/gdi/png.h"
#include "platform/user/user_test.h"

namespace brimlox::test {
namespace {

using SdlPresenterTest = UserTest;

TEST_F(SdlPresenterTest, OpensReceivesAClickAndShowsTheScreen) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no display (run under xvfb-run -a)";
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && std::string(driver) == "dummy") GTEST_SKIP() << "SDL's dummy video driver has no window";
    desktop::Desktop::Instance().Configure(desktop::DesktopSettings{320, 200, 15});
    desktop::Desktop::Instance().UseRealClock();
    std::string error;
    auto presenter = desktop::SdlPresenter::Open("brimlox test", &error);
    ASSERT_NE(presenter, nullptr) << error;
    auto* raw = presenter.get();
    desktop::Desktop::Instance().SetInputSource(std::move(presenter));

    WNDCLASSA wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hbrBackground = CreateSolidBrush(RGB(0, 160, 80));
    wc.hCursor = LoadCursorA(nullptr, IDC_HAND);
    wc.lpszClassName = "SdlGreen";
    RegisterClassA(&wc);
    HWND target = MakeTopLevel("target", {40, 30, 200, 150});
    HWND green = CreateWindowExA(0, "SdlGreen", "", WS_CHILD | WS_VISIBLE, 20, 20, 100, 60, target, nullptr, nullptr, nullptr);
    UpdateWindow(target);

    // The click as SDL reports it from the window system.
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 90;
    e.motion.y = 80;
    SDL_PushEvent(&e);
    e = SDL_Event{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = 90;
    e.button.y = 80;
    SDL_PushEvent(&e);
    e.type = SDL_MOUSEBUTTONUP;
    SDL_PushEvent(&e);

    MessageLog().clear();
    std::vector<UINT> received;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    MSG m;
    while (std::chrono::steady_clock::now() < deadline &&
           std::find(received.begin(), received.end(), WM_LBUTTONUP) == received.end()) {
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            raw->Wait(10);
            continue;
        }
        if (m.hwnd == green) received.push_back(m.message);
        DispatchMessageA(&m);
    }
    EXPECT_EQ(received, (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    raw->Present();
    std::string path = OutputDir() + "/sdl_presenter.png";
    ASSERT_TRUE(raw->SaveWindowPng(path, &error)) << error;
    auto shot = gdi::ReadSurfacePng(path, &error);
    ASSERT_NE(shot, nullptr) << error;
    EXPECT_EQ(gdi::ToColorRef(shot->Get(90, 80)), RGB(0, 160, 80)) << "the child window";
    EXPECT_EQ(gdi::ToColorRef(shot->Get(45, 35)), RGB(255, 255, 255)) << "its parent";
    EXPECT_EQ(gdi::ToColorRef(shot->Get(5, 5)), GetSysColor(COLOR_BACKGROUND)) << "the desktop";
    DestroyWindow(target);
    DeleteObject(wc.hbrBackground);
    UnregisterClassA("SdlGreen", nullptr);
    desktop::Desktop::Instance().SetInputSource(nullptr);
}

}  // namespace
}  // namespace brimlox::test

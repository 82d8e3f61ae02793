// Window frames: the client area each style leaves, hit codes at every edge, corner and caption
// button (the expectations are a record of wine answering WM_NCHITTEST for the same windows,
// tools/wine/frame_probe.cpp), the frame's pixels, and the default handling of frame input on
// the virtual clock: the caption buttons, the move and size loops with their XOR outline, a
// double click on the caption, and the normal rectangle kept through minimise and maximise.
#include "platform/user/frame.h"
#include "platform/user/thread_info.h"
#include "user_test.h"

namespace brimlox::test {
namespace {

using FrameTest = UserTest;

constexpr DWORD kSizable = WS_OVERLAPPEDWINDOW;
constexpr DWORD kSingle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

struct StyleCase {
    const char* name;
    DWORD style, exStyle;
    RECT adjust;     // AdjustWindowRectEx of (0, 0, 100, 100)
    SIZE client;     // the client size of a 200 x 120 window
    // Hit codes at points of the 200 x 120 window, in this order:
    // (0,0) (4,4) (100,0) (100,4) (199,60) (0,60) (100,119) (199,119) (10,12) (30,12)
    // (190,12) (174,12) (158,12) (140,12) (3,20) (20,3) (195,20) (196,20)
    LRESULT hits[18];
};

constexpr POINT kProbe[18] = {{0, 0},    {4, 4},    {100, 0},  {100, 4},  {199, 60}, {0, 60},
                              {100, 119}, {199, 119}, {10, 12}, {30, 12},  {190, 12}, {174, 12},
                              {158, 12},  {140, 12},  {3, 20},  {20, 3},   {195, 20}, {196, 20}};

const StyleCase kCases[] = {
    {"sizable", kSizable, 0, {-4, -23, 104, 104}, {192, 93},
     {13, 3, 12, 2, 11, 10, 15, 17, 3, 2, 20, 9, 8, 2, 13, 13, 20, 14}},
    {"single", kSingle, 0, {-3, -22, 103, 103}, {194, 95},
     {18, 3, 18, 2, 18, 18, 18, 18, 3, 2, 20, 9, 8, 2, 3, 3, 20, 20}},
    {"dialog", WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, {-3, -22, 103, 103}, {194, 95},
     {18, 2, 18, 2, 18, 18, 18, 18, 2, 2, 20, 2, 2, 2, 2, 2, 20, 20}},
    {"tool", WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, {-3, -19, 103, 103}, {194, 98},
     {18, 2, 18, 2, 18, 18, 18, 18, 2, 2, 20, 2, 2, 2, 1, 2, 1, 1}},
    {"sizable tool", kSizable, WS_EX_TOOLWINDOW, {-4, -20, 104, 104}, {192, 96},
     {13, 2, 12, 2, 11, 10, 15, 17, 2, 2, 20, 2, 2, 2, 13, 13, 1, 14}},
    {"border", WS_POPUP | WS_BORDER, 0, {-1, -1, 101, 101}, {198, 118},
     {18, 1, 18, 1, 18, 18, 18, 18, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
};

HWND MakeFramed(const char* name, DWORD style, DWORD exStyle, RECT r) {
    return CreateWindowExA(exStyle, RecorderClass(), name, style | WS_VISIBLE, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
}

TEST_F(FrameTest, EachStyleLeavesTheClientAreaAndAnswersTheHitCodesOfWindows) {
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
    EXPECT_EQ(GetSystemMetrics(SM_CYSMCAPTION), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
    EXPECT_EQ(GetSystemMetrics(SM_CXSIZE), 18);
    for (const StyleCase& c : kCases) {
        SCOPED_TRACE(c.name);
        RECT r{0, 0, 100, 100};
        AdjustWindowRectEx(&r, c.style, FALSE, c.exStyle);
        EXPECT_EQ(r.left, c.adjust.left);
        EXPECT_EQ(r.top, c.adjust.top);
        EXPECT_EQ(r.right, c.adjust.right);
        EXPECT_EQ(r.bottom, c.adjust.bottom);
        HWND w = MakeFramed(c.name, c.style, c.exStyle, {10, 10, 210, 130});
        RECT client;
        GetClientRect(w, &client);
        EXPECT_EQ(client.right, c.client.cx);
        EXPECT_EQ(client.bottom, c.client.cy);
        for (int i = 0; i < 18; ++i) {
            LRESULT hit = SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(kProbe[i].x + 10, kProbe[i].y + 10));
            EXPECT_EQ(hit, c.hits[i]) << "at " << kProbe[i].x << "," << kProbe[i].y;
        }
        EXPECT_EQ(SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(9, 60)), HTNOWHERE);
        DestroyWindow(w);
    }
}

// The window as the screen shows it.
std::unique_ptr<gdi::Surface> Grab(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    auto part = gdi::Surface::Create(r.right - r.left, r.bottom - r.top, gdi::PixelFormat::Bgrx32);
    const gdi::Surface& screen = desktop::Desktop::Instance().Screen();
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) part->Row32(y - r.top)[x - r.left] = screen.Row32(y)[x];
    return part;
}

COLORREF At(const gdi::Surface& s, int x, int y) {
    const std::uint32_t p = s.Row32(y)[x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

TEST_F(FrameTest, ActiveAndInactiveFramesDrawTheClassicBorderCaptionAndButtons) {
    HWND back = MakeFramed("Inactive window", kSizable, 0, {220, 10, 420, 130});
    HWND w = MakeFramed("Active window", kSizable, 0, {10, 10, 210, 130});
    RunLoop();
    ASSERT_EQ(GetActiveWindow(), w);
    auto active = Grab(w);
    auto inactive = Grab(back);
    // The border rows from the outside in, as wine draws them: light, highlight, sizing band,
    // face; then the caption from row 4 to 21 and the face-coloured line at 22.
    EXPECT_EQ(At(*active, 100, 0), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(At(*active, 100, 1), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(At(*active, 100, 2), GetSysColor(COLOR_ACTIVEBORDER));
    EXPECT_EQ(At(*active, 100, 3), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(*active, 199, 60), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(*active, 198, 60), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(At(*active, 100, 119), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(*active, 4, 5), GetSysColor(COLOR_ACTIVECAPTION)) << "the gradient starts at the caption colour";
    EXPECT_EQ(At(*active, 100, 22), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(*inactive, 4, 5), GetSysColor(COLOR_INACTIVECAPTION));
    EXPECT_NE(At(*active, 140, 5), GetSysColor(COLOR_ACTIVECAPTION)) << "shaded toward the gradient colour";
    // The close button: a raised 16 x 14 box ending 2 pixels before the border, with a glyph.
    EXPECT_EQ(At(*active, 178, 6), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(At(*active, 193, 19), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_NE(At(*active, 195, 12), GetSysColor(COLOR_BTNFACE)) << "caption shade beside the button";
    EXPECT_TRUE(MatchesGolden(*active, "user/frame_sizable_active", 60));
    EXPECT_TRUE(MatchesGolden(*inactive, "user/frame_sizable_inactive", 60));
    DestroyWindow(w);
    DestroyWindow(back);
}

TEST_F(FrameTest, ToolAndDialogFramesDrawTheirOwnCaptions) {
    HWND tool = MakeFramed("Tool", WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, {10, 10, 130, 90});
    HWND dialog = MakeFramed("Dialog", WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, {150, 10, 330, 90});
    HWND single = MakeFramed("Single", kSingle, 0, {10, 100, 190, 180});
    RunLoop();
    auto t = Grab(tool);
    EXPECT_EQ(At(*t, 60, 18), GetSysColor(COLOR_BTNFACE)) << "a tool caption is 15 rows and a line";
    EXPECT_TRUE(MatchesGolden(*t, "user/frame_tool", 40));
    EXPECT_TRUE(MatchesGolden(*Grab(dialog), "user/frame_dialog", 40));
    EXPECT_TRUE(MatchesGolden(*Grab(single), "user/frame_single", 40));
    for (HWND h : {tool, dialog, single}) DestroyWindow(h);
}

// Screen points of the 200 x 120 sizable window at (10, 10): the caption and its buttons.
constexpr POINT kCaption{110, 20};
constexpr POINT kClose{196, 22};
constexpr POINT kMax{178, 22};
constexpr POINT kMin{162, 22};

std::string Click(POINT p, int atMs) {
    const std::string at = "at " + std::to_string(atMs) + "ms ";
    return at + "move " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n" + "down left\n" + "at " +
           std::to_string(atMs + 50) + "ms up left\n";
}

TEST_F(FrameTest, CaptionButtonsMinimiseMaximiseRestoreAndClose) {
    HWND w = MakeFramed("Buttons", kSizable, 0, {10, 10, 210, 130});
    RunLoop();
    MessageLog().clear();
    UseScript(Click(kMax, 100));
    RunLoop();
    EXPECT_TRUE(IsZoomed(w));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, -4);
    EXPECT_EQ(r.top, -4);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN) + 4);
    EXPECT_EQ(Filtered(MessageLog(), {"WM_SIZE"}).size(), 1u);
    // Maximised, the same button restores; the normal rectangle was kept.
    const POINT restore{GetSystemMetrics(SM_CXSCREEN) - 25, 8};
    EXPECT_EQ(SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(restore.x, restore.y)), HTMAXBUTTON);
    UseScript(Click(restore, 100));
    RunLoop();
    EXPECT_FALSE(IsZoomed(w));
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right, 210);
    // Pressing a button and releasing it elsewhere does nothing.
    UseScript("at 100ms move 162 22\ndown left\nat 150ms move 120 60\nat 200ms up left\n");
    RunLoop();
    EXPECT_FALSE(IsIconic(w));
    UseScript(Click(kMin, 100));
    RunLoop();
    EXPECT_TRUE(IsIconic(w));
    GetClientRect(w, &r);
    EXPECT_EQ(r.right, 0);
    EXPECT_NE(GetActiveWindow(), w);
    WINDOWPLACEMENT wp;
    ASSERT_TRUE(GetWindowPlacement(w, &wp));
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(wp.rcNormalPosition.left, 10);
    EXPECT_EQ(wp.rcNormalPosition.bottom, 130);
    ShowWindow(w, SW_RESTORE);
    GetWindowRect(w, &r);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.bottom, 130);
    UseScript(Click(kClose, 100));
    RunLoop();
    EXPECT_FALSE(IsWindow(w)) << "the close button sends WM_CLOSE, which destroys the window";
}

TEST_F(FrameTest, ADoubleClickOnTheCaptionMaximisesAndRestores) {
    HWND w = MakeFramed("Double", kSizable, 0, {10, 10, 210, 130});
    RunLoop();
    UseScript("at 100ms move 110 20\ndown left\nat 120ms up left\nat 150ms down left\nat 170ms up left\n");
    RunLoop();
    EXPECT_TRUE(IsZoomed(w));
    UseScript("at 100ms move 300 8\ndown left\nat 120ms up left\nat 150ms down left\nat 170ms up left\n");
    RunLoop();
    EXPECT_FALSE(IsZoomed(w));
    DestroyWindow(w);
}

// Records the pixels under the outline while the move loop runs, from a timer.
struct OutlineProbe {
    COLORREF during = 0;
    COLORREF before = 0;
    POINT at{};
};
OutlineProbe g_outline;

void CALLBACK ReadOutline(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HDC screen = GetDC(nullptr);
    g_outline.during = GetPixel(screen, g_outline.at.x, g_outline.at.y);
    ReleaseDC(nullptr, screen);
}

TEST_F(FrameTest, TheMoveLoopDrawsAnXorOutlineAndMovesTheWindowOnRelease) {
    HWND w = MakeFramed("Move", kSizable, 0, {10, 10, 210, 130});
    RunLoop();
    MessageLog().clear();
    // Dragged by (+50, +40): the outline's top-left corner sits at (60, 50) meanwhile.
    g_outline = OutlineProbe{};
    g_outline.at = POINT{61, 51};
    HDC screen = GetDC(nullptr);
    g_outline.before = GetPixel(screen, 61, 51);
    ReleaseDC(nullptr, screen);
    SetTimer(nullptr, 0, 250, ReadOutline);
    UseScript("at 100ms move 110 20\ndown left\nat 150ms move 130 40\nat 200ms move 160 60\nat 300ms up left\n");
    RunLoop();
    const COLORREF b = g_outline.before;
    EXPECT_EQ(g_outline.during, RGB(255 - GetRValue(b), 255 - GetGValue(b), 255 - GetBValue(b)));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 60);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 200);
    // The window moved once, at the release, and the outline is gone from the screen.
    const auto moves = Filtered(MessageLog(), {"WM_MOVE", "WM_SIZE"});
    EXPECT_EQ(moves, (std::vector<std::string>{"Move:WM_MOVE"}));
    screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, 30, 100), GetSysColor(COLOR_BACKGROUND)) << "old place shows the desktop";
    ReleaseDC(nullptr, screen);
    // Escape puts the window back where it was.
    UseScript("at 100ms move 120 60\ndown left\nat 150ms move 300 200\nat 200ms key down VK_ESCAPE\nat 250ms up left\n");
    RunLoop();
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 60);
    EXPECT_EQ(r.top, 50);
    DestroyWindow(w);
}

TEST_F(FrameTest, TheSizeLoopMovesTheDraggedEdgesWithinTheTrackingLimits) {
    HWND w = MakeFramed("Size", kSizable, 0, {100, 100, 300, 220});
    RunLoop();
    MessageLog().clear();
    // The top-left corner dragged by (-30, -20): the opposite corner stays.
    UseScript("at 100ms move 101 101\ndown left\nat 150ms move 80 90\nat 200ms move 71 81\nat 300ms up left\n");
    RunLoop();
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 80);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 220);
    EXPECT_EQ(Filtered(MessageLog(), {"WM_MOVE", "WM_SIZE"}),
              (std::vector<std::string>{"Size:WM_MOVE", "Size:WM_SIZE"})) << "WM_MOVE comes before WM_SIZE";
    // The right edge dragged far left stops at the smallest tracking width.
    UseScript("at 100ms move 299 150\ndown left\nat 200ms move 0 150\nat 300ms up left\n");
    RunLoop();
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXMINTRACK));
    EXPECT_EQ(r.left, 70);
    // With full-window dragging the window follows the pointer during the loop.
    SetDragFullWindows(TRUE);
    MessageLog().clear();
    UseScript("at 100ms move 181 150\ndown left\nat 150ms move 186 150\nat 200ms move 201 150\nat 300ms up left\n");
    RunLoop();
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXMINTRACK) + 20);
    EXPECT_EQ(Filtered(MessageLog(), {"WM_SIZE"}).size(), 2u);
    DestroyWindow(w);
}

TEST_F(FrameTest, PlacementKeepsTheNormalRectangleWhileMaximised) {
    HWND w = MakeFramed("Placement", kSizable, 0, {40, 30, 240, 150});
    WINDOWPLACEMENT wp;
    ASSERT_TRUE(GetWindowPlacement(w, &wp));
    wp.rcNormalPosition = RECT{50, 60, 350, 260};
    wp.showCmd = SW_SHOWMAXIMIZED;
    ASSERT_TRUE(SetWindowPlacement(w, &wp));
    EXPECT_TRUE(IsZoomed(w));
    WINDOWPLACEMENT back;
    ASSERT_TRUE(GetWindowPlacement(w, &back));
    EXPECT_EQ(back.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    EXPECT_EQ(back.rcNormalPosition.left, 50);
    EXPECT_EQ(back.rcNormalPosition.right, 350);
    // Minimised from maximised, it comes back maximised.
    ShowWindow(w, SW_MINIMIZE);
    ASSERT_TRUE(GetWindowPlacement(w, &back));
    EXPECT_EQ(back.flags & WPF_RESTORETOMAXIMIZED, WPF_RESTORETOMAXIMIZED);
    ShowWindow(w, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(w));
    ShowWindow(w, SW_RESTORE);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.bottom, 260);
    wp.rcNormalPosition = RECT{10, 10, 5, 5};
    EXPECT_FALSE(SetWindowPlacement(w, &wp)) << "an inverted rectangle is refused";
    DestroyWindow(w);
}

// The window menu, from the caption's icon, Alt+Space and a right click on the caption: its
// commands greyed as the window's state allows, chosen by their mnemonics, Move and Size worked
// with the arrow keys and Enter, Alt+F4 closing, and a double click on the icon closing through
// the open menu.
// What a keyboard hook learns from GetGUIThreadInfo while the window menu and then a keyboard
// move own the keys, and after both have ended; and the calls it refuses.
std::vector<std::pair<WPARAM, GUITHREADINFO>> g_seenByHook;

LRESULT CALLBACK RecordThreadInfo(int code, WPARAM vk, LPARAM lParam) {
    GUITHREADINFO info{sizeof(GUITHREADINFO)};
    if (code == HC_ACTION && (lParam & 0x80000000) == 0 && GetGUIThreadInfo(0, &info)) g_seenByHook.emplace_back(vk, info);
    return CallNextHookEx(nullptr, code, vk, lParam);
}

TEST_F(FrameTest, ThreadInfoTellsAHookWhichLoopOwnsTheKeys) {
    HWND w = MakeFramed("Info", kSizable, 0, {10, 10, 210, 130});
    RunLoop();
    g_seenByHook.clear();
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, RecordThreadInfo, nullptr, GetCurrentThreadId());
    UseScript("at 100ms key down VK_MENU\nkey press VK_SPACE\nkey up VK_MENU\nat 300ms key press M\n"
              "at 400ms key press VK_RIGHT\nat 600ms key press VK_RETURN\n");
    RunLoop();
    UnhookWindowsHookEx(hook);
    auto seen = [](WPARAM vk) {
        for (const auto& [key, info] : g_seenByHook)
            if (key == vk) return info;
        ADD_FAILURE() << "the hook never saw key " << vk;
        return GUITHREADINFO{};
    };
    const GUITHREADINFO inMenu = seen('M'), moving = seen(VK_RIGHT), ending = seen(VK_RETURN);
    EXPECT_EQ(inMenu.flags & (GUI_INMENUMODE | GUI_INMOVESIZE), GUI_INMENUMODE);
    EXPECT_EQ(inMenu.hwndMenuOwner, w);
    EXPECT_EQ(moving.flags & (GUI_INMENUMODE | GUI_INMOVESIZE), GUI_INMOVESIZE);
    EXPECT_EQ(moving.hwndMoveSize, w);
    EXPECT_EQ(moving.hwndCapture, w);
    EXPECT_EQ(ending.hwndMoveSize, w) << "Enter is read inside the loop it ends";
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 18) << "the move took effect";

    GUITHREADINFO after{sizeof(GUITHREADINFO)};
    ASSERT_TRUE(GetGUIThreadInfo(GetCurrentThreadId(), &after));
    EXPECT_EQ(after.flags, 0u);
    EXPECT_EQ(after.hwndMoveSize, nullptr);
    EXPECT_EQ(after.hwndMenuOwner, nullptr);
    EXPECT_EQ(after.hwndActive, w);
    GUITHREADINFO unsized{};
    EXPECT_FALSE(GetGUIThreadInfo(0, &unsized));
    EXPECT_FALSE(GetGUIThreadInfo(0, nullptr));
    EXPECT_FALSE(GetGUIThreadInfo(GetCurrentThreadId() + 1, &after));
    DestroyWindow(w);
}

TEST_F(FrameTest, TheWindowMenuOpensFromTheIconAndAltSpaceAndWorksTheFrameFromTheKeyboard) {
    HWND w = MakeFramed("Menu", kSizable, 0, {10, 10, 210, 130});
    RunLoop();
    HMENU menu = GetSystemMenu(w, FALSE);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetSystemMenu(w, FALSE), menu) << "the window keeps its copy";
    EXPECT_EQ(GetMenuItemCount(menu), 7);
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(SC_CLOSE));
    auto greyed = [&](WPARAM command) { return (GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND) & MF_GRAYED) != 0; };
    // A press on the icon opens the menu below it; X is Maximize's mnemonic.
    UseScript("at 100ms move 22 22\ndown left\nat 150ms up left\nat 300ms key press X\n");
    RunLoop();
    EXPECT_TRUE(IsZoomed(w));
    EXPECT_TRUE(greyed(SC_RESTORE) && !greyed(SC_MOVE) && !greyed(SC_SIZE)) << "shown for a normal window";
    // Alt+Space opens it maximised: Restore is the one way back, Move, Size and Maximize greyed.
    const std::string altSpace = "key down VK_MENU\nkey press VK_SPACE\nkey up VK_MENU\n";
    UseScript("at 100ms " + altSpace + "at 300ms key press R\n");
    RunLoop();
    EXPECT_FALSE(IsZoomed(w));
    EXPECT_TRUE(!greyed(SC_RESTORE) && greyed(SC_MOVE) && greyed(SC_SIZE) && greyed(SC_MAXIMIZE));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 10);
    // Move: each arrow carries the outline 8 pixels, Enter puts the window there.
    UseScript("at 100ms " + altSpace + "at 300ms key press M\nat 400ms key press VK_RIGHT\nat 450ms key press VK_RIGHT\n"
              "at 500ms key press VK_DOWN\nat 600ms key press VK_RETURN\n");
    RunLoop();
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 26);
    EXPECT_EQ(r.top, 18);
    EXPECT_EQ(r.right - r.left, 200);
    // Size: the first arrow picks the edge, the next ones move it; Escape would have undone it.
    UseScript("at 100ms " + altSpace + "at 300ms key press S\nat 400ms key press VK_RIGHT\nat 450ms key press VK_RIGHT\n"
              "at 500ms key press VK_RIGHT\nat 600ms key press VK_RETURN\n");
    RunLoop();
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 26);
    EXPECT_EQ(r.right - r.left, 216);
    UseScript("at 100ms " + altSpace + "at 300ms key press S\nat 400ms key press VK_DOWN\nat 450ms key press VK_DOWN\n"
              "at 600ms key press VK_ESCAPE\n");
    RunLoop();
    GetWindowRect(w, &r);
    EXPECT_EQ(r.bottom - r.top, 120) << "cancelled";
    // A right click on the caption opens the menu at the pointer; N is Minimize's mnemonic.
    UseScript("at 100ms move 110 30\nclick right\nat 300ms key press N\n");
    RunLoop();
    EXPECT_TRUE(IsIconic(w));
    ShowWindow(w, SW_RESTORE);
    // Alt+F4 closes.
    UseScript("at 100ms key down VK_MENU\nkey press VK_F4\nkey up VK_MENU\n");
    RunLoop();
    EXPECT_FALSE(IsWindow(w));
    // A double click on the icon: the first press opens the menu, the second closes the window.
    HWND other = MakeFramed("Twice", kSizable, 0, {10, 10, 210, 130});
    RunLoop();
    UseScript("at 100ms move 22 22\ndown left\nat 120ms up left\nat 200ms down left\nat 220ms up left\n");
    RunLoop();
    EXPECT_FALSE(IsWindow(other));
}

}  // namespace
}  // namespace brimlox::test

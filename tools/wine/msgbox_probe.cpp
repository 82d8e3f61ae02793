// Records what Windows' USER (as wine implements it) does with message boxes of each button
// set: the buttons' captions, ids, places and default style, which button has the focus, and
// what Enter, Escape, Tab, the arrows, the accelerator letters, WM_CLOSE, Alt+F4 and the
// owner's destruction answer. A second thread drives each box with real key events; the
// Yes/No/Cancel box's pixels go to yesnocancel.ppm. Built with mingw-w64, run under wine in a
// virtual desktop: tools/wine/run_msgbox_probe.sh
// Wine answers Escape and WM_CLOSE with IDCANCEL on every set and 0 when the owner is
// destroyed; the platform follows Windows' documented rules instead (see platform/user/msgbox.h).
#include <windows.h>
#include <cstdio>
#include <cstring>
static FILE* o;
static DWORD mainTid;
static HWND owner;
struct Scenario { UINT type; const char* action; };
static const char* g_action;
static volatile bool g_dumped = false;
static void Dump(HWND h, const char* path) {
    RECT wr; GetWindowRect(h, &wr); int cx = wr.right - wr.left, cy = wr.bottom - wr.top;
    BITMAPINFO bi{}; bi.bmiHeader.biSize = sizeof(bi.bmiHeader); bi.bmiHeader.biWidth = cx; bi.bmiHeader.biHeight = -cy;
    bi.bmiHeader.biPlanes = 1; bi.bmiHeader.biBitCount = 32; void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr); HBITMAP b = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, b);
    HDC sdc = GetDC(nullptr); BitBlt(dc, 0, 0, cx, cy, sdc, wr.left, wr.top, SRCCOPY); ReleaseDC(nullptr, sdc);
    GdiFlush(); FILE* f = fopen(path, "wb"); fprintf(f, "P6\n%d %d\n255\n", cx, cy);
    const unsigned* px = (const unsigned*)bits;
    for (int i = 0; i < cx * cy; ++i) { unsigned v = px[i]; fputc((v >> 16) & 255, f); fputc((v >> 8) & 255, f); fputc(v & 255, f); }
    fclose(f); SelectObject(dc, old); DeleteObject(b); DeleteDC(dc);
}
static BOOL CALLBACK Child(HWND c, LPARAM box) {
    char cls[64], txt[128]; GetClassNameA(c, cls, 64); GetWindowTextA(c, txt, 128);
    RECT r; GetWindowRect(c, &r); MapWindowPoints(nullptr, (HWND)box, (POINT*)&r, 2);
    LONG st = GetWindowLongA(c, GWL_STYLE);
    fprintf(o, "  child %s id=%d '%s' rect=%ld,%ld,%ld,%ld w=%ld h=%ld style=%08lx vis=%d\n", cls, GetDlgCtrlID(c), txt, r.left, r.top, r.right, r.bottom,
            r.right - r.left, r.bottom - r.top, st, IsWindowVisible(c) ? 1 : 0);
    return TRUE;
}
static HWND FindBox() { return FindWindowA("#32770", "box"); }
static void Key(BYTE vk) { keybd_event(vk, 0, 0, 0); Sleep(30); keybd_event(vk, 0, KEYEVENTF_KEYUP, 0); Sleep(200); }
static DWORD WINAPI Driver(LPVOID) {
    HWND box = nullptr;
    for (int i = 0; i < 200 && !(box = FindBox()); ++i) Sleep(50);
    if (!box) { fprintf(o, "  no box\n"); return 0; }
    Sleep(500);
    RECT wr, cr; GetWindowRect(box, &wr); GetClientRect(box, &cr);
    fprintf(o, "  box window %ld,%ld,%ld,%ld client %ldx%ld style=%08lx ex=%08lx\n", wr.left, wr.top, wr.right, wr.bottom, cr.right, cr.bottom,
            GetWindowLongA(box, GWL_STYLE), GetWindowLongA(box, GWL_EXSTYLE));
    EnumChildWindows(box, Child, (LPARAM)box);
    GUITHREADINFO gi{}; gi.cbSize = sizeof gi; GetGUIThreadInfo(mainTid, &gi);
    fprintf(o, "  focus id=%d active=%s def=%ld\n", GetDlgCtrlID(gi.hwndFocus), gi.hwndActive == box ? "box" : "other",
            (long)SendMessageA(box, DM_GETDEFID, 0, 0));
    HMENU sm = GetSystemMenu(box, FALSE);
    fprintf(o, "  sysmenu close state=%x\n", sm ? GetMenuState(sm, SC_CLOSE, MF_BYCOMMAND) : 0xffff);
    if (!g_dumped && strcmp(g_action, "dump") == 0) { Dump(box, "yesnocancel.ppm"); g_dumped = true; }
    SetForegroundWindow(box);
    const char* a = g_action;
    if (!strcmp(a, "ownerdestroy")) return 0;
    for (const char* p = a; *p; ++p) {
        switch (*p) {
            case 'E': Key(VK_ESCAPE); break;
            case 'R': Key(VK_RETURN); break;
            case 'T': Key(VK_TAB); break;
            case '>': Key(VK_RIGHT); break;
            case '<': Key(VK_LEFT); break;
            case 'v': Key(VK_DOWN); break;
            case 'S': Key(VK_SPACE); break;
            case 'C': PostMessageA(box, WM_CLOSE, 0, 0); Sleep(300); break;
            case 'F': keybd_event(VK_MENU, 0, 0, 0); Key(VK_F4); keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0); Sleep(200); break;
            case 'n': Key('N'); break; case 'y': Key('Y'); break; case 'a': Key('A'); break; case 'r': Key('R'); break; case 'i': Key('I'); break;
            case 'x': Key('X'); break;
            case 'o': Key('O'); break; case 'c': Key('C'); break;
        }
        if (!IsWindow(box)) { fprintf(o, "  closed after '%c'\n", *p); return 0; }
        GetGUIThreadInfo(mainTid, &gi); fprintf(o, "  after '%c' focus id=%d def=%ld\n", *p, GetDlgCtrlID(gi.hwndFocus), (long)SendMessageA(box, DM_GETDEFID, 0, 0));
    }
    fprintf(o, "  still open: closing with the last button\n");
    HWND last = nullptr; for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) { char cls[32]; GetClassNameA(c, cls, 32); if (!strcmp(cls, "Button")) last = c; }
    fprintf(o, "  clicking id=%d\n", GetDlgCtrlID(last));
    PostMessageA(last, BM_CLICK, 0, 0);
    return 0;
}
static void CALLBACK KillOwner(HWND, UINT, UINT_PTR id, DWORD) { KillTimer(nullptr, id); DestroyWindow(owner); }
int main() {
    o = fopen("msgbox.txt", "w");
    setvbuf(o, nullptr, _IONBF, 0);  // the driver thread writes too
    mainTid = GetCurrentThreadId();
    WNDCLASSA wc{}; wc.lpfnWndProc = DefWindowProcA; wc.lpszClassName = "Owner"; wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1); RegisterClassA(&wc);
    Scenario sc[] = {
        {MB_YESNOCANCEL | MB_ICONQUESTION, "dump"},
        {MB_OK, "E"}, {MB_OK, "C"}, {MB_OKCANCEL, "E"}, {MB_OKCANCEL, "C"}, {MB_OKCANCEL | MB_DEFBUTTON2, "R"},
        {MB_ABORTRETRYIGNORE, "E"}, {MB_ABORTRETRYIGNORE, "C"}, {MB_ABORTRETRYIGNORE, "F"}, {MB_ABORTRETRYIGNORE, "i"}, {MB_ABORTRETRYIGNORE, "r"}, {MB_ABORTRETRYIGNORE, "a"},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, "R"}, {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, ""},
        {MB_YESNOCANCEL, "E"}, {MB_YESNOCANCEL, "C"}, {MB_YESNOCANCEL, "n"}, {MB_YESNOCANCEL, "y"}, {MB_YESNOCANCEL, "xc"},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, "R"}, {MB_YESNOCANCEL | MB_DEFBUTTON3, "R"}, {MB_YESNOCANCEL | MB_DEFBUTTON4, "R"},
        {MB_YESNOCANCEL, "TR"}, {MB_YESNOCANCEL, ">R"}, {MB_YESNOCANCEL, ">>>R"}, {MB_YESNOCANCEL, "<R"}, {MB_YESNOCANCEL, "vR"}, {MB_YESNOCANCEL, "TTTR"}, {MB_YESNOCANCEL, "TS"},
        {MB_YESNO, "E"}, {MB_YESNO, "C"}, {MB_YESNO, "F"}, {MB_YESNO, "n"}, {MB_YESNO | MB_DEFBUTTON2, "R"},
        {MB_RETRYCANCEL, "E"}, {MB_RETRYCANCEL, "r"}, {MB_RETRYCANCEL, "c"},
        {MB_OK, "o"}, {MB_OKCANCEL, "oc"},
        {MB_CANCELTRYCONTINUE, "E"},
        {MB_YESNO, "ownerdestroy"}, {MB_YESNOCANCEL, "ownerdestroy"}, {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, "ownerdestroy"}, {MB_OK, "ownerdestroy"}, {MB_YESNO|MB_DEFBUTTON2, "ownerdestroy"},
    };
    for (auto& s : sc) {
        owner = CreateWindowA("Owner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 500, 400, nullptr, nullptr, nullptr, nullptr);
        fprintf(o, "type=%x action=%s\n", s.type, s.action); fflush(o);
        g_action = s.action;
        HANDLE t = CreateThread(nullptr, 0, Driver, nullptr, 0, nullptr);
        if (!strcmp(s.action, "ownerdestroy")) SetTimer(nullptr, 7, 1500, KillOwner);
        int r = MessageBoxA(owner, "Save changes to Form1?", "box", s.type);
        fprintf(o, "  returned %d\n", r); fflush(o);
        WaitForSingleObject(t, 5000); CloseHandle(t);
        if (IsWindow(owner)) DestroyWindow(owner);
        MSG m; while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
    fclose(o);
    return 0;
}

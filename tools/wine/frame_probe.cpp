// Records what Windows' USER (as wine implements it) does with window frames: the frame and
// caption metrics, AdjustWindowRectEx and the client size of six window styles, WM_NCHITTEST
// at points of every edge, corner and caption button, and the frames' pixels (active and
// inactive) as binary PPMs. Built with mingw-w64 and run under wine in a virtual desktop:
//   tools/wine/run_frame_probe.sh
// tests/platform/user/frame_test.cpp holds the hit codes and sizes this printed.
#include <initializer_list>
#include <windows.h>
#include <cstdio>
static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }
static void Dump(HWND h, int cx, int cy, const char* path) {
    BITMAPINFO bi{}; bi.bmiHeader.biSize = sizeof(bi.bmiHeader); bi.bmiHeader.biWidth = cx; bi.bmiHeader.biHeight = -cy;
    bi.bmiHeader.biPlanes = 1; bi.bmiHeader.biBitCount = 32; void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr); HBITMAP b = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, b); PatBlt(dc, 0, 0, cx, cy, WHITENESS);
    HDC wdc = GetWindowDC(h); BitBlt(dc, 0, 0, cx, cy, wdc, 0, 0, SRCCOPY); ReleaseDC(h, wdc);
    GdiFlush(); FILE* f = fopen(path, "wb"); fprintf(f, "P6\n%d %d\n255\n", cx, cy);
    const unsigned* px = (const unsigned*)bits;
    for (int i = 0; i < cx * cy; ++i) { unsigned v = px[i]; fputc((v >> 16) & 255, f); fputc((v >> 8) & 255, f); fputc(v & 255, f); }
    fclose(f); SelectObject(dc, old); DeleteObject(b); DeleteDC(dc);
}
int main() {
    FILE* o = fopen("metrics.txt", "w");
    int ids[] = {SM_CXBORDER, SM_CXEDGE, SM_CXFRAME, SM_CXFIXEDFRAME, SM_CYCAPTION, SM_CYSMCAPTION, SM_CXSIZE, SM_CYSIZE,
                 SM_CXSMSIZE, SM_CYSMSIZE, SM_CXMIN, SM_CYMIN, SM_CXMINIMIZED, SM_CYMINIMIZED, SM_CXMINTRACK, SM_CYMINTRACK,
                 SM_CXSMICON, SM_CYSMICON, SM_CXMAXIMIZED, SM_CYMAXIMIZED, SM_CXPADDEDBORDER};
    const char* names[] = {"CXBORDER","CXEDGE","CXFRAME","CXFIXEDFRAME","CYCAPTION","CYSMCAPTION","CXSIZE","CYSIZE","CXSMSIZE","CYSMSIZE","CXMIN","CYMIN","CXMINIMIZED","CYMINIMIZED","CXMINTRACK","CYMINTRACK","CXSMICON","CYSMICON","CXMAXIMIZED","CYMAXIMIZED","CXPADDEDBORDER"};
    for (int i = 0; i < 21; ++i) fprintf(o, "%s %d\n", names[i], GetSystemMetrics(ids[i]));
    BOOL grad = 0; SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &grad, 0); fprintf(o, "gradient %d\n", grad);
    NONCLIENTMETRICSA ncm{}; ncm.cbSize = sizeof(ncm); SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    fprintf(o, "ncm border %d caption %dx%d sm %dx%d capfont %s %ld %ld\n", ncm.iBorderWidth, ncm.iCaptionWidth, ncm.iCaptionHeight, ncm.iSmCaptionWidth, ncm.iSmCaptionHeight, ncm.lfCaptionFont.lfFaceName, ncm.lfCaptionFont.lfHeight, ncm.lfCaptionFont.lfWeight);
    for (int c : {COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION, COLOR_INACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION, COLOR_CAPTIONTEXT, COLOR_INACTIVECAPTIONTEXT, COLOR_ACTIVEBORDER, COLOR_INACTIVEBORDER, COLOR_BTNFACE, COLOR_WINDOWFRAME})
        fprintf(o, "color %d %06lx\n", c, GetSysColor(c));
    struct { DWORD s, ex; const char* n; } st[] = {
        {WS_OVERLAPPEDWINDOW, 0, "sizable"}, {WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, "single"},
        {WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, "dialog"}, {WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, "tool"},
        {WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, "sizetool"}, {WS_POPUP | WS_BORDER, 0, "border"}};
    WNDCLASSA wc{}; wc.lpfnWndProc = Proc; wc.lpszClassName = "P"; wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW); RegisterClassA(&wc);
    int k = 0;
    for (auto& s : st) {
        RECT r{0, 0, 100, 100}; AdjustWindowRectEx(&r, s.s, FALSE, s.ex);
        fprintf(o, "adjust %s %ld %ld %ld %ld\n", s.n, r.left, r.top, r.right, r.bottom);
        HWND h = CreateWindowExA(s.ex, "P", "Caption text", s.s, 10, 10, 200, 120, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(h, SW_SHOW); UpdateWindow(h);
        Sleep(300); MSG m; while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        RECT cr; GetClientRect(h, &cr); fprintf(o, "client %s %ld %ld\n", s.n, cr.right, cr.bottom);
        int codes[][2] = {{0,0},{2,2},{4,4},{5,5},{100,0},{100,2},{100,4},{199,60},{0,60},{100,119},{199,119},{10,12},{30,12},{100,12},{190,12},{174,12},{158,12},{140,12},{3,20},{20,3},{195,20},{196,20}};
        for (auto& c : codes) fprintf(o, "hit %s %d %d = %ld\n", s.n, c[0], c[1], (long)SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(c[0] + 10, c[1] + 10)));
        char path[64]; sprintf(path, "frame_%s_active.ppm", s.n); Dump(h, 200, 120, path);
        SendMessageA(h, WM_NCACTIVATE, FALSE, 0); Sleep(200); while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        sprintf(path, "frame_%s_inactive.ppm", s.n); Dump(h, 200, 120, path);
        DestroyWindow(h); ++k;
    }
    fclose(o);
    return 0;
}

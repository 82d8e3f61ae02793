// Draws every case of focus_rect_cases.h with Windows' DrawFocusRect on a white 32-bpp DIB
// section and writes, per case, a grid of the pixels it inverted ('#') and left alone ('.').
// Built with mingw-w64 and run under wine:
//   tools/wine/run_focus_rect_probe.sh
// which stores the text as the reference the focus tests compare with.
#include <windows.h>

#include <cstdio>

#include "focus_rect_cases.h"

using namespace focus_rect_cases;

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    FILE* out = std::fopen(argv[1], "w");
    if (!out) return 1;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = kWidth;
    bi.bmiHeader.biHeight = -kHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    const unsigned* px = static_cast<const unsigned*>(bits);
    for (const Case& c : kCases) {
        PatBlt(dc, 0, 0, kWidth, kHeight, WHITENESS);
        // The DC's colours must not matter.
        SetTextColor(dc, RGB(255, 0, 0));
        SetBkColor(dc, RGB(0, 255, 0));
        RECT r{c.left, c.top, c.right, c.bottom};
        DrawFocusRect(dc, &r);
        GdiFlush();
        std::fprintf(out, "case %d %d %d %d\n", c.left, c.top, c.right, c.bottom);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) std::fputc((px[y * kWidth + x] & 0xFFFFFF) == 0 ? '#' : '.', out);
            std::fputc('\n', out);
        }
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    std::fclose(out);
    return 0;
}

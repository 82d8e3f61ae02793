// brimlox-gallery: shows the library's drawing. Until the controls exist it renders a sample
// of the platform's drawing to PNG files and says where they are.
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/gdi/gdi.h"

namespace {

void DrawSample(HDC dc, int width, int height) {
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    static const COLORREF colours[] = {RGB(200, 40, 40), RGB(40, 160, 40), RGB(40, 60, 200), RGB(230, 180, 30)};
    for (int i = 0; i < 4; ++i) {
        HBRUSH b = CreateSolidBrush(colours[i]);
        RECT r{20 + i * 70, 20, 80 + i * 70, 80};
        FillRect(dc, &r, b);
        DeleteObject(b);
        HBRUSH frame = GetSysColorBrush(COLOR_3DDKSHADOW);
        FrameRect(dc, &r, frame);
    }
    for (int hatch = HS_HORIZONTAL; hatch <= HS_DIAGCROSS; ++hatch) {
        LOGBRUSH lb{BS_HATCHED, RGB(0, 0, 128), static_cast<std::uintptr_t>(hatch)};
        HBRUSH b = CreateBrushIndirect(&lb);
        RECT r{20 + hatch * 48, 100, 60 + hatch * 48, 140};
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string out = "gallery-out";
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--out" && i + 1 < argc) out = argv[++i];
        else if (a == "--help") {
            std::puts("usage: brimlox-gallery [--out DIR]\nRenders the gallery's scenes to PNG files in DIR.");
            return 0;
        }
    }
    std::filesystem::create_directories(out);
    const int width = 320, height = 160;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateBitmap(width, height, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    DrawSample(dc, width, height);
    std::string path = out + "/drawing.png";
    std::string error;
    bool ok = brimlox::gdi::WritePng(dc, path, &error);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    if (!ok) {
        std::fprintf(stderr, "brimlox-gallery: %s\n", error.c_str());
        return 1;
    }
    std::printf("brimlox-gallery: wrote %s\n", std::filesystem::absolute(path).c_str());
    return 0;
}

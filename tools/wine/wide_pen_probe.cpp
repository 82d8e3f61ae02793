// Draws every case of wide_pen_cases.h with Windows' GDI into a 32-bpp DIB section and writes
// the pixels as a binary PPM (black where drawn); then writes the rows of the circular regions
// CreateEllipticRgn makes for boxes 2 to 49 pixels across, which round caps and joins use, as
// text ("size row x0 x1" per line, size being the region's width). Built with mingw-w64 and run under wine:
//   tools/wine/run_wide_pen_probe.sh
// which also turns the PPM into the golden image the line tests compare with.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "wide_pen_cases.h"

using namespace wide_pen_cases;

static HPEN MakePen(int kind, int width) {
    if (kind == kCreatePen) return CreatePen(PS_SOLID, width, RGB(0, 0, 0));
    LOGBRUSH lb{BS_SOLID, RGB(0, 0, 0), 0};
    return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PenFlags(kind), width, &lb, 0, nullptr);
}

static void DrawShape(HDC dc, const Shape& s, int ox, int oy) {
    POINT pts[5];
    for (int i = 0; i < s.count; ++i) pts[i] = POINT{s.x[i] + ox, s.y[i] + oy};
    if (!s.path) {
        Polyline(dc, pts, s.count);
        return;
    }
    BeginPath(dc);
    Polyline(dc, pts, s.count);
    if (s.closed) CloseFigure(dc);
    EndPath(dc);
    StrokePath(dc);
}

static bool WriteDiscs(const char* path) {
    FILE* f = std::fopen(path, "w");
    if (!f) return false;
    std::fprintf(f, "# size row x0 x1: CreateEllipticRgn(0, 0, size + 1, size + 1), one line per row\n");
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 64;
    bi.bmiHeader.biHeight = -64;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    const unsigned* px = static_cast<const unsigned*>(bits);
    for (int size = 1; size <= 48; ++size) {
        PatBlt(dc, 0, 0, 64, 64, WHITENESS);
        HRGN rgn = CreateEllipticRgn(0, 0, size + 1, size + 1);
        FillRgn(dc, rgn, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        DeleteObject(rgn);
        GdiFlush();
        for (int y = 0; y < 64; ++y) {
            int x0 = -1, x1 = -1;
            for (int x = 0; x < 64; ++x)
                if ((px[y * 64 + x] & 0xFFFFFF) == 0) {
                    if (x0 < 0) x0 = x;
                    x1 = x + 1;
                }
            if (x0 >= 0) std::fprintf(f, "%d %d %d %d\n", size, y, x0, x1);
        }
    }
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    std::fclose(f);
    return true;
}

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = kImageWidth;
    bi.bmiHeader.biHeight = -kImageHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(dc, bmp);
    PatBlt(dc, 0, 0, kImageWidth, kImageHeight, WHITENESS);
    for (int w = kMinWidth; w <= kMaxWidth; ++w)
        for (int kind = 0; kind < kPenKinds; ++kind) {
            HPEN pen = MakePen(kind, w);
            HGDIOBJ old = SelectObject(dc, pen);
            const int row = (w - kMinWidth) * kPenKinds + kind;
            for (int s = 0; s < kShapeCount; ++s) DrawShape(dc, kShapes[s], s * kCell, row * kCell);
            SelectObject(dc, old);
            DeleteObject(pen);
        }
    GdiFlush();
    FILE* f = std::fopen(argv[1], "wb");
    if (!f) return 1;
    std::fprintf(f, "P6\n%d %d\n255\n", kImageWidth, kImageHeight);
    const unsigned char* p = static_cast<const unsigned char*>(bits);
    std::vector<unsigned char> row(kImageWidth * 3);
    for (int y = 0; y < kImageHeight; ++y) {
        for (int x = 0; x < kImageWidth; ++x) {
            const unsigned char* px = p + (static_cast<size_t>(y) * kImageWidth + x) * 4;
            row[x * 3] = px[2];
            row[x * 3 + 1] = px[1];
            row[x * 3 + 2] = px[0];
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    std::fclose(f);
    return WriteDiscs(argv[2]) ? 0 : 1;
}

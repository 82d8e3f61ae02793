// Prints which pixels TransparentBlt draws for the cases of the TransparentBlt test in
// tests/platform/gdi/blit_test.cpp (same-size copy, refused mirroring, a source reaching past
// its bitmap, enlarging, a DC copied onto itself), as "xy" pairs of the source pixel each
// destination pixel came from. Run with run_transparent_blt_probe.sh.
#include <stdio.h>
#include <windows.h>
static DWORD* bits(HBITMAP b) {
    DIBSECTION ds;
    GetObject(b, sizeof ds, &ds);
    return (DWORD*)ds.dsBm.bmBits;
}
static HBITMAP dib(HDC dc, int w, int h) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* p;
    return CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, 0, 0);
}
int main() {
    HDC s = CreateCompatibleDC(0), d = CreateCompatibleDC(0);
    HBITMAP sb = dib(s, 8, 4), db = dib(d, 16, 8);
    SelectObject(s, sb);
    SelectObject(d, db);
    DWORD *sp = bits(sb), *dp = bits(db);
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 8; x++) sp[y * 8 + x] = 0x010000 * (x + 1) + 0x000100 * (y + 1);
    COLORREF key = RGB(0, 2, 3);  // x=2,y=1 : 0x030200 -> R=3 G=2 B=0 -> COLORREF RGB(3,2,0)
    key = RGB(3, 2, 0);
    struct C {
        const char* n;
        int x, y, w, h, sx, sy, sw, sh;
    } cs[] = {{"same", 1, 1, 8, 4, 0, 0, 8, 4},     {"negw", 9, 1, -8, 4, 0, 0, 8, 4},
              {"negsw", 1, 1, 8, 4, 8, 0, -8, 4},   {"outside", 1, 1, 6, 4, 5, 0, 6, 4},
              {"srcneg", 1, 1, 6, 4, -2, -1, 6, 4}, {"grow", 0, 0, 16, 8, 0, 0, 8, 4},
              {"shrink", 0, 0, 3, 3, 0, 0, 8, 4},   {"grow3", 0, 0, 11, 6, 0, 0, 8, 4}};
    for (auto& c : cs) {
        for (int i = 0; i < 128; i++) dp[i] = 0x00ABCDEF;
        BOOL r = TransparentBlt(d, c.x, c.y, c.w, c.h, s, c.sx, c.sy, c.sw, c.sh, key);
        printf("%s %d\n", c.n, r);
        for (int y = 0; y < 8; y++) {
            for (int x = 0; x < 16; x++) {
                DWORD v = dp[y * 16 + x] & 0xFFFFFF;
                if (v == 0xABCDEF)
                    printf("..");
                else
                    printf("%d%d", (v >> 16) - 1, ((v >> 8) & 255) - 1);
            }
            printf("\n");
        }
    }
    // same DC
    for (int i = 0; i < 32; i++) sp[i] = 0x010000 * (i % 8 + 1) + 0x000100 * (i / 8 + 1);
    BOOL r = TransparentBlt(s, 1, 0, 6, 2, s, 0, 0, 6, 2, key);
    printf("selfdc %d\n", r);
    for (int y = 0; y < 4; y++) {
        for (int x = 0; x < 8; x++) {
            DWORD v = sp[y * 8 + x];
            printf("%d%d", (v >> 16) - 1, ((v >> 8) & 255) - 1);
        }
        printf("\n");
    }
    // top byte
    for (int i = 0; i < 128; i++) dp[i] = 0x7FABCDEF;
    sp[0] = 0x55000100 | 0x010000;
    TransparentBlt(d, 0, 0, 2, 1, s, 0, 0, 2, 1, key);
    printf("top %08lx %08lx\n", dp[0], dp[1]);
}

// The DIB-section cases shared by the bitmap tests and by the small Win32 program in
// tools/wine/ that records what Windows (as wine implements it) does with them. The same
// function runs against the platform's headers and against a Windows SDK: it creates a 9 x 3
// DIB section of one layout, draws into it with SetPixel, PatBlt and BitBlt, and writes as text
// the values the calls return, the colours GetPixel reads, the raw bytes of the bits and what a
// blit of the DIB onto a 32-bpp DIB gives.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

namespace dib_format_cases {

constexpr unsigned kBiRgb = 0, kBiBitfields = 3;
constexpr int kWidth = 9, kHeight = 3;

struct Case {
    const char* name;
    int bitCount;
    unsigned compression;
    bool topDown;
    unsigned masks[3];  // red, green, blue (BI_BITFIELDS only)
};

constexpr Case kCases[] = {
    {"1bpp-bottomup", 1, kBiRgb, false, {0, 0, 0}},
    {"1bpp-topdown", 1, kBiRgb, true, {0, 0, 0}},
    {"4bpp-bottomup", 4, kBiRgb, false, {0, 0, 0}},
    {"4bpp-topdown", 4, kBiRgb, true, {0, 0, 0}},
    {"8bpp-bottomup", 8, kBiRgb, false, {0, 0, 0}},
    {"8bpp-topdown", 8, kBiRgb, true, {0, 0, 0}},
    {"16bpp-555-bottomup", 16, kBiRgb, false, {0, 0, 0}},
    {"16bpp-555-topdown", 16, kBiRgb, true, {0, 0, 0}},
    {"16bpp-565-topdown", 16, kBiBitfields, true, {0xF800, 0x07E0, 0x001F}},
    {"24bpp-bottomup", 24, kBiRgb, false, {0, 0, 0}},
    {"24bpp-topdown", 24, kBiRgb, true, {0, 0, 0}},
    {"32bpp-bottomup", 32, kBiRgb, false, {0, 0, 0}},
    {"32bpp-topdown", 32, kBiRgb, true, {0, 0, 0}},
    {"32bpp-bitfields-rgbx", 32, kBiBitfields, true, {0x000000FF, 0x0000FF00, 0x00FF0000}},
};

// Colours the cases draw with: exact table entries and colours between them.
constexpr unsigned kColours[kWidth] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000,
                                       0x808080, 0x123456, 0xC0C0C0, 0x7F3F1F};

// A BITMAPINFO with room for a full colour table.
struct Info {
    BITMAPINFOHEADER header;
    unsigned colours[256];
};

inline void FillColourTable(Info& info, int bitCount) {
    // 1 bpp: navy and yellow, so a table that is not black and white shows which rule applies;
    // 4 bpp: sixteen greys and primaries; 8 bpp: a 6x6x6 cube then greys.
    if (bitCount == 1) {
        info.colours[0] = 0x000080;
        info.colours[1] = 0xFFFF00;
    } else if (bitCount == 4) {
        const unsigned t[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        for (int i = 0; i < 16; ++i) info.colours[i] = t[i];
    } else if (bitCount == 8) {
        for (int i = 0; i < 216; ++i) info.colours[i] = (i / 36 * 51) << 16 | (i / 6 % 6 * 51) << 8 | (i % 6 * 51);
        for (int i = 216; i < 256; ++i) info.colours[i] = static_cast<unsigned>((i - 216) * 6) * 0x010101u;
    }
}

inline Info MakeInfo(const Case& c) {
    Info info;
    std::memset(&info, 0, sizeof(info));
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = kWidth;
    info.header.biHeight = c.topDown ? -kHeight : kHeight;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<unsigned short>(c.bitCount);
    info.header.biCompression = c.compression;
    if (c.compression == kBiBitfields) std::memcpy(info.colours, c.masks, sizeof(c.masks));
    else FillColourTable(info, c.bitCount);
    return info;
}

inline void Append(std::string& out, const char* format, unsigned value) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), format, value);
    out += buffer;
}

inline int Stride(int bitCount) { return (kWidth * bitCount + 31) / 32 * 4; }

// Blits the DIB selected into dc onto a 32-bpp top-down DIB and appends its pixels.
inline void AppendBlitTo32(std::string& out, HDC dc) {
    Info info = MakeInfo(Case{"", 32, kBiRgb, true, {0, 0, 0}});
    void* bits = nullptr;
    HDC other = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateDIBSection(other, reinterpret_cast<BITMAPINFO*>(&info), 0, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(other, bmp);
    BitBlt(other, 0, 0, kWidth, kHeight, dc, 0, 0, 0x00CC0020);
    out += "to32";
    for (int i = 0; i < kWidth * kHeight; ++i) Append(out, " %06x", static_cast<const unsigned*>(bits)[i]);
    out += "\n";
    SelectObject(other, old);
    DeleteObject(bmp);
    DeleteDC(other);
}

// Blits a 32-bpp row of kColours onto row 2 of the DIB selected into dc.
inline void BlitFrom32(HDC dc) {
    Info info = MakeInfo(Case{"", 32, kBiRgb, true, {0, 0, 0}});
    info.header.biHeight = -1;
    void* bits = nullptr;
    HDC other = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateDIBSection(other, reinterpret_cast<BITMAPINFO*>(&info), 0, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(other, bmp);
    for (int x = 0; x < kWidth; ++x)
        static_cast<unsigned*>(bits)[x] = (kColours[x] & 0xFF) << 16 | (kColours[x] & 0xFF00) | kColours[x] >> 16;
    BitBlt(dc, 0, 2, kWidth, 1, other, 0, 0, 0x00CC0020);
    SelectObject(other, old);
    DeleteObject(bmp);
    DeleteDC(other);
}

// Runs one case and returns its record, one line per step.
inline std::string Run(const Case& c) {
    std::string out = std::string("case ") + c.name + "\n";
    Info info = MakeInfo(c);
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), 0, &bits, nullptr, 0);
    if (!bmp || !bits) return out + "refused\n";
    HGDIOBJ old = SelectObject(dc, bmp);
    out += "setpixel";
    for (int x = 0; x < kWidth; ++x) Append(out, " %06x", static_cast<unsigned>(SetPixel(dc, x, 0, kColours[x])));
    out += "\n";
    HBRUSH copy = CreateSolidBrush(0x3264C8);
    HBRUSH invert = CreateSolidBrush(0x00FF00);
    HGDIOBJ oldBrush = SelectObject(dc, copy);
    PatBlt(dc, 0, 1, 5, 1, 0x00F00021);  // PATCOPY
    SelectObject(dc, invert);
    PatBlt(dc, 3, 1, 6, 1, 0x005A0049);  // PATINVERT
    SelectObject(dc, oldBrush);
    DeleteObject(copy);
    DeleteObject(invert);
    BlitFrom32(dc);
    out += "getpixel";
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) Append(out, " %06x", static_cast<unsigned>(GetPixel(dc, x, y)));
    out += "\nbits";
    const int bytes = Stride(c.bitCount) * kHeight;
    for (int i = 0; i < bytes; ++i) Append(out, " %02x", static_cast<const unsigned char*>(bits)[i]);
    out += "\n";
    AppendBlitTo32(out, dc);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return out;
}

// Headers CreateDIBSection refuses: each line says whether a handle came back.
inline std::string RunRefusals() {
    std::string out = "refusals";
    auto attempt = [&](int width, int height, int bits, unsigned compression, unsigned clrUsed, int planes) {
        Info info = MakeInfo(Case{"", 32, kBiRgb, true, {0, 0, 0}});
        info.header.biWidth = width;
        info.header.biHeight = height;
        info.header.biBitCount = static_cast<unsigned short>(bits);
        info.header.biCompression = compression;
        info.header.biClrUsed = clrUsed;
        info.header.biPlanes = static_cast<unsigned short>(planes);
        void* p = nullptr;
        HBITMAP bmp = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), 0, &p, nullptr, 0);
        out += bmp ? " ok" : " null";
        if (bmp) DeleteObject(bmp);
    };
    attempt(4, 4, 2, kBiRgb, 0, 1);         // no 2-bpp layout
    attempt(4, 4, 7, kBiRgb, 0, 1);         // nor 7
    attempt(0, 4, 32, kBiRgb, 0, 1);        // empty width
    attempt(4, 0, 32, kBiRgb, 0, 1);        // empty height
    attempt(-4, 4, 32, kBiRgb, 0, 1);       // negative width
    attempt(4, 4, 24, kBiBitfields, 0, 1);  // bit fields only for 16 and 32
    attempt(4, 4, 8, kBiRgb, 300, 1);       // more colours than the depth holds: the first 256
    attempt(4, 4, 8, kBiRgb, 16, 1);        // fewer is fine
    attempt(4, 4, 32, 1, 0, 1);             // run-length compression is not for sections
    attempt(4, 4, 32, kBiRgb, 0, 2);        // planes other than 1
    attempt(100000, 100000, 32, kBiRgb, 0, 1);  // more memory than anyone gives
    out += "\n";
    return out;
}

}  // namespace dib_format_cases

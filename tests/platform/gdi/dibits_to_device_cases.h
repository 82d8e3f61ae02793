// SetDIBitsToDevice cases shared by the platform's tests and by the small Win32 program in
// tools/wine/ that records what Windows (as wine implements it) does with them. Each case
// copies a small DIB (4 x 4, or 5 x 3 for the packed layouts) of one layout, or a band of its
// scan lines, onto an 8 x 8 destination and writes as text the value the call returns and
// the colour GetPixel reads at every destination pixel. The same function runs against the
// platform's headers and against a Windows SDK.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

namespace dibits_to_device_cases {

constexpr unsigned kBiRgb = 0, kBiBitfields = 3;
constexpr int kSide = 8;
constexpr unsigned kBackground = 0x00EEEEEE;

enum class Target { Dib32, Dib24BottomUp, Dib8, DeviceBitmap };

struct Source {
    int bitCount;
    unsigned compression;
    bool topDown;
    int width, height;
    unsigned masks[3];  // BI_BITFIELDS only: red, green, blue
};

struct Case {
    const char* name;
    Source source;
    Target target;
    int xDest, yDest;
    unsigned width, height;
    int xSrc, ySrc;
    unsigned startScan, lines;
};

constexpr Source kBottomUp32{32, kBiRgb, false, 4, 4, {0, 0, 0}};
constexpr Source kTopDown32{32, kBiRgb, true, 4, 4, {0, 0, 0}};

constexpr Case kCases[] = {
    {"bottomup-whole", kBottomUp32, Target::Dib32, 1, 1, 4, 4, 0, 0, 0, 4},
    {"bottomup-inner-square", kBottomUp32, Target::Dib32, 1, 1, 2, 2, 1, 1, 0, 4},
    {"bottomup-band-1-2", kBottomUp32, Target::Dib32, 1, 1, 4, 4, 0, 0, 1, 2},
    {"bottomup-band-0-2", kBottomUp32, Target::Dib32, 1, 1, 4, 4, 0, 0, 0, 2},
    {"bottomup-band-past-top", kBottomUp32, Target::Dib32, 1, 1, 4, 4, 0, 0, 2, 6},
    {"bottomup-band-above-dib", kBottomUp32, Target::Dib32, 1, 1, 4, 4, 0, 0, 5, 2},
    {"bottomup-no-lines", kBottomUp32, Target::Dib32, 1, 1, 4, 4, 0, 0, 0, 0},
    {"bottomup-dest-above-left", kBottomUp32, Target::Dib32, -1, -1, 4, 4, 0, 0, 0, 4},
    {"bottomup-dest-below-right", kBottomUp32, Target::Dib32, 6, 5, 4, 4, 0, 0, 0, 4},
    {"bottomup-larger-than-dib", kBottomUp32, Target::Dib32, 1, 1, 6, 6, 0, 0, 0, 4},
    {"bottomup-xsrc-2", kBottomUp32, Target::Dib32, 1, 1, 4, 4, 2, 0, 0, 4},
    {"bottomup-ysrc-2", kBottomUp32, Target::Dib32, 1, 1, 4, 4, 0, 2, 0, 4},
    {"bottomup-ysrc-minus-1", kBottomUp32, Target::Dib32, 1, 1, 4, 4, 0, -1, 0, 4},
    {"bottomup-band-and-offset", kBottomUp32, Target::Dib32, 2, 0, 3, 3, 1, 1, 1, 3},
    {"topdown-whole", kTopDown32, Target::Dib32, 1, 1, 4, 4, 0, 0, 0, 4},
    {"topdown-inner-square", kTopDown32, Target::Dib32, 1, 1, 2, 2, 1, 1, 0, 4},
    {"topdown-band-1-2", kTopDown32, Target::Dib32, 1, 1, 4, 4, 0, 0, 1, 2},
    {"topdown-band-0-2", kTopDown32, Target::Dib32, 1, 1, 4, 4, 0, 0, 0, 2},
    {"topdown-ysrc-2", kTopDown32, Target::Dib32, 1, 1, 4, 4, 0, 2, 0, 4},
    {"topdown-more-lines-than-dib", kTopDown32, Target::Dib32, 1, 1, 4, 4, 0, 0, 0, 6},
    {"topdown-dest-above-left", kTopDown32, Target::Dib32, -2, -1, 4, 4, 0, 0, 0, 4},
    {"bottomup-24", {24, kBiRgb, false, 5, 3, {0, 0, 0}}, Target::Dib32, 1, 1, 5, 3, 0, 0, 0, 3},
    {"topdown-24-inner", {24, kBiRgb, true, 5, 3, {0, 0, 0}}, Target::Dib32, 0, 0, 3, 2, 1, 1, 0, 3},
    {"bottomup-16-555", {16, kBiRgb, false, 5, 3, {0, 0, 0}}, Target::Dib32, 1, 1, 5, 3, 0, 0, 0, 3},
    {"topdown-16-565", {16, kBiBitfields, true, 5, 3, {0xF800, 0x07E0, 0x001F}}, Target::Dib32, 1, 1, 5, 3, 0, 0, 0, 3},
    {"bottomup-8", {8, kBiRgb, false, 5, 3, {0, 0, 0}}, Target::Dib32, 1, 1, 5, 3, 0, 0, 0, 3},
    {"topdown-4", {4, kBiRgb, true, 5, 3, {0, 0, 0}}, Target::Dib32, 1, 1, 5, 3, 0, 0, 0, 3},
    {"bottomup-1-offset", {1, kBiRgb, false, 5, 3, {0, 0, 0}}, Target::Dib32, 0, 2, 4, 3, 1, 0, 0, 3},
    {"bitfields-32-rgbx", {32, kBiBitfields, true, 4, 4, {0x000000FF, 0x0000FF00, 0x00FF0000}}, Target::Dib32, 1, 1, 4, 4, 0, 0, 0, 4},
    {"onto-24-bottomup", kBottomUp32, Target::Dib24BottomUp, 1, 1, 4, 4, 0, 0, 0, 4},
    {"onto-8", kTopDown32, Target::Dib8, 1, 1, 4, 4, 0, 0, 0, 4},
    {"onto-device-bitmap", kBottomUp32, Target::DeviceBitmap, 3, 2, 4, 4, 0, 0, 1, 3},
};

// A BITMAPINFO with room for a full colour table.
struct Info {
    BITMAPINFOHEADER header;
    unsigned colours[256];
};

// The colour of source pixel (x, row) with the row counted in memory order, as 0x00RRGGBB.
inline unsigned ColourAt(int x, int row) {
    return static_cast<unsigned>(0x30 + 0x40 * row) << 16 | static_cast<unsigned>(0x20 + 0x30 * x) << 8 |
           static_cast<unsigned>(row * 16 + x);
}

inline Info MakeInfo(const Source& s) {
    Info info;
    std::memset(&info, 0, sizeof(info));
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = s.width;
    info.header.biHeight = s.topDown ? -s.height : s.height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<unsigned short>(s.bitCount);
    info.header.biCompression = s.compression;
    if (s.compression == kBiBitfields) std::memcpy(info.colours, s.masks, sizeof(s.masks));
    // Indexed layouts: entry i is the colour of the i-th pixel in memory order.
    if (s.bitCount <= 8)
        for (int i = 0; i < (1 << s.bitCount); ++i) info.colours[i] = ColourAt(i % s.width, i / s.width % s.height);
    return info;
}

inline int Stride(const Source& s) { return (s.width * s.bitCount + 31) / 32 * 4; }

// Packs one pixel of the source's layout into its row.
inline void PutPixel(const Source& s, unsigned char* row, int x, int row_index) {
    const unsigned c = ColourAt(x, row_index);
    const unsigned r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
    const unsigned index = static_cast<unsigned>(row_index * s.width + x) % (1u << (s.bitCount <= 8 ? s.bitCount : 1));
    switch (s.bitCount) {
        case 1: row[x / 8] |= static_cast<unsigned char>((index & 1) << (7 - x % 8)); break;
        case 4: row[x / 2] |= static_cast<unsigned char>(index << (x % 2 ? 0 : 4)); break;
        case 8: row[x] = static_cast<unsigned char>(index); break;
        case 16: {
            const unsigned v = s.compression == kBiBitfields ? (r >> 3) << 11 | (g >> 2) << 5 | b >> 3
                                                             : (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
            row[2 * x] = static_cast<unsigned char>(v), row[2 * x + 1] = static_cast<unsigned char>(v >> 8);
            break;
        }
        case 24: row[3 * x] = static_cast<unsigned char>(b), row[3 * x + 1] = static_cast<unsigned char>(g),
                 row[3 * x + 2] = static_cast<unsigned char>(r);
            break;
        default: {
            // 32 bits: B,G,R,X, or R,G,B,X for the swapped bit fields.
            const bool swapped = s.compression == kBiBitfields;
            row[4 * x] = static_cast<unsigned char>(swapped ? r : b), row[4 * x + 1] = static_cast<unsigned char>(g);
            row[4 * x + 2] = static_cast<unsigned char>(swapped ? b : r), row[4 * x + 3] = 0;
        }
    }
}

// The whole DIB's bits, rows in memory order; a band starts at its first row in the buffer
// the call is given (see Run).
inline void MakeBits(const Source& s, unsigned char* bits) {
    std::memset(bits, 0, static_cast<std::size_t>(Stride(s) * s.height));
    for (int row = 0; row < s.height; ++row)
        for (int x = 0; x < s.width; ++x) PutPixel(s, bits + row * Stride(s), x, row);
}

inline HBITMAP MakeTarget(HDC dc, Target t) {
    Info info;
    std::memset(&info, 0, sizeof(info));
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = kSide;
    info.header.biHeight = t == Target::Dib24BottomUp ? kSide : -kSide;
    info.header.biPlanes = 1;
    info.header.biBitCount = t == Target::Dib24BottomUp ? 24 : t == Target::Dib8 ? 8 : 32;
    if (t == Target::Dib8)
        for (int i = 0; i < 256; ++i) info.colours[i] = (i / 36 % 6 * 51) << 16 | (i / 6 % 6 * 51) << 8 | (i % 6 * 51);
    if (t == Target::DeviceBitmap) return CreateBitmap(kSide, kSide, 1, 32, nullptr);
    void* bits = nullptr;
    return CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), 0, &bits, nullptr, 0);
}

// The buffer a call is given holds the band's rows in the DIB's own memory order: for a
// bottom-up DIB scan `startScan` first, for a top-down one scan startScan + lines - 1 first.
// Rows the band names that the DIB lacks are left zero.
inline std::string Run(const Case& c) {
    std::string out = "case " + std::string(c.name) + "\n";
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = MakeTarget(dc, c.target);
    HGDIOBJ old = SelectObject(dc, target);
    RECT all{0, 0, kSide, kSide};
    HBRUSH back = CreateSolidBrush(kBackground);
    FillRect(dc, &all, back);
    DeleteObject(back);

    Info info = MakeInfo(c.source);
    const int stride = Stride(c.source);
    unsigned char whole[4 * 8 * 8] = {};
    MakeBits(c.source, whole);
    unsigned char band[4 * 8 * 16] = {};
    for (unsigned k = 0; k < c.lines && k < 16; ++k) {
        const int scan = c.source.topDown ? static_cast<int>(c.startScan + c.lines - 1 - k) : static_cast<int>(c.startScan + k);
        if (scan < 0 || scan >= c.source.height) continue;
        const int memoryRow = c.source.topDown ? c.source.height - 1 - scan : scan;
        std::memcpy(band + k * stride, whole + memoryRow * stride, static_cast<std::size_t>(stride));
    }
    const int result = SetDIBitsToDevice(dc, c.xDest, c.yDest, c.width, c.height, c.xSrc, c.ySrc, c.startScan,
                                         c.lines, band, reinterpret_cast<BITMAPINFO*>(&info), 0);
    char line[32];
    std::snprintf(line, sizeof(line), "returns %d\n", result);
    out += line;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const unsigned v = GetPixel(dc, x, y);
            std::snprintf(line, sizeof(line), x ? " %06x" : "%06x", v == kBackground ? 0u : v);
            out += v == kBackground ? (x ? " ......" : "......") : line;
        }
        out += "\n";
    }
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    return out;
}

// Calls Windows refuses: the values they return, in one line.
inline std::string RunRefusals() {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = MakeTarget(dc, Target::Dib32);
    HGDIOBJ old = SelectObject(dc, target);
    Info info = MakeInfo(kBottomUp32);
    unsigned char bits[64] = {};
    auto* bi = reinterpret_cast<BITMAPINFO*>(&info);
    std::string out = "refusals";
    auto note = [&](int v) { out += " " + std::to_string(v); };
    note(SetDIBitsToDevice(nullptr, 0, 0, 4, 4, 0, 0, 0, 4, bits, bi, 0));
    note(SetDIBitsToDevice(dc, 0, 0, 4, 4, 0, 0, 0, 4, nullptr, bi, 0));
    note(SetDIBitsToDevice(dc, 0, 0, 4, 4, 0, 0, 0, 4, bits, nullptr, 0));
    note(SetDIBitsToDevice(dc, 0, 0, 4, 4, 0, 0, 0, 4, bits, bi, 2));
    info.header.biPlanes = 2;
    note(SetDIBitsToDevice(dc, 0, 0, 4, 4, 0, 0, 0, 4, bits, bi, 0));
    info.header.biPlanes = 1, info.header.biBitCount = 7;
    note(SetDIBitsToDevice(dc, 0, 0, 4, 4, 0, 0, 0, 4, bits, bi, 0));
    info.header.biBitCount = 32, info.header.biWidth = 0;
    note(SetDIBitsToDevice(dc, 0, 0, 4, 4, 0, 0, 0, 4, bits, bi, 0));
    info.header.biWidth = 4, info.header.biCompression = 1;  // run-length encoding
    note(SetDIBitsToDevice(dc, 0, 0, 4, 4, 0, 0, 0, 4, bits, bi, 0));
    out += "\n";
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    return out;
}

}  // namespace dibits_to_device_cases

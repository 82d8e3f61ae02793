// Fuzzes CreateDIBSection with random headers, colour tables and bit fields, then draws into
// and blits out of what it made: any BITMAPINFO must be refused or give a working bitmap,
// without a crash, an out-of-bounds access or a leaked object.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/gdi/gdi.h"

namespace {

// A header followed by room for the largest colour table, as callers lay it out.
struct FullInfo {
    BITMAPINFOHEADER header;
    std::uint32_t table[256];
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FullInfo info;
    std::memset(&info, 0, sizeof(info));
    std::memcpy(&info, data, std::min(size, sizeof(info)));
    // Keep the sizes small so each run is quick, and the header within the buffer.
    info.header.biSize = std::min<DWORD>(info.header.biSize, sizeof(BITMAPINFOHEADER));
    info.header.biWidth %= 64;
    info.header.biHeight %= 64;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) return 0;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    SetPixel(dc, 1, 1, RGB(12, 200, 99));
    PatBlt(dc, 0, 0, 70, 70, PATINVERT);
    HDC other = CreateCompatibleDC(nullptr);
    HBITMAP screen = CreateBitmap(70, 70, 1, 32, nullptr);
    HGDIOBJ oldOther = SelectObject(other, screen);
    BitBlt(other, 0, 0, 70, 70, dc, 0, 0, SRCCOPY);
    BitBlt(dc, 0, 0, 70, 70, other, 3, 3, SRCINVERT);
    GetPixel(dc, 2, 2);
    SelectObject(other, oldOther);
    DeleteObject(screen);
    DeleteDC(other);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
    return 0;
}

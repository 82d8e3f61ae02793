// Fuzzes CreateDIBSection with random headers, colour tables and bit fields, then draws into
// and blits out of what it made: any BITMAPINFO must be refused or give a working bitmap,
// without a crash, an out-of-bounds access or a leaked object. The same header goes to
// SetDIBitsToDevice with a band and rectangle taken from the input, and bits exactly as long
// as the band's rows the DIB has, so a read past them is caught.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gdi/gdi.h"

namespace {

// A header followed by room for the largest colour table, as callers lay it out.
struct FullInfo {
    BITMAPINFOHEADER header;
    std::uint32_t table[256];
};

// The bytes a band of `lines` scans from `first` holds: whole rows, up to the DIB's last scan.
std::size_t BandBytes(const BITMAPINFOHEADER& h, std::uint32_t first, std::uint32_t lines) {
    if (h.biWidth <= 0 || h.biBitCount == 0 || h.biBitCount > 32) return 0;
    const std::int64_t scans = h.biHeight < 0 ? -std::int64_t{h.biHeight} : std::int64_t{h.biHeight};
    const std::int64_t rows = std::clamp<std::int64_t>(scans - first, 0, lines);
    const std::int64_t stride = (std::int64_t{h.biWidth} * h.biBitCount + 31) / 32 * 4;
    return static_cast<std::size_t>(stride * rows);
}

// Copies a band of the DIB the header describes onto a 32-bit bitmap and onto a 24-bit DIB
// section, from a place and with a size the input chooses.
void SetBitsToDevice(const BITMAPINFO* info, const std::uint8_t* data, std::size_t size) {
    std::int8_t place[6] = {};
    const std::size_t after = sizeof(FullInfo);
    if (size > after) std::memcpy(place, data + after, std::min(size - after, sizeof(place)));
    const auto first = static_cast<std::uint32_t>(static_cast<std::uint8_t>(place[4]) % 70);
    const auto lines = static_cast<std::uint32_t>(static_cast<std::uint8_t>(place[5]) % 70);
    std::vector<std::uint8_t> bits(BandBytes(info->bmiHeader, first, lines));
    for (std::size_t i = 0; i < bits.size(); ++i) bits[i] = static_cast<std::uint8_t>(i * 37);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateBitmap(40, 40, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, target);
    // An empty band passes a pointer to nothing: the call must not read through it.
    const std::uint8_t none = 0;
    const void* band = bits.empty() ? &none : bits.data();
    SetDIBitsToDevice(dc, place[0], place[1], static_cast<DWORD>(place[2]) & 0x7F, static_cast<DWORD>(place[3]) & 0x7F,
                      place[2] / 4, place[3] / 4, first, lines, band, info, DIB_RGB_COLORS);
    BITMAPINFO deep{};
    deep.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    deep.bmiHeader.biWidth = 33;
    deep.bmiHeader.biHeight = 21;
    deep.bmiHeader.biPlanes = 1;
    deep.bmiHeader.biBitCount = 24;
    void* deepBits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &deep, DIB_RGB_COLORS, &deepBits, nullptr, 0);
    SelectObject(dc, section);
    SetDIBitsToDevice(dc, place[1], place[0], 50, 50, place[3] / 8, place[2] / 8, first, lines, band, info,
                      DIB_RGB_COLORS);
    SelectObject(dc, old);
    DeleteObject(section);
    DeleteObject(target);
    DeleteDC(dc);
}

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
    SetBitsToDevice(reinterpret_cast<BITMAPINFO*>(&info), data, size);
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

// Fuzzes DrawTextA (and the other text calls on the same input) with random text, format
// flags, rectangles and fonts: any input must draw or measure without a crash, an
// out-of-bounds access or a leaked object.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/gdi/gdi.h"

namespace {

template <typename T>
T Take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    std::size_t n = std::min(sizeof(T), size);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

const char* const kFaces[] = {"MS Sans Serif", "Marlett", "Courier New", "Times New Roman", "No Such Face"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    UINT format = Take<std::uint32_t>(data, size);
    auto left = Take<std::int16_t>(data, size);
    auto top = Take<std::int16_t>(data, size);
    auto width = Take<std::int16_t>(data, size);
    auto height = Take<std::int16_t>(data, size);
    auto fontHeight = Take<std::int32_t>(data, size);
    auto angle = Take<std::int32_t>(data, size);
    auto face = Take<std::uint8_t>(data, size);
    auto align = Take<std::uint8_t>(data, size);
    std::string text(reinterpret_cast<const char*>(data), size);  // may hold NULs

    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(64, 32, 1, (face & 0x80) ? 1 : 32, nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    LOGFONTA lf;
    // Heights stay small enough that one input runs quickly; huge ones are tested elsewhere.
    lf.lfHeight = fontHeight % 200;
    lf.lfEscapement = angle;
    lf.lfWeight = (face & 0x10) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = face & 0x20;
    lf.lfUnderline = face & 0x40;
    std::strcpy(lf.lfFaceName, kFaces[(face & 0x0F) % 5]);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, (align & 0x80) ? OPAQUE : TRANSPARENT);
    SetTextAlign(dc, align & 0x1F);

    RECT r{left, top, left + width, top + height};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    RECT calc{left, top, left + width, top + height};
    DrawTextA(dc, text.c_str(), -1, &calc, format | DT_CALCRECT);
    TextOutA(dc, left, top, text.data(), static_cast<int>(text.size()));
    ExtTextOutA(dc, left, top, format & 7, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
    SIZE extent;
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &extent);

    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return 0;
}

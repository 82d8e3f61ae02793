// Test helper: a region of a canvas as text, one character per pixel, so a test can state
// the pixels Windows draws as a picture (rows joined with '/' or newlines).
#pragma once

#include <map>
#include <string>

#include "support/gdi_test.h"

namespace brimlox::test {

// The characters the shape tests use for their colours; anything else shows as '?'.
inline char PixelCode(COLORREF c) {
    static const std::map<COLORREF, char> codes = {
        {RGB(255, 255, 255), '.'}, {RGB(0, 0, 0), '#'},    {RGB(255, 0, 0), 'R'},    {RGB(0, 0, 255), 'B'},
        {RGB(0, 255, 0), 'G'},     {RGB(10, 10, 10), 'l'}, {RGB(20, 20, 20), 'h'},   {RGB(30, 30, 30), 's'},
        {RGB(40, 40, 40), 'd'},    {RGB(50, 50, 50), 'f'}, {RGB(60, 60, 60), 'w'},   {RGB(70, 70, 70), 'F'},
    };
    auto it = codes.find(c);
    return it == codes.end() ? '?' : it->second;
}

// Rows y0..y1-1 of columns x0..x1-1, rows separated by `separator`.
inline std::string PixelMap(const Canvas& c, int x0, int y0, int x1, int y1, char separator = '\n') {
    std::string out;
    for (int y = y0; y < y1; ++y) {
        if (y > y0) out += separator;
        for (int x = x0; x < x1; ++x) out += PixelCode(c.At(x, y));
    }
    return out;
}

}  // namespace brimlox::test

// Test support: a fixture that fails a test which leaks GDI objects, memory DCs over fresh
// bitmaps, and golden-image comparison with actual and diff images written on mismatch.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/handles.h"
#include "platform/gdi/surface.h"

namespace brimlox::test {

class GdiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

private:
    std::size_t baseline_ = 0;
};

// A memory DC with a fresh 32-bpp bitmap of the given size, filled with one colour.
// Freed (DC and bitmap) on destruction.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255));
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    const gdi::Surface& surface() const;

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Compares a surface with tests/golden/<name>.png. Up to `budget` pixels may differ.
// BRIMLOX_UPDATE_GOLDEN=1 rewrites the golden image instead.
::testing::AssertionResult MatchesGolden(const gdi::Surface& surface, const std::string& name, int budget = 0);

// Where tests may write files (created on demand).
std::string OutputDir();

}  // namespace brimlox::test

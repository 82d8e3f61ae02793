// A brush made ready for one DC: its colours turned into the target's device values, the
// hatch background decided by the DC's background mode and colour, and the pattern aligned
// to the DC's brush origin. Fills read it pixel by pixel or as one solid value.
#pragma once

#include <array>
#include <cstdint>

#include "platform/gdi/dc.h"

namespace brimlox::gdi::raster {

struct BrushPattern {
    bool null = true;  // a null (hollow) brush, or no brush: paints nothing
    bool solid = false;
    std::uint32_t solidValue = 0;
    // The cells are read only for a brush that is neither null nor solid, and realizing such a
    // brush writes all 64 of them; they are left unset otherwise, since every fill and blit
    // realizes a brush and most brushes are solid.
    std::array<std::uint32_t, 64> values;
    std::array<bool, 64> opaque;  // false where a transparent hatch background shows through
    int originX = 0;                // surface coordinates of pattern cell (0, 0)
    int originY = 0;

    int Cell(int x, int y) const { return (((y - originY) & 7) << 3) | ((x - originX) & 7); }
    std::uint32_t At(int x, int y) const { return solid ? solidValue : values[Cell(x, y)]; }
    bool OpaqueAt(int x, int y) const { return solid || opaque[Cell(x, y)]; }
    bool FullyOpaque() const;
};

// A colour as the target stores it. On a mono target a colour becomes the nearer of black
// and white (white when R + G + B >= 383). Brushes on mono targets are dithered instead.
std::uint32_t DeviceColor(const Surface& target, COLORREF color);
// The device value a pen or brush of this colour draws with: as above, except that on a 1-bpp
// DIB a colour that is not in its table draws as the entry the background colour maps to when
// it is the background colour, and as the other entry when it is not.
std::uint32_t DrawingColor(const Surface& target, COLORREF color, COLORREF back);

BrushPattern RealizeBrush(const DcObject& dc, HBRUSH brush);

}  // namespace brimlox::gdi::raster

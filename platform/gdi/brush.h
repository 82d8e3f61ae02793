// Brush objects: solid, null, hatched and pattern brushes, and the system-colour brushes that
// follow the current colour scheme.
#pragma once

#include <array>
#include <cstdint>

#include "platform/gdi/handles.h"

namespace brimlox::gdi {

class Surface;

class BrushObject : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Brush;
    BrushObject() : GdiObject(ObjectKind::Brush) {}

    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    int sysColorIndex = -1;  // >= 0 for GetSysColorBrush brushes: the colour is looked up live
    bool dcBrush = false;    // the stock DC_BRUSH: colour comes from the DC
    // BS_PATTERN: an 8x8 copy of the pattern bitmap, as device values, and whether it was mono.
    std::array<std::uint32_t, 64> pattern{};
    bool patternMono = false;

    COLORREF EffectiveColor() const;
};

// The 8x8 hatch bit for (x, y) of a hatch style: true where the hatch line is.
bool HatchBit(int hatch, int x, int y);

}  // namespace brimlox::gdi

// Font3dConst: how a control draws its caption or glyphs: flat, sunk into the face, or raised
// out of it. One enumeration of the library's interface, shared by every control that has the
// property.
#pragma once

#include <cstdint>

namespace brimlox::controls {

enum Font3dConst : std::int16_t { Raised3D = -1, Flat = 0, Inset3D = 1 };

}  // namespace brimlox::controls

// Snapping twip lengths to whole screen pixels, so that a control's size and position in
// twips always map onto the pixel grid the same way.
#pragma once

#include <cstdint>

namespace brimlox::foundation {

// The length rounded toward zero to whole pixels, in twips, at the host's twips per pixel.
std::int32_t SnapToPixelsX(std::int32_t twips);
std::int32_t SnapToPixelsY(std::int32_t twips);

// The same at a given scale. A scale of 0 or less has no pixel grid: the length comes back
// unchanged rather than dividing by zero.
std::int32_t SnapToPixels(std::int32_t twips, float twipsPerPixel);

}  // namespace brimlox::foundation

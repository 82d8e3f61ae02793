#include "foundation/helpers/pixels.h"

#include <cmath>

#include "foundation/helpers/colour.h"
#include "platform/host/runtime.h"

namespace brimlox::foundation {

std::int32_t SnapToPixels(std::int32_t twips, float twipsPerPixel) {
    if (!(twipsPerPixel > 0)) return twips;
    double pixels = std::trunc(static_cast<double>(twips) / twipsPerPixel);
    return RoundHalfEven(pixels * twipsPerPixel);
}

std::int32_t SnapToPixelsX(std::int32_t twips) {
    return SnapToPixels(twips, static_cast<float>(host::Screen().TwipsPerPixelX));
}

std::int32_t SnapToPixelsY(std::int32_t twips) {
    return SnapToPixels(twips, static_cast<float>(host::Screen().TwipsPerPixelY));
}

}  // namespace brimlox::foundation

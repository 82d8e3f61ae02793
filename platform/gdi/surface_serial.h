// Telling surfaces apart over time: a surface freed and a later one allocated at the same
// address are different pixels, so code that remembers surfaces (the drawing trace) keys them
// by a serial number given to each pixel buffer when it is allocated.
#pragma once

#include <cstdint>

namespace brimlox::gdi {

class Surface;

// A number no other pixel buffer of this process has had (never 0 for a live surface).
std::uint64_t SurfaceSerial(const Surface& surface);

}  // namespace brimlox::gdi

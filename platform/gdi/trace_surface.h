// For code outside the GDI that writes a surface's pixels directly (the screen composition):
// saying so lets a drawing trace describe the new pixels before the next call draws there.
#pragma once

namespace brimlox::gdi {

class Surface;

void TraceSurfaceChanged(const Surface& surface);

}  // namespace brimlox::gdi

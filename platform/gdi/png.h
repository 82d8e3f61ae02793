// PNG output of surfaces (libpng). Used by tests, the gallery and the trace replayer.
#pragma once

#include <string>

#include "platform/gdi/surface.h"

namespace brimlox::gdi {

// Writes the surface as an 8-bit RGB PNG. False with a message when the file can't be written.
bool WriteSurfacePng(const Surface& surface, const std::string& path, std::string* error = nullptr);

// Reads an 8-bit RGB or RGBA PNG into a new 32-bpp surface (alpha is dropped). nullptr with a
// message on a missing or malformed file.
std::unique_ptr<Surface> ReadSurfacePng(const std::string& path, std::string* error = nullptr);

}  // namespace brimlox::gdi

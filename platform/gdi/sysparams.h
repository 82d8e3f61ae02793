// System parameters: the non-client metrics and the six system fonts that
// SystemParametersInfoA reports. The values come from one table in sysparams.cpp, given
// for 96 dots per inch and scaled to the configured twips per pixel.
#pragma once

#include "platform/gdi/text.h"

#include "platform/compat/push_x11_macros.h"

namespace brimlox::gdi {

// The six system fonts in the order of their font indexes: icon title, caption, small
// caption, menu, status, message.
enum class SystemFont { IconTitle, Caption, SmallCaption, Menu, Status, Message };

// The LOGFONT of a system font at the current twips per pixel.
LOGFONTA SystemLogFont(SystemFont which);

// The whole record as SPI_GETNONCLIENTMETRICS fills it (cbSize 340).
NONCLIENTMETRICSA SystemNonClientMetrics();

// A length given for 96 dots per inch, at the current twips per pixel (rounded).
int ScaleFrom96Dpi(int pixels);

}  // namespace brimlox::gdi

#include "platform/compat/pop_x11_macros.h"

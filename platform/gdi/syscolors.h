// The system colour table: the classic Windows scheme, changeable at run time.
#pragma once

#include "platform/gdi/wintypes.h"

namespace brimlox::gdi {

// The 31 colours of the classic scheme, indexed by COLOR_*.
extern const COLORREF kClassicSysColors[SYSCOLOR_COUNT];

// Restores the classic scheme (tests use this to undo SetSysColors).
void ResetSysColors();

}  // namespace brimlox::gdi

// The bevel painter: turns a BevelConst style into edge drawing along the shared working
// rectangle and leaves that rectangle shrunk to the area inside the bevel, which callers then
// use as the interior.
#pragma once

#include <cstdint>

#include "platform/gdi/wintypes.h"

namespace brimlox::foundation {

// Bevel styles; also the BorderStyle of several controls.
enum BevelConst : std::int16_t {
    NoBevel = 0,
    Inset = 1,
    Outlined = 2,
    Bump = 3,
    Raised = 4,
    Dip = 5,
    Etched = 6,
    SoftRaised = 7,
    SoftInset = 8,
    FlatOutline = 9,
    MonoOutline = 10,
};

// The working rectangle DrawBevel draws along (pixels). One rectangle serves every control of
// the UI thread: a caller fills it (usually from GetClientRect) right before DrawBevel.
extern RECT workRect;

// Draws `style` on workRect with the DrawEdge side flags `flags` (usually BF_RECT) and shrinks
// workRect by 4 on each side; NoBevel and unknown styles draw nothing and leave it unchanged.
void DrawBevel(HDC hdc, int style, UINT flags);

}  // namespace brimlox::foundation

// The background erase of a host window (a form or a windowed control).
#pragma once

#include "platform/gdi/wintypes.h"

namespace brimlox::host {

// Fills `area` (client coordinates of `hwnd`) with `brush`, except where a visible child window
// lies. Windows of the host clip their children: each child paints its whole window rectangle
// itself when the parent paints (the platform invalidates the children a parent's paint
// covers), so filling under it first would only be painted over.
void FillAroundChildWindows(HWND hwnd, HDC dc, const RECT& area, HBRUSH brush);

}  // namespace brimlox::host

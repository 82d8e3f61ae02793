// Object management shared by every kind: stock objects, selection into DCs and deletion.
#pragma once

#include "platform/gdi/handles.h"

namespace brimlox::gdi {

// The 1x1 mono bitmap every new memory DC starts with (never deleted).
HBITMAP DefaultMonoBitmap();

// Drops one DC's selection of an object, freeing it if it was deleted while selected.
void ReleaseSelection(HDC hdc, HGDIOBJ object);

}  // namespace brimlox::gdi

// The module half of the Windows kernel API as this platform provides it. A process here has
// one module, the program itself; its handle is the instance handle windows carry.
#pragma once

#include "platform/gdi/wintypes.h"

// The handle of the program's module for a null name; nullptr for any other name, since no
// other module is ever loaded.
HMODULE GetModuleHandleA(LPCSTR moduleName);

// Copies the full path of a module's file into `buffer` and returns its length without the
// terminator. A null handle means the program. An unknown handle or an unreadable path gives
// 0. A buffer too small receives the first size - 1 characters and a terminator, and the
// result is `size`, as Windows reports truncation.
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);

// The global memory half of the Windows kernel API: blocks handed between a program and the
// system by handle, as the clipboard takes them. A GMEM_FIXED block's handle is its address; a
// GMEM_MOVEABLE block's handle is a separate value that GlobalLock turns into the address,
// counting locks. Calls, arguments and failure results are those of Windows.
#pragma once

#include <cstddef>

#include "platform/gdi/wintypes.h"

using HGLOBAL = HANDLE;
using SIZE_T = std::size_t;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;
constexpr UINT GMEM_INVALID_HANDLE = 0x8000;

// A new block of `bytes` (zeroed with GMEM_ZEROINIT); nullptr when there is no memory or the
// flags ask for something this platform does not provide.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// The block's address: a moveable block's lock count goes up by one (nullptr for a moveable
// block of 0 bytes, which has no memory); a fixed block is its own address.
void* GlobalLock(HGLOBAL mem);
// Counts one lock off a moveable block. Nonzero while the block stays locked; FALSE when the
// count reached zero, for a block that was not locked, and for a fixed block.
WINBOOL GlobalUnlock(HGLOBAL mem);
// The block's size in bytes as allocated; 0 for a handle that is no block.
SIZE_T GlobalSize(HGLOBAL mem);
// Frees the block: nullptr on success, `mem` itself for a handle that is no block.
HGLOBAL GlobalFree(HGLOBAL mem);
// The lock count of a moveable block (0 for a fixed block) in the low byte;
// GMEM_INVALID_HANDLE for a handle that is no block.
UINT GlobalFlags(HGLOBAL mem);

namespace brimlox::kernel {

// Live blocks, for leak checks in tests.
std::size_t LiveGlobalBlocks();

}  // namespace brimlox::kernel

#include "platform/kernel/global_memory.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>

namespace {

constexpr UINT kKnownFlags = GMEM_MOVEABLE | GMEM_ZEROINIT;
// Windows keeps a moveable block's lock count in one byte and stops counting at its top.
constexpr unsigned kMaxLocks = 0xFF;

struct Block {
    std::unique_ptr<std::byte[]> bytes;
    SIZE_T size = 0;
    bool moveable = false;
    unsigned locks = 0;
};

// Every live block by its handle. A moveable block's handle is the address of its record,
// which no block's memory can share; a fixed block's handle is the address of its memory.
// The blocks belong to the process, so any thread may pass them on.
struct Table {
    std::mutex lock;
    std::map<HGLOBAL, std::unique_ptr<Block>> blocks;
};

Table& Blocks() {
    static Table table;
    return table;
}

Block* Find(Table& t, HGLOBAL mem) {
    auto it = t.blocks.find(mem);
    return it == t.blocks.end() ? nullptr : it->second.get();
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (flags & ~kKnownFlags) return nullptr;
    auto block = std::make_unique<Block>();
    block->moveable = (flags & GMEM_MOVEABLE) != 0;
    block->size = bytes;
    // A fixed block of 0 bytes still has an address of its own; a moveable one has none.
    if (bytes > 0 || !block->moveable) {
        block->bytes.reset(new (std::nothrow) std::byte[bytes > 0 ? bytes : 1]);
        if (!block->bytes) return nullptr;
        if (flags & GMEM_ZEROINIT) std::memset(block->bytes.get(), 0, bytes);
    }
    HGLOBAL handle = block->moveable ? static_cast<HGLOBAL>(block.get()) : static_cast<HGLOBAL>(block->bytes.get());
    Table& t = Blocks();
    std::lock_guard guard(t.lock);
    t.blocks.emplace(handle, std::move(block));
    return handle;
}

void* GlobalLock(HGLOBAL mem) {
    Table& t = Blocks();
    std::lock_guard guard(t.lock);
    Block* b = Find(t, mem);
    if (!b || !b->bytes) return nullptr;
    if (b->moveable && b->locks < kMaxLocks) ++b->locks;
    return b->bytes.get();
}

WINBOOL GlobalUnlock(HGLOBAL mem) {
    Table& t = Blocks();
    std::lock_guard guard(t.lock);
    Block* b = Find(t, mem);
    if (!b || !b->moveable || b->locks == 0) return FALSE;
    if (b->locks < kMaxLocks) --b->locks;
    return b->locks > 0 ? TRUE : FALSE;
}

SIZE_T GlobalSize(HGLOBAL mem) {
    Table& t = Blocks();
    std::lock_guard guard(t.lock);
    Block* b = Find(t, mem);
    return b ? b->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL mem) {
    Table& t = Blocks();
    std::lock_guard guard(t.lock);
    return t.blocks.erase(mem) ? nullptr : mem;
}

UINT GlobalFlags(HGLOBAL mem) {
    Table& t = Blocks();
    std::lock_guard guard(t.lock);
    Block* b = Find(t, mem);
    return b ? b->locks : GMEM_INVALID_HANDLE;
}

namespace brimlox::kernel {

std::size_t LiveGlobalBlocks() {
    Table& t = Blocks();
    std::lock_guard guard(t.lock);
    return t.blocks.size();
}

}  // namespace brimlox::kernel

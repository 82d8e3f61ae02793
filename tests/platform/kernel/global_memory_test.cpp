// Global memory blocks: a moveable block's handle is not its address and counts its locks, a
// fixed block is its own address, and freed or foreign handles are refused.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/kernel/global_memory.h"

namespace brimlox::kernel {
namespace {

TEST(GlobalMemory, MoveableBlocksCountLocksAndFixedBlocksAreTheirAddress) {
    const std::size_t live = LiveGlobalBlocks();
    HGLOBAL moveable = GlobalAlloc(GHND, 6);
    ASSERT_NE(moveable, nullptr);
    EXPECT_EQ(GlobalSize(moveable), 6u);
    auto* p = static_cast<char*>(GlobalLock(moveable));
    ASSERT_NE(p, nullptr);
    EXPECT_NE(static_cast<void*>(p), moveable);
    EXPECT_EQ(std::memcmp(p, "\0\0\0\0\0\0", 6), 0);  // GMEM_ZEROINIT
    std::memcpy(p, "hello", 6);
    EXPECT_EQ(GlobalLock(moveable), p);
    EXPECT_EQ(GlobalFlags(moveable), 2u);
    // Nonzero while still locked, then FALSE at zero and for a block not locked at all.
    EXPECT_TRUE(GlobalUnlock(moveable));
    EXPECT_FALSE(GlobalUnlock(moveable));
    EXPECT_FALSE(GlobalUnlock(moveable));
    EXPECT_STREQ(static_cast<char*>(GlobalLock(moveable)), "hello");
    GlobalUnlock(moveable);

    HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 3);
    EXPECT_EQ(GlobalLock(fixed), fixed);
    EXPECT_FALSE(GlobalUnlock(fixed));
    EXPECT_EQ(GlobalSize(fixed), 3u);
    // A moveable block of 0 bytes has no memory to lock.
    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
    EXPECT_NE(empty, nullptr);
    EXPECT_EQ(GlobalLock(empty), nullptr);
    EXPECT_EQ(GlobalSize(empty), 0u);
    EXPECT_EQ(LiveGlobalBlocks(), live + 3);

    for (HGLOBAL h : {moveable, fixed, empty}) EXPECT_EQ(GlobalFree(h), nullptr);
    EXPECT_EQ(LiveGlobalBlocks(), live);
    // Freed and foreign handles are no blocks.
    int local = 0;
    for (HGLOBAL h : {moveable, static_cast<HGLOBAL>(&local)}) {
        EXPECT_EQ(GlobalFree(h), h);
        EXPECT_EQ(GlobalLock(h), nullptr);
        EXPECT_EQ(GlobalSize(h), 0u);
        EXPECT_EQ(GlobalFlags(h), GMEM_INVALID_HANDLE);
    }
    EXPECT_EQ(GlobalAlloc(0x8000, 4), nullptr);  // a flag this platform does not provide
}

}  // namespace
}  // namespace brimlox::kernel

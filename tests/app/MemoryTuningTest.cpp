#include "app/MemoryTuning.h"

#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

#if defined(__GLIBC__)
// Under AddressSanitizer its own allocator takes every malloc and free: glibc's is left
// untuned, and mallinfo2 tells nothing about the blocks.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kGlibcAllocates = false;
#else
constexpr bool kGlibcAllocates = true;
#endif

TEST(MemoryTuning, FreedSmallBlocksAreNotHeldBackForALaterMerge)
{
    if (!kGlibcAllocates)
        GTEST_SKIP() << "AddressSanitizer's allocator stands in for glibc's";
    orvella::app::tuneAllocatorForLargeLists();
    std::vector<void *> blocks;
    for (int i = 0; i < 1000; ++i)
        blocks.push_back(std::malloc(40));
    for (void *block : blocks)
        std::free(block);
    // A few stay in the thread's own cache; none may wait in the fast bins.
    EXPECT_EQ(mallinfo2().smblks, 0u);
}

TEST(MemoryTuning, LargeBlocksStayOutsideTheHeapAfterOneIsFreed)
{
    if (!kGlibcAllocates)
        GTEST_SKIP() << "AddressSanitizer's allocator stands in for glibc's";
    orvella::app::tuneAllocatorForLargeLists();
    // Kept where the compiler cannot drop a block that nothing reads.
    static void *volatile block = nullptr;
    block = std::malloc(30 << 20);
    std::free(block);
    const std::size_t mapped = mallinfo2().hblks;
    block = std::malloc(20 << 20);
    EXPECT_EQ(mallinfo2().hblks, mapped + 1);
    std::free(block);
}
#endif

} // namespace

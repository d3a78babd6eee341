#include "support/heaptuning.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

#if defined(__GLIBC__)
// Bytes of freed small blocks the allocator holds in its fast bins after `count` blocks of 32 bytes
// were allocated and freed (more than the per-thread cache keeps, so the rest reach the bins).
std::size_t FastBinBytesAfterFreeing(int count) {
    std::vector<void*> blocks;
    for (int i = 0; i < count; ++i)
        blocks.push_back(std::malloc(32));
    for (void* block : blocks)
        std::free(block);
    return mallinfo2().fsmblks;
}
#endif

TEST(HeapTuning, FreedSmallBlocksAreMergedAtOnceInsteadOfHeldInFastBins) {
#if defined(__GLIBC__)
    if (!TuneHeapForManySmallBlocks())
        GTEST_SKIP() << "the allocator of this build is not glibc's";
    // With glibc's default the freed blocks are held (this shows the measure can see them)...
    ASSERT_EQ(mallopt(M_MXFAST, 64 * static_cast<int>(sizeof(std::size_t)) / 4), 1);
    EXPECT_GT(FastBinBytesAfterFreeing(200), 0u);
    // ...and after tuning none are.
    ASSERT_TRUE(TuneHeapForManySmallBlocks());
    EXPECT_EQ(FastBinBytesAfterFreeing(200), 0u);
#else
    EXPECT_FALSE(TuneHeapForManySmallBlocks());
#endif
}

} // namespace

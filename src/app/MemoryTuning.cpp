#include "app/MemoryTuning.h"

#include <cstdlib> // defines __GLIBC__ on glibc systems

// glibc's allocator is the one in use, unless AddressSanitizer's stands in for it.
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#define ORVELLA_TUNES_GLIBC_ALLOCATOR
#include <malloc.h>
#endif

namespace orvella::app {

void tuneAllocatorForLargeLists()
{
#if defined(ORVELLA_TUNES_GLIBC_ALLOCATOR)
    // glibc keeps freed small blocks in "fast bins" and merges them all in one go the
    // next time a large block is asked for. After a million names were freed, that
    // merge stalls the window for a tenth of a second or more in the middle of some
    // unrelated paint. Without fast bins, blocks are merged as they are freed.
    mallopt(M_MXFAST, 0);
    // Large blocks (a list's blocks of names, a sort's arrays) come straight from the
    // system and go back to it when freed. Left alone, glibc raises this threshold to
    // the size of each such block freed, so that the next ones land in the heap and
    // stay part of the process for good: after a sort of ten million names, hundreds of
    // megabytes more than the lists hold.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}

} // namespace orvella::app

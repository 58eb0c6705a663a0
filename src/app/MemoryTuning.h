#pragma once

namespace orvella::app {

// Sets up the C library's allocator for an interactive program that frees millions of
// small strings at a time (a cleared list of a million names). Call before anything
// else allocates.
void tuneAllocatorForLargeLists();

} // namespace orvella::app

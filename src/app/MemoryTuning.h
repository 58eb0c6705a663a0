#pragma once

namespace orvella::app {

// Sets up the C library's allocator for an interactive program that frees millions of
// small strings at a time (a cleared list of a million names). Call before anything
// else allocates. Does nothing under AddressSanitizer: its own allocator then takes
// every malloc and free, and glibc's, which the settings are for, holds nothing.
void tuneAllocatorForLargeLists();

} // namespace orvella::app

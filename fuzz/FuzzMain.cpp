// The libFuzzer entry of one target; the target function is chosen at build time.
#include "targets/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ORVELLA_FUZZ_TARGET(data, size);
    return 0;
}

#include "core/FileSizeSignal.h"

#include <csignal>

namespace orvella::core {

void ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace orvella::core

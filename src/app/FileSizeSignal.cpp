#include "app/FileSizeSignal.h"

#include <csignal>

namespace orvella::app {

void ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace orvella::app

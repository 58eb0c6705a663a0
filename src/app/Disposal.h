#pragma once

#include <cstddef>
#include <thread>
#include <utility>

namespace orvella::app {

// Releases a large container (a million strings) on a short-lived worker thread, so
// that freeing it does not hold up the window; small ones are released at once. The
// strings' reference counts are atomic, so texts still shared elsewhere stay valid.
template<typename Container>
void releaseInBackground(Container container, std::size_t largeFrom = 50000)
{
    if (static_cast<std::size_t>(container.size()) < largeFrom)
        return;
    std::thread([released = std::move(container)]() mutable { Container gone = std::move(released); }).detach();
}

} // namespace orvella::app

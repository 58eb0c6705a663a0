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
    try {
        std::thread([released = std::move(container)]() mutable { Container gone = std::move(released); }).detach();
    } catch (...) {
        // No thread to be had (memory or threads are short): the container has been
        // freed here on the way out, which only takes longer.
    }
}

} // namespace orvella::app

#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <future>
#include <thread>
#include <utility>

namespace orvella::core {

// Runs work on a worker thread and, until it is done, keeps calling yield on this one,
// so the window stays responsive during a long step that has no items to yield
// between (a big sort, flushing a file to disk). Nothing else may touch what work
// uses meanwhile. Exceptions thrown by work reach the caller.
template<typename Work>
void runWhileYielding(Work &&work, const std::function<void()> &yield)
{
    std::future<void> done = std::async(std::launch::async, std::forward<Work>(work));
    while (done.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready) {
        if (yield)
            yield();
    }
    done.get();
}

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

} // namespace orvella::core

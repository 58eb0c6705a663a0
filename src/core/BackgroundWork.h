#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <future>
#include <system_error>
#include <thread>
#include <type_traits>
#include <utility>

namespace orvella::core {

// Starts work on a worker thread and answers its future. When the system refuses a
// thread (a limit on processes, no memory for its stack), the work runs on the thread
// that asks for its result, when it asks: the same result, on one thread. So a caller
// must not wait for the future by time (wait_for), only get() it.
template<typename Work>
std::future<std::invoke_result_t<std::decay_t<Work>>> startWorker(Work &&work)
{
    try {
        return std::async(std::launch::async, work);
    } catch (const std::system_error &) {
        return std::async(std::launch::deferred, std::forward<Work>(work));
    }
}

// Runs work on a worker thread and, until it is done, keeps calling yield on this one,
// so the window stays responsive during a long step that has no items to yield
// between (a big sort, flushing a file to disk). Nothing else may touch what work
// uses meanwhile. Exceptions thrown by work reach the caller. When the system refuses
// a thread, work runs here, without yielding.
template<typename Work>
void runWhileYielding(Work &&work, const std::function<void()> &yield)
{
    std::future<void> done;
    try {
        done = std::async(std::launch::async, work);
    } catch (const std::system_error &) {
        work();
        return;
    }
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

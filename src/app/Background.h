#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <utility>

namespace orvella::app {

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

} // namespace orvella::app

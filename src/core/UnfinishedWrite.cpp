#include "core/UnfinishedWrite.h"

#include <utility>
#include <vector>

namespace orvella::core {
namespace {

int g_unfinished = 0;

std::vector<std::function<void()>> &waiting()
{
    static std::vector<std::function<void()>> actions;
    return actions;
}

void runWaiting()
{
    // An action may start a write of its own; it waits for the next time.
    std::vector<std::function<void()>> due = std::exchange(waiting(), {});
    for (const std::function<void()> &action : due)
        action();
}

} // namespace

UnfinishedWrite::UnfinishedWrite()
{
    ++g_unfinished;
}

UnfinishedWrite::~UnfinishedWrite()
{
    if (--g_unfinished == 0)
        runWaiting();
}

bool UnfinishedWrite::any()
{
    return g_unfinished > 0;
}

void UnfinishedWrite::whenNoneLeft(std::function<void()> then)
{
    waiting().push_back(std::move(then));
    if (g_unfinished == 0)
        runWaiting();
}

} // namespace orvella::core

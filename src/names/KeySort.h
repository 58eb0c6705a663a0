#pragma once

#include "names/SortKeys.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace orvella::names {

class KeyTexts;

// Key order: UTF-16 code unit by code unit; a proper prefix comes first. No locale,
// no case folding (so "Zed" < "adam" and " " < "!" < digits < letters).
int compareKeys(QStringView a, QStringView b);
// The same on keys kept in parts.
int compareKeys(const KeyParts &a, const KeyParts &b);

// Sorts the keys into ascending key order, stably: equal keys keep their order.
// O(n log n). Calls yield at the start and every few thousand comparisons, so the
// window system can run while a large list is sorted.
void sortKeysStable(std::vector<QString> &keys, const std::function<void()> &yield);

// The positions of keys in sorted order: entry i is the position of the i-th key.
using KeyOrder = std::vector<std::uint32_t>;

// The order sortKeysStable sorts into, without moving the keys.
KeyOrder exactOrder(const std::vector<QString> &keys, const std::function<void()> &yield);
// The same for keys kept in blocks; a large list is ordered on worker threads while
// the calling thread keeps calling yield.
KeyOrder exactOrder(const KeyTexts &keys, const std::function<void()> &yield);

// What of each key an order reads: all of it, or only its tail field (the text after
// its first field delimiter; empty without one).
enum class KeyField { Whole, Tail };
// The exact order of the keys (or of their tail fields), worked out on the calling
// thread and, when twoThreads, one more: for callers that already run on a worker.
KeyOrder exactOrderHere(const KeyTexts &keys, KeyField field, bool twoThreads,
                        const std::function<void()> &yield = {});
KeyOrder exactOrderHere(const std::vector<QString> &keys, KeyField field, bool twoThreads,
                        const std::function<void()> &yield = {});

// Puts items into an order: afterwards item i is what was item order[i].
template<typename T>
void applyOrder(std::vector<T> &items, const KeyOrder &order)
{
    std::vector<T> ordered;
    ordered.reserve(order.size());
    for (const std::uint32_t from : order)
        ordered.push_back(std::move(items[from]));
    items.swap(ordered);
}

} // namespace orvella::names

#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace orvella::sorting {

// Key order: UTF-16 code unit by code unit; a proper prefix comes first. No locale,
// no case folding (so "Zed" < "adam" and " " < "!" < digits < letters).
int compareKeys(QStringView a, QStringView b);

// Sorts the keys into ascending key order, stably: equal keys keep their order.
// O(n log n). Calls yield at the start and every few thousand comparisons, so the
// window system can run while a large list is sorted.
void sortKeysStable(std::vector<QString> &keys, const std::function<void()> &yield);

} // namespace orvella::sorting

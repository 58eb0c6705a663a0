#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

namespace orvella::sorting {

// A result row whose key is not known.
constexpr std::uint32_t kNoKey = std::numeric_limits<std::uint32_t>::max();

// The tooltips of a run's result rows: what each row was sorted under, worked out
// from its key when asked. rowKeys holds, for each row, the position of its key in
// keys. The keys are released off the window's thread when the tooltips go.
std::function<QString(int row)> resultToolTips(std::vector<QString> keys, std::vector<std::uint32_t> rowKeys);

} // namespace orvella::sorting

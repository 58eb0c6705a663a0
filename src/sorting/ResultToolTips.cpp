#include "sorting/ResultToolTips.h"

#include "core/BackgroundWork.h"
#include "sorting/NameReading.h"

#include <memory>

namespace orvella::sorting {
namespace {

struct SortedRows {
    std::vector<QString> keys;
    std::vector<std::uint32_t> rowKeys;

    SortedRows(std::vector<QString> k, std::vector<std::uint32_t> r) : keys(std::move(k)), rowKeys(std::move(r)) {}
    ~SortedRows()
    {
        core::releaseInBackground(std::move(keys));
        core::releaseInBackground(std::move(rowKeys));
    }
    SortedRows(const SortedRows &) = delete;
    SortedRows &operator=(const SortedRows &) = delete;

    QString toolTip(int row) const
    {
        if (row < 0 || static_cast<std::size_t>(row) >= rowKeys.size())
            return QString();
        const std::uint32_t key = rowKeys[static_cast<std::size_t>(row)];
        if (key >= keys.size())
            return QString();
        return sortedUnderText(readingOfKey(keys[key]));
    }
};

} // namespace

std::function<QString(int row)> resultToolTips(std::vector<QString> keys, std::vector<std::uint32_t> rowKeys)
{
    auto rows = std::make_shared<const SortedRows>(std::move(keys), std::move(rowKeys));
    return [rows](int row) { return rows->toolTip(row); };
}

} // namespace orvella::sorting

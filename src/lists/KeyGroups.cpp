#include "lists/KeyGroups.h"

#include "core/NaturalOrder.h"
#include "core/Utf8.h"

#include <QHash>
#include <algorithm>
#include <numeric>

namespace orvella::lists {

namespace {

constexpr std::uint32_t kNoGroup = 0xFFFFFFFFu;

// Numbers the groups by their place among all groups: the cells' natural order, or the
// order they were met; the empty group last either way.
std::vector<std::uint32_t> groupRanks(const QStringList &values, core::RowGrouping::Order order)
{
    std::vector<std::uint32_t> byRank(size_t(values.size()));
    std::iota(byRank.begin(), byRank.end(), 0u);
    if (order == core::RowGrouping::Order::Natural) {
        std::stable_sort(byRank.begin(), byRank.end(), [&values](std::uint32_t a, std::uint32_t b) {
            return core::naturalCompare(values[a], values[b]) < 0;
        });
    }
    std::vector<std::uint32_t> rank(byRank.size());
    for (size_t r = 0; r < byRank.size(); ++r)
        rank[byRank[r]] = std::uint32_t(r);
    return rank;
}

} // namespace

int columnIn(const tables::SourceTable &table, int column, const QString &caption)
{
    if (!caption.isEmpty() && !table.header.isEmpty()) {
        const QString wanted = caption.trimmed();
        for (qsizetype c = 0; c < table.header.size(); ++c) {
            if (table.header[c].trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
                return int(c);
        }
        return -1;
    }
    return column >= 0 && column < table.cells.columns() ? column : -1;
}

KeyGroups groupKeys(std::size_t keyCount, const std::vector<tables::RowRef> &keyRows,
                    const std::vector<tables::SourceTablePtr> &tables, const core::RowGrouping &grouping)
{
    std::vector<int> columns;
    for (const tables::SourceTablePtr &table : tables)
        columns.push_back(columnIn(*table, grouping.column, grouping.caption));
    // Groups numbered as first met, by their cells' bytes (the tables do not change).
    QHash<QByteArrayView, std::uint32_t> numbers;
    std::vector<QByteArrayView> cells;
    KeyGroups groups;
    groups.ofKey.assign(keyCount, kNoGroup);
    for (size_t k = 0; k < std::min(keyCount, keyRows.size()); ++k) {
        const tables::RowRef ref = keyRows[k];
        if (ref.table == 0 || columns[ref.table - 1] < 0)
            continue;
        const QByteArrayView cell = tables[ref.table - 1]->cells.cellBytes(ref.row, columns[ref.table - 1]).trimmed();
        if (cell.isEmpty())
            continue;
        auto found = numbers.constFind(cell);
        if (found == numbers.constEnd()) {
            found = numbers.insert(cell, std::uint32_t(cells.size()));
            cells.push_back(cell);
        }
        groups.ofKey[k] = *found;
    }
    for (const QByteArrayView cell : cells)
        groups.values.append(core::fromUtf8Text(cell));
    const std::vector<std::uint32_t> rank = groupRanks(groups.values, grouping.order);
    QStringList ranked(groups.values.size());
    for (size_t g = 0; g < rank.size(); ++g)
        ranked[rank[g]] = groups.values[qsizetype(g)];
    groups.values = std::move(ranked);
    const bool anyEmpty = std::find(groups.ofKey.begin(), groups.ofKey.end(), kNoGroup) != groups.ofKey.end();
    const auto emptyGroup = std::uint32_t(groups.values.size());
    if (anyEmpty)
        groups.values.append(QString());
    for (std::uint32_t &group : groups.ofKey)
        group = group == kNoGroup ? emptyGroup : rank[group];
    return groups;
}

std::vector<std::uint32_t> groupedOrder(const std::vector<std::uint32_t> &order, const KeyGroups &groups)
{
    std::vector<std::uint32_t> starts(size_t(groups.values.size()) + 1, 0);
    for (const std::uint32_t k : order)
        ++starts[groups.ofKey[k] + 1];
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<std::uint32_t> grouped(order.size());
    for (const std::uint32_t k : order)
        grouped[starts[groups.ofKey[k]]++] = k;
    return grouped;
}

} // namespace orvella::lists

#pragma once

#include "core/RowGrouping.h"
#include "tables/NameRows.h"

#include <QStringList>
#include <cstdint>
#include <vector>

namespace orvella::lists {

// The groups a sort's keys fall into by one column of the table rows their names came
// from. Groups are numbered in the order they come in the results: by the cells'
// natural order or as the keys (in input order) first meet them. Names without a row,
// and rows whose cell is empty, form the last group, with an empty value.
struct KeyGroups {
    std::vector<std::uint32_t> ofKey; // each key's group
    QStringList values;               // each group's cell (trimmed)
};

// The column a choice names in a table: the header cell that reads as the caption
// (trimmed, in any case) when the table has a header and the caption is given, else
// the column's number; -1 when the table has no such column.
int columnIn(const tables::SourceTable &table, int column, const QString &caption);

// The groups of keyCount keys whose rows are keyRows (places counted from 1 in
// tables, 0 for none; a key past the end has none).
KeyGroups groupKeys(std::size_t keyCount, const std::vector<tables::RowRef> &keyRows,
                    const std::vector<tables::SourceTablePtr> &tables, const core::RowGrouping &grouping);

// The keys of `order` (sorted) put group after group, each group keeping the order
// its keys had: one counting pass, so that grouping costs little beside the sort.
std::vector<std::uint32_t> groupedOrder(const std::vector<std::uint32_t> &order, const KeyGroups &groups);

} // namespace orvella::lists

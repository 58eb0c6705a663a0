#pragma once

#include "cli/SortRequest.h"
#include "core/ColumnChoice.h"

namespace orvella::cli {

// The name columns --columns and --header-row pick for a table, as the user would set
// them in the column dialog over what it proposes (the remembered choice or the guess):
// - --header-row N makes row N the header (0: none); unless the proposal already had
//   that header, the columns are guessed again from row N down.
// - --columns sets the name columns, each by its header caption (as it is, else with
//   case and the spaces around it not counting) or by its number from 1. Without
//   --header-row, captions make the first row that holds them all the header (a title
//   above a header the guess does not know is no bar), else the proposed one, else
//   the first row.
// Nothing picked: the proposal as it is. Throws a UsageError naming the option and the
// file when the table has no such row or column.
core::ColumnChoice pickColumns(const core::ColumnRequest &request, const QList<SortRequest::ColumnPick> &columns,
                               std::optional<int> headerRow);

} // namespace orvella::cli

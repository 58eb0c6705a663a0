#include "commands/SortRun.h"

#include "commands/CommandContext.h"
#include "commands/GroupCommand.h"
#include "commands/SortControls.h"
#include "commands/SortSteps.h"
#include "core/NumberText.h"
#include "lists/NameListModel.h"

#include <algorithm>
#include <memory>

// Grouping a run's results by a column of their table rows, and which rows the
// duplicate filter takes for the same.
namespace orvella::commands {

namespace {

// Set before a row's identity, so that a name never equals a column's cell or a row.
constexpr QChar kCellMark = QChar(0x1F);
constexpr QChar kRowMark = QChar(0x1E);

// The group column as the first table that has it captions it (the choice may give
// the caption in another case, or only the column's number).
QString groupColumnName(const core::RowGrouping &grouping, const std::vector<tables::SourceTablePtr> &tables)
{
    for (const tables::SourceTablePtr &table : tables) {
        const int column = lists::columnIn(*table, grouping.column, grouping.caption);
        if (column >= 0 && column < table->header.size() && !table->header[column].trimmed().isEmpty())
            return table->header[column].trimmed();
    }
    return GroupCommand::columnName(grouping);
}

} // namespace

// What makes the name's row the same as another: the name itself, or for a table row,
// the chosen column's cell or every cell.
QString SortRun::sameRowsText(const QString &name) const
{
    using Same = core::RowGrouping::SameRows;
    if (m_grouping.sameRows == Same::Name || !m_row)
        return name;
    const tables::SourceTable &table = *m_row.table;
    if (m_grouping.sameRows == Same::Row) {
        QString row = kRowMark;
        for (int column = 0; column < table.cells.columns(); ++column)
            row += table.cells.cell(m_row.row, column) + kCellMark;
        return row;
    }
    const int column = lists::columnIn(table, m_grouping.sameColumn, m_grouping.sameCaption);
    return column < 0 ? name : kCellMark + table.cells.cell(m_row.row, column).trimmed();
}

// The sorted keys put group after group, each group in sorted order.
void SortRun::groupOrder()
{
    if (!m_grouping.groups() || m_keyRows.empty() || m_order.size() != m_keys.size())
        return;
    m_p.step(SortStep::GroupKeys, [&] {
        m_keyGroups = lists::groupKeys(m_keys.size(), m_keyRows, m_runTables, m_grouping);
        m_order = lists::groupedOrder(m_order, m_keyGroups);
        m_groupColumn = groupColumnName(m_grouping, m_runTables);
        m_grouped = true;
    });
}

// Entering a key's group: the last-name filters count afresh in each group.
void SortRun::enterGroupOf(size_t k)
{
    const std::uint32_t group = m_keyGroups.ofKey[k];
    if (group == m_shownGroup)
        return;
    m_shownGroup = group;
    m_groupStartPending = true;
    m_unique = names::UniqueFilter();
    m_groups = names::NameGroups();
}

void SortRun::noteGroupStart()
{
    if (!m_groupStartPending)
        return;
    m_groupStartPending = false;
    const QString &value = m_keyGroups.values[m_shownGroup];
    m_groupStarts.emplace_back(m_ctx.results.count() - 1,
                               m_groupColumn + QStringLiteral(": ") + (value.isEmpty() ? QStringLiteral("(empty)") : value));
}

QString GroupStarts::noteAt(int row) const
{
    const auto found = std::lower_bound(starts.begin(), starts.end(), row,
                                        [](const std::pair<int, QString> &start, int r) { return start.first < r; });
    return found != starts.end() && found->first == row ? found->second : QString();
}

// The rows that start a group, for the rows' notes; none when the results are not grouped.
std::shared_ptr<const GroupStarts> SortRun::groupStarts()
{
    if (m_groupStarts.empty())
        return nullptr;
    return std::make_shared<const GroupStarts>(GroupStarts{std::move(m_groupStarts)});
}

// The status line's word on the grouping and on the rows each filter took out.
QString SortRun::filterNotes() const
{
    const QString separator = QStringLiteral(" \u00b7 ");
    QString notes;
    if (m_grouped)
        notes += separator + QStringLiteral("grouped by ") + m_groupColumn;
    if (m_duplicatesRemoved > 0)
        notes += separator + core::countOf(m_duplicatesRemoved, "duplicate removed", "duplicates removed");
    const bool lastNameFilter = m_controls.keepUnique() || m_controls.keepLimited();
    const qint64 filtered = qint64(m_keys.size()) - m_ctx.results.count();
    if (lastNameFilter && !m_command.m_output.take && filtered > 0)
        notes += separator +
                 core::countOf(filtered, "name removed by the last-name filter", "names removed by the last-name filter");
    return notes;
}

} // namespace orvella::commands

#include "commands/GroupCommand.h"

#include "commands/CommandContext.h"
#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "core/Procedure.h"
#include "lists/KeyGroups.h"
#include "lists/NameListModel.h"
#include "lists/RememberedColumns.h"

namespace orvella::commands {

namespace {

// The steps of "Group By Column…".
enum GroupStep : int { FindTable = 100, AskGrouping = 102, KeepGrouping = 104 };

// The choice with its columns numbered (and captioned) as the table has them, as the
// dialog shows it and the settings keep it.
core::RowGrouping placedIn(core::RowGrouping grouping, const tables::SourceTable &table)
{
    const auto caption = [&](int column) {
        return column >= 0 && column < table.header.size() ? table.header[column].trimmed() : QString();
    };
    if (grouping.groups()) {
        grouping.column = lists::columnIn(table, grouping.column, grouping.caption);
        grouping.caption = caption(grouping.column);
    }
    if (grouping.sameRows == core::RowGrouping::SameRows::Column) {
        grouping.sameColumn = lists::columnIn(table, grouping.sameColumn, grouping.sameCaption);
        grouping.sameCaption = caption(grouping.sameColumn);
        if (grouping.sameColumn < 0)
            grouping.sameRows = core::RowGrouping::SameRows::Name;
    }
    return grouping;
}

} // namespace

GroupCommand::GroupCommand(CommandContext &context) : m_ctx(context) {}

bool GroupCommand::available() const
{
    return m_ctx.input.hasRows();
}

QStringList GroupCommand::columnCaptions(const tables::SourceTable &table)
{
    QStringList captions;
    for (int column = 0; column < table.cells.columns(); ++column) {
        const QString cell = column < table.header.size() ? table.header[column].trimmed() : QString();
        captions << (cell.isEmpty() ? QStringLiteral("Column %1").arg(column + 1) : cell);
    }
    return captions;
}

QString GroupCommand::columnName(const core::RowGrouping &grouping)
{
    return grouping.caption.isEmpty() ? QStringLiteral("column %1").arg(grouping.column + 1) : grouping.caption;
}

core::RowGrouping GroupCommand::keptFor(const tables::SourceTable &table) const
{
    if (table.header.isEmpty())
        return m_unheaded;
    return lists::RememberedColumns(m_ctx.settings).findGrouping(table.header).value_or(core::RowGrouping());
}

core::RowGrouping GroupCommand::current() const
{
    if (m_fixed)
        return *m_fixed;
    const tables::SourceTablePtr table = m_ctx.input.firstTable();
    return table ? keptFor(*table) : core::RowGrouping();
}

void GroupCommand::choose()
{
    core::Procedure p(m_ctx.desktop, core::kMainWindowModule, "GroupByColumn");
    const tables::SourceTablePtr table =
        p.value(GroupStep::FindTable, tables::SourceTablePtr(), [&] { return m_ctx.input.firstTable(); });
    if (!table)
        return;
    const std::optional<core::RowGrouping> answer = p.value(GroupStep::AskGrouping, std::optional<core::RowGrouping>(), [&] {
        core::GroupingRequest request;
        request.columns = columnCaptions(*table);
        request.current = placedIn(keptFor(*table), *table);
        return m_ctx.desktop.chooseRowGrouping(request);
    });
    if (!answer)
        return;
    p.step(GroupStep::KeepGrouping, [&] {
        const core::RowGrouping chosen = placedIn(*answer, *table);
        if (table->header.isEmpty())
            m_unheaded = chosen;
        else
            lists::RememberedColumns(m_ctx.settings).rememberGrouping(table->header, table->columns, chosen);
    });
}

} // namespace orvella::commands

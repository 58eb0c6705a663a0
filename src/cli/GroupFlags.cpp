#include "cli/GroupFlags.h"

#include "commands/GroupCommand.h"
#include "lists/KeyGroups.h"
#include "lists/NameListModel.h"
#include "session/Session.h"

namespace orvella::cli {

namespace {

// Sets a column by its number from 1 or its caption; refuses one the table lacks.
void placeColumn(const QString &column, const char *option, const tables::SourceTablePtr &table, int &number,
                 QString &caption)
{
    bool isNumber = false;
    const int given = column.toInt(&isNumber);
    number = isNumber ? given - 1 : -1;
    caption = isNumber ? QString() : column.trimmed();
    if (table && lists::columnIn(*table, number, caption) < 0)
        throw UsageError{QStringLiteral("%1: the table has no column \"%2\"").arg(QLatin1String(option), column)};
}

// The flags over the grouping; throws a UsageError for a column the table lacks.
void placeGroupFlags(const SortRequest &request, const tables::SourceTablePtr &table, core::RowGrouping &grouping)
{
    if (request.groupBy)
        placeColumn(*request.groupBy, "--group-by", table, grouping.column, grouping.caption);
    if (request.groupOrder)
        grouping.order = *request.groupOrder;
    if (request.sameRowsBy) {
        const QString same = request.sameRowsBy->trimmed();
        if (same == u"name") {
            grouping.sameRows = core::RowGrouping::SameRows::Name;
        } else if (same == u"row") {
            grouping.sameRows = core::RowGrouping::SameRows::Row;
        } else {
            grouping.sameRows = core::RowGrouping::SameRows::Column;
            placeColumn(same, "--same-rows-by", table, grouping.sameColumn, grouping.sameCaption);
        }
    }
}

} // namespace

std::optional<QString> applyGroupFlags(const SortRequest &request, session::Session &session)
{
    if (!request.groupBy && !request.groupOrder && !request.sameRowsBy)
        return std::nullopt;
    commands::GroupCommand &group = session.groupCommand();
    core::RowGrouping grouping = group.current();
    const tables::SourceTablePtr table = session.inputList().firstTable();
    try {
        placeGroupFlags(request, table, grouping);
    } catch (const UsageError &error) {
        return error.message;
    }
    group.setFixed(grouping);
    return std::nullopt;
}

} // namespace orvella::cli

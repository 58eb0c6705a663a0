#include "cli/ColumnPicks.h"

#include "lists/NameColumns.h"

#include <algorithm>

namespace orvella::cli {
namespace {

using core::ColumnChoice;
using Role = SortRequest::Role;

bool isNumber(const QString &column)
{
    bool number = false;
    column.toInt(&number);
    return number;
}

// The header row's column with the caption, -1 when there is none.
int captionColumn(const QStringList &header, const QString &caption)
{
    const qsizetype exact = header.indexOf(caption);
    if (exact >= 0)
        return int(exact);
    const auto loose = std::find_if(header.begin(), header.end(), [&](const QString &cell) {
        return cell.trimmed().compare(caption.trimmed(), Qt::CaseInsensitive) == 0;
    });
    return loose == header.end() ? -1 : int(loose - header.begin());
}

int columnOf(const core::ColumnRequest &request, const ColumnChoice &choice, const QString &column)
{
    if (isNumber(column)) {
        qsizetype columns = 0;
        for (const QStringList &row : request.firstRows)
            columns = std::max(columns, row.size());
        const int number = column.toInt();
        if (number > columns)
            throw UsageError{QStringLiteral("--columns: %1 has no column %2 (it has %3)")
                                 .arg(request.fileName, column)
                                 .arg(columns)};
        return number - 1;
    }
    const int found = captionColumn(request.firstRows.value(choice.headerRow), column);
    if (found < 0)
        throw UsageError{QStringLiteral("--columns: the header of %1 (row %2) has no column \"%3\"")
                             .arg(request.fileName)
                             .arg(choice.headerRow + 1)
                             .arg(column)};
    return found;
}

void setHeaderRow(const core::ColumnRequest &request, ColumnChoice &choice, int headerRow)
{
    if (headerRow == 0) {
        choice.firstRowIsHeader = false;
        choice.headerRow = 0;
        return;
    }
    if (headerRow > request.firstRows.size())
        throw UsageError{QStringLiteral("--header-row: %1 has no row %2 (it has %3)")
                             .arg(request.fileName)
                             .arg(headerRow)
                             .arg(request.firstRows.size())};
    const int row = headerRow - 1;
    if (!choice.firstRowIsHeader || choice.headerRow != row)
        choice = lists::guessColumns(request.firstRows.mid(row));
    choice.firstRowIsHeader = true;
    choice.headerRow = row;
}

// The first of the rows that holds every caption the picks name; -1 when none does.
int rowWithCaptions(const QList<QStringList> &rows, const QList<SortRequest::ColumnPick> &columns)
{
    for (qsizetype row = 0; row < rows.size(); ++row) {
        if (std::all_of(columns.begin(), columns.end(), [&](const SortRequest::ColumnPick &pick) {
                return isNumber(pick.column) || captionColumn(rows[row], pick.column) >= 0;
            }))
            return int(row);
    }
    return -1;
}

void setColumns(const core::ColumnRequest &request, ColumnChoice &choice, const QList<SortRequest::ColumnPick> &columns,
                bool headerGiven)
{
    const bool byCaption = std::any_of(columns.begin(), columns.end(),
                                       [](const SortRequest::ColumnPick &pick) { return !isNumber(pick.column); });
    if (byCaption && headerGiven && !choice.firstRowIsHeader)
        throw UsageError{QStringLiteral("--columns names columns by caption, but --header-row 0 says %1 has no "
                                        "header row")
                             .arg(request.fileName)};
    if (byCaption && !headerGiven) {
        const int row = rowWithCaptions(request.firstRows, columns);
        if (row >= 0 || !choice.firstRowIsHeader) {
            choice.firstRowIsHeader = true;
            choice.headerRow = std::max(row, 0);
        }
    }
    choice.kind = ColumnChoice::Kind::NameParts;
    choice.wholeName = choice.lastName = choice.firstName = choice.middleName = choice.suffix = -1;
    for (const SortRequest::ColumnPick &pick : columns) {
        const int column = columnOf(request, choice, pick.column);
        switch (pick.role) {
        case Role::WholeName:
            choice.kind = ColumnChoice::Kind::WholeName;
            choice.wholeName = column;
            break;
        case Role::LastName:
            choice.lastName = column;
            break;
        case Role::FirstName:
            choice.firstName = column;
            break;
        case Role::MiddleName:
            choice.middleName = column;
            break;
        case Role::Suffix:
            choice.suffix = column;
            break;
        }
    }
}

} // namespace

core::ColumnChoice pickColumns(const core::ColumnRequest &request, const QList<SortRequest::ColumnPick> &columns,
                               std::optional<int> headerRow)
{
    ColumnChoice choice = request.proposed;
    if (headerRow)
        setHeaderRow(request, choice, *headerRow);
    if (!columns.isEmpty())
        setColumns(request, choice, columns, headerRow.has_value());
    // A choice of the command line's is for this run, not one to load without asking.
    choice.dontAskAgain = false;
    return choice;
}

} // namespace orvella::cli

#include "lists/TableLoad.h"

#include "core/Desktop.h"
#include "core/Paths.h"
#include "lists/ListFileReader.h"
#include "lists/NameColumns.h"
#include "lists/RememberedColumns.h"
#include "lists/NameListModel.h"
#include "lists/TableFileReader.h"

#include <QFileInfo>

namespace orvella::lists {
namespace {

// The dialog's preview shows this many rows.
constexpr qsizetype kPreviewRows = 20;

// The row's cells that make its name; the others stay empty, since a million rows
// are read and only two or three of their cells are wanted.
void nameCellsInto(QStringList &cells, const TableRows &table, qsizetype row, const core::ColumnChoice &choice)
{
    for (QString &cell : cells)
        cell.resize(0);
    for (const int column : {choice.wholeName, choice.lastName, choice.firstName, choice.middleName, choice.suffix}) {
        if (column >= 0 && column < cells.size())
            cells[column] = table.cell(row, column);
    }
}

} // namespace

TableLoad ReadTableFile(NameListModel &list, const QString &path, core::Desktop &desktop,
                        core::SettingsStore &settings, const QString &title)
{
    if (!core::FileExists(path)) {
        desktop.messageBox(QStringLiteral("File not found"), core::MessageStyle::Ok, title);
        return TableLoad::Loaded;
    }
    auto table = std::make_shared<SourceTable>();
    table->cells = readTableFile(path, tableKindOf(path), desktop);
    if (table->cells.rowCount() == 0)
        return TableLoad::Loaded;

    core::ColumnRequest request;
    request.fileName = QFileInfo(path).fileName();
    for (qsizetype row = 0; row < std::min(kPreviewRows, table->cells.rowCount()); ++row)
        request.firstRows.append(table->cells.row(row));
    RememberedColumns remembered(settings);
    const std::optional<core::ColumnChoice> known = remembered.find(request.firstRows.first());
    request.proposed = known ? *known : guessColumns(request.firstRows);
    const core::ColumnChoice choice = known && known->dontAskAgain ? *known : desktop.chooseNameColumns(request);
    if (choice.kind == core::ColumnChoice::Kind::Cancel)
        return TableLoad::Cancelled;
    if (choice.kind == core::ColumnChoice::Kind::Lines)
        return TableLoad::ReadAsLines;

    table->columns = choice;
    table->commaLines = readsAsCommaLine(choice);
    if (choice.firstRowIsHeader)
        table->header = request.firstRows.first();
    TextRows names;
    std::vector<quint32> rows;
    QStringList cells(table->cells.columns());
    for (qsizetype row = choice.firstRowIsHeader ? 1 : 0; row < table->cells.rowCount(); ++row) {
        if (row % 65536 == 0)
            desktop.yield();
        nameCellsInto(cells, table->cells, row, choice);
        const QString name = nameOfRow(cells, choice);
        if (name.isEmpty())
            continue;
        names.append(name);
        rows.push_back(quint32(row));
    }
    list.appendMany(std::move(names), std::move(table), rows);
    // Remembered once the names are in: a store that cannot be written loses the
    // choice, not the names.
    if (choice.firstRowIsHeader)
        remembered.remember(request.firstRows.first(), choice);
    return TableLoad::Loaded;
}

void ReadNamesOrTable(NameListModel &list, const QString &path, core::Desktop &desktop,
                      core::SettingsStore &settings, const QString &title)
{
    if (tableKindOf(path) != TableKind::None &&
        ReadTableFile(list, path, desktop, settings, title) != TableLoad::ReadAsLines)
        return;
    ReadListFile(list, path, desktop, title);
}

} // namespace orvella::lists

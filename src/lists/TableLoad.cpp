#include "lists/TableLoad.h"

#include "core/BackgroundWork.h"
#include "core/Desktop.h"
#include "core/NumberText.h"
#include "core/Paths.h"
#include "lists/ListFileReader.h"
#include "lists/NameColumns.h"
#include "lists/RememberedColumns.h"
#include "lists/NameListModel.h"
#include "tables/TableFileReader.h"

#include <QFileInfo>

#include <functional>
#include <future>

namespace orvella::lists {
namespace {

// The dialog's preview shows this many rows.
constexpr qsizetype kPreviewRows = 20;

// Above this many rows, two threads make the names.
constexpr qsizetype kRowsForTwoThreads = 100000;

// The names of rows [from, to) of a table and their rows: every row with any text,
// an empty name for one whose name cells are empty.
struct RowNames {
    tables::TextRows texts;
    std::vector<quint32> rows;
    TableRowCounts counts;
};

// Whether every cell of the row is empty or white space; only the cells the row keeps
// are looked at.
bool isBlankRow(const tables::TableRows &table, qsizetype row)
{
    return !table.anyKeptCell(row, [](QByteArrayView bytes) {
        for (const char byte : bytes) {
            if (uchar(byte) >= 0x80)
                return !QString::fromUtf8(bytes).trimmed().isEmpty();
            if (byte != ' ' && (byte < '\t' || byte > '\r'))
                return true;
        }
        return false;
    });
}

RowNames nameRows(const tables::TableRows &table, const core::ColumnChoice &choice, qsizetype from, qsizetype to,
                  const std::function<void()> &yield)
{
    RowNames names;
    names.rows.reserve(size_t(to - from));
    QString name;
    for (qsizetype row = from; row < to; ++row) {
        if (yield && row % 65536 == 0)
            yield();
        nameOfRowInto(name, table, row, choice);
        if (name.isEmpty()) {
            if (isBlankRow(table, row)) {
                ++names.counts.empty;
                continue;
            }
            ++names.counts.nameless;
        }
        names.texts.append(name);
        names.rows.push_back(quint32(row));
    }
    return names;
}

} // namespace

QString rowCountsNote(const TableRowCounts &counts)
{
    QStringList parts;
    if (counts.nameless > 0) {
        parts << QStringLiteral("%1 no name: %2")
                     .arg(core::countOf(counts.nameless, "row has", "rows have"),
                          counts.nameless == 1 ? QStringLiteral("it sorts first") : QStringLiteral("they sort first"));
    }
    if (counts.empty > 0)
        parts << core::countOf(counts.empty, "empty row was skipped", "empty rows were skipped");
    return parts.join(QStringLiteral("; "));
}

TableLoad ReadTableFile(NameListModel &list, const QString &path, core::Desktop &desktop,
                        core::SettingsStore &settings, const QString &title, TableRowCounts *counts)
{
    if (!core::FileExists(path)) {
        desktop.messageBox(QStringLiteral("File not found"), core::MessageStyle::Ok, title);
        return TableLoad::Loaded;
    }
    auto table = std::make_shared<tables::SourceTable>();
    table->cells = tables::readTableFile(path, tables::tableKindOf(path), desktop);
    if (table->cells.rowCount() == 0)
        return TableLoad::Loaded;

    core::ColumnRequest request;
    request.fileName = QFileInfo(path).fileName();
    for (qsizetype row = 0; row < std::min(kPreviewRows, table->cells.rowCount()); ++row)
        request.firstRows.append(table->cells.row(row));
    RememberedColumns remembered(settings);
    const std::optional<core::ColumnChoice> known = remembered.findIn(request.firstRows);
    request.proposed = known ? *known : guessColumns(request.firstRows);
    const core::ColumnChoice choice = known && known->dontAskAgain ? *known : desktop.chooseNameColumns(request);
    if (choice.kind == core::ColumnChoice::Kind::Cancel)
        return TableLoad::Cancelled;
    if (choice.kind == core::ColumnChoice::Kind::Lines)
        return TableLoad::ReadAsLines;

    table->columns = choice;
    table->commaLines = readsAsCommaLine(choice);
    const QStringList header = choice.firstRowIsHeader ? table->cells.row(choice.headerRow) : QStringList();
    table->header = header;
    // A long table's second half is named on a worker meanwhile.
    const qsizetype end = table->cells.rowCount();
    const qsizetype first = std::min<qsizetype>(choice.firstNameRow(), end);
    const qsizetype half = end - first > kRowsForTwoThreads ? first + (end - first) / 2 : end;
    // (A failure on either side waits for the worker before it is passed on.)
    std::future<RowNames> worker;
    if (half < end)
        worker = core::startWorker([&] { return nameRows(table->cells, choice, half, end, {}); });
    RowNames names = nameRows(table->cells, choice, first, half, [&desktop] { desktop.yield(); });
    RowNames secondHalf = worker.valid() ? worker.get() : RowNames();
    names.texts.append(std::move(secondHalf.texts));
    names.rows.insert(names.rows.end(), secondHalf.rows.begin(), secondHalf.rows.end());
    names.counts += secondHalf.counts;
    if (counts)
        *counts += names.counts;
    list.appendMany(std::move(names.texts), std::move(table), names.rows);
    // Remembered once the names are in: a store that cannot be written loses the
    // choice, not the names.
    if (choice.firstRowIsHeader)
        remembered.remember(header, choice);
    return TableLoad::Loaded;
}

void ReadNamesOrTable(NameListModel &list, const QString &path, core::Desktop &desktop,
                      core::SettingsStore &settings, const QString &title, FileReading reading,
                      TableRowCounts *counts)
{
    if (tables::tableKindOf(path) != tables::TableKind::None &&
        ReadTableFile(list, path, desktop, settings, title, counts) != TableLoad::ReadAsLines)
        return;
    ReadListFile(list, path, desktop, title, reading);
}

} // namespace orvella::lists

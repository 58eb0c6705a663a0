#pragma once

#include "tables/TableExport.h"
#include "core/ExportOptions.h"
#include "core/FileOutput.h"

#include <QString>
#include <QStringList>
#include <functional>

// The writers behind writeTable, one a format. Each writes the whole file into out,
// which the caller commits (or drops when a writer throws). `target` is the file's name
// for the messages of a core::Failure.
namespace orvella::tables {

// CSV (the options' delimiter) or TSV (TAB), in the options' encoding, with their line
// ends and formula protection. Throws core::Failure naming the first row a Windows-1252
// file cannot hold.
void writeDelimited(core::FileOutput &out, const QString &target, TableFormat format,
                    const core::ExportOptions &options, const TableSource &rows, const std::function<void()> &yield);
void writePlainList(core::FileOutput &out, const TableSource &rows, const std::function<void()> &yield);
// Answers the sentences of writeTable about the cells it had to cut.
QStringList writeXlsx(core::FileOutput &out, const QString &target, const TableSource &rows,
                      const std::function<void()> &yield);
void writeOds(core::FileOutput &out, const QString &target, const TableSource &rows,
              const std::function<void()> &yield);

// The rows a file starts with: those above the header (a title), then the header.
inline QList<QStringList> headRows(const TableSource &rows)
{
    QList<QStringList> head = rows.rowsAboveHeader();
    const QStringList header = rows.header();
    if (!header.isEmpty())
        head.append(header);
    return head;
}

// Hands the cells of each row to `each`, and calls yield every few thousand rows. The
// cells are read one row at a time into one list, so a million rows never stand in
// memory as strings.
inline constexpr qsizetype kRowsBetweenYields = 4096;

template<typename Each>
void forEachRow(const TableSource &rows, const std::function<void()> &yield, Each &&each)
{
    QStringList cells;
    const qsizetype count = rows.rowCount();
    for (qsizetype row = 0; row < count; ++row) {
        if (yield && row % kRowsBetweenYields == kRowsBetweenYields - 1)
            yield();
        rows.cells(row, cells);
        each(cells);
    }
}

} // namespace orvella::tables

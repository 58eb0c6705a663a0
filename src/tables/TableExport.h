#pragma once

#include "core/ExportOptions.h"
#include "core/FileOutput.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace orvella::tables {

// The file formats Export Results writes.
enum class TableFormat {
    Csv,       // quoted as RFC 4180 says; delimiter, encoding and line ends as the options say
    Tsv,       // TAB between cells; encoding and line ends as the options say
    Xlsx,      // an Excel workbook, one sheet, every cell a text cell
    Ods,       // an OpenDocument spreadsheet, one sheet, every cell a text cell
    PlainList, // each row's name alone, one a line, UTF-8, CR LF, no header
};

// The rows an export writes: a header (none when empty), maybe a title above it, and
// rows of cells. Rows are
// read one by one as they are written, so that a million rows are never all built as
// strings at once.
class TableSource {
public:
    virtual ~TableSource() = default;
    virtual QStringList header() const = 0;
    // Rows written above the header, as a table's title was above its own; none unless
    // a source has them. The plain list leaves them out, as it leaves out the header.
    virtual QList<QStringList> rowsAboveHeader() const { return {}; }
    virtual qsizetype rowCount() const = 0;
    // Fills `cells` (cleared first) with the row's cells, 0 .. rowCount() - 1.
    virtual void cells(qsizetype row, QStringList &cells) const = 0;
    // The row's cells as UTF-8, for a source that holds them so (a table's cells as it
    // was read): the CSV and TSV writers then copy the bytes without making strings of
    // them. False, and `cells` left as it is, for a row the source has only as text;
    // the writers then ask cells(). The views last until the next call.
    virtual bool cellBytes(qsizetype, std::vector<QByteArrayView> &) const { return false; }
    // The name a row stands for, which the plain list writes: its first cell, for a
    // source whose rows have no name apart from their cells.
    virtual QString name(qsizetype row) const;
};

// Writes the rows to the file at path in the format, with the same safe save as the
// list files (the target holds either its old text or the whole new one; links, pipes
// and write-protected files as core::FileOutput treats them). Calls yield now and then.
// Throws core::Failure naming the file and the reason. Answers what the format made
// the writer change (a cell longer than an Excel cell holds is cut to fit), a sentence
// for the user each; nothing when every cell was written as it is. The options' text
// choices apply to CSV and TSV (a TSV file keeps the TAB); the workbooks' cells are text
// cells already, and the plain list is UTF-8 with CR LF.
QStringList writeTable(const QString &path, TableFormat format, const TableSource &rows,
                       const std::function<void()> &yield = {}, const core::ExportOptions &options = {});
// The same through a device of the caller's (see core::FileOutput::DeviceFilter), which
// lets a test make the writing fail part-way.
QStringList writeTable(const QString &path, TableFormat format, const TableSource &rows,
                       const std::function<void()> &yield, const core::FileOutput::DeviceFilter &filter,
                       const core::ExportOptions &options = {});
// The same into an output of the caller's (standard output, say), which the caller
// commits; `target` names it in the messages of a core::Failure.
QStringList writeTableInto(core::FileOutput &out, const QString &target, TableFormat format, const TableSource &rows,
                           const std::function<void()> &yield = {}, const core::ExportOptions &options = {});

} // namespace orvella::tables

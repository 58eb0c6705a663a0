#include "tables/TableExport.h"

#include "tables/TableWriters.h"

namespace orvella::tables {

QString TableSource::name(qsizetype row) const
{
    QStringList cells;
    this->cells(row, cells);
    return cells.value(0);
}

QStringList writeTable(const QString &path, TableFormat format, const TableSource &rows,
                       const std::function<void()> &yield, const core::ExportOptions &options)
{
    return writeTable(path, format, rows, yield, {}, options);
}

QStringList writeTable(const QString &path, TableFormat format, const TableSource &rows,
                       const std::function<void()> &yield, const core::FileOutput::DeviceFilter &filter,
                       const core::ExportOptions &options)
{
    // Opened first: a file that cannot be saved fails before any row is read. A writer
    // that throws leaves the output uncommitted, and its destructor drops what was
    // written, so the target keeps its old contents.
    core::FileOutput out(path, filter);
    const QStringList changes = writeTableInto(out, path, format, rows, yield, options);
    out.commit(yield);
    return changes;
}

QStringList writeTableInto(core::FileOutput &out, const QString &target, TableFormat format, const TableSource &rows,
                           const std::function<void()> &yield, const core::ExportOptions &options)
{
    QStringList changes;
    switch (format) {
    case TableFormat::Csv:
    case TableFormat::Tsv:
        writeDelimited(out, target, format, options, rows, yield);
        break;
    case TableFormat::Xlsx:
        changes = writeXlsx(out, target, rows, yield);
        break;
    case TableFormat::Ods:
        writeOds(out, target, rows, yield);
        break;
    case TableFormat::PlainList:
        writePlainList(out, rows, yield);
        break;
    }
    return changes;
}

} // namespace orvella::tables

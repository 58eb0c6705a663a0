#include "tables/TableFileReader.h"

#include "core/Failure.h"
#include "tables/csv/CsvReader.h"
#include "tables/ods/OdsTableReader.h"
#include "tables/xlsx/XlsxTableReader.h"

#include <QFileInfo>

namespace orvella::tables {
namespace {

using core::Failure;

// The table the reader gives; a table too large for its budget fails naming the file.
template<typename Read>
TableRows namingTheFile(const QString &path, Read read)
{
    try {
        return read();
    } catch (const TableTooLarge &tooLarge) {
        throw Failure(QStringLiteral("%1 is too large to read: %2").arg(path, tooLarge.description()));
    }
}

} // namespace

TableKind tableKindOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"csv")
        return TableKind::Csv;
    if (suffix == u"tsv")
        return TableKind::Tsv;
    if (suffix == u"xlsx")
        return TableKind::Xlsx;
    if (suffix == u"ods")
        return TableKind::Ods;
    return TableKind::None;
}

TableRows readTableFile(const QString &path, TableKind kind, core::Desktop &desktop)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw Failure(QStringLiteral("%1 is a folder, not a table file").arg(path));
    // A device or a pipe may never end (/dev/zero): only a file has an end known before.
    if (info.exists() && !info.isFile())
        throw Failure(QStringLiteral("%1 is not a regular file").arg(path));
    return namingTheFile(path, [&] {
        switch (kind) {
        case TableKind::Csv:
        case TableKind::Tsv:
            return readCsvTable(path, kind, desktop);
        case TableKind::Xlsx:
            return readXlsxTable(path, desktop);
        case TableKind::Ods:
            return readOdsTable(path, desktop);
        case TableKind::None:
            break;
        }
        throw Failure(QStringLiteral("%1 is not a table file (CSV, TSV, XLSX or ODS)").arg(path));
    });
}

} // namespace orvella::tables

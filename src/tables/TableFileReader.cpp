#include "tables/TableFileReader.h"

#include "core/Failure.h"
#include "tables/csv/CsvParser.h"
#include "tables/ods/OdsTableReader.h"
#include "tables/TextFileDecoder.h"
#include "tables/csv/Utf8CsvReader.h"
#include "tables/xlsx/XlsxTableReader.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace orvella::tables {
namespace {

using core::Failure;

// The records of a CSV text handed over in pieces, into table rows. Without a delimiter
// given, the first 64 KiB (or the first piece, if longer) wait until the delimiter is
// found from them.
class CsvTableSink : public TextSink {
public:
    explicit CsvTableSink(std::optional<QChar> delimiter)
    {
        if (delimiter)
            start(*delimiter);
    }

    bool take(QStringView text) override
    {
        if (m_parser)
            return m_parser->take(text);
        m_head.append(text);
        if (m_head.size() < kDelimiterHeadUnits)
            return !text.contains(QChar(u'\0'));
        return takeHead(false);
    }

    TableRows finish()
    {
        if (!m_parser)
            takeHead(true); // a short file has no NUL: take() saw it
        m_parser->finish();
        return std::move(m_rows);
    }

private:
    void start(QChar delimiter)
    {
        m_parser.emplace(delimiter, [this](std::span<const QStringView> fields) { m_rows.appendRow(fields); });
    }

    bool takeHead(bool complete)
    {
        start(CsvParser::detectDelimiter(m_head, complete));
        const bool taken = m_parser->take(m_head);
        m_head = QString();
        return taken;
    }

    TableRows m_rows;
    QString m_head;
    std::optional<CsvParser> m_parser;
};

QString kindName(TableKind kind)
{
    return kind == TableKind::Tsv ? QStringLiteral("a TSV file") : QStringLiteral("a CSV file");
}

void openCsvFile(QFile &file, const QString &path)
{
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
}

// Through the decoder, which knows every encoding and the ways a file may be damaged.
TableRows decodeCsvFile(QFile &file, const QString &path, TableKind kind, core::Desktop &desktop)
{
    CsvTableSink sink(kind == TableKind::Tsv ? std::optional<QChar>(u'\t') : std::nullopt);
    decodeTextFile(file, path, desktop, sink, kindName(kind));
    return sink.finish();
}

TableRows readCsvFile(const QString &path, TableKind kind, core::Desktop &desktop)
{
    QFile file(path);
    openCsvFile(file, path);
    // Most files are UTF-8 throughout, and those are split straight from their bytes,
    // without the text's trip through UTF-16. Any other file is read again from the
    // start through the decoder (a pipe cannot go back, so it goes there at once).
    if (!file.isSequential()) {
        // A line is held whole until it ends, so a file larger than a table may be
        // (one endless line, say) is refused before any of it is read.
        TableRows().checkRoom(file.size());
        std::optional<TableRows> rows =
            readUtf8CsvTable(file, path, kind == TableKind::Tsv ? std::optional<char>('\t') : std::nullopt, desktop);
        if (rows)
            return std::move(*rows);
        if (!file.seek(0))
            throw Failure(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    }
    return decodeCsvFile(file, path, kind, desktop);
}

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
            return readCsvFile(path, kind, desktop);
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

TableRows readCsvTableSlowly(const QString &path, TableKind kind, core::Desktop &desktop)
{
    QFile file(path);
    openCsvFile(file, path);
    return namingTheFile(path, [&] { return decodeCsvFile(file, path, kind, desktop); });
}

} // namespace orvella::tables

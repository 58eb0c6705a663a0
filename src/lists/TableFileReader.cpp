#include "lists/TableFileReader.h"

#include "core/Failure.h"
#include "lists/CsvParser.h"
#include "lists/OdsTableReader.h"
#include "lists/TextFileDecoder.h"
#include "lists/XlsxTableReader.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace orvella::lists {
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
        if (m_head.size() < kHeadUnits)
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
    static constexpr qsizetype kHeadUnits = qsizetype(1) << 16;

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

TableRows readCsvFile(const QString &path, TableKind kind, core::Desktop &desktop)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    const bool tabs = kind == TableKind::Tsv;
    CsvTableSink sink(tabs ? std::optional<QChar>(u'\t') : std::nullopt);
    decodeTextFile(file, path, desktop, sink, tabs ? QStringLiteral("a TSV file") : QStringLiteral("a CSV file"));
    return sink.finish();
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
}

} // namespace orvella::lists

#include "tables/ods/OdsTableReader.h"

#include "tables/SheetRows.h"
#include "tables/xlsx/XlsxTableReader.h"
#include "tables/zip/ZipArchive.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <memory>
#include <utility>

namespace orvella::tables {
namespace {

const QString kContent = QStringLiteral("content.xml");
const QString kSpreadsheetType = QStringLiteral("application/vnd.oasis.opendocument.spreadsheet");
constexpr QLatin1String kOfficeNs("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
constexpr QLatin1String kTableNs("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
constexpr QLatin1String kTextNs("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
constexpr QLatin1String kKeptTextNs(kOdsTextNamespace);

// The most spaces one <text:s> stands for: a cell holds no more characters than this.
constexpr qsizetype kMostSpaces = 32767;

bool is(const QXmlStreamReader &xml, QLatin1String ns, QStringView name)
{
    return xml.name() == name && xml.namespaceUri() == ns;
}

// A repeat count of the element at the reader: 1 when not given, and never more than
// `most` (one past a sheet's limit, enough to fail it).
qsizetype repeats(const QXmlStreamReader &xml, QLatin1String attribute, qsizetype most)
{
    const qsizetype count = xml.attributes().value(kTableNs, attribute).toLongLong();
    return std::clamp<qsizetype>(count, 1, most);
}

// Text gathered for a cell; a cell longer than a sheet's cell may be fails the read.
class CellText {
public:
    explicit CellText(const SheetRows &rows) : m_rows(rows) {}

    void append(QStringView text)
    {
        checkRoom(text.size());
        m_text += text;
    }
    void append(qsizetype count, QChar c)
    {
        checkRoom(count);
        m_text += QString(count, c);
    }
    QString take() { return std::move(m_text); }

private:
    void checkRoom(qsizetype units) const
    {
        if (units > m_rows.maxCellUnits() - m_text.size())
            m_rows.refuseLongCell();
    }

    const SheetRows &m_rows;
    QString m_text;
};

// The text of the paragraph at the reader, its spans, links and fields included, added
// to the cell's text; reads up to the paragraph's end.
void paragraphText(QXmlStreamReader &xml, CellText &text)
{
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
            text.append(xml.text());
            break;
        case QXmlStreamReader::StartElement:
            if (is(xml, kTextNs, u"s")) {
                const qsizetype count = xml.attributes().value(kTextNs, QLatin1String("c")).toLongLong();
                text.append(std::clamp<qsizetype>(count, 1, kMostSpaces), u' ');
                xml.skipCurrentElement();
            } else if (is(xml, kTextNs, u"tab")) {
                text.append(1, u'\t');
                xml.skipCurrentElement();
            } else if (is(xml, kTextNs, u"line-break")) {
                text.append(1, u'\n');
                xml.skipCurrentElement();
            } else if (is(xml, kOfficeNs, u"annotation") || is(xml, kTextNs, u"note")) {
                xml.skipCurrentElement(); // a comment or a footnote is not shown in the cell
            } else {
                ++depth;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
}

// The value of a cell that shows no paragraph (some writers leave them out).
QString storedValue(const QXmlStreamAttributes &attributes)
{
    const QStringView type = attributes.value(kOfficeNs, QLatin1String("value-type"));
    if (type == u"date")
        return attributes.value(kOfficeNs, QLatin1String("date-value")).toString();
    if (type == u"time")
        return attributes.value(kOfficeNs, QLatin1String("time-value")).toString();
    if (type == u"boolean")
        return attributes.value(kOfficeNs, QLatin1String("boolean-value")) == u"true" ? QStringLiteral("TRUE")
                                                                                       : QStringLiteral("FALSE");
    if (type == u"string")
        return attributes.value(kOfficeNs, QLatin1String("string-value")).toString();
    return attributes.value(kOfficeNs, QLatin1String("value")).toString();
}

// The text the cell at the reader shows: its paragraphs joined by line ends, or the text
// kept whole in the program's own attribute. Reads up to the cell's end.
QString cellText(QXmlStreamReader &xml, const SheetRows &rows)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    CellText text(rows);
    bool paragraphs = false;
    while (xml.readNextStartElement()) {
        if (is(xml, kTextNs, u"p") || is(xml, kTextNs, u"h")) {
            if (std::exchange(paragraphs, true))
                text.append(1, u'\n');
            paragraphText(xml, text);
        } else {
            xml.skipCurrentElement(); // comments, drawings
        }
    }
    if (attributes.hasAttribute(kKeptTextNs, QLatin1String(kOdsTextAttribute))) {
        CellText kept(rows);
        kept.append(withoutEscapes(attributes.value(kKeptTextNs, QLatin1String(kOdsTextAttribute)).toString()));
        return kept.take();
    }
    return paragraphs ? text.take() : storedValue(attributes);
}

class OdsReader {
public:
    OdsReader(const QString &path, core::Desktop &desktop)
        : m_zip(path, QStringLiteral("an OpenDocument spreadsheet")), m_rows(m_zip, desktop, SheetRows::kMaxOpenDocumentCellUnits)
    {
    }

    TableRows read()
    {
        if (m_zip.contains(QStringLiteral("mimetype"))) {
            const QString type = QString::fromUtf8(m_zip.read(QStringLiteral("mimetype"))).trimmed();
            if (type != kSpreadsheetType)
                m_zip.fail(QStringLiteral("it is a document of type %1").arg(type));
        }
        if (!m_zip.contains(kContent))
            m_zip.fail(QStringLiteral("it has no %1").arg(kContent));
        const std::unique_ptr<QIODevice> device = m_zip.open(kContent);
        QXmlStreamReader xml(device.get());
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && is(xml, kTableNs, u"table")) {
                readTable(xml);
                m_zip.checkXml(xml, kContent);
                m_zip.finish(*device, kContent);
                return m_rows.take();
            }
        }
        m_zip.checkXml(xml, kContent);
        m_zip.fail(QStringLiteral("it has no sheet"));
    }

private:
    // Reads the rows of the table at the reader, in whatever groups they stand, up to the
    // table's end.
    void readTable(QXmlStreamReader &xml)
    {
        int depth = 1;
        while (depth > 0 && !xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement) {
                --depth;
            } else if (token == QXmlStreamReader::StartElement) {
                if (is(xml, kTableNs, u"table-row"))
                    readRow(xml);
                else
                    ++depth;
            }
        }
    }

    void readRow(QXmlStreamReader &xml)
    {
        const qsizetype rowRepeats = repeats(xml, QLatin1String("number-rows-repeated"), SheetRows::kMaxRows + 1);
        qsizetype column = 0;
        while (xml.readNextStartElement()) {
            if (!is(xml, kTableNs, u"table-cell") && !is(xml, kTableNs, u"covered-table-cell")) {
                xml.skipCurrentElement();
                continue;
            }
            const qsizetype cellRepeats =
                repeats(xml, QLatin1String("number-columns-repeated"), SheetRows::kMaxColumns + 1);
            const QString text = cellText(xml, m_rows);
            // Empty cells only move the column on: a row's unused width costs nothing.
            for (qsizetype i = 0; i < cellRepeats && !text.isEmpty(); ++i)
                m_rows.setCell(column + i, text);
            column += cellRepeats;
        }
        m_rows.endRow(rowRepeats);
    }

    ZipArchive m_zip;
    SheetRows m_rows;
};

} // namespace

TableRows readOdsTable(const QString &path, core::Desktop &desktop)
{
    return OdsReader(path, desktop).read();
}

} // namespace orvella::tables

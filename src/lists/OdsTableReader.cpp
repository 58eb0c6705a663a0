#include "lists/OdsTableReader.h"

#include "lists/SheetRows.h"
#include "lists/XlsxTableReader.h"
#include "lists/ZipArchive.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <memory>

namespace orvella::lists {
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

// The text of the paragraph at the reader, its spans, links and fields included;
// reads up to the paragraph's end.
QString paragraphText(QXmlStreamReader &xml)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
            text += xml.text();
            break;
        case QXmlStreamReader::StartElement:
            if (is(xml, kTextNs, u"s")) {
                const qsizetype count = xml.attributes().value(kTextNs, QLatin1String("c")).toLongLong();
                text += QString(std::clamp<qsizetype>(count, 1, kMostSpaces), u' ');
                xml.skipCurrentElement();
            } else if (is(xml, kTextNs, u"tab")) {
                text += u'\t';
                xml.skipCurrentElement();
            } else if (is(xml, kTextNs, u"line-break")) {
                text += u'\n';
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
    return text;
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
QString cellText(QXmlStreamReader &xml)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    QStringList paragraphs;
    while (xml.readNextStartElement()) {
        if (is(xml, kTextNs, u"p") || is(xml, kTextNs, u"h"))
            paragraphs.append(paragraphText(xml));
        else
            xml.skipCurrentElement(); // comments, drawings
    }
    if (attributes.hasAttribute(kKeptTextNs, QLatin1String(kOdsTextAttribute)))
        return withoutEscapes(attributes.value(kKeptTextNs, QLatin1String(kOdsTextAttribute)).toString());
    return paragraphs.isEmpty() ? storedValue(attributes) : paragraphs.join(u'\n');
}

class OdsReader {
public:
    OdsReader(const QString &path, core::Desktop &desktop)
        : m_zip(path, QStringLiteral("an OpenDocument spreadsheet")), m_rows(m_zip, desktop)
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
            const QString text = cellText(xml);
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

} // namespace orvella::lists

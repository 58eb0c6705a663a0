#include "tables/xlsx/XlsxTableReader.h"

#include "tables/SheetNumberFormat.h"
#include "tables/SheetRows.h"
#include "tables/TextRows.h"
#include "tables/zip/ZipArchive.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <memory>
#include <vector>

namespace orvella::tables {
namespace {

const QString kWorkbook = QStringLiteral("xl/workbook.xml");
const QString kWorkbookRelations = QStringLiteral("xl/_rels/workbook.xml.rels");

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

} // namespace

// A workbook's text writes characters that XML cannot hold as "_xHHHH_" (and an
// underscore that starts such a sequence itself as "_x005F_"); this reads them back,
// "_x0000_" as U+FFFD.
QString withoutEscapes(QString text)
{
    qsizetype at = text.indexOf(QLatin1String("_x"));
    if (at < 0)
        return text;
    QString plain;
    plain.reserve(text.size());
    qsizetype from = 0;
    for (; at >= 0; at = text.indexOf(QLatin1String("_x"), at)) {
        const bool escape = at + 6 < text.size() && isHexDigit(text[at + 2]) && isHexDigit(text[at + 3]) &&
                            isHexDigit(text[at + 4]) && isHexDigit(text[at + 5]) && text[at + 6] == u'_';
        if (!escape) {
            at += 2;
            continue;
        }
        plain += QStringView(text).sliced(from, at - from);
        // A NUL is no character a cell can show or a file of names can hold.
        const char16_t unit = char16_t(QStringView(text).sliced(at + 2, 4).toUInt(nullptr, 16));
        plain += unit == 0 ? QChar(QChar::ReplacementCharacter) : QChar(unit);
        at += 7;
        from = at;
    }
    plain += QStringView(text).sliced(from);
    return plain;
}

namespace {

// The most characters a cell's raw text may have before its escapes are read: each
// character of a cell may be written as the seven of "_xHHHH_".
constexpr qsizetype kMostRawUnits = 7 * SheetRows::kMaxCellUnits;

// Text gathered from the reader's character data, kept only up to kMostRawUnits: past
// that it is marked as too long, and nothing more of it is held.
struct BoundedText {
    QString text;
    bool tooLong = false;

    void append(QStringView more)
    {
        if (tooLong)
            return;
        if (text.size() + more.size() > kMostRawUnits) {
            tooLong = true;
            text = QString();
            return;
        }
        text += more;
    }
};

// The text of the element at the reader (a cell's <v>), up to the element's end.
BoundedText elementText(QXmlStreamReader &xml)
{
    BoundedText text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement)
            ++depth;
        else if (token == QXmlStreamReader::EndElement)
            --depth;
        else if (token == QXmlStreamReader::Characters)
            text.append(xml.text());
    }
    return text;
}

// The text of the <t> elements inside the current element (a shared string's <si> or an
// inline string's <is>), rich-text runs joined; the phonetic readings (<rPh>) left out.
BoundedText runText(QXmlStreamReader &xml)
{
    BoundedText text;
    int depth = 1;
    int phoneticDepth = 0; // the depth of the <rPh> the reader is in, 0 when in none
    int textDepth = 0;     // the same for a <t>
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (xml.name() == u"rPh" && phoneticDepth == 0)
                phoneticDepth = depth;
            else if (xml.name() == u"t" && phoneticDepth == 0 && textDepth == 0)
                textDepth = depth;
            break;
        case QXmlStreamReader::EndElement:
            phoneticDepth = depth == phoneticDepth ? 0 : phoneticDepth;
            textDepth = depth == textDepth ? 0 : textDepth;
            --depth;
            break;
        case QXmlStreamReader::Characters:
            if (textDepth != 0)
                text.append(xml.text());
            break;
        default:
            break;
        }
    }
    if (!text.tooLong)
        text.text = withoutEscapes(std::move(text.text));
    return text;
}

// The most cell formats a workbook has (Excel's limit); a cell styled past them shows
// its number as General does.
constexpr qsizetype kMostCellFormats = 65490;

// Column letters ("C" of "C7") as a column number from 0; -1 when there are none.
qsizetype columnOf(QStringView reference)
{
    qsizetype column = 0;
    qsizetype letters = 0;
    for (const QChar c : reference) {
        const char16_t upper = c.toUpper().unicode();
        if (upper < u'A' || upper > u'Z')
            break;
        column = column * 26 + (upper - u'A' + 1);
        if (++letters > 4)
            return SheetRows::kMaxColumns; // far past the last column
    }
    return column - 1;
}

class XlsxReader {
public:
    XlsxReader(const QString &path, core::Desktop &desktop)
        : m_zip(path, QStringLiteral("an Excel workbook")), m_rows(m_zip, desktop)
    {
    }

    TableRows read()
    {
        if (!m_zip.contains(kWorkbook))
            m_zip.fail(QStringLiteral("it has no %1").arg(kWorkbook));
        const QString sheetId = readWorkbook();
        const QHash<QString, QString> relations = readRelations();
        const QString sheet = relations.value(sheetId);
        if (sheet.isEmpty())
            m_zip.fail(QStringLiteral("%1 does not say where its first sheet is").arg(kWorkbookRelations));
        // Older writers leave the relations of the strings and styles out; they are
        // then in their usual places.
        const QString strings = relations.value(QStringLiteral("sharedStrings"), QStringLiteral("xl/sharedStrings.xml"));
        if (m_zip.contains(strings))
            readSharedStrings(strings);
        const QString styles = relations.value(QStringLiteral("styles"), QStringLiteral("xl/styles.xml"));
        if (m_zip.contains(styles))
            readStyles(styles);
        readSheet(sheet);
        return m_rows.take();
    }

private:
    // The relation id of the first sheet; notes the workbook's date system on the way.
    QString readWorkbook()
    {
        QXmlStreamReader xml(m_zip.read(kWorkbook));
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"workbookPr") {
                const QStringView value = xml.attributes().value(QLatin1String("date1904"));
                m_from1904 = value == u"1" || value == u"true";
            } else if (xml.name() == u"sheet") {
                // r:id, whatever prefix the relations' namespace has.
                for (const QXmlStreamAttribute &attribute : xml.attributes()) {
                    if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                        return attribute.value().toString();
                }
                m_zip.fail(QStringLiteral("its first sheet has no relation id"));
            }
        }
        m_zip.checkXml(xml, kWorkbook);
        m_zip.fail(QStringLiteral("it has no sheet"));
    }

    // Relation id -> part name; also "sharedStrings" and "styles" -> their parts.
    QHash<QString, QString> readRelations()
    {
        if (!m_zip.contains(kWorkbookRelations))
            m_zip.fail(QStringLiteral("it has no %1").arg(kWorkbookRelations));
        QHash<QString, QString> relations;
        QXmlStreamReader xml(m_zip.read(kWorkbookRelations));
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
                continue;
            const QXmlStreamAttributes attributes = xml.attributes();
            const QString target = attributes.value(QLatin1String("Target")).toString();
            // A target is relative to the workbook's folder, or absolute in the archive.
            const QString part = QDir::cleanPath(target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target);
            relations.insert(attributes.value(QLatin1String("Id")).toString(), part);
            const QStringView type = attributes.value(QLatin1String("Type"));
            for (const QString &known : {QStringLiteral("sharedStrings"), QStringLiteral("styles")}) {
                if (type.endsWith(QStringLiteral("/") + known))
                    relations.insert(known, part);
            }
        }
        m_zip.checkXml(xml, kWorkbookRelations);
        return relations;
    }

    void readSharedStrings(const QString &part)
    {
        const std::unique_ptr<QIODevice> device = m_zip.open(part);
        QXmlStreamReader xml(device.get());
        TableRows &table = m_rows.rows();
        // The strings are held while the sheet is read: they count against the table's
        // budget. A string too long for a cell is not held at all; only a cell that
        // shows it fails the read.
        qsizetype cost = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"si")
                continue;
            const BoundedText text = runText(xml);
            const bool tooLong = text.tooLong || text.text.size() > SheetRows::kMaxCellUnits;
            if (tooLong)
                m_longStrings.insert(m_strings.size());
            m_strings.append(tooLong ? QString() : text.text);
            cost += 2 * text.text.size() + qsizetype(sizeof(quint32));
            if (m_strings.size() % 1024 == 0)
                table.checkRoom(cost);
        }
        m_zip.checkXml(xml, part);
        m_zip.finish(*device, part);
        table.checkRoom(cost);
        table.setBudget(table.budget() - cost);
    }

    // The number format of each cell style (<cellXfs><xf>), by its index.
    void readStyles(const QString &part)
    {
        QHash<int, QString> codes; // the workbook's own formats
        QXmlStreamReader xml(m_zip.read(part));
        bool cellStyles = false;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs")
                cellStyles = false;
            if (token != QXmlStreamReader::StartElement)
                continue;
            const QXmlStreamAttributes attributes = xml.attributes();
            if (xml.name() == u"numFmt") {
                codes.insert(attributes.value(QLatin1String("numFmtId")).toInt(),
                             attributes.value(QLatin1String("formatCode")).toString());
            } else if (xml.name() == u"cellXfs") {
                cellStyles = true;
            } else if (xml.name() == u"xf" && cellStyles && qsizetype(m_formats.size()) < kMostCellFormats) {
                const int id = attributes.value(QLatin1String("numFmtId")).toInt();
                m_formats.push_back(codes.contains(id) ? SheetNumberFormat::fromCode(codes.value(id))
                                                       : SheetNumberFormat::builtIn(id));
            }
        }
        m_zip.checkXml(xml, part);
    }

    void readSheet(const QString &part)
    {
        if (!m_zip.contains(part))
            m_zip.fail(QStringLiteral("it has no %1").arg(part));
        const std::unique_ptr<QIODevice> device = m_zip.open(part);
        QXmlStreamReader xml(device.get());
        qsizetype nextColumn = 0;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement && xml.name() == u"row") {
                m_rows.endRow();
                nextColumn = 0;
            } else if (token == QXmlStreamReader::StartElement && xml.name() == u"c") {
                const QStringView reference = xml.attributes().value(QLatin1String("r"));
                const qsizetype column = reference.isEmpty() ? nextColumn : columnOf(reference);
                m_rows.setCell(column, cellText(xml));
                nextColumn = column + 1;
            }
        }
        m_zip.checkXml(xml, part);
        m_zip.finish(*device, part);
    }

    // The text the cell at the reader shows; reads up to the cell's end.
    QString cellText(QXmlStreamReader &xml)
    {
        const QXmlStreamAttributes attributes = xml.attributes();
        const QString type = attributes.value(QLatin1String("t")).toString();
        const qsizetype style = attributes.value(QLatin1String("s")).toLongLong();
        QString value;
        BoundedText inlineText;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"v") {
                BoundedText text = elementText(xml);
                if (text.tooLong)
                    m_rows.refuseLongCell();
                value = std::move(text.text);
            } else if (xml.name() == u"is") {
                inlineText = runText(xml);
            } else {
                xml.skipCurrentElement(); // the formula itself
            }
        }
        if (type == u"s") {
            bool number = false;
            const qsizetype index = value.toLongLong(&number);
            if (!number || index < 0 || index >= m_strings.size())
                return QString();
            if (m_longStrings.contains(index))
                m_rows.refuseLongCell();
            return m_strings.at(index).toString();
        }
        if (type == u"inlineStr") {
            if (inlineText.tooLong)
                m_rows.refuseLongCell();
            return inlineText.text;
        }
        if (type == u"str")
            return withoutEscapes(value);
        if (type == u"b")
            return value.isEmpty() ? QString() : value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        if (type == u"e" || type == u"d" || value.isEmpty())
            return value;
        bool number = false;
        const double amount = value.toDouble(&number);
        if (!number)
            return value;
        const bool styled = style >= 0 && style < qsizetype(m_formats.size());
        return styled ? m_formats[size_t(style)].show(amount, m_from1904) : generalNumberText(amount);
    }

    ZipArchive m_zip;
    SheetRows m_rows;
    TextRows m_strings;
    QSet<qsizetype> m_longStrings; // the strings too long for a cell, not held
    std::vector<SheetNumberFormat> m_formats;
    bool m_from1904 = false;
};

} // namespace

TableRows readXlsxTable(const QString &path, core::Desktop &desktop)
{
    return XlsxReader(path, desktop).read();
}

} // namespace orvella::tables

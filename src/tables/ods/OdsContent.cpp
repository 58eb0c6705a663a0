#include "tables/ods/OdsContent.h"

#include "core/Failure.h"
#include "core/Utf8.h"
#include "tables/SheetText.h"
#include "tables/WorkbookFolder.h"
#include "tables/ods/OdsTableReader.h"

#include <algorithm>

namespace orvella::tables {
namespace {

constexpr qsizetype kPieceBytes = qsizetype(1) << 20;

const QByteArray kHead = QByteArrayLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:orvella=\"") + kOdsTextNamespace + QByteArrayLiteral("\" office:version=\"1.2\">"
    "<office:body><office:spreadsheet><table:table table:name=\"Sheet1\"><table:table-column ");
// The column count is known only after the last row. The element gets room for its
// attribute, filled with spaces (allowed before "/>") and written over at the end.
constexpr qsizetype kColumnsRoom = 48;
const QByteArray kColumnsEnd = QByteArrayLiteral("/>");
const QByteArray kTail =
    QByteArrayLiteral("</table:table></office:spreadsheet></office:body></office:document-content>\n");

bool allowedInXml(char16_t c)
{
    return (c >= 0x20 && c < 0xFFFE) || c == u'\t' || c == u'\n' || c == u'\r';
}

// How a character is written in an attribute's value between double quotes: markup
// characters escaped, TAB, LF and CR as character references (a reader would turn them
// into spaces otherwise); null for one written as it is.
const char *attributeReference(char16_t c)
{
    switch (c) {
    case u'&':
        return "&amp;";
    case u'<':
        return "&lt;";
    case u'"':
        return "&quot;";
    case u'\t':
        return "&#9;";
    case u'\n':
        return "&#10;";
    case u'\r':
        return "&#13;";
    default:
        return nullptr;
    }
}

// Appends the text, which XML can hold, as an attribute's value.
void appendAttributeText(QStringView text, QByteArray &into)
{
    qsizetype from = 0;
    const auto appendUpTo = [&](qsizetype to) {
        const qsizetype start = into.size();
        into.resize(start + 3 * (to - from));
        into.truncate(core::putUtf8(into.data() + start, text.sliced(from, to - from)) - into.constData());
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (const char *reference = attributeReference(text[i].unicode())) {
            appendUpTo(i);
            into.append(reference);
            from = i + 1;
        }
    }
    appendUpTo(text.size());
}

void appendSpaces(qsizetype count, QByteArray &into)
{
    if (count == 1)
        into.append("<text:s/>");
    else
        into.append("<text:s text:c=\"").append(QByteArray::number(count)).append("\"/>");
}

} // namespace

OdsContent::OdsContent(const QString &path, const QString &target) : m_target(target), m_file(path)
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail();
    m_buffer.reserve(kPieceBytes + 4096);
    m_buffer.append(kHead);
    m_columnsAt = m_buffer.size();
    m_buffer.append(QByteArray(kColumnsRoom, ' ')).append(kColumnsEnd);
}

void OdsContent::appendParagraphText(QStringView text, QByteArray &into)
{
    // A space stays a plain space only between two plain characters, where no reader
    // folds or drops it; any other run of spaces is written as its count.
    bool afterPlain = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u' ') {
            qsizetype end = i;
            while (end < n && text[end] == u' ')
                ++end;
            qsizetype count = end - i;
            const bool beforePlain = end < n && text[end] != u'\t' && text[end] != u'\r' && text[end] != u'\n';
            if (afterPlain && beforePlain) {
                into.append(' ');
                --count;
            }
            if (count > 0)
                appendSpaces(count, into);
            i = end - 1;
            afterPlain = false;
            continue;
        }
        const bool wasAfterPlain = afterPlain;
        afterPlain = true;
        if (c == u'\t') {
            into.append("<text:tab/>");
            afterPlain = false;
        } else if (c == u'\r' || c == u'\n') {
            into.append("<text:line-break/>");
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            afterPlain = false;
        } else if (c == u'&') {
            into.append("&amp;");
        } else if (c == u'<') {
            into.append("&lt;");
        } else if (c == u'>') {
            into.append("&gt;");
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            char bytes[4];
            into.append(bytes, core::putUtf8(bytes, QChar::surrogateToUcs4(c, text[++i].unicode())) - bytes);
        } else if (allowedInXml(c) && !QChar::isSurrogate(c)) {
            char bytes[4];
            into.append(bytes, core::putUtf8(bytes, char32_t(c)) - bytes);
        } else {
            afterPlain = wasAfterPlain; // left out: what came before still counts
        }
    }
}

void OdsContent::addRow(const QStringList &cells)
{
    m_columns = std::max(m_columns, cells.size());
    m_buffer.append("<table:table-row>");
    if (cells.isEmpty())
        m_buffer.append("<table:table-cell/>"); // a row holds at least one cell
    for (const QString &cell : cells) {
        if (cell.isEmpty()) {
            m_buffer.append("<table:table-cell/>");
            continue;
        }
        m_buffer.append("<table:table-cell office:value-type=\"string\"");
        if (!fitsXml(cell)) {
            // The paragraph leaves out what XML cannot hold; the whole text goes here.
            m_buffer.append(" orvella:").append(kOdsTextAttribute).append("=\"");
            appendAttributeText(xmlSafeText(cell), m_buffer);
            m_buffer.append('"');
        }
        m_buffer.append("><text:p>");
        appendParagraphText(cell, m_buffer);
        m_buffer.append("</text:p></table:table-cell>");
    }
    m_buffer.append("</table:table-row>");
    if (m_buffer.size() >= kPieceBytes)
        flush();
}

void OdsContent::finish()
{
    m_buffer.append(kTail);
    flush();
    const QByteArray columns = "table:number-columns-repeated=\"" + QByteArray::number(m_columns) + '"';
    if (!m_file.seek(m_columnsAt) || m_file.write(columns) != columns.size())
        fail();
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        fail();
}

void OdsContent::flush()
{
    if (!writeWhole(m_file, m_buffer.constData(), m_buffer.size()))
        fail();
    m_buffer.resize(0);
}

void OdsContent::fail() const
{
    throw core::Failure(
        QStringLiteral("Cannot write %1: the sheet's text could not be written to %2: %3")
            .arg(m_target, m_file.fileName(), m_file.errorString()));
}

} // namespace orvella::tables

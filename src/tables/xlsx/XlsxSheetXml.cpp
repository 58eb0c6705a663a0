#include "tables/xlsx/XlsxSheetXml.h"

#include "core/Utf8.h"

#include <charconv>
#include <cstring>

namespace orvella::tables {
namespace {

// The text goes to the compression a piece of about this size at a time.
constexpr qsizetype kPieceBytes = qsizetype(1) << 20;

constexpr QByteArrayView kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
    "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData>";
constexpr QByteArrayView kTail =
    "</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/>"
    "</worksheet>\n";
constexpr QByteArrayView kRowStart = "<row r=\"";
constexpr QByteArrayView kRowEnd = "</row>";
constexpr QByteArrayView kCellStart = "<c r=\"";
constexpr QByteArrayView kText = "\" t=\"inlineStr\"><is><t>";
// Spreadsheet applications drop white space at either end of a text unless told to
// keep it.
constexpr QByteArrayView kTextKept = "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">";
constexpr QByteArrayView kCellEnd = "</t></is></c>";

// White space that is written as it is (a CR is written as a code).
bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// Writes the bytes at `out` and answers the place after them.
template<qsizetype N>
char *put(char *out, const char (&text)[N])
{
    for (qsizetype i = 0; i < N - 1; ++i)
        *out++ = text[i];
    return out;
}

char *put(char *out, QByteArrayView bytes)
{
    std::memcpy(out, bytes.data(), std::size_t(bytes.size()));
    return out + bytes.size();
}

// At most seven bytes a UTF-16 unit: "_x001F_" for a control character.
constexpr qsizetype kMostBytesPerUnit = 7;

// Writes the text of a cell's <t> element as addCell describes it, with room at `out`
// for kMostBytesPerUnit bytes a unit, and answers the place after it. A lone surrogate
// (which sheetText leaves none of) is written as "?".
char *putCellText(char *out, QStringView text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x80 && c != u'&' && c != u'<' && c != u'>') {
            *out++ = char(c);
        } else if (c == u'&') {
            out = put(out, "&amp;");
        } else if (c == u'<') {
            out = put(out, "&lt;");
        } else if (c == u'>') {
            out = put(out, "&gt;");
        } else if (c == u'\t' || c == u'\n') {
            *out++ = char(c);
        } else if (c < 0x20) {
            constexpr char kHex[] = "0123456789ABCDEF";
            out = put(out, "_x00");
            *out++ = kHex[c >> 4];
            *out++ = kHex[c & 0xF];
            *out++ = '_';
        } else if (!QChar::isSurrogate(c)) {
            out = core::putUtf8(out, char32_t(c));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            out = core::putUtf8(out, QChar::surrogateToUcs4(c, text[++i].unicode()));
        } else {
            *out++ = '?';
        }
    }
    return out;
}

} // namespace

XlsxSheetXml::XlsxSheetXml(const QString &path, const QString &target) : m_stream(path, target)
{
    m_buffer.reserve(kPieceBytes + 4096);
    m_buffer.append(kHead);
}

QByteArray XlsxSheetXml::columnName(qsizetype column)
{
    QByteArray name;
    for (qsizetype n = column + 1; n > 0; n = (n - 1) / 26)
        name.prepend(char('A' + (n - 1) % 26));
    return name;
}

void XlsxSheetXml::beginRow()
{
    ++m_row;
    m_rowDigits = std::to_chars(m_rowNumber, m_rowNumber + sizeof m_rowNumber, m_row).ptr - m_rowNumber;
}

void XlsxSheetXml::openRow()
{
    m_buffer.append(kRowStart).append(m_rowNumber, m_rowDigits).append("\">", 2);
    m_rowOpen = true;
}

void XlsxSheetXml::addCell(qsizetype column, QStringView text)
{
    if (!m_rowOpen)
        openRow();
    const QByteArray &name = letters(column);
    const bool keepSpaces = !text.isEmpty() && (isSpace(text.front()) || isSpace(text.back()));
    const QByteArrayView textStart = keepSpaces ? kTextKept : kText;
    // One cell is one resize of the buffer: room for the most it can take, then cut to
    // what it took.
    const qsizetype start = m_buffer.size();
    m_buffer.resize(start + kCellStart.size() + name.size() + m_rowDigits + textStart.size() +
                    kMostBytesPerUnit * text.size() + kCellEnd.size());
    char *out = put(m_buffer.data() + start, kCellStart);
    out = put(out, name);
    out = put(out, QByteArrayView(m_rowNumber, m_rowDigits));
    out = put(out, textStart);
    out = putCellText(out, text);
    out = put(out, kCellEnd);
    m_buffer.truncate(out - m_buffer.constData());
}

void XlsxSheetXml::endRow()
{
    if (m_rowOpen)
        m_buffer.append(kRowEnd);
    m_rowOpen = false;
    if (m_buffer.size() >= kPieceBytes) {
        m_stream.take(m_buffer);
        m_buffer.reserve(kPieceBytes + 4096);
    }
}

DeflatedPart XlsxSheetXml::finish()
{
    m_buffer.append(kTail);
    m_stream.take(m_buffer);
    return m_stream.finish();
}

const QByteArray &XlsxSheetXml::letters(qsizetype column)
{
    while (m_letters.size() <= column)
        m_letters.append(columnName(m_letters.size()));
    return m_letters[column];
}

} // namespace orvella::tables

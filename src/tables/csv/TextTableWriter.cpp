// CSV, TSV and the plain list: text tables written straight into the output.

#include "core/Failure.h"
#include "core/Utf8.h"
#include "tables/TableWriters.h"
#include "tables/csv/Windows1252.h"

namespace orvella::tables {
namespace {

using core::TextEncoding;

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
// Rows gather in a buffer that reaches the file a large piece at a time.
constexpr qsizetype kPieceBytes = qsizetype(1) << 18;

char16_t unit(QChar c)
{
    return c.unicode();
}

// A byte of UTF-8 (one of a character past ASCII reads as no ASCII character).
char16_t unit(char c)
{
    return char16_t(uchar(c));
}

template<typename Char>
bool isEdgeSpace(Char c)
{
    return unit(c) == u' ' || unit(c) == u'\t';
}

// A cell is quoted when it holds the separator, a double quote, CR or LF (as RFC 4180
// asks), and also when it begins or ends with a space or a TAB, which some readers
// trim from an unquoted cell. A CSV file's reader finds the delimiter from the first
// lines, taking a comma, a semicolon or a TAB for it, so in CSV a cell that holds any
// of them is quoted, lest a one-column table of "Lee; Ann" load as two columns. Any
// other cell is written as it is. Every character that counts is ASCII, so a cell's
// UTF-8 bytes tell the same as its UTF-16 units.
template<typename Text>
bool needsQuotes(Text cell, char16_t separator, bool csv)
{
    if (cell.isEmpty())
        return false;
    if (isEdgeSpace(cell.front()) || isEdgeSpace(cell.back()))
        return true;
    for (const auto c : cell) {
        const char16_t u = unit(c);
        if (u == separator || u == u'"' || u == u'\r' || u == u'\n')
            return true;
        if (csv && (u == u',' || u == u';' || u == u'\t'))
            return true;
    }
    return false;
}

// Whether a spreadsheet would run the cell as a formula: it starts with '=', '+', '-',
// '@', a TAB or a CR. A sign followed only by digits, spaces, dots, commas, parentheses,
// slashes and hyphens, with a digit among them, is a number as it is written ("-12",
// "+3.5", "+44 20 7946 0000", "-(1,200.50)") and not taken for a formula.
template<typename Text>
bool runsAsFormula(Text cell)
{
    if (cell.isEmpty())
        return false;
    const char16_t first = unit(cell.front());
    if (first == u'=' || first == u'@' || first == u'\t' || first == u'\r')
        return true;
    if (first != u'+' && first != u'-')
        return false;
    bool digit = false;
    for (const auto c : cell.sliced(1)) {
        const char16_t u = unit(c);
        if (u >= u'0' && u <= u'9')
            digit = true;
        else if (!QStringView(u" .,()/-").contains(QChar(u)))
            return true;
    }
    return !digit;
}

// How the cells' text becomes bytes, and where a row ends.
class TextLayout {
public:
    TextLayout(TableFormat format, const core::ExportOptions &options, const QString &target)
        : m_separator(format == TableFormat::Tsv ? u'\t' : options.delimiter), m_csv(format == TableFormat::Csv),
          m_options(options), m_target(target)
    {
    }

    void appendRow(const QStringList &cells, QByteArray &into);
    // A row whose cells are UTF-8 already, for the encodings that write UTF-8: their
    // bytes go out as they are.
    void appendRow(const std::vector<QByteArrayView> &cells, QByteArray &into);
    bool writesUtf8() const { return m_options.encoding != TextEncoding::Windows1252; }

private:
    void appendCell(QStringView cell, QByteArray &into) const;
    void appendCell(QByteArrayView cell, QByteArray &into) const;
    void endRow(QByteArray &into) const;
    char *put(char *out, QStringView text) const
    {
        return m_options.encoding == TextEncoding::Windows1252 ? putWindows1252(out, text) : core::putUtf8(out, text);
    }
    // Windows-1252: refuses the row when a cell holds a character the code page lacks.
    void checkFits(const QStringList &cells) const;

    const char16_t m_separator;
    const bool m_csv;
    const core::ExportOptions &m_options;
    const QString &m_target;
    mutable qsizetype m_rowsWritten = 0;
};

void TextLayout::checkFits(const QStringList &cells) const
{
    for (const QString &cell : cells) {
        const qsizetype at = firstOutsideWindows1252(cell);
        if (at < 0)
            continue;
        const qsizetype length = cell[at].isHighSurrogate() && at + 1 < cell.size() ? 2 : 1;
        throw core::Failure(QStringLiteral("Cannot write %1 in Windows-1252: row %2 holds \u201C%3\u201D, "
                                           "which it has no character for")
                                .arg(m_target)
                                .arg(m_rowsWritten + 1)
                                .arg(cell.mid(at, length)));
    }
}

// Appends the cell's bytes, with an apostrophe before a formula when the options say
// so, quoted when it needs to be, with its double quotes doubled.
void TextLayout::appendCell(QStringView cell, QByteArray &into) const
{
    const bool apostrophe = m_options.protectFormulas && runsAsFormula(cell);
    const qsizetype start = into.size();
    // Three bytes a UTF-16 unit at most (a doubled quote takes two), the quotes and the apostrophe.
    into.resize(start + 3 * cell.size() + 3);
    char *out = into.data() + start;
    if (!needsQuotes(cell, m_separator, m_csv)) {
        if (apostrophe)
            *out++ = '\'';
        out = put(out, cell);
    } else {
        *out++ = '"';
        if (apostrophe)
            *out++ = '\'';
        qsizetype from = 0;
        for (qsizetype quote = cell.indexOf(u'"'); quote >= 0; quote = cell.indexOf(u'"', from)) {
            out = put(out, cell.sliced(from, quote + 1 - from));
            *out++ = '"';
            from = quote + 1;
        }
        out = put(out, cell.sliced(from));
        *out++ = '"';
    }
    into.truncate(out - into.constData());
}

// The same for a cell that is UTF-8 already: its bytes as they are.
void TextLayout::appendCell(QByteArrayView cell, QByteArray &into) const
{
    const bool apostrophe = m_options.protectFormulas && runsAsFormula(cell);
    const bool quoted = needsQuotes(cell, m_separator, m_csv);
    if (quoted)
        into.append('"');
    if (apostrophe)
        into.append('\'');
    if (!quoted) {
        into.append(cell);
        return;
    }
    qsizetype from = 0;
    for (qsizetype quote = cell.indexOf('"'); quote >= 0; quote = cell.indexOf('"', from)) {
        into.append(cell.sliced(from, quote + 1 - from)).append('"');
        from = quote + 1;
    }
    into.append(cell.sliced(from)).append('"');
}

void TextLayout::appendRow(const QStringList &cells, QByteArray &into)
{
    if (m_options.encoding == TextEncoding::Windows1252)
        checkFits(cells);
    // A row of one empty cell is written as "", since an empty line is no row.
    if (cells.size() == 1 && cells[0].isEmpty())
        into.append("\"\"", 2);
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            into.append(char(m_separator));
        appendCell(cells[i], into);
    }
    endRow(into);
}

void TextLayout::appendRow(const std::vector<QByteArrayView> &cells, QByteArray &into)
{
    if (cells.size() == 1 && cells[0].isEmpty())
        into.append("\"\"", 2);
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            into.append(char(m_separator));
        appendCell(cells[i], into);
    }
    endRow(into);
}

void TextLayout::endRow(QByteArray &into) const
{
    ++m_rowsWritten;
    if (m_options.lineEnds == core::LineEnds::CrLf)
        into.append("\r\n", 2);
    else
        into.append('\n');
}

} // namespace

void writeDelimited(core::FileOutput &out, const QString &target, TableFormat format,
                    const core::ExportOptions &options, const TableSource &rows, const std::function<void()> &yield)
{
    TextLayout layout(format, options, target);
    QByteArray piece;
    piece.reserve(kPieceBytes + 4096);
    if (options.encoding == TextEncoding::Utf8WithMark)
        piece.append(kByteOrderMark);
    for (const QStringList &head : headRows(rows))
        layout.appendRow(head, piece);
    // A row the source holds as UTF-8 goes out as its bytes, when the file is UTF-8;
    // any other as its text.
    QStringList cells;
    std::vector<QByteArrayView> bytes;
    const qsizetype count = rows.rowCount();
    for (qsizetype row = 0; row < count; ++row) {
        if (yield && row % kRowsBetweenYields == kRowsBetweenYields - 1)
            yield();
        if (layout.writesUtf8() && rows.cellBytes(row, bytes)) {
            layout.appendRow(bytes, piece);
        } else {
            rows.cells(row, cells);
            layout.appendRow(cells, piece);
        }
        if (piece.size() >= kPieceBytes) {
            out.writeBytes(piece);
            piece.resize(0);
        }
    }
    out.writeBytes(piece);
}

void writePlainList(core::FileOutput &out, const TableSource &rows, const std::function<void()> &yield)
{
    out.setBatched(true);
    const qsizetype count = rows.rowCount();
    for (qsizetype row = 0; row < count; ++row) {
        if (yield && row % kRowsBetweenYields == kRowsBetweenYields - 1)
            yield();
        out.writeLine(rows.name(row));
    }
}

} // namespace orvella::tables

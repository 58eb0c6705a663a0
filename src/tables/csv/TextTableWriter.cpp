// CSV, TSV and the plain list: text tables written straight into the output.

#include "core/Utf8.h"
#include "tables/TableWriters.h"

namespace orvella::tables {
namespace {

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
bool needsQuotes(Text cell, char16_t separator)
{
    if (cell.isEmpty())
        return false;
    if (isEdgeSpace(cell.front()) || isEdgeSpace(cell.back()))
        return true;
    const bool csv = separator == u',';
    for (const auto c : cell) {
        const char16_t u = unit(c);
        if (u == separator || u == u'"' || u == u'\r' || u == u'\n')
            return true;
        if (csv && (u == u';' || u == u'\t'))
            return true;
    }
    return false;
}

// Appends the cell's UTF-8, quoted when it needs to be, with its double quotes doubled.
void appendCell(QStringView cell, char16_t separator, QByteArray &into)
{
    const qsizetype start = into.size();
    // Three bytes a UTF-16 unit at most (a doubled quote takes two), and the quotes.
    into.resize(start + 3 * cell.size() + 2);
    char *out = into.data() + start;
    if (!needsQuotes(cell, separator)) {
        out = core::putUtf8(out, cell);
    } else {
        *out++ = '"';
        qsizetype from = 0;
        for (qsizetype quote = cell.indexOf(u'"'); quote >= 0; quote = cell.indexOf(u'"', from)) {
            out = core::putUtf8(out, cell.sliced(from, quote + 1 - from));
            *out++ = '"';
            from = quote + 1;
        }
        out = core::putUtf8(out, cell.sliced(from));
        *out++ = '"';
    }
    into.truncate(out - into.constData());
}

// The same for a cell that is UTF-8 already: its bytes as they are.
void appendCell(QByteArrayView cell, char16_t separator, QByteArray &into)
{
    if (!needsQuotes(cell, separator)) {
        into.append(cell);
        return;
    }
    into.append('"');
    qsizetype from = 0;
    for (qsizetype quote = cell.indexOf('"'); quote >= 0; quote = cell.indexOf('"', from)) {
        into.append(cell.sliced(from, quote + 1 - from)).append('"');
        from = quote + 1;
    }
    into.append(cell.sliced(from)).append('"');
}

template<typename Cells>
void appendRow(const Cells &cells, char16_t separator, QByteArray &into)
{
    // A row of one empty cell is written as "", since an empty line is no row.
    if (cells.size() == 1 && cells[0].isEmpty())
        into.append("\"\"", 2);
    for (qsizetype i = 0; i < qsizetype(cells.size()); ++i) {
        if (i > 0)
            into.append(char(separator));
        appendCell(cells[i], separator, into);
    }
    into.append("\r\n", 2);
}

} // namespace

void writeDelimited(core::FileOutput &out, char16_t separator, const TableSource &rows,
                    const std::function<void()> &yield)
{
    QByteArray piece;
    piece.reserve(kPieceBytes + 4096);
    piece.append(kByteOrderMark);
    for (const QStringList &head : headRows(rows))
        appendRow(head, separator, piece);
    // A row the source holds as UTF-8 goes out as its bytes; any other as its text.
    QStringList cells;
    std::vector<QByteArrayView> bytes;
    const qsizetype count = rows.rowCount();
    for (qsizetype row = 0; row < count; ++row) {
        if (yield && row % kRowsBetweenYields == kRowsBetweenYields - 1)
            yield();
        if (rows.cellBytes(row, bytes)) {
            appendRow(bytes, separator, piece);
        } else {
            rows.cells(row, cells);
            appendRow(cells, separator, piece);
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

#include "lists/NameColumns.h"

#include "core/Utf8.h"
#include "lists/ColumnHeaders.h"

#include <algorithm>
#include <map>
#include <utility>

namespace orvella::lists {

using core::ColumnChoice;

namespace {

// The kinds of cell that tell a header row from the rows below it.
enum class CellShape { Empty, Number, Name, Word, Other };

bool isNamePunctuation(QChar c)
{
    return c == u'\'' || c == u'\u2019' || c == u'-' || c == u'.' || c == u',';
}

CellShape shapeOf(const QString &cell)
{
    const QString text = cell.simplified();
    if (text.isEmpty())
        return CellShape::Empty;
    bool letters = false, digits = false, otherMarks = false;
    for (const QChar c : text) {
        if (c.isLetter() || c.category() == QChar::Mark_NonSpacing)
            letters = true;
        else if (c.isDigit())
            digits = true;
        else if (c != u' ' && !isNamePunctuation(c))
            otherMarks = true;
    }
    // Numbers, dates and telephone numbers alike: digits without letters.
    if (digits && !letters)
        return CellShape::Number;
    if (digits || otherMarks || !letters)
        return CellShape::Other;
    return text.contains(u' ') ? CellShape::Name : CellShape::Word;
}

QString cellAt(const QStringList &cells, int column)
{
    return column >= 0 && column < cells.size() ? cells[column] : QString();
}

// The number of columns holding anything: an empty column at the end of every row,
// as a line ending in a separator gives, does not count.
int usedColumns(const QList<QStringList> &rows)
{
    int used = 0;
    for (const QStringList &row : rows) {
        for (int c = int(row.size()) - 1; c >= used; --c) {
            if (!row[c].trimmed().isEmpty()) {
                used = c + 1;
                break;
            }
        }
    }
    return used;
}

// The shape most cells of the column below row 0 have, Empty when they are all empty.
CellShape usualShapeBelow(const QList<QStringList> &rows, int column)
{
    std::map<CellShape, int> counts;
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const CellShape shape = shapeOf(cellAt(rows[r], column));
        if (shape != CellShape::Empty)
            ++counts[shape];
    }
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](const auto &a, const auto &b) { return a.second < b.second; });
    return most == counts.end() ? CellShape::Empty : most->first;
}

bool rowZeroDiffers(const QList<QStringList> &rows)
{
    if (rows.size() < 2)
        return false;
    bool unlikeBelow = false;
    for (int c = 0; c < usedColumns(rows); ++c) {
        const QString top = cellAt(rows[0], c).simplified();
        const CellShape shape = shapeOf(top);
        if (shape == CellShape::Empty || shape == CellShape::Number)
            return false;
        for (qsizetype r = 1; r < rows.size(); ++r) {
            if (cellAt(rows[r], c).simplified().compare(top, Qt::CaseInsensitive) == 0)
                return false;
        }
        const CellShape below = usualShapeBelow(rows, c);
        unlikeBelow = unlikeBelow || (below != CellShape::Empty && below != shape);
    }
    return unlikeBelow;
}

// The column whose cells from firstRow on most often look like names; 0 when none do.
int mostNameLikeColumn(const QList<QStringList> &rows, qsizetype firstRow)
{
    int best = 0, bestCount = 0;
    for (int c = 0; c < usedColumns(rows); ++c) {
        int count = 0;
        for (qsizetype r = firstRow; r < rows.size(); ++r)
            count += shapeOf(cellAt(rows[r], c)) == CellShape::Name ? 1 : 0;
        if (count > bestCount) {
            best = c;
            bestCount = count;
        }
    }
    return best;
}

// The first column of each role in the header row, -1 for a role without one.
struct HeaderColumns {
    int whole = -1, first = -1, last = -1, middle = -1, suffix = -1, filedAs = -1;

    bool any() const { return whole >= 0 || first >= 0 || last >= 0 || middle >= 0 || suffix >= 0; }
};

HeaderColumns headerColumns(const QStringList &header)
{
    HeaderColumns found;
    const auto take = [](int &column, int c) {
        if (column < 0)
            column = c;
    };
    for (int c = 0; c < header.size(); ++c) {
        switch (headerRole(header[c])) {
        case HeaderRole::WholeName: take(found.whole, c); break;
        case HeaderRole::FirstName: take(found.first, c); break;
        case HeaderRole::LastName: take(found.last, c); break;
        case HeaderRole::MiddleName: take(found.middle, c); break;
        case HeaderRole::Suffix: take(found.suffix, c); break;
        case HeaderRole::FiledAs: take(found.filedAs, c); break;
        case HeaderRole::None: break;
        }
    }
    if (found.first >= 0 && found.last < 0 && found.whole >= 0 &&
        meansLastNameBeside(header[found.whole], header[found.first])) {
        found.last = std::exchange(found.whole, -1);
    }
    return found;
}

ColumnChoice wholeNameIn(int column, int headerRow)
{
    ColumnChoice choice;
    choice.kind = ColumnChoice::Kind::WholeName;
    choice.firstRowIsHeader = headerRow >= 0;
    choice.headerRow = std::max(headerRow, 0);
    choice.wholeName = column;
    return choice;
}

int filledCells(const QStringList &row)
{
    return int(std::count_if(row.begin(), row.end(), [](const QString &cell) { return !cell.trimmed().isEmpty(); }));
}

// Whether row r may be the header as far as the rows above it go: they can only be a
// title and blank rows, each filling fewer cells than row r.
bool onlyTitleAbove(const QList<QStringList> &rows, qsizetype r)
{
    const int filled = filledCells(rows[r]);
    for (qsizetype above = 0; above < r; ++above) {
        if (filledCells(rows[above]) >= filled)
            return false;
    }
    return true;
}

// The header row: the first row that names a name column, else the first after which
// the rows look alike (see rowZeroDiffers), each with only a title above it; -1 for none.
int guessHeaderRow(const QList<QStringList> &rows)
{
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (headerColumns(rows[r]).any() && onlyTitleAbove(rows, r))
            return int(r);
    }
    for (qsizetype r = 0; r + 1 < rows.size(); ++r) {
        if (onlyTitleAbove(rows, r) && rowZeroDiffers(rows.mid(r)))
            return int(r);
    }
    return -1;
}

ColumnChoice guessNameColumns(const QList<QStringList> &firstRows, int headerRow, const HeaderColumns &named)
{
    if (named.first >= 0 && named.last >= 0) {
        ColumnChoice choice;
        choice.kind = ColumnChoice::Kind::NameParts;
        choice.firstRowIsHeader = true;
        choice.headerRow = headerRow;
        choice.lastName = named.last;
        choice.firstName = named.first;
        choice.middleName = named.middle;
        choice.suffix = named.suffix;
        return choice;
    }
    for (const int column : {named.whole, named.last, named.first}) {
        if (column >= 0)
            return wholeNameIn(column, headerRow);
    }
    return wholeNameIn(mostNameLikeColumn(firstRows, headerRow + 1), headerRow);
}

} // namespace

ColumnChoice guessColumns(const QList<QStringList> &firstRows)
{
    const int headerRow = guessHeaderRow(firstRows);
    const HeaderColumns named = headerRow >= 0 ? headerColumns(firstRows[headerRow]) : HeaderColumns();
    ColumnChoice choice = guessNameColumns(firstRows, headerRow, named);
    choice.filedAs = named.filedAs;
    return choice;
}

namespace {

// Appends the text with each run of white space made one space and none at either end,
// as QString::simplified() gives it; answers whether anything was appended.
bool appendSimplified(QString &name, QStringView text)
{
    // Most cells are simple already ("Ann", "de la Cruz"): those are appended whole.
    bool simple = !text.isEmpty() && !text.front().isSpace() && !text.back().isSpace();
    for (qsizetype i = 1; simple && i < text.size(); ++i) {
        const QChar c = text[i];
        simple = c.unicode() > u' ' ? !c.isSpace() : c == u' ' && text[i - 1] != u' ';
    }
    if (simple) {
        name += text;
        return true;
    }
    const qsizetype before = name.size();
    bool space = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            space = name.size() > before;
            continue;
        }
        if (space)
            name += u' ';
        space = false;
        name += c;
    }
    return name.size() > before;
}

// A cell's UTF-8 text appended as appendSimplified appends it. An ASCII cell (the most
// common) goes straight into the name; another is decoded into `scratch` first.
bool appendSimplifiedUtf8(QString &name, QByteArrayView bytes, QString &scratch)
{
    const qsizetype before = name.size();
    name.resize(before + bytes.size());
    QChar *const start = name.data() + before;
    QChar *out = start;
    bool space = false;
    for (const char byte : bytes) {
        if (uchar(byte) >= 0x80) {
            name.truncate(before);
            scratch = core::fromUtf8Text(bytes);
            return appendSimplified(name, scratch);
        }
        if (byte == ' ' || (byte >= '\t' && byte <= '\r')) {
            space = out != start;
            continue;
        }
        // A space written stands for at least one byte already read: out never passes
        // the room the bytes made.
        if (space)
            *out++ = u' ';
        space = false;
        *out++ = QLatin1Char(byte);
    }
    name.truncate(before + (out - start));
    return out != start;
}

// The name a row's parts make (see nameOfRow), built into one text: appendPart(column)
// appends the column's cell simplified (nothing for column -1) and answers whether it
// appended anything.
template<typename AppendPart>
void buildName(QString &name, const ColumnChoice &choice, AppendPart &&appendPart)
{
    name.resize(0);
    if (choice.kind == ColumnChoice::Kind::WholeName) {
        appendPart(choice.wholeName);
        return;
    }
    if (choice.kind != ColumnChoice::Kind::NameParts)
        return;
    const bool last = appendPart(choice.lastName);
    const qsizetype lastEnd = name.size();
    if (last)
        name += QLatin1String(", ");
    const qsizetype givenStart = name.size();
    const bool first = appendPart(choice.firstName);
    const qsizetype firstEnd = name.size();
    if (first)
        name += u' ';
    if (!appendPart(choice.middleName))
        name.truncate(firstEnd);
    const bool given = name.size() > givenStart;
    if (!given)
        name.truncate(lastEnd);
    if (name.isEmpty())
        return;
    const qsizetype beforeSuffix = name.size();
    name += last && given ? QLatin1String(", ") : QLatin1String(" ");
    if (!appendPart(choice.suffix))
        name.truncate(beforeSuffix);
}

} // namespace

QString nameOfRow(const QStringList &cells, const ColumnChoice &choice)
{
    QString name;
    buildName(name, choice, [&](int column) {
        return column >= 0 && column < cells.size() && appendSimplified(name, cells[column]);
    });
    return name;
}

void nameOfRowInto(QString &name, const tables::TableRows &table, qsizetype row, const ColumnChoice &choice)
{
    thread_local QString scratch; // for cells beyond ASCII, kept with its memory
    buildName(name, choice, [&](int column) {
        return column >= 0 && appendSimplifiedUtf8(name, table.cellBytes(row, column), scratch);
    });
}

namespace {

// The length of a cell's text as nameOfRowInto puts it into a name.
qsizetype simplifiedLength(QByteArrayView bytes)
{
    thread_local QString text, scratch; // kept with their memory for the next cell
    text.resize(0);
    appendSimplifiedUtf8(text, bytes, scratch);
    return text.size();
}

} // namespace

std::optional<tables::NameParts> namePartsOf(QStringView name, const tables::NameRow &row)
{
    if (!row || row.table->columns.kind != ColumnChoice::Kind::NameParts || row.table->columns.lastName < 0)
        return std::nullopt;
    const ColumnChoice &choice = row.table->columns;
    const tables::TableRows &cells = row.table->cells;
    const qsizetype lastLength = simplifiedLength(cells.cellBytes(row.row, choice.lastName));
    if (lastLength == 0 || lastLength > name.size())
        return std::nullopt;
    tables::NameParts parts;
    parts.lastName = name.first(lastLength);
    // What follows the last name: nothing, " Suffix", ", Given" or ", Given, Suffix".
    QStringView rest = name.sliced(lastLength);
    if (rest.isEmpty())
        return parts;
    const qsizetype suffixLength = choice.suffix < 0 ? 0 : simplifiedLength(cells.cellBytes(row.row, choice.suffix));
    if (suffixLength > 0) {
        if (rest.size() <= suffixLength)
            return std::nullopt;
        parts.suffix = rest.last(suffixLength);
        rest.chop(suffixLength);
        if (rest == u" ")
            return parts;
        if (!rest.endsWith(u", "))
            return std::nullopt;
        rest.chop(2);
    }
    if (rest.size() <= 2 || !rest.startsWith(u", "))
        return std::nullopt;
    parts.given = rest.sliced(2);
    return parts;
}

QStringList columnCaptions(const QList<QStringList> &firstRows, const ColumnChoice &choice)
{
    qsizetype columns = 1;
    for (const QStringList &row : firstRows)
        columns = std::max(columns, row.size());
    const bool header = choice.firstRowIsHeader && choice.headerRow < firstRows.size();
    QStringList captions;
    for (int c = 0; c < columns; ++c) {
        const QString cell = header ? cellAt(firstRows[choice.headerRow], c).simplified() : QString();
        captions << (cell.isEmpty() ? QStringLiteral("Column %1").arg(c + 1) : cell);
    }
    return captions;
}

bool readsAsCommaLine(const ColumnChoice &choice)
{
    return choice.kind == ColumnChoice::Kind::NameParts;
}

} // namespace orvella::lists

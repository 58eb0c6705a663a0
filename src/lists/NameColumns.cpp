#include "lists/NameColumns.h"

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
    int whole = -1, first = -1, last = -1, middle = -1, suffix = -1;

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
        case HeaderRole::None: break;
        }
    }
    if (found.first >= 0 && found.last < 0 && found.whole >= 0 &&
        meansLastNameBeside(header[found.whole], header[found.first])) {
        found.last = std::exchange(found.whole, -1);
    }
    return found;
}

ColumnChoice wholeNameIn(int column, bool header)
{
    ColumnChoice choice;
    choice.kind = ColumnChoice::Kind::WholeName;
    choice.firstRowIsHeader = header;
    choice.wholeName = column;
    return choice;
}

} // namespace

ColumnChoice guessColumns(const QList<QStringList> &firstRows)
{
    if (firstRows.isEmpty())
        return wholeNameIn(0, false);
    const HeaderColumns named = headerColumns(firstRows[0]);
    if (named.first >= 0 && named.last >= 0) {
        ColumnChoice choice;
        choice.kind = ColumnChoice::Kind::NameParts;
        choice.firstRowIsHeader = true;
        choice.lastName = named.last;
        choice.firstName = named.first;
        choice.middleName = named.middle;
        choice.suffix = named.suffix;
        return choice;
    }
    for (const int column : {named.whole, named.last, named.first}) {
        if (column >= 0)
            return wholeNameIn(column, true);
    }
    const bool header = named.any() || rowZeroDiffers(firstRows);
    return wholeNameIn(mostNameLikeColumn(firstRows, header ? 1 : 0), header);
}

QString nameOfRow(const QStringList &cells, const ColumnChoice &choice)
{
    const auto part = [&cells](int column) { return cellAt(cells, column).simplified(); };
    switch (choice.kind) {
    case ColumnChoice::Kind::WholeName:
        return part(choice.wholeName);
    case ColumnChoice::Kind::NameParts: {
        const QString last = part(choice.lastName);
        const QString middle = part(choice.middleName);
        QString given = part(choice.firstName);
        if (!middle.isEmpty())
            given = given.isEmpty() ? middle : given + u' ' + middle;
        QString name = last.isEmpty() ? given : given.isEmpty() ? last : last + QStringLiteral(", ") + given;
        const QString suffix = part(choice.suffix);
        if (name.isEmpty() || suffix.isEmpty())
            return name;
        return name + (last.isEmpty() || given.isEmpty() ? QStringLiteral(" ") : QStringLiteral(", ")) + suffix;
    }
    case ColumnChoice::Kind::Lines:
    case ColumnChoice::Kind::Cancel:
        break;
    }
    return QString();
}

QStringList columnCaptions(const QList<QStringList> &firstRows, bool firstRowIsHeader)
{
    qsizetype columns = 1;
    for (const QStringList &row : firstRows)
        columns = std::max(columns, row.size());
    QStringList captions;
    for (int c = 0; c < columns; ++c) {
        const QString cell = firstRowIsHeader && !firstRows.isEmpty() ? cellAt(firstRows[0], c).simplified() : QString();
        captions << (cell.isEmpty() ? QStringLiteral("Column %1").arg(c + 1) : cell);
    }
    return captions;
}

bool readsAsCommaLine(const ColumnChoice &choice)
{
    return choice.kind == ColumnChoice::Kind::NameParts;
}

} // namespace orvella::lists

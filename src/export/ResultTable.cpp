#include "export/ResultTable.h"

#include "lists/NameColumns.h"
#include "lists/NameListModel.h"

#include <algorithm>
#include <optional>

namespace orvella::exporting {
namespace {

// A table's header; "Column 1", "Column 2"... for one that has none.
QStringList headerOf(const tables::SourceTable &table)
{
    QStringList header = table.header;
    for (int column = int(header.size()); column < table.cells.columns(); ++column)
        header.append(QStringLiteral("Column %1").arg(column + 1));
    return header;
}

// A name's last and first parts, as a name without a row is split for the name
// columns: around what the sort filed it under ("de Vries" of "Cy de Vries") when that
// is part of it, else "Smith, John" at the comma and "John Smith" at the last space.
std::pair<QString, QString> lastAndFirst(const QString &name, const QString &filedUnder)
{
    const qsizetype at = filedUnder.isEmpty() ? -1 : name.indexOf(filedUnder);
    if (at >= 0) {
        QString rest = name;
        rest.remove(at, filedUnder.size());
        rest = rest.trimmed();
        while (rest.startsWith(QLatin1Char(',')) || rest.endsWith(QLatin1Char(',')))
            rest = (rest.startsWith(QLatin1Char(',')) ? rest.mid(1) : rest.chopped(1)).trimmed();
        return {filedUnder, rest};
    }
    const qsizetype comma = name.indexOf(QLatin1Char(','));
    if (comma >= 0)
        return {name.left(comma).trimmed(), name.mid(comma + 1).trimmed()};
    const QString trimmed = name.trimmed();
    const qsizetype space = trimmed.lastIndexOf(QLatin1Char(' '));
    if (space < 0)
        return {trimmed, QString()};
    return {trimmed.mid(space + 1), trimmed.left(space).trimmed()};
}

core::ExportOptions filedUnderAlone(bool filedUnder)
{
    core::ExportOptions options;
    options.set(core::NameColumn::FiledUnder, filedUnder);
    return options;
}

QString partOf(core::NameColumn column, const names::NamePartTexts &parts)
{
    switch (column) {
    case core::NameColumn::Title:
        return parts.title;
    case core::NameColumn::FirstName:
        return parts.first;
    case core::NameColumn::MiddleName:
        return parts.middle;
    case core::NameColumn::LastName:
        return parts.last;
    case core::NameColumn::Suffix:
        return parts.suffix;
    case core::NameColumn::Nickname:
        return parts.nickname;
    case core::NameColumn::LastFirst:
        return parts.lastFirst();
    case core::NameColumn::FiledUnder:
        break;
    }
    return QString();
}

} // namespace

ResultTable::ResultTable(const lists::NameListModel &results, bool filedUnder)
    : ResultTable(results, filedUnderAlone(filedUnder))
{
}

char16_t ResultTable::sourceDelimiter(const lists::NameListModel &results)
{
    for (int position = 1; results.hasRows() && position <= results.count(); ++position) {
        if (const tables::NameRow row = results.rowOf(position))
            return char16_t(row.table->cells.delimiter());
    }
    return 0;
}

ResultTable::ResultTable(const lists::NameListModel &results, const core::ExportOptions &options,
                         names::NamePartsReader reader)
    : m_results(results), m_nameColumns(options.chosenColumns()), m_reader(std::move(reader)),
      m_offset(int(m_nameColumns.size()))
{
    // The tables in the order their first results come.
    bool anyHeader = false;
    for (int position = 1; results.hasRows() && position <= results.count(); ++position) {
        const tables::NameRow row = results.rowOf(position);
        if (!row || std::any_of(m_placings.begin(), m_placings.end(),
                                [&](const Placing &placing) { return placing.table == row.table; }))
            continue;
        anyHeader = anyHeader || !row.table->header.isEmpty();
        if (m_placings.empty())
            m_nameCells = row.table->columns;
        m_placings.push_back(Placing{row.table, placeColumns(headerOf(*row.table))});
    }
    if (m_placings.empty()) {
        m_header = {QStringLiteral("Name")};
        m_nameCells.kind = core::ColumnChoice::Kind::WholeName;
        m_nameCells.wholeName = 0;
    }
    // Tables read without a header are written without one, unless a column of our
    // own needs its caption.
    m_writesHeader = m_placings.empty() || anyHeader || m_offset > 0;
    for (auto column = m_nameColumns.rbegin(); column != m_nameColumns.rend(); ++column)
        m_header.prepend(core::nameColumnCaption(*column));
    for (const Placing &placing : m_placings)
        keepRowsAbove(placing);
}

void ResultTable::keepRowsAbove(const Placing &placing)
{
    const tables::SourceTable &table = *placing.table;
    if (!table.columns.firstRowIsHeader)
        return;
    for (int row = 0; row < table.columns.headerRow && row < table.cells.rowCount(); ++row) {
        QStringList cells(m_header.size());
        int used = 0;
        for (size_t column = 0; column < placing.columnOf.size(); ++column) {
            const int to = placing.columnOf[column] + m_offset;
            cells[to] = table.cells.cell(row, int(column));
            if (!cells[to].isEmpty())
                used = std::max(used, to + 1);
        }
        // As the row was: without the empty cells the table's longer rows gave it.
        cells.resize(used);
        m_above.append(cells);
    }
}

std::vector<int> ResultTable::placeColumns(const QStringList &captions)
{
    // The first table's columns are written as they are, under its own captions.
    const bool first = m_placings.empty();
    QHash<QString, int> inTable;
    for (const QString &caption : captions)
        ++inTable[caption];
    const qsizetype existing = m_header.size();
    std::vector<int> columnOf;
    columnOf.reserve(size_t(captions.size()));
    for (qsizetype column = 0; column < captions.size(); ++column) {
        const QString &caption = captions[column];
        // A later table's column joins one written already only when its caption names
        // one column in each, so that no two of its cells meet in one place.
        const int joins = first || caption.isEmpty() || inTable.value(caption) != 1 ? -1 : m_captions.value(caption, -1);
        if (joins >= 0 && joins < existing) {
            columnOf.push_back(joins);
            continue;
        }
        columnOf.push_back(int(m_header.size()));
        if (first)
            addCaption(caption);
        else
            addCaption(ownCaption(caption.isEmpty() ? QStringLiteral("Column %1").arg(column + 1) : caption));
    }
    return columnOf;
}

QString ResultTable::ownCaption(const QString &caption) const
{
    if (!m_captions.contains(caption))
        return caption;
    for (int number = 2;; ++number) {
        const QString numbered = QStringLiteral("%1 (%2)").arg(caption).arg(number);
        if (!m_captions.contains(numbered))
            return numbered;
    }
}

void ResultTable::addCaption(const QString &caption)
{
    // A caption given to a second column names neither any more.
    const auto found = m_captions.constFind(caption);
    m_captions.insert(caption, found == m_captions.constEnd() ? int(m_header.size()) : -1);
    m_header.append(caption);
}

QStringList ResultTable::header() const
{
    return m_writesHeader ? m_header : QStringList();
}

qsizetype ResultTable::rowCount() const
{
    return m_results.count();
}

QString ResultTable::name(qsizetype row) const
{
    return m_results.item(int(row + 1));
}

const ResultTable::Placing &ResultTable::placingOf(const tables::SourceTablePtr &table) const
{
    for (const Placing &placing : m_placings) {
        if (placing.table == table)
            return placing;
    }
    // A table that came after the columns were laid out (the list changed meanwhile).
    static const Placing none;
    return none;
}

void ResultTable::putName(int position, QStringList &cells) const
{
    const QString name = m_results.item(position);
    const auto put = [&](int column, const QString &text) {
        if (column >= 0 && column + m_offset < cells.size())
            cells[column + m_offset] = text;
    };
    if (m_nameCells.kind == core::ColumnChoice::Kind::NameParts) {
        const auto [last, first] = lastAndFirst(name, m_results.note(position, tables::RowNote::FiledUnder));
        put(m_nameCells.lastName, last);
        put(m_nameCells.firstName, first);
    } else {
        put(m_nameCells.wholeName, name);
    }
}

void ResultTable::putNameColumns(int position, const tables::NameRow &source, QStringList &cells) const
{
    names::NamePartTexts parts;
    const bool partsWanted = std::any_of(m_nameColumns.begin(), m_nameColumns.end(),
                                         [](core::NameColumn column) { return column != core::NameColumn::FiledUnder; });
    if (partsWanted) {
        const QString name = m_results.item(position);
        const std::optional<tables::NameParts> columns = lists::namePartsOf(name, source);
        parts = m_reader.read(name, columns ? &*columns : nullptr, source && source.table->commaLines);
    }
    for (size_t at = 0; at < m_nameColumns.size(); ++at) {
        const core::NameColumn column = m_nameColumns[at];
        cells[qsizetype(at)] = column == core::NameColumn::FiledUnder
                                   ? m_results.note(position, tables::RowNote::FiledUnder)
                                   : partOf(column, parts);
    }
}

void ResultTable::cells(qsizetype row, QStringList &cells) const
{
    const int position = int(row + 1);
    cells.clear();
    cells.resize(m_header.size());
    const tables::NameRow source = m_results.hasRows() ? m_results.rowOf(position) : tables::NameRow();
    putNameColumns(position, source, cells);
    const Placing *placing = source ? &placingOf(source.table) : nullptr;
    if (!placing || !placing->table) {
        putName(position, cells);
        return;
    }
    for (size_t column = 0; column < placing->columnOf.size(); ++column)
        cells[placing->columnOf[column] + m_offset] = source.table->cells.cell(source.row, int(column));
}

void ResultTable::prefetch(int position) const
{
    // Rows this far apart give each fetch the time to arrive before the next needs it.
    constexpr int kAhead = 8;
    for (int stage = 0; stage < 3; ++stage) {
        const int ahead = position + (3 - stage) * kAhead;
        if (ahead > m_results.count())
            continue;
        if (const tables::NameRow next = m_results.rowOf(ahead))
            next.table->cells.prefetch(next.row, stage);
    }
}

bool ResultTable::cellBytes(qsizetype row, std::vector<QByteArrayView> &cells) const
{
    const int position = int(row + 1);
    prefetch(position);
    const tables::NameRow source = m_results.hasRows() ? m_results.rowOf(position) : tables::NameRow();
    const Placing *placing = source ? &placingOf(source.table) : nullptr;
    if (!placing || !placing->table || !m_nameColumns.empty())
        return false;
    cells.assign(size_t(m_header.size()), QByteArrayView());
    for (size_t column = 0; column < placing->columnOf.size(); ++column)
        cells[size_t(placing->columnOf[column] + m_offset)] = source.table->cells.cellBytes(source.row, int(column));
    return true;
}

} // namespace orvella::exporting

#pragma once

#include "core/ExportOptions.h"
#include "names/NameParts.h"
#include "tables/TableExport.h"
#include "tables/NameRows.h"

#include <QHash>

#include <vector>

namespace orvella::lists {
class NameListModel;
} // namespace orvella::lists

namespace orvella::exporting {

// The result list as the rows Export Results writes. A result that came from a table
// is written as its whole row; one that did not gets its name in the name column(s)
// and empty cells. The columns are the first table's, in its order and under its
// header; a column of a later table joins one written already when its caption names
// exactly one column in each, and every other one follows under a caption of its own
// ("Phone (2)" for a caption taken, "Column 3" for an unnamed third column), so that
// no cell is left out. Without any table there is one column, "Name". The name columns
// the options tick go first, in their order ("Title" … "Last, First", "Filed under"),
// each result's parts read by `reader` (the reading that sorted the results) and
// "Filed under" what each result was sorted under.
// The rows a table had above its header (a title) are written above the header, as
// they were, each table's in the order of the tables, in their columns.
class ResultTable : public tables::TableSource {
public:
    ResultTable(const lists::NameListModel &results, const core::ExportOptions &options,
                names::NamePartsReader reader = {});
    // With the "Filed under" column alone, or no name column.
    ResultTable(const lists::NameListModel &results, bool filedUnder);

    // The delimiter of the first CSV or TSV table the results came from; none (0) when
    // they came from no such table.
    static char16_t sourceDelimiter(const lists::NameListModel &results);

    QStringList header() const override;
    QList<QStringList> rowsAboveHeader() const override { return m_above; }
    qsizetype rowCount() const override;
    void cells(qsizetype row, QStringList &cells) const override;
    // A table's row as its bytes, when no name column is written.
    bool cellBytes(qsizetype row, std::vector<QByteArrayView> &cells) const override;
    QString name(qsizetype row) const override; // the result as the list shows it

private:
    // Where a table's columns go among the columns written.
    struct Placing {
        tables::SourceTablePtr table;
        std::vector<int> columnOf; // for each of the table's columns
    };
    const Placing &placingOf(const tables::SourceTablePtr &table) const;
    // Where the columns of the next table (captioned so) go, adding those that need
    // one of their own.
    std::vector<int> placeColumns(const QStringList &captions);
    QString ownCaption(const QString &caption) const;
    void addCaption(const QString &caption);
    void putName(int position, QStringList &cells) const;
    // Fetches the cells of the rows a little past this one towards the processor.
    void prefetch(int position) const;
    void keepRowsAbove(const Placing &placing);
    void putNameColumns(int position, const tables::NameRow &source, QStringList &cells) const;

    const lists::NameListModel &m_results;
    std::vector<core::NameColumn> m_nameColumns; // written first, in this order
    names::NamePartsReader m_reader;
    int m_offset; // the number of name columns
    QStringList m_header;
    QList<QStringList> m_above;
    // The column of m_header under each caption; -1 for a caption of several columns.
    QHash<QString, int> m_captions;
    bool m_writesHeader = true;
    std::vector<Placing> m_placings;
    core::ColumnChoice m_nameCells; // where a result without a row puts its name
};

} // namespace orvella::exporting

#pragma once

#include "export/TableExport.h"
#include "lists/NameRows.h"

#include <vector>

namespace orvella::lists {
class NameListModel;
}

namespace orvella::exporting {

// The result list as the rows Export Results writes. A result that came from a table
// is written as its whole row; one that did not gets its name in the name column(s)
// and empty cells. The columns are the first table's, in its order and under its
// header; the columns of other tables join them by their header, and those the first
// has not got follow. Without any table there is one column, "Name". "Filed under"
// puts what each result was sorted under in a first column of its own. The rows a
// table had above its header (a title) are written above the header, as they were,
// each table's in the order of the tables, in their columns.
class ResultTable : public TableSource {
public:
    ResultTable(const lists::NameListModel &results, bool filedUnder);

    QStringList header() const override;
    QList<QStringList> rowsAboveHeader() const override { return m_above; }
    qsizetype rowCount() const override;
    void cells(qsizetype row, QStringList &cells) const override;

private:
    // Where a table's columns go among the columns written.
    struct Placing {
        lists::SourceTablePtr table;
        std::vector<int> columnOf; // for each of the table's columns
    };
    const Placing &placingOf(const lists::SourceTablePtr &table) const;
    void putName(int position, QStringList &cells) const;
    void keepRowsAbove(const Placing &placing);

    const lists::NameListModel &m_results;
    bool m_filedUnder;
    int m_offset; // 1 with the "Filed under" column, else 0
    QStringList m_header;
    QList<QStringList> m_above;
    bool m_writesHeader = true;
    std::vector<Placing> m_placings;
    core::ColumnChoice m_nameColumns; // where a result without a row puts its name
};

} // namespace orvella::exporting

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <span>
#include <vector>

namespace orvella::lists {

// The cells of a table read from a CSV, TSV, XLSX or ODS file, row by row, as the file
// holds them (a header row, if any, is row 0 like any other). Cells are kept as UTF-8
// one after the other in large blocks, with the end of each cell: a cell costs its
// bytes and four, not a string of its own, so a million rows of six columns stay close
// to the file's own size.
//
// Rows may differ in length, as CSV files' do: columns() is the longest row's, and a
// cell past the end of its row reads as empty.
class TableRows {
public:
    TableRows();
    TableRows(TableRows &&) noexcept;
    TableRows &operator=(TableRows &&) noexcept;
    ~TableRows();

    qsizetype rowCount() const { return qsizetype(m_rows.size()); }
    int columns() const { return m_columns; }

    void appendRow(std::span<const QStringView> cells);
    void appendRow(const QStringList &cells);
    // Cells that are UTF-8 already (valid UTF-8: they are kept as they are).
    void appendRow(std::span<const QByteArrayView> cells);

    // The cell's text; empty for a row or column past the end.
    QString cell(qsizetype row, int column) const;
    // The cell's UTF-8 bytes, valid until the next row is appended.
    QByteArrayView cellBytes(qsizetype row, int column) const;
    // Every cell of the row, padded with empty ones to columns().
    QStringList row(qsizetype row) const;
    // The memory the cells take, in bytes.
    qsizetype bytes() const;

private:
    struct RowPlace {
        quint32 block;
        quint32 firstCell; // index of the row's first cell end in the block
        quint32 cells;
    };
    struct Block {
        QByteArray text;           // the cells' UTF-8, one after the other
        std::vector<quint32> ends; // end of each cell within text
    };
    // The block a row of at most `most` bytes goes into, a new one when the last is full.
    Block &blockFor(qsizetype most);

    std::vector<Block> m_blocks;
    std::vector<RowPlace> m_rows;
    int m_columns = 0;
};

} // namespace orvella::lists

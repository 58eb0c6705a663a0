#pragma once

#include "core/Failure.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <span>
#include <utility>
#include <vector>

namespace orvella::tables {

// A table that would take more memory than its budget. The reason names the limit; the
// reader that catches it names the file.
class TableTooLarge : public core::Failure {
public:
    using core::Failure::Failure;
};

// A filled cell of a row given by its column (from 0): a sheet's row is given as the
// cells it fills.
using SheetCell = std::pair<int, QStringView>;

// The cells of a table read from a CSV, TSV, XLSX or ODS file, row by row, as the file
// holds them (a header row, if any, is row 0 like any other). Cells are kept as UTF-8
// one after the other in large blocks, with the end of each cell: a cell costs its
// bytes and four, not a string of its own, so a million rows of six columns stay close
// to the file's own size. A row that fills few of its columns keeps only those, each
// with its column, and a row repeated is kept once: a sheet's empty width and repeated
// rows cost (almost) nothing.
//
// Rows may differ in length, as CSV files' do: columns() is the longest row's, and a
// cell past the end of its row reads as empty.
//
// The table counts what it costs in memory (cost()) and refuses, throwing TableTooLarge,
// a row that would take it past its budget.
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
    // A row given by its filled cells, in ascending columns, none empty.
    void appendRow(std::span<const SheetCell> cells);
    // The last row again, `times` more times, without a copy of its cells.
    void repeatLastRow(qsizetype times);

    // The cell's text; empty for a row or column past the end.
    QString cell(qsizetype row, int column) const;
    // The cell's UTF-8 bytes, valid until the next row is appended.
    QByteArrayView cellBytes(qsizetype row, int column) const;
    // Fetches what reading the row's cells will need into the processor's cache ahead of
    // time, one step a call: its place (stage 0), its cell ends (1), its text (2), each
    // after the one before has had time to arrive. Rows read out of the file's order
    // (sorted) otherwise wait on the memory at each of them. Does nothing past the end.
    void prefetch(qsizetype row, int stage) const;
    // Every cell of the row, padded with empty ones to columns().
    QStringList row(qsizetype row) const;
    // Whether test(bytes) holds for any cell the row keeps: the empty cells of a sparse
    // row (a sheet's row with a cell at each end of 16,384 columns) are not asked about.
    template <typename Test>
    bool anyKeptCell(qsizetype row, Test test) const
    {
        if (row < 0 || row >= rowCount())
            return false;
        const RowPlace &place = m_rows[size_t(row)];
        const Block &block = m_blocks[place.block];
        for (quint32 index = place.firstCell; index < place.firstCell + place.cells; ++index) {
            const quint32 start = index == 0 ? 0 : block.ends[index - 1];
            if (test(QByteArrayView(block.text.constData() + start, block.ends[index] - start)))
                return true;
        }
        return false;
    }
    // The memory the cells take, in bytes.
    qsizetype bytes() const;

    // The bytes the table takes: its text, its cell ends and columns, its rows' places.
    qsizetype cost() const { return m_cost; }
    qsizetype budget() const { return m_budget; }
    void setBudget(qsizetype bytes) { m_budget = bytes; }
    // Throws TableTooLarge when `more` bytes would take the table past its budget.
    void checkRoom(qsizetype more) const;

    // The delimiter of the CSV or TSV file the rows were read from; 0 for any other table.
    char delimiter() const { return m_delimiter; }
    void setDelimiter(char delimiter) { m_delimiter = delimiter; }

private:
    static constexpr quint32 kDense = 0xFFFFFFFF;
    struct RowPlace {
        quint32 block;
        quint32 firstCell;  // index of the row's first cell end in the block
        quint32 cells;      // the cells kept
        quint32 firstColumn; // kDense: the cells are columns 0, 1, ...; else index in columns
    };
    struct Block {
        QByteArray text;              // the cells' UTF-8, one after the other
        std::vector<quint32> ends;    // end of each cell within text
        std::vector<quint32> columns; // the column of each cell of the rows kept sparse
    };
    // The block a row of at most `most` bytes goes into, a new one when the last is full.
    Block &blockFor(qsizetype most);
    void addRow(const RowPlace &place, int width, qsizetype costBefore);
    qsizetype blockCost(const Block &block) const;

    std::vector<Block> m_blocks;
    char m_delimiter = 0;
    std::vector<RowPlace> m_rows;
    int m_columns = 0;
    qsizetype m_cost = 0;
    qsizetype m_budget;
};

// The most memory a table read from a file may take: half of the computer's memory, or
// of the process's address space where that is limited to less. A program that runs in
// less memory than that (a fuzzer's) sets its own, for the tables made from then on.
qsizetype defaultTableBudget();
void setDefaultTableBudget(qsizetype bytes);

} // namespace orvella::tables

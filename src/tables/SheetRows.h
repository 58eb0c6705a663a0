#pragma once

#include "tables/TableRows.h"

#include <QString>

#include <utility>
#include <vector>

namespace orvella::core {
class Desktop;
} // namespace orvella::core

namespace orvella::tables {

class ZipArchive;

// Gathers the cells of a workbook's sheet row by row into table rows: cells the sheet
// skips are empty, the empty cells at the end of a row are dropped, and so is a row
// with no text at all. A sheet holds at most kMaxRows rows of kMaxColumns columns, and a
// cell at most kMaxCellUnits characters (an OpenDocument one more); a cell beyond them
// fails the read. A row's
// empty cells and its repetitions are not kept one by one (see TableRows).
class SheetRows {
public:
    static constexpr qsizetype kMaxRows = 1048576;
    static constexpr qsizetype kMaxColumns = 16384;
    // The most characters a spreadsheet's cell holds (Excel's limit).
    static constexpr qsizetype kMaxCellUnits = 32767;
    // An OpenDocument spreadsheet's cell may hold more: LibreOffice writes longer ones,
    // and so does this program's export of a CSV file's long notes.
    static constexpr qsizetype kMaxOpenDocumentCellUnits = qsizetype(1) << 20;

    SheetRows(const ZipArchive &archive, core::Desktop &desktop, qsizetype maxCellUnits = kMaxCellUnits)
        : m_archive(archive), m_desktop(desktop), m_maxCellUnits(maxCellUnits)
    {
    }

    // Columns count from 0.
    void setCell(qsizetype column, QString text);
    // Ends the row, which the sheet repeats `times` times in all.
    void endRow(qsizetype times = 1);
    TableRows take() { return std::move(m_rows); }
    // The table's budget and cost (see TableRows).
    TableRows &rows() { return m_rows; }

    // The most characters a cell of this sheet may hold.
    qsizetype maxCellUnits() const { return m_maxCellUnits; }
    // Fails the read for a cell longer than that.
    [[noreturn]] void refuseLongCell() const;

private:
    const ZipArchive &m_archive;
    core::Desktop &m_desktop;
    const qsizetype m_maxCellUnits;
    std::vector<std::pair<int, QString>> m_cells; // the row's filled cells, as they came
    qsizetype m_rowUnits = 0;                     // their characters
    std::vector<SheetCell> m_views;
    TableRows m_rows;
    qsizetype m_rowsRead = 0; // empty ones included, for the sheet's limit
};

} // namespace orvella::tables

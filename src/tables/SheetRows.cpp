#include "tables/SheetRows.h"

#include "core/Desktop.h"
#include "tables/zip/ZipArchive.h"

#include <algorithm>

namespace orvella::tables {
namespace {

// Other commands may run between this many rows of a long sheet.
constexpr qsizetype kRowsBetweenYields = 4096;

} // namespace

void SheetRows::refuseLongCell() const
{
    m_archive.tooLarge(QStringLiteral("a cell of its first sheet holds more than %1 characters, the most a "
                                      "sheet's cell holds").arg(m_maxCellUnits));
}

void SheetRows::setCell(qsizetype column, QString text)
{
    if (text.isEmpty())
        return;
    if (column < 0 || column >= kMaxColumns)
        m_archive.fail(QStringLiteral("its first sheet has a cell past column %1").arg(kMaxColumns));
    if (text.size() > m_maxCellUnits)
        refuseLongCell();
    // What the row's cells will take in the table (three bytes a character at most, a
    // cell end and a column), before they are kept there.
    m_rowUnits += text.size();
    m_rows.checkRoom(3 * m_rowUnits + 8 * qsizetype(m_cells.size() + 1));
    m_cells.emplace_back(int(column), std::move(text));
}

void SheetRows::endRow(qsizetype times)
{
    const qsizetype before = m_rowsRead;
    m_rowsRead += times;
    if (before / kRowsBetweenYields != (m_rowsRead - 1) / kRowsBetweenYields || before % kRowsBetweenYields == 0)
        m_desktop.yield();
    if (m_cells.empty())
        return; // an empty row, however often repeated, is dropped
    if (m_rowsRead > kMaxRows)
        m_archive.fail(QStringLiteral("its first sheet has more than %1 rows").arg(kMaxRows));
    // In column order; where a column is given twice, the last cell given counts.
    std::stable_sort(m_cells.begin(), m_cells.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    m_views.clear();
    for (const auto &[column, text] : m_cells) {
        if (!m_views.empty() && m_views.back().first == column)
            m_views.back().second = text;
        else
            m_views.emplace_back(column, text);
    }
    m_rows.appendRow(std::span<const SheetCell>(m_views));
    m_rows.repeatLastRow(times - 1);
    m_cells.clear();
    m_rowUnits = 0;
}

} // namespace orvella::tables

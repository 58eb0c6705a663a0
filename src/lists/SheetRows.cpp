#include "lists/SheetRows.h"

#include "core/Desktop.h"
#include "lists/ZipArchive.h"

namespace orvella::lists {
namespace {

// Other commands may run between this many rows of a long sheet.
constexpr qsizetype kRowsBetweenYields = 4096;

} // namespace

void SheetRows::setCell(qsizetype column, QString text)
{
    if (text.isEmpty())
        return;
    if (column < 0 || column >= kMaxColumns)
        m_archive.fail(QStringLiteral("its first sheet has a cell past column %1").arg(kMaxColumns));
    if (qsizetype(m_cells.size()) <= column)
        m_cells.resize(size_t(column) + 1);
    m_cells[size_t(column)] = std::move(text);
}

void SheetRows::endRow(qsizetype times)
{
    const qsizetype before = m_rowsRead;
    m_rowsRead += times;
    if (m_cells.empty())
        return; // an empty row, however often repeated, is dropped
    if (m_rowsRead > kMaxRows)
        m_archive.fail(QStringLiteral("its first sheet has more than %1 rows").arg(kMaxRows));
    m_views.assign(m_cells.begin(), m_cells.end());
    for (qsizetype i = 0; i < times; ++i) {
        if ((before + i) % kRowsBetweenYields == 0)
            m_desktop.yield();
        m_rows.appendRow(std::span<const QStringView>(m_views));
    }
    m_cells.clear();
}

} // namespace orvella::lists

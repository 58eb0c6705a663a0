#include "lists/TableRows.h"

namespace orvella::lists {
namespace {
constexpr qsizetype kBlockBytes = qsizetype(1) << 18;
}

TableRows::TableRows() = default;
TableRows::TableRows(TableRows &&) noexcept = default;
TableRows &TableRows::operator=(TableRows &&) noexcept = default;
TableRows::~TableRows() = default;

void TableRows::appendRow(std::span<const QStringView> cells)
{
    if (m_blocks.empty() || m_blocks.back().text.size() >= kBlockBytes) {
        m_blocks.emplace_back();
        m_blocks.back().text.reserve(kBlockBytes);
    }
    Block &block = m_blocks.back();
    m_rows.push_back({quint32(m_blocks.size() - 1), quint32(block.ends.size()), quint32(cells.size())});
    for (const QStringView cell : cells) {
        block.text.append(cell.toUtf8());
        block.ends.push_back(quint32(block.text.size()));
    }
    m_columns = std::max(m_columns, int(cells.size()));
}

void TableRows::appendRow(const QStringList &cells)
{
    std::vector<QStringView> views(cells.begin(), cells.end());
    appendRow(std::span<const QStringView>(views));
}

QByteArrayView TableRows::cellBytes(qsizetype row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0)
        return {};
    const RowPlace place = m_rows[size_t(row)];
    if (quint32(column) >= place.cells)
        return {};
    const Block &block = m_blocks[place.block];
    const size_t at = place.firstCell + quint32(column);
    const quint32 start = at == 0 ? 0 : block.ends[at - 1];
    return QByteArrayView(block.text).sliced(start, block.ends[at] - start);
}

QString TableRows::cell(qsizetype row, int column) const
{
    return QString::fromUtf8(cellBytes(row, column));
}

QStringList TableRows::row(qsizetype row) const
{
    QStringList cells;
    cells.reserve(m_columns);
    for (int column = 0; column < m_columns; ++column)
        cells.append(cell(row, column));
    return cells;
}

} // namespace orvella::lists

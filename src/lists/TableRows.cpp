#include "lists/TableRows.h"

#include "core/Failure.h"

#include <QStringEncoder>

#include <algorithm>
#include <cstring>
#include <limits>

namespace orvella::lists {
namespace {

// A block takes rows until its text reaches this many bytes; a longer row gets a block
// of its own. Large enough to come straight from the system, as TextRows' blocks do.
constexpr qsizetype kBlockBytes = qsizetype(1) << 18;
constexpr qsizetype kMaxBlockBytes = std::numeric_limits<quint32>::max();

// The most UTF-8 bytes a row's cells can take: three for each UTF-16 unit (a surrogate
// pair takes four bytes for two units).
qsizetype mostBytes(std::span<const QStringView> cells)
{
    qsizetype units = 0;
    for (const QStringView cell : cells)
        units += cell.size();
    return 3 * units;
}

// The UTF-16 units of UTF-8 cells: one for each byte that starts a character, and one
// more for each character past U+FFFF (a lead byte of four).
qsizetype utf16Units(std::span<const QByteArrayView> cells)
{
    qsizetype units = 0;
    for (const QByteArrayView cell : cells) {
        for (const char byte : cell)
            units += ((uchar(byte) & 0xC0) != 0x80 ? 1 : 0) + (uchar(byte) >= 0xF0 ? 1 : 0);
    }
    return units;
}

} // namespace

TableRows::TableRows() = default;
TableRows::TableRows(TableRows &&) noexcept = default;
TableRows &TableRows::operator=(TableRows &&) noexcept = default;
TableRows::~TableRows() = default;

void TableRows::appendRow(std::span<const QStringView> cells)
{
    const qsizetype most = mostBytes(cells);
    if (most > kMaxBlockBytes || cells.size() > std::numeric_limits<int>::max())
        throw core::Failure(QStringLiteral("A table row of %1 characters is too long to keep").arg(most / 3));
    Block &block = blockFor(most);
    RowPlace place{quint32(m_blocks.size() - 1), quint32(block.ends.size()), quint32(cells.size())};

    // Each cell is encoded on its own (stateless), so that half a surrogate pair at the
    // end of one cell does not join the next.
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const qsizetype start = block.text.size();
    block.text.resize(start + most);
    char *out = block.text.data() + start;
    for (const QStringView cell : cells) {
        out = encoder.appendToBuffer(out, cell);
        block.ends.push_back(quint32(out - block.text.constData()));
    }
    block.text.truncate(out - block.text.constData());

    m_rows.push_back(place);
    m_columns = std::max(m_columns, int(cells.size()));
}

void TableRows::appendRow(std::span<const QByteArrayView> cells)
{
    qsizetype bytes = 0;
    for (const QByteArrayView cell : cells)
        bytes += cell.size();
    // The same rows are refused as when their text comes as UTF-16: those whose UTF-16
    // units might take more room than a block's cell ends can reach.
    if (bytes > kMaxBlockBytes / 3 || cells.size() > std::numeric_limits<int>::max()) {
        const qsizetype most = 3 * utf16Units(cells);
        if (most > kMaxBlockBytes || cells.size() > std::numeric_limits<int>::max())
            throw core::Failure(QStringLiteral("A table row of %1 characters is too long to keep").arg(most / 3));
    }
    Block &block = blockFor(bytes);
    RowPlace place{quint32(m_blocks.size() - 1), quint32(block.ends.size()), quint32(cells.size())};
    const qsizetype start = block.text.size();
    block.text.resize(start + bytes);
    char *const text = block.text.data();
    qsizetype end = start;
    for (const QByteArrayView cell : cells) {
        if (!cell.isEmpty())
            std::memcpy(text + end, cell.data(), size_t(cell.size()));
        end += cell.size();
        block.ends.push_back(quint32(end));
    }
    m_rows.push_back(place);
    m_columns = std::max(m_columns, int(cells.size()));
}

TableRows::Block &TableRows::blockFor(qsizetype most)
{
    const bool fits = !m_blocks.empty() && m_blocks.back().text.size() + most <= kBlockBytes;
    if (!fits && (m_blocks.empty() || !m_blocks.back().text.isEmpty())) {
        m_blocks.emplace_back();
        m_blocks.back().text.reserve(std::max(kBlockBytes, most));
    }
    return m_blocks.back();
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
    const RowPlace &place = m_rows[size_t(row)];
    if (quint32(column) >= place.cells)
        return {};
    const Block &block = m_blocks[place.block];
    const quint32 index = place.firstCell + quint32(column);
    const quint32 start = index == 0 ? 0 : block.ends[index - 1];
    return QByteArrayView(block.text.constData() + start, block.ends[index] - start);
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

qsizetype TableRows::bytes() const
{
    qsizetype bytes = qsizetype(m_rows.capacity() * sizeof(RowPlace) + m_blocks.capacity() * sizeof(Block));
    for (const Block &block : m_blocks)
        bytes += block.text.capacity() + qsizetype(block.ends.capacity() * sizeof(quint32));
    return bytes;
}

} // namespace orvella::lists

#include "tables/TextRows.h"

#include "core/Failure.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace orvella::tables {
namespace {
constexpr qsizetype kMaxBlockText = std::numeric_limits<quint32>::max();

void checkBlockText(qsizetype size)
{
    if (size > kMaxBlockText)
        throw core::Failure(QStringLiteral("A list item of %1 characters is too long to keep").arg(size));
}

std::atomic<qsizetype> liveBlockCount{0};
} // namespace

TextRows::BlockData::BlockData()
{
    liveBlockCount.fetch_add(1, std::memory_order_relaxed);
}

TextRows::BlockData::BlockData(const BlockData &other) : QSharedData(other), text(other.text), ends(other.ends)
{
    // A shared block copied for a change: the copy gets room to grow as the block had.
    text.reserve(other.text.capacity());
    liveBlockCount.fetch_add(1, std::memory_order_relaxed);
}

TextRows::BlockData::~BlockData()
{
    liveBlockCount.fetch_sub(1, std::memory_order_relaxed);
}

qsizetype TextRows::liveBlocks()
{
    return liveBlockCount.load(std::memory_order_relaxed);
}

TextRows::TextRows(qsizetype blockUnits, qsizetype blockRows)
    : m_blockUnits(std::max<qsizetype>(blockUnits, 1)), m_blockRows(std::max<qsizetype>(blockRows, 1))
{
}

TextRows::TextRows(TextRows &&other) noexcept
    : m_blockUnits(other.m_blockUnits), m_blockRows(other.m_blockRows), m_blocks(std::move(other.m_blocks)),
      m_size(std::exchange(other.m_size, 0))
{
    other.m_lastBlock.store(0, std::memory_order_relaxed);
    other.m_blocks.clear();
}

TextRows TextRows::shared() const
{
    TextRows copy(m_blockUnits, m_blockRows);
    copy.m_blocks = m_blocks;
    copy.m_size = m_size;
    return copy;
}

TextRows &TextRows::operator=(TextRows &&other) noexcept
{
    if (this != &other) {
        m_blockUnits = other.m_blockUnits;
        m_blockRows = other.m_blockRows;
        m_blocks = std::move(other.m_blocks);
        other.m_blocks.clear();
        m_size = std::exchange(other.m_size, 0);
        m_lastBlock.store(0, std::memory_order_relaxed);
        other.m_lastBlock.store(0, std::memory_order_relaxed);
    }
    return *this;
}

qsizetype TextRows::blockOf(qsizetype row) const
{
    const auto holds = [this, row](qsizetype block) {
        return block < qsizetype(m_blocks.size()) && m_blocks[size_t(block)].firstRow <= row &&
            row < m_blocks[size_t(block)].firstRow + m_blocks[size_t(block)].rowCount();
    };
    const qsizetype last = m_lastBlock.load(std::memory_order_relaxed);
    for (const qsizetype near : {last, last + 1}) {
        if (holds(near))
            return near;
    }
    // The last block whose first row is at or before the row.
    const auto after = std::upper_bound(m_blocks.begin(), m_blocks.end(), row,
                                        [](qsizetype r, const Block &block) { return r < block.firstRow; });
    const qsizetype found = qsizetype(after - m_blocks.begin()) - 1;
    m_lastBlock.store(found, std::memory_order_relaxed);
    return found;
}

QStringView TextRows::at(qsizetype row) const
{
    const Block &block = m_blocks[size_t(blockOf(row))];
    const qsizetype inBlock = row - block.firstRow;
    const quint32 start = block.start(inBlock);
    return QStringView(block.d->text).sliced(start, block.d->ends[size_t(inBlock)] - start);
}

TextRows::Block &TextRows::blockFor(qsizetype length)
{
    if (!m_blocks.empty()) {
        const Block &last = std::as_const(m_blocks).back();
        const bool roomForRow = last.rowCount() < m_blockRows;
        const bool roomForText = last.d->text.size() + length <= m_blockUnits;
        if (roomForRow && (roomForText || last.d->text.isEmpty()))
            return m_blocks.back();
    }
    Block block;
    block.d = new BlockData;
    block.firstRow = m_size;
    // Once one block is full the list is long: the next takes a whole block's room at
    // once instead of growing into it.
    if (!m_blocks.empty())
        block.d->text.reserve(std::max(m_blockUnits, length));
    m_blocks.push_back(std::move(block));
    return m_blocks.back();
}

void TextRows::append(QStringView text)
{
    checkBlockText(text.size());
    BlockData &block = *blockFor(text.size()).d;
    const qsizetype needed = block.text.size() + text.size();
    if (block.text.capacity() < needed) {
        // Grows as a string grows, but never past a block's size unless one row needs more.
        const qsizetype grown = std::max(needed, 2 * block.text.capacity());
        block.text.reserve(std::min(grown, std::max(m_blockUnits, needed)));
    }
    block.text.append(text);
    block.ends.push_back(quint32(block.text.size()));
    ++m_size;
}

void TextRows::append(TextRows &&rows)
{
    if (rows.isEmpty())
        return;
    // A few rows join the last block; many keep the blocks they came in.
    if (rows.m_blocks.size() == 1 && std::as_const(rows.m_blocks).front().d->text.size() < m_blockUnits / 2) {
        rows.forEach([this](QStringView text) { append(text); });
    } else {
        const qsizetype offset = m_size;
        m_blocks.reserve(m_blocks.size() + rows.m_blocks.size());
        for (Block &block : rows.m_blocks) {
            block.firstRow += offset;
            m_blocks.push_back(std::move(block));
        }
        m_size += rows.m_size;
    }
    rows.m_blocks.clear();
    rows.m_size = 0;
}

void TextRows::replace(qsizetype row, QStringView text)
{
    Block &held = m_blocks[size_t(blockOf(row))];
    const qsizetype inBlock = row - held.firstRow;
    BlockData &block = *held.d;
    const quint32 start = held.start(inBlock);
    const qsizetype oldLength = block.ends[size_t(inBlock)] - start;
    checkBlockText(block.text.size() - oldLength + text.size());
    block.text.replace(start, oldLength, text.toString());
    const qint64 change = qint64(text.size()) - oldLength;
    for (size_t i = size_t(inBlock); i < block.ends.size(); ++i)
        block.ends[i] = quint32(qint64(block.ends[i]) + change);
}

void TextRows::remove(qsizetype row)
{
    const qsizetype index = blockOf(row);
    Block &held = m_blocks[size_t(index)];
    const qsizetype inBlock = row - held.firstRow;
    BlockData &block = *held.d;
    const quint32 start = held.start(inBlock);
    const quint32 length = block.ends[size_t(inBlock)] - start;
    block.text.remove(start, length);
    block.ends.erase(block.ends.begin() + inBlock);
    for (size_t i = size_t(inBlock); i < block.ends.size(); ++i)
        block.ends[i] -= length;
    --m_size;
    if (block.ends.empty()) {
        m_blocks.erase(m_blocks.begin() + index);
        renumberFrom(index);
    } else {
        renumberFrom(index + 1);
    }
}

void TextRows::insert(qsizetype row, QStringView text)
{
    if (row >= m_size) {
        append(text);
        return;
    }
    const qsizetype index = blockOf(row);
    Block &held = m_blocks[size_t(index)];
    BlockData &block = *held.d;
    checkBlockText(block.text.size() + text.size());
    const qsizetype inBlock = row - held.firstRow;
    const quint32 start = held.start(inBlock);
    block.text.insert(start, text);
    block.ends.insert(block.ends.begin() + inBlock, start + quint32(text.size()));
    for (size_t i = size_t(inBlock) + 1; i < block.ends.size(); ++i)
        block.ends[i] += quint32(text.size());
    ++m_size;
    renumberFrom(index + 1);
}

TextRows TextRows::takeFrom(qsizetype row)
{
    TextRows tail(m_blockUnits, m_blockRows);
    if (row >= m_size)
        return tail;
    row = std::max<qsizetype>(row, 0);
    qsizetype firstWhole = blockOf(row);
    Block &cut = m_blocks[size_t(firstWhole)];
    const qsizetype inBlock = row - cut.firstRow;
    if (inBlock > 0) {
        for (qsizetype r = inBlock; r < cut.rowCount(); ++r) {
            const quint32 start = cut.start(r);
            tail.append(QStringView(std::as_const(cut).d->text).sliced(start, cut.d.constData()->ends[size_t(r)] - start));
        }
        const quint32 keptUnits = cut.start(inBlock);
        BlockData &kept = *cut.d;
        kept.text.truncate(keptUnits);
        kept.ends.resize(size_t(inBlock));
        ++firstWhole;
    }
    for (size_t i = size_t(firstWhole); i < m_blocks.size(); ++i) {
        Block &block = m_blocks[i];
        block.firstRow = tail.m_size;
        tail.m_size += block.rowCount();
        tail.m_blocks.push_back(std::move(block));
    }
    m_blocks.erase(m_blocks.begin() + firstWhole, m_blocks.end());
    m_size = row;
    m_lastBlock.store(0, std::memory_order_relaxed);
    return tail;
}

void TextRows::renumberFrom(qsizetype block)
{
    for (size_t i = size_t(block); i < m_blocks.size(); ++i)
        m_blocks[i].firstRow = i == 0 ? 0 : m_blocks[i - 1].firstRow + m_blocks[i - 1].rowCount();
}

qsizetype TextRows::bytes() const
{
    qsizetype bytes = qsizetype(m_blocks.capacity() * sizeof(Block));
    for (const Block &block : m_blocks)
        bytes += block.d->text.capacity() * qsizetype(sizeof(QChar)) + qsizetype(block.d->ends.capacity() * sizeof(quint32));
    return bytes;
}

void TextRows::addBlocks(std::vector<BlockHeld> &into) const
{
    for (const Block &block : m_blocks) {
        const BlockData *data = block.d.constData();
        into.push_back({data, data->text.capacity() * qsizetype(sizeof(QChar)) +
                                  qsizetype(data->ends.capacity() * sizeof(quint32))});
    }
}

void TextRows::prefetch(qsizetype row, bool text) const
{
    const Block &block = m_blocks[size_t(blockOf(row))];
    const BlockData &data = *block.d;
    const qsizetype inBlock = row - block.firstRow;
    if (text)
        __builtin_prefetch(data.text.constData() + block.start(inBlock));
    else
        __builtin_prefetch(data.ends.data() + inBlock);
}

QStringList TextRows::toList() const
{
    QStringList list;
    list.reserve(m_size);
    forEach([&list](QStringView text) { list.append(text.toString()); });
    return list;
}

} // namespace orvella::tables

#include "tables/TableRows.h"

#include "core/Failure.h"
#include "core/Utf8.h"

#include <QStringEncoder>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>

namespace orvella::tables {
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

// The UTF-16 units of UTF-8 cells.
qsizetype utf16Units(std::span<const QByteArrayView> cells)
{
    qsizetype units = 0;
    for (const QByteArrayView cell : cells)
        units += core::utf16Units(cell);
    return units;
}

[[noreturn]] void refuseLongRow(qsizetype characters)
{
    throw core::Failure(QStringLiteral("A table row of %1 characters is too long to keep").arg(characters));
}

std::atomic<qsizetype> g_budget{0}; // 0: from the memory

qsizetype memoryBudget()
{
    const qsizetype memory = qsizetype(sysconf(_SC_PHYS_PAGES)) * qsizetype(sysconf(_SC_PAGESIZE));
    qsizetype budget = memory > 0 ? memory / 2 : qsizetype(1) << 31;
    rlimit space{};
    if (getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY)
        budget = std::min(budget, qsizetype(space.rlim_cur / 2));
    return budget;
}

} // namespace

qsizetype defaultTableBudget()
{
    static const qsizetype fromMemory = memoryBudget();
    const qsizetype set = g_budget.load();
    return set > 0 ? set : fromMemory;
}

void setDefaultTableBudget(qsizetype bytes)
{
    g_budget.store(bytes);
}

TableRows::TableRows() : m_budget(defaultTableBudget()) {}
TableRows::TableRows(TableRows &&) noexcept = default;
TableRows &TableRows::operator=(TableRows &&) noexcept = default;
TableRows::~TableRows() = default;

void TableRows::checkRoom(qsizetype more) const
{
    if (more > m_budget - m_cost) {
        throw TableTooLarge(
            QStringLiteral("its cells would take more than %1 MB of memory, the most a table may take on this computer")
                .arg(m_budget >> 20));
    }
}

qsizetype TableRows::blockCost(const Block &block) const
{
    return block.text.capacity() + qsizetype(sizeof(quint32)) * qsizetype(block.ends.capacity() + block.columns.capacity());
}

void TableRows::addRow(const RowPlace &place, int width, qsizetype costBefore)
{
    const qsizetype placesBefore = qsizetype(m_rows.capacity() * sizeof(RowPlace));
    m_rows.push_back(place);
    m_cost += blockCost(m_blocks.back()) - costBefore + qsizetype(m_rows.capacity() * sizeof(RowPlace)) - placesBefore;
    m_columns = std::max(m_columns, width);
}

void TableRows::appendRow(std::span<const QStringView> cells)
{
    const qsizetype most = mostBytes(cells);
    if (most > kMaxBlockBytes || cells.size() > std::numeric_limits<int>::max())
        refuseLongRow(most / 3);
    checkRoom(most + qsizetype(sizeof(quint32) * cells.size() + sizeof(RowPlace)));
    Block &block = blockFor(most);
    const qsizetype costBefore = blockCost(block);
    RowPlace place{quint32(m_blocks.size() - 1), quint32(block.ends.size()), quint32(cells.size()), kDense};

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
    addRow(place, int(cells.size()), costBefore);
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
            refuseLongRow(most / 3);
    }
    checkRoom(bytes + qsizetype(sizeof(quint32) * cells.size() + sizeof(RowPlace)));
    Block &block = blockFor(bytes);
    const qsizetype costBefore = blockCost(block);
    RowPlace place{quint32(m_blocks.size() - 1), quint32(block.ends.size()), quint32(cells.size()), kDense};
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
    addRow(place, int(cells.size()), costBefore);
}

void TableRows::appendRow(std::span<const SheetCell> cells)
{
    const int width = cells.empty() ? 0 : cells.back().first + 1;
    // Kept as columns 0, 1, ... when that takes no more room than a column for each cell.
    if (2 * qsizetype(cells.size()) >= width) {
        std::vector<QStringView> dense(static_cast<size_t>(width));
        for (const SheetCell &cell : cells)
            dense[size_t(cell.first)] = cell.second;
        appendRow(std::span<const QStringView>(dense));
        return;
    }
    std::vector<QStringView> texts;
    texts.reserve(cells.size());
    for (const SheetCell &cell : cells)
        texts.push_back(cell.second);
    const qsizetype most = mostBytes(texts);
    if (most > kMaxBlockBytes)
        refuseLongRow(most / 3);
    checkRoom(most + qsizetype(2 * sizeof(quint32) * cells.size() + sizeof(RowPlace)));
    Block &block = blockFor(most);
    const qsizetype costBefore = blockCost(block);
    const RowPlace place{quint32(m_blocks.size() - 1), quint32(block.ends.size()), quint32(cells.size()),
                         quint32(block.columns.size())};
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const qsizetype start = block.text.size();
    block.text.resize(start + most);
    char *out = block.text.data() + start;
    for (const SheetCell &cell : cells) {
        out = encoder.appendToBuffer(out, cell.second);
        block.ends.push_back(quint32(out - block.text.constData()));
        block.columns.push_back(quint32(cell.first));
    }
    block.text.truncate(out - block.text.constData());
    addRow(place, width, costBefore);
}

void TableRows::repeatLastRow(qsizetype times)
{
    if (m_rows.empty() || times <= 0)
        return;
    checkRoom(times * qsizetype(sizeof(RowPlace)));
    const qsizetype placesBefore = qsizetype(m_rows.capacity() * sizeof(RowPlace));
    m_rows.insert(m_rows.end(), size_t(times), m_rows.back());
    m_cost += qsizetype(m_rows.capacity() * sizeof(RowPlace)) - placesBefore;
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
    const Block &block = m_blocks[place.block];
    quint32 index = 0;
    if (place.firstColumn == kDense) {
        if (quint32(column) >= place.cells)
            return {};
        index = place.firstCell + quint32(column);
    } else {
        const auto first = block.columns.begin() + place.firstColumn;
        const auto last = first + place.cells;
        const auto at = std::lower_bound(first, last, quint32(column));
        if (at == last || *at != quint32(column))
            return {};
        index = place.firstCell + quint32(at - first);
    }
    const quint32 start = index == 0 ? 0 : block.ends[index - 1];
    return QByteArrayView(block.text.constData() + start, block.ends[index] - start);
}

void TableRows::prefetch(qsizetype row, int stage) const
{
    if (row < 0 || row >= rowCount())
        return;
    if (stage == 0) {
        __builtin_prefetch(&m_rows[size_t(row)]);
        return;
    }
    const RowPlace &place = m_rows[size_t(row)];
    const Block &block = m_blocks[place.block];
    if (place.cells == 0)
        return;
    if (stage == 1) {
        __builtin_prefetch(block.ends.data() + place.firstCell);
        return;
    }
    const quint32 start = place.firstCell == 0 ? 0 : block.ends[place.firstCell - 1];
    __builtin_prefetch(block.text.constData() + start);
}

QString TableRows::cell(qsizetype row, int column) const
{
    return core::fromUtf8Text(cellBytes(row, column));
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
        bytes += block.text.capacity() + qsizetype((block.ends.capacity() + block.columns.capacity()) * sizeof(quint32));
    return bytes;
}

} // namespace orvella::tables

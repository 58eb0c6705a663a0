#pragma once

#include <QSharedData>
#include <QSharedDataPointer>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <atomic>
#include <cstdint>
#include <vector>

namespace orvella::tables {

// An ordered sequence of texts (rows) addressed from 0, kept in large blocks: each
// block holds the UTF-16 text of many rows one after the other, and the end of each
// row within it. A row costs its characters and four bytes, instead of a string of its
// own with its header and the allocator's share; ten million names fit in a few
// hundred megabytes, and freeing them frees a few thousand blocks.
//
// A block takes rows until it holds blockUnits characters or blockRows rows; a row
// longer than blockUnits gets a block of its own. Edits and removals in the middle
// rewrite the one block that holds the row. Views handed out stay valid until the
// rows next change.
//
// Blocks are counted references: shared() hands out rows that hold the same blocks
// without copying them (an undo history keeps a list's rows that way while the list
// still shows them), a block that is edited while shared is copied first, and a block
// is freed when the last rows that hold it let go.
class TextRows {
public:
    // A full block's text (256 KiB) is large enough to come straight from the system
    // and go back to it when the rows are dropped, rather than leave holes in the heap
    // that keep the process large after a list is cleared.
    static constexpr qsizetype kBlockUnits = qsizetype(1) << 17;
    static constexpr qsizetype kBlockRows = 16384;

    explicit TextRows(qsizetype blockUnits = kBlockUnits, qsizetype blockRows = kBlockRows);
    // What is moved from is left empty.
    TextRows(TextRows &&other) noexcept;
    TextRows &operator=(TextRows &&other) noexcept;
    // The same rows, holding the same blocks (no text is copied).
    TextRows shared() const;

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    // The row at index 0 .. size() - 1 (the caller checks the index).
    QStringView at(qsizetype row) const;

    void append(QStringView text);
    // Takes the other rows over after these; large ones keep their blocks as they are.
    void append(TextRows &&rows);
    void replace(qsizetype row, QStringView text);
    void remove(qsizetype row);
    // Puts a row in at index 0 .. size(); the rows from there on move down by one.
    void insert(qsizetype row, QStringView text);
    // Takes the rows from index `row` on out: whole blocks as they are, the rest of a
    // block cut in two as copies. These keep the rows before it.
    TextRows takeFrom(qsizetype row);

    // Asks the processor to fetch where a row lies (text false) or its text (true):
    // rows read far apart are asked for a few rows ahead.
    void prefetch(qsizetype row, bool text) const;

    QStringList toList() const;
    // Calls visit(QStringView) for every row in order, faster than at() for each row.
    template<typename Visit>
    void forEach(Visit &&visit) const
    {
        for (const Block &block : m_blocks) {
            quint32 start = 0;
            const BlockData &data = *block.d;
            for (const quint32 end : data.ends) {
                visit(QStringView(data.text).sliced(start, end - start));
                start = end;
            }
        }
    }

    // The memory the rows take, in bytes.
    qsizetype bytes() const;

    // A block as whoever counts memory sees it: the same id in several rows is one block.
    struct BlockHeld {
        const void *id;
        qsizetype bytes;
    };
    // Adds the blocks these rows hold.
    void addBlocks(std::vector<BlockHeld> &into) const;

    // The number of blocks; for tests that check how rows are laid out.
    qsizetype blockCount() const { return qsizetype(m_blocks.size()); }
    // The number of blocks alive in the whole program, for tests that check that
    // blocks are freed when their last holder lets go.
    static qsizetype liveBlocks();

private:
    struct BlockData : QSharedData {
        BlockData();
        BlockData(const BlockData &other);
        ~BlockData();
        BlockData &operator=(const BlockData &) = delete;

        QString text;
        std::vector<quint32> ends; // end of each row within text
    };
    struct Block {
        QSharedDataPointer<BlockData> d; // copied on the first change while shared
        qsizetype firstRow = 0;          // index of the block's first row among all rows

        qsizetype rowCount() const { return qsizetype(d->ends.size()); }
        quint32 start(qsizetype row) const { return row == 0 ? 0 : d->ends[size_t(row - 1)]; }
    };

    // The block that holds the row.
    qsizetype blockOf(qsizetype row) const;
    Block &blockFor(qsizetype length);
    void renumberFrom(qsizetype block);

    qsizetype m_blockUnits;
    qsizetype m_blockRows;
    std::vector<Block> m_blocks;
    qsizetype m_size = 0;
    // The block found last: rows are mostly read in order, so the next one is usually
    // there or in the block after it.
    mutable std::atomic<qsizetype> m_lastBlock{0};
};

} // namespace orvella::tables

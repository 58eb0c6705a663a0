#pragma once

#include "names/SortKeys.h"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvella::names {

// The sort keys of one run, addressed from 0, kept in blocks of text: each block holds
// the text of kBlockKeys keys one after the other and, for each, its end and where its
// first field delimiter stood. The delimiter itself is not kept (it is the same eleven
// characters in every key that has one), so a key costs its head and tail and eight
// bytes instead of a string of its own; dropping ten million keys frees a few
// thousand blocks rather than ten million strings (whose freeing would keep the
// allocator busy for seconds afterwards).
// Keys are only ever appended; the last one may be replaced.
class KeyTexts {
public:
    // Large enough that a block's arrays come straight from the system and go back to
    // it when the keys are dropped (the program maps large blocks that way), instead of
    // leaving holes in the heap that keep the process large after a sort.
    static constexpr std::size_t kBlockKeys = 32768;

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    void clear();

    // Appends an empty key.
    void appendEmpty();
    // Replaces the last key.
    void setLast(QStringView key);
    void setLast(const KeyParts &key);
    void append(QStringView key)
    {
        appendEmpty();
        setLast(key);
    }
    void append(const KeyParts &key)
    {
        appendEmpty();
        setLast(key);
    }
    // Appends the other keys after these: their blocks as they are when these fill
    // whole blocks, else key by key.
    void append(KeyTexts &&other);

    KeyParts operator[](std::size_t index) const
    {
        const Block &block = m_blocks[index / kBlockKeys];
        const std::size_t inBlock = index % kBlockKeys;
        const std::uint32_t start = inBlock == 0 ? 0 : block.ends[inBlock - 1].end;
        const KeyEnd &at = block.ends[inBlock];
        const QStringView key = QStringView(block.text).sliced(start, at.end - start);
        if (at.head == kNoDelimiter)
            return {key, QStringView(), false};
        return {key.first(at.head), key.sliced(at.head), true};
    }

    // Keys read in an order other than their own (sorted order) each cost a wait for
    // memory. A loop that knows which keys come next asks for them ahead: first for
    // where a key lies (prefetch), a few keys later for its text (prefetchText).
    void prefetch(std::size_t index) const
    {
        __builtin_prefetch(&m_blocks[index / kBlockKeys].ends[index % kBlockKeys]);
    }
    // From about the unit `from` of the key on.
    void prefetchText(std::size_t index, qsizetype from = 0) const
    {
        const Block &block = m_blocks[index / kBlockKeys];
        const std::size_t inBlock = index % kBlockKeys;
        const qsizetype start = inBlock == 0 ? 0 : qsizetype(block.ends[inBlock - 1].end);
        // Through utf16(): GCC 12 drops a prefetch of a QChar pointer plus an offset.
        __builtin_prefetch(block.text.utf16() + start + from);
    }

private:
    static constexpr std::uint32_t kNoDelimiter = 0xFFFFFFFF;

    // Where a key ends in its block's text, and the length of its head field (or
    // kNoDelimiter): side by side, so that finding a key costs one read of memory.
    struct KeyEnd {
        std::uint32_t end;
        std::uint32_t head;
    };
    struct Block {
        QString text;              // each key without its first delimiter
        std::vector<KeyEnd> ends;
    };

    std::vector<Block> m_blocks;
    std::size_t m_size = 0;
};

} // namespace orvella::names

#pragma once

#include "sorting/SortKeys.h"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvella::sorting {

// The sort keys of one run, addressed from 0, kept in blocks of text: each block holds
// the text of kBlockKeys keys one after the other, the end of each, and where its
// first field delimiter stood. The delimiter itself is not kept (it is the same eleven
// characters in every key that has one), so a key costs its head and tail and eight
// bytes instead of a string of its own; dropping ten million keys frees a few
// thousand blocks rather than ten million strings (whose freeing would keep the
// allocator busy for seconds afterwards).
// Keys are only ever appended; the last one may be replaced.
class KeyTexts {
public:
    static constexpr std::size_t kBlockKeys = 4096;

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    void clear();

    // Appends an empty key.
    void appendEmpty();
    // Replaces the last key.
    void setLast(QStringView key);
    void append(QStringView key)
    {
        appendEmpty();
        setLast(key);
    }

    KeyParts operator[](std::size_t index) const
    {
        const Block &block = m_blocks[index / kBlockKeys];
        const std::size_t inBlock = index % kBlockKeys;
        const std::uint32_t start = inBlock == 0 ? 0 : block.ends[inBlock - 1];
        const QStringView key = QStringView(block.text).sliced(start, block.ends[inBlock] - start);
        const std::uint32_t head = block.heads[inBlock];
        if (head == kNoDelimiter)
            return {key, QStringView(), false};
        return {key.first(head), key.sliced(head), true};
    }

private:
    static constexpr std::uint32_t kNoDelimiter = 0xFFFFFFFF;

    struct Block {
        QString text;                     // each key without its first delimiter
        std::vector<std::uint32_t> ends;  // the end of each key in text
        std::vector<std::uint32_t> heads; // the length of each key's head field, or kNoDelimiter
    };

    std::vector<Block> m_blocks;
    std::size_t m_size = 0;
};

} // namespace orvella::sorting

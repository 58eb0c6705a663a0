#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvella::sorting {

// The sort keys of one run, addressed from 0, kept in blocks of text: each block holds
// the UTF-16 text of kBlockKeys keys one after the other and the end of each. A key
// costs its characters and four bytes instead of a string of its own, and dropping
// ten million keys frees a few thousand blocks rather than ten million strings (whose
// freeing would keep the allocator busy for seconds afterwards).
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

    QStringView operator[](std::size_t index) const
    {
        const Block &block = m_blocks[index / kBlockKeys];
        const std::size_t inBlock = index % kBlockKeys;
        const std::uint32_t start = inBlock == 0 ? 0 : block.ends[inBlock - 1];
        return QStringView(block.text).sliced(start, block.ends[inBlock] - start);
    }
    // The key's first code unit, for the sort.
    const char16_t *units(std::uint32_t index) const { return (*this)[index].utf16(); }

private:
    struct Block {
        QString text;
        std::vector<std::uint32_t> ends;
    };

    std::vector<Block> m_blocks;
    std::size_t m_size = 0;
};

} // namespace orvella::sorting

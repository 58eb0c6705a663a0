#include "names/KeyTexts.h"

#include "core/Failure.h"

#include <limits>

namespace orvella::names {

void KeyTexts::clear()
{
    m_blocks.clear();
    m_size = 0;
}

void KeyTexts::append(KeyTexts &&other)
{
    if (m_size % kBlockKeys == 0) {
        for (Block &block : other.m_blocks)
            m_blocks.push_back(std::move(block));
        m_size += other.m_size;
    } else {
        for (std::size_t i = 0; i < other.size(); ++i)
            append(other[i]);
    }
    other.clear();
}

void KeyTexts::appendEmpty()
{
    if (m_size % kBlockKeys == 0) {
        // A full block gives back what its text reserved beyond its keys; the next one
        // reserves as much as it took, so that its text seldom has to move.
        qsizetype room = 0;
        if (!m_blocks.empty()) {
            m_blocks.back().text.squeeze();
            room = m_blocks.back().text.size();
        }
        m_blocks.emplace_back();
        m_blocks.back().ends.reserve(kBlockKeys);
        m_blocks.back().text.reserve(room);
    }
    Block &block = m_blocks.back();
    block.ends.push_back({static_cast<std::uint32_t>(block.text.size()), kNoDelimiter});
    ++m_size;
}

void KeyTexts::setLast(QStringView key)
{
    setLast(splitKey(key));
}

void KeyTexts::setLast(const KeyParts &parts)
{
    Block &block = m_blocks.back();
    const std::uint32_t start = block.ends.size() < 2 ? 0 : block.ends[block.ends.size() - 2].end;
    if (qsizetype(start) + parts.size() >= qsizetype(kNoDelimiter))
        throw core::Failure(QStringLiteral("A sort key of %1 characters is too long to keep").arg(parts.size()));
    block.text.truncate(start);
    block.text.append(parts.head);
    if (parts.split)
        block.text.append(parts.tail);
    block.ends.back() = {static_cast<std::uint32_t>(block.text.size()),
                         parts.split ? static_cast<std::uint32_t>(parts.head.size()) : kNoDelimiter};
}

} // namespace orvella::names

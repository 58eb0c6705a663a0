#include "names/ResultToolTips.h"

#include "names/NameReading.h"

#include <memory>

namespace orvella::names {

void ResultRows::note(std::size_t row, const KeyParts &key, Shown shown)
{
    if (row < m_rows.size())
        m_rows.resize(row);
    while (m_rows.size() < row) // rows the run did not add: an empty head field
        m_rows.push_back({0, Shown::Revealed});
    if (shown == Shown::AsEntered) {
        m_asEntered.append(key);
        m_rows.push_back({static_cast<std::uint32_t>(m_asEntered.size() - 1), shown});
    } else {
        m_rows.push_back({static_cast<std::uint32_t>(trimSpaces(key.head).size()), shown});
    }
}

NameReading ResultRows::reading(int row, const QString &text) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size())
        return {};
    const Row &r = m_rows[static_cast<std::size_t>(row)];
    if (r.shown() == Shown::AsEntered)
        return readingOfKey(m_asEntered[r.value()].toString());
    return revealedReading(r.value(), r.shown(), text);
}

NameReading ResultRows::readingOf(const KeyParts &key, Shown shown, QStringView text)
{
    if (shown == Shown::AsEntered) {
        return readingOfKey(key.toString());
    }
    return revealedReading(trimSpaces(key.head).size(), shown, text);
}

NameReading ResultRows::revealedReading(qsizetype headLength, Shown shown, QStringView text)
{
    // The display name is the key's fields without spaces at their ends, joined by
    // one space: the head field stands at one end of it.
    const qsizetype length = std::min<qsizetype>(headLength, text.size());
    NameReading reading;
    if (shown == Shown::RevealedHeadFirst) {
        reading.sortedUnder = text.left(length).toString();
        reading.then = trimSpaces(text.mid(length)).toString();
    } else {
        reading.sortedUnder = text.right(length).toString();
        reading.then = trimSpaces(text.left(text.size() - length)).toString();
    }
    return reading;
}

} // namespace orvella::names

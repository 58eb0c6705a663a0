#include "lists/ListOrigin.h"

namespace orvella::lists {

tables::TextRows ListOrigin::ownTexts(const tables::TextRows &items) const
{
    tables::TextRows own;
    size_t item = 0;
    items.forEach([&](QStringView text) {
        if (rows[item++] == kOwnText)
            own.append(text);
    });
    return own;
}

tables::TextRows ListOrigin::itemsWith(const tables::TextRows &ownTexts) const
{
    tables::TextRows items;
    qsizetype own = 0;
    for (const quint32 row : rows)
        items.append(row == kOwnText ? ownTexts.at(own++) : source.at(row));
    return items;
}

void ListOriginBuilder::add(QStringView shown, qsizetype row)
{
    const bool same = row >= 0 && row < m_origin.source.size() && m_origin.source.at(row) == shown;
    m_origin.rows.push_back(same ? quint32(row) : ListOrigin::kOwnText);
}

} // namespace orvella::lists

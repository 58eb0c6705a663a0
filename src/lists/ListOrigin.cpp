#include "lists/ListOrigin.h"

namespace orvella::lists {

void ListOrigin::add(QStringView shown, qsizetype row, tables::TextRows &own)
{
    if (row >= 0 && row < source.size() && source.at(row) == shown) {
        rows.push_back(quint32(row));
        return;
    }
    rows.push_back(kOwnText | quint32(own.size()));
    own.append(shown);
}

tables::TextRows ListOrigin::itemsWith(const tables::TextRows &own) const
{
    tables::TextRows items;
    for (qsizetype item = 0; item < size(); ++item)
        items.append(at(item, own));
    return items;
}

} // namespace orvella::lists

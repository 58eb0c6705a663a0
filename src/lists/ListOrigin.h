#pragma once

#include "tables/TextRows.h"

#include <QStringView>
#include <QtGlobal>

#include <vector>

namespace orvella::lists {

// A list whose items are, for the most part, rows of another list's texts: a sort's
// results are its input names in another order, most of them with the very same text.
// Kept so, a million results cost four bytes each and share the input's blocks instead
// of holding a second copy of every text; taking them out of the list (a clear that can
// be taken back) and putting them back moves only these places.
struct ListOrigin {
    // Marks an item whose text is its own (a name shown other than as it was read):
    // the rest of its place is the index of its text among the list's own texts.
    static constexpr quint32 kOwnText = 0x80000000u;

    tables::TextRows source; // shares the other list's blocks
    std::vector<quint32> rows; // for each item, its row in source, or kOwnText | own index

    // The memory of the rows' places (the source's blocks are counted as blocks).
    qsizetype bytes() const { return qsizetype(rows.capacity() * sizeof(quint32)); }
    qsizetype size() const { return qsizetype(rows.size()); }
    // The item at 0 .. size() - 1, whose own texts are `own`.
    QStringView at(qsizetype item, const tables::TextRows &own) const
    {
        const quint32 row = rows[size_t(item)];
        return (row & kOwnText) ? own.at(row & ~kOwnText) : source.at(row);
    }
    // Asks for where item `item` lies (text false) or its text (true); see TextRows::prefetch.
    void prefetch(qsizetype item, const tables::TextRows &own, bool text) const
    {
        const quint32 row = rows[size_t(item)];
        if (row & kOwnText)
            own.prefetch(row & ~kOwnText, text);
        else
            source.prefetch(row, text);
    }
    // Notes the next item: source row `row` (-1 for none) when it reads `shown`, else
    // `shown` as an own text appended to `own`.
    void add(QStringView shown, qsizetype row, tables::TextRows &own);
    // The items as texts of their own, in order.
    tables::TextRows itemsWith(const tables::TextRows &own) const;
};

} // namespace orvella::lists

#pragma once

#include "tables/TextRows.h"

#include <QStringView>
#include <QtGlobal>

#include <vector>

namespace orvella::lists {

// Where each item of a list came from in another list's rows: a sort's results are its
// input names in another order, most of them with the very same text. Kept so, rows
// taken out of the list (a clear that can be taken back) cost four bytes each and share
// the other list's blocks, instead of holding a second copy of every text.
struct ListOrigin {
    // An item whose text is its own (a name shown other than as it was read).
    static constexpr quint32 kOwnText = 0xFFFFFFFFu;

    tables::TextRows source; // shares the other list's blocks
    std::vector<quint32> rows; // for each item, its row in source, or kOwnText

    // The memory of the rows' places (the source's blocks are counted as blocks).
    qsizetype bytes() const { return qsizetype(rows.capacity() * sizeof(quint32)); }
    // The texts of the items marked kOwnText, in order, from the list's items.
    tables::TextRows ownTexts(const tables::TextRows &items) const;
    // The items again, from the source's rows and the own texts in order.
    tables::TextRows itemsWith(const tables::TextRows &ownTexts) const;
};

// Notes, item by item, where a list's items came from in the source rows.
class ListOriginBuilder {
public:
    explicit ListOriginBuilder(tables::TextRows source) { m_origin.source = std::move(source); }
    void reserve(qsizetype items) { m_origin.rows.reserve(size_t(items)); }
    // The next item shows `shown` and was read from source row `row` (-1 for none): it
    // is noted as that row when the texts are the same.
    void add(QStringView shown, qsizetype row);
    ListOrigin take() { return std::move(m_origin); }
    // Asks for source row `row` a few items ahead (see TextRows::prefetch).
    void prefetch(qsizetype row, bool text) const { m_origin.source.prefetch(row, text); }

private:
    ListOrigin m_origin;
};

} // namespace orvella::lists

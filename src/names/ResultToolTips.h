#pragma once

#include "names/KeyTexts.h"
#include "names/NameReading.h"
#include "names/SortKeys.h"

#include <QString>
#include <QStringView>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace orvella::names {

// How a run filed each of its result rows, kept for the rows' tooltips ("Sorted
// under: …"). A row shown as its key reveals it holds its head field at one end
// (the end, or in the First/Last reading the start), so a row keeps only the head
// field's length and the tooltip is worked out from the row's text when asked; a
// row shown as entered keeps its tooltip text.
class ResultRows {
public:
    enum class Shown { Revealed, RevealedHeadFirst, AsEntered };

    void reserve(std::size_t rows) { m_rows.reserve(rows); }
    // Result row `row` (0-based) came from this key. Rows from `row` on that were
    // noted before are forgotten (the results were cleared meanwhile).
    void note(std::size_t row, const KeyParts &key, Shown shown);

    // What row `row`, whose text is `text`, was sorted under and then by (empty for a
    // row the run did not note).
    NameReading reading(int row, const QString &text) const;
    // The same for a result that is not kept as a row: shown as `text`, from this key.
    static NameReading readingOf(const KeyParts &key, Shown shown, QStringView text);
    QString toolTip(int row, const QString &text) const { return sortedUnderText(reading(row, text)); }

private:
    // A revealed name's reading: its head field (`length` units) stands at one end.
    static NameReading revealedReading(qsizetype length, Shown shown, QStringView text);

    // Four bytes a row, as a sort's results and every sort the undo history keeps hold
    // one each: how the row is shown in the top two bits, below them the head field's
    // length without spaces at its ends (at most kValueMask), or an index into m_asEntered.
    struct Row {
        static constexpr std::uint32_t kValueMask = 0x3FFFFFFFu;
        Row() = default;
        Row(std::uint32_t value, Shown shown)
            : bits(std::min(value, kValueMask) | std::uint32_t(shown) << 30)
        {
        }
        std::uint32_t value() const { return bits & kValueMask; }
        Shown shown() const { return Shown(bits >> 30); }
        std::uint32_t bits = 0;
    };
    std::vector<Row> m_rows;
    KeyTexts m_asEntered; // the keys of the rows shown as entered, read when a tooltip is asked for
};

} // namespace orvella::names

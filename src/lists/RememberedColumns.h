#pragma once

#include "core/ColumnChoice.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace orvella::core {
class SettingsStore;
}

namespace orvella::lists {

// The name columns chosen for tables with a given header row, kept in the settings so
// that the next table with the same header is proposed the same choice (and, when the
// user said so, loaded without asking).
//
// Each header gets a key of its own: "NameColumns" and 16 hex digits of the SHA-1 of
// its cells, case-folded and trimmed, joined with U+001F (empty cells at the end of the
// row left out, as a longer row elsewhere in the file pads the header with them). The
// value is readable text, e.g.
//   kind=parts header=1 whole=-1 last=2 first=1 middle=-1 suffix=-1 ask=1
// where kind is whole, parts or lines, and ask=0 means "do not ask again".
//
// Only tables whose first row is a header are remembered: without one there is
// nothing to know the table by.
class RememberedColumns {
public:
    explicit RememberedColumns(core::SettingsStore &settings);

    // The choice stored for the header row; nullopt when none is, or when the stored
    // value is damaged or does not fit the row (a column past its end).
    std::optional<core::ColumnChoice> find(const QStringList &headerRow) const;
    // Stores the choice for its header row; does nothing for a choice without a header
    // or a Cancel. Throws a Failure when the settings cannot be written.
    void remember(const QStringList &headerRow, const core::ColumnChoice &choice);

    static QString keyFor(const QStringList &headerRow);
    static QString valueText(const core::ColumnChoice &choice);
    // The choice the text describes; nullopt for text that is not such a value.
    static std::optional<core::ColumnChoice> choiceFromText(const QString &text);

private:
    core::SettingsStore &m_settings;
};

} // namespace orvella::lists

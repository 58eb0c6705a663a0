#pragma once

#include "core/ColumnChoice.h"
#include "core/RowGrouping.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvella::core {
class SettingsStore;
} // namespace orvella::core

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
// The same value also holds how the results of the table's rows are grouped and which
// rows count as the same (see Group By Column), when the user chose that:
//   ... group=3 groups=natural same=name      (groups: natural or first; same: name,
//                                              row or a column's number)
// so that forgetting the columns forgets the grouping with them.
//
// Only tables with a header row are remembered: without one there is nothing to know
// the table by. The header is known by its cells wherever it stands, so a title above
// it (or a second one next term) does not hide it: the stored value needs no row.
//
// "Forget Remembered Columns" forgets them all at once: the settings hold the number of
// times they were forgotten ("NameColumnsForgotten", none for 0) and each value written
// since the last time carries that number ("forgotten=N", none for 0), so a value with
// another number is no longer found. Values written before any forgetting are found as
// they always were.
class RememberedColumns {
public:
    explicit RememberedColumns(core::SettingsStore &settings);

    // The choice stored for the header row; nullopt when none is, or when the stored
    // value is damaged or does not fit the row (a column past its end).
    std::optional<core::ColumnChoice> find(const QStringList &headerRow) const;
    // The choice stored for the first of the rows that is a remembered header, with
    // headerRow saying which it is; nullopt when none is.
    std::optional<core::ColumnChoice> findIn(const QList<QStringList> &firstRows) const;
    // Stores the choice for its header row; does nothing for a choice without a header
    // or a Cancel. Throws a Failure when the settings cannot be written.
    void remember(const QStringList &headerRow, const core::ColumnChoice &choice);
    // The grouping stored for the header row, its columns captioned by the header;
    // nullopt when none is (or the value is damaged, or the columns were forgotten).
    std::optional<core::RowGrouping> findGrouping(const QStringList &headerRow) const;
    // Stores the grouping with the table's name columns. Throws a Failure when the
    // settings cannot be written.
    void rememberGrouping(const QStringList &headerRow, const core::ColumnChoice &columns,
                          const core::RowGrouping &grouping);
    // Forgets every stored choice: the next table with any header asks again. Throws a
    // Failure when the settings cannot be written.
    void forgetAll();

    static QString keyFor(const QStringList &headerRow);
    // Whether the settings key is one of those kept here.
    static bool isItsKey(const QString &key);
    static QString valueText(const core::ColumnChoice &choice);
    // The choice the text describes; nullopt for text that is not such a value.
    static std::optional<core::ColumnChoice> choiceFromText(const QString &text);

private:
    int timesForgotten() const;
    // The fields of the value stored for the header row, when it was written since the
    // choices were last forgotten.
    std::optional<QMap<QString, QString>> currentFields(const QStringList &headerRow) const;
    void write(const QStringList &headerRow, QString value);

    core::SettingsStore &m_settings;
};

} // namespace orvella::lists

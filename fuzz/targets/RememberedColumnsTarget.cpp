// The remembered column choices over arbitrary stored values and header rows.
//
// The input is a stored value, a NUL, then a header row's cells separated by LF. Rules:
// - the value read back from any text is either none or a choice whose own value text
//   reads back as the same choice;
// - a choice found for a header fits it: it has a header, its kind's columns are there
//   and no column is past the row's end;
// - a choice remembered for a header is found for it again, also when its cells differ
//   in case, in spaces around them, or by empty cells at the end; it is what was stored
//   when it fits the header.

#include "FuzzTargets.h"

#include "core/SettingsStore.h"
#include "lists/RememberedColumns.h"

#include <QMap>

#include <algorithm>

namespace orvella::fuzz {
namespace {

using core::ColumnChoice;

class MapSettings : public core::SettingsStore {
public:
    QMap<QString, QString> values;
    QString read(const QString &key, const QString &defaultValue) const override
    {
        return values.value(key, defaultValue);
    }
    void write(const QString &key, const QString &value) override { values.insert(key, value); }
    bool contains(const QString &key) const override { return values.contains(key); }
};

std::string choiceText(const ColumnChoice &choice)
{
    return shown(lists::RememberedColumns::valueText(choice));
}

bool fits(const ColumnChoice &choice, qsizetype columns)
{
    for (const int column : {choice.wholeName, choice.lastName, choice.firstName, choice.middleName, choice.suffix}) {
        if (column < -1 || column >= columns)
            return false;
    }
    if (choice.kind == ColumnChoice::Kind::WholeName)
        return choice.wholeName >= 0;
    if (choice.kind == ColumnChoice::Kind::NameParts)
        return choice.lastName >= 0 && choice.firstName >= 0;
    return choice.kind == ColumnChoice::Kind::Lines;
}

} // namespace

void fuzzRememberedColumns(const std::uint8_t *data, std::size_t size)
{
    ensureApplication();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype nul = bytes.indexOf('\0');
    const QString value = QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
    const QStringList header = nul < 0 ? QStringList() : QString::fromUtf8(bytes.mid(nul + 1)).split(u'\n');

    const std::optional<ColumnChoice> read = lists::RememberedColumns::choiceFromText(value);
    if (read) {
        const std::optional<ColumnChoice> again =
            lists::RememberedColumns::choiceFromText(lists::RememberedColumns::valueText(*read));
        FUZZ_CHECK(again && *again == *read, "the value of " + shown(value) + " reads back otherwise");
    }

    MapSettings settings;
    lists::RememberedColumns remembered(settings);
    settings.write(lists::RememberedColumns::keyFor(header), value);
    if (const std::optional<ColumnChoice> found = remembered.find(header)) {
        FUZZ_CHECK(found->firstRowIsHeader && fits(*found, header.size()),
                   "found " + choiceText(*found) + " for a header of " + std::to_string(header.size()) + " cells");
        FUZZ_CHECK(read && *found == *read, "found " + choiceText(*found) + " from " + shown(value));
    }

    // A choice made from the input's bytes, remembered and found again for a header
    // written otherwise.
    ColumnChoice choice;
    const auto byte = [&](std::size_t i) { return i < size ? int(data[i]) : 0; };
    choice.kind = ColumnChoice::Kind(byte(0) % 4);
    choice.firstRowIsHeader = byte(1) % 4 != 0;
    choice.wholeName = byte(2) % 8 - 1;
    choice.lastName = byte(3) % 8 - 1;
    choice.firstName = byte(4) % 8 - 1;
    choice.middleName = byte(5) % 8 - 1;
    choice.suffix = byte(6) % 8 - 1;
    choice.dontAskAgain = byte(7) % 2 != 0;
    MapSettings fresh;
    lists::RememberedColumns store(fresh);
    store.remember(header, choice);
    QStringList otherwise;
    for (const QString &cell : header)
        otherwise << QStringLiteral(" ") + cell.toUpper() + QStringLiteral(" ");
    otherwise << QString() << QStringLiteral("  ");
    // A header of blank cells names no table: nothing is remembered for it.
    const bool blank = std::all_of(header.begin(), header.end(), [](const QString &cell) { return cell.trimmed().isEmpty(); });
    const bool stored = choice.firstRowIsHeader && choice.kind != ColumnChoice::Kind::Cancel && !blank;
    for (const QStringList &row : {header, otherwise}) {
        // Upper case folds back to the header's cells for most texts; where it does not,
        // the key differs and nothing is found.
        const bool sameKey = lists::RememberedColumns::keyFor(row) == lists::RememberedColumns::keyFor(header);
        const std::optional<ColumnChoice> found = store.find(row);
        const bool expected = stored && sameKey && fits(choice, row.size());
        FUZZ_CHECK(found.has_value() == expected && (!found || *found == choice),
                   "remembered " + choiceText(choice) + ", found " + (found ? choiceText(*found) : "none") +
                       " for " + shown(row.join(u'|')));
    }
}

} // namespace orvella::fuzz

#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <bitset>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orvella::names {

// After kSteppedMark in a key's tail: the name was filed as the user set it in the
// Filed-As list, and nothing was stepped over.
inline constexpr QChar kFiledMark = QChar(0x0002);

// One entry of the Filed-As list: a name as written (tidied, see tidySpaces), the
// words it files under, and the words that break ties among names filed under the
// same words (empty: the name's words other than those it files under).
struct FiledAsEntry {
    QString name;
    QString fileUnder;
    QString rest;

    bool operator==(const FiledAsEntry &) const = default;
};

// The Filed-As list: how the user says a name files, before every rule of the reading.
// A name is found with one hash lookup (after tidying its white space when it needs it).
class FiledAsList {
public:
    FiledAsList() = default;
    // Entries without a name or without words to file under are left out; a later
    // entry for the same name replaces an earlier one.
    explicit FiledAsList(const QList<FiledAsEntry> &entries);

    bool empty() const { return m_entries.empty(); }
    const QList<FiledAsEntry> &entries() const { return m_entries; }

    // The entry for a name, or none.
    const FiledAsEntry *find(QStringView name) const;
    // The words of an entry's name that break ties: its rest, or the name's words
    // other than those it files under (see restOfName).
    QStringView tailOf(const FiledAsEntry &entry) const { return m_tails[&entry - m_entries.constData()]; }

    // The entries as lines: the name, a TAB, the words to file under, and when given a
    // TAB and the rest. Reading takes any line break, skips blank lines and lines
    // without a TAB, and tidies each field.
    static QList<FiledAsEntry> readLines(QStringView text);
    static QString lines(const QList<FiledAsEntry> &entries);

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>()(text); }
    };
    // A name's length and its first and last units, folded into a place of m_likely.
    static size_t likelyPlace(std::u16string_view name);

    QList<FiledAsEntry> m_entries;
    QList<QString> m_tails; // tailOf each entry, worked out once
    // The places of the entries' names: most names a sort reads are no entry, and are
    // told so here without hashing them whole.
    std::bitset<65536> m_likely;
    std::unordered_map<std::u16string, qsizetype, Hash, std::equal_to<>> m_index;
};

// The key of a name filed as an entry of the list says: the words to file under, the
// field delimiter, the rest, kSteppedMark and kFiledMark.
void buildFiledAsKey(QString &key, const FiledAsList &list, const FiledAsEntry &entry);
// The same for a name filed under `fileUnder`, then `tail`.
void buildFiledAsKey(QString &key, QStringView fileUnder, QStringView tail);

// The rest of an entry that gives none: the name without the first run of its words
// that are the words it files under (with a comma right after them), or the whole name
// when it has no such run.
QString restOfName(QStringView name, QStringView fileUnder);

} // namespace orvella::names

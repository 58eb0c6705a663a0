#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <string>
#include <string_view>
#include <unordered_set>

namespace orvella::names {

// The professional designations, licences and phrases stepped over after a name
// ("AIA", "REALTOR", "CPCU", "RN", "attorney at law", "deceased"), as the designation
// list starts out.
QStringList defaultDesignations();

// The designation list. An entry matches a word (or a run of words joined by single
// spaces) with or without its periods: one written without capitals in any letter
// case, any other as written or all in capitals ("ChFC", "CHFC", but not "Chfc").
class DesignationSet {
public:
    DesignationSet() : DesignationSet(defaultDesignations()) {}
    // Entries are trimmed; empty ones and repeats (ignoring case) are left out.
    explicit DesignationSet(const QStringList &entries);

    const QStringList &entries() const { return m_entries; }
    bool contains(QStringView text) const;
    // Whether some entry of several words ends with this word: only then is a run of
    // words at a name's end worth asking about.
    bool endsPhrase(QStringView word) const;

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>()(text); }
    };
    using Set = std::unordered_set<std::u16string, Hash, std::equal_to<>>;

    QStringList m_entries;
    Set m_anyCase;   // entries without capitals, without periods
    Set m_asWritten; // the others without periods
    Set m_capitals;  // the others in capitals, without periods
    Set m_phraseEnds; // the last words of entries of several words, folded, without periods
    qsizetype m_longest = 0;
};

} // namespace orvella::names

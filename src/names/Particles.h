#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <bitset>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace orvella::names {

// The words that a last name takes along when they stand directly before it
// ("van" Beethoven, "de la" Hoya), as the particle list starts out.
QStringList defaultParticles();

// The words stepped over at the start of a name ("Dr.", "Rev.", "Mrs."), as the title
// list starts out. Given without their closing period: a title matches with or
// without one.
QStringList defaultTitles();

// A list of words, matched ignoring letter case.
class WordSet {
public:
    explicit WordSet(const QStringList &words);

    bool contains(QStringView word) const;
    const QStringList &words() const { return m_words; }

private:
    // A hash of a folded word, cheaper than the standard library's for a few letters.
    struct FoldedHash {
        using is_transparent = void;
        size_t operator()(std::u16string_view word) const;
    };
    bool containsNonAscii(QStringView word) const;

    QStringList m_words;
    QSet<QString> m_folded;
    // The plain-ASCII words folded, for a lookup without new strings; whether any word
    // folds to more than plain ASCII.
    std::unordered_set<std::u16string, FoldedHash, std::equal_to<>> m_ascii;
    bool m_onlyAscii = true;
    qsizetype m_longest = 0; // no longer word can be on the list
    // The plain-ASCII characters of the folded words, and those that start one.
    std::bitset<128> m_asciiUnits;
    std::bitset<128> m_asciiFirstUnits;
};

// The particle list (the default particles unless given).
class ParticleSet : public WordSet {
public:
    ParticleSet() : WordSet(defaultParticles()) {}
    explicit ParticleSet(const QStringList &words) : WordSet(words) {}
};

// The title list (the default titles unless given). A word is a title when the list
// holds it, or holds it without its closing period ("Dr." and "Dr" for "Dr").
class TitleSet : public WordSet {
public:
    TitleSet() : WordSet(defaultTitles()) {}
    explicit TitleSet(const QStringList &words) : WordSet(words) {}

    bool isTitle(QStringView word) const;
};

} // namespace orvella::names

#include "names/Particles.h"

#include <algorithm>

namespace orvella::names {

QStringList defaultParticles()
{
    return {QStringLiteral("van"), QStringLiteral("von"),  QStringLiteral("de"),    QStringLiteral("del"),
            QStringLiteral("della"), QStringLiteral("der"), QStringLiteral("den"),  QStringLiteral("di"),
            QStringLiteral("da"),  QStringLiteral("das"),  QStringLiteral("dos"),   QStringLiteral("du"),
            QStringLiteral("la"),  QStringLiteral("le"),   QStringLiteral("ten"),   QStringLiteral("ter"),
            QStringLiteral("St."), QStringLiteral("Saint"), QStringLiteral("bin"),  QStringLiteral("ibn"),
            QStringLiteral("al"),  QStringLiteral("el"),   QStringLiteral("ben"),   QStringLiteral("bat"),
            QStringLiteral("abu"), QStringLiteral("mac"),  QStringLiteral("zu"),    QStringLiteral("vom"),
            QStringLiteral("dela"), QStringLiteral("des"), QStringLiteral("do"),    QStringLiteral("lo"),
            QStringLiteral("zum"), QStringLiteral("zur"),  QStringLiteral("op"),    QStringLiteral("het"),
            QStringLiteral("'t"),  QStringLiteral("dello"), QStringLiteral("degli"),
            // Irish: "Ó Briain", "Ní Dhomhnaill", "Nic Aodha", "Uí Bhriain", "Ua Duinn", "Mhic Aodha".
            QStringLiteral("\u00d3"), QStringLiteral("N\u00ed"), QStringLiteral("Nic"), QStringLiteral("U\u00ed"),
            QStringLiteral("Ua"),  QStringLiteral("Mhic")};
}

QStringList defaultTitles()
{
    // Only words that are seldom a first name: "Don", "Dean" or "Major" are left out.
    return {QStringLiteral("Mr"),       QStringLiteral("Mrs"),      QStringLiteral("Ms"),
            QStringLiteral("Miss"),     QStringLiteral("Mx"),       QStringLiteral("Dr"),
            QStringLiteral("Prof"),     QStringLiteral("Professor"), QStringLiteral("Rev"),
            QStringLiteral("Revd"),     QStringLiteral("Reverend"), QStringLiteral("Fr"),
            QStringLiteral("Father"),   QStringLiteral("Pastor"),   QStringLiteral("Rabbi"),
            QStringLiteral("Imam"),     QStringLiteral("Sheikh"),   QStringLiteral("Hon"),
            QStringLiteral("Honorable"), QStringLiteral("Honourable"), QStringLiteral("Sen"),
            QStringLiteral("Senator"),  QStringLiteral("Rep"),      QStringLiteral("Gov"),
            QStringLiteral("Pres"),     QStringLiteral("Capt"),     QStringLiteral("Captain"),
            QStringLiteral("Cpt"),      QStringLiteral("Col"),      QStringLiteral("Colonel"),
            QStringLiteral("Gen"),      QStringLiteral("Lt"),       QStringLiteral("Maj"),
            QStringLiteral("Sgt"),      QStringLiteral("Cmdr"),     QStringLiteral("Adm"),
            QStringLiteral("Sir"),      QStringLiteral("Dame"),     QStringLiteral("Lord"),
            QStringLiteral("Lady"),     QStringLiteral("Mme"),      QStringLiteral("Mlle"),
            QStringLiteral("Herr"),     QStringLiteral("Frau"),     QStringLiteral("Dott"),
            QStringLiteral("Ing"),      QStringLiteral("Sra"),      QStringLiteral("Srta"),
            QStringLiteral("Sig"),      QStringLiteral("Mons"),     QStringLiteral("Msgr"),
            QStringLiteral("Rt"),       QStringLiteral("Amb"),      QStringLiteral("Det"),
            QStringLiteral("Insp"),     QStringLiteral("Supt"),     QStringLiteral("Cllr"),
            QStringLiteral("Sister"),   QStringLiteral("Brother"),  QStringLiteral("Dra"),
            QStringLiteral("Cdr")};
}

WordSet::WordSet(const QStringList &words) : m_words(words)
{
    for (const QString &word : words) {
        const QString folded = word.toCaseFolded();
        if (m_folded.contains(folded))
            continue;
        m_folded.insert(folded);
        m_longest = std::max(m_longest, folded.size());
        bool ascii = true;
        for (const QChar c : folded) {
            ascii = ascii && c.unicode() < 0x80;
            if (c.unicode() < 0x80)
                m_asciiUnits.set(c.unicode());
        }
        if (!folded.isEmpty() && folded.front().unicode() < 0x80)
            m_asciiFirstUnits.set(folded.front().unicode());
        m_onlyAscii = m_onlyAscii && ascii;
        if (ascii)
            m_ascii.emplace(reinterpret_cast<const char16_t *>(folded.utf16()), size_t(folded.size()));
    }
}

size_t WordSet::FoldedHash::operator()(std::u16string_view word) const
{
    size_t hash = 14695981039346656037ULL; // FNV-1a
    for (const char16_t u : word)
        hash = (hash ^ u) * 1099511628211ULL;
    return hash;
}

namespace {
// The few characters beyond ASCII whose case folding may give plain ASCII (the long s,
// the Kelvin sign; ß, ẞ and the ligatures ﬀ to ﬆ in full folding): a word holding one
// goes the slow way, through the library's folding, whatever that gives.
bool mayFoldToAscii(char16_t u)
{
    return u == 0x00DF || u == 0x017F || u == 0x1E9E || u == 0x212A || (u >= 0xFB00 && u <= 0xFB06);
}

char16_t foldedAscii(char16_t u)
{
    return u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u;
}
} // namespace

bool WordSet::contains(QStringView word) const
{
    // Asked for a word of nearly every name a sort reads: many are longer than any word
    // on the list (folding never makes a word shorter), and a plain-ASCII one is folded
    // by hand (as toCaseFolded() would) and looked up among the list's plain words,
    // rather than in two new strings and a hash.
    if (word.isEmpty() || word.size() > m_longest)
        return false;
    char16_t folded[64];
    const bool fits = word.size() <= qsizetype(std::size(folded));
    bool ascii = fits;
    for (qsizetype i = 0; ascii && i < word.size(); ++i) {
        const char16_t u = word[i].unicode();
        ascii = u < 0x80;
        folded[i] = foldedAscii(u);
    }
    if (ascii)
        return m_ascii.find(std::u16string_view(folded, size_t(word.size()))) != m_ascii.end();
    return containsNonAscii(word);
}

// A word with a character beyond ASCII: folded in a new string unless it cannot match.
bool WordSet::containsNonAscii(QStringView word) const
{
    // A list of plain words: a word with a character that cannot fold to ASCII is no match.
    if (m_onlyAscii && std::any_of(word.begin(), word.end(), [](QChar c) {
            return c.unicode() >= 0x80 && !mayFoldToAscii(c.unicode());
        }))
        return false;
    // A plain-ASCII character folds to one character, where it stands: the first one
    // has to start a word of the list, and each has to be in one.
    const char16_t first = word.front().unicode();
    if (first < 0x80 && !m_asciiFirstUnits.test(foldedAscii(first)))
        return false;
    if (std::any_of(word.begin(), word.end(),
                    [&](QChar c) { return c.unicode() < 0x80 && !m_asciiUnits.test(foldedAscii(c.unicode())); }))
        return false;
    return m_folded.contains(word.toString().toCaseFolded());
}

bool TitleSet::isTitle(QStringView word) const
{
    if (word.isEmpty())
        return false;
    if (contains(word))
        return true;
    return word.endsWith(QLatin1Char('.')) && word.size() > 1 && contains(word.chopped(1));
}

} // namespace orvella::names

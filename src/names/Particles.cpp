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
        const bool ascii = std::all_of(folded.begin(), folded.end(), [](QChar c) { return c.unicode() < 0x80; });
        m_onlyAscii = m_onlyAscii && ascii;
        if (ascii)
            m_ascii.emplace_back(reinterpret_cast<const char16_t *>(folded.utf16()), size_t(folded.size()));
    }
    std::sort(m_ascii.begin(), m_ascii.end());
}

namespace {
// The few characters beyond ASCII whose case folding is plain ASCII (ß and ẞ to "ss",
// the long s, the Kelvin sign, the Latin ligatures ﬀ to ﬆ).
bool mayFoldToAscii(char16_t u)
{
    return u == 0x00DF || u == 0x017F || u == 0x1E9E || u == 0x212A || (u >= 0xFB00 && u <= 0xFB06);
}
} // namespace

bool WordSet::contains(QStringView word) const
{
    // Asked for a word of nearly every name a sort reads: many are longer than any word
    // on the list (folding never makes a word shorter), and a plain-ASCII one is folded
    // by hand (as toCaseFolded() would) and compared with the list's few plain words,
    // rather than in two new strings and a hash.
    if (word.isEmpty() || word.size() > m_longest)
        return false;
    char16_t folded[64];
    const bool fits = word.size() <= qsizetype(std::size(folded));
    bool ascii = fits;
    for (qsizetype i = 0; ascii && i < word.size(); ++i) {
        const char16_t u = word[i].unicode();
        ascii = u < 0x80;
        folded[i] = u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u;
    }
    if (ascii) {
        // A plain-ASCII word folds to plain ASCII: only the list's plain words can match.
        const std::u16string_view probe(folded, size_t(word.size()));
        const auto at = std::lower_bound(m_ascii.begin(), m_ascii.end(), probe,
                                         [](const std::u16string &w, std::u16string_view p) { return w < p; });
        return at != m_ascii.end() && *at == probe;
    }
    // A list of plain words: a word with a character that cannot fold to ASCII is no match.
    if (m_onlyAscii && std::any_of(word.begin(), word.end(), [](QChar c) {
            return c.unicode() >= 0x80 && !mayFoldToAscii(c.unicode());
        }))
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

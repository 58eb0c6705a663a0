#include "sorting/Particles.h"

#include <algorithm>

namespace orvella::sorting {

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
            QStringLiteral("'t"),  QStringLiteral("dello"), QStringLiteral("degli")};
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
            QStringLiteral("Sig"),      QStringLiteral("Mons"),     QStringLiteral("Msgr")};
}

WordSet::WordSet(const QStringList &words) : m_words(words)
{
    for (const QString &word : words) {
        const QString folded = word.toCaseFolded();
        m_folded.insert(folded);
        m_longest = std::max(m_longest, folded.size());
    }
}

bool WordSet::contains(QStringView word) const
{
    // Asked for a word of nearly every name a sort reads: many are longer than any word
    // on the list (folding never makes a word shorter), and the others are folded in
    // one kept text, by hand where they are plain ASCII (as toCaseFolded() would),
    // rather than in two new strings.
    if (word.isEmpty() || word.size() > m_longest)
        return false;
    thread_local QString probe;
    probe.resize(0);
    probe.append(word);
    for (QChar &c : probe) {
        const char16_t u = c.unicode();
        if (u >= 0x80) {
            probe = std::move(probe).toCaseFolded();
            break;
        }
        if (u >= u'A' && u <= u'Z')
            c = QChar(char16_t(u + (u'a' - u'A')));
    }
    return m_folded.contains(probe);
}

bool TitleSet::isTitle(QStringView word) const
{
    if (word.isEmpty())
        return false;
    if (contains(word))
        return true;
    return word.endsWith(QLatin1Char('.')) && word.size() > 1 && contains(word.chopped(1));
}

} // namespace orvella::sorting

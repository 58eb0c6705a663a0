// Provisional: replaced by the reading work.
#include "sorting/NameReading.h"
#include "sorting/Particles.h"
namespace orvella::sorting {
NameReading readName(QStringView name, const SortOptions &options, const ReadingChoices &,
                     const SuffixTest &isSuffix, const ParticleTest &)
{
    const QString key = buildSortKey(name, options, isSuffix);
    const QStringView head = headField(key);
    NameReading r;
    r.sortedUnder = head.toString();
    r.lastName = r.sortedUnder;
    r.then = trimSpaces(QStringView(key).mid(head.size() + kFieldDelimiter.size())).toString();
    return r;
}
QString sortedUnderText(const NameReading &r)
{
    return QStringLiteral("Sorted under: ") + r.sortedUnder + (r.then.isEmpty() ? QString() : QStringLiteral(", then: ") + r.then);
}
QStringList defaultParticles()
{
    return QStringLiteral("van von de del della der den di da das dos du la le ten ter St. Saint bin ibn al el").split(u' ');
}
ParticleSet::ParticleSet() : m_words(defaultParticles()) {}
ParticleSet::ParticleSet(const QStringList &words) : m_words(words) {}
bool ParticleSet::contains(QStringView word) const
{
    for (const QString &w : m_words)
        if (QStringView(w).compare(word, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}
}
#include "sorting/SortControls.h"
namespace orvella::sorting {
bool SortControls::isParticle(QStringView word) const { static const ParticleSet set; return set.contains(word); }
}

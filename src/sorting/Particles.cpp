#include "sorting/Particles.h"

namespace orvella::sorting {

QStringList defaultParticles()
{
    return {QStringLiteral("van"), QStringLiteral("von"),  QStringLiteral("de"),    QStringLiteral("del"),
            QStringLiteral("della"), QStringLiteral("der"), QStringLiteral("den"),  QStringLiteral("di"),
            QStringLiteral("da"),  QStringLiteral("das"),  QStringLiteral("dos"),   QStringLiteral("du"),
            QStringLiteral("la"),  QStringLiteral("le"),   QStringLiteral("ten"),   QStringLiteral("ter"),
            QStringLiteral("St."), QStringLiteral("Saint"), QStringLiteral("bin"),  QStringLiteral("ibn"),
            QStringLiteral("al"),  QStringLiteral("el")};
}

ParticleSet::ParticleSet() : ParticleSet(defaultParticles()) {}

ParticleSet::ParticleSet(const QStringList &words) : m_words(words)
{
    for (const QString &word : words)
        m_folded.insert(word.toCaseFolded());
}

bool ParticleSet::contains(QStringView word) const
{
    return m_folded.contains(word.toString().toCaseFolded());
}

} // namespace orvella::sorting

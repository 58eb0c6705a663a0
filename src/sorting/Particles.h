#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace orvella::sorting {

// The words that a last name takes along when they stand directly before it
// ("van" Beethoven, "de la" Hoya), as the particle list starts out.
QStringList defaultParticles();

// A particle list, matched ignoring letter case.
class ParticleSet {
public:
    ParticleSet(); // the default particles
    explicit ParticleSet(const QStringList &words);

    bool contains(QStringView word) const;
    const QStringList &words() const { return m_words; }

private:
    QStringList m_words;
    QSet<QString> m_folded;
};

} // namespace orvella::sorting

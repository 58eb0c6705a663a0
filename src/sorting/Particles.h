#pragma once
// Provisional: replaced by the reading work.
#include <QStringList>
#include <QStringView>
namespace orvella::sorting {
QStringList defaultParticles();
class ParticleSet {
public:
    ParticleSet();
    explicit ParticleSet(const QStringList &words);
    bool contains(QStringView word) const;
    const QStringList &words() const { return m_words; }
private:
    QStringList m_words;
};
}

#include "session/ReadingSettings.h"

#include "core/NumberText.h"
#include "core/Procedure.h"
#include "core/SettingsStore.h"

#include <QRegularExpression>
#include <QScopeGuard>

namespace orvella::session {

using sorting::NameOrder;

namespace {
QString truthText(bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); }

bool readSwitch(const QString &stored)
{
    return core::readTruthValue(stored).value_or(false);
}
} // namespace

ReadingSettings::ReadingSettings(core::SettingsStore &settings, QObject *parent)
    : QObject(parent), m_settings(settings)
{
}

QString ReadingSettings::orderText(NameOrder order)
{
    return order == NameOrder::Alphabetical ? QStringLiteral("Alphabetical") : QStringLiteral("Exact");
}

NameOrder ReadingSettings::readOrder(const QString &stored)
{
    return stored.trimmed().compare(QLatin1String("Alphabetical"), Qt::CaseInsensitive) == 0 ? NameOrder::Alphabetical
                                                                                             : NameOrder::Exact;
}

QString ReadingSettings::packParticles(const QStringList &words)
{
    return words.join(QLatin1Char(' '));
}

QStringList ReadingSettings::unpackParticles(const QString &stored)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    QStringList words;
    for (const QString &word : stored.split(space, Qt::SkipEmptyParts)) {
        if (!words.contains(word, Qt::CaseInsensitive))
            words << word;
    }
    return words;
}

void ReadingSettings::write(const QString &key, const QString &value)
{
    const auto notify = qScopeGuard([this] { emit changed(); });
    m_settings.write(key, value);
}

void ReadingSettings::setOrder(NameOrder order)
{
    if (m_choices.order == order)
        return;
    m_choices.order = order;
    write(SettingKey::Order, orderText(order));
}

void ReadingSettings::setLastCommaFirst(bool on)
{
    if (m_choices.lastCommaFirst == on)
        return;
    m_choices.lastCommaFirst = on;
    write(SettingKey::LastCommaFirst, truthText(on));
}

void ReadingSettings::setKeepParticles(bool on)
{
    if (m_choices.keepParticles == on)
        return;
    m_choices.keepParticles = on;
    write(SettingKey::KeepParticles, truthText(on));
}

void ReadingSettings::setParticles(const QStringList &words)
{
    const QStringList clean = unpackParticles(words.join(QLatin1Char(' ')));
    if (clean == m_particles.words())
        return;
    m_particles = sorting::ParticleSet(clean);
    write(SettingKey::ParticleList, packParticles(clean));
}

void ReadingSettings::Restore(core::Procedure &p)
{
    // Restoring writes nothing: the stored value (or its absence) stays as it is.
    p.step(156, [&] { m_choices.order = readOrder(m_settings.read(SettingKey::Order, QString())); });
    p.step(158, [&] { m_choices.lastCommaFirst = readSwitch(m_settings.read(SettingKey::LastCommaFirst, QString())); });
    p.step(160, [&] { m_choices.keepParticles = readSwitch(m_settings.read(SettingKey::KeepParticles, QString())); });
    p.step(162, [&] {
        // Absent: the default list. Present, even empty: the user's own list.
        const QString absent = QStringLiteral("\x01");
        const QString stored = m_settings.read(SettingKey::ParticleList, absent);
        m_particles = stored == absent ? sorting::ParticleSet() : sorting::ParticleSet(unpackParticles(stored));
    });
    emit changed();
}

} // namespace orvella::session

#pragma once

#include "sorting/NameReading.h"
#include "sorting/Particles.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace orvella::core {
class Procedure;
class SettingsStore;
} // namespace orvella::core

namespace orvella::session {

// Keys of the reading choices, beside the option keys in the same section.
namespace SettingKey {
inline const QString Order = QStringLiteral("Order");
inline const QString LastCommaFirst = QStringLiteral("LastCommaFirst");
inline const QString KeepParticles = QStringLiteral("KeepParticles");
inline const QString ParticleList = QStringLiteral("ParticleList");
} // namespace SettingKey

// The choices of the Order and Reading menus and the particle list, without widgets.
// Each change is written to the settings store at once; the restore at start-up takes
// a missing or unreadable value as the default.
class ReadingSettings : public QObject {
    Q_OBJECT
public:
    explicit ReadingSettings(core::SettingsStore &settings, QObject *parent = nullptr);

    const sorting::ReadingChoices &choices() const { return m_choices; }
    const sorting::ParticleSet &particles() const { return m_particles; }

    // Each writes its key when the value changes; throws a Failure when the store
    // cannot be written (the choice still takes effect for this session).
    void setOrder(sorting::NameOrder order);
    void setLastCommaFirst(bool on);
    void setKeepParticles(bool on);
    void setParticles(const QStringList &words);

    // Start-up steps 156 to 162 of Form1.Form_Load, after the option controls.
    void Restore(core::Procedure &procedure);

    // Stored form of the particle list: the words separated by single spaces. Reading
    // splits at any white space and drops repeats (ignoring case), keeping the first.
    static QString packParticles(const QStringList &words);
    static QStringList unpackParticles(const QString &stored);

    static QString orderText(sorting::NameOrder order);
    static sorting::NameOrder readOrder(const QString &stored);

signals:
    void changed();

private:
    void write(const QString &key, const QString &value);

    core::SettingsStore &m_settings;
    sorting::ReadingChoices m_choices;
    sorting::ParticleSet m_particles;
};

} // namespace orvella::session

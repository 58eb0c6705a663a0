#pragma once

#include "names/Designations.h"
#include "names/FiledAs.h"
#include "names/Nicknames.h"
#include "names/NameReading.h"
#include "names/Particles.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

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
inline const QString StepOverExtras = QStringLiteral("StepOverExtras");
inline const QString FamilyNameFirst = QStringLiteral("FamilyNameFirst");
inline const QString LearnLastNames = QStringLiteral("LearnLastNames");
inline const QString TitleList = QStringLiteral("TitleList");
inline const QString TwoFamilyNames = QStringLiteral("TwoFamilyNames");
inline const QString FiledAsList = QStringLiteral("FiledAsList");
inline const QString DesignationList = QStringLiteral("DesignationList");
inline const QString NicknameList = QStringLiteral("NicknameList");
} // namespace SettingKey

// The choices of the Order and Reading menus and the particle and title lists, without
// widgets.
// Each change is written to the settings store at once; the restore at start-up takes
// a missing or unreadable value as the default.
class ReadingSettings : public QObject {
    Q_OBJECT
public:
    explicit ReadingSettings(core::SettingsStore &settings, QObject *parent = nullptr);

    const names::ReadingChoices &choices() const { return m_choices; }
    const names::ParticleSet &particles() const { return m_particles; }
    const names::TitleSet &titles() const { return m_titles; }
    // Shared with a sort that runs on: a change makes a new list.
    std::shared_ptr<const names::FiledAsList> filedAs() const { return m_filedAs; }
    std::shared_ptr<const names::DesignationSet> designations() const { return m_designations; }
    std::shared_ptr<const names::NicknameSet> nicknames() const { return m_nicknames; }

    // Each writes its key when the value changes; throws a Failure when the store
    // cannot be written (the choice still takes effect for this session).
    void setOrder(names::NameOrder order);
    void setLastCommaFirst(bool on);
    void setKeepParticles(bool on);
    void setStepOverExtras(bool on);
    void setFamilyNameFirst(bool on);
    void setLearnLastNames(bool on);
    void setTwoFamilyNames(bool on);
    void setParticles(const QStringList &words);
    void setTitles(const QStringList &words);
    // Stored as FiledAsList::lines says (empty: the key holds an empty text).
    void setFiledAs(const QList<names::FiledAsEntry> &entries);
    // Stored one entry a line (an entry may be several words).
    void setDesignations(const QStringList &entries);
    // Stored one pair a line ("Bob Robert").
    void setNicknames(const QStringList &lines);

    // Start-up steps 156 to 170 of Form1.Form_Load, after the option controls.
    void restore(core::Procedure &procedure);

    // Stored form of the particle and title lists: the words separated by single
    // spaces. Reading splits at any white space and drops repeats (ignoring case),
    // keeping the first.
    static QString packWords(const QStringList &words);
    static QStringList unpackWords(const QString &stored);

    static QString orderText(names::NameOrder order);
    static names::NameOrder readOrder(const QString &stored);

signals:
    void changed();

private:
    void write(const QString &key, const QString &value);
    void setSwitch(bool names::ReadingChoices::*choice, const QString &key, bool on);
    // The stored word list under the key, or none when the key is absent.
    std::optional<QStringList> readWords(const QString &key) const;
    // The stored list of lines under the key, or none when the key is absent.
    std::optional<QStringList> readLines(const QString &key) const;

    core::SettingsStore &m_settings;
    names::ReadingChoices m_choices;
    names::ParticleSet m_particles;
    names::TitleSet m_titles;
    std::shared_ptr<const names::FiledAsList> m_filedAs = std::make_shared<names::FiledAsList>();
    std::shared_ptr<const names::DesignationSet> m_designations = std::make_shared<names::DesignationSet>();
    std::shared_ptr<const names::NicknameSet> m_nicknames = std::make_shared<names::NicknameSet>();
};

} // namespace orvella::session

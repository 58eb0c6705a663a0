#include "session/ReadingSettings.h"

#include "core/NumberText.h"
#include "core/Procedure.h"
#include "core/SettingsStore.h"

#include <QRegularExpression>
#include <QScopeGuard>

namespace orvella::session {

using names::NameOrder;

namespace {
using core::truthText;

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

QString ReadingSettings::packWords(const QStringList &words)
{
    return words.join(QLatin1Char(' '));
}

QStringList ReadingSettings::unpackWords(const QString &stored)
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
    setSwitch(&names::ReadingChoices::lastCommaFirst, SettingKey::LastCommaFirst, on);
}

void ReadingSettings::setSwitch(bool names::ReadingChoices::*choice, const QString &key, bool on)
{
    if (m_choices.*choice == on)
        return;
    m_choices.*choice = on;
    write(key, truthText(on));
}

void ReadingSettings::setKeepParticles(bool on)
{
    setSwitch(&names::ReadingChoices::keepParticles, SettingKey::KeepParticles, on);
}

void ReadingSettings::setStepOverExtras(bool on)
{
    setSwitch(&names::ReadingChoices::stepOverExtras, SettingKey::StepOverExtras, on);
}

void ReadingSettings::setFamilyNameFirst(bool on)
{
    setSwitch(&names::ReadingChoices::familyNameFirst, SettingKey::FamilyNameFirst, on);
}

void ReadingSettings::setLearnLastNames(bool on)
{
    setSwitch(&names::ReadingChoices::learnLastNames, SettingKey::LearnLastNames, on);
}

void ReadingSettings::setTwoFamilyNames(bool on)
{
    setSwitch(&names::ReadingChoices::twoFamilyNames, SettingKey::TwoFamilyNames, on);
}

void ReadingSettings::setFiledAs(const QList<names::FiledAsEntry> &entries)
{
    auto list = std::make_shared<const names::FiledAsList>(entries);
    if (list->entries() == m_filedAs->entries())
        return;
    m_filedAs = list;
    write(SettingKey::FiledAsList, names::FiledAsList::lines(list->entries()));
}

namespace {
// A list of lines made anew from the lines given; false when it holds the same entries.
template<typename List>
bool replaceList(std::shared_ptr<const List> &list, const QStringList &lines)
{
    auto made = std::make_shared<const List>(lines);
    if (made->entries() == list->entries())
        return false;
    list = std::move(made);
    return true;
}
} // namespace

void ReadingSettings::setDesignations(const QStringList &entries)
{
    if (replaceList(m_designations, entries))
        write(SettingKey::DesignationList, m_designations->entries().join(QLatin1Char('\n')));
}

void ReadingSettings::setNicknames(const QStringList &lines)
{
    if (replaceList(m_nicknames, lines))
        write(SettingKey::NicknameList, m_nicknames->entries().join(QLatin1Char('\n')));
}

void ReadingSettings::setParticles(const QStringList &words)
{
    const QStringList clean = unpackWords(words.join(QLatin1Char(' ')));
    if (clean == m_particles.words())
        return;
    m_particles = names::ParticleSet(clean);
    write(SettingKey::ParticleList, packWords(clean));
}

void ReadingSettings::setTitles(const QStringList &words)
{
    const QStringList clean = unpackWords(words.join(QLatin1Char(' ')));
    if (clean == m_titles.words())
        return;
    m_titles = names::TitleSet(clean);
    write(SettingKey::TitleList, packWords(clean));
}

std::optional<QStringList> ReadingSettings::readWords(const QString &key) const
{
    // Absent: none (the default list). Present, even empty: the user's own list.
    const QString absent = QStringLiteral("\x01");
    const QString stored = m_settings.read(key, absent);
    if (stored == absent)
        return std::nullopt;
    return unpackWords(stored);
}

std::optional<QStringList> ReadingSettings::readLines(const QString &key) const
{
    // Absent: none (the default list). Present, even empty: the user's own list.
    const QString absent = QStringLiteral("\x01");
    const QString stored = m_settings.read(key, absent);
    if (stored == absent)
        return std::nullopt;
    return stored.split(QLatin1Char('\n'));
}

void ReadingSettings::restore(core::Procedure &p)
{
    // Restoring writes nothing: the stored value (or its absence) stays as it is.
    p.step(156, [&] { m_choices.order = readOrder(m_settings.read(SettingKey::Order, QString())); });
    p.step(158, [&] { m_choices.lastCommaFirst = readSwitch(m_settings.read(SettingKey::LastCommaFirst, QString())); });
    p.step(160, [&] { m_choices.keepParticles = readSwitch(m_settings.read(SettingKey::KeepParticles, QString())); });
    p.step(162, [&] {
        const auto stored = readWords(SettingKey::ParticleList);
        m_particles = stored ? names::ParticleSet(*stored) : names::ParticleSet();
    });
    p.step(164, [&] { m_choices.stepOverExtras = readSwitch(m_settings.read(SettingKey::StepOverExtras, QString())); });
    p.step(166, [&] { m_choices.familyNameFirst = readSwitch(m_settings.read(SettingKey::FamilyNameFirst, QString())); });
    p.step(168, [&] { m_choices.learnLastNames = readSwitch(m_settings.read(SettingKey::LearnLastNames, QString())); });
    p.step(170, [&] {
        const auto stored = readWords(SettingKey::TitleList);
        m_titles = stored ? names::TitleSet(*stored) : names::TitleSet();
    });
    p.step(172, [&] { m_choices.twoFamilyNames = readSwitch(m_settings.read(SettingKey::TwoFamilyNames, QString())); });
    p.step(174, [&] {
        const QString stored = m_settings.read(SettingKey::FiledAsList, QString());
        m_filedAs = std::make_shared<const names::FiledAsList>(names::FiledAsList::readLines(stored));
    });
    p.step(176, [&] {
        const auto stored = readLines(SettingKey::DesignationList);
        m_designations = stored ? std::make_shared<const names::DesignationSet>(*stored)
                                : std::make_shared<const names::DesignationSet>();
    });
    p.step(178, [&] {
        const auto stored = readLines(SettingKey::NicknameList);
        m_nicknames = stored ? std::make_shared<const names::NicknameSet>(*stored)
                             : std::make_shared<const names::NicknameSet>();
    });
    emit changed();
}

} // namespace orvella::session

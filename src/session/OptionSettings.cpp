#include "session/OptionSettings.h"

#include "core/Failure.h"
#include "core/NumberText.h"
#include "core/Procedure.h"
#include "core/SettingsStore.h"

#include <optional>
#include <utility>

namespace orvella::session {

using namespace orvella::core;
using names::LastWordReading;
using names::SortBy;

namespace {

QString tickedText(bool ticked) { return ticked ? QStringLiteral("1") : QStringLiteral("0"); }
using core::truthText;

} // namespace

OptionSettings::OptionSettings(SettingsStore &settings, QObject *parent)
    : QObject(parent), m_settings(settings), m_reading(settings)
{
}

template<typename Change>
void OptionSettings::assign(Change &&change)
{
    ++m_depth;
    change();
    --m_depth;
    if (m_depth == 0 && m_changed) {
        m_changed = false;
        emit statesChanged();
    }
}

void OptionSettings::write(const QString &key, const QString &value)
{
    try {
        m_settings.write(key, value);
    } catch (...) {
        m_writeFailures << Procedure::describeCurrentException();
    }
}

QStringList OptionSettings::takeWriteFailures()
{
    return std::exchange(m_writeFailures, {});
}

void OptionSettings::throwWriteFailure()
{
    const QStringList failures = takeWriteFailures();
    if (!failures.isEmpty())
        throw Failure(failures.first());
}

// ---- Assignments ---------------------------------------------------------------------

void OptionSettings::setRemoveDuplicates(bool ticked)
{
    if (m_states.removeDuplicates == ticked)
        return;
    assign([&] {
        m_states.removeDuplicates = ticked;
        m_changed = true;
        removeDuplicatesChanged();
    });
}

void OptionSettings::setKeepUnique(bool ticked) { setLastNameBox(LastNameFilter::KeepUnique, ticked); }
void OptionSettings::setKeepLimited(bool ticked) { setLastNameBox(LastNameFilter::KeepLimited, ticked); }

void OptionSettings::setLastNameBox(LastNameFilter box, bool ticked)
{
    if (ticked == (m_states.lastNameFilter == box))
        return;
    assign([&] {
        m_changed = true;
        // The other box is unticked first, through its own rule.
        if (ticked && m_states.lastNameFilter != LastNameFilter::KeepAll)
            setLastNameBox(m_states.lastNameFilter, false);
        m_states.lastNameFilter = ticked ? box : LastNameFilter::KeepAll;
        lastNameBoxChanged(box);
    });
}

void OptionSettings::chooseSortBy(names::SortBy sortBy)
{
    if (m_states.sortBy == sortBy && !m_sortByUnselected)
        return;
    assign([&] {
        m_states.sortBy = sortBy;
        m_sortByUnselected = false;
        m_changed = true;
        sortByChanged();
    });
}

void OptionSettings::chooseLastWord(names::LastWordReading lastWord)
{
    if (m_states.lastWord == lastWord && !m_lastWordUnselected)
        return;
    assign([&] {
        m_states.lastWord = lastWord;
        m_lastWordUnselected = false;
        m_changed = true;
        lastWordChanged();
    });
}

void OptionSettings::setLimitText(const QString &text)
{
    if (m_states.limitText == text)
        return;
    assign([&] {
        m_states.limitText = text;
        m_changed = true;
        limitTextChanged();
    });
}

void OptionSettings::setLastWordEnabled(bool enabled)
{
    if (m_states.lastWordEnabled == enabled)
        return;
    assign([&] {
        m_states.lastWordEnabled = enabled;
        m_changed = true;
    });
}

// ---- Rules ---------------------------------------------------------------------------

void OptionSettings::removeDuplicatesChanged()
{
    write(SettingKey::RemoveDuplicates, tickedText(m_states.removeDuplicates));
}

void OptionSettings::lastNameBoxChanged(LastNameFilter box)
{
    const QString &key = box == LastNameFilter::KeepUnique ? SettingKey::KeepUnique : SettingKey::KeepLimited;
    write(key, tickedText(m_states.lastNameFilter == box));
}

// A pair's rule writes both of its buttons, from the selected one.
void OptionSettings::sortByChanged()
{
    write(SettingKey::SortByLastFirst, truthText(m_states.sortBy == SortBy::LastFirst));
    write(SettingKey::SortByFirstLast, truthText(m_states.sortBy == SortBy::FirstLast));
    m_states.lastWordEnabled = m_states.sortBy == SortBy::LastFirst;
}

void OptionSettings::lastWordChanged()
{
    write(SettingKey::SkipSuffixes, truthText(m_states.lastWord == LastWordReading::SkipSuffixes));
    write(SettingKey::LastWord, truthText(m_states.lastWord == LastWordReading::LastWord));
}

void OptionSettings::limitTextChanged()
{
    write(SettingKey::LimitText, m_states.limitText);
}

// ---- Restore -------------------------------------------------------------------------

bool OptionSettings::readTicked(const QString &stored)
{
    return leadingNumber(stored) == 1.0;
}

// A stored "False" writes nothing: writing the pair would overwrite the partner's
// stored "True" before the partner is read.
void OptionSettings::restoreSortBy(SortBy button, bool selected)
{
    if (selected)
        chooseSortBy(button);
    else if (m_states.sortBy == button)
        m_sortByUnselected = true;
}

void OptionSettings::restoreLastWord(LastWordReading button, bool selected)
{
    if (selected)
        chooseLastWord(button);
    else if (m_states.lastWord == button)
        m_lastWordUnselected = true;
}

void OptionSettings::selectDesignChoiceWhenNoneSelected()
{
    // The program never stores a pair without a selection; a store edited by hand
    // may. Such a pair falls back to its designed choice.
    if (m_sortByUnselected)
        chooseSortBy(SortBy::LastFirst);
    if (m_lastWordUnselected)
        chooseLastWord(LastWordReading::SkipSuffixes);
}

void OptionSettings::restore(Procedure &p)
{
    auto restoreCheck = [&](int step, const QString &key, void (OptionSettings::*set)(bool)) {
        p.step(step, [&] {
            (this->*set)(readTicked(m_settings.read(key, QStringLiteral("0"))));
            throwWriteFailure();
        });
    };
    auto restoreOption = [&](int step, const QString &key, const char *absent, const auto &restore) {
        p.step(step, [&] {
            const QString stored = m_settings.read(key, QLatin1String(absent));
            const std::optional<bool> selected = readTruthValue(stored);
            if (!selected)
                throw Failure(QStringLiteral("Type mismatch: the stored %1 value \"%2\" is not True or False")
                                  .arg(key, stored));
            restore(*selected);
            throwWriteFailure();
        });
    };

    restoreCheck(130, SettingKey::RemoveDuplicates, &OptionSettings::setRemoveDuplicates);
    restoreCheck(132, SettingKey::KeepUnique, &OptionSettings::setKeepUnique);
    restoreCheck(134, SettingKey::KeepLimited, &OptionSettings::setKeepLimited);
    restoreOption(136, SettingKey::SortByLastFirst, "1", [&](bool on) { restoreSortBy(SortBy::LastFirst, on); });
    restoreOption(138, SettingKey::SortByFirstLast, "0", [&](bool on) { restoreSortBy(SortBy::FirstLast, on); });
    restoreOption(140, SettingKey::SkipSuffixes, "1",
                  [&](bool on) { restoreLastWord(LastWordReading::SkipSuffixes, on); });
    restoreOption(142, SettingKey::LastWord, "0", [&](bool on) { restoreLastWord(LastWordReading::LastWord, on); });
    if (p.test(144, [&] {
            selectDesignChoiceWhenNoneSelected();
            throwWriteFailure();
            return m_states.sortBy == SortBy::LastFirst;
        }))
        p.step(146, [&] { setLastWordEnabled(true); });
    else
        p.step(148, [&] { setLastWordEnabled(false); });
    p.step(150, [&] {
        setLimitText(m_settings.read(SettingKey::LimitText, QStringLiteral("5")));
        throwWriteFailure();
    });
}

} // namespace orvella::session

#include "session/OptionSettings.h"

#include "core/Failure.h"
#include "core/NumberText.h"
#include "core/Procedure.h"
#include "core/SettingsStore.h"

#include <optional>
#include <utility>

namespace orvella::session {

using namespace orvella::core;
namespace {

QString tickedText(bool ticked) { return ticked ? QStringLiteral("1") : QStringLiteral("0"); }
QString truthText(bool selected) { return selected ? QStringLiteral("True") : QStringLiteral("False"); }

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

names::SortOptions OptionSettings::options() const
{
    return {m_states.option1, m_states.option2, m_states.option3, m_states.option4};
}

// ---- Assignments ---------------------------------------------------------------------

void OptionSettings::setTicked(bool OptionStates::*box, bool ticked, void (OptionSettings::*rule)())
{
    if (m_states.*box == ticked)
        return;
    assign([&] {
        m_states.*box = ticked;
        m_changed = true;
        (this->*rule)();
    });
}

void OptionSettings::setCheck5(bool ticked) { setTicked(&OptionStates::check5, ticked, &OptionSettings::Check5_Click); }
void OptionSettings::setCheck1(bool ticked) { setTicked(&OptionStates::check1, ticked, &OptionSettings::Check1_Click); }
void OptionSettings::setCheck2(bool ticked) { setTicked(&OptionStates::check2, ticked, &OptionSettings::Check2_Click); }

void OptionSettings::setOption(int number, bool selected)
{
    bool *self = nullptr;
    bool *partner = nullptr;
    switch (number) {
    case 1: self = &m_states.option1; partner = &m_states.option2; break;
    case 2: self = &m_states.option2; partner = &m_states.option1; break;
    case 3: self = &m_states.option3; partner = &m_states.option4; break;
    case 4: self = &m_states.option4; partner = &m_states.option3; break;
    default: return;
    }
    if (*self == selected)
        return;
    assign([&] {
        *self = selected;
        m_changed = true;
        // An option button is clicked only to select it; its rule writes the pair from
        // the selected button. Deselecting (the restore of a "False") writes nothing:
        // it would overwrite the partner's stored "True" before the partner is read.
        if (!selected)
            return;
        *partner = false;
        if (number <= 2)
            Option12_Click();
        else
            Option34_Click();
    });
}

void OptionSettings::setText1(const QString &text)
{
    if (m_states.text1 == text)
        return;
    assign([&] {
        m_states.text1 = text;
        m_changed = true;
        Text1_Change();
    });
}

// ---- Rules ---------------------------------------------------------------------------

void OptionSettings::Check1_Click()
{
    if (m_states.check1)
        setCheck2(false);
    write(SettingKey::Check1, tickedText(m_states.check1));
}

void OptionSettings::Check2_Click()
{
    if (m_states.check2) {
        setCheck1(false);
        m_states.text1Enabled = true;
    } else {
        m_states.text1Enabled = false;
    }
    write(SettingKey::Check2, tickedText(m_states.check2));
}

void OptionSettings::Check5_Click()
{
    write(SettingKey::RemoveDuplicates, tickedText(m_states.check5));
}

void OptionSettings::Option12_Click()
{
    write(SettingKey::Option1, truthText(m_states.option1));
    write(SettingKey::Option2, truthText(m_states.option2));
    m_states.frame3Enabled = m_states.option1;
}

void OptionSettings::Option34_Click()
{
    write(SettingKey::Option3, truthText(m_states.option3));
    write(SettingKey::Option4, truthText(m_states.option4));
}

void OptionSettings::Text1_Change()
{
    write(SettingKey::Text1, m_states.text1);
}

// ---- Restore -------------------------------------------------------------------------

bool OptionSettings::readTicked(const QString &stored)
{
    return leadingNumber(stored) == 1.0;
}

void OptionSettings::selectDesignOptionWhenNoneSelected()
{
    // The program never stores a group without a selection; a store edited by hand
    // may. Such a group falls back to its designed choice.
    if (!m_states.option1 && !m_states.option2)
        setOption(1, true);
    if (!m_states.option3 && !m_states.option4)
        setOption(3, true);
}

void OptionSettings::Restore(Procedure &p)
{
    auto restoreCheck = [&](int step, const QString &key, void (OptionSettings::*set)(bool)) {
        p.step(step, [&] {
            (this->*set)(readTicked(m_settings.read(key, QStringLiteral("0"))));
            throwWriteFailure();
        });
    };
    auto restoreOption = [&](int step, int number, const QString &key, const char *absent) {
        p.step(step, [&] {
            const QString stored = m_settings.read(key, QLatin1String(absent));
            const std::optional<bool> selected = readTruthValue(stored);
            if (!selected)
                throw Failure(QStringLiteral("Type mismatch: the stored %1 value \"%2\" is not True or False")
                                  .arg(key, stored));
            setOption(number, *selected);
            throwWriteFailure();
        });
    };
    auto setFrame3Enabled = [&](bool enabled) {
        if (m_states.frame3Enabled == enabled)
            return;
        assign([&] {
            m_states.frame3Enabled = enabled;
            m_changed = true;
        });
    };

    restoreCheck(130, SettingKey::RemoveDuplicates, &OptionSettings::setCheck5);
    restoreCheck(132, SettingKey::Check1, &OptionSettings::setCheck1);
    restoreCheck(134, SettingKey::Check2, &OptionSettings::setCheck2);
    restoreOption(136, 1, SettingKey::Option1, "1");
    restoreOption(138, 2, SettingKey::Option2, "0");
    restoreOption(140, 3, SettingKey::Option3, "1");
    restoreOption(142, 4, SettingKey::Option4, "0");
    if (p.test(144, [&] {
            selectDesignOptionWhenNoneSelected();
            throwWriteFailure();
            return m_states.option1;
        }))
        p.step(146, [&] { setFrame3Enabled(true); });
    else
        p.step(148, [&] { setFrame3Enabled(false); });
    p.step(150, [&] {
        setText1(m_settings.read(SettingKey::Text1, QStringLiteral("5")));
        throwWriteFailure();
    });
}

} // namespace orvella::session

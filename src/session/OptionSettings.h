#pragma once

#include "session/ReadingSettings.h"
#include "commands/SortControls.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace orvella::core {
class Procedure;
class SettingsStore;
} // namespace orvella::core

namespace orvella::session {

// Keys of the option, filter and number settings.
namespace SettingKey {
inline const QString RemoveDuplicates = QStringLiteral("Remove Duplicates"); // Check5
inline const QString Check1 = QStringLiteral("Check1");
inline const QString Check2 = QStringLiteral("Check2");
inline const QString Option1 = QStringLiteral("Option1");
inline const QString Option2 = QStringLiteral("Option2");
inline const QString Option3 = QStringLiteral("Option3");
inline const QString Option4 = QStringLiteral("Option4");
inline const QString Text1 = QStringLiteral("Text1");
} // namespace SettingKey

// The states of the main window's option and filter controls, as designed.
struct OptionStates {
    bool check5 = false; // "Remove duplicates from results"
    bool check1 = false; // "Keep unique last names, discard duplicate last names"
    bool check2 = false; // "Keep only this number of names per last name:"
    bool text1Enabled = false;
    bool option1 = true;  // "Sort by Last/First"
    bool option2 = false; // "Sort by First/Last"
    bool option3 = true;  // "Sort by last word but ignore common suffixes like Jr. Sr. III etc."
    bool option4 = false; // "Sort by last word"
    bool frame3Enabled = true;
    QString text1 = QStringLiteral("5");

    bool operator==(const OptionStates &) const = default;
};

// The option and filter controls without widgets: their states, the rules that tie
// them together and write every change to the settings store at once, and the
// restore at start-up. The window shows these states and forwards the user's changes;
// the sort reads them here, each time it needs one.
//
// Every assignment that changes a control's state runs that control's rule, whoever
// made it (the user, another rule or the restore):
//   Check1 ticked unticks Check2; Check2 ticked unticks Check1 and enables Text1,
//   unticked disables Text1; Option1/Option2 enable Frame3 exactly when Option1 is
//   selected; every rule writes its own keys, in a fixed order.
class OptionSettings : public QObject, public commands::SortControls {
    Q_OBJECT
public:
    explicit OptionSettings(core::SettingsStore &settings, QObject *parent = nullptr);

    const OptionStates &states() const { return m_states; }

    // What the sort reads.
    names::SortOptions options() const override;
    bool removeDuplicates() const override { return m_states.check5; }
    bool keepUnique() const override { return m_states.check1; }
    bool keepLimited() const override { return m_states.check2; }
    QString limitText() const override { return m_states.text1; }
    names::ReadingChoices readingChoices() const override { return m_reading.choices(); }
    bool isParticle(QStringView word) const override { return m_reading.particles().contains(word); }
    bool isTitle(QStringView word) const override { return m_reading.titles().isTitle(word); }

    // The choices of the Order and Reading menus and the particle and title lists.
    ReadingSettings &reading() { return m_reading; }
    const ReadingSettings &reading() const { return m_reading; }

    void setCheck5(bool ticked);
    void setCheck1(bool ticked);
    void setCheck2(bool ticked);
    // Selecting a button deselects its partner (Option1/Option2, Option3/Option4) and
    // runs the pair's rule; deselecting changes that button alone and writes nothing.
    void setOption(int number, bool selected);
    void setText1(const QString &text);

    // The reading rules of stored values.
    static bool readTicked(const QString &stored);

    // Start-up steps 130 to 150 of Form1.Form_Load: every control from the store, in a
    // fixed order, through the rules above. Each failing step is reported under its
    // number and the restore goes on.
    void Restore(core::Procedure &procedure);

    // Descriptions of the writes that failed since the last call (a rule always runs
    // to its end; its caller decides how to report).
    QStringList takeWriteFailures();

signals:
    // After every assignment that changed a state (once, after its rules have run).
    void statesChanged();

private:
    // Ticks or unticks a check box and runs its rule when that changes its state.
    void setTicked(bool OptionStates::*box, bool ticked, void (OptionSettings::*rule)());
    // Runs an assignment; tells the window once the outermost one has finished.
    template<typename Change>
    void assign(Change &&change);
    void write(const QString &key, const QString &value);
    // Throws the first write failure of a restore step so that the step reports it.
    void throwWriteFailure();
    void selectDesignOptionWhenNoneSelected();

    void Check1_Click();
    void Check2_Click();
    void Check5_Click();
    void Option12_Click();
    void Option34_Click();
    void Text1_Change();

    core::SettingsStore &m_settings;
    ReadingSettings m_reading;
    OptionStates m_states;
    QStringList m_writeFailures;
    int m_depth = 0;
    bool m_changed = false;
};

} // namespace orvella::session

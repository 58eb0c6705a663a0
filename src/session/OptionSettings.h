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

// Keys of the option, filter and number settings (the window's control each is for).
namespace SettingKey {
inline const QString RemoveDuplicates = QStringLiteral("Remove Duplicates"); // Check5
inline const QString KeepUnique = QStringLiteral("Check1");
inline const QString KeepLimited = QStringLiteral("Check2");
inline const QString SortByLastFirst = QStringLiteral("Option1");
inline const QString SortByFirstLast = QStringLiteral("Option2");
inline const QString SkipSuffixes = QStringLiteral("Option3");
inline const QString LastWord = QStringLiteral("Option4");
inline const QString LimitText = QStringLiteral("Text1");
} // namespace SettingKey

// What the two last-name filter boxes keep; the boxes exclude each other.
enum class LastNameFilter {
    KeepAll,
    KeepUnique,  // Check1 "Keep unique last names, discard duplicate last names"
    KeepLimited, // Check2 "Keep only this number of names per last name:"
};

// The states of the main window's option and filter controls, as designed.
struct OptionStates {
    bool removeDuplicates = false; // Check5 "Remove duplicates from results"
    LastNameFilter lastNameFilter = LastNameFilter::KeepAll;
    names::SortBy sortBy = names::SortBy::LastFirst;                         // Option1, Option2
    names::LastWordReading lastWord = names::LastWordReading::SkipSuffixes; // Option3, Option4
    bool lastWordEnabled = true;             // Frame3, the frame of Option3 and Option4
    QString limitText = QStringLiteral("5"); // Text1

    bool keepsUnique() const { return lastNameFilter == LastNameFilter::KeepUnique; }
    bool keepsLimited() const { return lastNameFilter == LastNameFilter::KeepLimited; }
    // The limit takes input while its box is ticked.
    bool limitTextEnabled() const { return keepsLimited(); }

    bool operator==(const OptionStates &) const = default;
};

// The option and filter controls without widgets: their states, the rules that tie
// them together and write every change to the settings store at once, and the
// restore at start-up. The window shows these states and forwards the user's changes;
// the sort reads them here, each time it needs one.
//
// Every assignment that changes a control's state runs that control's rule, whoever
// made it (the user, another rule or the restore):
//   ticking one last-name box unticks the other first; the limit takes input while its
//   box is ticked; the last-word choice is enabled exactly when Last/First is chosen;
//   every rule writes its own keys, in a fixed order.
class OptionSettings : public QObject, public commands::SortControls {
    Q_OBJECT
public:
    explicit OptionSettings(core::SettingsStore &settings, QObject *parent = nullptr);

    const OptionStates &states() const { return m_states; }

    // What the sort reads.
    names::SortOptions options() const override { return {m_states.sortBy, m_states.lastWord}; }
    bool removeDuplicates() const override { return m_states.removeDuplicates; }
    bool keepUnique() const override { return m_states.keepsUnique(); }
    bool keepLimited() const override { return m_states.keepsLimited(); }
    QString limitText() const override { return m_states.limitText; }
    names::ReadingChoices readingChoices() const override { return m_reading.choices(); }
    bool isParticle(QStringView word) const override { return m_reading.particles().contains(word); }
    bool isTitle(QStringView word) const override { return m_reading.titles().isTitle(word); }
    std::shared_ptr<const names::FiledAsList> filedAs() const override { return m_reading.filedAs(); }
    std::shared_ptr<const names::DesignationSet> designations() const override { return m_reading.designations(); }

    // The choices of the Order and Reading menus and the particle and title lists.
    ReadingSettings &reading() { return m_reading; }
    const ReadingSettings &reading() const { return m_reading; }

    void setRemoveDuplicates(bool ticked);
    void setKeepUnique(bool ticked);
    void setKeepLimited(bool ticked);
    // Choosing selects one option button of a pair and deselects its partner.
    void chooseSortBy(names::SortBy sortBy);
    void chooseLastWord(names::LastWordReading lastWord);
    void setLimitText(const QString &text);

    // The reading rules of stored values.
    static bool readTicked(const QString &stored);

    // Start-up steps 130 to 150 of Form1.Form_Load: every control from the store, in a
    // fixed order, through the rules above. Each failing step is reported under its
    // number and the restore goes on.
    void restore(core::Procedure &procedure);

    // Descriptions of the writes that failed since the last call (a rule always runs
    // to its end; its caller decides how to report).
    QStringList takeWriteFailures();

signals:
    // After every assignment that changed a state (once, after its rules have run).
    void statesChanged();

private:
    // Runs an assignment; tells the window once the outermost one has finished.
    template<typename Change>
    void assign(Change &&change);
    void write(const QString &key, const QString &value);
    // Throws the first write failure of a restore step so that the step reports it.
    void throwWriteFailure();
    // Ticks or unticks one of the two last-name boxes.
    void setLastNameBox(LastNameFilter box, bool ticked);

    // The restore of one option button's stored value: true selects it, as a click
    // does; false deselects it when it is the one selected, which leaves its pair
    // without a selection until its partner is read or the design choice comes back.
    void restoreSortBy(names::SortBy button, bool selected);
    void restoreLastWord(names::LastWordReading button, bool selected);
    void selectDesignChoiceWhenNoneSelected();
    void setLastWordEnabled(bool enabled);

    // The rules, each run after its control's state changed.
    void removeDuplicatesChanged();
    void lastNameBoxChanged(LastNameFilter box);
    void sortByChanged();
    void lastWordChanged();
    void limitTextChanged();

    core::SettingsStore &m_settings;
    ReadingSettings m_reading;
    OptionStates m_states;
    // A pair the restore left without a selection (see restoreSortBy).
    bool m_sortByUnselected = false;
    bool m_lastWordUnselected = false;
    QStringList m_writeFailures;
    int m_depth = 0;
    bool m_changed = false;
};

} // namespace orvella::session

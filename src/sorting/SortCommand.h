#pragma once

#include "sorting/NameReading.h"
#include "sorting/SortKeys.h"

#include <QString>
#include <functional>

namespace orvella::lists {
struct MainContext;
}

namespace orvella::sorting {

class SortControls;

// "Start Sorting": every input name to a key, the keys in order, through the filters
// the user ticked, back to names in the result list.
class SortCommand {
public:
    // isSuffix answers for the suffix list as it stands when a name is read.
    SortCommand(lists::MainContext &context, const SortControls &controls, SuffixTest isSuffix);

    void PushButton17_Click();
    bool isRunning() const { return m_running; }

    // The key of one name under the current options and the run's reading choices
    // (outside a run, the choices as they stand); failures are reported as Form1.GetNames.
    // commaLine (when given) tells whether the name was read as a "Last, First" line.
    QString GetNames(const QString &name, bool *commaLine = nullptr);
    // The display name of one key under the current options (Form1.RevealNames).
    QString RevealNames(QStringView key);
    QString RevealNames(const KeyParts &key);
    bool IsSuffix(QStringView word);

private:
    ReadingChoices choices() const;

    lists::MainContext &m_context;
    const SortControls &m_controls;
    SuffixTest m_isSuffix;
    bool m_running = false;
    ReadingChoices m_runChoices;
    // The last name RevealNames revealed and the last key GetNames built; their memory
    // serves the next ones.
    QString m_revealed;
    QString m_key;
};

} // namespace orvella::sorting

#pragma once

#include "core/RowGrouping.h"
#include "tables/NameRows.h"
#include "names/NameParts.h"
#include "names/ResultToolTips.h"
#include "names/NameReading.h"
#include "names/SortKeys.h"

#include <QHash>
#include <QString>
#include <memory>
#include <functional>
#include <optional>

namespace orvella::commands {

class SortControls;
struct CommandContext;

// "Start Sorting": every input name to a key, the keys in order, through the filters
// the user ticked, back to names in the result list.
class SortCommand {
public:
    // isSuffix answers for the suffix list as it stands when a name is read.
    SortCommand(CommandContext &context, const SortControls &controls, names::SuffixTest isSuffix);

    void run();
    bool isRunning() const { return m_running; }

    // The key of one name under the current options and the run's reading choices
    // (outside a run, the choices as they stand); failures are reported as Form1.GetNames.
    // note (when given) hears what else the reading found (see KeyNote).
    // commaLine reads the name as a "Last, First" line whatever the Reading menu says;
    // columns (when given) are the name's parts, from the table columns it came from.
    QString GetNames(const QString &name, names::KeyNote *note = nullptr, bool commaLine = false,
                     const tables::NameParts *columns = nullptr);
    // The display name of one key under the current options (Form1.RevealNames).
    QString RevealNames(QStringView key);
    QString RevealNames(const names::KeyParts &key);
    bool IsSuffix(QStringView word);

    // Where a run's results go instead of the result list: a run for a script writes
    // each as it comes rather than keeping millions of them. `take` gets the name as
    // shown and, with `wantsReading`, what it was sorted under and then by; `namesRead`
    // hears that every name has been read into its key, so the input list may go.
    struct Output {
        std::function<void(QStringView shown, const names::NameReading *reading)> take;
        bool wantsReading = false;
        std::function<void()> namesRead;
    };
    void setOutput(Output output) { m_output = std::move(output); }
    // Where a run learns, at its start, how to group table rows and which rows count as
    // the same (unset: no grouping, rows the same by their names).
    void setGroupingSource(std::function<core::RowGrouping()> source) { m_groupingSource = std::move(source); }

    // What result row `row` (0-based, text as shown) of the last run was sorted under and
    // then by: the two parts of the row's tooltip.
    names::NameReading resultReading(int row, const QString &text) const
    {
        return m_resultRows ? m_resultRows->reading(row, text) : names::NameReading();
    }

    // The reading of the last run (before any, the reading the options and choices set
    // now), which takes its results apart into their parts.
    names::NamePartsReader resultPartsReader();

private:
    // One run of the sort, in its phases (see SortRun).
    friend class SortRun;

    names::ReadingChoices choices() const;
    names::WordTests wordTests();
    // Under "Learn last names": the key of each "Last, First" line of the input list
    // without what it stepped over (its last name, then the rest of its words), under
    // the words it files as they would be typed ("Gabriel García Márquez"). Calls yield
    // now and then.
    QHash<QString, QString> learnLastNames(const std::function<void()> &yield);

    CommandContext &m_context;
    const SortControls &m_controls;
    names::SuffixTest m_isSuffix;
    std::shared_ptr<const names::ResultRows> m_resultRows; // how the last run filed its rows
    Output m_output;
    bool m_running = false;
    names::ReadingChoices m_runChoices;
    std::function<core::RowGrouping()> m_groupingSource;
    core::RowGrouping m_runGrouping;
    // The Filed-As list of the run (outside a run, the list as it stood when last asked).
    std::shared_ptr<const names::FiledAsList> m_filedAs;
    std::shared_ptr<const names::DesignationSet> m_designations;
    std::optional<names::SortOptions> m_runOptions; // those of the last run
    // The last name RevealNames revealed and the last key GetNames built; their memory
    // serves the next ones.
    QString m_revealed;
    QString m_key;
};

} // namespace orvella::commands

#pragma once

#include "commands/SortCommand.h"
#include "core/PointerState.h"
#include "core/Procedure.h"
#include "core/RowGrouping.h"
#include "lists/KeyGroups.h"
#include "names/KeySort.h"
#include "names/KeyTexts.h"
#include "names/ResultFilters.h"
#include "names/ResultToolTips.h"
#include "tables/NameRows.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <vector>

namespace orvella::commands {

// Keys read on a worker, the names among them shown other than as their keys reveal
// them (as SortRun::m_asEntered keeps them, from the worker's first key on), and how
// many of their names ended (or, in the First/Last reading, started) with a space and
// filed under an empty field.
struct KeyedNames {
    names::KeyTexts keys;
    names::KeyTexts asEntered;
    int spacedNames = 0;
};

// The result rows (0-based, in order) that start a group, each with the group's note
// ("Homeroom: 7B").
struct GroupStarts {
    std::vector<std::pair<int, QString>> starts;
    QString noteAt(int row) const;
};

// One run of "Start Sorting", in its phases: every input name read into a key, the keys
// put in order, the keys through the filters the user ticked and shown as names, and
// the run's working data let go. The steps are numbered as SortStep says; the run's
// core::Procedure reports a failing step and goes on with the next one.
class SortRun {
public:
    explicit SortRun(SortCommand &command);
    void run();

private:
    // Phases.
    void prepare();
    void read();
    void order();
    void show();
    void finish();
    void release();

    // Reading.
    void startKeyWorker();
    void readName(int i);
    QString takeName(int i);
    void addKey();
    QString keyOf(const QString &name);
    void useLearntLastName(QString &key, const QString &name);
    void fileAsTheRowSays(QString &key, const QString &name);
    void joinKeyWorker();

    // Showing.
    QString shownName(size_t k);
    bool shownAsEntered(size_t k) const { return k < m_asEntered.size() && m_asEntered[k].size() > 0; }
    size_t sortedKey(size_t position) const
    {
        return m_order.size() == m_keys.size() ? size_t(m_order[position]) : position;
    }
    void showKey(size_t position);
    void keepFirstOfHead(size_t k, QStringView head);
    void keepLimitedPerHead(size_t k, QStringView head);
    bool underLimit(const names::LastNameGroup &group);
    void startGroup(size_t k, QStringView head);
    void showName(size_t k);
    void append(QString shown, size_t k);
    void keepRowNotes();

    // Grouping and what makes rows the same (see SortRunGroups.cpp).
    QString sameRowsText(const QString &name) const;
    void groupOrder();
    void enterGroupOf(size_t k);
    void noteGroupStart();
    std::shared_ptr<const GroupStarts> groupStarts();
    QString filterNotes() const;

    void yield();
    void releaseOnOutOfMemory();

    SortCommand &m_command;
    CommandContext &m_ctx;
    const SortControls &m_controls;
    const names::ReadingChoices &m_choices; // the run's, read at its start
    const bool m_alphabetical;
    const QByteArray m_collation;
    // Choices under which a name may show other than as its key reveals it.
    const bool m_showsOwnText;
    const bool m_tidies;
    core::Procedure m_p;
    QElapsedTimer m_clock;
    core::Pointer m_restorePointer = core::Pointer::Default;

    // The keys in blocks of text rather than a string each: ten million of them take
    // a third of the memory, and freeing them does not keep the allocator busy.
    names::KeyTexts m_keys;
    // The keys' positions in sorted order.
    names::KeyOrder m_order;
    // Under the reading choices: for each key, the name as it is shown when that is not
    // its key revealed (a "Last, First" line, a tidied name), else empty; kept in blocks
    // as the keys are (so that a key's name is found at once), and only up to the last
    // key that has one (a name holding the field delimiter comes back whole).
    names::KeyTexts m_asEntered;
    // In alphabetical order: the length of the suffix at each key's head field's end.
    std::vector<std::uint8_t> m_headSuffixes;
    // "Last, First" lines' keys under the names as typed.
    QHash<QString, QString> m_learnt;
    // Names that end with a space under the option buttons' reading.
    int m_spacedNames = 0;
    // The table row each key's name came from, when names came from tables: places in
    // the run's own list of tables (0 for none); only up to the last key that has one.
    std::vector<tables::RowRef> m_keyRows;
    std::vector<tables::SourceTablePtr> m_runTables;
    tables::NameRow m_row; // the row of the name being read
    names::DuplicateFilter m_duplicates;
    // Both output filters exist for the whole run, so ticking a box while the run
    // yields takes effect at the next key instead of failing on a missing set.
    names::UniqueFilter m_unique;
    names::NameGroups m_groups;

    int m_total = 0;
    bool m_firstNameReading = false;
    names::KeyNote m_note; // kept from name to name, with the memory of its text
    // Names read here; a script's run reads the ones after them on a worker.
    int m_readHere = 0;
    std::future<KeyedNames> m_secondHalf;
    // Each name is copied into one kept text rather than a new string a name; a name
    // that a filter keeps shares it, and the next name then gets a text of its own.
    QString m_nameText;
    QString m_revealedHere; // a key's name revealed while it is read

    names::LimitReader m_limit;
    bool m_limitReported = false;
    // A name shown as entered is copied into one kept text, as RevealNames reveals one.
    QString m_enteredText;
    // How each result row was filed, for the rows' tooltips.
    names::ResultRows m_rows;
    // For each key, the input row (0-based) of its name, and the input name being read;
    // kept for a run that shows its results in the list, and empty while every key's
    // row is its own index.
    std::vector<quint32> m_keyNames;
    quint32 m_nameAt = 0;
    qsizetype nameRowOf(size_t k) const { return m_keyNames.empty() ? qsizetype(k) : qsizetype(m_keyNames[k]); }
    // Whether the results are kept as places among the input's names.
    bool m_placesOfNames = false;
    // For each key, whether the name it shows is its input name as entered, found
    // while the name is at hand; kept for a run that shows its results in the list.
    // The options the names were revealed under: a name is revealed again when the
    // options were changed while the run yielded.
    std::vector<bool> m_readsAsInput;
    std::optional<names::SortOptions> m_readsAsInputUnder;
    void noteReadsAsInput(const QString &key);
    bool readsAsInput(size_t k) const { return k < m_readsAsInput.size() && m_readsAsInput[k]; }

    // The run's grouping, read at its start; the group of each key, while the results
    // are grouped; the group being shown and whether its first row is yet to come.
    const core::RowGrouping &m_grouping;
    lists::KeyGroups m_keyGroups;
    bool m_grouped = false;
    QString m_groupColumn; // as the status line and the group notes name it
    std::uint32_t m_shownGroup = 0xFFFFFFFFu;
    bool m_groupStartPending = false;
    // The result rows (0-based) that start a group, with the group's note.
    std::vector<std::pair<int, QString>> m_groupStarts;
    int m_duplicatesRemoved = 0;
};

} // namespace orvella::commands

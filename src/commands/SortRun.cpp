#include "commands/SortRun.h"

#include "commands/CommandContext.h"
#include "commands/SortControls.h"
#include "commands/SortSteps.h"
#include "core/BackgroundWork.h"
#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "core/ProgressState.h"
#include "core/VectorState.h"
#include "lists/NameColumns.h"
#include "lists/NameListModel.h"
#include "names/AlphabeticalOrder.h"
#include "names/FiledAs.h"
#include "names/LearntNames.h"
#include "names/NameWords.h"

#include <QLocale>
#include <cmath>
#include <optional>

namespace orvella::commands {

namespace {

// From this many names on, a script's run reads most of the names into keys on a
// worker while the first of them are read here.
constexpr int kKeysOnTwoThreadsFrom = 1 << 17;

// Whether a name that ends (or, in the First/Last reading, starts) with a space was
// filed under an empty last (or first) name for it.
bool filedUnderEmptyField(QStringView name, QStringView key, bool firstName)
{
    return (firstName ? name.startsWith(QLatin1Char(' ')) : name.endsWith(QLatin1Char(' '))) &&
           names::headField(key).isEmpty() && !names::trimSpaces(name).isEmpty();
}

// The keys of the names at positions [from, to] under the options and choices, as
// GetNames makes them, with the names shown by their own text when showsOwnText.
KeyedNames readKeys(const lists::NameListModel &input, int from, int to, const names::SortOptions &options,
                    const names::ReadingChoices &choices, const names::WordTests &tests, bool tidies,
                    bool showsOwnText)
{
    KeyedNames read;
    QString key;
    names::KeyNote note;
    for (int i = from; i <= to; ++i) {
        const QStringView name = input.itemView(i);
        names::buildReadingKeyInto(key, name, options, choices, tests, showsOwnText ? &note : nullptr);
        core::clearUpperVectorState(); // see GetNames
        read.keys.append(QStringView(key));
        if (showsOwnText && note.ownText) {
            while (read.asEntered.size() + 1 < read.keys.size())
                read.asEntered.appendEmpty();
            read.asEntered.append(QStringView(note.shown));
        }
        if (!tidies && filedUnderEmptyField(name, key, options.firstLast()))
            ++read.spacedNames;
    }
    return read;
}

// Notes that key k's name came from the row.
void keepKeyRow(std::vector<tables::RowRef> &keyRows, std::vector<tables::SourceTablePtr> &sourceTables, size_t k,
                const tables::NameRow &row)
{
    const auto found = std::find(sourceTables.begin(), sourceTables.end(), row.table);
    const auto place = quint32(found - sourceTables.begin()) + 1;
    if (found == sourceTables.end())
        sourceTables.push_back(row.table);
    keyRows.resize(k);
    keyRows.push_back({place, row.row});
}

// The status line's word on names that end (or, in the First/Last reading, start)
// with a space and so were filed under an empty last (or first) name.
QString spacedNamesHint(int count, bool firstName)
{
    if (count == 0)
        return {};
    const QString which = firstName ? QStringLiteral("first") : QStringLiteral("last");
    const QString where = firstName ? (count == 1 ? QStringLiteral("starts") : QStringLiteral("start"))
                                    : (count == 1 ? QStringLiteral("ends") : QStringLiteral("end"));
    return QStringLiteral(" \u00b7 %1 %2 %3 with a space and %4 filed under an empty %5 name: Reading > Step over "
                          "titles, nicknames and extra suffixes")
        .arg(QLocale().toString(count), count == 1 ? QStringLiteral("name") : QStringLiteral("names"), where,
             count == 1 ? QStringLiteral("was") : QStringLiteral("were"), which);
}

} // namespace

SortRun::SortRun(SortCommand &command)
    : m_command(command), m_ctx(command.m_context), m_controls(command.m_controls), m_choices(command.m_runChoices),
      m_alphabetical(m_choices.order == names::NameOrder::Alphabetical),
      m_collation(m_alphabetical ? names::collationLocale() : QByteArray()),
      m_showsOwnText(m_choices.lastCommaFirst || m_choices.readsWords() || m_choices.learnLastNames ||
                     m_choices.twoFamilyNames || m_ctx.input.hasCommaLineRows() || m_ctx.input.hasFiledAsRows() || (command.m_filedAs && !command.m_filedAs->empty())),
      m_tidies(m_choices.stepOverExtras), m_p(m_ctx.desktop, core::kMainWindowModule, "PushButton17_Click"),
      m_grouping(command.m_runGrouping)
{
}

void SortRun::run()
{
    if (m_p.test(SortStep::CheckNamesGiven, [&] { return m_ctx.input.count() == 0; })) {
        m_p.step(SortStep::TellNoNames, [&] {
            m_ctx.desktop.messageBox(QStringLiteral("You forgot to add Name in the list."), core::MessageStyle::Ok,
                                     m_ctx.title);
        });
        return;
    }
    m_clock.start();
    prepare();
    read();
    order();
    show();
    finish();
    release();
}

// What the event loop runs meanwhile (painting among it) may leave the upper halves
// of the vector registers in use, as the word lists' lookups do: cleared after it.
void SortRun::yield()
{
    m_ctx.desktop.yield();
    core::clearUpperVectorState();
}

// ---- Before the names ------------------------------------------------------------------

void SortRun::prepare()
{
    m_p.step(SortStep::ClearResults, [&] { m_ctx.results.clear(); });
    m_restorePointer =
        m_p.value(SortStep::ShowBusyPointer, core::Pointer::Default, [&] { return m_ctx.pointer.setBusy(); });
    // When memory runs out, the keys and filters go before the report is shown, and
    // the run then skips to its closing steps.
    m_p.onOutOfMemory([this] { releaseOnOutOfMemory(); });
    m_p.step(SortStep::ClearKeys, [&] { m_keys.clear(); });
    m_p.step(SortStep::ClearDuplicates, [&] { m_duplicates = names::DuplicateFilter(); });
    m_p.step(SortStep::CountNames, [&] { m_total = m_ctx.input.count(); });
    m_p.step(SortStep::LearnLastNames, [&] { m_learnt = m_command.learnLastNames([this] { yield(); }); });
    m_firstNameReading = m_controls.options().firstLast();
}

// ---- Reading the names into keys -------------------------------------------------------

void SortRun::read()
{
    startKeyWorker();
    for (int i = 1; i <= m_readHere && !m_p.ranOutOfMemory(); ++i)
        readName(i);
    joinKeyWorker();
}

// A script's run shows nothing per name. When no name's key depends on the names
// before it (no duplicate filter, no learnt last names) and nothing but the names'
// own texts is kept beside the keys, the last two thirds of the names are read into
// keys on a worker meanwhile: this thread's steps for each name take about as long
// again as making its key. The first third is a whole number of key blocks, so that
// the worker's keys (and own texts) join block by block.
void SortRun::startKeyWorker()
{
    m_readHere = m_total;
    m_p.step(SortStep::StartKeyWorker, [&] {
        if (!m_command.m_output.take || m_total < kKeysOnTwoThreadsFrom || m_controls.removeDuplicates() ||
            !m_learnt.isEmpty() || (m_alphabetical && !m_choices.stepOverExtras) ||
            m_ctx.input.hasRows())
            return;
        m_readHere = int(size_t(m_total / 3) / names::KeyTexts::kBlockKeys * names::KeyTexts::kBlockKeys);
        (void)m_command.IsSuffix(QStringView()); // the suffix list is ready before two threads ask it
        m_secondHalf = core::startWorker([&input = m_ctx.input, from = m_readHere + 1, total = m_total,
                                          options = m_controls.options(), choices = m_choices,
                                          tests = m_command.wordTests(), tidies = m_tidies,
                                          showsOwnText = m_showsOwnText] {
            return readKeys(input, from, total, options, choices, tests, tidies, showsOwnText);
        });
    });
}

void SortRun::readName(int i)
{
    m_nameAt = quint32(i - 1);
    const QString name = m_p.value(SortStep::TakeName, QString(), [&] { return takeName(i); });
    m_p.step(SortStep::ShowProgress, [&] {
        const int count = m_ctx.input.count();
        if (count == 0)
            throw core::Failure(QStringLiteral("Division by zero"));
        m_ctx.progress.setPosition(std::floor(static_cast<double>(i) / count * 100.0));
    });
    m_p.step(SortStep::ShowProgressText, [&] { m_ctx.progress.setText(QStringLiteral("Processing: "), name); });
    m_p.step(SortStep::YieldWhileReading, [this] { yield(); });
    m_p.step(SortStep::KeepBusyPointer, [&] { m_ctx.pointer.set(core::Pointer::Busy); });

    if (m_p.test(SortStep::AskRemoveDuplicates, [&] { return m_controls.removeDuplicates(); })) {
        // Table rows may be the same by a column or by all their cells instead.
        const QString same = sameRowsText(name);
        if (m_p.test(SortStep::CheckDuplicate, [&] { return m_duplicates.seen(same); })) {
            ++m_duplicatesRemoved;
            return; // an earlier equal name (or row) already has its key
        }
        m_p.step(SortStep::NoteName, [&] { m_duplicates.add(same); });
        m_p.step(SortStep::AddFirstOfEqualNames, [this] { addKey(); });
        m_p.step(SortStep::KeyFirstOfEqualNames, [&] { m_keys.setLast(keyOf(name)); });
    } else {
        m_p.step(SortStep::AddName, [this] { addKey(); });
        m_p.step(SortStep::KeyName, [&] { m_keys.setLast(keyOf(name)); });
    }
}

QString SortRun::takeName(int i)
{
    const QStringView item = m_ctx.input.itemView(i);
    m_row = m_ctx.input.hasRows() ? m_ctx.input.rowOf(i) : tables::NameRow();
    // Stepping over titles and suffixes reads, shows and compares names tidied
    // (the reading tidies a name by itself; the duplicate filter needs it here).
    if (m_tidies && m_controls.removeDuplicates() && !names::isTidy(item))
        return names::tidySpaces(item);
    m_nameText.resize(0);
    m_nameText.append(item);
    return m_nameText;
}

void SortRun::addKey()
{
    m_keys.appendEmpty();
    // Keys mostly are the names one for one: their input rows are noted only from the
    // first name that has no key on.
    const size_t k = m_keys.size() - 1;
    if (!m_command.m_output.take && (!m_keyNames.empty() || m_nameAt != k)) {
        for (size_t before = m_keyNames.size(); before < k; ++before)
            m_keyNames.push_back(quint32(before));
        m_keyNames.push_back(m_nameAt);
    }
    // Keys read word by word note what they stepped over in their tails instead.
    if (m_alphabetical && !m_choices.stepOverExtras)
        m_headSuffixes.push_back(0);
}

QString SortRun::keyOf(const QString &name)
{
    const std::optional<tables::NameParts> columns = lists::namePartsOf(name, m_row);
    QString key = m_command.GetNames(name, &m_note, m_row && m_row.table->commaLines, columns ? &*columns : nullptr);
    if (m_row) {
        keepKeyRow(m_keyRows, m_runTables, m_keys.size() - 1, m_row);
        fileAsTheRowSays(key, name);
    }
    if (!m_learnt.isEmpty() && !m_note.commaLine && !m_note.filedAsSet)
        useLearntLastName(key, name);
    if (m_note.ownText && m_showsOwnText) {
        while (m_asEntered.size() + 1 < m_keys.size())
            m_asEntered.appendEmpty();
        m_asEntered.append(m_note.shown);
    }
    if (!m_headSuffixes.empty())
        m_headSuffixes.back() = std::uint8_t(m_note.headSuffix < 256 ? m_note.headSuffix : 0);
    if (!m_tidies && filedUnderEmptyField(name, key, m_firstNameReading))
        ++m_spacedNames;
    if (!m_command.m_output.take)
        noteReadsAsInput(key);
    return key;
}

// A row whose filing column is filled files under that cell's words, as a Filed-As
// entry would, unless the Filed-As list holds its name.
void SortRun::fileAsTheRowSays(QString &key, const QString &name)
{
    const int column = m_row.table->columns.filedAs;
    if (column < 0 || m_note.filedAsSet)
        return;
    const QString words = names::tidySpaces(m_row.table->cells.cell(m_row.row, column));
    if (words.isEmpty())
        return;
    names::buildFiledAsKey(key, words, names::restOfName(names::tidySpaces(name), words));
    if (!m_note.ownText)
        m_note.shown = name;
    m_note.ownText = true;
    m_note.filedAsSet = true;
    m_note.headSuffix = 0;
}

// Whether the key shows its input name exactly as entered (see showName): a sort's
// results are then that name's place among the input names.
void SortRun::noteReadsAsInput(const QString &key)
{
    const size_t k = m_keys.size() - 1;
    m_readsAsInput.resize(k);
    const QStringView entered = m_ctx.input.itemView(int(m_nameAt) + 1);
    const names::SortOptions options = m_controls.options();
    if (!m_readsAsInputUnder)
        m_readsAsInputUnder = options;
    bool same = false;
    if (options != *m_readsAsInputUnder) {
        // Revealed when shown, under the options of that moment.
    } else if (m_note.ownText && m_showsOwnText && !m_note.shown.isEmpty()) {
        same = m_note.shown == entered;
    } else {
        try {
            names::revealNameInto(m_revealedHere, names::splitKey(key), options);
            same = m_revealedHere == entered;
        } catch (...) {
            // Revealed again when shown, where a failure is reported.
        }
    }
    m_readsAsInput.push_back(same);
}

// A name typed as the words of a learnt "Last, First" line files as that line does.
void SortRun::useLearntLastName(QString &key, const QString &name)
{
    const auto known = m_learnt.constFind(names::typedForm(key));
    if (known == m_learnt.constEnd())
        return;
    names::takeLearntLastName(key, *known);
    // Shown as the reading shows it (tidied, when it tidies), now that the key holds
    // its words in another order.
    if (!m_note.ownText)
        m_note.shown = name;
    m_note.ownText = true;
    // The suffix at the head's end is the name's own last word.
    if (m_note.headSuffix >= names::headField(key).size())
        m_note.headSuffix = 0;
}

void SortRun::joinKeyWorker()
{
    if (m_secondHalf.valid()) {
        m_p.step(SortStep::JoinWorkerKeys, [&] {
            KeyedNames rest = m_secondHalf.get();
            if (!rest.asEntered.empty()) {
                while (m_asEntered.size() < m_keys.size())
                    m_asEntered.appendEmpty();
                m_asEntered.append(std::move(rest.asEntered));
            }
            m_keys.append(std::move(rest.keys));
            m_spacedNames += rest.spacedNames;
        });
    }
    // The worker reads the input list: when its keys were not taken (memory ran out and
    // the run skips to its end), it still has to finish before the list may go.
    if (m_secondHalf.valid()) {
        m_secondHalf.wait();
        m_secondHalf = {};
    }
    if (m_command.m_output.namesRead)
        m_command.m_output.namesRead();
}

// ---- Ordering the keys -----------------------------------------------------------------

void SortRun::order()
{
    m_p.step(SortStep::OrderKeys, [&] {
        const auto yield = [this] { this->yield(); };
        m_order = m_alphabetical ? names::alphabeticalOrder(m_keys, m_headSuffixes, m_collation, yield)
                                 : names::exactOrder(m_keys, yield);
    });
    groupOrder();
}

// ---- Closing ---------------------------------------------------------------------------

void SortRun::finish()
{
    m_p.closing();
    m_p.step(SortStep::RestorePointer, [&] { m_ctx.pointer.set(m_restorePointer); });
    m_p.step(SortStep::ClearProgress, [&] { m_ctx.progress.setPosition(0); });
    m_p.step(SortStep::ClearProgressText, [&] { m_ctx.progress.setText(core::ProgressState::kIdleText); });
    // After running out of memory the report said what happened; the run did not finish.
    if (m_p.ranOutOfMemory())
        return;
    m_ctx.tellDone(QStringLiteral("sorted in %1 s").arg(static_cast<double>(m_clock.elapsed()) / 1000.0, 0, 'f', 1) +
                   filterNotes() + spacedNamesHint(m_spacedNames, m_firstNameReading));
    m_p.step(SortStep::TellDone, [&] {
        m_ctx.desktop.messageBox(QStringLiteral("Done."), core::MessageStyle::Ok, m_ctx.title);
    });
}

// The run's working data can hold millions of strings; free it off the window's thread.
void SortRun::release()
{
    core::releaseInBackground(std::move(m_keys));
    core::releaseInBackground(std::move(m_order));
    core::releaseInBackground(std::move(m_asEntered));
    core::releaseInBackground(std::move(m_learnt));
    core::releaseInBackground(std::move(m_keyRows));
    core::releaseInBackground(std::move(m_keyNames));
    std::vector<bool>().swap(m_readsAsInput);
    core::releaseInBackground(std::move(m_duplicates));
    core::releaseInBackground(std::move(m_unique));
    core::releaseInBackground(std::move(m_groups));
    core::releaseInBackground(std::move(m_keyGroups.ofKey));
}

void SortRun::releaseOnOutOfMemory()
{
    m_keys.clear();
    names::KeyOrder().swap(m_order);
    m_asEntered.clear();
    std::vector<std::uint8_t>().swap(m_headSuffixes);
    m_learnt.clear();
    std::vector<tables::RowRef>().swap(m_keyRows);
    std::vector<quint32>().swap(m_keyNames);
    std::vector<bool>().swap(m_readsAsInput);
    m_duplicates = {};
    m_unique = {};
    m_groups = {};
    std::vector<std::uint32_t>().swap(m_keyGroups.ofKey);
}

} // namespace orvella::commands

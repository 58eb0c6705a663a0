#include "commands/SortCommand.h"

#include "core/BackgroundWork.h"
#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "core/Paths.h"
#include "core/PointerState.h"
#include "core/Procedure.h"
#include "core/ProgressState.h"
#include "core/VectorState.h"
#include "commands/CommandContext.h"
#include "lists/NameColumns.h"
#include "lists/NameListModel.h"
#include "names/AlphabeticalOrder.h"
#include "names/KeySort.h"
#include "names/KeyTexts.h"
#include "names/LearntNames.h"
#include "names/NameWords.h"
#include "names/ResultFilters.h"
#include "names/ResultToolTips.h"
#include "commands/SortControls.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QScopeGuard>
#include <cmath>
#include <future>
#include <optional>
#include <vector>

namespace orvella::commands {

SortCommand::SortCommand(CommandContext &context, const SortControls &controls,
                         names::SuffixTest isSuffix)
    : m_context(context), m_controls(controls), m_isSuffix(std::move(isSuffix))
{
}

bool SortCommand::IsSuffix(QStringView word)
{
    return m_isSuffix(word);
}

names::ReadingChoices SortCommand::choices() const
{
    return m_running ? m_runChoices : m_controls.readingChoices();
}

names::WordTests SortCommand::wordTests()
{
    return {[this](QStringView word) { return IsSuffix(word); },
            [this](QStringView word) { return m_controls.isParticle(word); },
            [this](QStringView word) { return m_controls.isTitle(word); }};
}

QString SortCommand::GetNames(const QString &name, names::KeyNote *note, bool commaLine, const tables::NameParts *columns)
{
    core::Procedure procedure(m_context.desktop, core::kMainWindowModule, "GetNames");
    // Running out of memory is reported by the run, which first frees its keys.
    procedure.passOnOutOfMemory();
    // The suffix lookup is the only part of key building that can fail.
    return procedure.value(124, QString(), [&] {
        // Built into one kept text: the caller copies the key out before the next.
        names::ReadingChoices reading = choices();
        reading.lastCommaFirst = reading.lastCommaFirst || commaLine;
        names::buildReadingKeyInto(m_key, name, m_controls.options(), reading, wordTests(), note, columns);
        // The word lists' lookups run library code that leaves the upper halves of the
        // vector registers in use, which makes every later copy of a short text several
        // times slower (see clearUpperVectorState): cleared once a name.
        core::clearUpperVectorState();
        return m_key;
    });
}

QString SortCommand::RevealNames(QStringView key)
{
    return RevealNames(names::splitKey(key));
}

QString SortCommand::RevealNames(const names::KeyParts &key)
{
    core::Procedure procedure(m_context.desktop, core::kMainWindowModule, "RevealNames");
    procedure.passOnOutOfMemory();
    return procedure.value(100, QString(), [&] {
        // Revealed into one kept text: the caller copies the name out before the next.
        names::revealNameInto(m_revealed, key, m_controls.options());
        return m_revealed;
    });
}


namespace {

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

tables::NameRow keyRowOf(const std::vector<tables::RowRef> &keyRows, const std::vector<tables::SourceTablePtr> &sourceTables,
                        size_t k)
{
    if (k >= keyRows.size() || keyRows[k].table == 0)
        return {};
    return {sourceTables[keyRows[k].table - 1], keyRows[k].row};
}

} // namespace

namespace {

// From this many names on, a script's run reads most of the names into keys on a
// worker while the first of them are read here.
constexpr int kKeysOnTwoThreadsFrom = 1 << 17;

// Keys read on a worker, and how many of their names ended (or, in the First/Last
// reading, started) with a space and filed under an empty field.
struct KeyedNames {
    names::KeyTexts keys;
    int spacedNames = 0;
};

// The keys of the names at positions [from, to] under the options and choices, as
// GetNames makes them (and nothing else: no notes are kept).
KeyedNames readKeys(const lists::NameListModel &input, int from, int to, const names::SortOptions &options,
                    const names::ReadingChoices &choices, const names::WordTests &tests, bool tidies)
{
    KeyedNames read;
    QString key;
    for (int i = from; i <= to; ++i) {
        const QStringView name = input.itemView(i);
        names::buildReadingKeyInto(key, name, options, choices, tests, nullptr);
        core::clearUpperVectorState(); // see GetNames
        read.keys.append(QStringView(key));
        if (!tidies && (options.firstLast() ? name.startsWith(QLatin1Char(' ')) : name.endsWith(QLatin1Char(' '))) &&
            names::headField(key).isEmpty() && !names::trimSpaces(name).isEmpty())
            ++read.spacedNames;
    }
    return read;
}

} // namespace

QHash<QString, QString> SortCommand::learnLastNames(const std::function<void()> &yield)
{
    QHash<QString, QString> learnt;
    const names::SortOptions options = m_controls.options();
    if (!m_runChoices.learnLastNames || !m_runChoices.lastCommaFirst || options.firstLast())
        return learnt;
    const lists::NameListModel &input = m_context.input;
    const int count = input.count();
    for (int i = 1; i <= count && i <= input.count(); ++i) {
        // Ten million names take a moment to look through: the window goes on meanwhile.
        if (i % 65536 == 0)
            yield();
        const QStringView item = input.itemView(i);
        if (!item.contains(QLatin1Char(',')))
            continue;
        const QString name = item.toString();
        const tables::NameRow row = input.hasRows() ? input.rowOf(i) : tables::NameRow();
        const std::optional<tables::NameParts> columns = lists::namePartsOf(name, row);
        names::KeyNote note;
        const QString key = GetNames(name, &note, row && row.table->commaLines, columns ? &*columns : nullptr);
        if (note.commaLine)
            learnt.insert(names::typedForm(key), key.left(names::steppedStart(key)));
    }
    return learnt;
}

namespace {

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

// How a result row shows its key: as entered (a "Last, First" line), or revealed with
// the head field last or, in the First/Last reading, first.
names::ResultRows::Shown shownAs(bool asEntered, bool headFirst)
{
    return asEntered ? names::ResultRows::Shown::AsEntered
        : headFirst  ? names::ResultRows::Shown::RevealedHeadFirst
                     : names::ResultRows::Shown::Revealed;
}

// Sorted order visits the keys (and the names shown as entered) all over memory: a loop
// asks for those a few rows ahead, first for where they lie, a few rows later for their text.
Q_ALWAYS_INLINE void prefetchKey(const names::KeyTexts &keys, const names::KeyTexts &asEntered, size_t k, bool text)
{
    if (text)
        keys.prefetchText(k);
    else
        keys.prefetch(k);
    if (k >= asEntered.size()) [[likely]]
        return;
    if (text)
        asEntered.prefetchText(k);
    else
        asEntered.prefetch(k);
}

// Hands one result to a run's output, with its reading when the output wants it.
void handOver(const SortCommand::Output &output, QStringView shown, const names::KeyParts &key, names::ResultRows::Shown how)
{
    if (!output.wantsReading)
        return output.take(shown, nullptr);
    const names::NameReading reading = names::ResultRows::readingOf(key, how, shown);
    output.take(shown, &reading);
}

// The names of a run that keeps every key, handed over in sorted order. Two workers
// reveal the next two slices of names while this thread hands over the last one:
// revealing a name reaches for its key somewhere in memory and takes longer than
// handing it over, so that a script's run spends the two cores on what the window
// spends one.
void streamResults(const names::KeyTexts &keys, const names::KeyOrder &order, const names::KeyTexts &asEntered,
                   const names::SortOptions &options, const SortCommand::Output &output, const std::function<void()> &yield)
{
    struct Slice {
        QString text;
        std::vector<qsizetype> ends;
    };
    const auto shownAsEntered = [&](size_t k) { return k < asEntered.size() && asEntered[k].size() > 0; };
    const auto reveal = [&](size_t from, size_t to, Slice &slice) {
        slice.text.resize(0);
        slice.ends.clear();
        QString name;
        for (size_t position = from; position < to; ++position) {
            const size_t k = order[position];
            if (position + 16 < to)
                prefetchKey(keys, asEntered, order[position + 16], false);
            if (position + 8 < to)
                prefetchKey(keys, asEntered, order[position + 8], true);
            if (shownAsEntered(k)) {
                asEntered[k].appendTo(slice.text);
            } else {
                names::revealNameInto(name, keys[k], options);
                slice.text.append(name);
            }
            slice.ends.push_back(slice.text.size());
        }
    };
    constexpr size_t kSliceRows = size_t(1) << 15;
    const size_t count = order.size();
    Slice slices[3];
    std::future<void> next[3];
    const auto revealSlice = [&](size_t i) {
        const size_t from = i * kSliceRows;
        if (from < count)
            next[i % 3] = core::startWorker(
                [&reveal, from, to = std::min(from + kSliceRows, count), &slice = slices[i % 3]] {
                    reveal(from, to, slice);
                });
    };
    revealSlice(0);
    revealSlice(1);
    for (size_t from = 0, i = 0; from < count; from += kSliceRows, ++i) {
        next[i % 3].get();
        const Slice &ready = slices[i % 3];
        revealSlice(i + 2);
        qsizetype start = 0;
        for (size_t row = 0; row < ready.ends.size(); ++row) {
            const QStringView shown = QStringView(ready.text).sliced(start, ready.ends[row] - start);
            start = ready.ends[row];
            // A plain list of names needs nothing of the key: it is not looked up (that
            // would be a second random reach into the keys for every name).
            if (!output.wantsReading) {
                output.take(shown, nullptr);
                continue;
            }
            const size_t k = order[from + row];
            handOver(output, shown, keys[k], shownAs(shownAsEntered(k), options.firstLast()));
        }
        yield();
    }
}

} // namespace

void SortCommand::run()
{
    // The run copies millions of short texts on this thread: see clearUpperVectorState.
    core::clearUpperVectorState();
    // A second click while a run yields would interleave two runs in one result list.
    if (m_running)
        return;
    m_running = true;
    const auto clearRunning = qScopeGuard([this] { m_running = false; });
    // The order and reading choices hold for the whole run.
    m_runChoices = m_controls.readingChoices();
    const bool alphabetical = m_runChoices.order == names::NameOrder::Alphabetical;
    const QByteArray collation = alphabetical ? names::collationLocale() : QByteArray();
    // Choices under which a name may show other than as its key reveals it.
    const bool showsOwnText = m_runChoices.lastCommaFirst || m_runChoices.readsWords() ||
                              m_runChoices.learnLastNames || m_context.input.hasCommaLineRows();
    const bool tidies = m_runChoices.stepOverExtras;

    CommandContext &ctx = m_context;
    core::Desktop &desktop = ctx.desktop;
    core::Procedure p(desktop, core::kMainWindowModule, "PushButton17_Click");
    // What the event loop runs meanwhile (painting among it) may leave the upper halves
    // of the vector registers in use, as the word lists' lookups do: cleared after it.
    const auto yield = [&desktop] {
        desktop.yield();
        core::clearUpperVectorState();
    };

    if (p.test(100, [&] { return ctx.input.count() == 0; })) {
        p.step(208, [&] {
            desktop.messageBox(QStringLiteral("You forgot to add Name in the list."), core::MessageStyle::Ok,
                               ctx.title);
        });
        return;
    }
    QElapsedTimer clock;
    clock.start();
    p.step(102, [&] { ctx.results.clear(); });
    const core::Pointer restore = p.value(104, core::Pointer::Default, [&] { return ctx.pointer.setBusy(); });

    // The keys in blocks of text rather than a string each: ten million of them take
    // a third of the memory, and freeing them does not keep the allocator busy.
    names::KeyTexts keys;
    // The keys' positions in sorted order.
    names::KeyOrder order;
    // Under the reading choices: for each key, the name as it is shown when that is not
    // its key revealed (a "Last, First" line, a tidied name), else empty; kept in blocks
    // as the keys are (so that a key's name is found at once), and only up to the last
    // key that has one (a name holding the field delimiter comes back whole).
    names::KeyTexts asEntered;
    // In alphabetical order: the length of the suffix at each key's head field's end.
    std::vector<std::uint8_t> headSuffixes;
    // "Last, First" lines' keys under the names as typed.
    QHash<QString, QString> learnt;
    // Names that end with a space under the option buttons' reading.
    int spacedNames = 0;
    // The table row each key's name came from, when names came from tables: places in
    // the run's own list of tables (0 for none); only up to the last key that has one.
    std::vector<tables::RowRef> keyRows;
    std::vector<tables::SourceTablePtr> runTables;
    tables::NameRow row; // the row of the name being read
    names::DuplicateFilter duplicates;
    // Both output filters exist for the whole run, so ticking a box while the run
    // yields takes effect at the next key instead of failing on a missing set.
    names::UniqueFilter unique;
    names::NameGroups groups;
    // When memory runs out, the keys and filters go before the report is shown, and
    // the run then skips to its closing steps.
    p.onOutOfMemory([&] {
        keys.clear();
        names::KeyOrder().swap(order);
        asEntered.clear();
        std::vector<std::uint8_t>().swap(headSuffixes);
        learnt.clear();
        std::vector<tables::RowRef>().swap(keyRows);
        duplicates = {};
        unique = {};
        groups = {};
    });
    p.step(106, [&] { keys.clear(); });
    p.step(108, [&] { duplicates = names::DuplicateFilter(); });

    int total = 0;
    p.step(110, [&] {
        total = ctx.input.count();
    });
    const QString processing = QStringLiteral("Processing: ");
    p.step(111, [&] { learnt = learnLastNames(yield); });
    const bool firstNameReading = m_controls.options().firstLast();
    const auto addKey = [&] {
        keys.appendEmpty();
        // Keys read word by word note what they stepped over in their tails instead.
        if (alphabetical && !m_runChoices.stepOverExtras)
            headSuffixes.push_back(0);
    };
    names::KeyNote note; // kept from name to name, with the memory of its text
    const auto keyOf = [&](const QString &name) {
        const std::optional<tables::NameParts> columns = lists::namePartsOf(name, row);
        QString key = GetNames(name, &note, row && row.table->commaLines, columns ? &*columns : nullptr);
        if (row)
            keepKeyRow(keyRows, runTables, keys.size() - 1, row);
        if (!learnt.isEmpty() && !note.commaLine) {
            const auto known = learnt.constFind(names::typedForm(key));
            if (known != learnt.constEnd()) {
                names::takeLearntLastName(key, *known);
                // Shown as the reading shows it (tidied, when it tidies), now that the
                // key holds its words in another order.
                if (!note.ownText)
                    note.shown = name;
                note.ownText = true;
                // The suffix at the head's end is the name's own last word.
                if (note.headSuffix >= names::headField(key).size())
                    note.headSuffix = 0;
            }
        }
        if (note.ownText && showsOwnText) {
            while (asEntered.size() + 1 < keys.size())
                asEntered.appendEmpty();
            asEntered.append(note.shown);
        }
        if (!headSuffixes.empty())
            headSuffixes.back() = std::uint8_t(note.headSuffix < 256 ? note.headSuffix : 0);
        if (!tidies && (firstNameReading ? name.startsWith(QLatin1Char(' ')) : name.endsWith(QLatin1Char(' '))) &&
            names::headField(key).isEmpty() && !names::trimSpaces(name).isEmpty())
            ++spacedNames;
        return key;
    };
    // A script's run shows nothing per name. When no name's key depends on the names
    // before it (no duplicate filter, no learnt last names) and nothing is kept beside
    // the keys, the last two thirds of the names are read into keys on a worker
    // meanwhile: this thread's steps for each name take about as long again as making
    // its key. The first third is a whole number of key blocks, so that the worker's
    // keys join block by block.
    int readHere = total;
    std::future<KeyedNames> secondHalf;
    p.step(109, [&] {
        if (!m_output.take || total < kKeysOnTwoThreadsFrom || m_controls.removeDuplicates() || !learnt.isEmpty() ||
            showsOwnText || (alphabetical && !m_runChoices.stepOverExtras) || ctx.input.hasRows())
            return;
        readHere = int(size_t(total / 3) / names::KeyTexts::kBlockKeys * names::KeyTexts::kBlockKeys);
        (void)IsSuffix(QStringView()); // the suffix list is ready before two threads ask it
        secondHalf = core::startWorker([&input = ctx.input, from = readHere + 1, total,
                                        options = m_controls.options(), choices = m_runChoices,
                                        tests = wordTests(), tidies] {
            return readKeys(input, from, total, options, choices, tests, tidies);
        });
    });
    // Each name is copied into one kept text rather than a new string a name; a name
    // that a filter keeps shares it, and the next name then gets a text of its own.
    QString nameText;
    for (int i = 1; i <= readHere && !p.ranOutOfMemory(); ++i) {
        const QString name = p.value(112, QString(), [&] {
            const QStringView item = ctx.input.itemView(i);
            row = ctx.input.hasRows() ? ctx.input.rowOf(i) : tables::NameRow();
            // Stepping over titles and suffixes reads, shows and compares names tidied
            // (the reading tidies a name by itself; the duplicate filter needs it here).
            if (tidies && m_controls.removeDuplicates() && !names::isTidy(item))
                return names::tidySpaces(item);
            nameText.resize(0);
            nameText.append(item);
            return nameText;
        });
        p.step(114, [&] {
            const int count = ctx.input.count();
            if (count == 0)
                throw core::Failure(QStringLiteral("Division by zero"));
            ctx.progress.setPosition(std::floor(static_cast<double>(i) / count * 100.0));
        });
        p.step(116, [&] { ctx.progress.setText(processing, name); });
        p.step(118, yield);
        p.step(120, [&] { ctx.pointer.set(core::Pointer::Busy); });

        if (p.test(122, [&] { return m_controls.removeDuplicates(); })) {
            if (p.test(124, [&] { return duplicates.seen(name); }))
                continue; // an earlier equal name already has its key
            p.step(126, [&] { duplicates.add(name); });
            p.step(128, addKey);
            p.step(130, [&] { keys.setLast(keyOf(name)); });
        } else {
            p.step(132, addKey);
            p.step(134, [&] { keys.setLast(keyOf(name)); });
        }
    }

    if (secondHalf.valid()) {
        p.step(136, [&] {
            KeyedNames rest = secondHalf.get();
            keys.append(std::move(rest.keys));
            spacedNames += rest.spacedNames;
        });
    }
    // The worker reads the input list: when its keys were not taken (memory ran out and
    // the run skips to its end), it still has to finish before the list may go.
    if (secondHalf.valid()) {
        secondHalf.wait();
        secondHalf = {};
    }
    if (m_output.namesRead)
        m_output.namesRead();
    p.step(138, [&] { order = alphabetical ? names::alphabeticalOrder(keys, headSuffixes, collation, yield) : names::exactOrder(keys, yield);
    });
    p.step(140, [&] { ctx.results.clear(); });

    names::LimitReader limit;
    bool limitReported = false;
    p.step(142, [&] { (void)m_controls.keepUnique(); });
    p.step(146, [&] { (void)m_controls.keepLimited(); });

    // A "Last, First" line shows as entered; every other name as its key reveals it.
    const auto shownAsEntered = [&](size_t k) { return k < asEntered.size() && asEntered[k].size() > 0; };
    // A name shown as entered is copied into one kept text, as RevealNames reveals one.
    QString enteredText;
    const auto shownName = [&](size_t k) {
        if (!shownAsEntered(k))
            return RevealNames(keys[k]);
        enteredText.resize(0);
        asEntered[k].appendTo(enteredText);
        return enteredText;
    };
    // The key at sorted position k; when ordering failed, the keys as they were read.
    const auto sorted = [&](size_t k) { return order.size() == keys.size() ? size_t(order[k]) : k; };
    // How each result row was filed, for the rows' tooltips.
    names::ResultRows rows;
    p.step(150, [&] {
        if (!m_output.take)
            rows.reserve(keys.size());
    });
    const auto append = [&](QString shown, size_t k) {
        const names::ResultRows::Shown how = shownAs(shownAsEntered(k), m_controls.options().firstLast());
        if (m_output.take)
            return handOver(m_output, shown, keys[k], how);
        ctx.results.append(std::move(shown), keyRowOf(keyRows, runTables, k));
        rows.note(static_cast<std::size_t>(ctx.results.count() - 1), keys[k], how);
    };

    // A script's run that keeps every key hands the names over as they are revealed.
    const bool streams = m_output.take && order.size() == keys.size() && !m_controls.keepUnique() &&
                         !m_controls.keepLimited();
    if (streams)
        p.step(196, [&] { streamResults(keys, order, asEntered, m_controls.options(), m_output, yield); });

    // By position: running out of memory empties the keys in the middle of the loop.
    for (size_t position = 0; !streams && position < keys.size(); ++position) {
        const size_t k = sorted(position);
        if (position + 16 < keys.size())
            prefetchKey(keys, asEntered, sorted(position + 16), false);
        if (position + 8 < keys.size())
            prefetchKey(keys, asEntered, sorted(position + 8), true);
        const names::KeyParts key = keys[k];
        p.step(152, yield);
        const QStringView head = p.value(154, QStringView(), [&] { return key.head; });

        if (p.test(156, [&] { return m_controls.keepUnique(); })) {
            if (p.test(158, [&] { return unique.seen(head); }))
                continue;
            p.step(160, [&] { append(shownName(k), k); });
            p.step(162, [&] { unique.add(head); });
        } else if (p.test(164, [&] { return m_controls.keepLimited(); })) {
            names::LastNameGroup *group = nullptr;
            p.step(166, [&] { group = nullptr; });
            p.step(168, [&] { group = groups.find(head); });
            if (p.test(178, [&] { return group != nullptr; })) {
                if (p.test(180, [&] {
                        const std::optional<int> most = limit.read(m_controls.limitText());
                        if (most)
                            return group->size() < *most;
                        // Reported once per run; later names join as if under the limit.
                        if (limitReported)
                            return true;
                        limitReported = true;
                        throw core::Failure(limit.error());
                    })) {
                    QString shown;
                    p.step(182, [&] {
                        shown = shownName(k);
                        group->add(shown);
                    });
                    p.step(184, [&] { append(shown, k); });
                }
            } else {
                names::LastNameGroup *const created = p.value<names::LastNameGroup *>(186, nullptr, [&] { return groups.create(); });
                QString shown;
                p.step(188, [&] {
                    shown = shownName(k);
                    created->add(shown);
                });
                p.step(190, [&] { created->setLastName(head.toString()); });
                p.step(192, [&] { append(shown, k); });
                p.step(194, [&] { groups.add(created); });
            }
        } else {
            p.step(196, [&] { append(shownName(k), k); });
        }
    }
    if (!p.ranOutOfMemory() && !m_output.take)
        p.step(198, [&] {
            m_resultRows = std::make_shared<const names::ResultRows>(std::move(rows));
            ctx.results.setNoteSource([kept = m_resultRows](int row, const QString &text, tables::RowNote note) {
                return note == tables::RowNote::ToolTip ? kept->toolTip(row, text) : kept->reading(row, text).sortedUnder;
            });
        });

    p.closing();
    p.step(200, [&] { ctx.pointer.set(restore); });
    p.step(202, [&] { ctx.progress.setPosition(0); });
    p.step(204, [&] { ctx.progress.setText(core::ProgressState::kIdleText); });
    // After running out of memory the report said what happened; the run did not finish.
    if (!p.ranOutOfMemory()) {
        ctx.tellDone(QStringLiteral("sorted in %1 s").arg(static_cast<double>(clock.elapsed()) / 1000.0, 0, 'f', 1) +
                     spacedNamesHint(spacedNames, firstNameReading));
        p.step(206, [&] { desktop.messageBox(QStringLiteral("Done."), core::MessageStyle::Ok, ctx.title); });
    }

    // The run's working data can hold millions of strings; free it off the window's thread.
    core::releaseInBackground(std::move(keys));
    core::releaseInBackground(std::move(order));
    core::releaseInBackground(std::move(asEntered));
    core::releaseInBackground(std::move(learnt));
    core::releaseInBackground(std::move(keyRows));
    core::releaseInBackground(std::move(duplicates));
    core::releaseInBackground(std::move(unique));
    core::releaseInBackground(std::move(groups));
}

} // namespace orvella::commands

#include "commands/SortRun.h"

#include "commands/CommandContext.h"
#include "commands/SortControls.h"
#include "commands/SortSteps.h"
#include "core/BackgroundWork.h"
#include "core/Failure.h"
#include "lists/NameListModel.h"

#include <future>
#include <memory>
#include <optional>

// The sorted keys through the filters the user ticked, shown as names in the result
// list or handed to a script's run's output.
namespace orvella::commands {

namespace {

tables::NameRow keyRowOf(const std::vector<tables::RowRef> &keyRows,
                         const std::vector<tables::SourceTablePtr> &sourceTables, size_t k)
{
    if (k >= keyRows.size() || keyRows[k].table == 0)
        return {};
    return {sourceTables[keyRows[k].table - 1], keyRows[k].row};
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
void handOver(const SortCommand::Output &output, QStringView shown, const names::KeyParts &key,
              names::ResultRows::Shown how)
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
                   const names::SortOptions &options, const SortCommand::Output &output,
                   const std::function<void()> &yield)
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

void SortRun::show()
{
    m_p.step(SortStep::ClearResultsToShow, [&] { m_ctx.results.clear(); });
    m_p.step(SortStep::AskKeepUnique, [&] { (void)m_controls.keepUnique(); });
    m_p.step(SortStep::AskKeepLimited, [&] { (void)m_controls.keepLimited(); });
    const SortCommand::Output &output = m_command.m_output;
    m_p.step(SortStep::ReserveRowNotes, [&] {
        if (!output.take)
            m_rows.reserve(m_keys.size());
    });
    // The results are kept as places among the input's names (see ListOrigin).
    // (Only while the input still holds every name: a run's output may let them go.)
    m_placesOfNames = !output.take && m_ctx.input.count() == m_total &&
                      (m_keyNames.empty() || m_keyNames.size() == m_keys.size()) &&
                      m_ctx.results.showRowsOf(m_ctx.input.sharedTexts(), qsizetype(m_keys.size()));

    // A script's run that keeps every key hands the names over as they are revealed.
    const bool streams =
        output.take && m_order.size() == m_keys.size() && !m_controls.keepUnique() && !m_controls.keepLimited();
    if (streams) {
        m_p.step(SortStep::ShowName, [&] {
            streamResults(m_keys, m_order, m_asEntered, m_controls.options(), output, [this] { yield(); });
        });
    } else {
        // By position: running out of memory empties the keys in the middle of the loop.
        for (size_t position = 0; position < m_keys.size(); ++position)
            showKey(position);
    }
    if (!m_p.ranOutOfMemory() && !output.take)
        keepRowNotes();
}

void SortRun::showKey(size_t position)
{
    const size_t k = sortedKey(position);
    if (position + 16 < m_keys.size())
        prefetchKey(m_keys, m_asEntered, sortedKey(position + 16), false);
    if (position + 8 < m_keys.size())
        prefetchKey(m_keys, m_asEntered, sortedKey(position + 8), true);
    // An input name is read again only to compare it with a name shown otherwise.
    if (m_placesOfNames && position + 12 < m_keys.size() && !readsAsInput(sortedKey(position + 12)))
        m_ctx.results.prefetchSource(nameRowOf(sortedKey(position + 12)), false);
    if (m_placesOfNames && position + 6 < m_keys.size() && !readsAsInput(sortedKey(position + 6)))
        m_ctx.results.prefetchSource(nameRowOf(sortedKey(position + 6)), true);
    if (position + 8 < m_keys.size() && sortedKey(position + 8) < m_keyRows.size())
        __builtin_prefetch(m_keyRows.data() + sortedKey(position + 8));
    if (m_grouped)
        enterGroupOf(k);
    const names::KeyParts key = m_keys[k];
    m_p.step(SortStep::YieldWhileShowing, [this] { yield(); });
    const QStringView head = m_p.value(SortStep::TakeHead, QStringView(), [&] { return key.head; });

    if (m_p.test(SortStep::TestKeepUnique, [&] { return m_controls.keepUnique(); }))
        keepFirstOfHead(k, head);
    else if (m_p.test(SortStep::TestKeepLimited, [&] { return m_controls.keepLimited(); }))
        keepLimitedPerHead(k, head);
    else
        m_p.step(SortStep::ShowName, [&] { showName(k); });
}

// "Keep unique last names": the first name of each head field.
void SortRun::keepFirstOfHead(size_t k, QStringView head)
{
    if (m_p.test(SortStep::CheckHeadSeen, [&] { return m_unique.seen(head); }))
        return;
    m_p.step(SortStep::ShowFirstOfHead, [&] { append(shownName(k), k); });
    m_p.step(SortStep::NoteHeadSeen, [&] { m_unique.add(head); });
}

// "Keep only this number of names per last name": each head field's group takes names
// while it is under the limit.
void SortRun::keepLimitedPerHead(size_t k, QStringView head)
{
    names::LastNameGroup *group = nullptr;
    m_p.step(SortStep::ForgetGroup, [&] { group = nullptr; });
    m_p.step(SortStep::FindGroup, [&] { group = m_groups.find(head); });
    if (!m_p.test(SortStep::TestGroupFound, [&] { return group != nullptr; }))
        return startGroup(k, head);
    if (!m_p.test(SortStep::TestUnderLimit, [&] { return underLimit(*group); }))
        return;
    QString shown;
    m_p.step(SortStep::JoinGroup, [&] {
        shown = shownName(k);
        group->add(shown);
    });
    m_p.step(SortStep::ShowGroupMember, [&] { append(shown, k); });
}

// Whether a group takes one more name. A limit that is no number is reported once per
// run (the test fails, which counts as true); later names join as if under the limit.
bool SortRun::underLimit(const names::LastNameGroup &group)
{
    const std::optional<int> most = m_limit.read(m_controls.limitText());
    if (most)
        return group.size() < *most;
    if (m_limitReported)
        return true;
    m_limitReported = true;
    throw core::Failure(m_limit.error());
}

void SortRun::startGroup(size_t k, QStringView head)
{
    names::LastNameGroup *const created =
        m_p.value<names::LastNameGroup *>(SortStep::CreateGroup, nullptr, [&] { return m_groups.create(); });
    QString shown;
    m_p.step(SortStep::JoinNewGroup, [&] {
        shown = shownName(k);
        created->add(shown);
    });
    m_p.step(SortStep::NameNewGroup, [&] { created->setLastName(head.toString()); });
    m_p.step(SortStep::ShowNewGroupMember, [&] { append(shown, k); });
    m_p.step(SortStep::AddNewGroup, [&] { m_groups.add(created); });
}

// A "Last, First" line shows as entered; every other name as its key reveals it.
QString SortRun::shownName(size_t k)
{
    if (!shownAsEntered(k))
        return m_command.RevealNames(m_keys[k]);
    m_enteredText.resize(0);
    m_asEntered[k].appendTo(m_enteredText);
    return m_enteredText;
}

// A name that shows as it was entered becomes its place among the input names, its
// text unread; any other is revealed and appended.
void SortRun::showName(size_t k)
{
    const bool asInput = m_placesOfNames && readsAsInput(k) && m_controls.options() == m_readsAsInputUnder;
    // The table row goes by reference: a million copies of its table's pointer cost
    // as many counts up and down.
    static const tables::SourceTablePtr noTable;
    const tables::RowRef ref = k < m_keyRows.size() ? m_keyRows[k] : tables::RowRef();
    const tables::SourceTablePtr &table = ref.table == 0 ? noTable : m_runTables[ref.table - 1];
    if (!asInput || !m_ctx.results.appendPlace(nameRowOf(k), table, ref.row))
        return append(shownName(k), k);
    m_rows.note(static_cast<std::size_t>(m_ctx.results.count() - 1), m_keys[k],
                shownAs(shownAsEntered(k), m_controls.options().firstLast()));
    noteGroupStart();
}

void SortRun::append(QString shown, size_t k)
{
    const names::ResultRows::Shown how = shownAs(shownAsEntered(k), m_controls.options().firstLast());
    if (m_command.m_output.take)
        return handOver(m_command.m_output, shown, m_keys[k], how);
    const qsizetype nameRow = m_placesOfNames ? nameRowOf(k) : -1;
    m_ctx.results.appendFrom(shown, nameRow, keyRowOf(m_keyRows, m_runTables, k));
    m_rows.note(static_cast<std::size_t>(m_ctx.results.count() - 1), m_keys[k], how);
    noteGroupStart();
}

// How the run filed each row, for the rows' tooltips.
void SortRun::keepRowNotes()
{
    m_p.step(SortStep::KeepRowNotes, [&] {
        m_command.m_resultRows = std::make_shared<const names::ResultRows>(std::move(m_rows));
        const auto notes = [kept = m_command.m_resultRows, starts = groupStarts()](int row, const QString &text,
                                                                                 tables::RowNote note) {
            switch (note) {
            case tables::RowNote::ToolTip: return kept->toolTip(row, text);
            case tables::RowNote::FiledUnder: return kept->reading(row, text).sortedUnder;
            case tables::RowNote::GroupStart: return starts ? starts->noteAt(row) : QString();
            }
            return QString();
        };
        m_ctx.results.setNoteSource(notes);
    });
}

} // namespace orvella::commands

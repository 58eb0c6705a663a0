#include "commands/SortCommand.h"

#include "commands/CommandContext.h"
#include "commands/SortControls.h"
#include "commands/SortRun.h"
#include "commands/SortSteps.h"
#include "core/ErrorReport.h"
#include "core/Procedure.h"
#include "core/VectorState.h"
#include "lists/NameColumns.h"
#include "lists/NameListModel.h"
#include "names/LearntNames.h"

#include <QScopeGuard>
#include <optional>

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
    if (!m_running) {
        m_filedAs = m_controls.filedAs();
        m_designations = m_controls.designations();
    }
    return {[this](QStringView word) { return IsSuffix(word); },
            [this](QStringView word) { return m_controls.isParticle(word); },
            [this](QStringView word) { return m_controls.isTitle(word); }, m_filedAs.get(), m_designations.get()};
}

names::NamePartsReader SortCommand::resultPartsReader()
{
    if (!m_runOptions)
        return names::NamePartsReader(m_controls.options(), m_controls.readingChoices(), wordTests());
    return names::NamePartsReader(*m_runOptions, m_runChoices, wordTests());
}

QString SortCommand::GetNames(const QString &name, names::KeyNote *note, bool commaLine, const tables::NameParts *columns)
{
    core::Procedure procedure(m_context.desktop, core::kMainWindowModule, "GetNames");
    // Running out of memory is reported by the run, which first frees its keys.
    procedure.passOnOutOfMemory();
    // The suffix lookup is the only part of key building that can fail.
    return procedure.value(GetNamesStep::BuildKey, QString(), [&] {
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
    return procedure.value(RevealNamesStep::RevealName, QString(), [&] {
        // Revealed into one kept text: the caller copies the name out before the next.
        names::revealNameInto(m_revealed, key, m_controls.options());
        return m_revealed;
    });
}


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
    m_runOptions = m_controls.options();
    m_runGrouping = m_groupingSource && m_context.input.hasRows() ? m_groupingSource() : core::RowGrouping();
    m_filedAs = m_controls.filedAs();
    m_designations = m_controls.designations();
    SortRun(*this).run();
}

} // namespace orvella::commands

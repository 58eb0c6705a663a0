#include "commands/ListCommands.h"

#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "commands/CommandContext.h"
#include "core/NumberText.h"
#include "core/PointerState.h"
#include "core/Procedure.h"
#include "lists/NameListModel.h"

#include <QRegularExpression>

namespace orvella::commands {

void removeSelectedItem(lists::NameListModel &list)
{
    if (list.count() < 1)
        return;
    const int position = list.selectedPosition();
    if (position > 0)
        list.removeAt(position);
}

ListCommands::ListCommands(CommandContext &context) : m_context(context) {}

void ListCommands::addNames()
{
    core::Procedure p(m_context.desktop, core::kMainWindowModule, "PushButton6_Click");
    const QString name = p.value(100, QString(), [&] {
        return m_context.desktop.inputBox(QStringLiteral("Enter Name to add: "), m_context.title, QString());
    });
    if (p.test(102, [&] { return name.isEmpty(); }))
        return;
    // A pasted list: one name per line. A name holding a line break would not survive
    // being saved and loaded back, so line breaks always separate names.
    p.step(104, [&] {
        const QStringList names = pastedNames(name);
        for (const QString &line : names)
            m_context.input.append(line);
        m_context.tellDone(QStringLiteral("Added ") + core::countOf(names.size(), "name", "names"));
    });
}

QStringList pastedNames(const QString &answer)
{
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|\\r|\\n"));
    if (!answer.contains(u'\r') && !answer.contains(u'\n'))
        return {answer};
    return answer.split(lineBreak, Qt::SkipEmptyParts);
}

void ListCommands::clearNames()
{
    if (m_context.pointer.isBusy())
        return;
    core::Procedure p(m_context.desktop, core::kMainWindowModule, "PushButton1_Click");
    p.step(100, [&] {
        m_context.input.clear();
        m_context.tellDone(QStringLiteral("Cleared the list"));
    });
}

void ListCommands::clearResults()
{
    core::Procedure p(m_context.desktop, core::kMainWindowModule, "PushButton2_Click");
    p.step(100, [&] {
        m_context.results.clear();
        m_context.tellDone(QStringLiteral("Cleared the results"));
    });
}

void ListCommands::loadSampleNames()
{
    core::Procedure p(m_context.desktop, core::kMainWindowModule, "PushButton7_Click");
    p.step(100, [&] { m_context.input.append(QStringLiteral("Peter Tavrin")); });
    p.step(102, [&] { m_context.input.append(QStringLiteral("John Smith Jr.")); });
    p.step(104, [&] { m_context.input.append(QStringLiteral("Joe Tavrin")); });
    p.step(106, [&] { m_context.input.append(QStringLiteral("Mr. Joe Tavrin")); });
    m_context.tellDone(QStringLiteral("Added the sample names"));
}

void ListCommands::removeFrom(lists::NameListModel &list)
{
    if (m_context.pointer.isBusy())
        return;
    removeSelectedItem(list);
}

void ListCommands::removeSelectedName()
{
    removeFrom(m_context.input);
}

void ListCommands::removeSelectedResult()
{
    removeFrom(m_context.results);
}

} // namespace orvella::commands

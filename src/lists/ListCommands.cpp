#include "lists/ListCommands.h"

#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "core/MainContext.h"
#include "core/PointerState.h"
#include "core/Procedure.h"
#include "lists/NameListModel.h"

namespace orvella::lists {

void removeSelectedItem(NameListModel &list)
{
    if (list.count() < 1)
        return;
    const int position = list.selectedPosition();
    if (position > 0)
        list.removeAt(position);
}

ListCommands::ListCommands(core::MainContext &context) : m_context(context) {}

void ListCommands::PushButton6_Click()
{
    core::Procedure p(m_context.desktop, core::kMainWindowModule, "PushButton6_Click");
    const QString name = p.value(100, QString(), [&] {
        return m_context.desktop.inputBox(QStringLiteral("Enter Name to add: "), m_context.title, QString());
    });
    if (p.test(102, [&] { return name.isEmpty(); }))
        return;
    p.step(104, [&] { m_context.input.append(name); });
}

void ListCommands::PushButton1_Click()
{
    if (m_context.pointer.isBusy())
        return;
    core::Procedure p(m_context.desktop, core::kMainWindowModule, "PushButton1_Click");
    p.step(100, [&] { m_context.input.clear(); });
}

void ListCommands::PushButton2_Click()
{
    core::Procedure p(m_context.desktop, core::kMainWindowModule, "PushButton2_Click");
    p.step(100, [&] { m_context.results.clear(); });
}

void ListCommands::PushButton7_Click()
{
    core::Procedure p(m_context.desktop, core::kMainWindowModule, "PushButton7_Click");
    p.step(100, [&] { m_context.input.append(QStringLiteral("Peter Tavrin")); });
    p.step(102, [&] { m_context.input.append(QStringLiteral("John Smith Jr.")); });
    p.step(104, [&] { m_context.input.append(QStringLiteral("Joe Tavrin")); });
    p.step(106, [&] { m_context.input.append(QStringLiteral("Mr. Joe Tavrin")); });
}

void ListCommands::removeFrom(NameListModel &list)
{
    if (m_context.pointer.isBusy())
        return;
    removeSelectedItem(list);
}

void ListCommands::ListView1_DblClick()
{
    removeFrom(m_context.input);
}

void ListCommands::ListView1_KeyDown(int keyCode)
{
    if (keyCode == kDeleteKeyCode)
        removeFrom(m_context.input);
}

void ListCommands::ListView2_DblClick()
{
    removeFrom(m_context.results);
}

void ListCommands::ListView2_KeyDown(int keyCode)
{
    if (keyCode == kDeleteKeyCode)
        removeFrom(m_context.results);
}

} // namespace orvella::lists

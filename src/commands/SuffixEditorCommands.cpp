#include "commands/SuffixEditorCommands.h"

#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "commands/CommandContext.h"
#include "core/PointerState.h"
#include "core/Procedure.h"
#include "commands/FileDialogPaths.h"
#include "commands/ListCommands.h"
#include "lists/ListFileReader.h"
#include "lists/ListFileWriter.h"
#include "lists/NameListModel.h"
#include "lists/SuffixList.h"
#include "suffixes/SuffixStore.h"

#include <algorithm>

namespace orvella::commands {
namespace {
constexpr const char *kModule = core::kSuffixEditorModule;
} // namespace

SuffixEditorCommands::SuffixEditorCommands(CommandContext &main, lists::SuffixList &list, core::PointerState &pointer)
    : m_main(main), m_list(list), m_pointer(pointer)
{
}

void SuffixEditorCommands::saveList()
{
    suffixes::saveSuffixList(m_list.model().items(), m_main.settings);
}

void SuffixEditorCommands::removeSelectedEntry()
{
    lists::NameListModel &model = m_list.model();
    const int position = model.selectedPosition();
    model.removeAt(position);
    // The next entry takes the removed one's place in the selection, so that pressing
    // Delete again goes on down the list.
    if (!model.isEmpty())
        model.select(std::min(position, model.count()));
}

void SuffixEditorCommands::addEntry()
{
    core::Procedure p(m_main.desktop, kModule, "PushButton6_Click");
    const QString answer = p.value(100, QString(), [&] {
        return m_main.desktop.inputBox(QStringLiteral("Enter Suffix to add: "), m_main.title, QString());
    });
    if (!p.test(102, [&] { return answer.isEmpty(); })) {
        p.step(104, [&] {
            m_list.model().append(answer);
            m_list.model().select(m_list.model().count());
        });
    }
    // Saved also when nothing was added.
    p.step(106, [&] { saveList(); });
}

void SuffixEditorCommands::editSelected()
{
    core::Procedure p(m_main.desktop, kModule, "PushButton1_Click");
    if (p.test(100, [&] { return m_list.model().isEmpty(); }))
        return;
    int position = 0;
    QString answer;
    p.step(102, [&] {
        position = m_list.model().selectedPosition();
        answer = m_main.desktop.inputBox(QStringLiteral("Enter Suffix to edit:"), m_main.title,
                                         m_list.model().item(position));
    });
    if (!p.test(104, [&] { return answer.isEmpty(); }))
        p.step(106, [&] { m_list.model().setItem(position, answer); });
    // Saved also when the edit was cancelled.
    p.step(108, [&] { saveList(); });
}

void SuffixEditorCommands::deleteSelected()
{
    core::Procedure p(m_main.desktop, kModule, "PushButton3_Click");
    if (p.test(100, [&] { return m_pointer.isBusy(); }))
        return;
    if (p.test(102, [&] { return !m_list.model().isEmpty(); }))
        p.step(104, [&] { removeSelectedEntry(); });
    p.step(106, [&] { saveList(); });
}

void SuffixEditorCommands::removeSelected(RemoveGesture gesture)
{
    // Nothing here is expected to fail but the save; a failed save is still shown
    // rather than lost. The report names the list's handler that the gesture runs.
    core::Procedure p(m_main.desktop, kModule,
                      gesture == RemoveGesture::DeleteKey ? "ListView1_KeyDown" : "ListView1_DblClick");
    if (m_pointer.isBusy())
        return;
    if (!m_list.model().isEmpty() && m_list.model().selectedPosition() > 0)
        p.step(102, [&] { removeSelectedEntry(); });
    p.step(104, [&] { saveList(); });
}

void SuffixEditorCommands::clearEntries()
{
    core::Procedure p(m_main.desktop, kModule, "PushButton5_Click");
    if (p.test(100, [&] {
            return m_main.desktop.messageBox(QStringLiteral("Are you sure?"), core::MessageStyle::YesNo,
                                             m_main.title) == core::MessageAnswer::Yes;
        })) {
        p.step(102, [&] { m_list.model().clear(); });
        p.step(104, [&] { saveList(); });
    }
}

void SuffixEditorCommands::resetToDefaults()
{
    core::Procedure p(m_main.desktop, kModule, "PushButton7_Click");
    // While a save is writing the list, only the emptying is skipped: the defaults
    // then come after the entries already there.
    if (p.test(100, [&] { return !m_pointer.isBusy(); }))
        p.step(102, [&] { m_list.model().clear(); });
    p.step(104, [&] { m_list.model().appendMany(suffixes::defaultSuffixes()); });
    p.step(106, [&] { saveList(); });
}

void SuffixEditorCommands::loadFromFiles()
{
    core::Procedure p(m_main.desktop, kModule, "PushButton4_Click");
    QString answer;
    p.step(100, [&] { m_dialogFileName.clear(); });
    p.step(102, [&] {
        const core::FileDialogRequest request = listFileDialogRequest(kLoadListsTitle, m_dialogFileName);
        answer = m_main.desktop.openFileDialog(request);
        m_dialogFileName = answer;
    });
    if (p.test(104, [&] { return answer.isEmpty(); }))
        return;
    const QStringList paths = p.value(106, QStringList(), [&] { return selectedPaths(answer); });
    // Appended entries serve the sort at once; they reach the stored value with the
    // next command that saves.
    readFiles(p, 108, paths);
}

void SuffixEditorCommands::appendFiles(const QStringList &paths)
{
    core::Procedure p(m_main.desktop, kModule, "ListView1_OLEDragDrop");
    readFiles(p, 100, paths);
}

void SuffixEditorCommands::readFiles(core::Procedure &p, int firstStep, const QStringList &paths)
{
    const core::Pointer restore = p.value(firstStep, core::Pointer::Default, [&] { return m_pointer.setBusy(); });
    // A file that cannot be read is reported and the next one is read all the same.
    for (const QString &path : paths)
        p.step(firstStep + 2, [&] { lists::ReadListFile(m_list.model(), path, m_main.desktop, m_main.title); });
    p.step(firstStep + 4, [&] { m_pointer.set(restore); });
}

void SuffixEditorCommands::saveToFile()
{
    core::Procedure p(m_main.desktop, kModule, "PushButton8_Click");
    QString path;
    p.step(100, [&] {
        // The name left by this window's last dialog; after a load of several files,
        // the first of them, as after a load of one.
        const QString proposed = m_dialogFileName.contains(QChar(u'\0'))
                                     ? selectedPaths(m_dialogFileName).value(0)
                                     : m_dialogFileName;
        core::FileDialogRequest request = listFileDialogRequest(QStringLiteral("Save"), proposed);
        request.confirmOverwrite = true;
        path = m_main.desktop.saveFileDialog(request);
        if (!path.isEmpty())
            m_dialogFileName = path;
    });
    if (p.test(102, [&] { return path.isEmpty(); }))
        return;
    const core::Pointer restore = p.value(104, core::Pointer::Default, [&] { return m_pointer.setBusy(); });
    p.step(106, [&] { lists::WriteListFile(m_list.model(), path, &m_main.progress, m_main.desktop); });
    p.step(108, [&] { m_pointer.set(restore); });
}

void SuffixEditorCommands::openLink(const QString &caption)
{
    m_main.desktop.openUrl(caption);
}

} // namespace orvella::commands

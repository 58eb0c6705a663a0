// The main window's "File This Name As…": from a name in the input or result list to
// an entry of the Filed-As list.
#include "app/MainWindow.h"

#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "core/Procedure.h"
#include "names/NameReading.h"
#include "ui/NameListView.h"

#include <QAction>

namespace orvella::app {

void MainWindow::wireFilingMenus()
{
    connect(m_menus.findDuplicates, &QAction::triggered, this, [this] { mnuFindDuplicates_Click(); });
    connect(m_menus.editNicknames, &QAction::triggered, this, [this] { mnuEditNicknames_Click(); });
    for (ui::NameListView *list : {ListView1, ListView2}) {
        auto *action = new QAction(QStringLiteral("&File This Name As\u2026"), list);
        action->setObjectName(list == ListView1 ? QStringLiteral("mnuFileInputNameAs")
                                                : QStringLiteral("mnuFileResultNameAs"));
        list->addAction(action);
        list->setContextMenuPolicy(Qt::ActionsContextMenu);
        connect(action, &QAction::triggered, this, [this, list] {
            const QModelIndex current = list->currentIndex();
            if (current.isValid())
                fileNameAs(current.data(Qt::DisplayRole).toString());
        });
    }
}

bool MainWindow::fileNameAs(const QString &name)
{
    core::Procedure p(m_desktop, core::kMainWindowModule, "mnuFileNameAs_Click");
    return p.test(100, [&] {
        const auto filedAs = m_options.filedAs();
        const auto designations = m_options.designations();
        const names::WordTests words{[this](QStringView word) { return m_session.isSuffix(word); },
                                     [this](QStringView word) { return m_options.isParticle(word); },
                                     [this](QStringView word) { return m_options.isTitle(word); }, filedAs.get(),
                                     designations.get()};
        const names::NameReading now = names::readName(name, m_options.options(), m_options.readingChoices(), words);
        const QString answer = m_desktop.inputBox(
            QStringLiteral("File \u201c%1\u201d under these words (the rest of the name breaks ties):").arg(name),
            QStringLiteral("File This Name As"), now.sortedUnder);
        if (answer.trimmed().isEmpty())
            return false;
        QList<names::FiledAsEntry> entries = filedAs->entries();
        entries.append({name, answer, QString()});
        m_options.reading().setFiledAs(entries);
        return true;
    });
}

} // namespace orvella::app

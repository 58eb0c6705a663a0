// The main window's menus: what each item runs, the reading choices they show, the
// Undo and Redo items' names, the status line and the small windows the menus open.
#include "app/MainWindow.h"

#include "app/HelpWindow.h"
#include "app/DuplicatesWindow.h"
#include "app/FiledAsWindow.h"
#include "app/HowNamesWindow.h"
#include "app/WordListWindow.h"
#include "commands/GroupCommand.h"
#include "commands/ListFileCommands.h"
#include "commands/PaperCommand.h"
#include "commands/ResultExportCommand.h"
#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "core/Procedure.h"
#include "session/StatusText.h"
#include "ui/NameListView.h"
#include "ui/WindowPlacement.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>

namespace orvella::app {

using namespace orvella::core;
using namespace orvella::session;
using namespace orvella::ui;

void MainWindow::wireMenus()
{
    wireReadingMenus();
    wireFilingMenus();
    connect(m_menus.editParticles, &QAction::triggered, this, [this] { mnuEditParticles_Click(); });
    connect(m_menus.exportResults, &QAction::triggered, this, [this] { m_session.resultExport().exportResults(); });
    connect(m_menus.printResults, &QAction::triggered, this, [this] { m_session.print().printResults(); });
    connect(m_menus.forgetColumns, &QAction::triggered, this,
            [this] { m_session.listFileCommands().forgetRememberedColumns(); });
    connect(m_menus.groupByColumn, &QAction::triggered, this, [this] { m_session.groupCommand().choose(); });
    connect(&m_input, &lists::NameListModel::itemsChanged, this,
            [this] { m_menus.groupByColumn->setEnabled(m_session.groupCommand().available()); });
    connect(m_menus.exit, &QAction::triggered, this, &QWidget::close);
    connect(m_menus.undo, &QAction::triggered, &m_history, &ListHistory::undo);
    connect(m_menus.redo, &QAction::triggered, &m_history, &ListHistory::redo);
    connect(&m_history, &ListHistory::changed, this, &MainWindow::showHistory);
    showHistory();
    connect(m_menus.editTitles, &QAction::triggered, this, [this] { mnuEditTitles_Click(); });
    connect(m_menus.editFiledAs, &QAction::triggered, this, [this] { mnuEditFiledAs_Click(); });
    connect(m_menus.editDesignations, &QAction::triggered, this, [this] { mnuEditDesignations_Click(); });
    connect(m_menus.howNamesAreRead, &QAction::triggered, this, [this] { mnuHowNamesAreRead_Click(); });
    connect(m_menus.helpContents, &QAction::triggered, this, [this] { mnuHelpContents_Click(); });
    connect(m_menus.whyHere, &QAction::triggered, this, [this] { mnuWhyHere_Click(); });
    connect(m_menus.contactSupport, &QAction::triggered, this, [this] { PushButton8_Click(); });
    wireStatusLine();
}

void MainWindow::wireReadingMenus()
{
    const auto menuStep = [this](const char *procedure, auto &&change) {
        Procedure p(m_desktop, kMainWindowModule, procedure);
        p.step(100, change);
    };
    ReadingSettings &reading = m_options.reading();
    connect(m_menus.exactOrder, &QAction::triggered, this,
            [=, &reading] { menuStep("mnuExactOrder_Click", [&] { reading.setOrder(names::NameOrder::Exact); }); });
    connect(m_menus.alphabeticalOrder, &QAction::triggered, this, [=, &reading] {
        menuStep("mnuAlphabeticalOrder_Click", [&] { reading.setOrder(names::NameOrder::Alphabetical); });
    });
    connect(m_menus.lastCommaFirst, &QAction::triggered, this, [=, &reading](bool on) {
        menuStep("mnuLastCommaFirst_Click", [&] { reading.setLastCommaFirst(on); });
    });
    connect(m_menus.keepParticles, &QAction::triggered, this, [=, &reading](bool on) {
        menuStep("mnuKeepParticles_Click", [&] { reading.setKeepParticles(on); });
    });
    connect(m_menus.stepOverExtras, &QAction::triggered, this, [=, &reading](bool on) {
        menuStep("mnuStepOverExtras_Click", [&] { reading.setStepOverExtras(on); });
    });
    connect(m_menus.familyNameFirst, &QAction::triggered, this, [=, &reading](bool on) {
        menuStep("mnuFamilyNameFirst_Click", [&] { reading.setFamilyNameFirst(on); });
    });
    connect(m_menus.learnLastNames, &QAction::triggered, this, [=, &reading](bool on) {
        menuStep("mnuLearnLastNames_Click", [&] { reading.setLearnLastNames(on); });
    });
    connect(m_menus.twoFamilyNames, &QAction::triggered, this, [=, &reading](bool on) {
        menuStep("mnuTwoFamilyNames_Click", [&] { reading.setTwoFamilyNames(on); });
    });
    connect(&reading, &ReadingSettings::changed, this, &MainWindow::showReadingChoices);
}

void MainWindow::wireStatusLine()
{
    m_context.noteDone = [this](const QString &what) {
        m_lastDone = what;
        showStatusSoon();
    };
    m_statusTimer.setSingleShot(true);
    m_statusTimer.setInterval(100);
    connect(&m_statusTimer, &QTimer::timeout, this, [this] {
        m_status->setText(statusLine());
        describeCurrentResult(); // the rows under it may have changed
    });
    for (lists::NameListModel *list : {&m_input, &m_results})
        connect(list, &lists::NameListModel::itemsChanged, this, &MainWindow::showStatusSoon);
    m_status->setText(statusLine());
}

void MainWindow::showHistory()
{
    const auto show = [](QAction *action, const QString &verb, bool can, const QString &what) {
        action->setEnabled(can);
        action->setText(can && !what.isEmpty() ? QStringLiteral("%1 %2").arg(verb, what) : verb);
    };
    show(m_menus.undo, QStringLiteral("&Undo"), m_history.canUndo(), m_history.undoText());
    show(m_menus.redo, QStringLiteral("&Redo"), m_history.canRedo(), m_history.redoText());
}

void MainWindow::showReadingChoices()
{
    const names::ReadingChoices &choices = m_options.reading().choices();
    const auto show = [](QAction *action, bool on) {
        const QSignalBlocker quiet(action);
        action->setChecked(on);
    };
    show(m_menus.exactOrder, choices.order == names::NameOrder::Exact);
    show(m_menus.alphabeticalOrder, choices.order == names::NameOrder::Alphabetical);
    show(m_menus.lastCommaFirst, choices.lastCommaFirst);
    show(m_menus.keepParticles, choices.keepParticles);
    show(m_menus.stepOverExtras, choices.stepOverExtras);
    show(m_menus.familyNameFirst, choices.familyNameFirst);
    show(m_menus.learnLastNames, choices.learnLastNames);
    show(m_menus.twoFamilyNames, choices.twoFamilyNames);
    if (auto *how = qobject_cast<HowNamesWindow *>(m_howNames.data()))
        how->refresh();
}

QString MainWindow::statusLine() const
{
    return statusText(m_input.count(), m_results.count(), m_lastDone);
}

void MainWindow::showStatusSoon()
{
    // Lists change row by row while a command runs; the line follows at most ten times
    // a second.
    if (!m_statusTimer.isActive())
        m_statusTimer.start();
}

namespace {
// Opens a small window the first time (made by `make`, deleted when closed, wholly on
// the parent's screen), or raises the one already open.
QWidget *openOrRaise(QPointer<QWidget> &open, QWidget *parent, const std::function<QWidget *()> &make)
{
    if (!open) {
        QWidget *window = make();
        window->setAttribute(Qt::WA_DeleteOnClose);
        keepOnScreen(window, parent);
        open = window;
    }
    open->show();
    open->raise();
    open->activateWindow();
    return open;
}
} // namespace

QWidget *MainWindow::mnuHowNamesAreRead_Click()
{
    return openOrRaise(m_howNames, this, [this] {
        auto *how = new HowNamesWindow(m_options, [this](QStringView word) { return m_session.isSuffix(word); }, this);
        connect(&m_options, &OptionSettings::statesChanged, how, &HowNamesWindow::refresh);
        return how;
    });
}

QWidget *MainWindow::mnuEditParticles_Click()
{
    return openOrRaise(m_particles, this,
                       [this] { return new WordListWindow(particleList(m_options.reading()), m_desktop, this); });
}

QWidget *MainWindow::mnuEditTitles_Click()
{
    return openOrRaise(m_titles, this,
                       [this] { return new WordListWindow(titleList(m_options.reading()), m_desktop, this); });
}

QWidget *MainWindow::mnuEditDesignations_Click()
{
    return openOrRaise(m_designations, this,
                       [this] { return new WordListWindow(designationList(m_options.reading()), m_desktop, this); });
}

QWidget *MainWindow::mnuEditNicknames_Click()
{
    return openOrRaise(m_nicknames, this,
                       [this] { return new WordListWindow(nicknameList(m_options.reading()), m_desktop, this); });
}

QWidget *MainWindow::mnuFindDuplicates_Click()
{
    QWidget *open = openOrRaise(m_duplicates, this,
                                [this] { return new DuplicatesWindow(m_session, m_history, m_desktop, this); });
    static_cast<DuplicatesWindow *>(open)->search();
    return open;
}

QWidget *MainWindow::mnuEditFiledAs_Click()
{
    return openOrRaise(m_filedAs, this,
                       [this] { return new FiledAsWindow(m_options.reading(), m_desktop, this); });
}

QWidget *MainWindow::mnuHelpContents_Click()
{
    return openOrRaise(m_help, this, [this] { return new HelpWindow(m_desktop, this); });
}

void MainWindow::mnuWhyHere_Click()
{
    Procedure p(m_desktop, kMainWindowModule, "mnuWhyHere_Click");
    p.step(100, [&] {
        const QModelIndexList selected = ListView2->selectionModel()->selectedRows();
        QString text;
        if (selected.isEmpty()) {
            text = QStringLiteral("No result is selected. Select a name in the Results list, then choose Why Here?");
        } else {
            const QModelIndex row = selected.first();
            const QString why = m_results.data(row, Qt::ToolTipRole).toString();
            text = QStringLiteral("\u201c%1\u201d\n\n").arg(m_results.data(row, Qt::DisplayRole).toString())
                + (why.isEmpty() ? QStringLiteral("Sort the names again to see what this result was sorted under.")
                                 : why);
        }
        m_desktop.messageBox(text, MessageStyle::Ok, m_context.title);
    });
}

void MainWindow::describeCurrentResult()
{
    const QModelIndex current = ListView2->selectionModel()->currentIndex();
    QString why = current.isValid() ? m_results.data(current, Qt::ToolTipRole).toString() : QString();
    if (why.isEmpty())
        why = m_resultsDescription;
    if (ListView2->accessibleDescription() != why)
        ListView2->setAccessibleDescription(why);
}

} // namespace orvella::app

// The main window's controls wired to the session: each command button runs its
// command as one step of the lists' undo history, the option and filter controls
// forward what the user changes and show the rules' outcome.
#include "app/MainWindow.h"

#include "commands/ExportCommands.h"
#include "commands/ListCommands.h"
#include "commands/ListFileCommands.h"
#include "commands/SortCommand.h"
#include "core/ErrorReport.h"
#include "ui/HoverPointer.h"
#include "ui/Mnemonics.h"
#include "ui/NameListView.h"
#include "ui/PointerShape.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace orvella::app {

using namespace orvella::core;
using namespace orvella::session;
using namespace orvella::ui;

void MainWindow::wireCommands()
{
    // Each command is one step of the lists' undo history, named after it.
    const auto command = [this](QAbstractButton *button, auto &&run) {
        connect(button, &QAbstractButton::clicked, this,
                [this, button, run] { m_history.run(ui::shownCaption(button->text()), run); });
    };
    commands::ListCommands &lists = m_session.listCommands();
    commands::ListFileCommands &files = m_session.listFileCommands();
    command(PushButton17, [this] { m_session.sortCommand().run(); });
    command(PushButton6, [&lists] { lists.addNames(); });
    command(PushButton1, [&lists] { lists.clearNames(); });
    command(PushButton2, [&lists] { lists.clearResults(); });
    command(PushButton7, [&lists] { lists.loadSampleNames(); });
    command(PushButton3, [&files] { files.loadNames(); });
    const QString removeName = QStringLiteral("Remove Name");
    const QString removeResult = QStringLiteral("Remove Result");
    connect(ListView1, &ui::NameListView::doubleClickedAnywhere, this,
            [=, this, &lists] { m_history.run(removeName, [&] { lists.removeSelectedName(); }); });
    connect(ListView1, &ui::NameListView::deletePressed, this,
            [=, this, &lists] { m_history.run(removeName, [&] { lists.removeSelectedName(); }); });
    connect(ListView2, &ui::NameListView::doubleClickedAnywhere, this,
            [=, this, &lists] { m_history.run(removeResult, [&] { lists.removeSelectedResult(); }); });
    connect(ListView2, &ui::NameListView::deletePressed, this,
            [=, this, &lists] { m_history.run(removeResult, [&] { lists.removeSelectedResult(); }); });
    connect(PushButton9, &QPushButton::clicked, this, [&files] { files.saveNames(); });
    connect(PushButton4, &QPushButton::clicked, this, [&files] { files.saveResults(); });
    connect(PushButton5, &QPushButton::clicked, this, [this] { m_session.exportCommands().copyResults(); });
    connect(PushButton13, &QPushButton::clicked, this, [this] { m_session.exportCommands().openResultsInSpreadsheet(); });
    connect(PushButton15, &QPushButton::clicked, this, [this] { PushButton15_Click(); });
    ListView1->acceptFileDrops(true);
    connect(ListView1, &ui::NameListView::filesDropped, this, [this, &files](const QStringList &paths) {
        m_history.run(QStringLiteral("Drop Files"), [&] { files.appendFiles(paths); });
    });
    connect(&m_progress, &ProgressState::changed, this, &MainWindow::showProgress);
    connect(&m_pointer, &PointerState::changed, this,
            [this](Pointer pointer) { ui::showPointer(this, pointer, m_customPointer); });
}

void MainWindow::wireShellControls()
{
    connect(PushButton8, &QPushButton::clicked, this, [this] { PushButton8_Click(); });

    // The controls forward what the user changes; the rules' outcome comes back
    // through showOptionStates.
    connect(&m_options, &OptionSettings::statesChanged, this, &MainWindow::showOptionStates);
    connect(Check5, &QCheckBox::toggled, this, [this](bool ticked) {
        m_options.setRemoveDuplicates(ticked);
        reportWriteFailures("Check5_Click");
    });
    connect(Check1, &QCheckBox::toggled, this, [this](bool ticked) {
        m_options.setKeepUnique(ticked);
        reportWriteFailures("Check1_Click");
    });
    connect(Check2, &QCheckBox::toggled, this, [this](bool ticked) {
        m_options.setKeepLimited(ticked);
        reportWriteFailures("Check2_Click");
    });
    // The partner's "deselected" needs no handling: the selected one carries it.
    const auto onSelected = [this](QRadioButton *button, const char *procedure, auto choose) {
        connect(button, &QRadioButton::toggled, this, [this, procedure, choose](bool selected) {
            if (!selected)
                return;
            choose();
            reportWriteFailures(procedure);
        });
    };
    using names::LastWordReading;
    using names::SortBy;
    onSelected(Option1, "Option1_Click", [this] { m_options.chooseSortBy(SortBy::LastFirst); });
    onSelected(Option2, "Option2_Click", [this] { m_options.chooseSortBy(SortBy::FirstLast); });
    onSelected(Option3, "Option3_Click", [this] { m_options.chooseLastWord(LastWordReading::SkipSuffixes); });
    onSelected(Option4, "Option4_Click", [this] { m_options.chooseLastWord(LastWordReading::LastWord); });
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_options.setLimitText(text);
        reportWriteFailures("Text1_Change");
    });
    Text1->installEventFilter(this);

    m_hover = new HoverPointer(this, m_pointer);
    for (QWidget *w : std::initializer_list<QWidget *>{PushButton1, PushButton2, PushButton3, PushButton4, PushButton5,
                                                        PushButton6, PushButton7, PushButton8, PushButton9,
                                                        PushButton13, PushButton15, PushButton17})
        m_hover->setHand(w);
    for (QWidget *w : std::initializer_list<QWidget *>{Frame1, Frame2, Frame3, ListView1, ListView2})
        m_hover->setArrow(w);
    for (QWidget *w : std::initializer_list<QWidget *>{Check5, Check1, Check2, Text1, Option1, Option2, Option3,
                                                        Option4, ProgressBar1})
        m_hover->setUnchanged(w);
}

void MainWindow::showOptionStates()
{
    const OptionStates &s = m_options.states();
    auto show = [](QAbstractButton *button, bool on) {
        const QSignalBlocker quiet(button);
        button->setChecked(on);
    };
    show(Check5, s.removeDuplicates);
    show(Check1, s.keepsUnique());
    show(Check2, s.keepsLimited());
    // A pair's buttons are set one at a time: an exclusive group would refuse to
    // deselect its selected button before the partner is selected.
    for (QButtonGroup *group : {m_readingGroup, m_lastWordGroup})
        group->setExclusive(false);
    show(Option1, s.sortBy == names::SortBy::LastFirst);
    show(Option2, s.sortBy == names::SortBy::FirstLast);
    show(Option3, s.lastWord == names::LastWordReading::SkipSuffixes);
    show(Option4, s.lastWord == names::LastWordReading::LastWord);
    for (QButtonGroup *group : {m_readingGroup, m_lastWordGroup})
        group->setExclusive(true);
    Frame3->setEnabled(s.lastWordEnabled);
    Text1->setEnabled(s.limitTextEnabled());
    if (Text1->text() != s.limitText) {
        const QSignalBlocker quiet(Text1);
        Text1->setText(s.limitText);
    }
}

void MainWindow::reportWriteFailures(const char *procedure)
{
    const QStringList failures = m_options.takeWriteFailures();
    if (!failures.isEmpty())
        showErrorReport(m_desktop, failures.first(), QLatin1String(kMainWindowModule), QLatin1String(procedure), 100);
}

} // namespace orvella::app

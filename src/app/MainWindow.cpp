#include "app/MainWindow.h"

#include "app/AccessibleTexts.h"
#include "app/HelpWindow.h"
#include "app/HowNamesWindow.h"
#include "app/MainWindowLayout.h"
#include "app/WordListWindow.h"
#include "session/StatusText.h"
#include "core/AppInfo.h"
#include "ui/ControlTable.h"
#include "ui/CursorFile.h"
#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "ui/FocusRing.h"
#include "ui/HoverPointer.h"
#include "ui/Mnemonics.h"
#include "core/NumberText.h"
#include "core/Procedure.h"
#include "ui/RememberedSize.h"
#include "core/SettingsStore.h"
#include "ui/Skin.h"
#include "ui/Twips.h"
#include "core/UnfinishedWrite.h"
#include "ui/WindowLayout.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowStretch.h"
#include "commands/ExportCommands.h"
#include "commands/ResultExportCommand.h"
#include "commands/ListCommands.h"
#include "commands/ListFileCommands.h"
#include "ui/NameListView.h"
#include "ui/PointerShape.h"
#include "commands/SortCommand.h"
#include "app/SuffixEditor.h"
#include "lists/SuffixList.h"
#include "suffixes/SuffixStore.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

// The icon and other resources live in a static library; the linker keeps them only
// when something names them.
static void initResources()
{
    Q_INIT_RESOURCE(orvella);
}

namespace orvella::app {

using namespace orvella::core;
using namespace orvella::session;
using namespace orvella::ui;
namespace {

const QString kListTooltip = QStringLiteral(
    "Double-click item to remove it. Move | line to right and out of window to reveal full names.");


} // namespace

MainWindow::MainWindow(session::Session &session, QWidget *parent)
    : QWidget(parent),
      m_session(session),
      m_desktop(session.desktop()),
      m_settings(session.settings()),
      m_input(session.inputList()),
      m_results(session.resultList()),
      m_progress(session.progress()),
      m_pointer(session.pointer()),
      m_context(session.context()),
      m_options(session.options())
{
    initResources();
    buildControls();
    wireCommands();
    wireShellControls();
    wireMenus();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    setBackgroundColour(this, Qt::white);
    setFont(arialBold(9));

    // The menu bar lies above the client area and the status line below it, so at the
    // designed size every control keeps its designed place and size; the window grows
    // by their heights. The window can be made larger (and opens smaller where the
    // screen is too small for the design); the controls follow the client area's size
    // by the stretch rule.
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    m_client->setMinimumSize(designedClientSize());
    m_menus = buildMainMenus(this);
    auto *statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar"));
    m_status = new QLabel(statusBar);
    m_status->setObjectName(QStringLiteral("StatusText"));
    readAsStatusLine(m_status);
    statusBar->addWidget(m_status, 1);
    auto *frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSpacing(0);
    frame->setMenuBar(m_menus.bar);
    frame->addWidget(m_client, 1);
    frame->addWidget(statusBar);

    // ListView1 shows the names to sort, ListView2 the results.
    ui::buildControls(m_client, mainWindowControls(), [this](const ControlLayout &list, QWidget *container) {
        return new ui::NameListView(qstrcmp(list.name, "ListView1") == 0 ? &m_input : &m_results, container);
    });
    new StretchedControls(m_client, mainWindowControls(), designedClientSize());
    // Alt+letter on the buttons, clear of the menus' letters.
    QString menuLetters;
    for (const QAction *menu : m_menus.bar->actions())
        menuLetters += QKeySequence::mnemonic(menu->text()).toString(QKeySequence::PortableText).right(1);
    giveMnemonics(m_client, mainWindowControls(), menuLetters);
    new FocusRing(this);
    m_size = new RememberedSize(this, m_settings, QStringLiteral("MainWindowSize"));
    ListView1 = controlNamed<ui::NameListView>(this, "ListView1");
    ListView2 = controlNamed<ui::NameListView>(this, "ListView2");
    PushButton1 = controlNamed<QPushButton>(this, "PushButton1");
    PushButton2 = controlNamed<QPushButton>(this, "PushButton2");
    PushButton3 = controlNamed<QPushButton>(this, "PushButton3");
    PushButton4 = controlNamed<QPushButton>(this, "PushButton4");
    PushButton5 = controlNamed<QPushButton>(this, "PushButton5");
    PushButton6 = controlNamed<QPushButton>(this, "PushButton6");
    PushButton7 = controlNamed<QPushButton>(this, "PushButton7");
    PushButton8 = controlNamed<QPushButton>(this, "PushButton8");
    PushButton9 = controlNamed<QPushButton>(this, "PushButton9");
    PushButton13 = controlNamed<QPushButton>(this, "PushButton13");
    PushButton15 = controlNamed<QPushButton>(this, "PushButton15");
    PushButton17 = controlNamed<QPushButton>(this, "PushButton17");
    ProgressBar1 = controlNamed<QProgressBar>(this, "ProgressBar1");
    Frame1 = controlNamed<QGroupBox>(this, "Frame1");
    Frame2 = controlNamed<QGroupBox>(this, "Frame2");
    Frame3 = controlNamed<QGroupBox>(this, "Frame3");
    Check5 = controlNamed<QCheckBox>(this, "Check5");
    Check1 = controlNamed<QCheckBox>(this, "Check1");
    Check2 = controlNamed<QCheckBox>(this, "Check2");
    Text1 = controlNamed<QLineEdit>(this, "Text1");
    Option1 = controlNamed<QRadioButton>(this, "Option1");
    Option2 = controlNamed<QRadioButton>(this, "Option2");
    Option3 = controlNamed<QRadioButton>(this, "Option3");
    Option4 = controlNamed<QRadioButton>(this, "Option4");

    for (ui::NameListView *list : {ListView1, ListView2})
        list->setToolTip(kListTooltip);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(true);
    ProgressBar1->setAlignment(Qt::AlignCenter);
    ProgressBar1->setFormat(m_progress.shownText());

    // Two exclusive pairs. Explicit groups: Qt's automatic exclusivity would also
    // count the nested frame's buttons as members of the outer pair.
    m_readingGroup = new QButtonGroup(this);
    m_readingGroup->addButton(Option1);
    m_readingGroup->addButton(Option2);
    m_lastWordGroup = new QButtonGroup(this);
    m_lastWordGroup->addButton(Option3);
    m_lastWordGroup->addButton(Option4);

    // Design state: Last/First, skipping suffixes; Text1 waits for Check2.
    Option1->setChecked(true);
    Option3->setChecked(true);
    Text1->setEnabled(false);
    // The list columns appear at start-up.
    ListView1->setHeaderHidden(true);
    ListView2->setHeaderHidden(true);

    describeControls(this, mainWindowAccessibleTexts());
    m_resultsDescription = ListView2->accessibleDescription();
    // A screen reader hears the status line as a status bar whose name is its text (a
    // fixed name would hide the counts); the label tells it of each change.
    m_status->setAccessibleDescription(QStringLiteral("Status line: counts both lists and says what the last command did"));
    // A screen reader hears the current result's tooltip as the list's description.
    connect(ListView2->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainWindow::describeCurrentResult);
    connect(&m_results, &QAbstractItemModel::modelReset, this, &MainWindow::describeCurrentResult);
    keepOnScreen(this);
}

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

void MainWindow::wireMenus()
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
    connect(m_menus.editParticles, &QAction::triggered, this, [this] { mnuEditParticles_Click(); });
    connect(m_menus.exportResults, &QAction::triggered, this, [this] { m_session.resultExport().ExportResults(); });
    connect(m_menus.forgetColumns, &QAction::triggered, this,
            [this] { m_session.listFileCommands().ForgetRememberedColumns(); });
    connect(m_menus.exit, &QAction::triggered, this, &QWidget::close);
    connect(m_menus.undo, &QAction::triggered, &m_history, &ListHistory::undo);
    connect(m_menus.redo, &QAction::triggered, &m_history, &ListHistory::redo);
    connect(&m_history, &ListHistory::changed, this, &MainWindow::showHistory);
    showHistory();
    connect(m_menus.editTitles, &QAction::triggered, this, [this] { mnuEditTitles_Click(); });
    connect(m_menus.howNamesAreRead, &QAction::triggered, this, [this] { mnuHowNamesAreRead_Click(); });
    connect(m_menus.helpContents, &QAction::triggered, this, [this] { mnuHelpContents_Click(); });
    connect(m_menus.whyHere, &QAction::triggered, this, [this] { mnuWhyHere_Click(); });
    connect(m_menus.contactSupport, &QAction::triggered, this, [this] { PushButton8_Click(); });
    connect(&reading, &ReadingSettings::changed, this, &MainWindow::showReadingChoices);

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

bool MainWindow::SaveResultsAsExcelFileIsExcelInstalled()
{
    return m_session.exportCommands().spreadsheetAvailable();
}

void MainWindow::showProgress()
{
    ProgressBar1->setValue(m_progress.shownPosition());
    ProgressBar1->setFormat(m_progress.shownText());
}

void MainWindow::Form_Load(const QString &folder)
{
    m_folder = folder;
    Procedure p(m_desktop, kMainWindowModule, "Form_Load");
    p.step(100, [&] { SkinSetUp(this, folder); });
    p.step(102, [&] {
        setWindowTitle(QLatin1String(kProductName));
        const QIcon icon(QStringLiteral(":/orvella/orvella.svg"));
        if (icon.pixmap(32, 32).isNull())
            throw Failure(QStringLiteral("The program icon cannot be drawn"));
        setWindowIcon(icon);
        m_context.title = orvella::core::applicationTitle();
    });
    loadHandPointer(p, folder, m_customPointer); // steps 104 and 106
    p.step(126, [&] { ListView1->setHeaderHidden(false); });
    p.step(128, [&] { ListView1->header()->resizeSection(0, twips(7000)); });
    m_options.Restore(p); // steps 130 to 150
    p.step(152, [&] { ListView2->setHeaderHidden(false); });
    p.step(154, [&] { ListView2->header()->resizeSection(0, twips(7000)); });
    m_options.reading().Restore(p); // steps 156 to 170
    p.step(172, [&] {
        // What the menu bar and the status line add to the client area's height.
        const QSize overhead(0, minimumSizeHint().height() - m_client->minimumHeight());
        m_size->restore(m_client, designedClientSize(), overhead);
    });
}

QSize MainWindow::designedClientSize()
{
    return twipsRect(0, 0, kMainWindowWidth, kMainWindowHeight).size();
}

void MainWindow::saveWindowSizes()
{
    m_size->save();
    if (m_suffixEditor)
        m_suffixEditor->saveWindowSize();
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

void MainWindow::PushButton8_Click()
{
    Procedure p(m_desktop, kMainWindowModule, "PushButton8_Click");
    p.step(100, [&] {
        m_desktop.messageBox(QStringLiteral("Questions? Please contact Team Velmora at ") + QLatin1String(kSupportPage),
                             MessageStyle::Ok, m_context.title);
    });
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1 && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // A popup (the field's own menu) or another window becoming active does not
        // take the focus from the field within this window. While the message is up,
        // its box holds the focus: no second check.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !m_text1Checking
            && !m_text1CheckQueued) {
            m_text1CheckQueued = true;
            // After the focus change has finished, not in the middle of it.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_text1CheckQueued = false;
                    Text1_LostFocus();
                },
                Qt::QueuedConnection);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::Text1_LostFocus()
{
    if (m_text1Checking || isNumeric(m_options.states().limitText))
        return;
    m_text1Checking = true;
    m_desktop.messageBox(QStringLiteral("You must input numeric entry."), MessageStyle::Ok, m_context.title);
    // The box had the window's activation; take it back (not every desktop does) so
    // that the focus really returns to the field.
    if (isVisible())
        activateWindow();
    Text1->setFocus(Qt::OtherFocusReason);
    m_text1Checking = false;
}

SuffixEditor &MainWindow::suffixEditor()
{
    if (!m_suffixEditor) {
        m_suffixEditor = std::make_unique<SuffixEditor>(m_session, this);
        m_suffixEditor->Form_Load(m_folder);
    }
    return *m_suffixEditor;
}

void MainWindow::PushButton15_Click()
{
    Procedure p(m_desktop, kMainWindowModule, "PushButton15_Click");
    p.step(100, [&] {
        SuffixEditor &editor = suffixEditor();
        editor.show();
        editor.raise();
        editor.activateWindow();
    });
    p.step(102, [&] { hide(); });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A file half written would lose what it held: the program ends once the write
    // under way has finished, and says so meanwhile.
    if (core::UnfinishedWrite::any()) {
        event->ignore();
        if (!m_closeWhenWritten) {
            m_closeWhenWritten = true;
            m_lastDone = QStringLiteral("Closing when the file is written");
            showStatusSoon();
            core::UnfinishedWrite::whenNoneLeft([this] {
                m_closeWhenWritten = false;
                QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
            });
        }
        return;
    }
    event->accept();
    // The program ends at once: the sizes the user gave the windows are written first.
    saveWindowSizes();
    m_desktop.endProgram();
}

} // namespace orvella::app

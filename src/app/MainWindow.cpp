#include "app/MainWindow.h"

#include "app/AccessibleTexts.h"
#include "app/MainWindowLayout.h"
#include "core/AppInfo.h"
#include "ui/ControlTable.h"
#include "ui/CursorFile.h"
#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "ui/FocusRing.h"
#include "ui/Mnemonics.h"
#include "core/NumberText.h"
#include "core/Procedure.h"
#include "ui/RememberedSize.h"
#include "ui/Skin.h"
#include "ui/Twips.h"
#include "core/UnfinishedWrite.h"
#include "ui/WindowLayout.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowStretch.h"
#include "ui/NameListView.h"
#include "app/SuffixEditor.h"

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
    buildFrame();
    buildControls();
    findControls();
    setUpControls();
    wireCommands();
    wireShellControls();
    wireMenus();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildFrame()
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
}

void MainWindow::buildControls()
{
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
}

void MainWindow::findControls()
{
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
}

void MainWindow::setUpControls()
{
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
    m_session.restore([this](Procedure &restoring) { // steps 130 to 150, then 156 to 170
        restoring.step(152, [&] { ListView2->setHeaderHidden(false); });
        restoring.step(154, [&] { ListView2->header()->resizeSection(0, twips(7000)); });
    });
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

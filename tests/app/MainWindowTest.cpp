#include "app/MainWindow.h"
#include "app/MainWindowLayout.h"
#include "app/WordListWindow.h"
#include "app/SuffixEditorLayout.h"
#include "core/AppInfo.h"
#include "ui/FocusRing.h"
#include "ui/HoverPointer.h"
#include "ui/Mnemonics.h"
#include "ui/RememberedSize.h"
#include "core/ShownText.h"
#include "ui/Twips.h"
#include "ui/WindowStretch.h"
#include "lists/NameListModel.h"
#include "lists/RememberedColumns.h"
#include "ui/NameListView.h"
#include "app/SuffixEditor.h"
#include "ui/support/Controls.h"
#include "ui/support/LayoutChecks.h"
#include "app/support/WindowFixtures.h"
#include "support/Printers.h"
#include "support/RecordingSpreadsheet.h"
#include "support/Files.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextBrowser>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QImageWriter>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace orvella::app;
using namespace orvella::core;
using namespace orvella::ui;
namespace ui = orvella::ui;
using orvella::testing::CallLog;
using orvella::testing::RecordingSpreadsheet;
using orvella::testing::MainWindowFixture;
using orvella::testing::captionsCutOff;
using orvella::testing::control;
using orvella::testing::controlsOutside;
using orvella::testing::hoverTip;
using orvella::testing::laidOutControls;
using orvella::testing::overlappingControls;
using orvella::testing::tabStops;
using orvella::testing::tabWalk;
using orvella::testing::writeBytes;
namespace lists = orvella::lists;
namespace app = orvella::app;

namespace {

QString textOf(QWidget *w)
{
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return g->title();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *p = qobject_cast<QProgressBar *>(w))
        return p->format();
    return {};
}

// A window started from a program folder of its own (for the skin and pointer files).
struct StartedWindow : MainWindowFixture {
    QTemporaryDir folder;

    void writeFile(const QString &relative, const QByteArray &bytes)
    {
        writeBytes(folder.filePath(relative), bytes);
    }
    void start() { window->Form_Load(folder.path()); }
};

// A started window, shown and active: it takes keys.
struct ActiveWindow : StartedWindow {
    ActiveWindow()
    {
        start();
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
};

// ---- Layout ---------------------------------------------------------------------------

// Resting the mouse on either list shows what can be done with it, the same for both.
TEST(MainWindowLayout, ListsExplainThemselvesOnHoverOnAWhiteWindow)
{
    MainWindowFixture f;
    f.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.window.get()));
    QStringList tips;
    for (const char *name : {"ListView1", "ListView2"})
        tips << hoverTip(control<ui::NameListView>(*f.window, name));
    EXPECT_FALSE(tips[0].isEmpty());
    EXPECT_EQ(tips[1], tips[0]);
    EXPECT_EQ(f.window->palette().color(QPalette::Window), QColor(Qt::white));
}

// Tab goes through every control that takes input, each once; what cannot take input
// is passed over.
TEST(MainWindowLayout, TabTakesEveryEnabledControlOnce)
{
    struct Case {
        const char *state;
        void (*set)(MainWindow &);
        const char *passedOver; // a control Tab does not reach in that state
    };
    const Case cases[] = {
        {"as designed", [](MainWindow &) {}, "Text1"},
        {"a number per last name", [](MainWindow &w) { control<QCheckBox>(w, "Check2")->click(); }, nullptr},
        {"First/Last", [](MainWindow &w) { control<QRadioButton>(w, "Option2")->click(); }, "Option3"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.state);
        ActiveWindow f;
        c.set(*f.window);
        QWidget *client = control<QWidget>(*f.window, "ClientArea");
        const QList<QWidget *> walk = tabWalk(f.window.get());
        const QList<QWidget *> stops = tabStops(client);
        EXPECT_EQ(QSet<QWidget *>(walk.begin(), walk.end()), QSet<QWidget *>(stops.begin(), stops.end()));
        EXPECT_EQ(walk.size(), stops.size()); // none twice
        if (c.passedOver)
            EXPECT_FALSE(walk.contains(control<QWidget>(*f.window, c.passedOver)));
        EXPECT_GE(walk.size(), 15);
    }
}

// At the designed size no control covers another or reaches out of its frame, every
// caption shows whole, and the window is the client area with the menu bar above it
// and the status line below it.
TEST(MainWindowLayout, ControlsLieApartAndShowTheirCaptionsBetweenMenuAndStatusLine)
{
    MainWindowFixture f;
    MainWindow &w = *f.window;
    w.show();
    QWidget *client = control<QWidget>(w, "ClientArea");
    EXPECT_EQ(client->size(), MainWindow::designedClientSize());
    EXPECT_EQ(overlappingControls(client), QStringList{});
    EXPECT_EQ(controlsOutside(client), QStringList{});
    EXPECT_EQ(captionsCutOff(client), QStringList{});
    EXPECT_GE(laidOutControls(client).size(), 20);
    const int menu = control<QMenuBar>(w, "MenuBar")->height();
    const int status = control<QStatusBar>(w, "StatusBar")->height();
    EXPECT_GT(menu, 0);
    EXPECT_EQ(client->geometry().topLeft(), QPoint(0, menu));
    EXPECT_EQ(w.size(), client->size() + QSize(0, menu + status));
}

// A larger window: the lists take the extra height, every control keeps its share of
// the width, the buttons and frames their heights, and all of it stays apart and in
// the window.
TEST(MainWindowLayout, LargerWindowGivesTheListsTheExtraHeight)
{
    for (const QSize more : {QSize(0, 200), QSize(400, 0), QSize(300, 250)}) {
        SCOPED_TRACE(testing::Message() << "+" << more.width() << "x" << more.height());
        MainWindowFixture f;
        MainWindow &w = *f.window;
        w.show();
        QWidget *client = control<QWidget>(w, "ClientArea");
        auto *list = control<ui::NameListView>(w, "ListView1");
        for (int n = 0; n < 60; ++n)
            f.session->inputList().append(QStringLiteral("Name %1").arg(n));
        f.processEvents();
        const auto lastRowShown = [list] { return list->rowAt(list->viewport()->height() - 1); };
        const int rowsBefore = lastRowShown();
        ASSERT_GT(rowsBefore, 0);
        const QList<QWidget *> controls = laidOutControls(client);
        QList<QSize> designedSizes;
        for (const QWidget *widget : controls)
            designedSizes << widget->size();

        const QSize designed = client->size();
        w.resize(w.size() + more);
        f.processEvents();
        ASSERT_EQ(client->size(), designed + more);
        const double wider = double(client->width()) / designed.width();
        for (qsizetype i = 0; i < controls.size(); ++i) {
            const QWidget *widget = controls[i];
            SCOPED_TRACE(widget->objectName().toStdString());
            EXPECT_NEAR(widget->width(), designedSizes[i].width() * wider, 1.0);
            const bool isList = qobject_cast<const ui::NameListView *>(widget);
            EXPECT_EQ(widget->height(), designedSizes[i].height() + (isList ? more.height() : 0));
        }
        EXPECT_EQ(overlappingControls(client), QStringList{});
        EXPECT_EQ(controlsOutside(client), QStringList{});
        // The input list shows more rows.
        const int rowHeight = list->verticalHeader()->defaultSectionSize();
        EXPECT_GE(lastRowShown(), rowsBefore + more.height() / rowHeight - 1);
    }
}

// On a screen too small for the design (the offscreen test screen) the window opens
// zoomed down to fit, fonts included; a remembered size comes back within the screen.
TEST(MainWindowLayout, OpensFittedToTheScreenOrAtItsRememberedSize)
{
    struct Case {
        const char *stored;
        bool remembered;
    };
    const Case cases[] = {{nullptr, false}, {"banana", false}, {"700x420", true}, {"5000x5000", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(none)");
        StartedWindow f;
        if (c.stored)
            f.settings.values.insert("MainWindowSize", c.stored);
        f.start();
        MainWindow &w = *f.window;
        w.show();
        const QRect available = w.screen()->availableGeometry();
        ASSERT_LT(available.width(), MainWindow::designedClientSize().width()) << "the screen is too small";
        EXPECT_TRUE(f.desktop.messages.empty());
        EXPECT_TRUE(f.settings.writes.isEmpty());
        const QSize frame = w.size() + RememberedSize::kFrameAllowance;
        EXPECT_LE(frame.width(), available.width());
        EXPECT_LE(frame.height(), available.height());
        if (c.remembered) // no narrower than fits, as high as it was
            EXPECT_TRUE(w.width() >= 700 && w.height() == 420) << w.width() << "x" << w.height();
        QWidget *client = control<QWidget>(w, "ClientArea");
        EXPECT_EQ(controlsOutside(client), QStringList{});
        const double zoom = double(client->width()) / MainWindow::designedClientSize().width();
        EXPECT_NEAR(control<QPushButton>(w, "PushButton17")->font().pointSizeF(), 11.25 * zoom, 0.05);
    }
}

// Every caption shows whole at each scale the windows fit at on a 1280x800 screen (the
// logical room being the screen over the scale): measured in the control's own font,
// whose text can run wider than the zoomed design.
TEST(MainWindowLayout, CaptionsShowWholeAtEveryScaleTheWindowsFitAt)
{
    for (const double scale : {1.0, 1.25, 1.5, 2.0}) {
        SCOPED_TRACE(testing::Message() << "scale " << scale);
        const QSize screen(int(1280 / scale), int(800 / scale));
        MainWindowFixture f;
        MainWindow &w = *f.window;
        QWidget *client = control<QWidget>(w, "ClientArea");
        const QSize overhead(0, w.minimumSizeHint().height() - client->minimumHeight());
        const QSize room = screen - overhead - RememberedSize::kFrameAllowance;
        const QSize fitting = fittingClientSize(MainWindow::designedClientSize(), room);
        if (fitting.width() <= room.width() && fitting.height() <= room.height()) {
            client->setMinimumSize(fitting);
            w.resize(fitting + overhead);
            w.show();
            f.processEvents();
            ASSERT_EQ(client->size(), fitting);
            EXPECT_EQ(captionsCutOff(client), QStringList{});
        }
        SuffixEditor &editor = w.suffixEditor();
        const QSize editorFitting =
            fittingClientSize(SuffixEditor::designedSize(), screen - RememberedSize::kFrameAllowance);
        editor.setMinimumSize(editorFitting);
        editor.resize(editorFitting);
        editor.show();
        f.processEvents();
        ASSERT_EQ(editor.size(), editorFitting);
        EXPECT_EQ(captionsCutOff(&editor), QStringList{});
    }
}

// The size the user gives the window is written once a resize rests, and when the
// window closes; never when the user did not resize it, and a store that cannot be
// written does not keep the program from ending.
TEST(MainWindowLayout, SizeIsWrittenOnceAResizeRestsAndWhenTheWindowCloses)
{
    StartedWindow f;
    f.start();
    MainWindow &w = *f.window;
    w.show();
    const QSize opened = w.size();
    for (int step = 1; step <= 3; ++step)
        w.resize(opened + QSize(10 * step, 10 * step));
    const QString size = sizeText(opened + QSize(30, 30));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.settings.writes.isEmpty(); }));
    EXPECT_EQ(f.settings.writes, QStringList{"MainWindowSize=" + size});

    w.resize(opened + QSize(50, 60));
    QStringList writtenAtTheEnd; // the program leaves at once there
    f.desktop.onEndProgram = [&] { writtenAtTheEnd = f.settings.writes; };
    w.close(); // before the resize rested
    ASSERT_EQ(f.desktop.endProgramCalls, 1);
    EXPECT_EQ(writtenAtTheEnd.last(), "MainWindowSize=" + sizeText(opened + QSize(50, 60)));

    StartedWindow unresized;
    unresized.start();
    unresized.window->show();
    unresized.window->close();
    EXPECT_TRUE(unresized.settings.writes.isEmpty());

    StartedWindow failing;
    failing.start();
    failing.window->show();
    failing.window->resize(failing.window->size() + QSize(40, 40));
    failing.settings.failWrites = true;
    failing.window->close();
    EXPECT_EQ(failing.desktop.endProgramCalls, 1);
    EXPECT_TRUE(failing.desktop.messages.empty());
}

// ---- Start-up -------------------------------------------------------------------------

TEST(MainWindowStartUp, FirstRunOpensInTheDesignState)
{
    StartedWindow f;
    f.start();
    MainWindow &w = *f.window;
    EXPECT_TRUE(f.desktop.messages.empty());
    EXPECT_EQ(w.windowTitle(), "Orvella");
    EXPECT_FALSE(w.windowIcon().isNull());
    // The messages of the commands carry the program's name as their title.
    f.desktop.inputAnswers = {""};
    control<QPushButton>(w, "PushButton6")->click(); // Add One Name
    ASSERT_EQ(f.desktop.inputs.size(), 1u);
    EXPECT_EQ(f.desktop.inputs[0].title, "Orvella");
    EXPECT_TRUE(control<QRadioButton>(w, "Option1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(w, "Option2")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(w, "Option3")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(w, "Option4")->isChecked());
    EXPECT_TRUE(control<QGroupBox>(w, "Frame3")->isEnabled());
    EXPECT_FALSE(control<QCheckBox>(w, "Check5")->isChecked() || control<QCheckBox>(w, "Check1")->isChecked()
                 || control<QCheckBox>(w, "Check2")->isChecked());
    EXPECT_EQ(control<QLineEdit>(w, "Text1")->text(), "5");
    EXPECT_FALSE(control<QLineEdit>(w, "Text1")->isEnabled());
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(Qt::white)); // no skin: design look
    EXPECT_TRUE(w.styleSheet().isEmpty());
    EXPECT_EQ(w.customPointer().shape(), Qt::PointingHandCursor);
    for (auto *list : {control<ui::NameListView>(w, "ListView1"), control<ui::NameListView>(w, "ListView2")}) {
        EXPECT_FALSE(list->isHeaderHidden());
        EXPECT_EQ(list->header()->sectionSize(0), twips(7000));
    }
    EXPECT_EQ(control<ui::NameListView>(w, "ListView1")->model()->headerData(0, Qt::Horizontal).toString(),
              " Name(s)");
    EXPECT_EQ(control<ui::NameListView>(w, "ListView2")->model()->headerData(0, Qt::Horizontal).toString(),
              "Result(s)");
    EXPECT_EQ(control<QProgressBar>(w, "ProgressBar1")->format(), "Progress Bar");
    EXPECT_TRUE(f.settings.writes.isEmpty());
}

TEST(MainWindowStartUp, StoredChoicesAreShownByTheControls)
{
    StartedWindow f;
    f.settings.values = {{"Remove Duplicates", "1.0"}, {"Check1", "1"}, {"Check2", "01"}, {"Option1", "false"},
                         {"Option2", "TRUE"},         {"Option3", "0"}, {"Option4", "-1"}, {"Text1", "7"}};
    f.start();
    MainWindow &w = *f.window;
    EXPECT_TRUE(control<QCheckBox>(w, "Check5")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(w, "Check1")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(w, "Check2")->isChecked());
    EXPECT_TRUE(control<QLineEdit>(w, "Text1")->isEnabled());
    EXPECT_FALSE(control<QRadioButton>(w, "Option1")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(w, "Option2")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(w, "Option3")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(w, "Option4")->isChecked());
    EXPECT_FALSE(control<QGroupBox>(w, "Frame3")->isEnabled());
    EXPECT_FALSE(control<QRadioButton>(w, "Option4")->isEnabled()); // nothing inside a disabled frame takes input
    EXPECT_FALSE(control<QPushButton>(w, "PushButton15")->isEnabled());
    EXPECT_EQ(control<QLineEdit>(w, "Text1")->text(), "7");
    // The sort reads what the window shows.
    const auto options = f.session->options().options();
    EXPECT_EQ(options, (orvella::names::SortOptions{orvella::names::SortBy::FirstLast,
                                                     orvella::names::LastWordReading::LastWord}));
    EXPECT_TRUE(f.session->options().keepLimited());
    EXPECT_EQ(f.session->options().limitText(), "7");
}

TEST(MainWindowStartUp, FailingStepsAreReportedAndStartUpGoesOn)
{
    StartedWindow f;
    f.writeFile("x/o.cjs", QByteArray("QWidget { color: red; }\xff\xfe", 25)); // not text
    f.writeFile("HAND-M.CUR", "not a picture");
    f.settings.values = {{"Option3", "banana"}, {"Check2", "1"}};
    f.start();
    MainWindow &w = *f.window;
    // The skin, the pointer file and the stored option, each in a report of its own.
    EXPECT_EQ(f.desktop.reportPlaces(), (QStringList{"Form1.Form_Load at line 100", "Form1.Form_Load at line 106",
                                                     "Form1.Form_Load at line 140"}));
    EXPECT_TRUE(f.desktop.errorReports()[2].text.startsWith("Type mismatch"));
    // Colours were set before the skin failed; everything after it ran.
    const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
    EXPECT_EQ(w.palette().color(QPalette::Window), face);
    EXPECT_EQ(w.windowTitle(), "Orvella");
    EXPECT_EQ(w.customPointer().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(control<QCheckBox>(w, "Check2")->isChecked());
    EXPECT_TRUE(control<QRadioButton>(w, "Option3")->isChecked()); // unreadable: keeps its state
    EXPECT_EQ(control<ui::NameListView>(w, "ListView2")->header()->sectionSize(0), twips(7000));
}

TEST(MainWindowStartUp, SkinFileGivesButtonFaceColoursThenItsStyleSheet)
{
    StartedWindow f;
    const QByteArray sheet = "QPushButton { font-style: italic; }\n";
    f.writeFile("x/o.cjs", sheet);
    f.start();
    MainWindow &w = *f.window;
    EXPECT_TRUE(f.desktop.messages.empty());
    EXPECT_EQ(w.styleSheet(), QString::fromUtf8(sheet));
    const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
    ASSERT_NE(face, QColor(Qt::white));
    for (QWidget *c : std::initializer_list<QWidget *>{
             &w, control<QGroupBox>(w, "Frame1"), control<QGroupBox>(w, "Frame2"), control<QGroupBox>(w, "Frame3"),
             control<QCheckBox>(w, "Check5"), control<QCheckBox>(w, "Check1"), control<QCheckBox>(w, "Check2"),
             control<QRadioButton>(w, "Option1"), control<QRadioButton>(w, "Option2"),
             control<QRadioButton>(w, "Option3"), control<QRadioButton>(w, "Option4")}) {
        EXPECT_EQ(c->palette().color(QPalette::Window), face) << c->objectName().toStdString();
        EXPECT_TRUE(c->autoFillBackground());
    }
}

TEST(MainWindowStartUp, SkinPathThatIsAFolderDoesNotCount)
{
    StartedWindow f;
    QDir().mkpath(f.folder.filePath("x/o.cjs"));
    f.start();
    EXPECT_TRUE(f.desktop.messages.empty());
    EXPECT_EQ(f.window->palette().color(QPalette::Window), QColor(Qt::white));
}

// A Windows cursor file: an icon file with type 2 and the hot spot in its entry.
QByteArray cursorFile(int hotX, int hotY)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 20; ++y)
        image.setPixel(4, y, qRgba(0, 0, 0, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    EXPECT_TRUE(writer.write(image));
    bytes[2] = 2;
    bytes[6 + 4] = char(hotX);
    bytes[6 + 5] = 0;
    bytes[6 + 6] = char(hotY);
    bytes[6 + 7] = 0;
    return bytes;
}

TEST(MainWindowStartUp, PointerFileBecomesTheHandWithItsHotSpot)
{
    StartedWindow f;
    f.writeFile("HAND-M.CUR", cursorFile(4, 1));
    f.start();
    EXPECT_TRUE(f.desktop.messages.empty());
    const QCursor hand = f.window->customPointer();
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    EXPECT_EQ(hand.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(hand.hotSpot(), QPoint(4, 1));
    // The suffix list editor takes its hand from the same folder.
    EXPECT_EQ(f.window->suffixEditor().customPointer().hotSpot(), QPoint(4, 1));
}

TEST(MainWindowStartUp, PointerFileThatIsANamedPipeIsPassedOverByBothWindows)
{
    StartedWindow f;
    const QByteArray pipe = QFile::encodeName(f.folder.filePath("HAND-M.CUR"));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    // Serves whoever opens the pipe for reading with an empty stream, so that a window
    // that opens it reads nothing instead of waiting for a writer for ever.
    std::atomic<int> opened{0};
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (;;) {
            const int fd = ::open(pipe.constData(), O_WRONLY);
            if (done) {
                ::close(fd);
                break;
            }
            ++opened;
            ::close(fd);
        }
    });
    f.start();
    (void)f.window->suffixEditor();
    done = true;
    const int release = ::open(pipe.constData(), O_RDONLY | O_NONBLOCK); // a reader lets the writer's open return
    writer.join();
    ::close(release);

    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(f.desktop.messages.empty()) << f.desktop.messageTexts().join("\n").toStdString();
    EXPECT_EQ(f.window->customPointer().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(f.window->suffixEditor().customPointer().shape(), Qt::PointingHandCursor);
}

// ---- Controls and their rules ---------------------------------------------------------

TEST(MainWindowOptions, ClicksAreWrittenAtOnceAndTheControlsFollowTheRules)
{
    StartedWindow f;
    f.start();
    MainWindow &w = *f.window;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    // On its caption: a radio button takes clicks on its circle and text only.
    QTest::mouseClick(control<QRadioButton>(w, "Option2"), Qt::LeftButton, {},
                      QPoint(10, control<QRadioButton>(w, "Option2")->height() / 2));
    EXPECT_EQ(f.settings.writes, (QStringList{"Option1=False", "Option2=True"}));
    EXPECT_FALSE(control<QGroupBox>(w, "Frame3")->isEnabled());
    EXPECT_TRUE(control<QRadioButton>(w, "Option3")->isChecked()); // untouched

    f.settings.writes.clear();
    control<QCheckBox>(w, "Check2")->click();
    EXPECT_TRUE(control<QLineEdit>(w, "Text1")->isEnabled());
    control<QCheckBox>(w, "Check1")->click();
    EXPECT_FALSE(control<QCheckBox>(w, "Check2")->isChecked());
    EXPECT_FALSE(control<QLineEdit>(w, "Text1")->isEnabled());
    control<QCheckBox>(w, "Check5")->click();
    EXPECT_EQ(f.settings.writes, (QStringList{"Check2=1", "Check2=0", "Check1=1", "Remove Duplicates=1"}));

    f.settings.writes.clear();
    control<QRadioButton>(w, "Option1")->click();
    EXPECT_TRUE(control<QGroupBox>(w, "Frame3")->isEnabled());
    control<QRadioButton>(w, "Option4")->click();
    EXPECT_EQ(f.settings.writes, (QStringList{"Option1=True", "Option2=False", "Option3=False", "Option4=True"}));
    EXPECT_FALSE(control<QRadioButton>(w, "Option3")->isChecked());
}

TEST(MainWindowOptions, EveryKeystrokeInText1IsStored)
{
    StartedWindow f;
    f.start();
    MainWindow &w = *f.window;
    control<QCheckBox>(w, "Check2")->click();
    f.settings.writes.clear();
    control<QLineEdit>(w, "Text1")->selectAll();
    QTest::keyClicks(control<QLineEdit>(w, "Text1"), "3b");
    EXPECT_EQ(f.settings.writes, (QStringList{"Text1=3", "Text1=3b"}));
    EXPECT_EQ(f.session->options().limitText(), "3b");
}

TEST(MainWindowOptions, FailedWriteOfAClickIsReportedOnce)
{
    StartedWindow f;
    f.start();
    f.settings.failWrites = true;
    control<QRadioButton>(*f.window, "Option2")->click(); // two writes fail, one report
    ASSERT_EQ(f.desktop.errorReports().size(), 1u);
    EXPECT_TRUE(f.desktop.errorReports()[0].text.contains("Form1.Option2_Click at line 100"));
    EXPECT_FALSE(control<QGroupBox>(*f.window, "Frame3")->isEnabled());
}

// ---- Text1 losing the focus -----------------------------------------------------------

struct ShownWindow : StartedWindow {
    ShownWindow()
    {
        start();
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        control<QCheckBox>(*window, "Check2")->click();
        control<QLineEdit>(*window, "Text1")->setFocus(Qt::MouseFocusReason);
        processEvents();
    }
    void leaveText1()
    {
        control<QRadioButton>(*window, "Option1")->setFocus(Qt::TabFocusReason);
        processEvents();
    }
};

TEST(MainWindowText1, NonNumericTextIsRefusedAndTheFocusGoesBack)
{
    ShownWindow f;
    MainWindow &w = *f.window;
    ASSERT_TRUE(control<QLineEdit>(w, "Text1")->hasFocus());
    control<QLineEdit>(w, "Text1")->setText("12x");
    f.leaveText1();
    ASSERT_EQ(f.desktop.messages.size(), 1u);
    EXPECT_EQ(f.desktop.messages[0].text, "You must input numeric entry.");
    EXPECT_EQ(f.desktop.messages[0].style, 0);
    EXPECT_EQ(f.desktop.messages[0].title, "Orvella");
    EXPECT_TRUE(control<QLineEdit>(w, "Text1")->hasFocus());
    EXPECT_EQ(control<QLineEdit>(w, "Text1")->text(), "12x");
    EXPECT_EQ(f.settings.values.value("Text1"), "12x");

    // Every time it loses the focus while wrong.
    f.leaveText1();
    EXPECT_EQ(f.desktop.messages.size(), 2u);

    // A number leaves quietly; so does a popup (the field's own menu).
    for (const char *number : {" -1.5e3 ", "7", "+.5"}) {
        control<QLineEdit>(w, "Text1")->setText(number);
        f.leaveText1();
        EXPECT_FALSE(control<QLineEdit>(w, "Text1")->hasFocus()) << number;
        control<QLineEdit>(w, "Text1")->setFocus(Qt::MouseFocusReason);
    }
    control<QLineEdit>(w, "Text1")->setText("");
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(control<QLineEdit>(w, "Text1"), &popup);
    f.processEvents();
    EXPECT_EQ(f.desktop.messages.size(), 2u);
}

TEST(MainWindowText1, MessageTakingTheFocusStartsNoSecondCheck)
{
    ShownWindow f;
    MainWindow &w = *f.window;
    control<QLineEdit>(w, "Text1")->setText("abc");
    int shown = 0;
    f.desktop.onMessage = [&](const auto &) {
        // The box takes the focus from the field, as a real box would, and the event
        // loop runs while it is up.
        if (++shown > 5)
            return; // a loop would have shown far more: stop it here to fail cleanly
        QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
        QCoreApplication::sendEvent(control<QLineEdit>(w, "Text1"), &out);
        QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(control<QLineEdit>(w, "Text1"), &away);
        f.processEvents();
    };
    f.leaveText1();
    f.processEvents();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(control<QLineEdit>(w, "Text1")->hasFocus());
}

// ---- Help, closing --------------------------------------------------------------------

TEST(MainWindowShell, HelpNamesTheSupportPage)
{
    StartedWindow f;
    f.start();
    control<QPushButton>(*f.window, "PushButton8")->click();
    ASSERT_EQ(f.desktop.messages.size(), 1u);
    EXPECT_EQ(f.desktop.messages[0].text,
              "Questions? Please contact Team Velmora at https://velmora.example/orvella/support");
    EXPECT_EQ(f.desktop.messages[0].style, 0);
    EXPECT_EQ(f.desktop.messages[0].title, "Orvella");
    EXPECT_TRUE(f.desktop.openedUrls.isEmpty());
}

TEST(MainWindowShell, ClosingTheWindowEndsTheProgram)
{
    StartedWindow f;
    f.start();
    f.window->show();
    f.window->close();
    EXPECT_EQ(f.desktop.endProgramCalls, 1);
}

// ---- Menus, reading windows, status line ------------------------------------------------

TEST(MainWindowMenus, ChoicesAreWrittenAtOnceAndComeBackAtTheNextStart)
{
    StartedWindow f;
    f.start();
    const MainMenus &m = f.window->menus();
    EXPECT_TRUE(m.exactOrder->isChecked() && !m.alphabeticalOrder->isChecked());
    EXPECT_FALSE(m.lastCommaFirst->isChecked() || m.keepParticles->isChecked());
    m.alphabeticalOrder->trigger();
    m.lastCommaFirst->trigger();
    m.keepParticles->trigger();
    m.keepParticles->trigger();
    EXPECT_EQ(f.settings.writes, (QStringList{"Order=Alphabetical", "LastCommaFirst=True", "KeepParticles=True",
                                              "KeepParticles=False"}));
    EXPECT_TRUE(m.alphabeticalOrder->isChecked() && !m.exactOrder->isChecked());
    EXPECT_EQ(f.session->options().readingChoices().order, orvella::names::NameOrder::Alphabetical);

    StartedWindow next;
    next.settings.values = f.settings.values;
    next.start();
    const MainMenus &n = next.window->menus();
    EXPECT_TRUE(n.alphabeticalOrder->isChecked() && !n.exactOrder->isChecked());
    EXPECT_TRUE(n.lastCommaFirst->isChecked());
    EXPECT_FALSE(n.keepParticles->isChecked());
    EXPECT_TRUE(next.desktop.messages.empty());

    // A store that cannot be written is reported under the menu's own procedure.
    next.settings.failWrites = true;
    n.keepParticles->trigger();
    ASSERT_EQ(next.desktop.errorReports().size(), 1u);
    EXPECT_TRUE(next.desktop.errorReports()[0].text.contains("Form1.mnuKeepParticles_Click at line 100"))
        << next.desktop.errorReports()[0].text.toStdString();
}

// File > Forget Remembered Columns takes back every "Do not ask again", and says so.
TEST(MainWindowMenus, ForgetRememberedColumnsAsksForEveryTableAgain)
{
    StartedWindow f;
    f.start();
    const QStringList header{"Name"};
    f.settings.values.insert(orvella::lists::RememberedColumns::keyFor(header),
                             "kind=whole header=1 whole=0 last=-1 first=-1 middle=-1 suffix=-1 ask=0");
    ASSERT_TRUE(orvella::lists::RememberedColumns(f.settings).find(header));
    QAction *forget = f.window->menus().forgetColumns;
    EXPECT_TRUE(f.window->findChild<QMenu *>("mnuFile")->actions().contains(forget));
    forget->trigger();
    EXPECT_EQ(orvella::lists::RememberedColumns(f.settings).find(header), std::nullopt);
    EXPECT_TRUE(f.window->statusLine().endsWith("Forgot the remembered name columns: every table asks again"))
        << f.window->statusLine().toStdString();
    EXPECT_TRUE(f.desktop.errorReports().empty());
}

TEST(MainWindowMenus, HelpMenuNamesTheSupportPageAndExplainsTheReadings)
{
    StartedWindow f;
    f.start();
    f.window->menus().contactSupport->trigger();
    EXPECT_EQ(f.desktop.messageTexts(),
              QStringList{"Questions? Please contact Team Velmora at https://velmora.example/orvella/support"});

    QWidget *how = f.window->mnuHowNamesAreRead_Click();
    EXPECT_EQ(how->windowTitle(), "How Names Are Read");
    QTest::keyClicks(control<QLineEdit>(*how, "NameField"), "John Smith Jr.");
    auto *table = control<QTableWidget>(*how, "ReadingTable");
    ASSERT_GT(table->rowCount(), 0);
    // The first row is today's reading, marked as the one in use.
    EXPECT_EQ(table->item(0, 0)->text(), QString::fromUtf8("\u25b6 Last word, suffixes stepped over"));
    EXPECT_EQ(table->item(0, 2)->text(), "Smith Jr.");
    EXPECT_EQ(table->item(0, 3)->text(), "John");
    // Choosing another reading in the main window moves the mark at once.
    control<QRadioButton>(*f.window, "Option2")->click();
    EXPECT_FALSE(table->item(0, 0)->text().startsWith(QChar(0x25b6)));
    // A choice that applies to every row is named below the table as soon as it is made.
    auto *also = control<QLabel>(*how, "AlsoChosen");
    EXPECT_TRUE(also->isHidden());
    f.window->menus().familyNameFirst->trigger();
    EXPECT_FALSE(also->isHidden());
    EXPECT_TRUE(also->text().contains("family name first")) << also->text().toStdString();
    EXPECT_EQ(f.window->mnuHowNamesAreRead_Click(), how); // one window, raised again
}

TEST(MainWindowMenus, ParticleListIsEditedInItsOwnWindow)
{
    StartedWindow f;
    f.start();
    QWidget *window = f.window->mnuEditParticles_Click();
    auto *text = control<QPlainTextEdit>(*window, "ParticleText");
    EXPECT_EQ(text->toPlainText().split('\n'), orvella::names::defaultParticles());
    text->setPlainText("van\n\nder  VAN\nibn");
    static_cast<WordListWindow *>(window)->save();
    EXPECT_EQ(f.settings.writes, QStringList{"ParticleList=van der ibn"});
    EXPECT_TRUE(f.session->options().isParticle(u"IBN"));
    EXPECT_FALSE(f.session->options().isParticle(u"de"));

    // Escape closes the window and keeps the list as saved.
    QPointer<QWidget> open = f.window->mnuEditParticles_Click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(open));
    text = control<QPlainTextEdit>(*open, "ParticleText");
    text->setPlainText("bin");
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Escape);
    EXPECT_TRUE(!open || !open->isVisible());
    EXPECT_EQ(f.settings.writes, QStringList{"ParticleList=van der ibn"});
}

TEST(MainWindowMenus, StepOverExtrasIsStoredAndTheTitleListIsEditedInAWindowOfItsOwn)
{
    StartedWindow f;
    f.start();
    const MainMenus &m = f.window->menus();
    m.stepOverExtras->trigger();
    EXPECT_TRUE(f.session->options().readingChoices().stepOverExtras);
    EXPECT_FALSE(f.session->options().readingChoices().learnLastNames);

    QWidget *titles = f.window->mnuEditTitles_Click();
    EXPECT_NE(titles, f.window->mnuEditParticles_Click()); // two lists, two windows
    auto *text = control<QPlainTextEdit>(*titles, "TitleText");
    EXPECT_EQ(text->toPlainText().split('\n'), orvella::names::defaultTitles());
    text->setPlainText("Dr\nDR\n\nDame");
    static_cast<WordListWindow *>(titles)->save();
    EXPECT_EQ(f.settings.writes, (QStringList{"StepOverExtras=True", "TitleList=Dr Dame"}));
    EXPECT_TRUE(f.session->options().isTitle(u"dr."));
    EXPECT_FALSE(f.session->options().isTitle(u"Mrs"));
    EXPECT_TRUE(f.session->options().reading().particles().words() == orvella::names::defaultParticles());

    StartedWindow next;
    next.settings.values = f.settings.values;
    next.start();
    EXPECT_TRUE(next.window->menus().stepOverExtras->isChecked());
    EXPECT_FALSE(next.window->menus().familyNameFirst->isChecked());
}

TEST(MainWindowStatus, CountsBothListsAndSaysWhatTheLastCommandDid)
{
    StartedWindow f;
    f.start();
    EXPECT_EQ(f.window->statusLine(), "0 names \u00b7 0 results");
    f.desktop.inputAnswers = {"Ann Lee\nBo Ray"};
    control<QPushButton>(*f.window, "PushButton6")->click();
    EXPECT_EQ(f.window->statusLine(), "2 names \u00b7 0 results \u00b7 Added 2 names");
    control<QPushButton>(*f.window, "PushButton7")->click();
    EXPECT_EQ(f.window->statusLine(), "6 names \u00b7 0 results \u00b7 Added the sample names");
    f.session->resultList().append("Bo Ray");
    control<QPushButton>(*f.window, "PushButton5")->click();
    EXPECT_EQ(f.window->statusLine(), "6 names \u00b7 1 result \u00b7 Copied 1 result to the clipboard");
    control<QPushButton>(*f.window, "PushButton2")->click();
    EXPECT_EQ(f.window->statusLine(), "6 names \u00b7 0 results \u00b7 Cleared the results");
    f.session->resultList().append("Bo Ray");
    f.desktop.clipboardRefusals = 1000000; // a copy that fails says nothing here: its message does
    control<QPushButton>(*f.window, "PushButton5")->click();
    EXPECT_EQ(f.window->statusLine(), "6 names \u00b7 1 result \u00b7 Cleared the results");
    control<QPushButton>(*f.window, "PushButton17")->click();
    EXPECT_TRUE(QRegularExpression("^6 names \u00b7 6 results \u00b7 sorted in \\d+\\.\\d s$")
                    .match(f.window->statusLine())
                    .hasMatch())
        << f.window->statusLine().toStdString();
    // The line follows the lists when the event loop runs.
    auto *shown = control<QLabel>(*f.window, "StatusText");
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown->text() == f.window->statusLine(); }));

    // A screen reader hears the line itself, as a status bar: its name follows the text.
    control<QPushButton>(*f.window, "PushButton2")->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown->text() == f.window->statusLine(); }));
    QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(shown);
    EXPECT_EQ(heard->text(QAccessible::Name).toStdString(), "6 names \u00b7 0 results \u00b7 Cleared the results");
    EXPECT_EQ(heard->role(), QAccessible::StatusBar);
}

// ---- Command buttons --------------------------------------------------------------------

// Each command button runs its command; the commands' own rules are tested on the
// commands, without a window.
TEST(MainWindowCommands, EachButtonRunsItsCommand)
{
    using Fixture = MainWindowFixture;
    struct Case {
        const char *button;
        bool (*ran)(const Fixture &);
    };
    const Case cases[] = {
        {"PushButton6", [](const Fixture &f) { return f.desktop.inputs.size() == 1; }},
        {"PushButton7", [](const Fixture &f) { return f.session->inputList().count() == 5; }},
        {"PushButton1", [](const Fixture &f) { return f.session->inputList().isEmpty(); }},
        {"PushButton2", [](const Fixture &f) { return f.session->resultList().isEmpty(); }},
        {"PushButton3",
         [](const Fixture &f) {
             return f.desktop.dialogs.size() == 1 && !f.desktop.dialogs[0].save &&
                 f.desktop.dialogs[0].request.multiSelect;
         }},
        {"PushButton9", // the command asks before replacing, not the dialog
         [](const Fixture &f) {
             return f.desktop.dialogs.size() == 1 && f.desktop.dialogs[0].save &&
                 !f.desktop.dialogs[0].request.confirmOverwrite;
         }},
        {"PushButton4",
         [](const Fixture &f) {
             return f.desktop.dialogs.size() == 1 && f.desktop.dialogs[0].save &&
                 f.desktop.dialogs[0].request.confirmOverwrite;
         }},
        {"PushButton5", [](const Fixture &f) { return f.desktop.clipboardAttempts > 0; }},
        {"PushButton17", [](const Fixture &f) { return f.desktop.messageTexts() == QStringList{"Done."}; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        Fixture f;
        f.fillInput({"Ann Lee"});
        f.session->resultList().append("Bo Ray");
        control<QPushButton>(*f.window, c.button)->click();
        EXPECT_TRUE(c.ran(f));
    }
}

// ---- Keyboard ---------------------------------------------------------------------------

TEST(MainWindowKeyboard, ReturnOrEnterPressesTheFocusedButtonOnceSpaceAsBefore)
{
    struct Case {
        const char *button;
        Qt::Key key;
        bool autoRepeat;
        QStringList messages;
    };
    const QStringList done{"Done."};
    const QStringList help{"Questions? Please contact Team Velmora at https://velmora.example/orvella/support"};
    const Case cases[] = {
        {"PushButton17", Qt::Key_Return, false, done},  {"PushButton17", Qt::Key_Enter, false, done},
        {"PushButton17", Qt::Key_Space, false, done},   {"PushButton8", Qt::Key_Return, false, help},
        {"PushButton17", Qt::Key_Return, true, {}}, // a key held down presses once, not again
        {"PushButton17", Qt::Key_A, false, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.button << " key " << c.key << (c.autoRepeat ? " repeated" : ""));
        ActiveWindow f;
        f.fillInput({"Ann Lee"});
        auto *button = control<QPushButton>(*f.window, c.button);
        button->setFocus();
        QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier, QString(), c.autoRepeat);
        QKeyEvent release(QEvent::KeyRelease, c.key, Qt::NoModifier, QString(), c.autoRepeat);
        QApplication::sendEvent(button, &press);
        QApplication::sendEvent(button, &release);
        EXPECT_EQ(f.desktop.messageTexts(), c.messages);
    }
}

TEST(MainWindowKeyboard, ButtonsShowTheirCaptionsAndTakeAltLettersClearOfTheMenus)
{
    ActiveWindow f;
    MainWindow &w = *f.window;
    QSet<QChar> letters;
    for (const QAction *menu : w.menus().bar->actions())
        letters.insert(QKeySequence::mnemonic(menu->text()).toString().back());
    const qsizetype menuLetters = letters.size();
    const QList<QPushButton *> buttons = control<QWidget>(w, "ClientArea")->findChildren<QPushButton *>();
    ASSERT_GE(buttons.size(), 12);
    for (const QPushButton *button : buttons) {
        const std::string name = button->objectName().toStdString();
        const QString caption = button->text();
        EXPECT_FALSE(shownCaption(caption).trimmed().isEmpty()) << name;
        const QKeySequence key = QKeySequence::mnemonic(caption);
        if (key.isEmpty())
            continue;
        // The letter is one of the caption's, shown underlined, and no other control's.
        EXPECT_TRUE(shownCaption(caption).contains(key.toString().back(), Qt::CaseInsensitive)) << name;
        EXPECT_FALSE(letters.contains(key.toString().back())) << name << " clashes";
        letters.insert(key.toString().back());
    }
    EXPECT_GE(letters.size() - menuLetters, 10); // most buttons have a key
    f.fillInput({"Ann Lee"});
    QTest::keyClick(&w, Qt::Key_S, Qt::AltModifier); // "&Start Sorting", pressed as if clicked
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.desktop.messageTexts() == QStringList{"Done."}; }));
}

// Every control that takes the focus shows a ring of two pixels around it, in the plain
// look and in a skinned one that draws its buttons and lists itself.
TEST(MainWindowKeyboard, FocusedControlShowsARingInThePlainAndTheSkinnedLook)
{
    for (const bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skinned" : "plain");
        ActiveWindow f;
        if (skinned) {
            f.writeFile("x/o.cjs", "QPushButton { color: #ffffff; background-color: #1d4e89; border: 1px solid "
                                   "#143a66; }\nQTableView { border: 1px solid #9aa5b1; }\n");
            f.start();
            ASSERT_FALSE(f.window->styleSheet().isEmpty());
        }
        MainWindow &w = *f.window;
        control<QCheckBox>(w, "Check2")->click(); // Text1 takes the focus only while enabled
        const QColor ring = w.palette().color(QPalette::Active, QPalette::Highlight);
        const QList<QWidget *> walk = tabWalk(&w);
        ASSERT_GE(walk.size(), 2);
        for (QWidget *widget : walk) {
            SCOPED_TRACE(widget->objectName().toStdString());
            widget->setFocus(Qt::TabFocusReason);
            f.processEvents();
            auto *shown = w.findChild<FocusRing *>("FocusRing");
            ASSERT_TRUE(shown && shown->isVisible() && shown->target() == widget);
            const int out = FocusRing::kGap + FocusRing::kWidth;
            EXPECT_EQ(shown->geometry(), widget->geometry().adjusted(-out, -out, out, out));
            const QImage image = widget->parentWidget()->grab(shown->geometry()).toImage();
            const int right = image.width() - 1, bottom = image.height() - 1;
            for (const QPoint at : {QPoint(0, bottom / 2), QPoint(1, bottom / 2), QPoint(right, bottom / 2),
                                    QPoint(right - 1, bottom / 2), QPoint(right / 2, 0), QPoint(right / 2, 1),
                                    QPoint(right / 2, bottom), QPoint(right / 2, bottom - 1)})
                EXPECT_EQ(image.pixelColor(at), ring) << at.x() << "," << at.y();
        }
        // The mouse goes through the ring to the control below it.
        QWidget *focused = control<QWidget>(w, "PushButton17");
        focused->setFocus();
        const QPoint onRing = focused->geometry().topLeft() + QPoint(-FocusRing::kGap - 1, 10);
        EXPECT_NE(focused->parentWidget()->childAt(onRing), w.findChild<FocusRing *>("FocusRing"));
    }
}

// F1 opens the guide from the program's resources; it covers every control of the main
// window by its caption and every menu command by its name.
TEST(MainWindowKeyboard, F1OpensTheGuideWhichNamesEveryControl)
{
    ActiveWindow f;
    QTest::keyClick(f.window.get(), Qt::Key_F1);
    auto *help = f.window->findChild<QWidget *>("HelpWindow");
    ASSERT_TRUE(help && help->isVisible());
    auto *browser = control<QTextBrowser>(*help, "HelpText");
    const QString guide = browser->toPlainText().simplified();
    int captions = 0;
    for (const QWidget *widget : laidOutControls(control<QWidget>(*f.window, "ClientArea"))) {
        QString caption = textOf(const_cast<QWidget *>(widget));
        if (qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QProgressBar *>(widget) || caption.isEmpty())
            continue;
        caption = shownCaption(caption).remove(':');
        EXPECT_TRUE(guide.contains(caption)) << caption.toStdString();
        ++captions;
    }
    EXPECT_GE(captions, 20);
    // ...and every menu command by its name.
    for (QAction *action : f.window->menus().bar->findChildren<QAction *>()) {
        const QString name = action->text().remove('&').remove(QChar(0x2026));
        if (!action->isSeparator() && !action->menu() && !name.isEmpty())
            EXPECT_TRUE(guide.contains(name)) << name.toStdString();
    }
    // A link of the contents moves within the guide; a web address goes to the desktop.
    emit browser->anchorClicked(QUrl("#keyboard"));
    EXPECT_EQ(browser->source().fragment(), "keyboard");
    EXPECT_EQ(browser->toPlainText().simplified(), guide);
    emit browser->anchorClicked(QUrl("https://velmora.example/orvella/support"));
    EXPECT_EQ(f.desktop.openedUrls, QStringList{"https://velmora.example/orvella/support"});
    EXPECT_EQ(browser->source().fragment(), "keyboard");
    EXPECT_EQ(f.window->mnuHelpContents_Click(), help); // one window, raised again
}

// The result list's accessible description follows its current row; Shift+F1 says in a
// message what the selected result was sorted under, or that none is selected.
TEST(MainWindowKeyboard, WhyHereExplainsTheSelectedResult)
{
    ActiveWindow f;
    MainWindow &w = *f.window;
    f.fillInput({"John Smith Jr.", "Ann Lee"});
    control<QPushButton>(w, "PushButton17")->click();
    ASSERT_EQ(f.results(), (QStringList{"Ann Lee", "John Smith Jr."}));
    f.processEvents(); // the rows reach the view
    auto *results = control<ui::NameListView>(w, "ListView2");
    const QString described = results->accessibleDescription();

    QTest::keyClick(&w, Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_EQ(f.desktop.messages.size(), 2u);
    const QString message1 = f.desktop.messages[1].text;
    EXPECT_TRUE(message1.startsWith("No result is selected")) << message1.toStdString();

    results->setFocus();
    results->setCurrentIndex(results->model()->index(1, 0));
    EXPECT_EQ(results->accessibleDescription(), "Sorted under: Smith Jr., then: John");
    QTest::keyClick(&w, Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_EQ(f.desktop.messages.size(), 3u);
    const QString message2 = f.desktop.messages[2].text;
    EXPECT_TRUE(message2.contains("Sorted under: Smith Jr.")) << message2.toStdString();
    QTest::keyClick(results, Qt::Key_Up);
    EXPECT_TRUE(results->accessibleDescription().startsWith("Sorted under: Lee"));

    control<QPushButton>(w, "PushButton2")->click(); // Clear Results
    EXPECT_EQ(results->accessibleDescription(), described);
}

// The small windows open wholly on the screen, even from a main window in its corner,
// and Escape closes each of them.
TEST(MainWindowKeyboard, SmallWindowsOpenOnTheScreenAndCloseOnEscape)
{
    const std::pair<const char *, QWidget *(*)(MainWindow &)> openers[] = {
        {"How Names Are Read", [](MainWindow &w) { return w.mnuHowNamesAreRead_Click(); }},
        {"Particle List", [](MainWindow &w) { return w.mnuEditParticles_Click(); }},
        {"Orvella Help", [](MainWindow &w) { return w.mnuHelpContents_Click(); }},
        {"Suffix List", [](MainWindow &w) -> QWidget * {
             w.PushButton15_Click();
             return &w.suffixEditor();
         }},
    };
    for (const auto &[title, open] : openers) {
        SCOPED_TRACE(title);
        ActiveWindow f;
        MainWindow &w = *f.window;
        const QRect available = w.screen()->availableGeometry();
        w.move(available.bottomRight() - QPoint(200, 150));
        QPointer<QWidget> window = open(w);
        f.processEvents();
        ASSERT_TRUE(window && window->isVisible());
        EXPECT_EQ(window->windowTitle(), title);
        const QRect frame = window->frameGeometry();
        EXPECT_TRUE(available.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                               << frame.height() << " on " << available.width() << "x"
                                               << available.height();
        window->activateWindow();
        f.processEvents();
        ASSERT_EQ(QApplication::activeWindow(), window.data());
        QTest::keyClick(window->focusWidget() ? window->focusWidget() : window.data(), Qt::Key_Escape);
        EXPECT_TRUE(!window || !window->isVisible());
    }
}

// Every control that takes the focus, and every list, of every window has a name a
// screen reader can say.
TEST(MainWindowKeyboard, EveryFocusableControlOfEveryWindowHasAnAccessibleName)
{
    StartedWindow f;
    f.start();
    MainWindow &w = *f.window;
    const QList<QWidget *> windows{&w, &w.suffixEditor(), w.mnuHowNamesAreRead_Click(), w.mnuEditParticles_Click(),
                                   w.mnuHelpContents_Click()};
    for (QWidget *window : windows) {
        QStringList unnamed;
        QList<QWidget *> widgets = window->findChildren<QWidget *>();
        widgets.prepend(window);
        for (QWidget *widget : widgets) {
            if (widget->isWindow() && widget != window)
                continue; // another window, walked on its own
            const bool focusable = widget->focusPolicy() != Qt::NoFocus;
            const bool list = qobject_cast<QAbstractItemView *>(widget) && !qobject_cast<QHeaderView *>(widget);
            if ((focusable || list) && widget->accessibleName().isEmpty())
                unnamed << QStringLiteral("%1 (%2)").arg(widget->objectName(), widget->metaObject()->className());
        }
        EXPECT_EQ(unnamed, QStringList{}) << window->windowTitle().toStdString();
    }
}

// ---- Progress bar and long names ------------------------------------------------------

TEST(MainWindowProgress, BarShowsTheTextVerbatimAndCutsWhatIsLong)
{
    const QString megabyteName = QStringLiteral("Ann %p ") + QString(1 << 20, QLatin1Char('x'));
    const struct {
        QString text;
        QString shown;
    } cases[] = {
        {"Processing: Ann %p Lee", "Processing: Ann %p Lee"},
        {"Writing file: 100%v%m%%.txt", "Writing file: 100%v%m%%.txt"},
        {"Processing: %", "Processing: %"},
        {megabyteName, megabyteName.left(orvella::core::kShownLength) + QChar(0x2026)},
    };
    MainWindowFixture f;
    for (const auto &c : cases) {
        f.session->progress().setPosition(40);
        f.session->progress().setText(c.text);
        f.processEvents();
        EXPECT_EQ(control<QProgressBar>(*f.window, "ProgressBar1")->text(), c.shown) << c.text.left(40).toStdString();
        EXPECT_EQ(f.session->progress().text(), c.text); // kept whole
    }
}

// The longest text that any control of the window or of the suffix list editor has
// been given to show: captions, labels, tooltips, the progress bar and the list rows.
qsizetype longestShownText(QWidget *window)
{
    qsizetype longest = window->windowTitle().size();
    for (QWidget *w : window->findChildren<QWidget *>()) {
        for (const QString &text : {w->toolTip(), w->statusTip(), w->whatsThis(), w->accessibleName(),
                                    w->accessibleDescription(), textOf(w)})
            longest = std::max(longest, text.size());
        if (auto *label = qobject_cast<QLabel *>(w))
            longest = std::max(longest, label->text().size());
        if (auto *bar = qobject_cast<QProgressBar *>(w))
            longest = std::max(longest, bar->text().size());
        if (auto *list = qobject_cast<ui::NameListView *>(w)) {
            for (int row = 0; row < list->model()->rowCount(); ++row)
                for (int role : {Qt::DisplayRole, Qt::ToolTipRole, Qt::StatusTipRole})
                    longest = std::max(longest, list->model()->index(row, 0).data(role).toString().size());
        }
    }
    return longest;
}

TEST(MainWindowProgress, AMultiMegabyteNameIsNeverGivenWholeToAControl)
{
    StartedWindow f;
    f.start();
    app::SuffixEditor &editor = f.window->suffixEditor();
    const QString name = QStringLiteral("Ann %p%v%m ") + QString(3 << 20, QLatin1Char('x')) + QStringLiteral(" Lee");
    editor.liveList().model().append(name);
    f.fillInput({"Bo Ray", name, "Cy Dee"});
    f.window->show();
    editor.show();
    qsizetype longest = 0;
    int looks = 0;
    f.desktop.onEveryYield = [&] {
        f.processEvents();
        longest = std::max({longest, longestShownText(f.window.get()), longestShownText(&editor)});
        ++looks;
    };
    control<QPushButton>(*f.window, "PushButton17")->click();
    f.processEvents();
    longest = std::max({longest, longestShownText(f.window.get()), longestShownText(&editor)});
    // The current result's explanation becomes the list's accessible description.
    auto *results = control<ui::NameListView>(*f.window, "ListView2");
    for (int row = 0; row < results->model()->rowCount(); ++row) {
        results->setCurrentIndex(results->model()->index(row, 0));
        longest = std::max(longest, longestShownText(f.window.get()));
    }

    EXPECT_EQ(f.results().size(), 3);
    EXPECT_GE(looks, 3);
    EXPECT_LE(longest, 2 * (orvella::core::kShownLength + 1));
}

// ---- Hover pointer --------------------------------------------------------------------

struct HoverWindow : StartedWindow {
    HoverWindow()
    {
        start();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    // Moves the mouse over a point of a control, through the window system.
    void moveOver(QWidget *control, QPoint at = QPoint(-1, -1))
    {
        if (at == QPoint(-1, -1))
            at = control->rect().center();
        QTest::mouseMove(window->windowHandle(), control->mapTo(window.get(), at));
        processEvents();
    }
    Pointer pointer() const { return session->pointer().pointer(); }
};

TEST(MainWindowHover, HandOverPushButtonsArrowOverBackgroundFramesAndLists)
{
    HoverWindow f;
    MainWindow &w = *f.window;
    const QPoint frame3Empty(control<QGroupBox>(w, "Frame3")->width() - 4,
                             control<QGroupBox>(w, "Frame3")->height() - 4);
    ASSERT_EQ(control<QGroupBox>(w, "Frame3")->childAt(frame3Empty), nullptr);
    // The client area is the window's own background under the menu bar.
    QWidget *client = control<QWidget>(w, "ClientArea");
    const QRect left = control<QWidget>(w, "ListView1")->geometry();
    const QRect right = control<QWidget>(w, "ListView2")->geometry();
    const QPoint background((left.right() + right.left()) / 2, right.center().y()); // between the two columns
    ASSERT_EQ(client->childAt(background), nullptr);

    const QList<QPushButton *> buttons = client->findChildren<QPushButton *>();
    ASSERT_GE(buttons.size(), 12);
    for (QPushButton *button : buttons) {
        f.moveOver(control<ui::NameListView>(w, "ListView1"));
        ASSERT_EQ(f.pointer(), Pointer::Default);
        f.moveOver(button);
        EXPECT_EQ(f.pointer(), Pointer::Custom) << button->text().toStdString();
    }
    EXPECT_EQ(f.desktop.pointers.back(), Pointer::Custom); // shown through the desktop

    // The hand stays over controls that do not change it...
    for (QWidget *neutral :
         std::initializer_list<QWidget *>{control<QRadioButton>(w, "Option3"), control<QCheckBox>(w, "Check1"),
                                          control<QLineEdit>(w, "Text1"), control<QProgressBar>(w, "ProgressBar1")}) {
        f.moveOver(control<QPushButton>(w, "PushButton15"));
        f.moveOver(neutral);
        EXPECT_EQ(f.pointer(), Pointer::Custom) << textOf(neutral).toStdString();
    }
    // ...and goes over the background, a frame's own area and a list.
    f.moveOver(control<QGroupBox>(w, "Frame3"), frame3Empty);
    EXPECT_EQ(f.pointer(), Pointer::Default);
    f.moveOver(control<QPushButton>(w, "PushButton17"));
    f.moveOver(client, background);
    EXPECT_EQ(f.pointer(), Pointer::Default);
    f.moveOver(control<QPushButton>(w, "PushButton17"));
    f.moveOver(control<ui::NameListView>(w, "ListView2"));
    EXPECT_EQ(f.pointer(), Pointer::Default);
    f.moveOver(control<QPushButton>(w, "PushButton17"));
    f.moveOver(control<ui::NameListView>(w, "ListView1")->header());
    EXPECT_EQ(f.pointer(), Pointer::Default);
    f.moveOver(control<QPushButton>(w, "PushButton17"));
    f.moveOver(control<QGroupBox>(w, "Frame1"),
               QPoint(control<QGroupBox>(w, "Frame1")->width() - 4, control<QGroupBox>(w, "Frame1")->height() - 4));
    EXPECT_EQ(f.pointer(), Pointer::Default);
}

TEST(MainWindowHover, BusyPointerIsLeftAlone)
{
    HoverWindow f;
    MainWindow &w = *f.window;
    f.session->pointer().set(Pointer::Busy);
    for (QWidget *over : std::initializer_list<QWidget *>{
             control<QPushButton>(w, "PushButton17"), control<ui::NameListView>(w, "ListView2"),
             control<QGroupBox>(w, "Frame2"), control<QPushButton>(w, "PushButton8")}) {
        f.moveOver(over);
        EXPECT_EQ(f.pointer(), Pointer::Busy);
    }
    f.session->pointer().set(Pointer::Default);
    f.moveOver(control<QPushButton>(w, "PushButton17"));
    EXPECT_EQ(f.pointer(), Pointer::Custom);
}

TEST(SaveResultsAsExcelFile, ButtonRunsTheCommand)
{
    MainWindowFixture f;
    CallLog log;
    f.desktop.spreadsheetFactory = [&log] { return std::make_unique<RecordingSpreadsheet>(log); };
    f.session->resultList().append("Ann Lee");
    control<QPushButton>(*f.window, "PushButton13")->click();
    EXPECT_EQ(log.calls, QStringList({"addWorkbook", "cell 1 1 Result(s)", "fit 1", "cell 2 1 Ann Lee", "fitAll",
                                      "visible"}));
}

} // namespace

// ---- Undo and Redo -----------------------------------------------------------------

namespace {

struct UndoCase {
    const char *command; // the step's name in the Edit menu
    std::function<void(MainWindowFixture &)> run;
};

class UndoRedo : public ::testing::TestWithParam<UndoCase> {};

std::pair<QStringList, QStringList> bothLists(MainWindowFixture &f)
{
    MainWindowFixture::processEvents();
    return {f.session->inputList().items(), f.session->resultList().items()};
}

QAbstractButton *buttonNamed(MainWindowFixture &f, const char *name)
{
    return f.window->findChild<QAbstractButton *>(QLatin1String(name));
}

} // namespace

// Each command's change to either list is one step: Undo gives the lists back as they
// were, Redo as the command left them, and the menu names the step.
TEST_P(UndoRedo, TakesEachCommandBackAndMakesItAgain)
{
    const UndoCase c = GetParam();
    MainWindowFixture f;
    f.fillInput({"Cy Ray", "Al Bo", "Ed Fox"});
    buttonNamed(f, "PushButton17")->click(); // results: a step of its own
    const auto before = bothLists(f);
    const MainMenus &menus = f.window->menus();

    c.run(f);
    const auto after = bothLists(f);
    ASSERT_NE(after, before) << c.command;
    EXPECT_EQ(menus.undo->text(), QStringLiteral("&Undo %1").arg(c.command));

    menus.undo->trigger();
    EXPECT_EQ(bothLists(f), before) << c.command;
    EXPECT_EQ(menus.redo->text(), QStringLiteral("&Redo %1").arg(c.command));
    menus.redo->trigger();
    EXPECT_EQ(bothLists(f), after) << c.command;
    menus.undo->trigger();
    EXPECT_EQ(bothLists(f), before) << c.command;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, UndoRedo,
    ::testing::Values(
        UndoCase{"Clear List", [](MainWindowFixture &f) { buttonNamed(f, "PushButton1")->click(); }},
        UndoCase{"Clear Results", [](MainWindowFixture &f) { buttonNamed(f, "PushButton2")->click(); }},
        UndoCase{"Add One Name",
                 [](MainWindowFixture &f) {
                     f.desktop.inputAnswers = {"Zed Ames\nBo Cole"}; // a pasted list
                     buttonNamed(f, "PushButton6")->click();
                 }},
        UndoCase{"Load Sample/Example Names", [](MainWindowFixture &f) { buttonNamed(f, "PushButton7")->click(); }},
        UndoCase{"Start Sorting",
                 [](MainWindowFixture &f) {
                     buttonNamed(f, "Option2")->click(); // First/Last: a new order
                     buttonNamed(f, "PushButton17")->click();
                 }},
        UndoCase{"Remove Name",
                 [](MainWindowFixture &f) {
                     f.session->inputList().select(2);
                     emit f.window->findChild<ui::NameListView *>(QStringLiteral("ListView1"))->deletePressed();
                 }},
        UndoCase{"Remove Result", [](MainWindowFixture &f) {
                     f.session->resultList().select(1);
                     emit f.window->findChild<ui::NameListView *>(QStringLiteral("ListView2"))->doubleClickedAnywhere();
                 }}));

TEST(UndoRedo, NothingToTakeBackWhileACommandRuns)
{
    MainWindowFixture f;
    f.fillInput({"Cy Ray", "Al Bo"});
    buttonNamed(f, "PushButton1")->click();
    const MainMenus &menus = f.window->menus();
    bool undoableDuringSort = true;
    f.session->inputList().append(QStringLiteral("Ed Fox"));
    f.desktop.onEveryYield = [&] { undoableDuringSort = undoableDuringSort && menus.undo->isEnabled(); };
    buttonNamed(f, "PushButton17")->click();
    f.desktop.onEveryYield = {};
    EXPECT_FALSE(undoableDuringSort);
    EXPECT_TRUE(menus.undo->isEnabled());
}


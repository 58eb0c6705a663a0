// A user clicking while a long command yields to the window system: the commands that
// stay usable act at once, the ones that test the busy pointer wait, and the running
// command ends with the result its own rules give. Everything goes through the real
// main window: its buttons, its list views and its option controls.

#include "app/MainWindow.h"
#include "core/ErrorReport.h"
#include "core/PointerState.h"
#include "core/ProgressState.h"
#include "commands/ExportCommands.h"
#include "commands/ListFileCommands.h"
#include "lists/NameListModel.h"
#include "ui/NameListView.h"
#include "commands/SortCommand.h"
#include "ui/support/Controls.h"
#include "app/support/WindowFixtures.h"
#include "support/Files.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include <unistd.h>

using namespace orvella;
using namespace orvella::testing;

namespace {

const QStringList kSamples = {"Peter Tavrin", "John Smith Jr.", "Joe Tavrin", "Mr. Joe Tavrin"};
const QString kCopied = QStringLiteral("Results have been copied to the clipboard.\r\r"
                                       "Click a text area where you normally type and press Ctrl+V to paste the "
                                       "clipboard.");
const QString kNotCopied = QStringLiteral("The results could not be copied to the clipboard. Please try again.");
// The name the scripted input box gives to Add One Name; it would sort first.
const QString kAdded = QStringLiteral("Dee Aaron");

// What a user can do while a command yields. Every one goes through a control of the
// window as a click or a key press would.
enum class Act {
    StartSorting,
    AddOneName,
    LoadSamples,
    ClearList,
    ClearResults,
    DeleteInNames,      // Delete key on ListView1, item 1 selected
    DoubleClickNames,   // double-click on ListView1, item 1 selected
    DeleteInResults,    // Delete key on ListView2, item 1 selected
    DoubleClickResults, // double-click on ListView2, item 1 selected
    FirstLast,          // "Sort by First/Last"
    TickDuplicates,     // Check5
    TickUnique,         // Check1
    LimitToThree,       // Text1 := "3"
    SaveResults,        // Save Results As Text File, into the fixture's folder
    CopyResults,
    FirstLastThenStartSorting,
};

// The real window, started and shown, over the scripted desktop.
struct ReentryFixture : MainWindowFixture {
    QTemporaryDir folder;
    bool acted = false;

    ReentryFixture()
    {
        window->Form_Load(folder.path()); // no skin or pointer file there
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QString path(const QString &name) const { return folder.filePath(name); }
    lists::NameListModel &input() { return session->inputList(); }
    lists::NameListModel &resultModel() { return session->resultList(); }

    static void click(QAbstractButton *button)
    {
        // On the caption: option buttons and check boxes take clicks on their text.
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, button->height() / 2));
    }
    static void doubleClick(ui::NameListView *view)
    {
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    }

    void act(Act what)
    {
        acted = true;
        app::MainWindow &w = *window;
        switch (what) {
        case Act::StartSorting: click(control<QPushButton>(w, "PushButton17")); break;
        case Act::AddOneName:
            desktop.inputAnswers.push_back(kAdded);
            click(control<QPushButton>(w, "PushButton6"));
            break;
        case Act::LoadSamples: click(control<QPushButton>(w, "PushButton7")); break;
        case Act::ClearList: click(control<QPushButton>(w, "PushButton1")); break;
        case Act::ClearResults: click(control<QPushButton>(w, "PushButton2")); break;
        case Act::DeleteInNames:
            input().select(1);
            QTest::keyClick(control<ui::NameListView>(w, "ListView1"), Qt::Key_Delete);
            break;
        case Act::DoubleClickNames:
            input().select(1);
            doubleClick(control<ui::NameListView>(w, "ListView1"));
            break;
        case Act::DeleteInResults:
            resultModel().select(1);
            QTest::keyClick(control<ui::NameListView>(w, "ListView2"), Qt::Key_Delete);
            break;
        case Act::DoubleClickResults:
            resultModel().select(1);
            doubleClick(control<ui::NameListView>(w, "ListView2"));
            break;
        case Act::FirstLast: click(control<QRadioButton>(w, "Option2")); break;
        case Act::TickDuplicates: click(control<QCheckBox>(w, "Check5")); break;
        case Act::TickUnique: click(control<QCheckBox>(w, "Check1")); break;
        case Act::LimitToThree:
            control<QLineEdit>(w, "Text1")->selectAll();
            QTest::keyClicks(control<QLineEdit>(w, "Text1"), "3");
            break;
        case Act::SaveResults:
            desktop.saveAnswers.push_back(path("during.txt"));
            click(control<QPushButton>(w, "PushButton4"));
            break;
        case Act::CopyResults: click(control<QPushButton>(w, "PushButton5")); break;
        case Act::FirstLastThenStartSorting:
            click(control<QRadioButton>(w, "Option2"));
            click(control<QPushButton>(w, "PushButton17"));
            break;
        }
    }

    // Runs the action at the yield with this number (counted from the next yield on).
    void actAt(int yield, Act what)
    {
        desktop.yields = 0;
        desktop.atYield(yield, [this, what] { act(what); });
    }

    void sort() { click(control<QPushButton>(*window, "PushButton17")); }
    void saveResults(const QString &file)
    {
        desktop.saveAnswers.push_back(file);
        click(control<QPushButton>(*window, "PushButton4"));
    }
    void copyResults() { click(control<QPushButton>(*window, "PushButton5")); }

    QStringList reportLocations() const
    {
        QStringList locations;
        for (const auto &report : desktop.errorReports()) {
            const qsizetype at = report.text.indexOf(QStringLiteral("in Orvella2021/08/31."));
            locations << report.text.mid(at + 21, report.text.indexOf(QLatin1Char('\r'), at) - at - 21);
        }
        return locations;
    }
};

// ---- At the yields of a sort run ---------------------------------------------------------
//
// A run over N names yields once per name while it builds keys (yields 1..N), once when
// the sort starts (N + 1) and once before each sorted key goes to the result list
// (N + 2 onwards). An action at yield k of the key building acts before name k's key is
// built; at yield N + 1 + k before result k is appended.

struct SortCase {
    const char *name;
    Act act;
    int atYield;
    QStringList input;
    QStringList results;
    QStringList inputAfter; // empty: as before the run
    QStringList messages = {"Done."};
};

const QStringList kThree = {"Cy Abel", "Al Zorn", "Bo Mott"}; // Last/First: Abel, Mott, Zorn
const QStringList kThreeSorted = {"Cy Abel", "Bo Mott", "Al Zorn"};

void PrintTo(const SortCase &c, std::ostream *os) { *os << c.name; }

class DuringSortRun : public ::testing::TestWithParam<SortCase> {};

TEST_P(DuringSortRun, RunEndsAsItsRulesSay)
{
    const SortCase &c = GetParam();
    ReentryFixture f;
    f.fillInput(c.input);
    f.actAt(c.atYield, c.act);
    f.sort();

    ASSERT_TRUE(f.acted) << "the run never reached yield " << c.atYield;
    EXPECT_EQ(f.results(), c.results);
    EXPECT_EQ(itemsOf(f.input()), c.inputAfter.isEmpty() ? c.input : c.inputAfter);
    EXPECT_EQ(f.desktop.messageTexts(), c.messages);
    EXPECT_EQ(f.session->pointer().pointer(), core::Pointer::Default);
    EXPECT_EQ(f.session->progress().text(), core::ProgressState::kIdleText);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DuringSortRun,
    ::testing::Values(
        // A second Start Sorting while one runs does nothing, whatever the phase.
        SortCase{"StartSortingWhileKeysAreBuilt", Act::StartSorting, 2, kThree, kThreeSorted},
        SortCase{"StartSortingWhenTheSortStarts", Act::StartSorting, 4, kThree, kThreeSorted},
        SortCase{"StartSortingWhileResultsAreShown", Act::StartSorting, 6, kThree, kThreeSorted},
        // Names added meanwhile stay in the input list but are not part of this run.
        SortCase{"AddOneNameWhileKeysAreBuilt", Act::AddOneName, 2, kThree, kThreeSorted, kThree + QStringList{kAdded}},
        SortCase{"AddOneNameWhileResultsAreShown", Act::AddOneName, 6, kThree, kThreeSorted,
                 kThree + QStringList{kAdded}},
        SortCase{"LoadSamplesWhileKeysAreBuilt", Act::LoadSamples, 1, kThree, kThreeSorted, kThree + kSamples},
        // The busy pointer keeps Clear List and the removals away from both lists.
        SortCase{"ClearListWhileKeysAreBuilt", Act::ClearList, 2, kThree, kThreeSorted},
        SortCase{"ClearListWhileResultsAreShown", Act::ClearList, 6, kThree, kThreeSorted},
        SortCase{"DeleteInNamesWhileKeysAreBuilt", Act::DeleteInNames, 2, kThree, kThreeSorted},
        SortCase{"DoubleClickNamesWhileKeysAreBuilt", Act::DoubleClickNames, 3, kThree, kThreeSorted},
        SortCase{"DeleteInResultsWhileResultsAreShown", Act::DeleteInResults, 6, kThree, kThreeSorted},
        SortCase{"DoubleClickResultsWhileResultsAreShown", Act::DoubleClickResults, 7, kThree, kThreeSorted},
        // Clear Results: before the output phase the run clears the list again anyway;
        // during it the list is emptied and the run goes on appending.
        SortCase{"ClearResultsWhileKeysAreBuilt", Act::ClearResults, 2, kThree, kThreeSorted},
        SortCase{"ClearResultsWhenTheSortStarts", Act::ClearResults, 4, kThree, kThreeSorted},
        SortCase{"ClearResultsBeforeTheSecondResult", Act::ClearResults, 6, kThree, {"Bo Mott", "Al Zorn"}},
        SortCase{"ClearResultsBeforeTheLastResult", Act::ClearResults, 7, kThree, {"Al Zorn"}},
        // The reading is read for every name: keys built before the click stay in the
        // Last/First form, and every result shown after it is revealed First/Last.
        SortCase{"FirstLastBeforeTheFirstKey", Act::FirstLast, 1, kThree, {"Al Zorn", "Bo Mott", "Cy Abel"}},
        SortCase{"FirstLastBeforeTheSecondKey", Act::FirstLast, 2, kThree, {"Abel Cy", "Al Zorn", "Bo Mott"}},
        SortCase{"FirstLastBeforeTheSecondResult", Act::FirstLast, 6, kThree, {"Cy Abel", "Mott Bo", "Zorn Al"}},
        // The filters too: a box ticked midway acts from the next name or key on, and
        // what passed before it was ticked was not recorded by it.
        SortCase{"DuplicatesTickedBeforeTheSecondName", Act::TickDuplicates, 2,
                 {"Ann Lee", "Ann Lee", "Bo Ray", "Ann Lee"}, {"Ann Lee", "Ann Lee", "Bo Ray"}},
        SortCase{"DuplicatesTickedBeforeTheFirstName", Act::TickDuplicates, 1,
                 {"Ann Lee", "Ann Lee", "Bo Ray", "Ann Lee"}, {"Ann Lee", "Bo Ray"}},
        SortCase{"UniqueTickedBeforeTheSecondResult", Act::TickUnique, 7,
                 {"Cy Abel", "Al Zorn", "Bo Abel", "Di Abel"}, {"Bo Abel", "Cy Abel", "Al Zorn"}},
        SortCase{"UniqueTickedWhenTheSortStarts", Act::TickUnique, 5,
                 {"Cy Abel", "Al Zorn", "Bo Abel", "Di Abel"}, {"Bo Abel", "Al Zorn"}}),
    [](const ::testing::TestParamInfo<SortCase> &info) { return std::string(info.param.name); });

// The limit is read each time a name joins its group, so a new number counts from the
// next name on.
TEST(DuringSortRun, LimitChangedWhileResultsAreShown)
{
    ReentryFixture f;
    ReentryFixture::click(control<QCheckBox>(*f.window, "Check2"));
    control<QLineEdit>(*f.window, "Text1")->selectAll();
    QTest::keyClicks(control<QLineEdit>(*f.window, "Text1"), "1");
    f.fillInput({"D X", "C X", "B X", "A X", "E Y"});
    // Yields 1-5 build keys, 6 starts the sort; 8 comes before the second result.
    f.actAt(8, Act::LimitToThree);
    f.sort();
    ASSERT_TRUE(f.acted);
    EXPECT_EQ(f.results(), (QStringList{"A X", "B X", "C X", "E Y"}));
    EXPECT_EQ(f.settings.values.value("Text1"), "3");
    EXPECT_TRUE(f.desktop.errorReports().empty());
}

// An option click during a run is stored at once, like any other click.
TEST(DuringSortRun, OptionClickIsStoredAtOnce)
{
    ReentryFixture f;
    f.fillInput(kThree);
    f.settings.writes.clear();
    QStringList storedAtClick;
    f.desktop.atYield(3, [&] {
        ReentryFixture::click(control<QRadioButton>(*f.window, "Option2"));
        storedAtClick = f.settings.writes;
    });
    f.sort();
    EXPECT_EQ(storedAtClick, (QStringList{"Option1=False", "Option2=True"}));
    EXPECT_FALSE(control<QGroupBox>(*f.window, "Frame3")->isEnabled());
}

// Saving or copying while results are being shown takes the results there are so far;
// the run then goes on and completes the list.
TEST(DuringSortRun, SaveResultsTakesTheResultsShownSoFar)
{
    ReentryFixture f;
    f.fillInput(kThree);
    f.actAt(7, Act::SaveResults); // before the third result
    f.sort();
    ASSERT_TRUE(f.acted);
    EXPECT_EQ(readBytes(f.path("during.txt")), "Result(s)\t\r\nCy Abel  \t\r\nBo Mott  \t\r\n");
    EXPECT_EQ(f.results(), kThreeSorted);
    EXPECT_EQ(f.desktop.messageTexts(), QStringList{"Done."});
    EXPECT_TRUE(f.desktop.errorReports().empty());
}

TEST(DuringSortRun, CopyTakesTheResultsShownSoFar)
{
    ReentryFixture f;
    f.fillInput(kThree);
    f.actAt(7, Act::CopyResults);
    f.sort();
    ASSERT_TRUE(f.acted);
    EXPECT_EQ(f.desktop.clipboard, "Cy Abel\r\nBo Mott\r\n");
    EXPECT_EQ(f.results(), kThreeSorted);
    EXPECT_EQ(f.desktop.messageTexts(), (QStringList{kCopied, "Done."}));
}

// ---- At the yields of Save Results As Text File --------------------------------------------
//
// With three results the writer yields twice around each progress update (1-2 at 1 %,
// 6-7 at 10 %, 9-10 at 20 %), once before measuring each item (3-5), once before the
// header's column (8), and four times for each item line (11-14, 15-18, 19-22).

const QByteArray kSavedThree = "Result(s)\t\r\nCy Abel  \t\r\nBo Mott  \t\r\nAl Zorn  \t\r\n";

struct SaveCase {
    const char *name;
    Act act;
    int atYield;
    QByteArray file;         // the saved file afterwards
    QStringList locations; // where the error reports point
    QStringList messages;  // the other message boxes, first line of each
};

void PrintTo(const SaveCase &c, std::ostream *os) { *os << c.name; }

class DuringResultsSave : public ::testing::TestWithParam<SaveCase> {};

TEST_P(DuringResultsSave, FileHoldsWhatTheRulesSay)
{
    const SaveCase &c = GetParam();
    ReentryFixture f;
    f.fillInput(kThree);
    f.sort();
    ASSERT_EQ(f.results(), kThreeSorted);
    const QString target = f.path("results.txt");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old\r\n");
    }
    f.desktop.messages.clear();
    const QStringList inputBefore = itemsOf(f.input());

    f.actAt(c.atYield, c.act);
    f.saveResults(target);

    ASSERT_TRUE(f.acted) << "the save never reached yield " << c.atYield;
    EXPECT_EQ(readBytes(target), c.file);
    EXPECT_EQ(f.reportLocations(), c.locations);
    QStringList shown;
    for (const auto &message : f.desktop.messages) {
        if (message.title != QLatin1String(core::kErrorReportTitle))
            shown << message.text.section(QLatin1Char('\r'), 0, 0);
    }
    EXPECT_EQ(shown, c.messages);
    EXPECT_EQ(f.session->pointer().pointer(), core::Pointer::Default);
    // Only the temporary file of a save ever stands next to the target, and not afterwards.
    QStringList files = QDir(f.folder.path()).entryList(QDir::Files | QDir::Hidden);
    files.removeAll("during.txt");
    EXPECT_EQ(files, QStringList{"results.txt"});

    // What the action did to the lists themselves.
    switch (c.act) {
    case Act::AddOneName: EXPECT_EQ(itemsOf(f.input()), inputBefore + QStringList{kAdded}); break;
    case Act::LoadSamples: EXPECT_EQ(itemsOf(f.input()), inputBefore + kSamples); break;
    case Act::ClearResults: EXPECT_TRUE(f.results().isEmpty()); break;
    default:
        EXPECT_EQ(itemsOf(f.input()), inputBefore);
        EXPECT_EQ(f.results(), kThreeSorted);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, DuringResultsSave,
    ::testing::Values(
        // Commands on the input list leave the file alone.
        SaveCase{"AddOneName", Act::AddOneName, 15, kSavedThree, {}, {}},
        SaveCase{"LoadSamples", Act::LoadSamples, 4, kSavedThree, {}, {}},
        // The busy pointer keeps Clear List and the removals away.
        SaveCase{"ClearList", Act::ClearList, 15, kSavedThree, {}, {}},
        SaveCase{"DeleteInNames", Act::DeleteInNames, 15, kSavedThree, {}, {}},
        SaveCase{"DeleteInResults", Act::DeleteInResults, 4, kSavedThree, {}, {}},
        SaveCase{"DoubleClickResults", Act::DoubleClickResults, 15, kSavedThree, {}, {}},
        SaveCase{"OptionClick", Act::FirstLast, 15, kSavedThree, {}, {}},
        // A sort over the same names puts the same results back in place.
        SaveCase{"StartSorting", Act::StartSorting, 15, kSavedThree, {}, {"Done."}},
        // Results that vanish: the save is abandoned with its report and the old file stays.
        SaveCase{"ClearResultsWhileMeasuring", Act::ClearResults, 4, "old\r\n",
                 {"Form1.PushButton4_Click at line 120"}, {}},
        SaveCase{"ClearResultsWhileWriting", Act::ClearResults, 15, "old\r\n",
                 {"Form1.PushButton4_Click at line 120"}, {}},
        // Copying meanwhile reads the same results.
        SaveCase{"CopyResults", Act::CopyResults, 15, kSavedThree, {}, {"Results have been copied to the clipboard."}}),
    [](const ::testing::TestParamInfo<SaveCase> &info) { return std::string(info.param.name); });

// Saving again into the same file while the first save yields: both complete, and the
// file holds the results once.
TEST(DuringResultsSave, SecondSaveIntoTheSameFile)
{
    ReentryFixture f;
    f.fillInput(kThree);
    f.sort();
    const QString target = f.path("results.txt");
    f.desktop.yields = 0;
    f.desktop.atYield(15, [&] { f.saveResults(target); });
    f.saveResults(target);
    EXPECT_EQ(readBytes(target), kSavedThree);
    EXPECT_TRUE(f.desktop.errorReports().empty());
    EXPECT_EQ(QDir(f.folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"results.txt"});
}

// Closing the window while either save writes: the program ends only once the file is
// whole, whether it is replaced or (a second name on it) written in place.
TEST(DuringSaves, ClosingTheWindowEndsTheProgramOnlyOnceTheFileIsWhole)
{
    for (const bool results : {false, true})
    for (const bool linked : {false, true}) {
        SCOPED_TRACE(std::string(results ? "results" : "names") + (linked ? " linked" : ""));
        ReentryFixture f;
        f.fillInput(kThree);
        f.sort();
        const QString target = f.path("out.txt");
        writeBytes(target, "old\r\n");
        if (linked)
            ASSERT_EQ(::link(QFile::encodeName(target).constData(), QFile::encodeName(f.path("link.txt")).constData()), 0);
        QByteArray whenEnded = "<the program did not end>";
        f.desktop.onEndProgram = [&] { whenEnded = readBytes(target); };
        f.desktop.yields = 0;
        f.desktop.atYield(results ? 15 : 2, [&] { f.window->close(); }); // while lines are written
        f.desktop.saveAnswers.push_back(target);
        ReentryFixture::click(control<QPushButton>(*f.window, results ? "PushButton4" : "PushButton9"));
        EXPECT_EQ(f.desktop.endProgramCalls, 0);
        QCoreApplication::processEvents();
        EXPECT_EQ(f.desktop.endProgramCalls, 1);
        EXPECT_EQ(whenEnded, results ? kSavedThree : QByteArray("Cy Abel\r\nAl Zorn\r\nBo Mott\r\n"));
    }
}

// Save List Of Names To File reads the count once: names added while it writes stay in
// the list but not in the file.
TEST(DuringNamesSave, NamesAddedMeanwhileAreNotWritten)
{
    for (const Act act : {Act::AddOneName, Act::LoadSamples}) {
        SCOPED_TRACE(act == Act::AddOneName ? "Add One Name" : "Load Sample Names");
        ReentryFixture f;
        f.fillInput({"Ann", "Bob"});
        f.actAt(1, act); // before the first name is written
        f.desktop.saveAnswers.push_back(f.path("names.txt"));
        ReentryFixture::click(control<QPushButton>(*f.window, "PushButton9"));
        ASSERT_TRUE(f.acted);
        EXPECT_EQ(readBytes(f.path("names.txt")), "Ann\r\nBob\r\n");
        EXPECT_EQ(f.input().count(), act == Act::AddOneName ? 3 : 6);
        EXPECT_EQ(f.desktop.messageTexts(), QStringList{"Done."});
    }
}

// ---- At the yields of Copy Results To Clipboard --------------------------------------------
//
// With three results the copy yields once before measuring each item (1-3), then
// before each item and before its one column (4-5, 6-7, 8-9). It shows no busy pointer,
// so every command acts, and the text is built from the list as it is at each item.

struct CopyCase {
    const char *name;
    Act act;
    int atYield;
    QString clipboard;
    QStringList locations;
    QStringList results;
};

void PrintTo(const CopyCase &c, std::ostream *os) { *os << c.name; }

class DuringCopy : public ::testing::TestWithParam<CopyCase> {};

TEST_P(DuringCopy, ClipboardHoldsWhatTheListHeldItemByItem)
{
    const CopyCase &c = GetParam();
    ReentryFixture f;
    f.fillInput(kThree);
    f.sort();
    f.desktop.clipboard = "old";
    f.desktop.messages.clear();

    f.actAt(c.atYield, c.act);
    f.copyResults();

    ASSERT_TRUE(f.acted) << "the copy never reached yield " << c.atYield;
    EXPECT_EQ(f.desktop.clipboard, c.clipboard);
    EXPECT_EQ(f.reportLocations(), c.locations);
    EXPECT_EQ(f.results(), c.results);
    // The copy's own message comes last, after whatever the action showed; a copy that
    // failed does not claim success.
    ASSERT_FALSE(f.desktop.messages.empty());
    EXPECT_EQ(f.desktop.messages.back().text, c.locations.isEmpty() ? kCopied : kNotCopied);
}

const QString kCopiedThree = QStringLiteral("Cy Abel\r\nBo Mott\r\nAl Zorn\r\n");

INSTANTIATE_TEST_SUITE_P(
    Table, DuringCopy,
    ::testing::Values(
        CopyCase{"AddOneName", Act::AddOneName, 6, kCopiedThree, {}, kThreeSorted},
        CopyCase{"LoadSamples", Act::LoadSamples, 2, kCopiedThree, {}, kThreeSorted},
        CopyCase{"OptionClick", Act::FirstLast, 6, kCopiedThree, {}, kThreeSorted},
        CopyCase{"StartSortingSameReading", Act::StartSorting, 6, kCopiedThree, {}, kThreeSorted},
        // Re-sorted First/Last before the second item: the first line is from the old
        // order, the rest from the new one.
        CopyCase{"StartSortingFirstLast", Act::FirstLastThenStartSorting, 6, "Cy Abel\r\nBo Mott\r\nCy Abel\r\n", {},
                 {"Al Zorn", "Bo Mott", "Cy Abel"}},
        // A result removed or cleared meanwhile: the last position is missing, the copy
        // fails with its report and the clipboard keeps what it held.
        CopyCase{"DeleteInResults", Act::DeleteInResults, 6, "old", {"Form1.PushButton5_Click at line 106"},
                 {"Bo Mott", "Al Zorn"}},
        CopyCase{"DoubleClickResults", Act::DoubleClickResults, 2, "old", {"Form1.PushButton5_Click at line 106"},
                 {"Bo Mott", "Al Zorn"}},
        CopyCase{"ClearResults", Act::ClearResults, 8, "old", {"Form1.PushButton5_Click at line 106"}, {}}),
    [](const ::testing::TestParamInfo<CopyCase> &info) { return std::string(info.param.name); });

// Clear List works during a copy (no busy pointer); the copy does not care.
TEST(DuringCopy, ClearListEmptiesTheNames)
{
    ReentryFixture f;
    f.fillInput(kThree);
    f.sort();
    f.actAt(5, Act::ClearList);
    f.copyResults();
    ASSERT_TRUE(f.acted);
    EXPECT_TRUE(f.input().isEmpty());
    EXPECT_EQ(f.desktop.clipboard, kCopiedThree);
}

} // namespace

#include "core/PointerState.h"
#include "core/ProgressState.h"
#include "commands/ListCommands.h"
#include "commands/FileDialogPaths.h"
#include "commands/ListFileCommands.h"
#include "lists/NameListModel.h"
#include "support/CommandFixture.h"
#include "support/Files.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;

namespace {

const QChar kNul(u'\0');

// The file commands and the list commands over one context, as the window has them.
struct FilesFixture : CommandFixture {
    commands::ListFileCommands files{context};
    commands::ListCommands lists{context};
    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }
    lists::NameListModel &input() { return inputList; }
    lists::NameListModel &results() { return resultList; }
    void load(const QString &answer)
    {
        desktop.openAnswers = {answer};
        files.loadNames();
    }
    void saveNames(const QString &answer)
    {
        desktop.saveAnswers = {answer};
        files.saveNames();
    }
    void saveResults(const QString &answer)
    {
        desktop.saveAnswers = {answer};
        files.saveResults();
    }
    QStringList reportPlaces() const { return desktop.reportPlaces(); }
};

TEST(SelectedPaths, OneFileAsReturnedSeveralJoinedToTheirFolder)
{
    struct Case {
        QString answer;
        QStringList paths;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"/home/ann/list.txt", {"/home/ann/list.txt"}},
        {"/home//ann/list.txt", {"/home//ann/list.txt"}}, // one file: not cleaned up
        {QString("/home/ann") + kNul + "a.txt" + kNul + "b c.txt", {"/home/ann/a.txt", "/home/ann/b c.txt"}},
        {QString("/") + kNul + "a.txt" + kNul + "b.txt", {"/a.txt", "/b.txt"}},
        {QString("/home/ann/") + kNul + "a.txt", {"/home/ann/a.txt"}},
        {QString("/data") + kNul + "back\\slash.txt" + kNul + kNul, {"/data/back\\slash.txt"}},
        {QString("//server/share") + kNul + "x.txt", {"/server/share/x.txt"}},
        // Files from several folders: an empty folder, then full paths taken as they are.
        {QString() + kNul + "/home/ann/a.txt" + kNul + "/tmp//b.txt", {"/home/ann/a.txt", "/tmp//b.txt"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(commands::selectedPaths(c.answer), c.paths) << c.answer.toStdString();

    EXPECT_EQ(commands::NormalizeBackslashes("a//b///c////d"), "a/b/c/d");
    EXPECT_EQ(commands::NormalizeBackslashes("C:\\\\x\\\\\\y"), "C:\\\\x\\\\\\y");
    EXPECT_EQ(commands::NormalizeBackslashes(""), "");
}

TEST(LoadCommand, ReadsEveryChosenFileInDialogOrder)
{
    FilesFixture f;
    writeBytes(f.path("one.txt"), "Ann\r\nBob\r\n");
    writeBytes(f.path("two.txt"), "Cy\n");
    f.input().append("kept");
    // The name remembered from this save is cleared before the load dialog shows.
    f.saveResults(f.path("earlier.txt"));
    f.desktop.dialogs.clear();
    f.desktop.pointers.clear();
    f.desktop.messages.clear();

    f.load(f.dir.path() + kNul + "two.txt" + kNul + "one.txt");

    EXPECT_EQ(itemsOf(f.input()), (QStringList{"kept", "Cy", "Ann", "Bob"}));
    ASSERT_EQ(f.desktop.dialogs.size(), 1u);
    const auto &dialog = f.desktop.dialogs[0];
    EXPECT_FALSE(dialog.save);
    EXPECT_EQ(dialog.request.title, "Load List(s) - Hold Ctrl to select multiple list files");
    EXPECT_EQ(dialog.request.filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"
                                     "Tables (*.csv *.tsv *.xlsx *.ods)|*.csv;*.tsv;*.xlsx;*.ods|");
    EXPECT_EQ(dialog.request.fileName, "");
    EXPECT_TRUE(dialog.request.multiSelect);
    EXPECT_EQ(f.desktop.pointers, (std::vector<core::Pointer>{core::Pointer::Busy, core::Pointer::Default}));
    EXPECT_TRUE(f.desktop.messages.empty());
}

TEST(LoadCommand, FilesFromTwoFoldersAreReadThroughTheirFullPaths)
{
    FilesFixture f;
    ASSERT_TRUE(QDir(f.dir.path()).mkdir("first") && QDir(f.dir.path()).mkdir("other"));
    writeBytes(f.path("first/names.txt"), "Ann\n");
    writeBytes(f.path("first/more.txt"), "Bob\n");
    writeBytes(f.path("other/names.txt"), "Cy\n");

    // One folder keeps the folder-and-names answer; a full path typed from another
    // folder is read there, not in the first file's folder.
    const QString oneFolder = commands::openDialogAnswer({f.path("first/more.txt"), f.path("first/names.txt")});
    EXPECT_EQ(oneFolder, f.path("first") + kNul + "more.txt" + kNul + "names.txt");
    f.load(oneFolder);
    f.load(commands::openDialogAnswer({f.path("first/more.txt"), f.path("other/names.txt")}));

    EXPECT_EQ(itemsOf(f.input()), (QStringList{"Bob", "Ann", "Bob", "Cy"}));
    EXPECT_TRUE(f.desktop.messages.empty());
}

TEST(LoadCommand, BadFilesAreReportedAndTheOthersStillRead)
{
    FilesFixture f;
    writeBytes(f.path("good.txt"), "Ann\r\n");
    writeBytes(f.path("binary.txt"), QByteArray("x\0y", 3));
    QDir(f.dir.path()).mkdir("folder");

    f.load(f.dir.path() + kNul + "missing.txt" + kNul + "folder" + kNul + "binary.txt" + kNul + "good.txt");
    EXPECT_EQ(itemsOf(f.input()), QStringList{"Ann"});
    EXPECT_EQ(f.desktop.messageTexts().first(), "File not found");
    EXPECT_EQ(f.desktop.messages.front().title, f.context.title);
    EXPECT_EQ(f.reportPlaces(), QStringList(2, "Form1.PushButton3_Click at line 134"));
    EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);

    // One chosen file is read through its path as given, and reported under its own step.
    f.load(f.path("binary.txt"));
    EXPECT_EQ(f.reportPlaces().last(), "Form1.PushButton3_Click at line 120");
    f.load(f.path("good.txt"));
    EXPECT_EQ(itemsOf(f.input()), (QStringList{"Ann", "Ann"}));
}

TEST(LoadCommand, CancelReadsNothing)
{
    FilesFixture f;
    f.load(QString());
    EXPECT_TRUE(f.input().isEmpty());
    EXPECT_TRUE(f.desktop.pointers.empty());
    EXPECT_TRUE(f.desktop.messages.empty());
}

TEST(OpenFiles, AppendsInTheGivenOrderAsTheLoadCommandReads)
{
    FilesFixture f;
    writeBytes(f.path("a.txt"), "Ann\r\nBob\n\n");
    writeBytes(f.path("sub/b.txt"), "Cy\rDee");
    writeBytes(f.path("binary.txt"), QByteArray("x\0y", 3));
    f.input().append("kept");
    f.saveResults(f.path("earlier.txt"));
    f.desktop.pointers.clear();

    // A relative path is taken from the current folder; a missing file says so, a file
    // that is no list is reported, and the files after them are still read.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(f.dir.path()));
    QList<QByteArray> paths;
    for (const QString &path : {QStringLiteral("sub/b.txt"), QStringLiteral("missing.txt"), f.path("binary.txt"),
                                f.path("a.txt"), QStringLiteral("sub/b.txt")})
        paths << QFile::encodeName(path);
    f.files.appendStartFiles(paths);
    QDir::setCurrent(before);

    EXPECT_EQ(itemsOf(f.input()), (QStringList{"kept", "Cy", "Dee", "Ann", "Bob", "Cy", "Dee"}));
    EXPECT_EQ(f.desktop.messageTexts().first(), "File not found");
    EXPECT_EQ(f.desktop.messages.front().title, f.context.title);
    EXPECT_EQ(f.reportPlaces(), QStringList{"Form1.OpenFiles at line 102"});
    EXPECT_EQ(f.desktop.pointers, (std::vector<core::Pointer>{core::Pointer::Busy, core::Pointer::Default}));
    // No dialog was shown, and the name the save dialog proposes next is unchanged.
    EXPECT_EQ(f.desktop.dialogs.size(), 1u);
    EXPECT_EQ(f.files.dialogFileName(), f.path("earlier.txt"));
}

TEST(SaveNamesCommand, WritesOneLinePerNameAndSaysDone)
{
    FilesFixture f;
    f.fillInput({"Ann Lee", " spaced ", QString::fromUtf8("Zoë")});
    f.saveNames(f.path("names.txt"));
    EXPECT_EQ(readBytes(f.path("names.txt")), QString::fromUtf8("Ann Lee\r\n spaced \r\nZoë\r\n").toUtf8());
    EXPECT_EQ(f.desktop.messageTexts(), QStringList{"Done."});
    EXPECT_EQ(f.desktop.messages[0].style, 0);
    EXPECT_EQ(f.desktop.pointers, (std::vector<core::Pointer>{core::Pointer::Busy, core::Pointer::Default}));
    ASSERT_EQ(f.desktop.dialogs.size(), 1u);
    EXPECT_TRUE(f.desktop.dialogs[0].save);
    EXPECT_EQ(f.desktop.dialogs[0].request.title, "Save");
    EXPECT_EQ(f.desktop.dialogs[0].request.filter, commands::kListFileFilter);

    // An empty list gives an empty file.
    f.input().clear();
    f.saveNames(f.path("empty.txt"));
    EXPECT_EQ(readBytes(f.path("empty.txt")), "");
    EXPECT_EQ(f.desktop.messageTexts().last(), "Done.");
}

TEST(SaveNamesCommand, AsksBeforeOverwritingAndNoWritesNothing)
{
    FilesFixture f;
    f.fillInput({"new"});
    writeBytes(f.path("names.txt"), "old\r\n");

    f.desktop.messageAnswers = {core::MessageAnswer::No};
    f.saveNames(f.path("names.txt"));
    ASSERT_EQ(f.desktop.messages.size(), 1u);
    EXPECT_EQ(f.desktop.messages[0].text, "Are you sure you wish to overwrite " + f.path("names.txt") + " ?");
    EXPECT_EQ(f.desktop.messages[0].style, 4);
    EXPECT_EQ(f.desktop.messages[0].title, f.context.title);
    EXPECT_EQ(readBytes(f.path("names.txt")), "old\r\n");
    EXPECT_TRUE(f.desktop.pointers.empty());

    f.desktop.messageAnswers = {core::MessageAnswer::Yes};
    f.saveNames(f.path("names.txt"));
    EXPECT_EQ(readBytes(f.path("names.txt")), "new\r\n");
    EXPECT_EQ(f.desktop.messageTexts().last(), "Done.");
    // The command's own question only: the dialog does not ask as well.
    EXPECT_FALSE(f.desktop.dialogs.back().request.confirmOverwrite);
    EXPECT_TRUE(f.desktop.overwriteQuestions.isEmpty());

    f.saveNames(QString()); // cancelled
    EXPECT_EQ(f.desktop.messages.size(), 3u);
}

TEST(SaveNamesCommand, FailedSaveIsReportedOnceAndKeepsTheOldFile)
{
    struct Case {
        const char *label;
        QString name;
        bool failWrites;
        QString place;
    };
    const std::vector<Case> cases = {
        {"FullDisk", "names.txt", true, "Form1.PushButton9_Click at line 136"},
        {"MissingFolder", "no such folder/names.txt", false, "Form1.PushButton9_Click at line 130"},
        {"Folder", "", false, "Form1.PushButton9_Click at line 130"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        FilesFixture f;
        writeBytes(f.path("names.txt"), "old\r\n");
        for (int i = 0; i < 2000; ++i)
            f.input().append(QStringLiteral("Name %1").arg(i));
        if (c.failWrites)
            f.files.setOutputFilter(
                [](QIODevice &file) { return std::make_unique<FailingDevice>(file, 1000); });
        f.desktop.messageAnswers = {core::MessageAnswer::Yes};
        f.saveNames(c.name.isEmpty() ? f.dir.path() : f.path(c.name));

        EXPECT_EQ(f.reportPlaces(), QStringList{c.place});
        EXPECT_FALSE(f.desktop.messageTexts().contains("Done."));
        EXPECT_EQ(readBytes(f.path("names.txt")), "old\r\n");
        EXPECT_EQ(folderEntries(f.dir.path()), QStringList{"names.txt"});
        EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);
    }
}

QStringList numberedNames(int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << QStringLiteral("Name %1").arg(i);
    return names;
}

// Names gone from the list part-way (removed past the guard): one report however many
// names remain, then the save stops; no "Done." and the old file as it was.
TEST(SaveNamesCommand, NamesThatVanishWhileSavingStopTheSaveWithOneReport)
{
    for (const int vanishAt : {2, 100}) {
        SCOPED_TRACE(vanishAt);
        FilesFixture f;
        f.fillInput(numberedNames(5000));
        writeBytes(f.path("names.txt"), "old\r\n");
        f.desktop.atYield(vanishAt, [&] { f.input().clear(); });
        f.saveNames(f.path("names.txt")); // Yes to the overwrite question
        EXPECT_EQ(f.reportPlaces(), QStringList{"Form1.PushButton9_Click at line 136"});
        EXPECT_EQ(f.desktop.messageTexts().filter("Done.").size(), 0);
        EXPECT_EQ(readBytes(f.path("names.txt")), "old\r\n");
        EXPECT_EQ(folderEntries(f.dir.path()), QStringList{"names.txt"});
        EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);
    }
}

TEST(SaveResultsCommand, ProposesTheLastNameAndAsksBeforeReplacing)
{
    FilesFixture f;
    f.results().append("abcde");
    f.results().append("abcdefghij");
    writeBytes(f.path("loaded.txt"), "Ann\r\n");
    writeBytes(f.path("results.txt"), "old\r\n");

    f.load(f.path("loaded.txt"));
    f.saveResults(f.path("results.txt"));
    EXPECT_EQ(f.desktop.dialogs.back().request.fileName, f.path("loaded.txt"));
    EXPECT_EQ(f.desktop.dialogs.back().request.title, "Save");
    EXPECT_EQ(readBytes(f.path("results.txt")), "Result(s) \t\r\nabcde     \t\r\nabcdefghij\t\r\n");
    EXPECT_EQ(f.desktop.overwriteQuestions, QStringList{f.path("results.txt")});
    EXPECT_TRUE(f.desktop.messages.empty());
    EXPECT_EQ(f.progress.text(), "Progress Bar");
    EXPECT_EQ(f.progress.position(), 0);

    // Cancelling writes nothing; the next dialog proposes the same name again.
    f.results().clear();
    f.saveResults(QString());
    EXPECT_EQ(readBytes(f.path("results.txt")), "Result(s) \t\r\nabcde     \t\r\nabcdefghij\t\r\n");
    f.saveResults(f.path("results.txt"));
    EXPECT_EQ(f.desktop.dialogs[f.desktop.dialogs.size() - 2].request.fileName, f.path("results.txt"));
    EXPECT_EQ(readBytes(f.path("results.txt")), "Result(s)\t\r\n");

    // Several files loaded: the first one's path is proposed.
    writeBytes(f.path("more.txt"), "x");
    f.load(f.dir.path() + kNul + "more.txt" + kNul + "loaded.txt");
    f.saveResults(QString());
    EXPECT_EQ(f.desktop.dialogs.back().request.fileName, f.path("more.txt"));
}

// The name proposed after a load is the names file itself: No to the dialog's question
// keeps it untouched, without the busy pointer or a progress text.
TEST(SaveResultsCommand, NoToReplacingKeepsTheFileAndWritesNothing)
{
    FilesFixture f;
    f.results().append("r");
    writeBytes(f.path("names.txt"), "Ann\r\n");
    f.load(f.path("names.txt"));
    f.desktop.overwriteAnswers = {false};
    f.saveResults(f.path("names.txt"));

    EXPECT_EQ(f.desktop.overwriteQuestions, QStringList{f.path("names.txt")});
    EXPECT_EQ(readBytes(f.path("names.txt")), "Ann\r\n");
    EXPECT_EQ(folderEntries(f.dir.path()), QStringList{"names.txt"});
    EXPECT_TRUE(f.desktop.pointers.back() != core::Pointer::Busy);
    EXPECT_EQ(f.progress.text(), "Progress Bar");
    EXPECT_TRUE(f.desktop.messages.empty());
}

TEST(SaveResultsCommand, FailedSaveIsReportedAndKeepsTheOldFile)
{
    FilesFixture f;
    for (int i = 0; i < 3000; ++i)
        f.results().append(QStringLiteral("Result %1").arg(i));
    writeBytes(f.path("results.txt"), "old\r\n");
    f.files.setOutputFilter([](QIODevice &file) { return std::make_unique<FailingDevice>(file, 20000); });
    f.saveResults(f.path("results.txt"));

    EXPECT_EQ(f.reportPlaces(), QStringList{"Form1.PushButton4_Click at line 120"});
    EXPECT_TRUE(f.desktop.errorReports()[0].text.startsWith("Cannot write " + f.path("results.txt") +
                                                            ": No space left on device\r\n"));
    EXPECT_EQ(readBytes(f.path("results.txt")), "old\r\n");
    EXPECT_EQ(folderEntries(f.dir.path()), QStringList{"results.txt"});
    EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);
}

// While a save yields, the busy pointer keeps Clear List and the removals away.
TEST(SaveCommands, BusyPointerGuardsTheListsWhileSaving)
{
    FilesFixture f;
    f.fillInput({"a", "b", "c"});
    f.results().append("r");
    f.input().select(1);
    f.results().select(1);
    const auto meddle = [&] {
        f.lists.clearNames();
        f.lists.removeSelectedName();
        f.lists.removeSelectedResult();
    };
    f.desktop.atYield(2, meddle);
    f.saveNames(f.path("names.txt"));
    f.desktop.yields = 0;
    f.desktop.atYield(8, meddle);
    f.saveResults(f.path("results.txt"));

    EXPECT_EQ(itemsOf(f.input()), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(itemsOf(f.results()), QStringList{"r"});
    EXPECT_EQ(readBytes(f.path("names.txt")), "a\r\nb\r\nc\r\n");
}

// Load and Clear List clicked while a long save yields: the load ends by putting back
// the busy pointer it found, so Clear List stays refused and the save writes the whole
// list as it was when it began.
TEST(SaveCommands, ALoadDuringASaveKeepsTheSavesGuard)
{
    FilesFixture f;
    const QStringList names = numberedNames(5000);
    f.fillInput(names);
    writeBytes(f.path("more.txt"), "Extra\r\n");
    f.desktop.openAnswers = {f.path("more.txt")};
    f.desktop.atYield(100, [&] {
        f.files.loadNames();
        EXPECT_TRUE(f.pointer.isBusy());
        f.lists.clearNames();
    });
    f.saveNames(f.path("names.txt"));

    EXPECT_TRUE(f.desktop.errorReports().empty());
    EXPECT_EQ(f.desktop.messageTexts(), QStringList{"Done."});
    EXPECT_EQ(itemsOf(f.input()), names + QStringList{"Extra"});
    EXPECT_EQ(readBytes(f.path("names.txt")), (names.join("\r\n") + "\r\n").toUtf8());
    EXPECT_EQ(f.pointer.pointer(), core::Pointer::Default);
}

// Names saved and loaded again come back letter for letter, also from a Windows-1252 file.
TEST(RoundTrip, NamesFileReadsBackAsTheSameList)
{
    FilesFixture f;
    writeBytes(f.path("legacy.txt"), "Jos\xE9 M\xFCller\r\n\x8Aimon \x9C" "dipe\r\n");
    f.load(f.path("legacy.txt"));
    f.input().append(QString::fromUtf8("李 😀"));
    f.input().append("\tTabbed ");
    const QStringList before = itemsOf(f.input());
    ASSERT_EQ(before[0], QString::fromUtf8("José Müller"));
    ASSERT_EQ(before[1], QString::fromUtf8("Šimon œdipe"));

    f.saveNames(f.path("names.txt"));
    f.lists.clearNames();
    f.load(f.path("names.txt"));
    EXPECT_EQ(itemsOf(f.input()), before);
    EXPECT_FALSE(readBytes(f.path("names.txt")).startsWith("\xEF\xBB\xBF"));
}

} // namespace

// A table opens the column dialog with the columns its header names, and every row
// with a name joins the list with its row; the choice is remembered per header, and
// "Do not ask again" loads the next file with that header without asking.
TEST(LoadCommand, TablesLoadTheirRowsByTheChosenColumns)
{
    FilesFixture f;
    QString done;
    f.context.noteDone = [&done](const QString &what) { done = what; };
    writeBytes(f.path("roster.csv"), "Id,First name,Last name\r\n1,Ann,Lee\r\n2,,\r\n, ,\r\n3,Bo,de la Cruz\r\n");
    f.load(f.path("roster.csv"));
    ASSERT_EQ(f.desktop.columnRequests.size(), 1u);
    const core::ColumnChoice proposed = f.desktop.columnRequests[0].proposed;
    EXPECT_EQ(proposed.kind, core::ColumnChoice::Kind::NameParts);
    EXPECT_EQ(proposed.firstName, 1);
    EXPECT_EQ(proposed.lastName, 2);
    // A row with text but no name is kept with an empty name; an empty row is not.
    EXPECT_EQ(itemsOf(f.input()), (QStringList{"Lee, Ann", "", "de la Cruz, Bo"}));
    EXPECT_EQ(done, "Loaded 3 names from roster.csv \u00b7 1 row has no name: it sorts first; "
                    "1 empty row was skipped");
    EXPECT_EQ(f.input().rowOf(2).row, 2u);
    const tables::NameRow third = f.input().rowOf(3);
    ASSERT_TRUE(third);
    EXPECT_EQ(third.table->cells.row(third.row), (QStringList{"3", "Bo", "de la Cruz"}));
    EXPECT_TRUE(third.table->commaLines);
    EXPECT_EQ(third.table->header, (QStringList{"Id", "First name", "Last name"}));

    // The next day's file: the remembered choice is proposed; taken with "Do not ask
    // again" it then loads the day after's without a dialog.
    writeBytes(f.path("monday.csv"), "Id,First name,Last name\r\n4,Cy,Kim\r\n");
    core::ColumnChoice whole = proposed;
    whole.kind = core::ColumnChoice::Kind::WholeName;
    whole.wholeName = 2;
    whole.dontAskAgain = true;
    f.desktop.columnAnswers = {whole};
    f.load(f.path("monday.csv"));
    EXPECT_EQ(itemsOf(f.input()).last(), "Kim");
    writeBytes(f.path("tuesday.csv"), "Id,First name,Last name\r\n5,Di,Moe\r\n");
    f.load(f.path("tuesday.csv"));
    EXPECT_EQ(f.desktop.columnRequests.size(), 2u);
    EXPECT_EQ(itemsOf(f.input()).last(), "Moe");

    // Read Each Line reads the file as a names file; Cancel loads nothing.
    f.input().clear();
    writeBytes(f.path("other.tsv"), "Name\tTeam\r\nAnn Lee\tred\r\n");
    core::ColumnChoice lines;
    lines.kind = core::ColumnChoice::Kind::Lines;
    core::ColumnChoice cancel;
    cancel.kind = core::ColumnChoice::Kind::Cancel;
    f.desktop.columnAnswers = {lines, cancel};
    f.load(f.path("other.tsv"));
    EXPECT_EQ(itemsOf(f.input()), (QStringList{"Name\tTeam", "Ann Lee\tred"}));
    EXPECT_FALSE(f.input().hasRows());
    f.load(f.path("other.tsv"));
    EXPECT_EQ(f.input().count(), 2);
    EXPECT_TRUE(f.desktop.errorReports().empty());
}

// A long table's names are made by two threads: every row's name still comes in the
// file's order, with its own row.
TEST(LoadCommand, ALongTablesNamesKeepTheFilesOrder)
{
    FilesFixture f;
    constexpr int kRows = 200001;
    QByteArray csv = "First,Last\n";
    for (int row = 1; row <= kRows; ++row)
        csv += "F" + QByteArray::number(row) + ",L" + QByteArray::number(row) + (row % 7 == 0 ? ",\n" : "\n");
    csv += ",\n"; // a row without a name
    writeBytes(f.path("long.csv"), csv);
    f.load(f.path("long.csv"));
    ASSERT_EQ(f.input().count(), kRows);
    for (const int position : {1, kRows / 2, kRows / 2 + 1, kRows / 2 + 2, kRows}) {
        EXPECT_EQ(f.input().item(position), QStringLiteral("L%1, F%1").arg(position));
        EXPECT_EQ(f.input().rowOf(position).row, quint32(position));
    }
}

// A title and a blank row above the header: the header row is guessed, the rows above
// it are no names, and the choice remembered for the header is found under next
// term's title too; with the remembered choices forgotten, the next table asks again.
TEST(LoadCommand, ATitleAboveTheHeaderIsNoNameAndForgettingAsksAgain)
{
    FilesFixture f;
    QString done;
    f.context.noteDone = [&done](const QString &what) { done = what; };
    writeBytes(f.path("fall.csv"), "Fall 2026 Roster \xe2\x80\x94 Lincoln\r\n,,\r\nLast Name,First Name,Grade\r\n"
                                   "Lee,Ann,7\r\nKim,Al,8\r\n");
    f.load(f.path("fall.csv"));
    ASSERT_EQ(f.desktop.columnRequests.size(), 1u);
    core::ColumnChoice proposed = f.desktop.columnRequests[0].proposed;
    EXPECT_TRUE(proposed.firstRowIsHeader);
    EXPECT_EQ(proposed.headerRow, 2);
    EXPECT_EQ(itemsOf(f.input()), (QStringList{"Lee, Ann", "Kim, Al"}));
    EXPECT_EQ(f.input().rowOf(1).table->header, (QStringList{"Last Name", "First Name", "Grade"}));
    EXPECT_EQ(done, "Loaded 2 names from fall.csv");

    // Next term's file has another title and no blank row: the remembered choice is
    // found at its header; taken with "Do not ask again" it loads the next one at once.
    writeBytes(f.path("spring.csv"), "Spring 2027 Roster\r\nLast Name,First Name,Grade\r\nRay,Bo,7\r\n");
    proposed.headerRow = 1;
    proposed.dontAskAgain = true;
    f.desktop.columnAnswers = {proposed};
    f.load(f.path("spring.csv"));
    ASSERT_EQ(f.desktop.columnRequests.size(), 2u);
    EXPECT_EQ(f.desktop.columnRequests[1].proposed.headerRow, 1);
    EXPECT_EQ(itemsOf(f.input()).last(), "Ray, Bo");
    f.load(f.path("fall.csv"));
    EXPECT_EQ(f.desktop.columnRequests.size(), 2u);
    EXPECT_EQ(f.input().count(), 5);

    f.files.forgetRememberedColumns();
    f.load(f.path("spring.csv"));
    EXPECT_EQ(f.desktop.columnRequests.size(), 3u);
    EXPECT_FALSE(f.desktop.columnRequests[2].proposed.dontAskAgain);
    EXPECT_TRUE(f.desktop.errorReports().empty());
}

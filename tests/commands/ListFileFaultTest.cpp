// A disk that fills up after every possible number of bytes, under both savers of the
// main window: the failure is reported under the command's name and step, the command
// finishes its remaining steps, and neither the file that was there before nor the
// lists are harmed. Only a budget that holds the whole file saves it.


#include "core/FileSizeSignal.h"
#include "core/PointerState.h"
#include "core/ProgressState.h"
#include "commands/ListFileCommands.h"
#include "lists/NameListModel.h"
#include "support/FileSizeLimit.h"
#include "support/SmallDisk.h"
#include "support/CommandFixture.h"
#include "support/Files.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace orvella;
using namespace orvella::testing;

namespace {

const QByteArray kOldFile = "old contents\r\n";

// The target holds kOldFile; a linked one has a second name, so that it is written in
// place rather than replaced, and both names must show the same whole text afterwards.
struct FullDiskFixture : CommandFixture {
    commands::ListFileCommands commands{context};
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("list.txt"));
    bool linked;

    explicit FullDiskFixture(qint64 budget, bool linked = false) : linked(linked)
    {
        writeBytes(path, kOldFile);
        if (linked)
            EXPECT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath("link.txt")).constData()),
                      0);
        commands.setOutputFilter(
            [budget](QIODevice &file) { return std::make_unique<FailingDevice>(file, budget); });
    }
    QStringList reportPlaces() const { return desktop.reportPlaces(); }
    // The folder holds the target (and its second name) alone, and both names agree.
    void expectOnlyTheTarget() const
    {
        const QStringList names = linked ? QStringList{"link.txt", "list.txt"} : QStringList{"list.txt"};
        EXPECT_EQ(folderEntries(dir.path()), names);
        if (linked)
            EXPECT_EQ(readBytes(dir.filePath("link.txt")), readBytes(path));
    }
};

const QStringList kNames = {QStringLiteral("Ann Lee"), QStringLiteral("Bob"), QString::fromUtf8("Zoë Ünal")};

TEST(FullDisk, SaveListOfNamesFailsCleanlyAfterAnyNumberOfBytes)
{
    const QByteArray whole = QString::fromUtf8("Ann Lee\r\nBob\r\nZoë Ünal\r\n").toUtf8();
    for (const bool linked : {false, true})
    for (qint64 budget = 0; budget <= whole.size(); ++budget) {
        SCOPED_TRACE(std::to_string(budget) + (linked ? " linked" : ""));
        FullDiskFixture f(budget, linked);
        f.fillInput(kNames);
        f.desktop.saveAnswers = {f.path};
        f.desktop.messageAnswers = {core::MessageAnswer::Yes}; // overwrite the old file
        f.commands.saveNames();

        EXPECT_EQ(itemsOf(f.inputList), kNames);
        EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);
        f.expectOnlyTheTarget();
        if (budget < whole.size()) {
            EXPECT_EQ(f.reportPlaces(), QStringList{"Form1.PushButton9_Click at line 136"});
            EXPECT_EQ(readBytes(f.path), kOldFile);
            EXPECT_FALSE(f.desktop.messageTexts().contains("Done."));
        } else {
            EXPECT_TRUE(f.reportPlaces().isEmpty());
            EXPECT_EQ(readBytes(f.path), whole);
            EXPECT_EQ(f.desktop.messageTexts().last(), "Done.");
        }
    }
}

TEST(FullDisk, SaveResultsFailsCleanlyAfterAnyNumberOfBytes)
{
    const QByteArray whole =
        QString::fromUtf8("Result(s)\t\r\nAnn Lee  \t\r\nBob      \t\r\nZoë Ünal \t\r\n").toUtf8();
    for (const bool linked : {false, true})
    for (qint64 budget = 0; budget <= whole.size(); ++budget) {
        SCOPED_TRACE(std::to_string(budget) + (linked ? " linked" : ""));
        FullDiskFixture f(budget, linked);
        for (const QString &name : kNames)
            f.resultList.append(name);
        f.desktop.saveAnswers = {f.path};
        f.commands.saveResults();

        EXPECT_EQ(itemsOf(f.resultList), kNames);
        EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);
        f.expectOnlyTheTarget();
        EXPECT_TRUE(f.desktop.messages.size() == f.desktop.errorReports().size()); // nothing but reports
        if (budget < whole.size()) {
            EXPECT_EQ(f.reportPlaces(), QStringList{"Form1.PushButton4_Click at line 120"});
            EXPECT_EQ(readBytes(f.path), kOldFile);
            // The progress bar stays where the failure found it.
            EXPECT_TRUE(f.progress.text().startsWith("Writing file: list.txt"))
                << f.progress.text().toStdString();
        } else {
            EXPECT_TRUE(f.reportPlaces().isEmpty());
            EXPECT_EQ(readBytes(f.path), whole);
            EXPECT_EQ(f.progress.text(), core::ProgressState::kIdleText);
        }
    }
}

// The disk fills up under the file system itself rather than in a device put between
// the writer and its file: the last bytes, which the file keeps in its buffer until
// the end, fail too. The old file must survive that as well.
TEST(FullDisk, FileSystemLimitFailsBothSavesAndKeepsTheOldFile)
{
    struct Case {
        const char *what;
        void (commands::ListFileCommands::*run)();
        QString place;
    };
    const Case cases[] = {
        {"names", &commands::ListFileCommands::saveNames, "Form1.PushButton9_Click at line 140"},
        {"results", &commands::ListFileCommands::saveResults, "Form1.PushButton4_Click at line 120"},
    };
    for (const Case &c : cases)
    for (const bool linked : {false, true}) {
        for (const rlim_t limit : {rlim_t(0), rlim_t(12), rlim_t(25)}) { // the names file has 26 bytes
            SCOPED_TRACE(std::string(c.what) + " " + std::to_string(limit) + (linked ? " linked" : ""));
            FullDiskFixture f(1 << 20, linked);
            f.commands.setOutputFilter({});
            f.fillInput(kNames);
            for (const QString &name : kNames)
                f.resultList.append(name);
            f.desktop.saveAnswers = {f.path};
            f.desktop.messageAnswers = {core::MessageAnswer::Yes};
            {
                FileSizeLimit full(limit);
                ASSERT_TRUE(full.set());
                (f.commands.*c.run)();
            }
            EXPECT_EQ(f.reportPlaces(), QStringList{c.place});
            ASSERT_EQ(f.desktop.errorReports().size(), 1u);
            // The system's own text for the error, not "Unknown error".
            EXPECT_TRUE(f.desktop.errorReports()[0].text.startsWith("Cannot write " + f.path + ": File too large\r\n"))
                << f.desktop.errorReports()[0].text.toStdString();
            EXPECT_EQ(readBytes(f.path), kOldFile);
            f.expectOnlyTheTarget();
            EXPECT_FALSE(f.desktop.messageTexts().contains("Done."));
            EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);
        }
    }
}

// A file with a second name on a disk that is really full: the save fails and both
// names keep the whole old text; with room again, both get the whole new text.
TEST(FullDisk, HardLinkedFileOnAFullDiskKeepsItsOldTextWhole)
{
    SmallDisk disk(64);
    if (!disk.mounted())
        GTEST_SKIP() << "needs the superuser, to mount a small tmpfs";
    CommandFixture f;
    commands::ListFileCommands commands{f.context};
    const QString path = disk.filePath("list.txt");
    const QString link = disk.filePath("link.txt");
    const QByteArray old = QByteArray("Old Name\r\n").repeated(2000); // 20 KB
    writeBytes(path, old);
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()), 0);
    writeBytes(disk.filePath("filler"), QByteArray(36 * 1024, 'x')); // 8 KB left
    QStringList names;
    for (int i = 0; i < 2000; ++i)
        names << QStringLiteral("Name %1").arg(i, 5, 10, QLatin1Char('0')); // 22 KB in all
    f.fillInput(names);
    f.desktop.saveAnswers = {path, path};
    f.desktop.messageAnswers = {core::MessageAnswer::Yes, core::MessageAnswer::Yes};

    commands.saveNames();
    ASSERT_EQ(f.desktop.errorReports().size(), 1u);
    EXPECT_TRUE(f.desktop.errorReports()[0].text.contains("No space left on device"));
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(readBytes(link), old);
    EXPECT_EQ(folderEntries(disk.path()), (QStringList{"filler", "link.txt", "list.txt"}));

    QFile::remove(disk.filePath("filler"));
    commands.saveNames();
    EXPECT_EQ(f.desktop.errorReports().size(), 1u);
    const QByteArray saved = (names.join("\r\n") + "\r\n").toUtf8();
    EXPECT_EQ(readBytes(path), saved);
    EXPECT_EQ(readBytes(link), saved);
}

// A failed save does not stay in the way: the next save to the same file works.
TEST(FullDisk, NextSaveAfterAFailedOneWrites)
{
    FullDiskFixture f(3);
    f.fillInput(kNames);
    f.desktop.saveAnswers = {f.path, f.path};
    f.desktop.messageAnswers = {core::MessageAnswer::Yes, core::MessageAnswer::Yes};
    f.commands.saveNames();
    ASSERT_EQ(readBytes(f.path), kOldFile);

    f.commands.setOutputFilter({});
    f.commands.saveNames();
    EXPECT_EQ(readBytes(f.path), QString::fromUtf8("Ann Lee\r\nBob\r\nZoë Ünal\r\n").toUtf8());
    EXPECT_EQ(f.reportPlaces().size(), 1);
    EXPECT_EQ(f.desktop.messageTexts().last(), "Done.");
}

// A write past the process's file-size limit ends the save with a report, not the
// program: the program ignores the signal the kernel sends then. Run in a child copy
// of this test program, under a limit of its own and with the signal's default
// handling, the way the program starts.
TEST(FullDisk, FileSizeLimitEndsTheSaveNotTheProgram)
{
    if (qEnvironmentVariableIsSet("ORVELLA_FILE_SIZE_CHILD")) {
        core::ignoreFileSizeSignal();
        FullDiskFixture f(1 << 20);
        f.commands.setOutputFilter({});
        QStringList names;
        for (int i = 0; i < 2000; ++i)
            names << QStringLiteral("Name %1").arg(i);
        f.fillInput(names);
        f.desktop.saveAnswers = {f.dir.filePath("new.txt")};
        f.commands.saveNames();
        ASSERT_EQ(f.desktop.errorReports().size(), 1u);
        EXPECT_TRUE(f.desktop.errorReports()[0].text.contains(": File too large\r\n"))
            << f.desktop.errorReports()[0].text.toStdString();
        return;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVELLA_FILE_SIZE_CHILD"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.setChildProcessModifier([] {
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 8192;
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
    });
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=FullDisk.FileSizeLimitEndsTheSaveNotTheProgram")});
    ASSERT_TRUE(child.waitForFinished(-1));
    const QByteArray output = child.readAll();
    ASSERT_EQ(child.exitStatus(), QProcess::NormalExit) << "the child was killed\n" << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

} // namespace

// A disk that fills up after every possible number of bytes, under both savers of the
// main window: the failure is reported under the command's name and step, the command
// finishes its remaining steps, and neither the file that was there before nor the
// lists are harmed. Only a budget that holds the whole file saves it.


#include "app/FileSizeSignal.h"
#include "core/PointerState.h"
#include "core/ProgressState.h"
#include "lists/ListFileCommands.h"
#include "lists/NameListModel.h"
#include "support/FileSizeLimit.h"
#include "support/CommandFixture.h"
#include "support/Files.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;

namespace {

const QByteArray kOldFile = "old contents\r\n";

struct FullDiskFixture : CommandFixture {
    lists::ListFileCommands commands{context};
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("list.txt"));

    explicit FullDiskFixture(qint64 budget)
    {
        writeBytes(path, kOldFile);
        commands.setOutputFilter(
            [budget](QIODevice &file) { return std::make_unique<FailingDevice>(file, budget); });
    }
    QStringList reportPlaces() const { return desktop.reportPlaces(); }
};

const QStringList kNames = {QStringLiteral("Ann Lee"), QStringLiteral("Bob"), QString::fromUtf8("Zoë Ünal")};

TEST(FullDisk, SaveListOfNamesFailsCleanlyAfterAnyNumberOfBytes)
{
    const QByteArray whole = QString::fromUtf8("Ann Lee\r\nBob\r\nZoë Ünal\r\n").toUtf8();
    for (qint64 budget = 0; budget <= whole.size(); ++budget) {
        SCOPED_TRACE(budget);
        FullDiskFixture f(budget);
        f.fillInput(kNames);
        f.desktop.saveAnswers = {f.path};
        f.desktop.messageAnswers = {core::MessageAnswer::Yes}; // overwrite the old file
        f.commands.PushButton9_Click();

        EXPECT_EQ(itemsOf(f.inputList), kNames);
        EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);
        EXPECT_EQ(folderEntries(f.dir.path()), QStringList{"list.txt"});
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
    for (qint64 budget = 0; budget <= whole.size(); ++budget) {
        SCOPED_TRACE(budget);
        FullDiskFixture f(budget);
        for (const QString &name : kNames)
            f.resultList.append(name);
        f.desktop.saveAnswers = {f.path};
        f.commands.PushButton4_Click();

        EXPECT_EQ(itemsOf(f.resultList), kNames);
        EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);
        EXPECT_EQ(folderEntries(f.dir.path()), QStringList{"list.txt"});
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
        void (lists::ListFileCommands::*run)();
        QString place;
    };
    const Case cases[] = {
        {"names", &lists::ListFileCommands::PushButton9_Click, "Form1.PushButton9_Click at line 140"},
        {"results", &lists::ListFileCommands::PushButton4_Click, "Form1.PushButton4_Click at line 120"},
    };
    for (const Case &c : cases) {
        for (const rlim_t limit : {rlim_t(0), rlim_t(12), rlim_t(25)}) { // the names file has 26 bytes
            SCOPED_TRACE(std::string(c.what) + " " + std::to_string(limit));
            FullDiskFixture f(1 << 20);
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
            EXPECT_EQ(folderEntries(f.dir.path()), QStringList{"list.txt"});
            EXPECT_FALSE(f.desktop.messageTexts().contains("Done."));
            EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);
        }
    }
}

// A failed save does not stay in the way: the next save to the same file works.
TEST(FullDisk, NextSaveAfterAFailedOneWrites)
{
    FullDiskFixture f(3);
    f.fillInput(kNames);
    f.desktop.saveAnswers = {f.path, f.path};
    f.desktop.messageAnswers = {core::MessageAnswer::Yes, core::MessageAnswer::Yes};
    f.commands.PushButton9_Click();
    ASSERT_EQ(readBytes(f.path), kOldFile);

    f.commands.setOutputFilter({});
    f.commands.PushButton9_Click();
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
        app::ignoreFileSizeSignal();
        FullDiskFixture f(1 << 20);
        f.commands.setOutputFilter({});
        QStringList names;
        for (int i = 0; i < 2000; ++i)
            names << QStringLiteral("Name %1").arg(i);
        f.fillInput(names);
        f.desktop.saveAnswers = {f.dir.filePath("new.txt")};
        f.commands.PushButton9_Click();
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

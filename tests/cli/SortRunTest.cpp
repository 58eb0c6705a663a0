// "orvella --sort" as a whole run: its exit status and what it leaves in the output file
// when a step fails, and a run whose threads cannot start.

#include "cli/SortRun.h"
#include "lists/ListFileWriter.h"
#include "lists/NameListModel.h"
#include "support/Files.h"
#include "support/MemorySettings.h"
#include "support/NoNewThreads.h"
#include "support/ScriptedDesktop.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>

using namespace orvella;
using namespace orvella::testing;

namespace {

struct RunCase {
    const char *what;
    QMap<QString, QString> stored;
    QList<QByteArray> options;
    int status;
    QByteArray output; // what the -o file then holds
};

TEST(SortRun, AReportedFailureEndsWithStatusOneAndLeavesTheOutputAsItWas)
{
    const QMap<QString, QString> limitNoNumber{{"Check2", "1"}, {"Text1", "abc"}};
    const RunCase cases[] = {
        {"a stored limit that is no number", limitNoNumber, {}, 1, "old\n"},
        {"the same, explained", limitNoNumber, {"--explain"}, 1, "old\n"},
        {"the same, as a table", limitNoNumber, {"--format", "table"}, 1, "old\n"},
        {"the stored limit not used", limitNoNumber, {"--no-per-last-name"}, 0, "Ann Lee\nBob Lee\nCy Ray\n"},
        // The start-up restore reports a stored choice it cannot read, as the window does.
        {"a stored option that is no truth value", {{"Option3", "banana"}}, {}, 1, "old\n"},
        {"the same, chosen on the command line", {{"Option3", "banana"}}, {"--reading", "last-word"}, 1, "old\n"},
        // The sort keeps the limit in 16 bits: a larger one is refused before anything is read.
        {"a limit beyond 16 bits", {}, {"--per-last-name", "32768"}, 2, "old\n"},
        {"the largest limit", {}, {"--per-last-name", "32767"}, 0, "Ann Lee\nBob Lee\nCy Ray\n"},
        {"one name per last name", {}, {"--per-last-name", "1"}, 0, "Ann Lee\nCy Ray\n"},
    };
    QTemporaryDir dir;
    const QString names = dir.filePath("names.txt");
    writeBytes(names, "Bob Lee\nCy Ray\nAnn Lee\n");
    const QString output = dir.filePath("sorted.txt");
    for (const RunCase &c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(output, "old\n");
        MemorySettings stored;
        stored.values = c.stored;
        const QList<QByteArray> arguments = c.options + QList<QByteArray>{"-o", QFile::encodeName(output),
                                                                          QFile::encodeName(names)};
        EXPECT_EQ(cli::runSort(arguments, stored, QStringLiteral("test")), c.status);
        EXPECT_EQ(readBytes(output), c.output);
    }
}

// --format table is byte for byte the file "Save Results As Text File" writes of the
// same results, whatever --crlf says.
TEST(SortRun, ATableIsTheSavedResultsFile)
{
    QTemporaryDir dir;
    const QString names = dir.filePath("names.txt");
    writeBytes(names, "Bob Lee\nCy Ray\nAnn Lee\n");
    lists::NameListModel results(QStringLiteral("Result(s)"));
    results.appendMany(QStringList{"Ann Lee", "Bob Lee", "Cy Ray"});
    ScriptedDesktop desktop;
    const QString saved = dir.filePath("saved.txt");
    lists::WriteListFile(results, saved, nullptr, desktop);
    MemorySettings stored;
    for (const QList<QByteArray> &crlf : {QList<QByteArray>{}, QList<QByteArray>{"--crlf"}}) {
        const QString table = dir.filePath("table.txt");
        ASSERT_EQ(cli::runSort(QList<QByteArray>{"--defaults", "--format", "table", "-o", QFile::encodeName(table),
                                                 QFile::encodeName(names)} + crlf,
                               stored, "test"),
                  0);
        EXPECT_EQ(readBytes(table), readBytes(saved));
    }
    EXPECT_EQ(readBytes(saved), "Result(s)\t\r\nAnn Lee  \t\r\nBob Lee  \t\r\nCy Ray   \t\r\n");
}

// A long file (read in two halves) and a million-key sort, each on two threads where
// it can: without threads the same results, on one.
TEST(SortRun, ThreadsThatCannotStartLeaveTheWorkToOne)
{
    QTemporaryDir dir;
    const QString names = dir.filePath("names.txt");
    QByteArray text;
    text.reserve(600000 * 18);
    for (int i = 0; i < 600000; ++i) {
        text.append("Ann").append(QByteArray::number(qint64(i) * 7919 % 600000)).append(" Lee");
        text.append(QByteArray::number(i % 997)).append('\n');
    }
    writeBytes(names, text);
    MemorySettings stored;
    for (const char *order : {"exact", "alphabetical"}) {
        SCOPED_TRACE(order);
        const QList<QByteArray> options{"--defaults", "--order", order, QFile::encodeName(names), "-o"};
        const QString withThreads = dir.filePath("threads.txt");
        const QString withoutThreads = dir.filePath("one.txt");
        ASSERT_EQ(cli::runSort(options + QList<QByteArray>{QFile::encodeName(withThreads)}, stored, "test"), 0);
        {
            NoNewThreads noThreads;
            ASSERT_TRUE(noThreads.set());
            ASSERT_THROW(std::thread([] {}).join(), std::system_error);
            EXPECT_EQ(cli::runSort(options + QList<QByteArray>{QFile::encodeName(withoutThreads)}, stored, "test"), 0);
        }
        EXPECT_EQ(readBytes(withoutThreads), readBytes(withThreads));
        EXPECT_EQ(readBytes(withThreads).count('\n'), 600000);
    }
}

} // namespace

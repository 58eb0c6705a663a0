// "orvella --sort" as a whole run: its exit status and what it leaves in the output file
// when a step fails, and a run whose threads cannot start.

#include "cli/SortRun.h"
#include "commands/GroupCommand.h"
#include "commands/ResultExportCommand.h"
#include "export/ResultTable.h"
#include "commands/SortCommand.h"
#include "lists/ListFileWriter.h"
#include "lists/NameListModel.h"
#include "lists/RememberedColumns.h"
#include "session/Session.h"
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

// What the window's choices are in a case: the name columns' dialog answer (as
// proposed when unset), the Group By Column answer, "Remove duplicates from results",
// and the export dialog's choices, its delimiter as proposed unless given.
struct WindowChoices {
    std::optional<core::ColumnChoice> columns;
    core::ExportOptions exporting;
    std::optional<char16_t> delimiter;
    std::optional<core::RowGrouping> grouping;
    bool noDuplicates = false;
};

// What the window's File > Export Results writes of the file sorted with the first-run
// choices and the case's.
QByteArray windowExport(const QString &input, const QString &exported, const WindowChoices &choices)
{
    ScriptedDesktop desktop;
    MemorySettings settings;
    session::Session window(desktop, settings);
    window.restore();
    if (choices.columns)
        desktop.columnAnswers = {*choices.columns};
    window.openFiles({QFile::encodeName(input)});
    if (choices.grouping) {
        desktop.groupingAnswers = {*choices.grouping};
        window.groupCommand().choose();
    }
    window.options().setRemoveDuplicates(choices.noDuplicates);
    window.sortCommand().run();
    desktop.saveAnswers = {exported};
    core::ExportOptions options = choices.exporting;
    const char16_t proposed = exporting::ResultTable::sourceDelimiter(window.resultList());
    options.delimiter = choices.delimiter.value_or(proposed ? proposed : u',');
    desktop.exportAnswers = {options};
    window.resultExport().exportResults();
    return readBytes(exported);
}

core::ExportOptions withNameColumns(std::initializer_list<core::NameColumn> columns)
{
    core::ExportOptions options;
    for (const core::NameColumn column : columns)
        options.set(column, true);
    return options;
}

core::RowGrouping groupedBy(int column, core::RowGrouping::Order order = core::RowGrouping::Order::Natural)
{
    core::RowGrouping grouping;
    grouping.column = column;
    grouping.order = order;
    return grouping;
}

core::ColumnChoice parts(int headerRow, int last, int first)
{
    core::ColumnChoice choice;
    choice.kind = core::ColumnChoice::Kind::NameParts;
    choice.firstRowIsHeader = true;
    choice.headerRow = headerRow;
    choice.lastName = last;
    choice.firstName = first;
    return choice;
}

core::ColumnChoice wholeName(std::optional<int> headerRow, int column)
{
    core::ColumnChoice choice;
    choice.kind = core::ColumnChoice::Kind::WholeName;
    choice.firstRowIsHeader = headerRow.has_value();
    choice.headerRow = headerRow.value_or(0);
    choice.wholeName = column;
    return choice;
}

// A title above a header the guess knows, a header it does not, and names without a table.
const QByteArray kKnownHeader = "Staff 2026\r\nLast name,First name,Town\r\nLee,Bob,Oslo\r\nRay,Cy,Rome\r\n"
                                "Lee,Ann,\"Paris, TX\"\r\n";
const QByteArray kOwnHeader = "Club list\nTown,Called,Clan\nOslo,Bob,Lee\nRome,Cy,Ray\nParis,Ann,Lee\nLyon,Al,Zorn\n";

// A roster with a homeroom and an e-mail column, a cell a spreadsheet would run as a
// formula and one that only looks like one.
const QByteArray kRoster = "Last name,First name,Homeroom,Email,Note\r\nLee,Bob,10A,b@x,=SUM(A1)\r\n"
                           "Ray,Cy,7B,c@x,-12\r\nAmes,Ann,10A,a@x,\r\nLee,Di,7B,b@x,+44 20\r\nZorn,Al,,z@x,@me\r\n"
                           "Cole,Eve,9,e@x,\r\n";

// Forty rows: enough for the sort to read ahead of the row it shows.
QByteArray manyRows()
{
    QByteArray text = "Last name,First name,Homeroom\r\n";
    for (int i = 0; i < 40; ++i)
        text += "Family" + QByteArray::number(i * 7 % 40) + ",Given" + QByteArray::number(i) + "," +
                QByteArray::number(i % 3 + 8) + "A\r\n";
    return text;
}

struct ExportCase {
    const char *what;
    const char *file; // its name says its kind
    QByteArray text;
    QList<QByteArray> options; // after "--format FORMAT"
    WindowChoices window;
    std::optional<core::ColumnChoice> remembered; // stored with "Do not ask again"
    const char *onlyFormat = nullptr;
};

// Each export format is byte for byte the file Export Results writes of the same file
// with the same choices in the window.
TEST(SortRun, EachExportFormatIsTheWindowsExport)
{
    core::ColumnChoice askNoMore = wholeName(1, 2);
    askNoMore.dontAskAgain = true;
    using core::NameColumn;
    core::ExportOptions plain;
    plain.encoding = core::TextEncoding::Utf8;
    plain.protectFormulas = false;
    const ExportCase cases[] = {
        {"a title above a known header", "staff.csv", kKnownHeader, {}, {}},
        {"the same with a first column Filed under", "staff.csv", kKnownHeader, {"--filed-under"},
         {{}, withNameColumns({NameColumn::FiledUnder})}},
        {"a tab-separated table", "staff.tsv", QByteArray(kKnownHeader).replace(',', '\t'), {}, {}},
        {"columns by caption", "club.csv", kOwnHeader, {"--columns", "last=Clan,first=called"}, {parts(1, 2, 1)}},
        {"columns by number under a header row", "club.csv", kOwnHeader,
         {"--header-row", "2", "--columns", "name=3"}, {wholeName(1, 2)}},
        {"no header row", "club.csv", kOwnHeader, {"--header-row=0", "--columns=name=2"}, {wholeName({}, 1)}},
        {"the header row alone", "club.csv", kOwnHeader, {"--header-row", "1"}, {wholeName(0, 0)}},
        {"over a choice remembered not to ask again", "club.csv", kOwnHeader,
         {"--columns", "last=Clan,first=Called"}, {parts(1, 2, 1)}, askNoMore},
        {"names from no table", "names.txt", "Bob Lee\nCy Ray\nAnn Lee\n", {}, {}},
        {"grouped by homeroom with name columns", "roster.csv", kRoster,
         {"--group-by", "Homeroom", "--name-columns", "first,last"},
         {{}, withNameColumns({NameColumn::FirstName, NameColumn::LastName}), {}, groupedBy(2)}},
        {"grouped as first met by number, same rows by e-mail", "roster.csv", kRoster,
         {"--group-by", "3", "--group-order", "first", "--remove-duplicates", "--same-rows-by", "email"},
         {{}, {}, {}, [] {
              core::RowGrouping grouping = groupedBy(2, core::RowGrouping::Order::FirstMet);
              grouping.sameRows = core::RowGrouping::SameRows::Column;
              grouping.sameColumn = 3;
              return grouping;
          }(), true}},
        {"forty rows", "many.csv", manyRows(), {}, {}},
        {"forty rows grouped", "many.csv", manyRows(), {"--group-by", "Homeroom"}, {{}, {}, {}, groupedBy(2)}},
        {"semicolons, UTF-8 without a mark, no formula protection", "roster.csv", kRoster,
         {"--delimiter", "semicolon", "--encoding", "utf-8", "--no-formula-protection"},
         {{}, plain, u';'}, {}, "csv"},
        {"tab delimiter in a CSV file, Windows-1252", "roster.csv", kRoster,
         {"--delimiter", "tab", "--encoding", "windows-1252"},
         {{}, [] {
              core::ExportOptions options;
              options.encoding = core::TextEncoding::Windows1252;
              return options;
          }(), u'\t'}, {}, "csv"},
    };
    QTemporaryDir dir;
    for (const char *format : {"csv", "tsv", "xlsx", "ods"}) {
        for (const ExportCase &c : cases) {
            SCOPED_TRACE(std::string(format) + ": " + c.what);
            if (QByteArrayView(format) == "tsv" && QByteArrayView(c.file) == "names.txt")
                continue; // --explain: below
            if (c.onlyFormat && QByteArrayView(format) != c.onlyFormat)
                continue;
            const QString input = dir.filePath(c.file);
            writeBytes(input, c.text);
            MemorySettings stored;
            if (c.remembered)
                lists::RememberedColumns(stored).remember({"Town", "Called", "Clan"}, *c.remembered);
            const QString exported = dir.filePath(QStringLiteral("window.") + format);
            const QByteArray expected = windowExport(input, exported, c.window);
            const QString output = dir.filePath(QStringLiteral("cli.") + format);
            const QList<QByteArray> arguments = QList<QByteArray>{"--format", format} + c.options +
                                                QList<QByteArray>{"-o", QFile::encodeName(output), QFile::encodeName(input)};
            ASSERT_EQ(cli::runSort(arguments, stored, "test"), 0);
            EXPECT_TRUE(readBytes(output) == expected) << readBytes(output).left(300).toStdString();
        }
    }
}

// tsv of names from no table is --explain: the name, what it was sorted under and the rest.
TEST(SortRun, TsvOfNamesFromNoTableExplainsThem)
{
    QTemporaryDir dir;
    const QString names = dir.filePath("names.txt");
    writeBytes(names, "Bob Lee\nCy Ray\n");
    MemorySettings stored;
    for (const char *format : {"--explain", "--format=tsv"}) {
        SCOPED_TRACE(format);
        const QString output = dir.filePath("out.tsv");
        ASSERT_EQ(cli::runSort({format, "-o", QFile::encodeName(output), QFile::encodeName(names)}, stored, "test"), 0);
        EXPECT_EQ(readBytes(output), "Bob Lee\tLee\tBob\nCy Ray\tRay\tCy\n");
    }
}

// The stored Filed-As list, a list file in its place, and none; --explain says which
// names were filed as set.
TEST(SortRun, FiledAsListStoredGivenOrLeftOut)
{
    QTemporaryDir dir;
    const QString names = dir.filePath("names.txt");
    writeBytes(names, "Debbie Wasserman Schultz\nSam Tate\nMaría José García Pérez\n");
    const QString list = dir.filePath("filed.txt");
    writeBytes(list, "Sam Tate\tZed\nMaría José García Pérez\tAa\n");
    MemorySettings stored;
    stored.values.insert("FiledAsList", "Debbie Wasserman Schultz\tWasserman Schultz");
    const struct {
        QList<QByteArray> options;
        QByteArray output;
    } cases[] = {
        {{}, "María José García Pérez\tPérez\tMaría José García\n"
             "Sam Tate\tTate\tSam\nDebbie Wasserman Schultz\tWasserman Schultz\tDebbie\tfiled as you set\n"},
        {{"--no-filed-as", "--two-family-names"},
         "María José García Pérez\tGarcía Pérez\tMaría José\n"
         "Debbie Wasserman Schultz\tSchultz\tDebbie Wasserman\nSam Tate\tTate\tSam\n"},
        {{"--filed-as-list", QFile::encodeName(list)},
         "María José García Pérez\tAa\tMaría José García Pérez\tfiled as you set\n"
         "Debbie Wasserman Schultz\tSchultz\tDebbie Wasserman\nSam Tate\tZed\tSam Tate\tfiled as you set\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const QString output = dir.filePath("out.tsv");
        QList<QByteArray> arguments = c.options;
        arguments << "--explain" << "-o" << QFile::encodeName(output) << QFile::encodeName(names);
        ASSERT_EQ(cli::runSort(arguments, stored, "test"), 0);
        EXPECT_EQ(readBytes(output), c.output) << readBytes(output).toStdString();
    }
    // The command line's lists and choices are its own: the stored ones stay.
    EXPECT_EQ(stored.values.value("FiledAsList"), "Debbie Wasserman Schultz\tWasserman Schultz");
    EXPECT_FALSE(stored.values.contains("TwoFamilyNames"));
}

// --likely-duplicates lists the groups instead of the sorted names, with the stored
// nickname list; the input stays whole.
TEST(SortRun, LikelyDuplicatesAreListedByGroup)
{
    QTemporaryDir dir;
    const QString names = dir.filePath("names.txt");
    writeBytes(names, "Smith, John\nAnn Lee\nJohn Smith\nZeb Kay\nDr. Ann Lee\nAnn Leeds\nZebedee Kay\n");
    MemorySettings stored;
    stored.values.insert("NicknameList", "Zeb Zebedee");
    const QString output = dir.filePath("groups.tsv");
    ASSERT_EQ(cli::runSort({"--likely-duplicates", "-o", QFile::encodeName(output), QFile::encodeName(names)}, stored,
                           "test"),
              0);
    EXPECT_EQ(readBytes(output), "1\tthe same words in another order\tSmith, John\t1\n"
                                 "1\tthe same words in another order\tJohn Smith\t3\n"
                                 "2\tonly a title, suffix or nickname differs\tAnn Lee\t2\n"
                                 "2\tonly a title, suffix or nickname differs\tDr. Ann Lee\t5\n"
                                 "3\ta common nickname\tZeb Kay\t4\n"
                                 "3\ta common nickname\tZebedee Kay\t7\n")
        << readBytes(output).toStdString();
}

// Columns (to name, group or compare by) and header rows a table does not have are usage errors that leave the output
// as it was.
TEST(SortRun, ColumnsATableLacksAreUsageErrors)
{
    const QList<QByteArray> cases[] = {
        {"--columns", "last=Kin,first=Called"},
        {"--columns", "name=4"},
        {"--header-row", "7"},
        {"--header-row", "0", "--columns", "name=Called"},
        {"--header-row", "2", "--columns", "name=Club list"},
        {"--group-by", "Kin"},
        {"--group-by", "4"},
        {"--remove-duplicates", "--same-rows-by", "Email"},
    };
    QTemporaryDir dir;
    const QString input = dir.filePath("club.csv");
    writeBytes(input, kOwnHeader);
    const QString output = dir.filePath("out.csv");
    for (const QList<QByteArray> &options : cases) {
        SCOPED_TRACE(options.join(' ').toStdString());
        writeBytes(output, "old\n");
        MemorySettings stored;
        EXPECT_EQ(cli::runSort(QList<QByteArray>{"--format", "csv", "-o", QFile::encodeName(output), QFile::encodeName(input)} +
                                   options,
                               stored, "test"),
                  2);
        EXPECT_EQ(readBytes(output), "old\n");
    }
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

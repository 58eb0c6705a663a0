// The result list as Export Results writes it: rows from tables whole, under the first
// table's header, other tables' columns joined by their header, typed names in the
// name column(s), and the "Filed under" column.

#include "commands/ResultExportCommand.h"
#include "export/ResultTable.h"
#include "lists/NameListModel.h"
#include "tables/TableFileReader.h"
#include "support/CommandFixture.h"
#include "support/Files.h"
#include "support/Printers.h"
#include "support/ScriptedDesktop.h"

#include <QTemporaryDir>
#include <random>
#include <gtest/gtest.h>

using namespace orvella;
using orvella::testing::ScriptedDesktop;

namespace {

// A table's cells: the rows above its header (a title) when given, the header, the rows.
tables::SourceTablePtr table(const QStringList &header, const QList<QStringList> &rows, core::ColumnChoice columns,
                            const QList<QStringList> &above = {})
{
    auto made = std::make_shared<tables::SourceTable>();
    for (const QStringList &row : above)
        made->cells.appendRow(row);
    if (!above.isEmpty()) {
        columns.firstRowIsHeader = true;
        columns.headerRow = int(above.size());
    }
    if (!header.isEmpty())
        made->cells.appendRow(header);
    for (const QStringList &row : rows)
        made->cells.appendRow(row);
    made->header = header;
    made->columns = columns;
    made->commaLines = columns.kind == core::ColumnChoice::Kind::NameParts;
    return made;
}

core::ColumnChoice parts(int last, int first)
{
    core::ColumnChoice choice;
    choice.kind = core::ColumnChoice::Kind::NameParts;
    choice.lastName = last;
    choice.firstName = first;
    return choice;
}

core::ColumnChoice whole(int column)
{
    core::ColumnChoice choice;
    choice.kind = core::ColumnChoice::Kind::WholeName;
    choice.wholeName = column;
    return choice;
}

QList<QStringList> written(const exporting::ResultTable &rows)
{
    QList<QStringList> all;
    if (!rows.header().isEmpty())
        all << rows.header();
    QStringList cells;
    for (qsizetype row = 0; row < rows.rowCount(); ++row) {
        rows.cells(row, cells);
        all << cells;
    }
    return all;
}

} // namespace

TEST(ResultTable, RowsWholeUnderTheFirstTablesHeaderOthersJoinByHeader)
{
    lists::NameListModel results(QStringLiteral("Result(s)"));
    const auto roster = table({"Id", "First", "Last", "Email"}, {{"1", "Ann", "Lee", "a@x"}, {"2", "Bo", "Ray", ""}},
                              parts(2, 1));
    const auto extra = table({"Last", "First", "Phone"}, {{"Kim", "Al", "555"}}, parts(0, 1));
    results.append(QStringLiteral("Lee, Ann"), {roster, 1});
    results.append(QStringLiteral("Kim, Al"), {extra, 1});
    results.append(QStringLiteral("Cy Vries")); // typed
    results.append(QStringLiteral("Ray, Bo"), {roster, 2});
    results.append(QStringLiteral("Smith, Jo")); // typed, "Last, First"

    EXPECT_EQ(written(exporting::ResultTable(results, false)),
              (QList<QStringList>{{"Id", "First", "Last", "Email", "Phone"},
                                  {"1", "Ann", "Lee", "a@x", ""},
                                  {"", "Al", "Kim", "", "555"},
                                  {"", "Cy", "Vries", "", ""},
                                  {"2", "Bo", "Ray", "", ""},
                                  {"", "Jo", "Smith", "", ""}}));
}

// A later table whose captions repeat or are missing: a column joins one written
// already only when its caption names one column in each; every other column gets its
// own, so that no cell is lost or written over.
TEST(ResultTable, LaterColumnsJoinOnlyByCaptionsUniqueInBoth)
{
    struct Case {
        const char *name;
        QStringList firstHeader, laterHeader;
        QList<QStringList> expected;
    };
    const Case cases[] = {
        {"a caption twice in the later table", {"Name", "Phone"}, {"Name", "Phone", "Phone"},
         {{"Name", "Phone", "Phone (2)", "Phone (3)"}, {"Ann Lee", "000", "", ""}, {"Bob Ray", "", "111", "222"}}},
        {"unnamed columns", {"Name", "Phone"}, {"Name", "", "", ""},
         {{"Name", "Phone", "Column 2", "Column 3", "Column 4"}, {"Ann Lee", "000", "", "", ""},
          {"Bob Ray", "", "111", "222", "333"}}},
        {"a caption twice in the first table", {"Name", "Phone", "Phone"}, {"Name", "Phone"},
         {{"Name", "Phone", "Phone", "Phone (2)"}, {"Ann Lee", "000", "001", ""}, {"Bob Ray", "", "", "111"}}},
        {"a caption that a column of its own took already", {"Name", "Phone"}, {"Name", "", "", "Column 3"},
         {{"Name", "Phone", "Column 2", "Column 3", "Column 3 (2)"}, {"Ann Lee", "000", "", "", ""},
          {"Bob Ray", "", "111", "222", "333"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        lists::NameListModel results(QStringLiteral("Result(s)"));
        const QStringList firstRow = QStringList{"Ann Lee", "000", "001"}.mid(0, c.firstHeader.size());
        const QStringList laterRow = QStringList{"Bob Ray", "111", "222", "333"}.mid(0, c.laterHeader.size());
        results.append(QStringLiteral("Ann Lee"), {table(c.firstHeader, {firstRow}, whole(0)), 1});
        results.append(QStringLiteral("Bob Ray"), {table(c.laterHeader, {laterRow}, whole(0)), 1});
        EXPECT_EQ(written(exporting::ResultTable(results, false)), c.expected);
    }
}

// The plain list holds the names, whatever column of their rows comes first.
TEST(ResultTable, PlainListWritesTheNames)
{
    lists::NameListModel results(QStringLiteral("Result(s)"));
    const auto roster = table({"Id", "First", "Last"}, {{"1", "Ann", "Lee"}}, parts(2, 1));
    results.append(QStringLiteral("Lee, Ann"), {roster, 1});
    results.append(QStringLiteral("Cy Vries")); // typed
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.txt"));
    tables::writeTable(path, commands::ResultExportCommand::formatOf(path), exporting::ResultTable(results, true));
    EXPECT_EQ(orvella::testing::readBytes(path), QByteArray("Lee, Ann\r\nCy Vries\r\n"));
}

TEST(ResultTable, FiledUnderAndTablesWithoutHeaderOrNone)
{
    lists::NameListModel results(QStringLiteral("Result(s)"));
    results.append(QStringLiteral("Ann Lee"));
    results.setNoteSource([](int row, const QString &, tables::RowNote note) {
        return note == tables::RowNote::FiledUnder ? QStringLiteral("under %1").arg(row) : QString();
    });
    // No table: one column, "Name".
    EXPECT_EQ(written(exporting::ResultTable(results, false)), (QList<QStringList>{{"Name"}, {"Ann Lee"}}));
    EXPECT_EQ(written(exporting::ResultTable(results, true)),
              (QList<QStringList>{{"Filed under", "Name"}, {"under 0", "Ann Lee"}}));

    // A table read without a header is written without one, unless "Filed under"
    // needs its caption; its columns are then named by number.
    const auto bare = table({}, {{"x", "Bo Ray"}}, whole(1));
    results.append(QStringLiteral("Bo Ray"), {bare, 0});
    EXPECT_EQ(written(exporting::ResultTable(results, false)), (QList<QStringList>{{"", "Ann Lee"}, {"x", "Bo Ray"}}));
    EXPECT_EQ(written(exporting::ResultTable(results, true)),
              (QList<QStringList>{{"Filed under", "Column 1", "Column 2"},
                                  {"under 0", "", "Ann Lee"},
                                  {"under 1", "x", "Bo Ray"}}));
}

// Rows above a header keep their columns, behind "Filed under" when it is added, and
// are written as they were: a blank one blank, without the empty cells a longer row
// gave them.
TEST(ResultTable, RowsAboveTheHeaderStayAboveIt)
{
    lists::NameListModel results(QStringLiteral("Result(s)"));
    const auto roster = table({"Last", "First", "Email"}, {{"Lee", "Ann", "a@x"}}, parts(0, 1),
                              {{"Roster", "", ""}, {}, {"", "printed", ""}});
    results.append(QStringLiteral("Lee, Ann"), {roster, 4});
    EXPECT_EQ(exporting::ResultTable(results, false).rowsAboveHeader(),
              (QList<QStringList>{{"Roster"}, {}, {"", "printed"}}));
    EXPECT_EQ(exporting::ResultTable(results, true).rowsAboveHeader(),
              (QList<QStringList>{{"", "Roster"}, {}, {"", "", "printed"}}));
    EXPECT_EQ(written(exporting::ResultTable(results, false)),
              (QList<QStringList>{{"Last", "First", "Email"}, {"Lee", "Ann", "a@x"}}));
}

// Every name column, in its order before the table's own, for a typed name and a row
// from name columns alike, each part as the reading that sorted it found it.
TEST(ResultTable, NameColumnsComeFirstReadAsTheSortReadThem)
{
    lists::NameListModel results(QStringLiteral("Result(s)"));
    const auto roster = table({"Id", "First", "Last"}, {{"7", "Ann Marie", "Lee"}}, parts(2, 1));
    results.append(QStringLiteral("Dr. John (Jack) Paul Smith Jr."));
    results.append(QStringLiteral("Lee, Ann Marie"), {roster, 1});
    results.setNoteSource([](int row, const QString &, tables::RowNote note) {
        return note == tables::RowNote::FiledUnder ? QStringLiteral("under %1").arg(row) : QString();
    });
    core::ExportOptions options;
    options.nameColumns.fill(true);
    names::ReadingChoices choices;
    choices.stepOverExtras = true;
    const names::WordTests words{[](QStringView) { return false; }, {}, [](QStringView w) { return w == u"Dr."; }};
    const exporting::ResultTable rows(results, options, names::NamePartsReader({}, choices, words));
    EXPECT_EQ(written(rows),
              (QList<QStringList>{{"Title", "First name", "Middle name", "Last name", "Suffix", "Nickname", "Last, First",
                                   "Filed under", "Id", "First", "Last"},
                                  {"Dr.", "John", "Paul", "Smith", "Jr.", "Jack", "Smith, John Paul", "under 0", "",
                                   "Dr. John (Jack) Paul Smith", "Jr."},
                                  {"", "Ann", "Marie", "Lee", "", "", "Lee, Ann Marie", "under 1", "7", "Ann Marie",
                                   "Lee"}}));
    // Any of them alone, in its place; a table without a header gets one for it.
    options.nameColumns.fill(false);
    options.set(core::NameColumn::Nickname, true);
    options.set(core::NameColumn::LastName, true);
    const auto bare = table({}, {{"Bo Ray"}}, whole(0));
    lists::NameListModel headerless(QStringLiteral("Result(s)"));
    headerless.append(QStringLiteral("Bo Ray"), {bare, 0});
    EXPECT_EQ(written(exporting::ResultTable(headerless, options)),
              (QList<QStringList>{{"Last name", "Nickname", "Column 1"}, {"Ray", "", "Bo Ray"}}));
}

namespace {
class ExportRoundTrip : public ::testing::TestWithParam<const char *> {};
} // namespace

// Exported, then loaded again as a table, the rows come back as they were, the title
// above the header too.
TEST_P(ExportRoundTrip, GivesBackTheSameRows)
{
    // A U+FEFF that begins the file's first cell or a line's is the cell's own; control
    // characters and U+FFFE, U+FFFF that XML cannot hold stay in the workbooks too.
    const QString mark(QChar(0xFEFF));
    const QStringList title = {mark + "Spring Roster — Lincoln", "", "", ""};
    const QList<QStringList> rows = {{mark + "Id", "First", "Last", "Note"},
                                     {"1", "Ann", "Lee", "a, \"quoted\"\nnote"},
                                     {"0012", "  Bo", "Ray ", "=1+2"},
                                     {"3", "Émile", "Zoë", mark + "x\u0001\u000B\u001F" + QChar(0xFFFE) + QChar(0xFFFF) + "_x0041_ &<\"\tz\r\n"},
                                     {mark + "4", "Cy", "de la Cruz", "tab\there"}};
    lists::NameListModel results(QStringLiteral("Result(s)"));
    const auto source = table(rows.first(), rows.mid(1), parts(2, 1), {{title.first()}});
    for (int row = 1; row < rows.size(); ++row)
        results.append(rows[row][2] + QStringLiteral(", ") + rows[row][1], {source, quint32(row + 1)});

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.") + QLatin1String(GetParam()));
    core::ExportOptions unprotected;
    unprotected.protectFormulas = false;
    tables::writeTable(path, commands::ResultExportCommand::formatOf(path), exporting::ResultTable(results, false), {},
                       unprotected);
    ScriptedDesktop desktop;
    const tables::TableRows back = tables::readTableFile(path, tables::tableKindOf(path), desktop);
    QList<QStringList> read;
    for (qsizetype row = 0; row < back.rowCount(); ++row)
        read << back.row(row);
    EXPECT_EQ(read, QList<QStringList>{title} + rows);
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportRoundTrip, ::testing::Values("csv", "tsv", "xlsx", "ods"));

// With formula protection (the default), a CSV loads back with the apostrophes it added;
// a workbook's cells are text cells and stay as they were.
TEST(ExportRoundTrip, ProtectedFormulasLoadBackWithTheirApostrophe)
{
    lists::NameListModel results(QStringLiteral("Result(s)"));
    const auto source = table({"Name", "Sum", "Phone"}, {{"Ann Lee", "=1+2", "+44 20 7946 0000"}}, whole(0));
    results.append(QStringLiteral("Ann Lee"), {source, 1});
    QTemporaryDir dir;
    ScriptedDesktop desktop;
    for (const auto &[file, sum] : {std::pair{"r.csv", "'=1+2"}, std::pair{"r.tsv", "'=1+2"}, std::pair{"r.xlsx", "=1+2"}}) {
        const QString path = dir.filePath(QLatin1String(file));
        tables::writeTable(path, commands::ResultExportCommand::formatOf(path), exporting::ResultTable(results, false));
        const tables::TableRows back = tables::readTableFile(path, tables::tableKindOf(path), desktop);
        EXPECT_EQ(back.row(1), (QStringList{"Ann Lee", sum, "+44 20 7946 0000"})) << file;
    }
}

// A note longer than an Excel cell holds is written whole to an OpenDocument file, and
// loads back whole.
TEST(OpenDocumentExport, LongCellsLoadBackWhole)
{
    const QList<QStringList> rows = {{"Name", "Note"}, {"Ann Lee", QString(40000, u'n')}};
    lists::NameListModel results(QStringLiteral("Result(s)"));
    results.append(QStringLiteral("Ann Lee"), {table(rows.first(), rows.mid(1), whole(0)), 1});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.ods"));
    tables::writeTable(path, tables::TableFormat::Ods, exporting::ResultTable(results, false));
    ScriptedDesktop desktop;
    const tables::TableRows back = tables::readTableFile(path, tables::TableKind::Ods, desktop);
    ASSERT_EQ(back.rowCount(), 2);
    EXPECT_EQ(back.row(1), rows[1]);
}

// Tables made of cells that hold the delimiters a CSV reader may take for a file's
// (comma, semicolon, TAB), quotes, line ends and spaces, in one column or several:
// exported as CSV and loaded again, each comes back as it was.
TEST(CsvExportRoundTrip, GeneratedTablesWithDelimitersInCellsLoadBackTheSame)
{
    const QStringList pieces = {"Lee", "Ann", ";", ",", "\t", " ", "\"", "Mc Kay", "\n", "; ", ""};
    std::mt19937 random(33);
    const auto pick = [&](int below) { return int(random() % unsigned(below)); };
    const auto cell = [&] {
        QString text;
        for (int n = pick(4); n >= 0; --n)
            text += pieces[pick(int(pieces.size()))];
        return text;
    };
    QTemporaryDir dir;
    ScriptedDesktop desktop;
    for (int made = 0; made < 200; ++made) {
        const int columns = 1 + pick(3);
        QList<QStringList> rows;
        for (int row = pick(5) + 2; row > 0; --row) {
            QStringList cells;
            for (int column = 0; column < columns; ++column)
                cells << cell();
            rows << cells;
        }
        lists::NameListModel results(QStringLiteral("Result(s)"));
        const auto source = table(rows.first(), rows.mid(1), whole(0));
        for (int row = 1; row < rows.size(); ++row)
            results.append(QStringLiteral("name %1").arg(row), {source, quint32(row)});

        const QString path = dir.filePath(QStringLiteral("results.csv"));
        core::ExportOptions unprotected;
        unprotected.protectFormulas = false;
        tables::writeTable(path, tables::TableFormat::Csv, exporting::ResultTable(results, false), {}, unprotected);
        const tables::TableRows back = tables::readTableFile(path, tables::TableKind::Csv, desktop);
        QList<QStringList> read;
        for (qsizetype row = 0; row < back.rowCount(); ++row)
            read << back.row(row);
        ASSERT_EQ(read, rows) << "table " << made << ":\n" << orvella::testing::readBytes(path).toStdString();
    }
}

// Cells longer than an Excel cell holds do not stop an .xlsx export: each is cut to fit
// (a character pair kept whole), and a report names the cells; every other cell is
// written whole.
TEST(ExportResults, OverlongCellsOfAWorkbookAreCutAndNamed)
{
    orvella::testing::CommandFixture fixture;
    const QString longText(40000, u'x');
    QString pairs;
    for (int i = 0; i < 20000; ++i)
        pairs += QStringLiteral("\U0001F600");
    const auto source = table({"Name", "Note", "More"}, {{"Ann Lee", longText, "a"}, {"Bo Ray", "b", pairs}}, whole(0));
    fixture.resultList.append(QStringLiteral("Ann Lee"), {source, 1});
    fixture.resultList.append(QStringLiteral("Bo Ray"), {source, 2});
    QString done;
    fixture.context.noteDone = [&](const QString &what) { done = what; };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.xlsx"));
    fixture.desktop.saveAnswers = {path};

    commands::ResultExportCommand(fixture.context).exportResults();

    ASSERT_EQ(fixture.desktop.messages.size(), 1u);
    const QString report = fixture.desktop.messages[0].text;
    EXPECT_TRUE(report.contains("B2") && report.contains("C3") && report.contains("32,767")) << report.toStdString();
    EXPECT_EQ(fixture.desktop.messages[0].style, core::MessageStyle::Exclamation);
    EXPECT_EQ(done, QStringLiteral("Exported 2 results to results.xlsx"));
    const tables::TableRows back = tables::readTableFile(path, tables::TableKind::Xlsx, fixture.desktop);
    EXPECT_EQ(back.row(1), (QStringList{"Ann Lee", longText.left(32767), "a"}));
    EXPECT_EQ(back.row(2), (QStringList{"Bo Ray", "b", pairs.left(32766)}));
}

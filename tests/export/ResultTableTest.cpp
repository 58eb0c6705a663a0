// The result list as Export Results writes it: rows from tables whole, under the first
// table's header, other tables' columns joined by their header, typed names in the
// name column(s), and the "Filed under" column.

#include "export/ResultExportCommand.h"
#include "export/ResultTable.h"
#include "lists/NameListModel.h"
#include "lists/TableFileReader.h"
#include "support/ScriptedDesktop.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvella;
using orvella::testing::ScriptedDesktop;

namespace {

// A table's cells: the rows above its header (a title) when given, the header, the rows.
lists::SourceTablePtr table(const QStringList &header, const QList<QStringList> &rows, core::ColumnChoice columns,
                            const QList<QStringList> &above = {})
{
    auto made = std::make_shared<lists::SourceTable>();
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

TEST(ResultTable, FiledUnderAndTablesWithoutHeaderOrNone)
{
    lists::NameListModel results(QStringLiteral("Result(s)"));
    results.append(QStringLiteral("Ann Lee"));
    results.setNoteSource([](int row, const QString &, lists::RowNote note) {
        return note == lists::RowNote::FiledUnder ? QStringLiteral("under %1").arg(row) : QString();
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

namespace {
class ExportRoundTrip : public ::testing::TestWithParam<const char *> {};
} // namespace

// Exported, then loaded again as a table, the rows come back as they were, the title
// above the header too.
TEST_P(ExportRoundTrip, GivesBackTheSameRows)
{
    const QStringList title = {"Spring Roster — Lincoln", "", "", ""};
    const QList<QStringList> rows = {{"Id", "First", "Last", "Note"},
                                     {"1", "Ann", "Lee", "a, \"quoted\"\nnote"},
                                     {"0012", "  Bo", "Ray ", "=1+2"},
                                     {"3", "Émile", "Zoë", ""},
                                     {"4", "Cy", "de la Cruz", "tab\there"}};
    lists::NameListModel results(QStringLiteral("Result(s)"));
    const auto source = table(rows.first(), rows.mid(1), parts(2, 1), {{title.first()}});
    for (int row = 1; row < rows.size(); ++row)
        results.append(rows[row][2] + QStringLiteral(", ") + rows[row][1], {source, quint32(row + 1)});

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.") + QLatin1String(GetParam()));
    exporting::writeTable(path, exporting::ResultExportCommand::formatOf(path), exporting::ResultTable(results, false));
    ScriptedDesktop desktop;
    const lists::TableRows back = lists::readTableFile(path, lists::tableKindOf(path), desktop);
    QList<QStringList> read;
    for (qsizetype row = 0; row < back.rowCount(); ++row)
        read << back.row(row);
    EXPECT_EQ(read, QList<QStringList>{title} + rows);
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportRoundTrip, ::testing::Values("csv", "tsv", "xlsx", "ods"));

#include "commands/GroupCommand.h"
#include "commands/PaperRows.h"
#include "commands/SortFixture.h"
#include "lists/NameColumns.h"
#include "lists/RememberedColumns.h"

#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;
using Grouping = core::RowGrouping;

namespace {

const QStringList kHeader = {"Id", "First", "Last", "Room", "Email"};

// A roster: Id, First, Last, Room, Email; the names built "Last, First" from the
// separate name columns, as a loaded table builds them.
tables::SourceTablePtr roster(const QList<QStringList> &rows)
{
    auto table = std::make_shared<tables::SourceTable>();
    table->header = kHeader;
    table->cells.appendRow(table->header);
    table->columns = {core::ColumnChoice::Kind::NameParts, true, -1, 2, 1, -1, -1};
    for (const QStringList &row : rows)
        table->cells.appendRow(row);
    table->commaLines = true;
    return table;
}

const QList<QStringList> kRows = {
    {"1", "Ann", "Lee", "10A", "ann@x"}, {"2", "Bo", "Ames", "7B", "bo@x"},   {"3", "Cy", "Lee", "7B", "cy@x"},
    {"4", "Di", "Kim", "10A", "bo@x"},   {"5", "Ed", "Lee", "7B", "ed@x"},    {"6", "Fay", "Cole", "", "fay@x"},
    {"7", "Gus", "Ames", "9", "gus@x"},  {"8", "Bo", "Ames", "7B", "other@x"},
};

void loadRoster(SortFixture &f, const QList<QStringList> &rows)
{
    const tables::SourceTablePtr table = roster(rows);
    tables::TextRows names;
    std::vector<quint32> places;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        names.append(lists::nameOfRow(rows[r], table->columns));
        places.push_back(quint32(r + 1));
    }
    f.inputList.appendMany(std::move(names), table, places);
}

// The Id cell of each result's row ("-" for a name typed), a "|" before each group.
QStringList groupedIds(const lists::NameListModel &results)
{
    QStringList ids;
    for (int position = 1; position <= results.count(); ++position) {
        if (!results.note(position, tables::RowNote::GroupStart).isEmpty())
            ids << QStringLiteral("|");
        const tables::NameRow row = results.rowOf(position);
        ids << (row ? row.table->cells.cell(row.row, 0) : QStringLiteral("-"));
    }
    return ids;
}

Grouping groupedBy(const QString &caption, Grouping::Order order = Grouping::Order::Natural)
{
    Grouping grouping;
    grouping.caption = caption;
    grouping.order = order;
    return grouping;
}

Grouping sameBy(Grouping::SameRows same, const QString &caption = {})
{
    Grouping grouping;
    grouping.sameRows = same;
    grouping.sameCaption = caption;
    return grouping;
}

struct GroupCase {
    const char *what;
    Grouping grouping;
    bool noDuplicates = false, unique = false, limited = false;
    QStringList ids;
    QString status; // what the status line says after "sorted in N s"
};

class GroupedSort : public ::testing::TestWithParam<GroupCase> {};

} // namespace

// The roster plus a typed name ("Al Zed"), sorted by last name in every case: a
// group column puts the rows group after group, each group in that order, and the
// last-name filters and the duplicate filter count within what the choice says.
TEST_P(GroupedSort, RowsComeGroupByGroupInNameOrder)
{
    const GroupCase c = GetParam();
    SortFixture f;
    f.read(Reading::LastWord);
    f.controls.noDuplicates = c.noDuplicates;
    f.controls.uniqueLastNames = c.unique;
    f.controls.perLastName = c.limited;
    f.controls.limit = QStringLiteral("1");
    f.command.setGroupingSource([&c] { return c.grouping; });
    QString status;
    f.context.noteDone = [&status](const QString &what) { status = what; };
    f.inputList.append(QStringLiteral("Al Zed"));
    loadRoster(f, kRows);
    f.run();
    EXPECT_EQ(groupedIds(f.resultList).join(' '), c.ids.join(' ')) << c.what;
    EXPECT_EQ(status.section(QStringLiteral(" \u00b7 "), 1), c.status) << c.what;
    EXPECT_TRUE(f.desktop.errorReports().empty()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, GroupedSort,
    ::testing::Values(
        GroupCase{"no grouping", {}, false, false, false, {"2", "8", "7", "6", "4", "1", "3", "5", "-"}, ""},
        // 7B before 9 before 10A; the empty cell and the typed name last.
        GroupCase{"natural order",
                  groupedBy("room"),
                  false, false, false,
                  {"|", "2", "8", "3", "5", "|", "7", "|", "4", "1", "|", "6", "-"},
                  "grouped by Room"},
        GroupCase{"as first met",
                  groupedBy("Room", Grouping::Order::FirstMet),
                  false, false, false,
                  {"|", "4", "1", "|", "2", "8", "3", "5", "|", "7", "|", "6", "-"},
                  "grouped by Room"},
        GroupCase{"unique last names per group",
                  groupedBy("Room"),
                  false, true, false,
                  {"|", "2", "3", "|", "7", "|", "4", "1", "|", "6", "-"},
                  "grouped by Room \u00b7 2 names removed by the last-name filter"},
        GroupCase{"one name per last name per group",
                  groupedBy("Room"),
                  false, false, true,
                  {"|", "2", "3", "|", "7", "|", "4", "1", "|", "6", "-"},
                  "grouped by Room \u00b7 2 names removed by the last-name filter"},
        GroupCase{"a column the table lacks groups nothing apart",
                  groupedBy("Nope"),
                  false, false, false,
                  {"|", "2", "8", "7", "6", "4", "1", "3", "5", "-"},
                  "grouped by Nope"},
        GroupCase{"same names", sameBy(Grouping::SameRows::Name), true, false, false,
                  {"2", "7", "6", "4", "1", "3", "5", "-"}, "1 duplicate removed"},
        GroupCase{"same e-mail", sameBy(Grouping::SameRows::Column, "Email"), true, false, false,
                  {"2", "8", "7", "6", "1", "3", "5", "-"}, "1 duplicate removed"},
        GroupCase{"same whole rows", sameBy(Grouping::SameRows::Row), true, false, false,
                  {"2", "8", "7", "6", "4", "1", "3", "5", "-"}, ""}));

// A grouped sort notes each group's column and value on its first row, for the row's
// tooltip and for a screen reader; the other rows and the exported text say nothing of it.
TEST(GroupedSort, FirstRowOfEachGroupTellsItsGroup)
{
    SortFixture f;
    f.read(Reading::LastWord);
    f.command.setGroupingSource([] { return groupedBy(QStringLiteral("Room")); });
    loadRoster(f, kRows);
    f.inputList.append(QStringLiteral("Al Zed"));
    f.run();
    f.resultList.flushPendingRows();
    ASSERT_EQ(f.resultList.count(), 9);
    const auto note = [&f](int position) { return f.resultList.note(position, tables::RowNote::GroupStart); };
    EXPECT_EQ(note(1), QStringLiteral("Room: 7B"));
    EXPECT_EQ(note(2), QString());
    EXPECT_EQ(note(5), QStringLiteral("Room: 9"));
    EXPECT_EQ(note(6), QStringLiteral("Room: 10A"));
    EXPECT_EQ(note(8), QStringLiteral("Room: (empty)"));
    const QModelIndex first = f.resultList.index(0);
    EXPECT_EQ(f.resultList.data(first, Qt::AccessibleTextRole).toString(), QStringLiteral("Room: 7B, Ames, Bo"));
    EXPECT_TRUE(f.resultList.data(first, Qt::ToolTipRole).toString().startsWith(QStringLiteral("Room: 7B\n")));
    EXPECT_EQ(f.resultList.data(f.resultList.index(1), Qt::AccessibleTextRole), QVariant());
    EXPECT_EQ(f.resultList.item(1), QStringLiteral("Ames, Bo"));
    // On paper every row carries its group, which heads the group's part of a list.
    const commands::PaperRows paper = commands::paperRows(f.resultList, core::PaperChoices(), {});
    ASSERT_EQ(paper.rows.size(), 9u);
    EXPECT_EQ(paper.rows[3].group, QStringLiteral("Room: 7B"));
    EXPECT_EQ(paper.rows[4].group, QStringLiteral("Room: 9"));
    EXPECT_EQ(paper.rows[8].group, QStringLiteral("Room: (empty)"));
}

// "Group By Column…" proposes the choice kept for the table's header and keeps the
// answer with the header's name columns: a table with the same header (its cells in
// any case) finds it, one with another header does not, and forgetting the remembered
// columns forgets it too.
TEST(GroupCommand, KeepsTheChoicePerHeader)
{
    SortFixture f;
    commands::GroupCommand group(f.context);
    EXPECT_FALSE(group.available());
    loadRoster(f, kRows);
    EXPECT_TRUE(group.available());
    Grouping answer;
    answer.column = 3;
    answer.order = Grouping::Order::FirstMet;
    answer.sameRows = Grouping::SameRows::Column;
    answer.sameColumn = 4;
    f.desktop.groupingAnswers.push_back(answer);
    group.choose();
    ASSERT_EQ(f.desktop.groupingRequests.size(), 1u);
    EXPECT_EQ(f.desktop.groupingRequests[0].columns, kHeader);
    EXPECT_FALSE(f.desktop.groupingRequests[0].current.groups());

    const Grouping kept = group.current();
    EXPECT_EQ(kept.caption, QStringLiteral("Room"));
    EXPECT_EQ(kept.column, 3);
    EXPECT_EQ(kept.order, Grouping::Order::FirstMet);
    EXPECT_EQ(kept.sameCaption, QStringLiteral("Email"));
    group.choose(); // proposes the kept choice; Cancel keeps it
    EXPECT_EQ(f.desktop.groupingRequests[1].current, kept);
    EXPECT_EQ(group.current(), kept);

    lists::RememberedColumns remembered(f.settings);
    EXPECT_EQ(remembered.findGrouping({"ID", " first", "LAST", "room", "email"})->column, 3);
    EXPECT_EQ(remembered.findGrouping({"Id", "First", "Last", "Room"}), std::nullopt);
    remembered.remember(kHeader, roster({})->columns); // loading the table again keeps it
    EXPECT_EQ(remembered.findGrouping(kHeader), kept);
    remembered.forgetAll();
    EXPECT_EQ(group.current(), Grouping());
}

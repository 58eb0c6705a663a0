// The undo history's memory: what the steps keep alive that no list holds, counted in
// bytes against the budget.

#include "app/ListHistory.h"
#include "lists/NameListModel.h"
#include "support/NoNewThreads.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace orvella;

namespace {

// Clears A, removes a row of B, then clears B, under a history with the given budget.
struct ClearsAndRemoval {
    lists::NameListModel a{QStringLiteral("a")}, b{QStringLiteral("b")};
    app::ListHistory history;
    qsizetype heldBeforeLastClear = 0;

    explicit ClearsAndRemoval(qsizetype budget) : history({&a, &b}, nullptr, budget)
    {
        a.appendMany(QStringList{"1", "2", "3"});
        b.appendMany(QStringList{"4", "5", "6"});
        history.run(QStringLiteral("Clear A"), [&] { a.clear(); });
        history.run(QStringLiteral("Remove"), [&] {
            b.select(1);
            b.removeAt(1);
        });
        heldBeforeLastClear = history.bytesHeld();
        history.run(QStringLiteral("Clear B"), [&] { b.clear(); });
    }
};

// Steps that hold cleared lists are forgotten, oldest first, once they would hold more
// than the budget; the newest step is always kept.
TEST(UndoRedo, ClearedListsHeldWithinTheBudget)
{
    ClearsAndRemoval unbounded(qsizetype(1) << 40);
    EXPECT_EQ(unbounded.history.count(), 5); // two appends, two clears, the removal
    const qsizetype all = unbounded.history.bytesHeld();
    ASSERT_GT(unbounded.heldBeforeLastClear, 0);
    ASSERT_GT(all, unbounded.heldBeforeLastClear);

    ClearsAndRemoval justEnough(all);
    EXPECT_EQ(justEnough.history.count(), 5);

    ClearsAndRemoval short1(all - 1); // the last clear makes the rest go
    EXPECT_EQ(short1.history.count(), 1);
    EXPECT_LT(short1.history.bytesHeld(), all);
    short1.history.undo();
    EXPECT_EQ(short1.b.items(), (QStringList{"5", "6"}));
    EXPECT_FALSE(short1.history.canUndo());
    EXPECT_TRUE(short1.a.isEmpty());
}

// A table of two rows whose cells hold a long note each.
tables::SourceTablePtr tableWithNotes(qsizetype noteBytes)
{
    auto table = std::make_shared<tables::SourceTable>();
    const QString note(noteBytes, QLatin1Char('n'));
    table->cells.appendRow(QStringList{"Name", "Note"});
    table->cells.appendRow(QStringList{"Ann Lee", note});
    table->cells.appendRow(QStringList{"Bo Ray", note});
    return table;
}

// A row of a table keeps all of the table's cells: the history counts them, so a table
// loaded and cleared again and again stays within the budget, however few its rows.
TEST(UndoRedo, ClearedTablesCountTheirCells)
{
    constexpr qsizetype kNote = qsizetype(4) << 20;
    const qsizetype tableBytes = tableWithNotes(kNote)->bytes();
    ASSERT_GE(tableBytes, 2 * kNote);
    // Room for one such table and a half: each clear makes the one before go.
    const qsizetype budget = tableBytes * 3 / 2;
    lists::NameListModel input(QStringLiteral("input")), results(QStringLiteral("results"));
    app::ListHistory history({&input, &results}, nullptr, budget);
    // What the history forgets is then freed at once, not on a worker.
    const orvella::testing::NoNewThreads freedHere;
    ASSERT_TRUE(freedHere.set());
    std::vector<std::weak_ptr<const tables::SourceTable>> loaded;
    for (int round = 0; round < 6; ++round) {
        tables::SourceTablePtr table = tableWithNotes(kNote);
        loaded.push_back(table);
        tables::TextRows names;
        names.append(u"Ann Lee");
        names.append(u"Bo Ray");
        history.run(QStringLiteral("Open Files"), [&] { input.appendMany(std::move(names), std::move(table), {1, 2}); });
        history.run(QStringLiteral("Clear List"), [&] { input.clear(); });
        EXPECT_LE(history.bytesHeld(), budget) << "round " << round;
    }
    int alive = 0;
    for (const auto &kept : loaded)
        alive += kept.expired() ? 0 : 1;
    EXPECT_EQ(alive, 1);
    EXPECT_GE(history.bytesHeld(), tableBytes);
    // The last clear is still taken back, with its rows' cells.
    history.undo();
    ASSERT_EQ(input.count(), 2);
    EXPECT_EQ(input.rowOf(2).table->cells.cell(2, 1).size(), kNote);
}

} // namespace

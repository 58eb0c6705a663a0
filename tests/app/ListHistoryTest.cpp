// The undo history's memory: what the steps keep alive that no list holds, counted in
// bytes against the budget; and what undo and redo give back.

#include "app/ListHistory.h"
#include "commands/SortFixture.h"
#include "lists/NameListModel.h"
#include "support/NoNewThreads.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <functional>
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

// Both lists as a user sees them: every item and what each result was filed under.
struct ListsSeen {
    QStringList input, results, filedUnder;
    bool operator==(const ListsSeen &) const = default;
};

void PrintTo(const ListsSeen &lists, std::ostream *out)
{
    *out << "input [" << lists.input.join(" | ").toStdString() << "] results ["
         << lists.results.join(" | ").toStdString() << "] filed under [" << lists.filedUnder.join(" | ").toStdString()
         << "]";
}

ListsSeen seen(const orvella::testing::SortFixture &f)
{
    ListsSeen lists{f.inputList.items(), f.resultList.items(), {}};
    for (int i = 1; i <= f.resultList.count(); ++i)
        lists.filedUnder << f.resultList.note(i, tables::RowNote::FiledUnder);
    return lists;
}

struct SequenceCase {
    quint32 seed;
    orvella::testing::Reading reading;
    bool noDuplicates;
};

class UndoSequences : public ::testing::TestWithParam<SequenceCase> {};

// A seeded sequence of loads, sorts, clears, names added, undos and redos against a
// model of the lists: a stack of what the lists showed after each command. Undo and
// redo give back every name, row and note; names that show other than as read keep
// their own text. When the history and the lists let go, every block is freed.
TEST_P(UndoSequences, GiveBackWhatEachCommandChanged)
{
    const qsizetype blocksBefore = tables::TextRows::liveBlocks();
    {
        orvella::testing::SortFixture f;
        f.read(GetParam().reading);
        f.controls.noDuplicates = GetParam().noDuplicates;
        auto history = std::make_unique<app::ListHistory>(std::initializer_list<lists::NameListModel *>{
            &f.inputList, &f.resultList});
        const QStringList pool = {"Ann Lee", "Bo  Kim", "Lee, Cy", "Dee Ames Jr.", " Eve Zu", "Al Kim", "Ann Lee"};
        QRandomGenerator random(GetParam().seed);
        std::vector<ListsSeen> states{seen(f)};
        size_t at = 0;
        // A command that changes nothing (a clear of an empty list) makes no step.
        const auto command = [&](const char *text, const std::function<void()> &change) {
            history->run(QString::fromLatin1(text), change);
            if (history->count() != int(at) + 1 || history->canRedo())
                return;
            states.resize(at + 1);
            states.push_back(seen(f));
            at = states.size() - 1;
        };
        for (int step = 0; step < 120; ++step) {
            const quint32 action = random.bounded(7);
            if (action == 0) {
                command("Load", [&] {
                    for (int n = random.bounded(1, 40); n > 0; --n)
                        f.inputList.append(pool[random.bounded(int(pool.size()))]);
                });
            } else if (action == 1 && !f.inputList.isEmpty()) {
                command("Sort", [&] { f.run(); });
            } else if (action == 2) {
                command("Clear", [&] { (random.bounded(2) ? f.inputList : f.resultList).clear(); });
            } else if (action == 3) {
                // A name typed into the results: they no longer are the sort's alone.
                command("Add", [&] { f.resultList.append(pool[random.bounded(int(pool.size()))]); });
            } else if (action >= 4 && action <= 5 && history->canUndo()) {
                history->undo();
                ASSERT_GT(at, 0u) << "step " << step;
                --at;
            } else if (action == 6 && history->canRedo()) {
                history->redo();
                ++at;
            }
            ASSERT_EQ(seen(f), states[at]) << "step " << step << " action " << action;
        }
        f.inputList.flushPendingRows();
        EXPECT_GT(tables::TextRows::liveBlocks(), blocksBefore);
        history.reset();
        f.inputList.clear();
        f.resultList.clear();
    }
    EXPECT_EQ(tables::TextRows::liveBlocks(), blocksBefore);
}

INSTANTIATE_TEST_SUITE_P(Seeded, UndoSequences,
                         ::testing::Values(SequenceCase{1, orvella::testing::Reading::LastWord, false},
                                           SequenceCase{2, orvella::testing::Reading::SkipSuffix, false},
                                           SequenceCase{3, orvella::testing::Reading::FirstLast, true},
                                           SequenceCase{4, orvella::testing::Reading::SkipSuffix, true}));

} // namespace

namespace {

// A sort's results given way to the next sort's are kept as places in the input's
// blocks, which the input list still holds: the history keeps far less than their text.
TEST(UndoRedo, ReplacedResultsShareTheInputsText)
{
    orvella::testing::SortFixture f;
    f.read(orvella::testing::Reading::LastWord);
    app::ListHistory history({&f.inputList, &f.resultList});
    QStringList names;
    for (int i = 0; i < 20000; ++i)
        names << QStringLiteral("Given%1 Family%2").arg(i).arg(i * 7919 % 20000);
    history.run(QStringLiteral("Load"), [&] { f.inputList.appendMany(names); });
    history.run(QStringLiteral("Sort"), [&] { f.run(); });
    const QStringList first = f.results();
    const qsizetype resultText = f.inputList.sharedTexts().bytes();
    f.controls.uniqueLastNames = true;
    history.run(QStringLiteral("Sort"), [&] { f.run(); });
    EXPECT_LT(history.bytesHeld(), resultText / 4);
    history.undo();
    EXPECT_EQ(f.results(), first);
}

} // namespace

namespace {

// Undo of a grouped sort gives back the results before it, without the group notes;
// redo gives the grouped results back with them.
TEST(UndoRedo, AGroupedSortGivesWayToTheEarlierResults)
{
    orvella::testing::SortFixture f;
    f.read(orvella::testing::Reading::LastWord);
    app::ListHistory history({&f.inputList, &f.resultList});
    auto table = std::make_shared<tables::SourceTable>();
    table->header = {"Name", "Room"};
    table->cells.appendRow(table->header);
    tables::TextRows names;
    std::vector<quint32> rows;
    for (const auto &[name, room] : {std::pair{"Bo Lee", "2"}, {"Ann Ames", "10"}, {"Cy Kim", "2"}, {"Di Ray", "10"}}) {
        table->cells.appendRow(QStringList{name, room});
        names.append(QString::fromUtf8(name));
        rows.push_back(quint32(table->cells.rowCount() - 1));
    }
    history.run(QStringLiteral("Load"), [&] { f.inputList.appendMany(std::move(names), table, rows); });
    history.run(QStringLiteral("Sort"), [&] { f.run(); });
    const QStringList plain = f.results();
    core::RowGrouping byRoom;
    byRoom.caption = QStringLiteral("Room");
    f.command.setGroupingSource([&byRoom] { return byRoom; });
    history.run(QStringLiteral("Sort"), [&] { f.run(); });
    const QStringList grouped{"Cy Kim", "Bo Lee", "Ann Ames", "Di Ray"};
    EXPECT_EQ(f.results(), grouped);
    EXPECT_EQ(f.resultList.note(3, tables::RowNote::GroupStart), QStringLiteral("Room: 10"));

    history.undo();
    EXPECT_EQ(f.results(), plain);
    EXPECT_EQ(plain, (QStringList{"Ann Ames", "Cy Kim", "Bo Lee", "Di Ray"}));
    EXPECT_EQ(f.resultList.note(1, tables::RowNote::GroupStart), QString());
    history.redo();
    EXPECT_EQ(f.results(), grouped);
    EXPECT_EQ(f.resultList.note(1, tables::RowNote::GroupStart), QStringLiteral("Room: 2"));
}

} // namespace

// The lists' block storage: rows kept in blocks of text read back exactly as they
// went in, whatever the edits, removals and block boundaries.
#include "core/ShownText.h"
#include "lists/NameListModel.h"
#include "tables/TextRows.h"
#include "support/CommandFixture.h"
#include "support/MemorySettings.h"
#include "support/ScriptedDesktop.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <algorithm>
#include <functional>
#include <optional>
#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;
using tables::TextRows;

namespace {

// Small blocks, so that a few rows already span several: 8 characters or 3 rows.
TextRows smallRows()
{
    return TextRows(8, 3);
}

TextRows rowsOf(const QStringList &texts)
{
    TextRows rows = smallRows();
    for (const QString &text : texts)
        rows.append(text);
    return rows;
}

// Every way of reading the rows gives the expected texts.
void expectRows(const TextRows &rows, const QStringList &expected)
{
    ASSERT_EQ(rows.size(), expected.size());
    EXPECT_EQ(rows.isEmpty(), expected.isEmpty());
    EXPECT_EQ(rows.toList(), expected);
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(rows.at(i).toString(), expected[i]) << "row " << i;
    QStringList visited;
    rows.forEach([&visited](QStringView text) { visited << text.toString(); });
    EXPECT_EQ(visited, expected);
}

struct EditCase {
    const char *label;
    QStringList start;
    std::function<void(TextRows &)> edit;
    QStringList after;
};

class RowEdits : public ::testing::TestWithParam<EditCase> {};

TEST_P(RowEdits, RowsReadBackAsEdited)
{
    TextRows rows = rowsOf(GetParam().start);
    GetParam().edit(rows);
    expectRows(rows, GetParam().after);
}

const QString kLong = QStringLiteral("a row longer than a block");

INSTANTIATE_TEST_SUITE_P(
    Table, RowEdits,
    ::testing::Values(
        EditCase{"RowsAcrossBlockBoundaries", {"ab", "cde", "fgh", "ij", "k", "lmnop", "q"}, [](TextRows &) {},
                 {"ab", "cde", "fgh", "ij", "k", "lmnop", "q"}},
        EditCase{"EmptyRows", {"", "", "", "", "a", ""}, [](TextRows &) {}, {"", "", "", "", "a", ""}},
        EditCase{"RowLongerThanABlock", {"a", kLong, "b", kLong}, [](TextRows &) {}, {"a", kLong, "b", kLong}},
        EditCase{"RemoveInTheMiddleOfABlock", {"a", "b", "c", "d", "e", "f"}, [](TextRows &r) { r.remove(4); },
                 {"a", "b", "c", "d", "f"}},
        EditCase{"RemoveABlocksFirstAndLastRow", {"a", "b", "c", "d", "e", "f", "g"},
                 [](TextRows &r) {
                     r.remove(3); // d, first of the second block
                     r.remove(3); // e
                     r.remove(3); // f: the second block is gone
                 },
                 {"a", "b", "c", "g"}},
        EditCase{"RemoveEveryRowThenAppend", {"a", "b", "c", "d"},
                 [](TextRows &r) {
                     while (!r.isEmpty())
                         r.remove(r.size() / 2);
                     r.append(u"new");
                 },
                 {"new"}},
        EditCase{"RemoveTheLongRow", {"a", kLong, "b"}, [](TextRows &r) { r.remove(1); }, {"a", "b"}},
        EditCase{"ReplaceLongerShorterEmpty", {"ab", "cd", "ef", "gh", "ij", "kl", "mn"},
                 [](TextRows &r) {
                     r.replace(4, u"a much longer row");
                     r.replace(3, u"");
                     r.replace(5, u"K");
                     r.replace(0, u"first");
                 },
                 {"first", "cd", "ef", "", "a much longer row", "K", "mn"}},
        EditCase{"ClearThenAppend", {"a", "b", "c", "d"},
                 [](TextRows &r) {
                     r = smallRows();
                     r.append(u"x");
                     r.append(u"");
                 },
                 {"x", ""}},
        EditCase{"AppendFewRowsJoinTheLastBlock", {"a", "b"},
                 [](TextRows &r) {
                     TextRows more = smallRows();
                     more.append(u"c");
                     r.append(std::move(more));
                     r.append(u"d");
                 },
                 {"a", "b", "c", "d"}},
        EditCase{"AppendManyRowsKeepTheirBlocks", {"a", "b"},
                 [](TextRows &r) {
                     TextRows more = rowsOf({"c", "d", "e", "f", "g", "h", "i"});
                     r.append(std::move(more));
                     r.remove(7);
                     r.replace(2, u"C");
                     r.append(u"j");
                 },
                 {"a", "b", "C", "d", "e", "f", "g", "i", "j"}},
        EditCase{"AppendOntoNothing", {},
                 [](TextRows &r) {
                     r.append(rowsOf({"a", "b", "c", "d"}));
                     r.append(TextRows());
                 },
                 {"a", "b", "c", "d"}}),
    [](const auto &info) { return std::string(info.param.label); });

TEST(TextRows, BlocksHoldAtMostTheirCharactersOrRows)
{
    // 8 characters or 3 rows a block; a longer row gets one of its own.
    EXPECT_EQ(rowsOf({"a", "b", "c", "d"}).blockCount(), 2);
    EXPECT_EQ(rowsOf({"abcd", "efgh", "i"}).blockCount(), 2);
    EXPECT_EQ(rowsOf({"a", kLong, "b"}).blockCount(), 3);
    TextRows moved = rowsOf({"a", "b", "c", "d"});
    TextRows taker(std::move(moved));
    expectRows(moved, {});
    expectRows(taker, {"a", "b", "c", "d"});
}

TEST(TextRows, RandomEditsMatchAPlainList)
{
    // A fixed sequence of appends, edits, insertions, removals and tails taken out
    // (and put back, as taking back a change does) against a list of strings. Now and
    // then the rows are shared, as a history keeps them: the shared rows keep reading
    // as they were whatever the edits after.
    QRandomGenerator random(16);
    TextRows rows = smallRows();
    QStringList plain;
    TextRows kept = smallRows();
    QStringList keptPlain;
    for (int step = 0; step < 3000; ++step) {
        if (step % 100 == 0) {
            expectRows(kept, keptPlain);
            kept = rows.shared();
            keptPlain = plain;
        }
        const QString text = QString(int(random.bounded(12)), QChar(u'a' + step % 26));
        const quint32 action = random.bounded(12);
        if (plain.isEmpty() || action < 5) {
            rows.append(text);
            plain.append(text);
        } else if (action < 7) {
            const qsizetype at = random.bounded(int(plain.size()));
            rows.remove(at);
            plain.removeAt(at);
        } else if (action == 9) {
            const qsizetype at = random.bounded(int(plain.size()) + 1);
            rows.insert(at, text);
            plain.insert(at, text);
        } else if (action >= 10) {
            const qsizetype at = random.bounded(int(plain.size()) + 1);
            TextRows tail = rows.takeFrom(at);
            if (step % 50 == 0)
                expectRows(tail, plain.mid(at));
            if (action == 10) {
                rows.append(std::move(tail));
            } else {
                plain.erase(plain.begin() + at, plain.end());
            }
            if (step % 50 == 0)
                expectRows(rows, plain);
        } else {
            const qsizetype at = random.bounded(int(plain.size()));
            rows.replace(at, text);
            plain[at] = text;
        }
    }
    expectRows(rows, plain);
}

TEST(TextRows, SharedBlocksLiveUntilTheirLastHolderLetsGo)
{
    const qsizetype before = TextRows::liveBlocks();
    std::optional<TextRows> rows = rowsOf({"abcd", "efgh", "ij", "kl", "mn"});
    ASSERT_EQ(rows->blockCount(), 2);
    EXPECT_EQ(TextRows::liveBlocks(), before + 2);
    std::optional<TextRows> shared = rows->shared();
    EXPECT_EQ(TextRows::liveBlocks(), before + 2);
    // An edit copies the one block it changes; the other holder keeps the old one.
    rows->replace(2, u"IJ");
    EXPECT_EQ(TextRows::liveBlocks(), before + 3);
    expectRows(*rows, {"abcd", "efgh", "IJ", "kl", "mn"});
    expectRows(*shared, {"abcd", "efgh", "ij", "kl", "mn"});
    rows.reset();
    EXPECT_EQ(TextRows::liveBlocks(), before + 2);
    // A tail cut from the middle of a block copies the rows after the cut.
    TextRows tail = shared->takeFrom(1);
    expectRows(tail, {"efgh", "ij", "kl", "mn"});
    EXPECT_EQ(TextRows::liveBlocks(), before + 3);
    shared.reset();
    EXPECT_EQ(TextRows::liveBlocks(), before + 2);
    tail = smallRows();
    EXPECT_EQ(TextRows::liveBlocks(), before);
}

// The model over full-size blocks: many thousand rows, so several blocks. As places,
// the list shows the rows of another list backwards, as a sort's results do, every
// fifth of them with a text of its own.
struct BigList {
    lists::NameListModel list{QStringLiteral(" Name(s)")};
    QStringList plain;

    explicit BigList(int count, bool asPlaces = false)
    {
        for (int i = 1; i <= count; ++i)
            plain << QStringLiteral("Name %1 %2").arg(i).arg(QString(i % 7, QChar(u'x')));
        if (!asPlaces) {
            list.appendMany(plain);
        } else {
            lists::NameListModel source(QStringLiteral(" Name(s)"));
            source.appendMany(plain);
            list.showRowsOf(source.sharedTexts());
            std::reverse(plain.begin(), plain.end());
            for (int i = 0; i < count; ++i) {
                if (i % 5 == 0)
                    plain[i] += u'!';
                list.appendFrom(plain[i], count - 1 - i, {});
            }
        }
        list.flushPendingRows();
    }
    void expectSame()
    {
        ASSERT_EQ(list.count(), plain.size());
        ASSERT_EQ(list.rowCount(), plain.size());
        EXPECT_EQ(list.items(), plain);
        for (int i = 1; i <= list.count(); i += 97) {
            EXPECT_EQ(list.item(i), plain[i - 1]);
            EXPECT_EQ(list.itemView(i), plain[i - 1]);
            EXPECT_EQ(list.data(list.index(i - 1), Qt::DisplayRole).toString(), plain[i - 1]);
            EXPECT_EQ(list.data(list.index(i - 1), Qt::EditRole).toString(), plain[i - 1]);
        }
    }
};

// Edits, a long text and an append, then the list against the plain one.
void editAndAppend(BigList &f)
{
    f.list.setItem(12345, QString(70000, QChar(u'L'))); // longer than a block
    f.plain[12344] = QString(70000, QChar(u'L'));
    f.list.setItem(2, QString());
    f.plain[1] = QString();
    f.list.append(QStringLiteral("last"));
    f.plain << QStringLiteral("last");
    f.list.flushPendingRows();
    f.expectSame();
    EXPECT_EQ(f.list.data(f.list.index(12344), Qt::DisplayRole).toString().size(), core::kShownLength + 1);
}

TEST(NameListModelBlocks, EditsAndRemovalsInTheMiddleOfABigList)
{
    for (const bool asPlaces : {false, true}) {
        SCOPED_TRACE(asPlaces ? "places in another list's blocks" : "texts of its own");
        BigList f(20000, asPlaces);
        EXPECT_GT(f.list.sharedTexts().blockCount(), 2);
        for (const int position : {10000, 1, 19998, 4096, 4097}) {
            f.list.removeAt(position);
            f.plain.removeAt(position - 1);
        }
        f.expectSame();
        editAndAppend(f);
    }
}

TEST(NameListModelBlocks, ClearThenAppendStartsAfresh)
{
    BigList f(60000); // freed on a worker thread
    f.list.clear();
    EXPECT_EQ(f.list.count(), 0);
    EXPECT_EQ(f.list.rowCount(), 0);
    EXPECT_TRUE(f.list.items().isEmpty());
    f.list.append(QStringLiteral("a"));
    tables::TextRows more;
    more.append(u"b");
    more.append(u"");
    f.list.appendMany(std::move(more));
    f.list.flushPendingRows();
    EXPECT_EQ(itemsOf(f.list), (QStringList{"a", "b", ""}));
    EXPECT_EQ(f.list.rowCount(), 3);
}

TEST(NameListModelBlocks, MillionsOfRowsReachTheViewsASliceAPass)
{
    lists::NameListModel list(QStringLiteral("Result(s)"));
    const qsizetype total = lists::NameListModel::kRowsPerPass * 2 + 5;
    tables::TextRows rows;
    for (qsizetype i = 0; i < total; ++i)
        rows.append(u"n");
    list.appendMany(std::move(rows));
    int inserts = 0;
    QObject::connect(&list, &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
    std::vector<int> shown;
    while (list.hasPendingRows() && shown.size() < 10) {
        QCoreApplication::processEvents();
        shown.push_back(list.rowCount());
    }
    EXPECT_EQ(shown, (std::vector<int>{1000000, 2000000, 2000005}));
    EXPECT_EQ(inserts, 3);
    // Asked for, every row is there at once.
    list.append(QStringLiteral("more"));
    list.flushPendingRows();
    EXPECT_EQ(list.rowCount(), total + 1);
    EXPECT_FALSE(list.hasPendingRows());
}

} // namespace

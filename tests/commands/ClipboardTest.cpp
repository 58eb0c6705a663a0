#include "TableList.h"

#include "export/Clipboard.h"
#include "commands/ExportCommands.h"
#include "export/ExportList.h"
#include "lists/NameListModel.h"
#include "support/CommandFixture.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace orvella;
using namespace orvella::testing;
using exporting::ClipboardText;

namespace {

const QString kCopiedMessage = QStringLiteral(
    "Results have been copied to the clipboard.\r\rClick a text area where you normally type and press Ctrl+V to "
    "paste the clipboard.");
const QString kNotCopiedMessage = QStringLiteral("The results could not be copied to the clipboard. Please try again.");

struct TextCase {
    const char *name;
    TableList list;
    QString expected;
};

class ClipboardTextCases : public ::testing::TestWithParam<TextCase> {};

TEST_P(ClipboardTextCases, ByteForByte)
{
    int yields = 0;
    EXPECT_EQ(ClipboardText(GetParam().list, [&] { ++yields; }), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ClipboardTextCases,
    ::testing::Values(
        TextCase{"TwoResults", TableList::oneColumn({"Ann Lee", "Bob Young"}), "Ann Lee\r\nBob Young\r\n"},
        TextCase{"TrailingSpacesRemoved", TableList::oneColumn({"Ann  ", "Bob Young "}), "Ann\r\nBob Young\r\n"},
        TextCase{"LeadingAndInnerSpacesKept", TableList::oneColumn({"  Ann  Lee"}), "  Ann  Lee\r\n"},
        TextCase{"SpacesOnlyGivesEmptyLine", TableList::oneColumn({"Ann", "   ", "Bob"}), "Ann\r\n\r\nBob\r\n"},
        TextCase{"FirstLineSpacesOnly", TableList::oneColumn({"  ", "Bob"}), "\r\nBob\r\n"},
        TextCase{"TabInsideNameKept", TableList::oneColumn({"Ann\tLee \t "}), "Ann\tLee \t\r\n"},
        TextCase{"EmptyList", TableList::oneColumn({}), ""},
        TextCase{"ColumnsPaddedLastNot",
                 TableList({"Name", "Town", "Note"}, {{"Ann", "Rome", "x"}, {"Bartholomew", "Oslo", "long note"}}),
                 "Ann        \tRome\tx\r\nBartholomew\tOslo\tlong note\r\n"},
        TextCase{"EmptyLastFieldLeavesTab",
                 TableList({"Name", "Town"}, {{"Ann", ""}, {"Bo", "Rome"}}), "Ann\t\r\nBo \tRome\r\n"},
        TextCase{"PaddingOfEmptyTrailingFieldsRemoved",
                 TableList({"Name", "Town", "Note"}, {{"Ann", "", ""}, {"Bo", "Rome", "x"}}),
                 "Ann\t    \t\r\nBo \tRome\tx\r\n"},
        TextCase{"CountsUtf16Units",
                 TableList({"Name", "Town"}, {{QString::fromUtf8("Zo\u00eb"), "a"}, {QString::fromUtf8("\U0001F600"), "b"}}),
                 QString::fromUtf8("Zo\u00eb\ta\r\n\U0001F600 \tb\r\n")}),
    [](const ::testing::TestParamInfo<TextCase> &info) { return std::string(info.param.name); });

TEST(ClipboardText, UncheckedItemsAreLeftOutButStillMeasured)
{
    TableList list({"Name", "Town"}, {{"Ann", "Rome"}, {"Bartholomew", "Oslo"}, {"Cy", "Ur"}});
    list.unchecked = {2};
    EXPECT_EQ(ClipboardText(list, [] {}), "Ann        \tRome\r\nCy         \tUr\r\n");
}

TEST(ClipboardText, YieldsBeforeEveryItemAndColumnWhileMeasuringAndBuilding)
{
    const TableList list({"A", "B", "C"}, {{"1", "2", "3"}, {"4", "5", "6"}, {"7", "8", "9"}, {"a", "b", "c"}});
    int yields = 0;
    ClipboardText(list, [&] { ++yields; });
    // measuring: columns x items; building: items x (1 + columns)
    EXPECT_EQ(yields, 3 * 4 + 4 * (1 + 3));
}

TEST(ClipboardText, ListLosingItemsWhileBuildingFails)
{
    auto list = TableList::oneColumn({"Ann", "Bob", "Cy"});
    int yields = 0;
    EXPECT_THROW(ClipboardText(list, [&] {
                     if (++yields == 4) // first yield of the building pass
                         list.rows.clear();
                 }),
                 core::Failure);
}

// A million results and one of 100,000 characters: the text is built from what the
// items really hold, not from the widest item times the item count.
struct OneLongNameAmongMany : exporting::ExportList {
    static constexpr int kItems = 1000000;
    QString longName = QString(100000, u'x');
    int columnCount() const override { return 1; }
    QString caption(int) const override { return QStringLiteral("Result(s)"); }
    int itemCount() const override { return kItems; }
    QString field(int item, int) const override { return item == 500 ? longName : QStringLiteral("Ann Lee"); }
    bool isChecked(int) const override { return true; }
};

TEST(ClipboardText, OneVeryLongNameAmongAMillionCostsOnlyItsOwnLength)
{
    const OneLongNameAmongMany list;
    const QString text = ClipboardText(list, [] {});
    EXPECT_EQ(text.size(), qsizetype(100000 + 2) + qsizetype(OneLongNameAmongMany::kItems - 1) * (7 + 2));
    EXPECT_TRUE(text.startsWith("Ann Lee\r\n"));
    EXPECT_EQ(text.mid(499 * 9, 100002), list.longName + "\r\n");
}

// Clipboard retries: a desktop whose clipboard refuses a given number of attempts.
struct RetryCase {
    int refusals;
    int expectedAttempts;
    bool placed;
};

class ClipboardRetries : public ::testing::TestWithParam<RetryCase> {};

TEST_P(ClipboardRetries, AtMostThousandAttemptsPerOperation)
{
    ScriptedDesktop desktop;
    desktop.clipboard = "before";
    desktop.clipboardHasText = true;
    desktop.clipboardRefusals = GetParam().refusals;
    const auto list = TableList::oneColumn({"Ann", "Bob"});
    exporting::CopyListToClipboard(desktop, list);
    EXPECT_EQ(desktop.clipboardAttempts, GetParam().expectedAttempts);
    EXPECT_EQ(desktop.clipboard, GetParam().placed ? QString("Ann\r\nBob\r\n") : QString("before"));
    EXPECT_TRUE(desktop.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, ClipboardRetries,
                         ::testing::Values(RetryCase{0, 2, true},          // both at once
                                           RetryCase{1, 3, true},          // clear once refused
                                           RetryCase{999, 1001, true},     // clear at its last attempt
                                           RetryCase{1000, 1001, true},    // clear gave up, set at once
                                           RetryCase{1999, 2000, true},    // set at its last attempt
                                           RetryCase{2000, 2000, false},   // both gave up
                                           RetryCase{1000000, 2000, false} // a clipboard that never answers
                                           ));

// A clipboard that never says yes: each attempt costs the given time on a clock the
// test moves by hand. The copy gives up once its time is up, yielding in between.
struct NeverAnsweringCase {
    qint64 msPerAttempt;
    int expectedAttempts;
    int expectedYields;
};

class ClipboardNeverAnswering : public ::testing::TestWithParam<NeverAnsweringCase> {};

TEST_P(ClipboardNeverAnswering, GivesUpWhenTheTimeIsUpAndSaysNotPlaced)
{
    ScriptedDesktop desktop;
    desktop.clipboardRefusals = 1000000;
    qint64 now = 1000;
    desktop.onEveryYield = [&] { now += GetParam().msPerAttempt; };
    const auto list = TableList::oneColumn({"Ann"});
    EXPECT_FALSE(exporting::CopyListToClipboard(desktop, list, [&] { return now; }));
    EXPECT_EQ(desktop.clipboardAttempts, GetParam().expectedAttempts);
    // Three yields build the text, then one comes before every further attempt.
    EXPECT_EQ(desktop.yields, GetParam().expectedYields);
}

INSTANTIATE_TEST_SUITE_P(Table, ClipboardNeverAnswering,
                         ::testing::Values(NeverAnsweringCase{0, 2000, 2001},  // no time passes: the count ends it
                                           NeverAnsweringCase{1, 2000, 2001},  // 2 s for 2000 attempts
                                           NeverAnsweringCase{500, 7, 10},     // six tries to clear, one to set
                                           NeverAnsweringCase{5000, 2, 5}));   // one try per step

TEST(ClipboardHelpers, AnswerWhetherAnAttemptSucceeded)
{
    ScriptedDesktop desktop;
    desktop.clipboardRefusals = 1000;
    EXPECT_FALSE(exporting::SetClipboardText(desktop, "x"));
    EXPECT_EQ(desktop.clipboardAttempts, 1000);
    EXPECT_TRUE(exporting::SetClipboardText(desktop, "x"));
    EXPECT_EQ(desktop.clipboard, "x");
    desktop.clipboardRefusals = 1000;
    EXPECT_FALSE(exporting::ClearClipboard(desktop));
    EXPECT_EQ(desktop.clipboard, "x");
    EXPECT_TRUE(exporting::ClearClipboard(desktop));
    EXPECT_FALSE(desktop.clipboardHasText);
}

// A clipboard that throws instead of answering: the helpers count that as a refusal.
struct ThrowingClipboardDesktop : ScriptedDesktop {
    int throwsLeft = 0;
    bool setClipboardText(const QString &text) override
    {
        if (throwsLeft > 0) {
            --throwsLeft;
            ++clipboardAttempts;
            throw std::runtime_error("clipboard busy");
        }
        return ScriptedDesktop::setClipboardText(text);
    }
};

TEST(ClipboardHelpers, FailureOfTheClipboardIsNeverReported)
{
    ThrowingClipboardDesktop desktop;
    desktop.throwsLeft = 5;
    EXPECT_TRUE(exporting::SetClipboardText(desktop, "x"));
    EXPECT_EQ(desktop.clipboardAttempts, 6);
    desktop.throwsLeft = 5000;
    EXPECT_FALSE(exporting::SetClipboardText(desktop, "y"));
    EXPECT_EQ(desktop.clipboard, "x");
    EXPECT_TRUE(desktop.messages.empty());
}

// The command over the commands' result list.
struct CopyFixture : CommandFixture {
    commands::ExportCommands commands{context};
};

TEST(CopyResultsToClipboard, CopiesResultsAndSaysHowToPaste)
{
    CopyFixture f;
    for (const char *name : {"John Smith Jr.", "Joe Tavrin  ", "Mr. Joe Tavrin"})
        f.resultList.append(QString::fromUtf8(name));
    f.commands.copyResults();
    EXPECT_EQ(f.desktop.clipboard, "John Smith Jr.\r\nJoe Tavrin\r\nMr. Joe Tavrin\r\n");
    ASSERT_EQ(f.desktop.messages.size(), 1u);
    EXPECT_EQ(f.desktop.messages[0].text, kCopiedMessage);
    EXPECT_EQ(f.desktop.messages[0].style, 0);
    EXPECT_EQ(f.desktop.messages[0].title, f.context.title);
    EXPECT_TRUE(f.desktop.pointers.empty()); // no busy pointer for a copy
}

TEST(CopyResultsToClipboard, EmptyListLeavesClipboardAloneAndStillSaysSo)
{
    CopyFixture f;
    f.desktop.clipboard = "what was there";
    f.desktop.clipboardHasText = true;
    f.commands.copyResults();
    EXPECT_EQ(f.desktop.clipboardAttempts, 0);
    EXPECT_EQ(f.desktop.clipboard, "what was there");
    EXPECT_EQ(f.desktop.messageTexts(), QStringList{kCopiedMessage});
}

TEST(CopyResultsToClipboard, RefusingClipboardSaysTheResultsWereNotCopiedWithoutReport)
{
    for (int refusals : {1999, 2000, 1000000}) {
        CopyFixture f;
        f.resultList.append("Ann");
        f.desktop.clipboard = "old";
        f.desktop.clipboardRefusals = refusals;
        f.commands.copyResults();
        const bool placed = refusals < 2000;
        EXPECT_EQ(f.desktop.clipboard, placed ? "Ann\r\n" : "old");
        ASSERT_EQ(f.desktop.messages.size(), 1u);
        EXPECT_EQ(f.desktop.messages[0].text, placed ? kCopiedMessage : kNotCopiedMessage);
        EXPECT_EQ(f.desktop.messages[0].style, placed ? 0 : 48);
        EXPECT_EQ(f.desktop.messages[0].title, f.context.title);
    }
}

TEST(CopyResultsToClipboard, ResultsClearedWhileCopyingAreReportedThenSayNotCopied)
{
    CopyFixture f;
    for (const char *name : {"Ann", "Bob", "Cy"})
        f.resultList.append(name);
    f.desktop.clipboard = "old";
    // Yields 1 to 3 measure; the 4th is the first of the building pass.
    f.desktop.atYield(4, [&] { f.resultList.clear(); });
    f.commands.copyResults();
    const auto reports = f.desktop.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.contains("in Orvella2021/08/31.Form1.PushButton5_Click at line 106\r\r"))
        << reports[0].text.toStdString();
    EXPECT_EQ(f.desktop.clipboard, "old");
    ASSERT_EQ(f.desktop.messages.size(), 2u);
    EXPECT_EQ(f.desktop.messages[1].text, kNotCopiedMessage);
}

} // namespace

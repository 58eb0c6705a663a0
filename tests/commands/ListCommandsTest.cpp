#include "core/PointerState.h"
#include "commands/ListCommands.h"
#include "lists/NameListModel.h"
#include "support/CommandFixture.h"

#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;

namespace {

const QStringList kSamples = {"Peter Tavrin", "John Smith Jr.", "Joe Tavrin", "Mr. Joe Tavrin"};

// The list commands over the commands' lists and pointer, without the window.
struct ListsFixture : CommandFixture {
    commands::ListCommands commands{context};
    lists::NameListModel &input() { return inputList; }
    lists::NameListModel &results() { return resultList; }
};

TEST(AddOneName, AppendsTheAnswerExactlyAsTyped)
{
    ListsFixture f;
    f.desktop.inputAnswers = {"Ann Lee", "   ", " Bo  Young ", ""};
    for (int i = 0; i < 5; ++i) // the fifth finds no answer: cancelled
        f.commands.addNames();
    EXPECT_EQ(itemsOf(f.input()), (QStringList{"Ann Lee", "   ", " Bo  Young "}));
    ASSERT_EQ(f.desktop.inputs.size(), 5u);
    EXPECT_EQ(f.desktop.inputs[0].prompt, "Enter Name to add: ");
    EXPECT_EQ(f.desktop.inputs[0].title, f.context.title);
    EXPECT_EQ(f.desktop.inputs[0].defaultText, "");
    EXPECT_TRUE(f.desktop.messages.empty());
}

TEST(AddOneName, APastedListAddsOneNamePerNonEmptyLine)
{
    struct Case {
        QString answer;
        QStringList added;
    };
    const Case cases[] = {
        {"Ann Lee\r\nBo Young\r\nCy Twombly", {"Ann Lee", "Bo Young", "Cy Twombly"}},
        {"Ann Lee\nBo Young\n", {"Ann Lee", "Bo Young"}},
        {"Ann Lee\rBo Young", {"Ann Lee", "Bo Young"}},
        {"\n\r\nAnn Lee\n\n\n Bo  Young \r\r", {"Ann Lee", " Bo  Young "}}, // blank lines go, spaces stay
        {"Ann\u2028Lee", {"Ann\u2028Lee"}}, // one line: kept exactly as typed
        {"\r\n\n", {}},
    };
    for (const Case &c : cases) {
        ListsFixture f;
        f.input().append("kept");
        f.desktop.inputAnswers = {c.answer};
        f.commands.addNames();
        EXPECT_EQ(itemsOf(f.input()), QStringList{"kept"} + c.added) << c.answer.toStdString();
        EXPECT_TRUE(f.desktop.messages.empty());
    }
}

TEST(LoadSampleNames, AppendsTheFourNamesAfterWhatIsThere)
{
    ListsFixture f;
    f.input().append("kept");
    f.commands.loadSampleNames();
    f.commands.loadSampleNames();
    EXPECT_EQ(itemsOf(f.input()), QStringList{"kept"} + kSamples + kSamples);
}

TEST(ClearCommands, EmptyTheirListWithoutAsking)
{
    ListsFixture f;
    f.fillInput(kSamples);
    f.results().append("r");
    f.commands.clearResults();
    EXPECT_TRUE(f.results().isEmpty());
    EXPECT_EQ(f.input().count(), 4);
    f.commands.clearNames();
    EXPECT_TRUE(f.input().isEmpty());
    EXPECT_TRUE(f.desktop.messages.empty());
}

TEST(BusyPointer, OnlyClearListAndTheRemovalsWait)
{
    ListsFixture f;
    f.fillInput({"a", "b"});
    f.results().append("r");
    f.input().select(1);
    f.results().select(1);
    f.busy(true);

    commands::ListCommands &commands = f.commands;
    commands.clearNames();
    commands.removeSelectedName();
    commands.removeSelectedName();
    commands.removeSelectedResult();
    commands.removeSelectedResult();
    EXPECT_EQ(itemsOf(f.input()), (QStringList{"a", "b"}));
    EXPECT_EQ(itemsOf(f.results()), QStringList{"r"});

    f.desktop.inputAnswers = {"c"};
    commands.addNames();
    commands.loadSampleNames();
    EXPECT_EQ(itemsOf(f.input()), QStringList({"a", "b", "c"}) + kSamples);
    commands.clearResults();
    EXPECT_TRUE(f.results().isEmpty());

    f.busy(false);
    commands.clearNames();
    EXPECT_TRUE(f.input().isEmpty());
}

TEST(RemoveItem, EmptyListOrNoSelectionDoesNothing)
{
    ListsFixture f;
    commands::ListCommands &commands = f.commands;
    commands.removeSelectedName();
    commands.removeSelectedResult();
    f.fillInput({"a", "b"});
    commands.removeSelectedName();
    commands.removeSelectedName();
    EXPECT_EQ(itemsOf(f.input()), (QStringList{"a", "b"}));
}

} // namespace

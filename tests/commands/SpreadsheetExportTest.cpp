#include "TableList.h"

#include "core/Failure.h"
#include "commands/ExportCommands.h"
#include "core/Spreadsheet.h"
#include "lists/NameListModel.h"
#include "support/CommandFixture.h"
#include "support/RecordingSpreadsheet.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <stdexcept>

using namespace orvella;
using namespace orvella::testing;

namespace {

const QString kNotInstalledMethod = QStringLiteral(
    "Excel is not installed on this computer. You need to have it installed to use this software without error.");
const QString kNotInstalledFeature = QStringLiteral(
    "Excel is not installed on this computer. You need to have it installed to use this feature.");

// Records every automation call, in order, as one line; can fail a chosen call.
struct ExportFixture : CommandFixture {
    CallLog log;
    int created = 0;
    std::unique_ptr<commands::ExportCommands> commands;

    explicit ExportFixture(std::unique_ptr<exporting::ExportList> list = nullptr)
    {
        desktop.spreadsheetFactory = [this] {
            ++created;
            return std::make_unique<RecordingSpreadsheet>(log);
        };
        commands = std::make_unique<commands::ExportCommands>(context, std::move(list));
    }
    void results(const QStringList &names)
    {
        for (const QString &name : names)
            resultList.append(name);
    }
    // Where the error reports shown say the failures happened, in order.
    QStringList reportPlaces() const { return desktop.reportPlaces(); }
};

TEST(SaveResultsAsExcelFile, CaptionThenResultsInColumnOneFittedAndShown)
{
    ExportFixture f;
    f.results({"John Smith Jr.", "=1+1", "Peter Tavrin"});
    f.commands->openResultsInSpreadsheet();
    EXPECT_EQ(f.created, 1);
    EXPECT_EQ(f.log.calls, QStringList({"addWorkbook", "cell 1 1 Result(s)", "fit 1", "cell 2 1 John Smith Jr.",
                                        "cell 3 1 =1+1", "cell 4 1 Peter Tavrin", "fitAll", "visible"}));
    EXPECT_TRUE(f.desktop.messages.empty());
    EXPECT_EQ(f.desktop.pointers, (std::vector<core::Pointer>{core::Pointer::Busy, core::Pointer::Default}));
    // Before the header column, and before every result and every cell of it.
    EXPECT_EQ(f.desktop.yields, 1 + 3 * 2);
}

TEST(SaveResultsAsExcelFile, LaterColumnsLoseEveryEqualsSignAndUncheckedRowsStayEmpty)
{
    auto table = std::make_unique<TableList>(QStringList{"Name", "Formula", "Note"},
                                             QList<QStringList>{{"=Ann", "=A1+B1", "a==b"},
                                                                {"Bob", "skip", "me"},
                                                                {"Cy", "==", "="}});
    table->unchecked = {2};
    ExportFixture f(std::move(table));
    f.commands->openResultsInSpreadsheet();
    EXPECT_EQ(f.log.calls, QStringList({"addWorkbook", "cell 1 1 Name", "fit 1", "cell 1 2 Formula", "fit 2",
                                        "cell 1 3 Note", "fit 3", "cell 2 1 =Ann", "cell 2 2 A1+B1", "cell 2 3 ab",
                                        "cell 4 1 Cy", "cell 4 2 ", "cell 4 3 ", "fitAll", "visible"}));
    EXPECT_EQ(f.desktop.yields, 3 + 3 + 2 * 3);
}

TEST(SaveResultsAsExcelFile, MissingApplicationGivesBothMessagesThenOffersAFile)
{
    // With results the workbook may be saved as a file instead; No, or Cancel in the
    // file dialog, leaves it at the two messages. Without results nothing is offered.
    struct Case {
        bool withResults;
        int answer;
    };
    for (const Case c : {Case{true, core::MessageAnswer::No}, Case{true, core::MessageAnswer::Yes},
                         Case{false, core::MessageAnswer::Yes}}) {
        SCOPED_TRACE(c.withResults ? c.answer : 0);
        ExportFixture f;
        if (c.withResults)
            f.results({"Ann Lee"});
        f.desktop.spreadsheetInstalled = false;
        f.desktop.messageAnswers = {core::MessageAnswer::Ok, core::MessageAnswer::Ok, c.answer};
        f.commands->openResultsInSpreadsheet();
        ASSERT_EQ(f.desktop.messages.size(), c.withResults ? 3u : 2u);
        EXPECT_EQ(f.desktop.messages[0].text, kNotInstalledMethod);
        EXPECT_EQ(f.desktop.messages[1].text, kNotInstalledFeature);
        if (c.withResults) {
            EXPECT_EQ(f.desktop.messages[2].text, "Save the workbook as a file instead?");
            EXPECT_EQ(f.desktop.messages[2].style, core::MessageStyle::YesNo);
        }
        for (const auto &message : f.desktop.messages)
            EXPECT_EQ(message.title, f.context.title);
        const bool asked = c.withResults && c.answer == core::MessageAnswer::Yes;
        ASSERT_EQ(f.desktop.dialogs.size(), asked ? 1u : 0u);
        if (asked) {
            const core::FileDialogRequest &request = f.desktop.dialogs[0].request;
            EXPECT_TRUE(f.desktop.dialogs[0].save);
            EXPECT_TRUE(request.filter.startsWith("Excel Workbooks (*.xlsx)|*.xlsx|"));
            EXPECT_EQ(request.fileName, "Results.xlsx");
            EXPECT_TRUE(request.confirmOverwrite);
        }
        EXPECT_EQ(f.created, 0);
        EXPECT_TRUE(f.desktop.pointers.empty());
    }
}

TEST(SaveResultsAsExcelFile, CheckThatFailsCountsAsMissingWithoutReport)
{
    struct Desktop : ScriptedDesktop {
        bool spreadsheetAvailable() override { throw std::runtime_error("no session bus"); }
    };
    Desktop desktop;
    CommandFixture f(&desktop);
    commands::ExportCommands commands(f.context);
    EXPECT_FALSE(commands.spreadsheetAvailable());
    EXPECT_EQ(desktop.messageTexts(), QStringList{kNotInstalledMethod});
    EXPECT_TRUE(desktop.errorReports().empty());
}

TEST(SaveResultsAsExcelFile, EmptyResultListEndsSilentlyAfterTheCheck)
{
    ExportFixture f;
    f.commands->openResultsInSpreadsheet();
    EXPECT_EQ(f.created, 0);
    EXPECT_TRUE(f.log.calls.isEmpty());
    EXPECT_TRUE(f.desktop.messages.empty());
    EXPECT_TRUE(f.desktop.pointers.empty());
}

TEST(SaveResultsAsExcelFile, RefusedCellIsReportedAndTheRestStillHappens)
{
    ExportFixture f;
    f.results({"Ann", "Bob", "Cy"});
    f.log.failAt = "cell 3 1 Bob";
    f.commands->openResultsInSpreadsheet();
    EXPECT_EQ(f.reportPlaces(), QStringList{"Form1.PushButton13_Click at line 152"});
    EXPECT_TRUE(f.desktop.errorReports()[0].text.startsWith("The spreadsheet refused cell 3 1 Bob\r\n"));
    EXPECT_EQ(f.log.calls.mid(5), QStringList({"cell 4 1 Cy", "fitAll", "visible"}));
    EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);
}

TEST(SaveResultsAsExcelFile, RowsBelowTheSheetAreReportedOnceAndNotTriedFurther)
{
    // A sheet of three rows: the caption and two results fit. The first row below it is
    // tried and reported; the rest would fail alike without a word, and are not tried.
    // Unchecked rows below the sheet do not count as tried.
    auto table = std::make_unique<TableList>(QStringList{"Name"},
                                             QList<QStringList>{{"Ann"}, {"Bob"}, {"Cy"}, {"Di"}, {"Ed"}, {"Flo"}});
    table->unchecked = {3};
    ExportFixture f(std::move(table));
    f.log.lastRow = 3;
    f.commands->openResultsInSpreadsheet();
    EXPECT_EQ(f.reportPlaces(), QStringList{"Form1.PushButton13_Click at line 152"});
    EXPECT_TRUE(f.desktop.errorReports()[0].text.startsWith("Row 5 lies outside the sheet\r\n"));
    EXPECT_EQ(f.log.calls, QStringList({"addWorkbook", "cell 1 1 Name", "fit 1", "cell 2 1 Ann", "cell 3 1 Bob",
                                        "cell 5 1 Di", "fitAll", "visible"}));
    EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);
}

TEST(SaveResultsAsExcelFile, EachFailingAutomationCallIsReportedWhereItFailed)
{
    struct Case {
        const char *failAt;
        const char *place;
    };
    for (const Case &c : {Case{"addWorkbook", "Form1.PushButton13_Click at line 114"},
                          Case{"cell 1 1 Result(s)", "Form1.PushButton13_Click at line 122"},
                          Case{"fit 1", "Form1.PushButton13_Click at line 132"},
                          Case{"fitAll", "Form1.PushButton13_Click at line 166"},
                          Case{"visible", "Form1.PushButton13_Click at line 168"}}) {
        ExportFixture f;
        f.results({"Ann"});
        f.log.failAt = c.failAt;
        f.commands->openResultsInSpreadsheet();
        EXPECT_EQ(f.reportPlaces(), QStringList{c.place}) << c.failAt;
        EXPECT_EQ(f.log.calls.size(), 6) << c.failAt; // every call was still made
        EXPECT_EQ(f.desktop.pointers.back(), core::Pointer::Default);
    }
}

TEST(SaveResultsAsExcelFile, ApplicationThatCannotBeStartedReportsEachFailingPlaceOnce)
{
    ExportFixture f;
    f.results({"Ann", "Bob", "Cy", "Di"});
    f.desktop.spreadsheetFactory = [] { return nullptr; };
    f.commands->openResultsInSpreadsheet();
    // One box per failing step, not one per result: 152 fails for every row.
    QStringList places;
    for (const int line : {112, 114, 122, 132, 152, 166, 168})
        places << QStringLiteral("Form1.PushButton13_Click at line %1").arg(line);
    EXPECT_EQ(f.reportPlaces(), places);
    EXPECT_EQ(f.desktop.pointers, (std::vector<core::Pointer>{core::Pointer::Busy, core::Pointer::Default}));
}

TEST(SaveResultsAsExcelFile, ResultsClearedMidwayReportTheMissingRowsOnce)
{
    ExportFixture f;
    f.results({"Ann", "Bob", "Cy"});
    // Yield 1: header column; 2 and 3: result 1 and its cell; 4: result 2.
    f.desktop.atYield(4, [&] { f.resultList.clear(); });
    f.commands->openResultsInSpreadsheet();
    EXPECT_EQ(f.reportPlaces(), (QStringList{"Form1.PushButton13_Click at line 142",
                                             "Form1.PushButton13_Click at line 152"}));
    EXPECT_EQ(f.log.calls, QStringList({"addWorkbook", "cell 1 1 Result(s)", "fit 1", "cell 2 1 Ann", "fitAll",
                                        "visible"}));
}

} // namespace

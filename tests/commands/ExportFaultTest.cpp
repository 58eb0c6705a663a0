// Faults under the exports: a spreadsheet application that stops answering at any one
// of its calls, and a clipboard that lets itself be emptied but refuses the text.

#include "core/Failure.h"
#include "core/PointerState.h"
#include "commands/ExportCommands.h"
#include "core/Spreadsheet.h"
#include "lists/NameListModel.h"
#include "support/CommandFixture.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace orvella;
using namespace orvella::testing;

namespace {

// Answers every call until call number `firstFailure` (counted from 1); from then on
// every call fails, as an application that has hung or been closed.
struct Automation {
    int firstFailure = 0; // 0: never fails
    std::vector<int> stepOfCall; // the export's step each call belongs to, in call order
};

class StoppingSpreadsheet : public core::Spreadsheet {
public:
    explicit StoppingSpreadsheet(Automation &log) : m_log(log) {}
    void addWorkbook() override { call(114); }
    void setCell(int row, int column, const QString &) override { call(row == 1 ? 122 : column == 1 ? 152 : 156); }
    void autoFitColumn(int) override { call(132); }
    void autoFitAllColumns() override { call(166); }
    void makeVisible() override { call(168); }

private:
    void call(int step)
    {
        m_log.stepOfCall.push_back(step);
        if (m_log.firstFailure > 0 && int(m_log.stepOfCall.size()) >= m_log.firstFailure)
            throw core::Failure(QStringLiteral("The remote procedure call failed."));
    }
    Automation &m_log;
};

std::vector<int> withoutRepeats(const std::vector<int> &steps)
{
    std::vector<int> out;
    for (const int step : steps) {
        if (out.empty() || out.back() != step)
            out.push_back(step);
    }
    return out;
}

std::vector<int> reportedSteps(const ScriptedDesktop &desktop)
{
    return desktop.reportedSteps("Form1.PushButton13_Click");
}

TEST(SpreadsheetThatStopsAnswering, EveryLaterStepIsReportedAndTheCommandFinishes)
{
    const QStringList results = {"Ann Lee", "=Bob", "Cy"};
    // Calls: workbook, caption, fit, three cells, fit all, visible.
    const std::vector<int> allSteps = {114, 122, 132, 152, 152, 152, 166, 168};
    for (int failFrom = 1; failFrom <= int(allSteps.size()) + 1; ++failFrom) {
        SCOPED_TRACE(failFrom);
        CommandFixture f;
        Automation log;
        log.firstFailure = failFrom;
        f.desktop.spreadsheetFactory = [&log] { return std::make_unique<StoppingSpreadsheet>(log); };
        for (const QString &name : results)
            f.resultList.append(name);
        commands::ExportCommands commands(f.context);
        commands.openResultsInSpreadsheet();

        // Every step after the failing one still ran and made its call.
        EXPECT_EQ(log.stepOfCall, allSteps);
        const std::vector<int> failing(allSteps.begin() + std::min<size_t>(failFrom - 1, allSteps.size()),
                                       allSteps.end());
        // One report per failing step (a step failing on several cells in a row may be
        // reported once for all of them), in the order the steps ran.
        EXPECT_EQ(withoutRepeats(reportedSteps(f.desktop)), withoutRepeats(failing));
        for (const auto &report : f.desktop.errorReports())
            EXPECT_TRUE(report.text.startsWith("The remote procedure call failed.\r\n"));
        EXPECT_EQ(f.desktop.messages.size(), f.desktop.errorReports().size());
        EXPECT_EQ(f.desktop.pointers,
                  (std::vector<core::Pointer>{core::Pointer::Busy, core::Pointer::Default}));
        EXPECT_EQ(itemsOf(f.resultList), results);
    }
}

// The clipboard empties, then refuses the text at every attempt. The refusal is never
// reported, the command still says what to do next, and the results stay.
struct RefusingTextDesktop : ScriptedDesktop {
    int textAttempts = 0;
    bool setClipboardText(const QString &) override
    {
        ++textAttempts;
        return false;
    }
};

TEST(ClipboardThatRefusesTheText, NoReportSaysNotCopiedResultsKept)
{
    RefusingTextDesktop desktop;
    CommandFixture f(&desktop);
    commands::ExportCommands commands(f.context);
    desktop.clipboard = "what the user copied before";
    desktop.clipboardHasText = true;
    f.resultList.append("Ann Lee");
    f.resultList.append("Bob Young");

    commands.copyResults();

    EXPECT_EQ(desktop.textAttempts, 1000);
    EXPECT_TRUE(desktop.errorReports().empty());
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "The results could not be copied to the clipboard. Please try again.");
    EXPECT_EQ(itemsOf(f.resultList), (QStringList{"Ann Lee", "Bob Young"}));
    // The clearing step succeeded before the text was refused.
    EXPECT_FALSE(desktop.clipboardHasText);
    EXPECT_TRUE(f.settings.writes.isEmpty());
}

} // namespace

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

// Answers every call but the failing ones: from call number `failFrom` (counted from 1)
// on every call fails, as an application that has hung or been closed; or call number
// `failOnly` alone fails.
struct Automation {
    int failFrom = 0; // 0: none
    int failOnly = 0; // 0: none
    QStringList calls; // in call order
};

class StoppingSpreadsheet : public core::Spreadsheet {
public:
    explicit StoppingSpreadsheet(Automation &log) : m_log(log) {}
    void addWorkbook() override { call(QStringLiteral("addWorkbook")); }
    void setCell(int row, int column, const QString &) override { call(QStringLiteral("cell %1 %2").arg(row).arg(column)); }
    void autoFitColumn(int column) override { call(QStringLiteral("fit %1").arg(column)); }
    void autoFitAllColumns() override { call(QStringLiteral("fitAll")); }
    void makeVisible() override { call(QStringLiteral("visible")); }

private:
    void call(const QString &name)
    {
        m_log.calls << name;
        const int number = int(m_log.calls.size());
        if ((m_log.failFrom > 0 && number >= m_log.failFrom) || number == m_log.failOnly)
            throw core::Failure(QStringLiteral("The remote procedure call failed."));
    }
    Automation &m_log;
};

QStringList withoutRepeats(const QStringList &places)
{
    QStringList out;
    for (const QString &place : places) {
        if (out.isEmpty() || out.last() != place)
            out << place;
    }
    return out;
}

const QStringList kResults = {"Ann Lee", "=Bob", "Cy"};

// Exports the results to a spreadsheet that fails as `log` says; answers where the
// reports shown say the failures happened.
QStringList exportWith(Automation &log, CommandFixture &f)
{
    f.desktop.spreadsheetFactory = [&log] { return std::make_unique<StoppingSpreadsheet>(log); };
    for (const QString &name : kResults)
        f.resultList.append(name);
    commands::ExportCommands commands(f.context);
    commands.openResultsInSpreadsheet();
    return f.desktop.reportPlaces();
}

TEST(SpreadsheetThatStopsAnswering, EveryLaterStepIsReportedAndTheCommandFinishes)
{
    // What a user is told when one call alone fails: the workbook, the caption, the
    // fit, three cells, the fit of all, showing it.
    QList<QStringList> alone;
    QStringList allCalls;
    for (int call = 1; call <= 8; ++call) {
        CommandFixture f;
        Automation log;
        log.failOnly = call;
        alone << exportWith(log, f);
        ASSERT_EQ(alone.last().size(), 1) << call;
        allCalls = log.calls;
    }
    ASSERT_EQ(allCalls.size(), 8);
    for (int failFrom = 1; failFrom <= int(allCalls.size()) + 1; ++failFrom) {
        SCOPED_TRACE(failFrom);
        CommandFixture f;
        Automation log;
        log.failFrom = failFrom;
        const QStringList places = exportWith(log, f);

        // Every step after the failing one still ran and made its call.
        EXPECT_EQ(log.calls, allCalls);
        // Each failing call is reported as it is when it fails alone (a step failing
        // on several cells in a row may be reported once for all of them), in order.
        QStringList expected;
        for (int call = failFrom; call <= int(allCalls.size()); ++call)
            expected += alone[call - 1];
        EXPECT_EQ(withoutRepeats(places), withoutRepeats(expected));
        for (const auto &report : f.desktop.errorReports())
            EXPECT_TRUE(report.text.startsWith("The remote procedure call failed.\r\n"));
        EXPECT_EQ(f.desktop.messages.size(), f.desktop.errorReports().size());
        EXPECT_EQ(f.desktop.pointers,
                  (std::vector<core::Pointer>{core::Pointer::Busy, core::Pointer::Default}));
        EXPECT_EQ(itemsOf(f.resultList), kResults);
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

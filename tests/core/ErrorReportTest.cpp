#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "core/Procedure.h"
#include "support/ScriptedDesktop.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace orvella::core;
using orvella::testing::ScriptedDesktop;

namespace {

TEST(ErrorReport, TextByteForByte)
{
    EXPECT_EQ(errorReportText("Overflow", "Form1", "PushButton17_Click", 180),
              QStringLiteral("Overflow\r\nin Orvella2021/08/31.Form1.PushButton17_Click at line 180\r\r"
                             "Please email screenshot of this message to support@velmora.example"));
    EXPECT_TRUE(errorReportText("", "Form2", "Form_Load", 100).startsWith("\r\nin Orvella2021/08/31.Form2.Form_Load "));
}

TEST(Procedure, FailingStepIsReportedAndNextStepRuns)
{
    ScriptedDesktop desktop;
    Procedure p(desktop, "Form1", "Form_Load");
    QStringList ran;
    p.step(100, [&] { throw Failure("Skin file unreadable"); });
    p.step(102, [&] { ran << "102"; });
    p.step(104, [&] { throw std::runtime_error("bad"); });
    p.step(106, [&] { ran << "106"; });
    EXPECT_EQ(ran, (QStringList{"102", "106"}));
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0].text, errorReportText("Skin file unreadable", "Form1", "Form_Load", 100));
    EXPECT_EQ(desktop.messages[0].style, 48);
    EXPECT_EQ(desktop.messages[0].title, "Application Error");
    EXPECT_EQ(desktop.messages[1].text, errorReportText("bad", "Form1", "Form_Load", 104));
    EXPECT_EQ(p.failures(), 2);
}

TEST(Procedure, FailingTestRunsThenBranch)
{
    ScriptedDesktop desktop;
    Procedure p(desktop, "Form1", "PushButton9_Click");
    bool thenRan = false;
    bool elseRan = false;
    if (p.test(120, []() -> bool { throw Failure("Bad file name"); }))
        thenRan = true;
    else
        elseRan = true;
    EXPECT_TRUE(thenRan);
    EXPECT_FALSE(elseRan);
    EXPECT_EQ(desktop.messages.size(), 1u);
    EXPECT_FALSE(p.test(122, [] { return false; }));
}

TEST(Procedure, FailureInCalledProcedureReportedUnderCaller)
{
    ScriptedDesktop desktop;
    auto lowerLevel = [](int depth) {
        if (depth > 1)
            throw Failure("Path not found");
    };
    Procedure p(desktop, "Form1", "PushButton4_Click");
    p.step(120, [&] { lowerLevel(2); });
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, errorReportText("Path not found", "Form1", "PushButton4_Click", 120));
}

TEST(Procedure, ValueIsWhatTheStepComputedOrTheFallback)
{
    struct Case {
        const char *name;
        std::function<QString()> body;
        bool afterOutOfMemory; // an earlier step ran out of memory: every step is skipped
        QString expected;
        QStringList reports; // the error reports the value step shows
    };
    const std::vector<Case> cases = {
        {"computed", [] { return QStringLiteral("Smith"); }, false, "Smith", {}},
        {"failed", []() -> QString { throw Failure("Index out of range"); }, false, "none",
         {errorReportText("Index out of range", "Form1", "PushButton17_Click", 112)}},
        {"skipped", [] { return QStringLiteral("Smith"); }, true, "none", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDesktop desktop;
        Procedure p(desktop, "Form1", "PushButton17_Click");
        p.onOutOfMemory([] {});
        if (c.afterOutOfMemory)
            p.step(110, [] { throw std::bad_alloc(); });
        const size_t before = desktop.errorReports().size();
        EXPECT_EQ(p.value(112, QStringLiteral("none"), c.body), c.expected);
        QStringList shown;
        for (size_t i = before; i < desktop.errorReports().size(); ++i)
            shown << desktop.errorReports()[i].text;
        EXPECT_EQ(shown, c.reports);
    }
}

TEST(Procedure, StepInLoopReportsOncePerPass)
{
    ScriptedDesktop desktop;
    Procedure p(desktop, "Form1", "PushButton9_Click");
    int passes = 0;
    for (int i = 0; i < 3; ++i) {
        p.step(136, [] { throw Failure("List position 4 does not exist"); });
        ++passes;
    }
    EXPECT_EQ(passes, 3);
    EXPECT_EQ(desktop.errorReports().size(), 3u);
}

} // namespace

namespace {

TEST(Procedure, EachStepOnceReportsTheFirstFailureOfEveryStep)
{
    ScriptedDesktop desktop;
    Procedure p(desktop, "Form1", "PushButton13_Click");
    p.reportEachStepOnce();
    int ran = 0;
    for (int row = 0; row < 1000; ++row) {
        p.step(152, [] { throw Failure("The spreadsheet stopped answering"); });
        ++ran;
    }
    p.step(166, [] { throw Failure("The spreadsheet stopped answering"); });
    EXPECT_EQ(ran, 1000);
    EXPECT_EQ(p.failures(), 1001);
    ASSERT_EQ(desktop.errorReports().size(), 2u);
    EXPECT_TRUE(desktop.errorReports()[0].text.contains("at line 152\r\r"));
    EXPECT_TRUE(desktop.errorReports()[1].text.contains("at line 166\r\r"));
}

} // namespace

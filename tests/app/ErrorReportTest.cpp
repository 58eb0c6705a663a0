#include "app/ErrorReport.h"
#include "app/Failure.h"
#include "app/Procedure.h"
#include "app/QtDesktop.h"
#include "support/ScriptedDesktop.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace orvella::app;
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

// ---- The desktop's own boxes ----------------------------------------------------------

namespace {

// Runs a box of the real desktop and looks at it from inside its event loop once it
// is shown, then lets the look close it, so that nothing waits for a person.
void whileShown(const std::function<void()> &show, const std::function<void(QWidget *)> &look)
{
    int looks = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box || !box->isVisible() || looks > 0)
            return;
        ++looks;
        QCoreApplication::processEvents(); // the box's own sizing passes
        look(box);
        if (box->isVisible()) // the look failed before it closed the box
            qobject_cast<QDialog *>(box)->done(QDialog::Rejected);
    });
    poll.start(0);
    show();
    EXPECT_EQ(looks, 1);
}

QStringList linesOf(const QString &text)
{
    return text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
}

TEST(QtDesktopBoxes, MessageTextIsPlainTextWithEveryLineWhole)
{
    const struct {
        QString text;
        int style;
        int answer;
    } cases[] = {
        {QStringLiteral("Replace /home/ann/a<b>bold.txt?"), MessageStyle::YesNo, MessageAnswer::Yes},
        {QStringLiteral("Questions? Please contact Team Velmora at https://velmora.example/orvella/support"),
         MessageStyle::Ok, MessageAnswer::Ok},
        {errorReportText(QStringLiteral("Cannot open /home/ann/lists/2026/december/guests-of-the-winter-party/"
                                        "<i>names</i>.txt: Permission denied"),
                         "Form1", "PushButton3_Click", 112),
         MessageStyle::Exclamation, MessageAnswer::Ok},
    };
    for (const auto &c : cases) {
        QtDesktop desktop;
        int answer = 0;
        whileShown([&] { answer = desktop.messageBox(c.text, c.style, QStringLiteral("Orvella")); },
                   [&](QWidget *shown) {
                       auto *box = qobject_cast<QMessageBox *>(shown);
                       ASSERT_TRUE(box);
                       auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
                       ASSERT_TRUE(label);
                       EXPECT_EQ(label->textFormat(), Qt::PlainText) << c.text.toStdString();
                       EXPECT_EQ(label->text(), c.text);
                       EXPECT_FALSE(label->wordWrap()) << c.text.toStdString();
                       for (const QString &line : linesOf(c.text))
                           EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(line))
                               << line.toStdString();
                       box->button(c.style == MessageStyle::YesNo ? QMessageBox::Yes : QMessageBox::Ok)->click();
                   });
        EXPECT_EQ(answer, c.answer);
    }
}

TEST(QtDesktopBoxes, InputPromptIsPlainText)
{
    QtDesktop desktop;
    QString answer;
    whileShown([&] { answer = desktop.inputBox("Enter <b>Suffix</b> to add: ", "Orvella", "Jr."); },
               [&](QWidget *shown) {
                   auto *box = qobject_cast<QInputDialog *>(shown);
                   ASSERT_TRUE(box);
                   auto *prompt = box->findChild<QLabel *>();
                   ASSERT_TRUE(prompt);
                   EXPECT_EQ(prompt->textFormat(), Qt::PlainText);
                   EXPECT_EQ(prompt->text(), "Enter <b>Suffix</b> to add: ");
                   EXPECT_EQ(box->windowTitle(), "Orvella");
                   box->accept();
               });
    EXPECT_EQ(answer, "Jr.");
}

TEST(QtDesktopBoxes, LineWiderThanTheScreenWrapsInsideIt)
{
    QtDesktop desktop;
    const QString path = QStringLiteral("/home/ann/") + QString(600, QLatin1Char('x')) + QStringLiteral(".txt");
    whileShown([&] { desktop.messageBox("Cannot open " + path, MessageStyle::Exclamation, "Application Error"); },
               [&](QWidget *box) {
                   EXPECT_LE(box->width(), box->screen()->availableGeometry().width());
                   EXPECT_TRUE(box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))->wordWrap());
                   qobject_cast<QMessageBox *>(box)->button(QMessageBox::Ok)->click();
               });
}

} // namespace

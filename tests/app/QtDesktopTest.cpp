#include "app/QtDesktop.h"
#include "core/ErrorReport.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace orvella::core;
using orvella::app::QtDesktop;

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

TEST(QtDesktopBoxes, InputPromptIsPlainTextAndALongAnswerComesBackWhole)
{
    QtDesktop desktop;
    QString answer;
    const QString longEntry = QString(40000, QChar(u'x')) + "Jr.";
    whileShown([&] { answer = desktop.inputBox("Edit", "Orvella", longEntry); },
               [&](QWidget *shown) { qobject_cast<QInputDialog *>(shown)->accept(); });
    EXPECT_EQ(answer, longEntry);

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

TEST(QtDesktopBoxes, NameColumnsDialogAnswersTheChoiceLoaded)
{
    QtDesktop desktop;
    ColumnRequest request;
    request.fileName = QStringLiteral("guests.csv");
    request.firstRows = {{"Surname", "Forename"}, {"Lee", "Ann"}};
    request.proposed.kind = ColumnChoice::Kind::NameParts;
    request.proposed.firstRowIsHeader = true;
    request.proposed.lastName = 0;
    request.proposed.firstName = 1;
    ColumnChoice answer;
    whileShown([&] { answer = desktop.chooseNameColumns(request); },
               [&](QWidget *shown) {
                   EXPECT_EQ(shown->windowTitle(), QStringLiteral("Choose Name Columns"));
                   auto *load = shown->findChild<QPushButton *>(QStringLiteral("LoadButton"));
                   ASSERT_TRUE(load);
                   load->click();
               });
    EXPECT_EQ(answer, request.proposed);
}

TEST(QtDesktopClipboard, TextIsPlacedAndCleared)
{
    QtDesktop desktop;
    const QString text = QStringLiteral("Ann Lee\r\n\u00c9mile Zola\r\n");
    ASSERT_TRUE(desktop.setClipboardText(text));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
    ASSERT_TRUE(desktop.clearClipboard());
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
}

} // namespace

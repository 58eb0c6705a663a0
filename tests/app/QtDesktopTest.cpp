#include "app/QtDesktop.h"
#include "core/ErrorReport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QTemporaryDir>
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

// The export's choices sit below the file list, each with its label, reach the keyboard
// in turn, show what is proposed, and answer what was chosen.
TEST(QtDesktopBoxes, ExportChoicesAnswerWhatWasChosen)
{
    QtDesktop desktop;
    QTemporaryDir dir;
    ExportOptions options;
    options.set(NameColumn::FiledUnder, true);
    options.delimiter = u'\t';
    FileDialogRequest request;
    request.title = QStringLiteral("Export Results");
    request.filter = QStringLiteral("CSV (*.csv)|*.csv|TSV (*.tsv)|*.tsv|");
    request.exportOptions = &options;
    QString answer;
    whileShown([&] { answer = desktop.saveFileDialog(request); },
               [&](QWidget *shown) {
                   auto *panel = shown->findChild<QWidget *>(QStringLiteral("ExportOptions"));
                   ASSERT_TRUE(panel);
                   const QStringList captions = {"Title", "First name", "Middle name", "Last name",
                                                 "Suffix", "Nickname", "Last, First", "Filed under"};
                   for (int column = 0; column < 8; ++column) {
                       auto *box = panel->findChild<QCheckBox *>(QStringLiteral("NameColumn%1").arg(column));
                       ASSERT_TRUE(box);
                       EXPECT_EQ(box->text(), captions[column]);
                       EXPECT_EQ(box->isChecked(), column == 7);
                       EXPECT_TRUE(box->focusPolicy() & Qt::TabFocus);
                   }
                   auto *delimiter = panel->findChild<QComboBox *>(QStringLiteral("Delimiter"));
                   ASSERT_TRUE(delimiter);
                   EXPECT_EQ(delimiter->currentText(), QStringLiteral("TAB"));
                   for (auto *box : panel->findChildren<QComboBox *>()) {
                       const auto labels = panel->findChildren<QLabel *>();
                       EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&](QLabel *l) { return l->buddy() == box; }))
                           << box->objectName().toStdString();
                       EXPECT_TRUE(box->focusPolicy() & Qt::TabFocus);
                   }
                   panel->findChild<QCheckBox *>(QStringLiteral("NameColumn3"))->click();
                   delimiter->setCurrentIndex(delimiter->findText(QStringLiteral("Semicolon")));
                   auto *encoding = panel->findChild<QComboBox *>(QStringLiteral("Encoding"));
                   encoding->setCurrentIndex(encoding->findText(QStringLiteral("Windows-1252")));
                   panel->findChild<QCheckBox *>(QStringLiteral("ProtectFormulas"))->click();
                   auto *dialog = qobject_cast<QFileDialog *>(shown);
                   dialog->setDirectory(dir.path());
                   auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                   ASSERT_TRUE(name);
                   name->setText(QStringLiteral("out.csv"));
                   QMetaObject::invokeMethod(dialog, "accept");
               });
    EXPECT_EQ(answer, dir.filePath(QStringLiteral("out.csv")));
    ExportOptions expected;
    expected.set(NameColumn::FiledUnder, true);
    expected.set(NameColumn::LastName, true);
    expected.delimiter = u';';
    expected.encoding = TextEncoding::Windows1252;
    expected.protectFormulas = false;
    EXPECT_EQ(options, expected);
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

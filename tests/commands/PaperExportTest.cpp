// The results on paper, without a printer: the rows the layout gets from the results,
// the PDF document of Export Results with its choices asked and remembered, names no
// font has told before anything is written, and Print Results through the preview.

#include "commands/PaperCommand.h"
#include "commands/PaperOutput.h"
#include "commands/PaperSettings.h"
#include "commands/ResultExportCommand.h"
#include "lists/NameListModel.h"
#include "support/CommandFixture.h"
#include "support/Files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvella;
using orvella::testing::CommandFixture;

namespace {

// Lays rows out as text, one row a line, and can say that some names have no font.
struct TextPaper : commands::PaperOutput {
    QStringList withoutFont;
    std::vector<core::PaperChoices> laidOut;

    QStringList namesWithoutFont(const commands::PaperRows &, const std::function<void()> &) override
    {
        return withoutFont;
    }
    void paint(const commands::PaperRows &rows, const core::PaperChoices &choices, QPagedPaintDevice &,
               const Progress &) override
    {
        pdf(rows, choices, {});
    }
    QByteArray pdf(const commands::PaperRows &rows, const core::PaperChoices &choices,
                   const Progress &progress) override
    {
        laidOut.push_back(choices);
        QByteArray text = rows.title.toUtf8() + '\n' + rows.captions.join(u'|').toUtf8() + '\n';
        for (const commands::PaperRow &row : rows.rows) {
            text += (row.cells.join(u'|') + u'/' + row.filedUnder + u'/' + row.first + u' ' + row.last + u' ' +
                     row.extra + u'\n').toUtf8();
            if (progress)
                progress(0.5);
        }
        return text;
    }
};

tables::SourceTablePtr roster()
{
    auto made = std::make_shared<tables::SourceTable>();
    made->cells.appendRow(QStringList{"Name", "Homeroom"});
    made->cells.appendRow(QStringList{"Anna Baker", "7B"});
    made->cells.appendRow(QStringList{"John Smith", "7A"});
    made->header = {"Name", "Homeroom"};
    made->columns.kind = core::ColumnChoice::Kind::WholeName;
    made->columns.wholeName = 0;
    return made;
}

struct PaperFixture : CommandFixture {
    PaperFixture()
    {
        context.paper = &paper;
        const tables::SourceTablePtr table = roster();
        resultList.append(QStringLiteral("Anna Baker"), {table, 1});
        resultList.append(QStringLiteral("John Smith"), {table, 2});
    }
    TextPaper paper;
    QTemporaryDir dir;
};

} // namespace

// Export Results to a .pdf file asks the layout's choices, titled after the file, with
// the name parts and the table's columns to pick from; the file holds the chosen columns
// and the badge lines, and the choices are remembered for the next time.
TEST(PaperExport, PdfAsksWritesAndRemembers)
{
    PaperFixture fixture;
    fixture.desktop.saveAnswers = {fixture.dir.filePath("class list.pdf")};
    core::PaperChoices answer;
    answer.title = QStringLiteral("Class 7");
    answer.columns = {QStringLiteral("Last, First"), QStringLiteral("Homeroom")};
    answer.badgeExtra = QStringLiteral("Homeroom");
    answer.layout = core::PaperLayout::Badges;
    answer.sheet = core::BadgeSheet::TwoByFive;
    fixture.desktop.paperAnswers = {answer};

    commands::ResultExportCommand(fixture.context).exportResults();

    ASSERT_EQ(fixture.desktop.paperProposals.size(), 1u);
    EXPECT_EQ(fixture.desktop.paperProposals[0].title, QStringLiteral("class list"));
    EXPECT_EQ(fixture.desktop.paperProposals[0].columns, QStringList{QStringLiteral("Last, First")});
    EXPECT_TRUE(fixture.desktop.paperColumns[0].contains(QStringLiteral("First name")));
    EXPECT_EQ(fixture.desktop.paperColumns[0].mid(8), QStringList({"Name", "Homeroom"}));
    EXPECT_EQ(QString::fromUtf8(orvella::testing::readBytes(fixture.dir.filePath("class list.pdf"))),
              QStringLiteral("Class 7\nLast, First|Homeroom\nBaker, Anna|7B/Baker/Anna Baker 7B\n"
                             "Smith, John|7A/Smith/John Smith 7A\n"));
    EXPECT_EQ(fixture.settings.values.value("PaperLayout"), QStringLiteral("badges"));
    EXPECT_EQ(fixture.settings.values.value("PaperBadgeSheet"), QStringLiteral("2x5"));
    core::PaperChoices again = commands::storedPaperChoices(fixture.settings);
    again.title = answer.title;
    EXPECT_EQ(again, answer);
    EXPECT_TRUE(fixture.desktop.errorReports().empty());
}

struct RefusalCase {
    const char *name;
    bool cancelChoices;
    QStringList withoutFont;
    const char *message; // "" none
};

class PaperRefusals : public ::testing::TestWithParam<RefusalCase> {};

// Cancelled choices, or names no font has, leave no file; the names are told first.
TEST_P(PaperRefusals, WriteNothing)
{
    const RefusalCase &c = GetParam();
    PaperFixture fixture;
    const QString path = fixture.dir.filePath("out.pdf");
    fixture.desktop.saveAnswers = {path};
    if (c.cancelChoices)
        fixture.desktop.paperAnswers = {std::nullopt};
    fixture.paper.withoutFont = c.withoutFont;

    commands::ResultExportCommand(fixture.context).exportResults();

    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(fixture.paper.laidOut.empty());
    const QStringList messages = fixture.desktop.messageTexts();
    ASSERT_EQ(messages.size(), QString::fromUtf8(c.message).isEmpty() ? 0 : 1);
    if (!messages.isEmpty())
        EXPECT_TRUE(messages[0].startsWith(QString::fromUtf8(c.message))) << messages[0].toStdString();
    EXPECT_TRUE(fixture.desktop.errorReports().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PaperRefusals,
    ::testing::Values(RefusalCase{"Cancelled", true, {}, ""},
                      RefusalCase{"NoFont", false, {QStringLiteral("\U00012000")},
                                  "No installed font has every letter of 1 name, which would print as empty boxes:\n"
                                  "\U00012000"}),
    [](const auto &info) { return std::string(info.param.name); });

// Print Results shows the preview with the stored choices, titled "Results", paints
// with what was chosen in it and remembers that; with no results it says so.
TEST(PaperPrint, PreviewPrintsAndRemembers)
{
    PaperFixture fixture;
    fixture.settings.values.insert(QStringLiteral("PaperNamesColumns"), QStringLiteral("3"));
    core::PaperChoices chosen;
    chosen.landscape = true;
    fixture.desktop.printAnswers = {chosen};
    commands::PaperCommand(fixture.context).printResults();
    ASSERT_EQ(fixture.desktop.paperProposals.size(), 1u);
    EXPECT_EQ(fixture.desktop.paperProposals[0].namesColumns, 3);
    EXPECT_EQ(fixture.desktop.paperProposals[0].title, QStringLiteral("Results"));
    EXPECT_EQ(fixture.settings.values.value("PaperLandscape"), QStringLiteral("True"));
    EXPECT_EQ(fixture.settings.values.value("PaperNamesColumns"), QStringLiteral("1"));

    CommandFixture empty;
    commands::PaperCommand(empty.context).printResults();
    EXPECT_EQ(empty.desktop.messageTexts(),
              QStringList{QStringLiteral("There are no results to print. Sort the names first.")});
}

// Stored words that are not known keep the defaults.
TEST(PaperSettings, UnknownWordsKeepDefaults)
{
    CommandFixture fixture;
    for (const char *key : {"PaperLayout", "PaperBadgeSheet", "PaperSize", "PaperLetterHeadings", "PaperNamesColumns",
                            "PaperBadgeRows"})
        fixture.settings.values.insert(QString::fromLatin1(key), QStringLiteral("9999"));
    fixture.settings.values.insert(QStringLiteral("PaperColumns"), QStringLiteral("|  |"));
    core::PaperChoices expected;
    expected.pageSize = core::localePaperSize();
    EXPECT_EQ(commands::storedPaperChoices(fixture.settings), expected);
}

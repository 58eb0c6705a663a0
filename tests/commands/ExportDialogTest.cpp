// File > Export Results's choices: what the dialog proposes (as last answered, the
// delimiter of the results' own table), what it writes with the answer, and that the
// answer is remembered.

#include "commands/ResultExportCommand.h"
#include "lists/NameListModel.h"
#include "support/CommandFixture.h"
#include "support/Files.h"
#include "support/Printers.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvella;
using orvella::testing::CommandFixture;

namespace {

tables::SourceTablePtr semicolonTable()
{
    auto made = std::make_shared<tables::SourceTable>();
    made->cells.appendRow(QStringList{"Name", "Phone"});
    made->cells.appendRow(QStringList{"Ann Lee", "+44 20 7946 0000"});
    made->cells.setDelimiter(';');
    made->header = {"Name", "Phone"};
    made->columns.kind = core::ColumnChoice::Kind::WholeName;
    made->columns.wholeName = 0;
    return made;
}

} // namespace

// Nothing chosen before: the dialog proposes the defaults, and the file is what an
// export wrote before there were choices (a formula cell apart).
TEST(ExportDialog, DefaultsWriteTheFileAsBefore)
{
    CommandFixture fixture;
    fixture.resultList.append(QStringLiteral("Ann Lee"));
    fixture.resultList.append(QStringLiteral("=Bo Ray"));
    fixture.settings.values.insert(QStringLiteral("ExportEncoding"), QStringLiteral("utf-16")); // not known: ignored
    QTemporaryDir dir;
    fixture.desktop.saveAnswers = {dir.filePath("results.csv")};

    commands::ResultExportCommand(fixture.context).exportResults();

    ASSERT_EQ(fixture.desktop.exportProposals.size(), 1u);
    EXPECT_EQ(fixture.desktop.exportProposals[0], core::ExportOptions());
    EXPECT_EQ(orvella::testing::readBytes(dir.filePath("results.csv")), QByteArray("\xEF\xBB\xBFName\r\nAnn Lee\r\n'=Bo Ray\r\n"));
    EXPECT_EQ(fixture.settings.values.value("ExportNameColumns", "absent"), QString());
    EXPECT_EQ(fixture.settings.values.value("ExportEncoding"), QStringLiteral("utf-8-bom"));
}

// Results from a semicolon table: the dialog proposes the semicolon. The answer is
// written and remembered, and the next dialog proposes it.
TEST(ExportDialog, AnswerIsWrittenAndRemembered)
{
    CommandFixture fixture;
    fixture.resultList.append(QStringLiteral("Ann Lee"), {semicolonTable(), 1});
    core::ExportOptions answer;
    answer.set(core::NameColumn::LastName, true);
    answer.set(core::NameColumn::FirstName, true);
    answer.delimiter = u';';
    answer.encoding = core::TextEncoding::Utf8;
    answer.lineEnds = core::LineEnds::Lf;
    answer.protectFormulas = false;
    QTemporaryDir dir;
    fixture.desktop.saveAnswers = {dir.filePath("results.csv"), dir.filePath("typed.csv")};
    fixture.desktop.exportAnswers = {answer};
    commands::ResultExportCommand command(fixture.context);

    command.exportResults();
    ASSERT_EQ(fixture.desktop.exportProposals.size(), 1u);
    EXPECT_EQ(fixture.desktop.exportProposals[0].delimiter, u';');
    EXPECT_EQ(orvella::testing::readBytes(dir.filePath("results.csv")),
              QByteArray("First name;Last name;Name;Phone\nAnn;Lee;Ann Lee;+44 20 7946 0000\n"));
    EXPECT_EQ(fixture.settings.values.value("ExportNameColumns"), QStringLiteral("first,last"));
    EXPECT_EQ(fixture.settings.values.value("ExportDelimiter"), QStringLiteral("semicolon"));
    EXPECT_EQ(fixture.settings.values.value("ExportEncoding"), QStringLiteral("utf-8"));
    EXPECT_EQ(fixture.settings.values.value("ExportLineEnds"), QStringLiteral("lf"));
    EXPECT_EQ(fixture.settings.values.value("ExportFormulaProtection"), QStringLiteral("False"));

    fixture.resultList.clear();
    fixture.resultList.append(QStringLiteral("Cy Vries")); // typed: no table's delimiter
    command.exportResults();
    ASSERT_EQ(fixture.desktop.exportProposals.size(), 2u);
    EXPECT_EQ(fixture.desktop.exportProposals[1], answer);
}

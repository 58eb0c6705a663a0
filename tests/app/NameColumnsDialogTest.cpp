// The "Choose Name Columns" dialog: driving its controls changes its answer and its
// preview, and each way out answers its own kind.
#include "app/NameColumnsDialog.h"
#include "ui/support/Controls.h"
#include "support/Printers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include <functional>
#include <gtest/gtest.h>

using namespace orvella;
using app::NameColumnsDialog;
using core::ColumnChoice;
using Kind = core::ColumnChoice::Kind;
using orvella::testing::control;

namespace {

// A header over two people, proposed to be read by its first column.
core::ColumnRequest peopleRequest()
{
    core::ColumnRequest request;
    request.fileName = QStringLiteral("/home/ann/guests.csv");
    request.firstRows = {{"First name", "Last name", "Email"}, {"John", "Smith", "js@x.org"}, {"Ann", "Lee", "al@x.org"}};
    request.proposed.kind = Kind::WholeName;
    request.proposed.firstRowIsHeader = true;
    request.proposed.wholeName = 0;
    request.proposed.dontAskAgain = true;
    return request;
}

QStringList namesAsRead(const NameColumnsDialog &dialog)
{
    const QAbstractItemModel *preview = control<QTableView>(dialog, "PreviewTable")->model();
    QStringList names;
    for (int r = 0; r < preview->rowCount(); ++r)
        names << preview->index(r, 0).data().toString();
    return names;
}

TEST(NameColumnsDialog, SeparateColumnsChangeTheAnswerAndThePreview)
{
    NameColumnsDialog dialog(peopleRequest());
    dialog.show();
    EXPECT_EQ(namesAsRead(dialog), QStringList({"John", "Ann"}));

    control<QRadioButton>(dialog, "PartsOption")->click();
    auto *last = control<QComboBox>(dialog, "LastNameColumn");
    ASSERT_EQ(last->itemText(1), QStringLiteral("Last name"));
    last->setCurrentIndex(1);
    control<QComboBox>(dialog, "FirstNameColumn")->setCurrentIndex(0);
    EXPECT_EQ(namesAsRead(dialog), QStringList({"Smith, John", "Lee, Ann"}));

    QTest::keyClick(&dialog, Qt::Key_Return); // Load is the default button
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const ColumnChoice answer = dialog.choice();
    EXPECT_EQ(answer.kind, Kind::NameParts);
    EXPECT_TRUE(answer.firstRowIsHeader);
    EXPECT_TRUE(answer.dontAskAgain);
    EXPECT_EQ(answer.lastName, 1);
    EXPECT_EQ(answer.firstName, 0);
    EXPECT_EQ(answer.middleName, -1);
    EXPECT_EQ(answer.suffix, -1);
}

TEST(NameColumnsDialog, WithoutAHeaderTheFirstRowIsReadAndNotRemembered)
{
    NameColumnsDialog dialog(peopleRequest());
    dialog.show();
    control<QSpinBox>(dialog, "HeaderRow")->setValue(0);

    EXPECT_EQ(namesAsRead(dialog), QStringList({"First name", "John", "Ann"}));
    EXPECT_EQ(control<QComboBox>(dialog, "WholeNameColumn")->itemText(0), QStringLiteral("Column 1"));
    EXPECT_FALSE(control<QCheckBox>(dialog, "DontAskCheck")->isEnabled());
    control<QPushButton>(dialog, "LoadButton")->click();
    EXPECT_FALSE(dialog.choice().firstRowIsHeader);
    EXPECT_FALSE(dialog.choice().dontAskAgain);
    EXPECT_EQ(dialog.choice().kind, Kind::WholeName);
}

// A title above the header: the header row's number picks the captions, and the
// preview starts below it, each row shown with its number in the file.
TEST(NameColumnsDialog, HeaderRowBelowATitle)
{
    core::ColumnRequest request = peopleRequest();
    request.firstRows.prepend({"Guests — June"});
    request.firstRows.prepend({"Summer Party"});
    request.proposed.headerRow = 2;
    NameColumnsDialog dialog(request);
    dialog.show();
    auto *headerRow = control<QSpinBox>(dialog, "HeaderRow");
    EXPECT_EQ(headerRow->value(), 3);
    EXPECT_EQ(namesAsRead(dialog), QStringList({"John", "Ann"}));
    const QAbstractItemModel *preview = control<QTableView>(dialog, "PreviewTable")->model();
    EXPECT_EQ(preview->headerData(0, Qt::Vertical).toString(), QStringLiteral("4"));

    headerRow->setValue(2);
    EXPECT_EQ(control<QComboBox>(dialog, "WholeNameColumn")->itemText(0), QStringLiteral("Guests — June"));
    EXPECT_EQ(namesAsRead(dialog), QStringList({"First name", "John", "Ann"}));
    headerRow->setValue(3);
    control<QPushButton>(dialog, "LoadButton")->click();
    EXPECT_TRUE(dialog.choice().firstRowIsHeader);
    EXPECT_EQ(dialog.choice().headerRow, 2);
    EXPECT_EQ(dialog.choice().firstNameRow(), 3);
}

TEST(NameColumnsDialog, EachWayOutAnswersItsKind)
{
    const struct {
        const char *label;
        std::function<void(NameColumnsDialog &)> leave;
        Kind kind;
    } cases[] = {
        {"Read Each Line", [](NameColumnsDialog &d) { control<QPushButton>(d, "LinesButton")->click(); }, Kind::Lines},
        {"Cancel", [](NameColumnsDialog &d) { control<QPushButton>(d, "CancelButton")->click(); }, Kind::Cancel},
        {"Escape", [](NameColumnsDialog &d) { QTest::keyClick(&d, Qt::Key_Escape); }, Kind::Cancel},
        {"Close box", [](NameColumnsDialog &d) { d.close(); }, Kind::Cancel},
        {"Load", [](NameColumnsDialog &d) { control<QPushButton>(d, "LoadButton")->click(); }, Kind::WholeName},
    };
    for (const auto &c : cases) {
        NameColumnsDialog dialog(peopleRequest());
        dialog.show();
        c.leave(dialog);
        EXPECT_FALSE(dialog.isVisible()) << c.label;
        EXPECT_EQ(dialog.choice().kind, c.kind) << c.label;
    }
}

// A table as wide as a workbook's widest: the preview shows the name as read, then the
// columns the name is taken from, then every other column with its caption; each box
// offers every column.
TEST(NameColumnsDialog, PreviewShowsTheNameColumnsFirstAndEveryColumn)
{
    constexpr int kColumns = 16384;
    core::ColumnRequest request;
    request.fileName = QStringLiteral("wide.xlsx");
    QStringList header, row;
    for (int c = 0; c < kColumns; ++c) {
        header << QStringLiteral("Note %1").arg(c);
        row << QStringLiteral("n%1").arg(c);
    }
    header[100] = "Last name";
    header[7] = "First name";
    row[100] = "Lee";
    row[7] = "Ann";
    request.firstRows = {header, row};
    request.proposed.kind = Kind::NameParts;
    request.proposed.firstRowIsHeader = true;
    request.proposed.lastName = 100;
    request.proposed.firstName = 7;

    NameColumnsDialog dialog(request);
    dialog.show();
    const QAbstractItemModel *preview = control<QTableView>(dialog, "PreviewTable")->model();
    ASSERT_EQ(preview->columnCount(), kColumns + 1);
    QStringList shown, cells;
    for (int c = 0; c < preview->columnCount(); ++c) {
        shown << preview->headerData(c, Qt::Horizontal).toString();
        cells << preview->index(0, c).data().toString();
    }
    EXPECT_EQ(shown.mid(0, 4), (QStringList{"Name as read", "Last name", "First name", "Note 0"}));
    EXPECT_EQ(cells.mid(0, 4), (QStringList{"Lee, Ann", "Lee", "Ann", "n0"}));
    QStringList expected = header;
    expected.move(100, 0);
    expected.move(8, 1); // "First name", one place on now

    EXPECT_EQ(shown.mid(1), expected);
    for (const char *box : {"WholeNameColumn", "LastNameColumn", "SuffixColumn"}) {
        auto *combo = control<QComboBox>(dialog, box);
        EXPECT_EQ(combo->itemText(combo->count() - 1), QStringLiteral("Note 16383")) << box;
    }

    // Whole names from one column: that column comes first.
    control<QRadioButton>(dialog, "WholeNameOption")->click();
    control<QComboBox>(dialog, "WholeNameColumn")->setCurrentIndex(9);
    EXPECT_EQ(preview->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Note 9"));
    EXPECT_EQ(preview->index(0, 0).data().toString(), QStringLiteral("n9"));
}

} // namespace


// The windows and menus that say how names file: the Filed-As list, File This Name
// As…, the designation list and the two family names choice.

#include "app/DuplicatesWindow.h"
#include "app/FiledAsWindow.h"
#include "app/ListHistory.h"
#include "app/MainWindow.h"
#include "app/WordListWindow.h"
#include "app/support/WindowFixtures.h"
#include "commands/SortCommand.h"
#include "session/Session.h"
#include "support/Files.h"
#include "ui/support/Controls.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTreeWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;

namespace {

struct FilingWindow : MainWindowFixture {
    QTemporaryDir folder;
    explicit FilingWindow(const QMap<QString, QString> &stored = {})
    {
        settings.values = stored;
        window->Form_Load(folder.path());
    }
    QStringList filedAsWrites() const { return settings.writes.filter("FiledAsList="); }
};

void setRow(QTableWidget &table, int row, const QStringList &cells)
{
    for (int c = 0; c < cells.size(); ++c)
        table.setItem(row, c, new QTableWidgetItem(cells[c]));
}

TEST(FiledAsWindow, AddsChangesRemovesLoadsAndSaves)
{
    FilingWindow f;
    auto *window = static_cast<app::FiledAsWindow *>(f.window->mnuEditFiledAs_Click());
    auto *table = control<QTableWidget>(*window, "FiledAsTable");
    EXPECT_EQ(table->rowCount(), 0);
    window->addRow();
    window->addRow();
    window->addRow();
    setRow(*table, 0, {"Debbie  Wasserman Schultz", "Wasserman Schultz"});
    setRow(*table, 1, {"Van Morrison", "Van Morrison"});
    setRow(*table, 2, {"Nobody", ""}); // no words to file under: left out
    table->item(1, 1)->setText("Morrison"); // changed where it stands
    window->save();
    EXPECT_EQ(f.filedAsWrites(),
              QStringList{"FiledAsList=Debbie Wasserman Schultz\tWasserman Schultz\nVan Morrison\tMorrison"});
    EXPECT_TRUE(f.session->options().filedAs()->find(u"Van Morrison"));

    table->selectRow(0);
    window->removeSelectedRows();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 0)->text(), "Van Morrison");

    // Save As writes the table as a file; Load shows a file's entries in its place.
    const QString file = f.folder.filePath("filed.txt");
    f.desktop.saveAnswers.push_back(file);
    window->saveAs();
    EXPECT_EQ(readBytes(file), "Van Morrison\tMorrison\nNobody\t\n");
    writeBytes(file, "Ann Lee\tLee\tAnn\r\nno tab\n");
    f.desktop.openAnswers.push_back(file);
    window->load();
    EXPECT_EQ(window->entries(), (QList<names::FiledAsEntry>{{"Ann Lee", "Lee", "Ann"}}));
    // Nothing is stored before Save.
    EXPECT_EQ(f.filedAsWrites().size(), 1);
    EXPECT_TRUE(f.desktop.errorReports().empty());
}

TEST(FiledAsWindow, FileThisNameAsProposesTheReadingAndKeepsTheAnswer)
{
    FilingWindow f;
    f.desktop.inputAnswers = {"Wasserman Schultz", "", "Beethoven"};
    EXPECT_TRUE(f.window->fileNameAs("Debbie Wasserman Schultz"));
    ASSERT_EQ(f.desktop.inputs.size(), 1u);
    EXPECT_EQ(f.desktop.inputs[0].defaultText, "Schultz"); // what it files under now
    EXPECT_FALSE(f.window->fileNameAs("Ludwig van Beethoven")); // cancelled: nothing set
    EXPECT_TRUE(f.window->fileNameAs("Ludwig van Beethoven"));
    EXPECT_EQ(f.filedAsWrites(), (QStringList{"FiledAsList=Debbie Wasserman Schultz\tWasserman Schultz",
                                              "FiledAsList=Debbie Wasserman Schultz\tWasserman Schultz\n"
                                              "Ludwig van Beethoven\tBeethoven"}));
    // The next proposal is the entry itself; the sort files as it says.
    f.desktop.inputAnswers = {""};
    f.window->fileNameAs("Debbie Wasserman Schultz");
    EXPECT_EQ(f.desktop.inputs.back().defaultText, "Wasserman Schultz");
    f.fillInput({"Ann Walker", "Debbie Wasserman Schultz", "Sam Tate"});
    f.session->sortCommand().run();
    EXPECT_EQ(f.results(), (QStringList{"Sam Tate", "Ann Walker", "Debbie Wasserman Schultz"}));
    // Both lists offer it on their context menus.
    for (const char *name : {"mnuFileInputNameAs", "mnuFileResultNameAs"})
        EXPECT_TRUE(f.window->findChild<QAction *>(name)) << name;
}

TEST(FiledAsWindow, DesignationListAndTwoFamilyNamesAreStored)
{
    FilingWindow f;
    f.window->menus().twoFamilyNames->trigger();
    EXPECT_TRUE(f.session->options().readingChoices().twoFamilyNames);
    QWidget *window = f.window->mnuEditDesignations_Click();
    auto *text = control<QPlainTextEdit>(*window, "DesignationText");
    EXPECT_EQ(text->toPlainText().split('\n'), names::defaultDesignations());
    text->setPlainText("AIA\n\n attorney  at law\naia");
    static_cast<app::WordListWindow *>(window)->save();
    EXPECT_EQ(f.settings.writes, (QStringList{"TwoFamilyNames=True", "DesignationList=AIA\nattorney at law"}));
    EXPECT_TRUE(f.session->options().designations()->contains(u"Attorney at Law"));
    EXPECT_FALSE(f.session->options().designations()->contains(u"CPCU"));

    FilingWindow next(f.settings.values);
    EXPECT_TRUE(next.window->menus().twoFamilyNames->isChecked());
    EXPECT_EQ(next.session->options().designations()->entries(), (QStringList{"AIA", "attorney at law"}));
}

// The window lists each group under its reason with a box per name; the ticked names
// go as one step that Undo takes back, and the window looks again.
TEST(DuplicatesWindow, RemovesOnlyTheTickedNamesAsOneStep)
{
    FilingWindow f;
    const QStringList names{"Smith, John", "Ann Lee", "John Smith", "Ann Leeds", "Bob Lee", "Robert Lee"};
    f.fillInput(names);
    f.window->menus().findDuplicates->trigger();
    auto *window = f.window->findChild<app::DuplicatesWindow *>();
    ASSERT_TRUE(window);
    auto *tree = control<QTreeWidget>(*window, "DuplicateGroups");
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "Group 1: the same words in another order");
    EXPECT_EQ(tree->topLevelItem(1)->text(0), "Group 2: a common nickname");
    EXPECT_TRUE(window->tickedPlaces().isEmpty());
    window->removeTicked(); // nothing ticked: nothing goes
    EXPECT_EQ(f.session->inputList().count(), 6);

    tree->topLevelItem(0)->child(1)->setCheckState(0, Qt::Checked); // John Smith, place 3
    tree->topLevelItem(1)->child(0)->setCheckState(0, Qt::Checked); // Bob Lee, place 5
    EXPECT_EQ(window->tickedPlaces(), (QList<int>{3, 5}));
    window->removeTicked();
    EXPECT_EQ(f.session->inputList().items(), (QStringList{"Smith, John", "Ann Lee", "Ann Leeds", "Robert Lee"}));
    EXPECT_EQ(tree->topLevelItemCount(), 0); // looked again: no group is left
    f.window->history().undo();
    EXPECT_EQ(f.session->inputList().items(), names);
    EXPECT_TRUE(f.desktop.errorReports().empty());
}

} // namespace

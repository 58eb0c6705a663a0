// Faults under the suffix list editor: a settings store that refuses every write, and a
// disk that fills up while the list is saved to a text file. Each failure is reported
// under the command's name and step, the command finishes, the value stored before
// stays as it was, and the change the user made is not lost: the live list keeps it
// for the sort, and the next save that works stores it.

#include "EditorFixtures.h"
#include "core/ErrorReport.h"
#include "core/PointerState.h"
#include "commands/ListCommands.h"
#include "lists/NameListModel.h"
#include "commands/SuffixEditorCommands.h"
#include "lists/SuffixList.h"
#include "suffixes/SuffixStore.h"
#include "support/FileSizeLimit.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace orvella;
using namespace orvella::testing;

namespace {

const QString D = QStringLiteral("!!!TWINE!!!");
const QStringList kEntries = {"Jr.", "Sr.", "III"};

// The editor's commands over the live list as loaded from a store holding kEntries.
struct StoreFixture : EditorCommandsFixture {
    StoreFixture() : EditorCommandsFixture(QStringList())
    {
        settings.values.insert(QStringLiteral("SuffixList"), kEntries.join(D));
        list().appendMany(suffixes::storedSuffixList(settings));
    }
    QString stored() const { return settings.values.value(QStringLiteral("SuffixList")); }
    QStringList reportPlaces() const { return desktop.reportPlaces(); }
};

struct UnwritableCase {
    const char *what;
    std::function<void(StoreFixture &)> act;
    QStringList live;  // the live list afterwards
    QString reportedAt; // where the refused write is reported
};

class UnwritableStore : public ::testing::TestWithParam<UnwritableCase> {};

TEST_P(UnwritableStore, ReportedUnderTheCommandAndNothingStoredIsLost)
{
    const UnwritableCase &c = GetParam();
    StoreFixture f;
    f.settings.failWrites = true;
    c.act(f);

    EXPECT_EQ(f.reportPlaces(), QStringList{c.reportedAt});
    const auto reports = f.desktop.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.startsWith("The settings could not be written\r\n")) << reports[0].text.toStdString();
    EXPECT_EQ(reports[0].style, 48);
    EXPECT_EQ(f.stored(), kEntries.join(D));
    EXPECT_EQ(itemsOf(f.list()), c.live);
    // The sort steps over what the user sees, stored or not.
    for (const QString &entry : c.live)
        EXPECT_TRUE(f.live.IsSuffix(entry)) << entry.toStdString();

    // Once the store takes writes again, the next saving command stores the change.
    f.settings.failWrites = false;
    f.commands().addEntry(); // "Add One", cancelled: saves all the same
    EXPECT_EQ(f.stored(), c.live.join(D));
    EXPECT_EQ(f.reportPlaces().size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    SavingCommands, UnwritableStore,
    ::testing::Values(
        UnwritableCase{"EditSelected",
                       [](StoreFixture &f) {
                           f.list().select(3);
                           f.desktop.inputAnswers = {"IV"};
                           f.commands().editSelected();
                       },
                       {"Jr.", "Sr.", "IV"}, "Form2.PushButton1_Click at line 108"},
        UnwritableCase{"DeleteSelected",
                       [](StoreFixture &f) {
                           f.list().select(2);
                           f.commands().deleteSelected();
                       },
                       {"Jr.", "III"}, "Form2.PushButton3_Click at line 106"},
        UnwritableCase{"ClearListConfirmed",
                       [](StoreFixture &f) {
                           f.desktop.messageAnswers = {core::MessageAnswer::Yes};
                           f.commands().clearEntries();
                       },
                       {}, "Form2.PushButton5_Click at line 104"},
        UnwritableCase{"ResetToDefaultList", [](StoreFixture &f) { f.commands().resetToDefaults(); },
                       QStringList(suffixes::defaultSuffixes().begin(), suffixes::defaultSuffixes().end()),
                       "Form2.PushButton7_Click at line 106"},
        UnwritableCase{"DoubleClick",
                       [](StoreFixture &f) {
                           f.list().select(1);
                           f.commands().removeSelected(commands::RemoveGesture::DoubleClick);
                       },
                       {"Sr.", "III"}, "Form2.ListView1_DblClick at line 104"},
        UnwritableCase{"DeleteKey",
                       [](StoreFixture &f) {
                           f.list().select(3);
                           f.commands().removeSelected(commands::RemoveGesture::DeleteKey);
                       },
                       {"Jr.", "Sr."}, "Form2.ListView1_KeyDown at line 104"}),
    [](const auto &info) { return std::string(info.param.what); });

// A list emptied by "Clear List" while the store refuses writes must not come back as
// the default list at the next start: the stored value is still the old list.
TEST(UnwritableStore, NextStartFindsTheListStoredBefore)
{
    StoreFixture f;
    f.settings.failWrites = true;
    f.desktop.messageAnswers = {core::MessageAnswer::Yes};
    f.commands().clearEntries();
    ASSERT_TRUE(f.list().isEmpty());

    lists::NameListModel next(QStringLiteral("Suffix List"));
    next.appendMany(suffixes::storedSuffixList(f.settings));
    EXPECT_EQ(itemsOf(next), kEntries);
}

// The disk fills up under the file system itself, not in a device of the program's
// own, so the bytes the file keeps in its buffer until the end fail too.
TEST(FullDisk, SaveListToTextFileReportsAndKeepsTheOldFile)
{
    for (const rlim_t limit : {rlim_t(0), rlim_t(10), rlim_t(40)}) {
        SCOPED_TRACE(limit);
        StoreFixture f;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("suffixes.txt"));
        writeBytes(path, "old\r\n");
        f.desktop.saveAnswers = {path};
        {
            FileSizeLimit full(limit);
            ASSERT_TRUE(full.set());
            f.commands().saveToFile();
        }
        EXPECT_EQ(f.reportPlaces(), QStringList{"Form2.PushButton8_Click at line 106"});
        EXPECT_EQ(readBytes(path), "old\r\n");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"suffixes.txt"});
        EXPECT_EQ(f.editorPointer.pointer(), core::Pointer::Default);
        EXPECT_EQ(itemsOf(f.list()), kEntries);
        EXPECT_TRUE(f.settings.writes.isEmpty());

        // With room on the disk again the same save writes the list.
        f.desktop.saveAnswers = {path};
        f.commands().saveToFile();
        EXPECT_EQ(readBytes(path), "Suffix List\t\r\nJr.        \t\r\nSr.        \t\r\nIII        \t\r\n");
        EXPECT_EQ(f.reportPlaces().size(), 1);
    }
}

} // namespace

// The suffix list editor's commands, on the live list without the window.

#include "core/AppInfo.h"
#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "core/PointerState.h"
#include "core/ProgressState.h"
#include "lists/NameListModel.h"
#include "suffixes/SuffixStore.h"
#include "EditorFixtures.h"
#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;
using core::Pointer;

namespace {

// ---- Which actions write the stored list ----------------------------------------------

struct SaveCase {
    const char *what;
    std::function<void(EditorCommandsFixture &)> act;
    QStringList after; // the list afterwards
    bool writes;       // the stored value is written (once)
};

class SaveTable : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveTable, StoredValueWrittenExactlyWhereTheCommandSaves)
{
    EditorCommandsFixture f;
    f.list().select(2);
    GetParam().act(f);
    EXPECT_EQ(f.entries(), GetParam().after);
    if (GetParam().writes) {
        EXPECT_EQ(f.settings.writes, QStringList{"SuffixList=" + GetParam().after.join(kTwine)});
    } else {
        EXPECT_TRUE(f.settings.writes.isEmpty()) << f.settings.writes.join(',').toStdString();
    }
    EXPECT_TRUE(f.desktop.errorReports().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Actions, SaveTable,
    ::testing::Values(
        SaveCase{"add one",
                 [](EditorCommandsFixture &f) {
                     f.desktop.inputAnswers = {"Esq."};
                     f.commands().addEntry();
                 },
                 {"Jr.", "Sr.", "III", "Esq."}, true},
        SaveCase{"add one cancelled", [](EditorCommandsFixture &f) { f.commands().addEntry(); },
                 {"Jr.", "Sr.", "III"}, true},
        SaveCase{"edit selected",
                 [](EditorCommandsFixture &f) {
                     f.desktop.inputAnswers = {"SR"};
                     f.commands().editSelected();
                 },
                 {"Jr.", "SR", "III"}, true},
        SaveCase{"edit cancelled", [](EditorCommandsFixture &f) { f.commands().editSelected(); },
                 {"Jr.", "Sr.", "III"}, true},
        SaveCase{"edit on an empty list",
                 [](EditorCommandsFixture &f) {
                     f.setEntries({});
                     f.commands().editSelected();
                     EXPECT_TRUE(f.desktop.inputs.empty()) << "no dialog";
                 },
                 {}, false},
        SaveCase{"delete selected", [](EditorCommandsFixture &f) { f.commands().deleteSelected(); }, {"Jr.", "III"}, true},
        SaveCase{"delete selected while busy",
                 [](EditorCommandsFixture &f) { f.busy(true); f.commands().deleteSelected(); },
                 {"Jr.", "Sr.", "III"}, false},
        SaveCase{"double-click", [](EditorCommandsFixture &f) { f.commands().removeSelected(commands::RemoveGesture::DoubleClick); }, {"Jr.", "III"}, true},
        SaveCase{"double-click while busy",
                 [](EditorCommandsFixture &f) { f.busy(true); f.commands().removeSelected(commands::RemoveGesture::DoubleClick); },
                 {"Jr.", "Sr.", "III"}, false},
        SaveCase{"double-click with nothing selected",
                 [](EditorCommandsFixture &f) { f.list().selectionModel()->clear(); f.commands().removeSelected(commands::RemoveGesture::DoubleClick); },
                 {"Jr.", "Sr.", "III"}, true},
        SaveCase{"Delete key", [](EditorCommandsFixture &f) { f.commands().removeSelected(commands::RemoveGesture::DeleteKey); }, {"Jr.", "III"}, true},
        SaveCase{"Delete key while busy",
                 [](EditorCommandsFixture &f) { f.busy(true); f.commands().removeSelected(commands::RemoveGesture::DeleteKey); },
                 {"Jr.", "Sr.", "III"}, false},
        SaveCase{"reset", [](EditorCommandsFixture &f) { f.commands().resetToDefaults(); }, defaultSuffixList(), true},
        SaveCase{"load from a file",
                 [](EditorCommandsFixture &f) {
                     f.desktop.openAnswers = {f.file("a.txt", "Esq.\r\n")};
                     f.commands().loadFromFiles();
                 },
                 {"Jr.", "Sr.", "III", "Esq."}, false},
        SaveCase{"save to a file",
                 [](EditorCommandsFixture &f) {
                     f.desktop.saveAnswers = {f.folder.filePath("out.txt")};
                     f.commands().saveToFile();
                 },
                 {"Jr.", "Sr.", "III"}, false}),
    [](const ::testing::TestParamInfo<SaveCase> &info) {
        std::string name;
        for (const char *c = info.param.what; *c; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

// ---- The commands one by one ----------------------------------------------------------

TEST(SuffixEditorAdd, AppendsTheAnswerAsTypedAndSelectsIt)
{
    EditorCommandsFixture f;
    f.desktop.inputAnswers = {"  ", "Jr.", "jr. "};
    for (int i = 0; i < 3; ++i)
        f.commands().addEntry();
    EXPECT_EQ(f.entries(), (QStringList{"Jr.", "Sr.", "III", "  ", "Jr.", "jr. "}));
    EXPECT_EQ(f.list().selectedPosition(), 6);
    ASSERT_EQ(f.desktop.inputs.size(), 3u);
    EXPECT_EQ(f.desktop.inputs[0].prompt, "Enter Suffix to add: ");
    EXPECT_EQ(f.desktop.inputs[0].title, f.context.title);
    EXPECT_EQ(f.desktop.inputs[0].defaultText, "");
    EXPECT_EQ(f.settings.writes.size(), 3);
}

TEST(SuffixEditorAdd, FailedSaveIsReportedAndTheEntryStays)
{
    EditorCommandsFixture f;
    f.settings.failWrites = true;
    f.desktop.inputAnswers = {"Esq."};
    f.commands().addEntry();
    EXPECT_EQ(f.entries().last(), "Esq.");
    EXPECT_EQ(f.reportNames(), QStringList{editorReportLine("PushButton6_Click", 106)});
}

TEST(SuffixEditorEdit, ShowsTheSelectedEntryAndKeepsItsPlace)
{
    EditorCommandsFixture f;
    f.list().select(3);
    f.desktop.inputAnswers = {"IV"};
    f.commands().editSelected();
    ASSERT_EQ(f.desktop.inputs.size(), 1u);
    EXPECT_EQ(f.desktop.inputs[0].prompt, "Enter Suffix to edit:");
    EXPECT_EQ(f.desktop.inputs[0].defaultText, "III");
    EXPECT_EQ(f.desktop.inputs[0].title, f.context.title);
    EXPECT_EQ(f.entries(), (QStringList{"Jr.", "Sr.", "IV"}));
}

TEST(SuffixEditorEdit, DefaultAnswerAcceptedChangesNothingButSaves)
{
    EditorCommandsFixture f;
    f.list().select(1);
    f.desktop.inputAnswers = {"Jr."};
    f.commands().editSelected();
    EXPECT_EQ(f.entries(), (QStringList{"Jr.", "Sr.", "III"}));
    EXPECT_EQ(f.settings.writes.size(), 1);
}

TEST(SuffixEditorEdit, NothingSelectedIsReportedThenSaved)
{
    EditorCommandsFixture f;
    f.desktop.inputAnswers = {"never asked"};
    f.commands().editSelected();
    EXPECT_TRUE(f.desktop.inputs.empty());
    EXPECT_EQ(f.reportNames(), QStringList{editorReportLine("PushButton1_Click", 102)});
    EXPECT_EQ(f.entries(), (QStringList{"Jr.", "Sr.", "III"}));
    EXPECT_EQ(f.settings.writes.size(), 1);
}

TEST(SuffixEditorDelete, NothingSelectedIsReportedThenSaved)
{
    EditorCommandsFixture f;
    f.commands().deleteSelected();
    EXPECT_EQ(f.reportNames(), QStringList{editorReportLine("PushButton3_Click", 104)});
    EXPECT_EQ(f.entries(), (QStringList{"Jr.", "Sr.", "III"}));
    EXPECT_EQ(f.settings.writes.size(), 1);
}

TEST(SuffixEditorDelete, RepeatedDeletesWorkDownTheList)
{
    EditorCommandsFixture f({"a", "b", "c", "d"});
    f.list().select(2);
    f.commands().deleteSelected();
    f.commands().removeSelected(commands::RemoveGesture::DeleteKey);
    EXPECT_EQ(f.entries(), (QStringList{"a", "d"}));
    f.commands().removeSelected(commands::RemoveGesture::DoubleClick);
    f.commands().removeSelected(commands::RemoveGesture::DoubleClick);
    EXPECT_TRUE(f.entries().isEmpty());
    // An empty list: nothing to remove, no report, still saved.
    f.commands().deleteSelected();
    EXPECT_TRUE(f.desktop.errorReports().empty());
    EXPECT_EQ(f.settings.writes.size(), 5);
    EXPECT_EQ(f.settings.values.value("SuffixList"), "");
}

TEST(SuffixEditorClear, AsksFirst)
{
    EditorCommandsFixture f;
    f.desktop.messageAnswers = {core::MessageAnswer::No, core::MessageAnswer::Yes};
    f.commands().clearEntries();
    EXPECT_EQ(f.entries(), (QStringList{"Jr.", "Sr.", "III"}));
    EXPECT_TRUE(f.settings.writes.isEmpty()) << "No writes nothing";
    f.commands().clearEntries();
    EXPECT_TRUE(f.entries().isEmpty());
    ASSERT_EQ(f.desktop.messages.size(), 2u);
    EXPECT_EQ(f.desktop.messages[0].text, "Are you sure?");
    EXPECT_EQ(f.desktop.messages[0].style, core::MessageStyle::YesNo);
    EXPECT_EQ(f.desktop.messages[0].title, f.context.title);
    EXPECT_EQ(f.settings.writes, QStringList{"SuffixList="});
    // The next start finds the empty value and fills in the defaults (the store's
    // load table checks the empty value).
}

// Reset writes the same stored value as saving the default list would.
TEST(SuffixEditorReset, LeavesExactlyTheDefaults)
{
    EditorCommandsFixture f({"a", "b", "c", "d", "e"});
    f.commands().resetToDefaults();
    EXPECT_EQ(f.entries(), defaultSuffixList());
    EXPECT_EQ(f.settings.values.value("SuffixList"), suffixes::packSuffixList(suffixes::defaultSuffixes()));
}

TEST(SuffixEditorReset, WhileBusyAppendsTheDefaultsAfterTheEntries)
{
    EditorCommandsFixture f({"a", "b"});
    f.busy(true);
    f.commands().resetToDefaults();
    EXPECT_EQ(f.entries(), QStringList({"a", "b"}) + defaultSuffixList());
    EXPECT_EQ(f.settings.writes, QStringList{"SuffixList=" + f.entries().join(kTwine)});
    EXPECT_TRUE(f.editorPointer.isBusy());
}

// A save yields while it writes; the user's clicks then run in between. Removals are
// refused, Reset only appends, and the file gets the list as it was when writing began.
TEST(SuffixEditorReset, DuringASaveTheBusyRulesProtectTheList)
{
    EditorCommandsFixture f({"a", "bb"});
    f.list().select(1);
    const QString out = f.folder.filePath("out.txt");
    f.desktop.saveAnswers = {out};
    bool clicked = false;
    f.desktop.onEveryYield = [&] {
        // Once the first entry's line is written.
        if (clicked || f.progress.position() <= 20)
            return;
        clicked = true;
        EXPECT_TRUE(f.editorPointer.isBusy());
        f.commands().deleteSelected();
        f.commands().removeSelected(commands::RemoveGesture::DeleteKey);
        f.commands().removeSelected(commands::RemoveGesture::DoubleClick);
        f.commands().resetToDefaults();
    };
    f.commands().saveToFile();
    ASSERT_TRUE(clicked);
    EXPECT_EQ(f.entries(), QStringList({"a", "bb"}) + defaultSuffixList());
    EXPECT_EQ(f.settings.writes.size(), 1) << "only Reset saved";
    EXPECT_EQ(readBytes(out), QByteArray("Suffix List\t\r\na          \t\r\nbb         \t\r\n"));
    EXPECT_EQ(f.editorPointer.pointer(), Pointer::Default);
}

// ---- Files ----------------------------------------------------------------------------

TEST(SuffixEditorLoad, ThreeFilesAppendInTheDialogsOrder)
{
    EditorCommandsFixture f({"Jr."});
    f.file("one.txt", "A1\r\nA2\r\n");
    f.file("two.txt", "B1\nB2");
    f.file("three.txt", "\r\nC1\r\r\n");
    const QChar nul(u'\0');
    f.desktop.openAnswers = {f.folder.path() + nul + "two.txt" + nul + "one.txt" + nul + "three.txt"};
    QSignalSpy pointers(&f.editorPointer, &core::PointerState::changed);
    f.commands().loadFromFiles();

    EXPECT_EQ(f.entries(), (QStringList{"Jr.", "B1", "B2", "A1", "A2", "C1"}));
    EXPECT_TRUE(f.settings.writes.isEmpty());
    ASSERT_EQ(pointers.size(), 2);
    EXPECT_EQ(pointers[0][0].value<Pointer>(), Pointer::Busy);
    EXPECT_EQ(pointers[1][0].value<Pointer>(), Pointer::Default);
    ASSERT_EQ(f.desktop.dialogs.size(), 1u);
    const auto &dialog = f.desktop.dialogs[0];
    EXPECT_FALSE(dialog.save);
    EXPECT_EQ(dialog.request.title, "Load List(s) - Hold Ctrl to select multiple list files");
    EXPECT_EQ(dialog.request.filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    EXPECT_TRUE(dialog.request.multiSelect);
    EXPECT_EQ(dialog.request.fileName, "");
    // The sort sees the new entries at once.
    EXPECT_TRUE(f.live.IsSuffix(u"c1"));
}

TEST(SuffixEditorLoad, MissingFileIsNamedAndTheOthersAreRead)
{
    EditorCommandsFixture f(QStringList{});
    f.file("one.txt", "A1\r\n");
    const QChar nul(u'\0');
    f.desktop.openAnswers = {f.folder.path() + nul + "gone.txt" + nul + "one.txt"};
    f.commands().loadFromFiles();
    EXPECT_EQ(f.entries(), QStringList{"A1"});
    EXPECT_EQ(f.desktop.messageTexts(), QStringList{"File not found"});
    EXPECT_EQ(f.editorPointer.pointer(), Pointer::Default);
}

TEST(SuffixEditorLoad, UnreadableFileIsReportedAndThePointerComesBack)
{
    EditorCommandsFixture f(QStringList{});
    f.desktop.openAnswers = {f.folder.path()}; // a folder chosen as a file
    f.commands().loadFromFiles();
    EXPECT_EQ(f.reportNames(), QStringList{editorReportLine("PushButton4_Click", 110)});
    EXPECT_TRUE(f.entries().isEmpty());
    EXPECT_EQ(f.editorPointer.pointer(), Pointer::Default);
}

TEST(SuffixEditorLoad, CancelledDialogDoesNothing)
{
    EditorCommandsFixture f;
    QSignalSpy pointers(&f.editorPointer, &core::PointerState::changed);
    f.commands().loadFromFiles();
    EXPECT_EQ(f.entries().size(), 3);
    EXPECT_EQ(pointers.size(), 0);
    EXPECT_TRUE(f.desktop.messages.empty());
}

TEST(SuffixEditorSave, WritesTheListTableWithTheMainWindowsProgress)
{
    EditorCommandsFixture f({"Jr.", "S.N.J.M. long one"});
    const QString out = f.folder.filePath("list.txt");
    f.file("list.txt", "old contents");
    f.desktop.saveAnswers = {out};
    QSignalSpy positions(&f.progress, &core::ProgressState::positionSet);
    f.commands().saveToFile();

    EXPECT_EQ(readBytes(out), QByteArray("Suffix List      \t\r\nJr.              \t\r\nS.N.J.M. long one\t\r\n"));
    EXPECT_TRUE(f.desktop.messages.empty()) << "no box of the program's own";
    EXPECT_EQ(f.desktop.overwriteQuestions, QStringList{out}) << "the dialog asks before replacing";
    ASSERT_EQ(f.desktop.dialogs.size(), 1u);
    EXPECT_TRUE(f.desktop.dialogs[0].save);
    EXPECT_EQ(f.desktop.dialogs[0].request.title, "Save");
    EXPECT_EQ(f.desktop.dialogs[0].request.filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    QList<double> seen;
    for (const auto &args : positions)
        seen << args[0].toDouble();
    EXPECT_TRUE(seen.contains(100.0));
    EXPECT_EQ(f.progress.position(), 0.0);
    EXPECT_EQ(f.progress.text(), "Progress Bar");
}

TEST(SuffixEditorSave, CancelledWritesNothing)
{
    EditorCommandsFixture f;
    QSignalSpy pointers(&f.editorPointer, &core::PointerState::changed);
    f.commands().saveToFile();
    EXPECT_TRUE(f.folder.isValid());
    EXPECT_TRUE(QDir(f.folder.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(pointers.size(), 0);
}

TEST(SuffixEditorSave, NoToReplacingKeepsTheFile)
{
    EditorCommandsFixture f({"Jr."});
    const QString out = f.file("list.txt", "old contents");
    f.desktop.saveAnswers = {out};
    f.desktop.overwriteAnswers = {false};
    QSignalSpy pointers(&f.editorPointer, &core::PointerState::changed);
    f.commands().saveToFile();
    EXPECT_EQ(f.desktop.overwriteQuestions, QStringList{out});
    EXPECT_EQ(readBytes(out), QByteArray("old contents"));
    EXPECT_EQ(pointers.size(), 0);
}

TEST(SuffixEditorSave, TheDialogProposesThisWindowsLastName)
{
    EditorCommandsFixture f;
    const QString loaded = f.file("in.txt", "X\r\n");
    const QString saved = f.folder.filePath("out.txt");
    f.desktop.openAnswers = {loaded};
    f.desktop.saveAnswers = {saved, QString()};
    f.commands().loadFromFiles(); // the load clears the name first, then keeps its answer
    f.commands().saveToFile();
    f.commands().saveToFile(); // cancelled: the name stays
    f.desktop.openAnswers = {QString()};
    f.commands().loadFromFiles(); // cancelled load: the name was cleared
    f.commands().saveToFile();

    ASSERT_EQ(f.desktop.dialogs.size(), 5u);
    EXPECT_EQ(f.desktop.dialogs[0].request.fileName, "");
    EXPECT_EQ(f.desktop.dialogs[1].request.fileName, loaded);
    EXPECT_EQ(f.desktop.dialogs[2].request.fileName, saved);
    EXPECT_EQ(f.desktop.dialogs[3].request.fileName, "");
    EXPECT_EQ(f.desktop.dialogs[4].request.fileName, "");

    // After several files the save dialog proposes the first of them.
    f.desktop.openAnswers = {f.folder.path() + QChar(u'\0') + "in.txt" + QChar(u'\0') + "in.txt"};
    f.commands().loadFromFiles();
    f.commands().saveToFile();
    EXPECT_EQ(f.desktop.dialogs.back().request.fileName, loaded);
}


} // namespace

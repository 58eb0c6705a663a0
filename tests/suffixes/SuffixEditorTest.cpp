#include "core/AppInfo.h"
#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "core/PointerState.h"
#include "core/ProgressState.h"
#include "core/Twips.h"
#include "lists/NameListModel.h"
#include "lists/NameListView.h"
#include "sorting/SortCommand.h"
#include "suffixes/SuffixEditor.h"
#include "suffixes/SuffixStore.h"
#include "support/Controls.h"
#include "support/Fixtures.h"
#include "support/Files.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;
using core::Pointer;

namespace {

const QString D = QStringLiteral("!!!TWINE!!!");

QStringList defaults()
{
    return QStringList(suffixes::defaultSuffixes().begin(), suffixes::defaultSuffixes().end());
}

// The real main window with its suffix list editor, the editor's list set to known
// entries and the settings' write record emptied.
struct EditorFixture : MainWindowFixture {
    suffixes::SuffixEditor *editor = nullptr;
    QTemporaryDir folder;

    explicit EditorFixture(const QStringList &entries = {"Jr.", "Sr.", "III"})
    {
        editor = &window->suffixEditor();
        setEntries(entries);
    }
    suffixes::SuffixEditorCommands &commands() { return editor->commands(); }
    lists::NameListModel &list() { return editor->liveList().model(); }
    QStringList entries() { return itemsOf(list()); }
    void setEntries(const QStringList &entries)
    {
        list().clear();
        list().appendMany(entries);
        processEvents();
        settings.writes.clear();
    }
    void busy(bool on) { editor->pointerState().set(on ? Pointer::Busy : Pointer::Default); }
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = folder.filePath(name);
        writeBytes(path, bytes);
        return path;
    }
    QStringList reportNames() const
    {
        QStringList names;
        for (const auto &m : desktop.errorReports())
            names << m.text.section(QLatin1Char('\n'), 1).section(QLatin1Char('\r'), 0, 0);
        return names;
    }
};

QString reportLine(const char *procedure, int step)
{
    return QStringLiteral("in %1.Form2.%2 at line %3")
        .arg(QLatin1String(core::kProjectLabel), QLatin1String(procedure))
        .arg(step);
}

// ---- Which actions write the stored list ----------------------------------------------

struct SaveCase {
    const char *what;
    std::function<void(EditorFixture &)> act;
    QStringList after; // the list afterwards
    bool writes;       // the stored value is written (once)
};

class SaveTable : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveTable, StoredValueWrittenExactlyWhereTheCommandSaves)
{
    EditorFixture f;
    f.list().select(2);
    GetParam().act(f);
    EXPECT_EQ(f.entries(), GetParam().after);
    if (GetParam().writes) {
        EXPECT_EQ(f.settings.writes, QStringList{"SuffixList=" + GetParam().after.join(D)});
    } else {
        EXPECT_TRUE(f.settings.writes.isEmpty()) << f.settings.writes.join(',').toStdString();
    }
    EXPECT_TRUE(f.desktop.errorReports().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Actions, SaveTable,
    ::testing::Values(
        SaveCase{"add one",
                 [](EditorFixture &f) {
                     f.desktop.inputAnswers = {"Esq."};
                     f.commands().PushButton6_Click();
                 },
                 {"Jr.", "Sr.", "III", "Esq."}, true},
        SaveCase{"add one cancelled", [](EditorFixture &f) { f.commands().PushButton6_Click(); },
                 {"Jr.", "Sr.", "III"}, true},
        SaveCase{"edit selected",
                 [](EditorFixture &f) {
                     f.desktop.inputAnswers = {"SR"};
                     f.commands().PushButton1_Click();
                 },
                 {"Jr.", "SR", "III"}, true},
        SaveCase{"edit cancelled", [](EditorFixture &f) { f.commands().PushButton1_Click(); },
                 {"Jr.", "Sr.", "III"}, true},
        SaveCase{"edit on an empty list",
                 [](EditorFixture &f) {
                     f.setEntries({});
                     f.commands().PushButton1_Click();
                     EXPECT_TRUE(f.desktop.inputs.empty()) << "no dialog";
                 },
                 {}, false},
        SaveCase{"delete selected", [](EditorFixture &f) { f.commands().PushButton3_Click(); }, {"Jr.", "III"}, true},
        SaveCase{"delete selected while busy",
                 [](EditorFixture &f) { f.busy(true); f.commands().PushButton3_Click(); },
                 {"Jr.", "Sr.", "III"}, false},
        SaveCase{"double-click", [](EditorFixture &f) { f.commands().ListView1_DblClick(); }, {"Jr.", "III"}, true},
        SaveCase{"double-click while busy",
                 [](EditorFixture &f) { f.busy(true); f.commands().ListView1_DblClick(); },
                 {"Jr.", "Sr.", "III"}, false},
        SaveCase{"double-click with nothing selected",
                 [](EditorFixture &f) { f.list().selectionModel()->clear(); f.commands().ListView1_DblClick(); },
                 {"Jr.", "Sr.", "III"}, true},
        SaveCase{"Delete key", [](EditorFixture &f) { f.commands().ListView1_KeyDown(46); }, {"Jr.", "III"}, true},
        SaveCase{"Delete key while busy",
                 [](EditorFixture &f) { f.busy(true); f.commands().ListView1_KeyDown(46); },
                 {"Jr.", "Sr.", "III"}, false},
        SaveCase{"another key", [](EditorFixture &f) { f.commands().ListView1_KeyDown(13); },
                 {"Jr.", "Sr.", "III"}, false},
        SaveCase{"clear answered No",
                 [](EditorFixture &f) {
                     f.desktop.messageAnswers = {core::MessageAnswer::No};
                     f.commands().PushButton5_Click();
                 },
                 {"Jr.", "Sr.", "III"}, false},
        SaveCase{"clear answered Yes",
                 [](EditorFixture &f) {
                     f.desktop.messageAnswers = {core::MessageAnswer::Yes};
                     f.commands().PushButton5_Click();
                 },
                 {}, true},
        SaveCase{"reset", [](EditorFixture &f) { f.commands().PushButton7_Click(); }, defaults(), true},
        SaveCase{"load from a file",
                 [](EditorFixture &f) {
                     f.desktop.openAnswers = {f.file("a.txt", "Esq.\r\n")};
                     f.commands().PushButton4_Click();
                 },
                 {"Jr.", "Sr.", "III", "Esq."}, false},
        SaveCase{"save to a file",
                 [](EditorFixture &f) {
                     f.desktop.saveAnswers = {f.folder.filePath("out.txt")};
                     f.commands().PushButton8_Click();
                 },
                 {"Jr.", "Sr.", "III"}, false},
        SaveCase{"close box", [](EditorFixture &f) { f.window->PushButton15_Click(); f.editor->close(); },
                 {"Jr.", "Sr.", "III"}, false},
        SaveCase{"Exit", [](EditorFixture &f) { f.window->PushButton15_Click(); f.editor->PushButton2_Click(); },
                 {"Jr.", "Sr.", "III"}, false}),
    [](const ::testing::TestParamInfo<SaveCase> &info) {
        std::string name;
        for (const char *c = info.param.what; *c; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

TEST(SuffixEditor, CreationFillsTheDefaultsWithoutWriting)
{
    MainWindowFixture f;
    EXPECT_FALSE(f.window->hasLiveSuffixList());
    suffixes::SuffixEditor &editor = f.window->suffixEditor();
    EXPECT_EQ(itemsOf(editor.liveList().model()), defaults());
    EXPECT_TRUE(f.settings.writes.isEmpty());
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(f.desktop.messages.empty());
    EXPECT_EQ(&f.window->liveSuffixList(), &editor.liveList());
}

TEST(SuffixEditor, CreationTakesTheStoredList)
{
    MainWindowFixture f;
    f.settings.values.insert("SuffixList", "Jr." + D + "Esq");
    EXPECT_EQ(itemsOf(f.window->liveSuffixList().model()), (QStringList{"Jr.", "Esq"}));
}

// A store whose suffix list cannot be read.
struct UnreadableSuffixList : MemorySettings {
    QString read(const QString &key, const QString &defaultValue) const override
    {
        if (key == "SuffixList")
            throw core::Failure(QStringLiteral("The settings file could not be read"));
        return MemorySettings::read(key, defaultValue);
    }
};

TEST(SuffixEditor, FailingCreationStepIsReportedAndTheWindowStillOpens)
{
    ScriptedDesktop desktop;
    UnreadableSuffixList settings;
    app::MainWindow window(desktop, settings);
    window.PushButton15_Click();
    ASSERT_TRUE(window.hasLiveSuffixList());
    EXPECT_TRUE(window.suffixEditor().isVisible());
    ASSERT_EQ(desktop.errorReports().size(), 1u);
    EXPECT_TRUE(desktop.errorReports()[0].text.startsWith("The settings file could not be read\r\n" +
                                                          reportLine("Form_Load", 114) + "\r\r"))
        << desktop.errorReports()[0].text.toStdString();
    EXPECT_TRUE(window.liveSuffixList().model().isEmpty());
    EXPECT_FALSE(window.liveSuffixList().IsSuffix(u"Jr."));
}

// ---- The commands one by one ----------------------------------------------------------

TEST(SuffixEditorAdd, AppendsTheAnswerAsTypedAndSelectsIt)
{
    EditorFixture f;
    f.desktop.inputAnswers = {"  ", "Jr.", "jr. "};
    for (int i = 0; i < 3; ++i)
        f.commands().PushButton6_Click();
    EXPECT_EQ(f.entries(), (QStringList{"Jr.", "Sr.", "III", "  ", "Jr.", "jr. "}));
    EXPECT_EQ(f.list().selectedPosition(), 6);
    ASSERT_EQ(f.desktop.inputs.size(), 3u);
    EXPECT_EQ(f.desktop.inputs[0].prompt, "Enter Suffix to add: ");
    EXPECT_EQ(f.desktop.inputs[0].title, f.window->applicationTitle());
    EXPECT_EQ(f.desktop.inputs[0].defaultText, "");
    EXPECT_EQ(f.settings.writes.size(), 3);
}

TEST(SuffixEditorAdd, FailedSaveIsReportedAndTheEntryStays)
{
    EditorFixture f;
    f.settings.failWrites = true;
    f.desktop.inputAnswers = {"Esq."};
    f.commands().PushButton6_Click();
    EXPECT_EQ(f.entries().last(), "Esq.");
    EXPECT_EQ(f.reportNames(), QStringList{reportLine("PushButton6_Click", 106)});
}

TEST(SuffixEditorEdit, ShowsTheSelectedEntryAndKeepsItsPlace)
{
    EditorFixture f;
    f.list().select(3);
    f.desktop.inputAnswers = {"IV"};
    f.commands().PushButton1_Click();
    ASSERT_EQ(f.desktop.inputs.size(), 1u);
    EXPECT_EQ(f.desktop.inputs[0].prompt, "Enter Suffix to edit:");
    EXPECT_EQ(f.desktop.inputs[0].defaultText, "III");
    EXPECT_EQ(f.desktop.inputs[0].title, f.window->applicationTitle());
    EXPECT_EQ(f.entries(), (QStringList{"Jr.", "Sr.", "IV"}));
}

TEST(SuffixEditorEdit, DefaultAnswerAcceptedChangesNothingButSaves)
{
    EditorFixture f;
    f.list().select(1);
    f.desktop.inputAnswers = {"Jr."};
    f.commands().PushButton1_Click();
    EXPECT_EQ(f.entries(), (QStringList{"Jr.", "Sr.", "III"}));
    EXPECT_EQ(f.settings.writes.size(), 1);
}

TEST(SuffixEditorEdit, NothingSelectedIsReportedThenSaved)
{
    EditorFixture f;
    f.desktop.inputAnswers = {"never asked"};
    f.commands().PushButton1_Click();
    EXPECT_TRUE(f.desktop.inputs.empty());
    EXPECT_EQ(f.reportNames(), QStringList{reportLine("PushButton1_Click", 102)});
    EXPECT_EQ(f.entries(), (QStringList{"Jr.", "Sr.", "III"}));
    EXPECT_EQ(f.settings.writes.size(), 1);
}

TEST(SuffixEditorDelete, NothingSelectedIsReportedThenSaved)
{
    EditorFixture f;
    f.commands().PushButton3_Click();
    EXPECT_EQ(f.reportNames(), QStringList{reportLine("PushButton3_Click", 104)});
    EXPECT_EQ(f.entries(), (QStringList{"Jr.", "Sr.", "III"}));
    EXPECT_EQ(f.settings.writes.size(), 1);
}

TEST(SuffixEditorDelete, RepeatedDeletesWorkDownTheList)
{
    EditorFixture f({"a", "b", "c", "d"});
    f.list().select(2);
    f.commands().PushButton3_Click();
    f.commands().ListView1_KeyDown(46);
    EXPECT_EQ(f.entries(), (QStringList{"a", "d"}));
    f.commands().ListView1_DblClick();
    f.commands().ListView1_DblClick();
    EXPECT_TRUE(f.entries().isEmpty());
    // An empty list: nothing to remove, no report, still saved.
    f.commands().PushButton3_Click();
    EXPECT_TRUE(f.desktop.errorReports().empty());
    EXPECT_EQ(f.settings.writes.size(), 5);
    EXPECT_EQ(f.settings.values.value("SuffixList"), "");
}

TEST(SuffixEditorClear, AsksFirst)
{
    EditorFixture f;
    f.desktop.messageAnswers = {core::MessageAnswer::No, core::MessageAnswer::Yes};
    f.commands().PushButton5_Click();
    EXPECT_EQ(f.entries().size(), 3);
    f.commands().PushButton5_Click();
    EXPECT_TRUE(f.entries().isEmpty());
    ASSERT_EQ(f.desktop.messages.size(), 2u);
    EXPECT_EQ(f.desktop.messages[0].text, "Are you sure?");
    EXPECT_EQ(f.desktop.messages[0].style, core::MessageStyle::YesNo);
    EXPECT_EQ(f.desktop.messages[0].title, f.window->applicationTitle());
    EXPECT_EQ(f.settings.writes, QStringList{"SuffixList="});

    // The next start finds the empty value and fills in the defaults.
    MainWindowFixture next;
    next.settings.values = f.settings.values;
    EXPECT_EQ(itemsOf(next.window->liveSuffixList().model()), defaults());
}

TEST(SuffixEditorReset, LeavesExactlyTheDefaults)
{
    EditorFixture f({"a", "b", "c", "d", "e"});
    f.commands().PushButton7_Click();
    EXPECT_EQ(f.entries(), defaults());
    EXPECT_EQ(f.settings.values.value("SuffixList"), suffixes::packSuffixList(suffixes::defaultSuffixes()));
}

TEST(SuffixEditorReset, WhileBusyAppendsTheDefaultsAfterTheEntries)
{
    EditorFixture f({"a", "b"});
    f.busy(true);
    f.commands().PushButton7_Click();
    EXPECT_EQ(f.entries(), QStringList({"a", "b"}) + defaults());
    EXPECT_EQ(f.settings.writes, QStringList{"SuffixList=" + f.entries().join(D)});
    EXPECT_TRUE(f.editor->pointerState().isBusy());
}

// A save yields while it writes; the user's clicks then run in between. Removals are
// refused, Reset only appends, and the file gets the list as it was when writing began.
TEST(SuffixEditorReset, DuringASaveTheBusyRulesProtectTheList)
{
    EditorFixture f({"a", "bb"});
    f.list().select(1);
    const QString out = f.folder.filePath("out.txt");
    f.desktop.saveAnswers = {out};
    bool clicked = false;
    f.desktop.onEveryYield = [&] {
        // Once the first entry's line is written.
        if (clicked || f.window->progress().position() <= 20)
            return;
        clicked = true;
        EXPECT_TRUE(f.editor->pointerState().isBusy());
        f.commands().PushButton3_Click();
        f.commands().ListView1_KeyDown(46);
        f.commands().ListView1_DblClick();
        f.commands().PushButton7_Click();
    };
    f.commands().PushButton8_Click();
    ASSERT_TRUE(clicked);
    EXPECT_EQ(f.entries(), QStringList({"a", "bb"}) + defaults());
    EXPECT_EQ(f.settings.writes.size(), 1) << "only Reset saved";
    EXPECT_EQ(readBytes(out), QByteArray("Suffix List\t\r\na          \t\r\nbb         \t\r\n"));
    EXPECT_EQ(f.editor->pointerState().pointer(), Pointer::Default);
}

// ---- Files ----------------------------------------------------------------------------

TEST(SuffixEditorLoad, ThreeFilesAppendInTheDialogsOrder)
{
    EditorFixture f({"Jr."});
    f.file("one.txt", "A1\r\nA2\r\n");
    f.file("two.txt", "B1\nB2");
    f.file("three.txt", "\r\nC1\r\r\n");
    const QChar nul(u'\0');
    f.desktop.openAnswers = {f.folder.path() + nul + "two.txt" + nul + "one.txt" + nul + "three.txt"};
    QSignalSpy pointers(&f.editor->pointerState(), &core::PointerState::changed);
    f.commands().PushButton4_Click();

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
    EXPECT_TRUE(f.window->liveSuffixList().IsSuffix(u"c1"));
}

TEST(SuffixEditorLoad, MissingFileIsNamedAndTheOthersAreRead)
{
    EditorFixture f(QStringList{});
    f.file("one.txt", "A1\r\n");
    const QChar nul(u'\0');
    f.desktop.openAnswers = {f.folder.path() + nul + "gone.txt" + nul + "one.txt"};
    f.commands().PushButton4_Click();
    EXPECT_EQ(f.entries(), QStringList{"A1"});
    EXPECT_EQ(f.desktop.messageTexts(), QStringList{"File not found"});
    EXPECT_EQ(f.editor->pointerState().pointer(), Pointer::Default);
}

TEST(SuffixEditorLoad, UnreadableFileIsReportedAndThePointerComesBack)
{
    EditorFixture f(QStringList{});
    f.desktop.openAnswers = {f.folder.path()}; // a folder chosen as a file
    f.commands().PushButton4_Click();
    EXPECT_EQ(f.reportNames(), QStringList{reportLine("PushButton4_Click", 110)});
    EXPECT_TRUE(f.entries().isEmpty());
    EXPECT_EQ(f.editor->pointerState().pointer(), Pointer::Default);
}

TEST(SuffixEditorLoad, CancelledDialogDoesNothing)
{
    EditorFixture f;
    QSignalSpy pointers(&f.editor->pointerState(), &core::PointerState::changed);
    f.commands().PushButton4_Click();
    EXPECT_EQ(f.entries().size(), 3);
    EXPECT_EQ(pointers.size(), 0);
    EXPECT_TRUE(f.desktop.messages.empty());
}

TEST(SuffixEditorSave, WritesTheListTableWithTheMainWindowsProgress)
{
    EditorFixture f({"Jr.", "S.N.J.M. long one"});
    const QString out = f.folder.filePath("list.txt");
    f.file("list.txt", "old contents");
    f.desktop.saveAnswers = {out};
    QSignalSpy positions(&f.window->progress(), &core::ProgressState::positionSet);
    f.commands().PushButton8_Click();

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
    EXPECT_EQ(f.window->progress().position(), 0.0);
    EXPECT_EQ(f.window->progress().text(), "Progress Bar");
}

TEST(SuffixEditorSave, CancelledWritesNothing)
{
    EditorFixture f;
    QSignalSpy pointers(&f.editor->pointerState(), &core::PointerState::changed);
    f.commands().PushButton8_Click();
    EXPECT_TRUE(f.folder.isValid());
    EXPECT_TRUE(QDir(f.folder.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(pointers.size(), 0);
}

TEST(SuffixEditorSave, NoToReplacingKeepsTheFile)
{
    EditorFixture f({"Jr."});
    const QString out = f.file("list.txt", "old contents");
    f.desktop.saveAnswers = {out};
    f.desktop.overwriteAnswers = {false};
    QSignalSpy pointers(&f.editor->pointerState(), &core::PointerState::changed);
    f.commands().PushButton8_Click();
    EXPECT_EQ(f.desktop.overwriteQuestions, QStringList{out});
    EXPECT_EQ(readBytes(out), QByteArray("old contents"));
    EXPECT_EQ(pointers.size(), 0);
}

TEST(SuffixEditorSave, TheDialogProposesThisWindowsLastName)
{
    EditorFixture f;
    const QString loaded = f.file("in.txt", "X\r\n");
    const QString saved = f.folder.filePath("out.txt");
    f.desktop.openAnswers = {loaded};
    f.desktop.saveAnswers = {saved, QString()};
    f.commands().PushButton4_Click(); // the load clears the name first, then keeps its answer
    f.commands().PushButton8_Click();
    f.commands().PushButton8_Click(); // cancelled: the name stays
    f.desktop.openAnswers = {QString()};
    f.commands().PushButton4_Click(); // cancelled load: the name was cleared
    f.commands().PushButton8_Click();

    ASSERT_EQ(f.desktop.dialogs.size(), 5u);
    EXPECT_EQ(f.desktop.dialogs[0].request.fileName, "");
    EXPECT_EQ(f.desktop.dialogs[1].request.fileName, loaded);
    EXPECT_EQ(f.desktop.dialogs[2].request.fileName, saved);
    EXPECT_EQ(f.desktop.dialogs[3].request.fileName, "");
    EXPECT_EQ(f.desktop.dialogs[4].request.fileName, "");

    // After several files the save dialog proposes the first of them.
    f.desktop.openAnswers = {f.folder.path() + QChar(u'\0') + "in.txt" + QChar(u'\0') + "in.txt"};
    f.commands().PushButton4_Click();
    f.commands().PushButton8_Click();
    EXPECT_EQ(f.desktop.dialogs.back().request.fileName, loaded);
}

// ---- Drops ----------------------------------------------------------------------------

void dropFiles(QWidget *target, const QStringList &paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    urls << QUrl(QStringLiteral("https://example.com/not-a-file.txt"));
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    ASSERT_TRUE(move.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    ASSERT_TRUE(drop.isAccepted());
    MainWindowFixture::processEvents();
}

TEST(SuffixEditorDrop, TwoFilesAppendLikeALoadWithoutSaving)
{
    EditorFixture f({"Jr."});
    const QString one = f.file("one.txt", "A1\r\nA2\r\n");
    const QString two = f.file("two.txt", "B1\n");
    QSignalSpy pointers(&f.editor->pointerState(), &core::PointerState::changed);
    dropFiles(control<lists::NameListView>(*f.editor, "ListView1")->viewport(), {two, one});
    EXPECT_EQ(f.entries(), (QStringList{"Jr.", "B1", "A1", "A2"}));
    EXPECT_TRUE(f.settings.writes.isEmpty());
    ASSERT_EQ(pointers.size(), 2);
    EXPECT_EQ(pointers[0][0].value<Pointer>(), Pointer::Busy);
    EXPECT_EQ(pointers[1][0].value<Pointer>(), Pointer::Default);
}

TEST(SuffixEditorDrop, TwoFilesOnTheMainInputListAppendTheirNames)
{
    EditorFixture f;
    f.fillInput({"Ann Lee"});
    const QString one = f.file("one.txt", "Bob Young\r\n");
    const QString two = f.file("two.txt", "Cy Adams\r\nDee Moss\r\n");
    dropFiles(control<lists::NameListView>(*f.window, "ListView1")->viewport(), {one, two});
    EXPECT_EQ(itemsOf(f.window->inputList()), (QStringList{"Ann Lee", "Bob Young", "Cy Adams", "Dee Moss"}));
    EXPECT_EQ(f.window->pointerState().pointer(), Pointer::Default);
    EXPECT_EQ(f.entries().size(), 3) << "the suffix list is not touched";
}

TEST(SuffixEditorDrop, ResultListTakesNoFiles)
{
    EditorFixture f;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(f.file("one.txt", "X\r\n"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(control<lists::NameListView>(*f.window, "ListView2")->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

// ---- Window ---------------------------------------------------------------------------

TEST(SuffixEditorWindow, ListOpensItAndCloseBoxOrExitHideIt)
{
    for (const bool viaExit : {false, true}) {
        EditorFixture f;
        f.window->show();
        control<QPushButton>(*f.window, "PushButton15")->click();
        EXPECT_TRUE(f.editor->isVisible());
        EXPECT_FALSE(f.window->isVisible());
        EXPECT_EQ(f.editor->parentWidget(), nullptr) << "no owner";
        EXPECT_FALSE(f.editor->isModal());

        if (viaExit)
            control<QPushButton>(*f.editor, "PushButton2")->click();
        else
            EXPECT_FALSE(f.editor->close()) << "the close is refused";
        EXPECT_FALSE(f.editor->isVisible());
        EXPECT_TRUE(f.window->isVisible());
        EXPECT_EQ(f.desktop.endProgramCalls, 0);

        // Reopened: the same list, not read again from the store.
        f.settings.values.insert("SuffixList", "other");
        control<QPushButton>(*f.window, "PushButton15")->click();
        EXPECT_EQ(&f.window->suffixEditor(), f.editor);
        EXPECT_EQ(f.entries(), (QStringList{"Jr.", "Sr.", "III"}));
        EXPECT_TRUE(f.settings.writes.isEmpty());
        EXPECT_TRUE(f.desktop.messages.empty());
    }
}

TEST(SuffixEditorWindow, SortAfterAnEditUsesTheNewListAtOnce)
{
    MainWindowFixture f;
    control<QRadioButton>(*f.window, "Option1")->setChecked(true);
    control<QRadioButton>(*f.window, "Option3")->setChecked(true);
    f.fillInput({"Ann Brown Xyz", "Bob Cole"});
    const auto sorted = [&f] {
        f.window->sortCommand().PushButton17_Click();
        return f.results();
    };
    EXPECT_EQ(sorted(), (QStringList{"Bob Cole", "Ann Brown Xyz"})); // Cole < Xyz
    suffixes::SuffixEditor &editor = f.window->suffixEditor();
    EXPECT_FALSE(editor.isVisible()) << "created hidden by the sort";

    f.desktop.inputAnswers = {"XYZ"};
    editor.commands().PushButton6_Click();
    EXPECT_EQ(sorted(), (QStringList{"Ann Brown Xyz", "Bob Cole"})); // Brown < Cole

    f.desktop.inputAnswers = {"Xy"};
    editor.commands().PushButton1_Click(); // the added entry is the selected one
    EXPECT_EQ(sorted(), (QStringList{"Bob Cole", "Ann Brown Xyz"}));

    f.desktop.messageAnswers = {core::MessageAnswer::Yes};
    editor.commands().PushButton7_Click();
    f.desktop.inputAnswers = {"xyz"};
    editor.commands().PushButton6_Click();
    editor.commands().ListView1_KeyDown(46);
    EXPECT_EQ(sorted(), (QStringList{"Bob Cole", "Ann Brown Xyz"}));
    EXPECT_TRUE(f.desktop.errorReports().empty());
}

TEST(SuffixEditorWindow, ListColumnLabelsAndLink)
{
    EditorFixture f;
    suffixes::SuffixEditor &e = *f.editor;
    EXPECT_EQ(e.windowTitle(), "Suffix List");
    const auto *list = control<lists::NameListView>(e, "ListView1");
    EXPECT_EQ(list->toolTip(), "Drag and drop files here. Double-click item to remove it. Move | line to right "
                               "and out of window to reveal full names.");
    EXPECT_FALSE(list->isHeaderHidden());
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), "Suffix List");
    EXPECT_EQ(list->header()->sectionSize(0), core::twips(7300));

    const auto *label3 = control<QLabel>(e, "Label3");
    EXPECT_EQ(label3->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(label3->autoFillBackground());

    auto *link = control<QLabel>(e, "Label4");
    EXPECT_GE(link->width(), link->sizeHint().width()) << "the whole address shows";
    EXPECT_EQ(link->text(), "https://velmora.example/orvella/suffixes");
    EXPECT_TRUE(link->font().underline());
    EXPECT_TRUE(link->font().bold());
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(e.childAt(link->geometry().center()), link) << "the link lies above Label3";
    // Window colour set-up: the window takes the button face colour.
    EXPECT_EQ(e.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Active, QPalette::Button));
}

TEST(SuffixEditorWindow, LinkClickOpensTheSourcePage)
{
    EditorFixture f;
    f.editor->show();
    QTest::mouseClick(control<QLabel>(*f.editor, "Label4"), Qt::LeftButton);
    QTest::mouseClick(control<QLabel>(*f.editor, "Label4"), Qt::RightButton);
    EXPECT_EQ(f.desktop.openedUrls, QStringList{QString::fromLatin1(core::kSuffixSourcePage)});
}

TEST(SuffixEditorWindow, KeysAndDoubleClickOnTheList)
{
    EditorFixture f({"a", "b", "c"});
    f.editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.editor));
    f.list().select(2);
    QTest::keyClick(control<lists::NameListView>(*f.editor, "ListView1"), Qt::Key_A);
    QTest::keyClick(control<lists::NameListView>(*f.editor, "ListView1"), Qt::Key_Return);
    EXPECT_EQ(f.entries(), (QStringList{"a", "b", "c"}));
    EXPECT_TRUE(f.settings.writes.isEmpty());
    f.list().select(2);
    QTest::keyClick(control<lists::NameListView>(*f.editor, "ListView1"), Qt::Key_Delete);
    EXPECT_EQ(f.entries(), (QStringList{"a", "c"}));
    const QRect first = control<lists::NameListView>(*f.editor, "ListView1")->visualRect(f.list().index(0));
    QTest::mouseDClick(
        f.editor->windowHandle(), Qt::LeftButton, Qt::NoModifier,
        control<lists::NameListView>(*f.editor, "ListView1")->viewport()->mapTo(f.editor, first.center()));
    EXPECT_EQ(f.entries(), QStringList{"c"});
    EXPECT_EQ(f.settings.writes.size(), 2);
}

struct HoverEditor : EditorFixture {
    HoverEditor()
    {
        editor->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(editor));
    }
    void moveOver(QWidget *control, QPoint at = QPoint(-1, -1))
    {
        if (at == QPoint(-1, -1))
            at = control->rect().center();
        QTest::mouseMove(editor->windowHandle(), control->mapTo(editor, at));
        processEvents();
    }
    Pointer pointer() const { return editor->pointerState().pointer(); }
};

TEST(SuffixEditorWindow, HandOverButtonsAndLinkArrowOverListAndBackground)
{
    HoverEditor f;
    suffixes::SuffixEditor &e = *f.editor;
    const QPoint background = core::twipsRect(7950, 5100, 60, 60).center();
    ASSERT_EQ(e.childAt(background), nullptr);
    for (const char *name : {"PushButton6", "PushButton1", "PushButton3", "PushButton5", "PushButton4", "PushButton8",
                             "PushButton7", "PushButton2", "Label4"}) {
        f.moveOver(control<lists::NameListView>(e, "ListView1"));
        ASSERT_EQ(f.pointer(), Pointer::Default);
        f.moveOver(control<QWidget>(e, name));
        EXPECT_EQ(f.pointer(), Pointer::Custom) << name;
    }
    f.moveOver(&e, background);
    EXPECT_EQ(f.pointer(), Pointer::Default);

    f.busy(true);
    f.moveOver(control<QPushButton>(e, "PushButton2"));
    EXPECT_EQ(f.pointer(), Pointer::Busy);
    f.moveOver(control<lists::NameListView>(e, "ListView1"));
    EXPECT_EQ(f.pointer(), Pointer::Busy);
}

} // namespace

namespace {

TEST(SuffixEditorWindow, TheWhiteLabelLeavesThePointerAsItIs)
{
    HoverEditor f;
    suffixes::SuffixEditor &e = *f.editor;
    QLabel *label3 = control<QLabel>(e, "Label3");
    const QPoint onLabel3(10, label3->height() / 2); // left of the link lying on it
    ASSERT_EQ(e.childAt(label3->mapTo(&e, onLabel3)), label3);
    for (QWidget *before : std::initializer_list<QWidget *>{control<QWidget>(e, "PushButton6"), control<QWidget>(e, "ListView1"), control<QWidget>(e, "Label4")}) {
        f.moveOver(before);
        const Pointer was = f.pointer();
        f.moveOver(label3, onLabel3);
        EXPECT_EQ(f.pointer(), was) << before->metaObject()->className();
    }
}

} // namespace

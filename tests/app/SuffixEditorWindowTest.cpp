// The suffix list editor's window: its creation, drops, controls and pointer.

#include "core/AppInfo.h"
#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "ui/Mnemonics.h"
#include "core/PointerState.h"
#include "core/ProgressState.h"
#include "ui/RememberedSize.h"
#include "ui/Twips.h"
#include "lists/NameListModel.h"
#include "ui/NameListView.h"
#include "commands/SortCommand.h"
#include "app/SuffixEditor.h"
#include "app/SuffixEditorLayout.h"
#include "suffixes/SuffixStore.h"
#include "ui/support/Controls.h"
#include "ui/support/LayoutChecks.h"
#include "commands/EditorFixtures.h"
#include "app/support/WindowFixtures.h"
#include "support/Files.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

using namespace orvella;
using namespace orvella::testing;
using core::Pointer;

namespace orvella::testing {

// The real main window with its suffix list editor.
struct EditorFixture : EditorParts<MainWindowFixture> {
    app::SuffixEditor *editor = nullptr;

    explicit EditorFixture(const QStringList &entries = {"Jr.", "Sr.", "III"})
    {
        editor = &window->suffixEditor();
        setEntries(entries);
    }
    commands::SuffixEditorCommands &commands() { return editor->commands(); }
    lists::NameListModel &list() override { return editor->liveList().model(); }
    void busy(bool on) { editor->pointerState().set(on ? core::Pointer::Busy : core::Pointer::Default); }
};

} // namespace orvella::testing

namespace {

TEST(SuffixEditor, CreationFillsTheDefaultsWithoutWriting)
{
    MainWindowFixture f;
    EXPECT_FALSE(f.session->suffixListLoaded());
    app::SuffixEditor &editor = f.window->suffixEditor();
    EXPECT_EQ(itemsOf(editor.liveList().model()), defaultSuffixList());
    EXPECT_TRUE(f.settings.writes.isEmpty());
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(f.desktop.messages.empty());
    EXPECT_EQ(&f.session->suffixList(), &editor.liveList());
}

TEST(SuffixEditor, CreationTakesTheStoredList)
{
    MainWindowFixture f;
    f.settings.values.insert("SuffixList", "Jr." + kTwine + "Esq");
    EXPECT_EQ(itemsOf(f.session->suffixList().model()), (QStringList{"Jr.", "Esq"}));
}

TEST(SuffixEditor, FailingCreationStepIsReportedAndTheWindowStillOpens)
{
    ScriptedDesktop desktop;
    MemorySettings settings;
    settings.unreadableKey = "SuffixList";
    session::Session session(desktop, settings);
    app::MainWindow window(session);
    window.PushButton15_Click();
    ASSERT_TRUE(session.suffixListLoaded());
    EXPECT_TRUE(window.suffixEditor().isVisible());
    ASSERT_EQ(desktop.errorReports().size(), 1u);
    EXPECT_TRUE(desktop.errorReports()[0].text.startsWith("The settings file could not be read\r\n" +
                                                          editorReportLine("Form_Load", 114) + "\r\r"))
        << desktop.errorReports()[0].text.toStdString();
    EXPECT_TRUE(session.suffixList().model().isEmpty());
    EXPECT_FALSE(session.suffixList().IsSuffix(u"Jr."));
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
    dropFiles(control<ui::NameListView>(*f.editor, "ListView1")->viewport(), {two, one});
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
    dropFiles(control<ui::NameListView>(*f.window, "ListView1")->viewport(), {one, two});
    EXPECT_EQ(itemsOf(f.session->inputList()), (QStringList{"Ann Lee", "Bob Young", "Cy Adams", "Dee Moss"}));
    EXPECT_EQ(f.session->pointer().pointer(), Pointer::Default);
    EXPECT_EQ(f.entries().size(), 3) << "the suffix list is not touched";
}

TEST(SuffixEditorDrop, ResultListTakesNoFiles)
{
    EditorFixture f;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(f.file("one.txt", "X\r\n"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(control<ui::NameListView>(*f.window, "ListView2")->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

// ---- Window ---------------------------------------------------------------------------

TEST(SuffixEditorWindow, ListOpensItAndCloseBoxExitOrEscapeHideIt)
{
    enum class Way { CloseBox, Exit, ReturnOnExit, Escape };
    for (const Way way : {Way::CloseBox, Way::Exit, Way::ReturnOnExit, Way::Escape}) {
        SCOPED_TRACE(int(way));
        EditorFixture f;
        f.window->show();
        control<QPushButton>(*f.window, "PushButton15")->click();
        EXPECT_TRUE(f.editor->isVisible());
        EXPECT_FALSE(f.window->isVisible());
        EXPECT_EQ(f.editor->parentWidget(), nullptr) << "no owner";
        EXPECT_FALSE(f.editor->isModal());

        auto *list = control<ui::NameListView>(*f.editor, "ListView1");
        switch (way) {
        case Way::CloseBox:
            EXPECT_FALSE(f.editor->close()) << "the close is refused";
            break;
        case Way::Exit:
            control<QPushButton>(*f.editor, "PushButton2")->click();
            break;
        case Way::ReturnOnExit:
            QTest::keyClick(control<QPushButton>(*f.editor, "PushButton2"), Qt::Key_Return);
            break;
        case Way::Escape: // wherever the focus is
            ASSERT_TRUE(QTest::qWaitForWindowActive(f.editor));
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Escape);
            break;
        }
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

// At its designed size no control covers another's caption or text (the address lies
// beside the label's text) and every caption shows whole; made larger, the list takes
// the extra height and the buttons below it move down by it, all within the window.
TEST(SuffixEditorWindow, ControlsLieApartAndTheListTakesTheExtraHeight)
{
    EditorFixture f;
    app::SuffixEditor &e = *f.editor;
    e.show();
    const QSize designed = app::SuffixEditor::designedSize();
    ASSERT_EQ(e.size(), designed);
    EXPECT_EQ(overlappingControls(&e), QStringList{});
    EXPECT_EQ(captionsCutOff(&e), QStringList{});
    const QList<QWidget *> controls = laidOutControls(&e);
    ASSERT_GE(controls.size(), 10);
    QList<QRect> designedPlaces;
    for (const QWidget *widget : controls)
        designedPlaces << widget->geometry();

    e.resize(designed + QSize(200, 150));
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QWidget *widget = controls[i];
        SCOPED_TRACE(widget->objectName().toStdString());
        const bool isList = qobject_cast<const ui::NameListView *>(widget);
        EXPECT_EQ(widget->height(), designedPlaces[i].height() + (isList ? 150 : 0));
        if (qobject_cast<const QPushButton *>(widget))
            EXPECT_EQ(widget->y(), designedPlaces[i].y() + 150);
    }
    EXPECT_EQ(controlsOutside(&e), QStringList{});
    EXPECT_EQ(overlappingControls(&e), QStringList{});
    e.close(); // hiding writes the size the user gave it
    EXPECT_EQ(f.settings.writes, QStringList{"SuffixListWindowSize=" + ui::sizeText(designed + QSize(200, 150))});
}

// Tab goes through the list and every button, each once.
TEST(SuffixEditorWindow, TabTakesEveryControlOnce)
{
    EditorFixture f;
    f.editor->show();
    f.editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.editor));
    const QList<QWidget *> walk = tabWalk(f.editor);
    const QList<QWidget *> stops = tabStops(f.editor);
    EXPECT_EQ(QSet<QWidget *>(walk.begin(), walk.end()), QSet<QWidget *>(stops.begin(), stops.end()));
    EXPECT_EQ(walk.size(), stops.size());
    EXPECT_GE(walk.size(), 9);
}

TEST(SuffixEditorWindow, SortAfterAnEditUsesTheNewListAtOnce)
{
    MainWindowFixture f;
    control<QRadioButton>(*f.window, "Option1")->setChecked(true);
    control<QRadioButton>(*f.window, "Option3")->setChecked(true);
    f.fillInput({"Ann Brown Xyz", "Bob Cole"});
    const auto sorted = [&f] {
        f.session->sortCommand().run();
        return f.results();
    };
    EXPECT_EQ(sorted(), (QStringList{"Bob Cole", "Ann Brown Xyz"})); // Cole < Xyz
    app::SuffixEditor &editor = f.window->suffixEditor();
    EXPECT_FALSE(editor.isVisible()) << "created hidden by the sort";

    f.desktop.inputAnswers = {"XYZ"};
    editor.commands().addEntry();
    EXPECT_EQ(sorted(), (QStringList{"Ann Brown Xyz", "Bob Cole"})); // Brown < Cole

    f.desktop.inputAnswers = {"Xy"};
    editor.commands().editSelected(); // the added entry is the selected one
    EXPECT_EQ(sorted(), (QStringList{"Bob Cole", "Ann Brown Xyz"}));

    f.desktop.messageAnswers = {core::MessageAnswer::Yes};
    editor.commands().resetToDefaults();
    f.desktop.inputAnswers = {"xyz"};
    editor.commands().addEntry();
    editor.commands().removeSelected(commands::RemoveGesture::DeleteKey);
    EXPECT_EQ(sorted(), (QStringList{"Bob Cole", "Ann Brown Xyz"}));
    EXPECT_TRUE(f.desktop.errorReports().empty());
}

TEST(SuffixEditorWindow, ListColumnLabelsAndLink)
{
    EditorFixture f;
    app::SuffixEditor &e = *f.editor;
    EXPECT_EQ(e.windowTitle(), "Suffix List");
    auto *list = control<ui::NameListView>(e, "ListView1");
    // Resting the mouse on the list tells, among what else can be done there, that
    // files can be dropped on it (see the drops above).
    e.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e));
    EXPECT_TRUE(hoverTip(list).contains("drop", Qt::CaseInsensitive)) << hoverTip(list).toStdString();
    EXPECT_FALSE(list->isHeaderHidden());
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), "Suffix List");
    EXPECT_EQ(list->header()->sectionSize(0), ui::twips(7300));

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
    QTest::keyClick(control<ui::NameListView>(*f.editor, "ListView1"), Qt::Key_A);
    QTest::keyClick(control<ui::NameListView>(*f.editor, "ListView1"), Qt::Key_Return);
    EXPECT_EQ(f.entries(), (QStringList{"a", "b", "c"}));
    EXPECT_TRUE(f.settings.writes.isEmpty());
    f.list().select(2);
    QTest::keyClick(control<ui::NameListView>(*f.editor, "ListView1"), Qt::Key_Delete);
    EXPECT_EQ(f.entries(), (QStringList{"a", "c"}));
    const QRect first = control<ui::NameListView>(*f.editor, "ListView1")->visualRect(f.list().index(0));
    QTest::mouseDClick(
        f.editor->windowHandle(), Qt::LeftButton, Qt::NoModifier,
        control<ui::NameListView>(*f.editor, "ListView1")->viewport()->mapTo(f.editor, first.center()));
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
    app::SuffixEditor &e = *f.editor;
    const QPoint background = ui::twipsRect(7950, 5100, 60, 60).center();
    ASSERT_EQ(e.childAt(background), nullptr);
    for (const char *name : {"PushButton6", "PushButton1", "PushButton3", "PushButton5", "PushButton4", "PushButton8",
                             "PushButton7", "PushButton2", "Label4"}) {
        f.moveOver(control<ui::NameListView>(e, "ListView1"));
        ASSERT_EQ(f.pointer(), Pointer::Default);
        f.moveOver(control<QWidget>(e, name));
        EXPECT_EQ(f.pointer(), Pointer::Custom) << name;
    }
    f.moveOver(&e, background);
    EXPECT_EQ(f.pointer(), Pointer::Default);

    f.busy(true);
    f.moveOver(control<QPushButton>(e, "PushButton2"));
    EXPECT_EQ(f.pointer(), Pointer::Busy);
    f.moveOver(control<ui::NameListView>(e, "ListView1"));
    EXPECT_EQ(f.pointer(), Pointer::Busy);
}

} // namespace

namespace {

TEST(SuffixEditorWindow, TheWhiteLabelLeavesThePointerAsItIs)
{
    HoverEditor f;
    app::SuffixEditor &e = *f.editor;
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


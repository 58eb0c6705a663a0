#pragma once

#include "core/PointerState.h"
#include "commands/SuffixEditorCommands.h"
#include "lists/SuffixList.h"

#include <QCursor>
#include <QWidget>

class QLabel;
class QPushButton;

namespace orvella::session {
class Session;
} // namespace orvella::session
namespace orvella::ui {
class NameListView;
class RememberedSize;
} // namespace orvella::ui

namespace orvella::app {

// The suffix list editor ("Form2"), captioned "Suffix List": a secondary window without
// owner that shows and edits the session's live suffix list. It is created when first
// shown and never destroyed while the program runs; a close request hides it and
// brings the main window back. The window lays out its controls and forwards their
// events to the session's SuffixEditorCommands.
class SuffixEditor : public QWidget {
    Q_OBJECT
public:
    // mainWindow is shown again when this window closes; it is not this window's owner.
    SuffixEditor(session::Session &session, QWidget *mainWindow);
    ~SuffixEditor() override;

    // Creation steps: colours, icon, hand pointer, list column, Label3's background,
    // the stored list (or the defaults) and the window's size for the screen. The pointer file is looked up in the folder.
    void Form_Load(const QString &folder);

    lists::SuffixList &liveList() { return m_list; }
    commands::SuffixEditorCommands &commands() { return m_commands; }
    core::PointerState &pointerState() { return m_pointer; }
    const QCursor &customPointer() const { return m_customPointer; }

    // The designed size in pixels; the size the user gave the window is written when
    // it hides, or by saveWindowSize.
    static QSize designedSize();
    void saveWindowSize();

    // "Exit": asks the window to close, which hides it.
    void PushButton2_Click();

private:
    // The controls the window's code works with, found by their names once built from
    // the layout table (tests find them by name too).
    ui::NameListView *ListView1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;        // the address of the default list's source page
    QPushButton *PushButton6 = nullptr; // Add One
    QPushButton *PushButton1 = nullptr; // Edit Selected
    QPushButton *PushButton3 = nullptr; // Delete Selected
    QPushButton *PushButton5 = nullptr; // Clear List
    QPushButton *PushButton4 = nullptr; // Load List From File
    QPushButton *PushButton8 = nullptr; // Save List To Text File
    QPushButton *PushButton7 = nullptr; // Reset To Default List
    QPushButton *PushButton2 = nullptr; // Exit

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void wireCommands();
    // Close request: refused, the window hides and the main window shows again.
    void Form_QueryUnload(QCloseEvent *event);

    session::Session &m_session;
    QWidget *m_mainWindow;
    lists::SuffixList &m_list;
    core::PointerState &m_pointer;
    commands::SuffixEditorCommands &m_commands;
    QCursor m_customPointer{Qt::PointingHandCursor};
    ui::RememberedSize *m_size = nullptr;
};

} // namespace orvella::app

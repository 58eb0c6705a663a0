#pragma once

#include "app/ListHistory.h"
#include "app/MainMenus.h"
#include "core/Paths.h"
#include "session/Session.h"

#include <QCursor>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace orvella::core {
class Desktop;
class SettingsStore;
} // namespace orvella::core
namespace orvella::ui {
class HoverPointer;
class NameListView;
class RememberedSize;
} // namespace orvella::ui
namespace orvella::app {
class SuffixEditor;
} // namespace orvella::app

namespace orvella::app {

// The main window ("Form1"): lays out the controls and forwards their events to the
// command classes of each subsystem.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(session::Session &session, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up: look, caption, title, pointer image, list columns, restored choices,
    // and the window's size for the screen (remembered, or the designed size when it fits).
    // The skin and the pointer file are looked up in the given folder (the suffix list
    // editor's pointer file too).
    void Form_Load(const QString &folder = core::programFolder());

    // The suffix list editor, created with its start-up when first asked for.
    app::SuffixEditor &suffixEditor();
    // "List": shows the suffix list editor and hides this window.
    void PushButton15_Click();

    // The client area's designed size in pixels.
    static QSize designedClientSize();
    // Writes the sizes the user gave this window and the suffix list editor.
    void saveWindowSizes();

    // The menu bar above the client area, the status line below it.
    const MainMenus &menus() const { return m_menus; }
    ListHistory &history() { return m_history; }
    QString statusLine() const;
    // "How Names Are Read…", "Edit Particle List…" and "Edit Title List…": open (or
    // raise) their windows.
    QWidget *mnuHowNamesAreRead_Click();
    QWidget *mnuEditParticles_Click();
    QWidget *mnuEditTitles_Click();
    QWidget *mnuEditFiledAs_Click();
    QWidget *mnuEditDesignations_Click();
    // "Find Likely Duplicates…": opens (or raises) its window and looks through the list.
    QWidget *mnuFindDuplicates_Click();
    QWidget *mnuEditNicknames_Click();
    // "Orvella Help" (F1): opens (or raises) the user guide.
    QWidget *mnuHelpContents_Click();
    // "Why Here?" (Shift+F1): says in a message what the selected result was sorted
    // under, or that no result is selected.
    void mnuWhyHere_Click();
    // "File This Name As…" (the input and result lists' context menus): asks for the
    // words to file the name under, proposing what it is filed under now, and puts the
    // answer in the Filed-As list. False when nothing was set.
    bool fileNameAs(const QString &name);

private:
    // The controls the window's code works with, found by their names once built from
    // the layout table (tests find them by name too).
    ui::NameListView *ListView1 = nullptr;
    ui::NameListView *ListView2 = nullptr;
    QPushButton *PushButton1 = nullptr;  // Clear List
    QPushButton *PushButton2 = nullptr;  // Clear Results
    QPushButton *PushButton3 = nullptr;  // Load List Of Names From File
    QPushButton *PushButton4 = nullptr;  // Save Results As Text File
    QPushButton *PushButton5 = nullptr;  // Copy Results To Clipboard
    QPushButton *PushButton6 = nullptr;  // Add One Name
    QPushButton *PushButton7 = nullptr;  // Load Sample/Example Names
    QPushButton *PushButton8 = nullptr;  // Help
    QPushButton *PushButton9 = nullptr;  // Save List Of Names To File
    QPushButton *PushButton13 = nullptr; // Save Results As Excel File
    QPushButton *PushButton15 = nullptr; // List (suffix editor)
    QPushButton *PushButton17 = nullptr; // Start Sorting
    QProgressBar *ProgressBar1 = nullptr;
    QGroupBox *Frame1 = nullptr; // Filter Options
    QGroupBox *Frame2 = nullptr; // Sort Option
    QGroupBox *Frame3 = nullptr; // Last/First Additional Option
    QCheckBox *Check5 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option3 = nullptr;
    QRadioButton *Option4 = nullptr;

public:
    // "Help": names the support page.
    void PushButton8_Click();
    // Text1 has lost the focus: a text that is not a number is refused with a message
    // and the focus goes back.
    void Text1_LostFocus();

    // The custom (hand) pointer of this window.
    const QCursor &customPointer() const { return m_customPointer; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The menu bar above the client area and the status line below it.
    void buildFrame();
    // The controls of the layout table on the client area, with their stretch rule,
    // access keys, focus ring and remembered size.
    void buildControls();
    void findControls();
    // The controls' looks and states as designed, and what a screen reader hears.
    void setUpControls();
    void wireCommands();
    void showProgress();
    // Help, the option and filter controls, the number field's check, the hover rule.
    void wireShellControls();
    // Puts the option states on the controls (their own signals stay quiet).
    void showOptionStates();
    // A control's rule could not write the store: the user hears of it once per event.
    void reportWriteFailures(const char *procedure);
    void wireMenus();
    // The reading choices' menu items: each change is written at once.
    void wireReadingMenus();
    void wireFilingMenus();
    void wireStatusLine();
    // Puts the reading choices on the menus (their own signals stay quiet).
    void showReadingChoices();
    void showStatusSoon();
    // Names the Undo and Redo items after the steps they would take.
    void showHistory();
    // The result list's accessible description: what its current row was sorted under.
    void describeCurrentResult();

    session::Session &m_session;
    // The parts of the session the window's code works with most.
    core::Desktop &m_desktop;
    core::SettingsStore &m_settings;
    lists::NameListModel &m_input;
    lists::NameListModel &m_results;
    core::ProgressState &m_progress;
    core::PointerState &m_pointer;
    commands::CommandContext &m_context;
    session::OptionSettings &m_options;
    ListHistory m_history{{&m_input, &m_results}};
    QCursor m_customPointer{Qt::PointingHandCursor};
    QString m_folder = core::programFolder(); // where the skin and the pointer file are looked up
    ui::HoverPointer *m_hover = nullptr;
    QButtonGroup *m_readingGroup = nullptr;  // Option1, Option2
    QButtonGroup *m_lastWordGroup = nullptr; // Option3, Option4
    bool m_text1CheckQueued = false;
    bool m_text1Checking = false;
    std::unique_ptr<app::SuffixEditor> m_suffixEditor;
    QWidget *m_client = nullptr; // the designed area the control table measures from
    ui::RememberedSize *m_size = nullptr;
    MainMenus m_menus;
    QLabel *m_status = nullptr;
    bool m_closeWhenWritten = false; // closed during a write: ends once it is done
    QString m_lastDone;
    QTimer m_statusTimer;
    QPointer<QWidget> m_howNames;
    QPointer<QWidget> m_particles;
    QPointer<QWidget> m_titles;
    QPointer<QWidget> m_filedAs;
    QPointer<QWidget> m_designations;
    QPointer<QWidget> m_duplicates;
    QPointer<QWidget> m_nicknames;
    QPointer<QWidget> m_help;
    QString m_resultsDescription; // while no current result has an explanation
};

} // namespace orvella::app

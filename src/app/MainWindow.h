#pragma once

#include "app/MainContext.h"
#include "app/PointerState.h"
#include "app/ProgressState.h"
#include "lists/NameListModel.h"
#include "sorting/SortControls.h"

#include <QCursor>
#include <QWidget>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace orvella::lists {
class NameListView;
}
namespace orvella::sorting {
class SortCommand;
}
namespace orvella::suffixes {
class SuffixList;
}

namespace orvella::app {

class Desktop;
class SettingsStore;

// The main window ("Form1"): lays out the controls and forwards their events to the
// command classes of each subsystem.
class MainWindow : public QWidget, private sorting::SortControls {
    Q_OBJECT
public:
    MainWindow(Desktop &desktop, SettingsStore &settings, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up: look, caption, title, pointer image, list columns, restored choices.
    void Form_Load();

    MainContext &context() { return m_context; }
    lists::NameListModel &inputList() { return m_input; }
    lists::NameListModel &resultList() { return m_results; }
    ProgressState &progress() { return m_progress; }
    PointerState &pointerState() { return m_pointer; }
    const QString &applicationTitle() const { return m_context.title; }
    const sorting::SortControls &sortControls() const { return *this; }
    sorting::SortCommand &sortCommand() { return *m_sort; }

    // The live suffix list; created (and loaded from the settings) on first need.
    suffixes::SuffixList &liveSuffixList();
    bool hasLiveSuffixList() const { return m_suffixList != nullptr; }

    // Controls by their design names, for the command wiring and for tests.
    lists::NameListView *ListView1 = nullptr;
    lists::NameListView *ListView2 = nullptr;
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

    // The custom (hand) pointer of this window.
    const QCursor &customPointer() const { return m_customPointer; }
    void setCustomPointer(const QCursor &cursor) { m_customPointer = cursor; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void wireCommands();
    void showProgress();

    // SortControls
    sorting::SortOptions options() const override;
    bool removeDuplicates() const override;
    bool keepUnique() const override;
    bool keepLimited() const override;
    QString limitText() const override;

    Desktop &m_desktop;
    SettingsStore &m_settings;
    lists::NameListModel m_input;
    lists::NameListModel m_results;
    ProgressState m_progress;
    PointerState m_pointer;
    MainContext m_context;
    QCursor m_customPointer{Qt::PointingHandCursor};
    std::unique_ptr<sorting::SortCommand> m_sort;
    std::unique_ptr<suffixes::SuffixList> m_suffixList;
};

} // namespace orvella::app

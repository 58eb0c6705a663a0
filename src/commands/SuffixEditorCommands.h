#pragma once

#include <QString>
#include <QStringList>

namespace orvella::core {
class PointerState;
class Procedure;
} // namespace orvella::core
namespace orvella::lists {
class SuffixList;
} // namespace orvella::lists

namespace orvella::commands {

struct MainContext;

// The commands of the suffix list editor ("Form2"). They work on the live suffix list,
// the editor's own pointer (its busy state) and the editor's file dialog name; the main
// window's context lends them the desktop, the settings store, the progress bar and the
// application title. No widgets: the window only forwards its events here.
//
// The stored list is written exactly by the removals, "Add One", "Edit Selected" (on a
// list with entries), "Clear List" when confirmed and "Reset To Default List". Loading
// from files and saving to a file leave the stored value alone.
class SuffixEditorCommands {
public:
    SuffixEditorCommands(MainContext &main, lists::SuffixList &list, core::PointerState &pointer);

    void PushButton6_Click(); // "Add One"
    void PushButton1_Click(); // "Edit Selected"
    void PushButton3_Click(); // "Delete Selected"
    void PushButton5_Click(); // "Clear List"
    void PushButton7_Click(); // "Reset To Default List"
    void PushButton4_Click(); // "Load List From File"
    void PushButton8_Click(); // "Save List To Text File"

    void ListView1_DblClick();
    void ListView1_KeyDown(int keyCode);
    // Files dropped on the list: their entries are appended as "Load List From File" does.
    void ListView1_OLEDragDrop(const QStringList &paths);

    // Opens the link label's address in the user's web browser.
    void Label4_Click(const QString &caption);

    // The editor's file dialog name: cleared by each load, kept for the next save.
    const QString &dialogFileName() const { return m_dialogFileName; }

private:
    // Removes the selected entry and selects its neighbour; throws when none is selected.
    void removeSelectedEntry();
    void saveList();
    // The removal of the double-click and the Delete key: skipped while busy.
    void removeByListEvent(const char *handler);
    // Busy pointer, each file appended in order, normal pointer: three steps from firstStep.
    void readFiles(core::Procedure &p, int firstStep, const QStringList &paths);

    MainContext &m_main;
    lists::SuffixList &m_list;
    core::PointerState &m_pointer;
    QString m_dialogFileName;
};

} // namespace orvella::commands

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

struct CommandContext;

// How the user asked to remove the selected entry; the error report names the list's
// handler of that gesture.
enum class RemoveGesture { DoubleClick, DeleteKey };

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
    SuffixEditorCommands(CommandContext &main, lists::SuffixList &list, core::PointerState &pointer);

    void addEntry();        // "Add One"
    void editSelected();    // "Edit Selected"
    void deleteSelected();  // "Delete Selected"
    void clearEntries();    // "Clear List"
    void resetToDefaults(); // "Reset To Default List"
    void loadFromFiles();   // "Load List From File"
    void saveToFile();      // "Save List To Text File"

    // Removes the selected entry: a double-click on it or the Delete key in the list.
    void removeSelected(RemoveGesture gesture);
    // Files dropped on the list: their entries are appended as "Load List From File" does.
    void appendFiles(const QStringList &paths);

    // Opens the link label's address in the user's web browser.
    void openLink(const QString &caption);

    // The editor's file dialog name: cleared by each load, kept for the next save.
    const QString &dialogFileName() const { return m_dialogFileName; }

private:
    // Removes the selected entry and selects its neighbour; throws when none is selected.
    void removeSelectedEntry();
    void saveList();
    // Busy pointer, each file appended in order, normal pointer: three steps from firstStep.
    void readFiles(core::Procedure &p, int firstStep, const QStringList &paths);

    CommandContext &m_main;
    lists::SuffixList &m_list;
    core::PointerState &m_pointer;
    QString m_dialogFileName;
};

} // namespace orvella::commands

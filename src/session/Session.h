#pragma once

#include "core/PointerState.h"
#include "core/ProgressState.h"
#include "commands/CommandContext.h"
#include "lists/NameListModel.h"
#include "session/OptionSettings.h"
#include "lists/SuffixList.h"

#include <QStringList>
#include <QStringView>
#include <functional>
#include <memory>

namespace orvella::core {
class Desktop;
class Procedure;
class SettingsStore;
} // namespace orvella::core
namespace orvella::commands {
class ExportCommands;
class PaperCommand;
class GroupCommand;
class ResultExportCommand;
class ListCommands;
class ListFileCommands;
class SortCommand;
class SuffixEditorCommands;
} // namespace orvella::commands

namespace orvella::session {

// One run of the program without its windows, made from the desktop seam and the
// settings store: both lists, the progress and pointer state, the option and reading
// settings (with the particle list), the live suffix list and every command. The
// windows lay out controls over it and forward their events to its commands; the
// tests build the same Session the program builds.
class Session {
public:
    Session(core::Desktop &desktop, core::SettingsStore &settings);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    core::Desktop &desktop() { return m_desktop; }
    core::SettingsStore &settings() { return m_settings; }
    commands::CommandContext &context() { return m_context; }
    lists::NameListModel &inputList() { return m_input; }
    lists::NameListModel &resultList() { return m_results; }
    core::ProgressState &progress() { return m_progress; }
    core::PointerState &pointer() { return m_pointer; }
    OptionSettings &options() { return m_options; }
    ReadingSettings &reading() { return m_options.reading(); }

    // The live suffix list the sort reads. It is loaded from the store on first need,
    // by the suffix list editor's start-up step (its report names "Form2.Form_Load"),
    // whether a sort or the editor's window asks first.
    lists::SuffixList &suffixList();
    bool suffixListLoaded() const { return m_suffixListLoaded; }
    bool isSuffix(QStringView word) { return suffixList().IsSuffix(word); }
    // The same list as it stands, loaded or not (for the editor's view, which shows it
    // as it fills).
    lists::SuffixList &heldSuffixList() { return m_suffixList; }
    // The suffix list editor's own pointer (its busy state) and commands.
    core::PointerState &suffixEditorPointer() { return m_suffixEditorPointer; }
    commands::SuffixEditorCommands &suffixEditorCommands() { return *m_suffixCommands; }

    commands::SortCommand &sortCommand() { return *m_sort; }
    commands::ListCommands &listCommands() { return *m_lists; }
    commands::ListFileCommands &listFileCommands() { return *m_listFiles; }
    commands::ExportCommands &exportCommands() { return *m_exports; }
    commands::ResultExportCommand &resultExport() { return *m_resultExport; }
    commands::PaperCommand &print() { return *m_print; }
    commands::GroupCommand &groupCommand() { return *m_group; }

    // Start-up, for the window and "orvella --sort" alike: the option and filter
    // controls' states, then the Order and Reading menus' choices with the particle and
    // title lists, from the store. A part that cannot be restored is reported as a step
    // of the main window's start-up ("Form1.Form_Load at line N") and the rest is
    // restored all the same. The window's own steps 152 and 154 (the result list's
    // header) come between the two, in the same start-up: afterOptions runs them.
    void restore(const std::function<void(core::Procedure &)> &afterOptions = {});

    // Files named on the command line, appended to the input list in the given order.
    void openFiles(const QList<QByteArray> &paths);

private:
    core::Desktop &m_desktop;
    core::SettingsStore &m_settings;
    lists::NameListModel m_input;
    lists::NameListModel m_results;
    core::ProgressState m_progress;
    core::PointerState m_pointer;
    commands::CommandContext m_context;
    OptionSettings m_options;
    lists::SuffixList m_suffixList;
    bool m_suffixListLoaded = false;
    core::PointerState m_suffixEditorPointer;
    std::unique_ptr<commands::SuffixEditorCommands> m_suffixCommands;
    std::unique_ptr<commands::SortCommand> m_sort;
    std::unique_ptr<commands::ListCommands> m_lists;
    std::unique_ptr<commands::ListFileCommands> m_listFiles;
    std::unique_ptr<commands::ExportCommands> m_exports;
    std::unique_ptr<commands::ResultExportCommand> m_resultExport;
    std::unique_ptr<commands::PaperCommand> m_print;
    std::unique_ptr<commands::GroupCommand> m_group;
};

} // namespace orvella::session

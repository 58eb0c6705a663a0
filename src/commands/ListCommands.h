#pragma once

#include <QStringList>

namespace orvella::lists {
class NameListModel;
} // namespace orvella::lists

namespace orvella::commands {

struct CommandContext;

// Removes the selected item of the list; does nothing when none is selected.
void removeSelectedItem(lists::NameListModel &list);

// The names in an answer to Add One Name: the answer itself when it is one line,
// otherwise each non-empty line (split at CR LF, CR or LF), in order.
QStringList pastedNames(const QString &answer);

// The main window's commands that edit the input and result lists directly: Add One
// Name, Clear List, Clear Results, Load Sample/Example Names, and removal of the
// selected item by double-click or the Delete key. Clear List and the removals do
// nothing while the window shows the busy pointer, because a long command may be
// working through the lists while it yields.
class ListCommands {
public:
    explicit ListCommands(CommandContext &context);

    void addNames();        // "Add One Name"
    void clearNames();      // "Clear List"
    void clearResults();    // "Clear Results"
    void loadSampleNames(); // "Load Sample/Example Names"

    // A double-click on a list's item, or the Delete key in it.
    void removeSelectedName();
    void removeSelectedResult();

private:
    void removeFrom(lists::NameListModel &list);

    CommandContext &m_context;
};

} // namespace orvella::commands

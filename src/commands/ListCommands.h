#pragma once

#include <QStringList>

namespace orvella::lists {
class NameListModel;
} // namespace orvella::lists

namespace orvella::commands {

struct MainContext;

// Key code of the Delete key in the lists' key-down handlers.
inline constexpr int kDeleteKeyCode = 46;

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
    explicit ListCommands(MainContext &context);

    void PushButton6_Click(); // Add One Name
    void PushButton1_Click(); // Clear List
    void PushButton2_Click(); // Clear Results
    void PushButton7_Click(); // Load Sample/Example Names

    void ListView1_DblClick();
    void ListView1_KeyDown(int keyCode);
    void ListView2_DblClick();
    void ListView2_KeyDown(int keyCode);

private:
    void removeFrom(lists::NameListModel &list);

    MainContext &m_context;
};

} // namespace orvella::commands

#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QTreeWidget;

namespace orvella::core {
class Desktop;
} // namespace orvella::core
namespace orvella::session {
class Session;
} // namespace orvella::session

namespace orvella::app {

class ListHistory;

// "Find Likely Duplicates": the groups of the names to sort that are probably one
// person, each under its reason, each name with a check box (none ticked) and its place
// in the list. Remove Ticked Names removes the ticked ones as one step Edit > Undo takes
// back, then looks again; nothing is removed on a guess.
class DuplicatesWindow : public QWidget {
    Q_OBJECT
public:
    DuplicatesWindow(session::Session &session, ListHistory &history, core::Desktop &desktop,
                     QWidget *parent = nullptr);

    // Looks through the list again (yielding now and then) and shows the groups.
    void search();
    // The places (counted from 1) of the ticked names.
    QList<int> tickedPlaces() const;
    void removeTicked();

private:
    session::Session &m_session;
    ListHistory &m_history;
    core::Desktop &m_desktop;
    QTreeWidget *m_groups = nullptr;
    QLabel *m_summary = nullptr;
};

} // namespace orvella::app

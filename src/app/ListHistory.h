#pragma once

#include "lists/ListEdits.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace orvella::lists {
class NameListModel;
} // namespace orvella::lists

namespace orvella::app {

// The undo history of the name and result lists. Each command the user gives runs
// through run(): whatever it changes in either list becomes one step, named after the
// command ("Clear List"), that Edit > Undo takes back and Redo makes again, most
// recent first. A step keeps what it took away in the lists' own blocks, so taking
// back a clear of a million names copies none of them. The history holds the last
// kSteps steps while the program runs; and since a step that holds a cleared list
// keeps that list's memory, the steps before the newest keep at most kBytesHeld bytes
// alive that no list holds: the text blocks they took away or share (a sort's results
// taken away are places in its input's blocks, which count only once the input lets
// them go), and the tables those rows came from (a row of a table keeps all of its
// cells). A step that would go beyond that forgets the ones before it.
class ListHistory : public QObject, public lists::ListRecorder {
    Q_OBJECT
public:
    static constexpr int kSteps = 100;
    static constexpr qsizetype kBytesHeld = qsizetype(256) << 20;

    ListHistory(std::initializer_list<lists::NameListModel *> lists, QObject *parent = nullptr,
                qsizetype bytesBudget = kBytesHeld);
    ~ListHistory() override;

    // Runs a command as one step. Commands that run inside another join its step.
    void run(const QString &text, const std::function<void()> &command);
    // False while a command runs (it may yield to the event loop): the lists are
    // then not taken back under it.
    bool canUndo() const { return m_depth == 0 && m_stack.canUndo(); }
    bool canRedo() const { return m_depth == 0 && m_stack.canRedo(); }
    void undo();
    void redo();
    QString undoText() const { return m_stack.undoText(); }
    QString redoText() const { return m_stack.redoText(); }
    int count() const { return m_stack.count(); }
    // The memory the steps that can be taken back keep alive that no list holds, in
    // bytes (a table held by several steps counts once).
    qsizetype bytesHeld() const;

    void record(lists::NameListModel &list, std::unique_ptr<lists::ListEdit> edit) override;
    bool appendsRecorded(const lists::NameListModel &list) const override;

signals:
    // The history or whether it can be used changed: menus update their items.
    void changed();

private:
    class Step;
    class Replaying;
    struct Shared;
    void push(std::unique_ptr<Step> step);
    qsizetype bytesHeld(const Step *newStep) const;
    // The bytes of the blocks (sorted and made unique here) that no list holds.
    qsizetype bytesOfBlocksNoListHolds(std::vector<tables::TextRows::BlockHeld> &blocks) const;

    std::vector<lists::NameListModel *> m_lists;
    QUndoStack m_stack;
    std::unique_ptr<Step> m_open; // the running command's step
    int m_depth = 0;
    bool m_replaying = false;
    qsizetype m_bytesBudget;
};

} // namespace orvella::app

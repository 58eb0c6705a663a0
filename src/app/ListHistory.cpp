#include "app/ListHistory.h"

#include "core/BackgroundWork.h"
#include "lists/NameListModel.h"

#include <QScopeGuard>
#include <QUndoCommand>

#include <algorithm>
#include <utility>

namespace orvella::app {

namespace {
// Up to this many bytes are freed on the window's thread (a few milliseconds).
constexpr qsizetype kBytesFreedAtOnce = qsizetype(2) << 20;

using Block = tables::TextRows::BlockHeld;

void sortUnique(std::vector<Block> &blocks)
{
    std::sort(blocks.begin(), blocks.end(), [](const Block &a, const Block &b) { return a.id < b.id; });
    blocks.erase(std::unique(blocks.begin(), blocks.end(), [](const Block &a, const Block &b) { return a.id == b.id; }),
                 blocks.end());
}
} // namespace

// What steps hold that others may hold too: each counts once, and not at all while a
// list holds it.
struct ListHistory::Shared {
    std::vector<const tables::SourceTable *> tables;
    std::vector<Block> blocks;
};

// Edits the lists make while a step is taken back or made again are not recorded.
class ListHistory::Replaying {
public:
    explicit Replaying(ListHistory &history) : m_history(history) { m_history.m_replaying = true; }
    ~Replaying() { m_history.m_replaying = false; }

private:
    ListHistory &m_history;
};

// The edits of one command, taken back last first.
class ListHistory::Step : public QUndoCommand {
public:
    Step(ListHistory &history, const QString &text) : QUndoCommand(text), m_history(history) {}

    bool isEmpty() const { return m_edits.empty(); }
    // Moves the step's edits out (the step is then empty), for freeing elsewhere.
    void takeEdits(std::vector<std::unique_ptr<lists::ListEdit>> &into)
    {
        for (Edit &edit : m_edits)
            into.push_back(std::move(edit.edit));
        m_edits.clear();
    }
    // True when this step's last edit appended rows to the list (so later appends join it).
    bool endsWithAppendTo(const lists::NameListModel &list) const
    {
        return !m_edits.empty() && m_edits.back().list == &list && m_edits.back().edit->appendsRows();
    }
    // The bytes the edits hold of their own; the tables and text blocks they share
    // are added to `shared`.
    qsizetype bytesHeld(Shared &shared) const
    {
        qsizetype bytes = 0;
        for (const Edit &edit : m_edits) {
            bytes += edit.edit->bytesHeld();
            edit.edit->addTablesHeld(shared.tables);
            edit.edit->addBlocksHeld(shared.blocks);
        }
        return bytes;
    }
    void add(lists::NameListModel &list, std::unique_ptr<lists::ListEdit> edit)
    {
        // Rows appended in several batches are one edit: undone from where the first began.
        if (edit->appendsRows() && endsWithAppendTo(list))
            return;
        m_edits.push_back({&list, std::move(edit)});
    }

    void undo() override
    {
        const Replaying replaying(m_history);
        for (auto it = m_edits.rbegin(); it != m_edits.rend(); ++it)
            it->edit->undo(*it->list);
    }
    void redo() override
    {
        // Pushing a step runs redo(): the command has made its changes already.
        if (!m_done) {
            m_done = true;
            return;
        }
        const Replaying replaying(m_history);
        for (auto &[list, edit] : m_edits)
            edit->redo(*list);
    }

private:
    struct Edit {
        lists::NameListModel *list;
        std::unique_ptr<lists::ListEdit> edit;
    };
    ListHistory &m_history;
    std::vector<Edit> m_edits;
    bool m_done = false;
};

ListHistory::ListHistory(std::initializer_list<lists::NameListModel *> lists, QObject *parent, qsizetype bytesBudget)
    : QObject(parent), m_lists(lists), m_bytesBudget(bytesBudget)
{
    m_stack.setUndoLimit(kSteps);
    for (lists::NameListModel *list : m_lists)
        list->setRecorder(this);
    connect(&m_stack, &QUndoStack::indexChanged, this, &ListHistory::changed);
}

ListHistory::~ListHistory()
{
    for (lists::NameListModel *list : m_lists)
        list->setRecorder(nullptr);
}

void ListHistory::run(const QString &text, const std::function<void()> &command)
{
    const bool outermost = m_depth == 0;
    ++m_depth;
    if (outermost) {
        m_open = std::make_unique<Step>(*this, text);
        emit changed();
    }
    const auto close = qScopeGuard([&] {
        --m_depth;
        if (outermost) {
            push(std::move(m_open));
            emit changed();
        }
    });
    command();
}

void ListHistory::push(std::unique_ptr<Step> step)
{
    if (!step || step->isEmpty())
        return;
    // Steps that were taken back are dropped by the push; what is left is counted anew.
    const qsizetype held = bytesHeld(nullptr);
    if (held > 0 && bytesHeld(step.get()) > m_bytesBudget) {
        // What the forgotten steps hold is freed on a worker: a cleared list of ten
        // million names would hold the window for a good part of a second.
        std::vector<std::unique_ptr<lists::ListEdit>> forgotten;
        for (int i = 0; i < m_stack.count(); ++i)
            const_cast<Step *>(static_cast<const Step *>(m_stack.command(i)))->takeEdits(forgotten);
        m_stack.clear();
        if (held >= kBytesFreedAtOnce)
            core::releaseInBackground(std::move(forgotten), 0);
    }
    m_stack.push(step.release());
}

qsizetype ListHistory::bytesHeld() const
{
    return bytesHeld(nullptr);
}

qsizetype ListHistory::bytesHeld(const Step *newStep) const
{
    qsizetype bytes = 0;
    Shared shared;
    for (int i = 0; i < m_stack.index(); ++i)
        bytes += static_cast<const Step *>(m_stack.command(i))->bytesHeld(shared);
    if (newStep)
        bytes += newStep->bytesHeld(shared);
    bytes += bytesOfBlocksNoListHolds(shared.blocks);
    std::vector<const tables::SourceTable *> &tables = shared.tables;
    std::sort(tables.begin(), tables.end());
    tables.erase(std::unique(tables.begin(), tables.end()), tables.end());
    for (const tables::SourceTable *table : tables) {
        const bool listHolds = std::any_of(m_lists.begin(), m_lists.end(),
                                           [table](const lists::NameListModel *list) { return list->holdsTable(table); });
        if (!listHolds)
            bytes += table->bytes();
    }
    return bytes;
}

qsizetype ListHistory::bytesOfBlocksNoListHolds(std::vector<tables::TextRows::BlockHeld> &blocks) const
{
    sortUnique(blocks);
    std::vector<Block> listed;
    for (const lists::NameListModel *list : m_lists)
        list->addBlocksHeld(listed);
    sortUnique(listed);
    qsizetype bytes = 0;
    for (const Block &block : blocks) {
        const auto found = std::lower_bound(listed.begin(), listed.end(), block.id,
                                            [](const Block &held, const void *id) { return held.id < id; });
        if (found == listed.end() || found->id != block.id)
            bytes += block.bytes;
    }
    return bytes;
}

void ListHistory::record(lists::NameListModel &list, std::unique_ptr<lists::ListEdit> edit)
{
    if (m_replaying)
        return;
    if (m_open) {
        m_open->add(list, std::move(edit));
        return;
    }
    // A change no command announced: a step of its own.
    auto step = std::make_unique<Step>(*this, QStringLiteral("Change"));
    step->add(list, std::move(edit));
    push(std::move(step));
}

bool ListHistory::appendsRecorded(const lists::NameListModel &list) const
{
    return m_replaying || (m_open && m_open->endsWithAppendTo(list));
}

void ListHistory::undo()
{
    if (canUndo())
        m_stack.undo();
}

void ListHistory::redo()
{
    if (canRedo())
        m_stack.redo();
}

} // namespace orvella::app

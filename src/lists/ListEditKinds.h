#pragma once

// The kinds of change a name list records for its undo history (see ListEdit): each
// keeps what it took away, in the list's own blocks where it can.

#include "lists/ListEdits.h"
#include "lists/NameListModel.h"

#include <QString>
#include <utility>
#include <vector>

namespace orvella::lists::edits {

inline qsizetype textBytes(const QString &text)
{
    return text.capacity() * qsizetype(sizeof(QChar));
}

// The memory rows taken out of a list take of their own (not their tables', nor their
// text blocks, which others may share).
inline qsizetype tailBytes(const NameListModel::Tail &tail)
{
    return qsizetype(tail.refs.capacity() * sizeof(tables::RowRef)) +
           qsizetype(tail.tables.capacity() * sizeof(tables::SourceTablePtr)) + (tail.origin ? tail.origin->bytes() : 0);
}

inline void addBlocks(const NameListModel::Tail &tail, std::vector<tables::TextRows::BlockHeld> &into)
{
    tail.rows.addBlocks(into);
    if (tail.origin)
        tail.origin->source.addBlocks(into);
}

inline void addTables(const NameListModel::Tail &tail, std::vector<const tables::SourceTable *> &into)
{
    for (const tables::SourceTablePtr &table : tail.tables)
        into.push_back(table.get());
}

// Rows appended from position `from` (0-based) on, in one batch or several.
class Appended : public ListEdit {
public:
    explicit Appended(int from) : m_from(from) {}
    void undo(NameListModel &list) override { m_tail = list.takeTail(m_from); }
    void redo(NameListModel &list) override { list.restoreTail(std::move(m_tail)); }
    bool appendsRows() const override { return true; }
    // Rows taken back: held until they are appended again.
    qsizetype bytesHeld() const override { return tailBytes(m_tail); }
    void addTablesHeld(std::vector<const tables::SourceTable *> &into) const override { addTables(m_tail, into); }
    void addBlocksHeld(std::vector<tables::TextRows::BlockHeld> &into) const override { addBlocks(m_tail, into); }

private:
    int m_from;
    NameListModel::Tail m_tail;
};

class Removed : public ListEdit {
public:
    Removed(int position, QString text, tables::NameRow row)
        : m_position(position), m_text(std::move(text)), m_row(std::move(row))
    {
    }
    void undo(NameListModel &list) override { list.insertAt(m_position, m_text, m_row); }
    void redo(NameListModel &list) override { list.removeAt(m_position); }
    qsizetype bytesHeld() const override { return textBytes(m_text); }
    void addTablesHeld(std::vector<const tables::SourceTable *> &into) const override
    {
        if (m_row)
            into.push_back(m_row.table.get());
    }

private:
    int m_position;
    QString m_text;
    tables::NameRow m_row;
};

class Replaced : public ListEdit {
public:
    Replaced(int position, QString before, QString after)
        : m_position(position), m_before(std::move(before)), m_after(std::move(after))
    {
    }
    void undo(NameListModel &list) override { list.setItem(m_position, m_before); }
    void redo(NameListModel &list) override { list.setItem(m_position, m_after); }
    qsizetype bytesHeld() const override { return textBytes(m_before) + textBytes(m_after); }

private:
    int m_position;
    QString m_before;
    QString m_after;
};

// A clear keeps the list's blocks (and tooltips) rather than freeing them.
class Cleared : public ListEdit {
public:
    explicit Cleared(NameListModel::Tail rows) : m_rows(std::move(rows)) {}
    void undo(NameListModel &list) override { list.restoreTail(std::move(m_rows)); }
    void redo(NameListModel &list) override { m_rows = list.takeTail(0); }
    qsizetype bytesHeld() const override { return tailBytes(m_rows); }
    void addTablesHeld(std::vector<const tables::SourceTable *> &into) const override { addTables(m_rows, into); }
    void addBlocksHeld(std::vector<tables::TextRows::BlockHeld> &into) const override { addBlocks(m_rows, into); }

private:
    NameListModel::Tail m_rows;
};

} // namespace orvella::lists::edits

#pragma once

#include "tables/TextRows.h"

#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

namespace orvella::tables {
struct SourceTable;
} // namespace orvella::tables

namespace orvella::lists {

class NameListModel;

// A change made to a list, kept so that it can be taken back and made again: rows
// appended, a row removed or replaced, the list cleared. What a change took away (a
// cleared list's rows, a removed row) stays in it, in the list's own blocks, so that
// taking back a clear of a million names copies none of them.
class ListEdit {
public:
    virtual ~ListEdit() = default;
    virtual void undo(NameListModel &list) = 0;
    virtual void redo(NameListModel &list) = 0;
    // True for rows appended: later appends to the same list in the same step join it.
    virtual bool appendsRows() const { return false; }
    // The memory the edit keeps of its own, in bytes: the texts it took away (a cleared
    // list's blocks, a removed row) or put back.
    virtual qsizetype bytesHeld() const { return 0; }
    // Adds the tables the rows it keeps came from (a list may hold them too).
    virtual void addTablesHeld(std::vector<const tables::SourceTable *> &) const {}
    // Adds the text blocks it keeps (a list or another edit may hold them too).
    virtual void addBlocksHeld(std::vector<tables::TextRows::BlockHeld> &) const {}
};

// Hears every change a list makes while it records (see NameListModel::setRecorder).
class ListRecorder {
public:
    virtual ~ListRecorder() = default;
    virtual void record(NameListModel &list, std::unique_ptr<ListEdit> edit) = 0;
    // Whether rows appended to the list from now on already belong to an edit the
    // recorder holds (the rows before them were appended in the same step): then the
    // list records no new one. A command appends a million rows one by one.
    virtual bool appendsRecorded(const NameListModel &) const { return false; }
};

} // namespace orvella::lists

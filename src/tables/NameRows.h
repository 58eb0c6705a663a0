#pragma once

#include "core/ColumnChoice.h"
#include "tables/TableRows.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>

namespace orvella::tables {

// A table some of a list's names came from: its cells, and what the names were made
// of. Shared by the lists and the steps of undo that hold its names, and never changed
// once loaded, so a sort's results point into the same cells as its input.
struct SourceTable {
    TableRows cells;
    // The header row's cells (row 0 of cells); empty when the table has none.
    QStringList header;
    // The names were built as "Last, First" from separate columns: they are read as
    // "Last, First" lines whatever the Reading menu says, so that each files under its
    // last-name cell.
    bool commaLines = false;
    // Which columns the names were made of.
    core::ColumnChoice columns;

    // The memory the table takes, in bytes.
    qsizetype bytes() const
    {
        qsizetype bytes = cells.bytes();
        for (const QString &caption : header)
            bytes += caption.capacity() * qsizetype(sizeof(QChar));
        return bytes;
    }
};
using SourceTablePtr = std::shared_ptr<const SourceTable>;

// The row a name came from; none (no table) for a name typed or read from a names file.
struct NameRow {
    SourceTablePtr table;
    quint32 row = 0; // in table->cells

    explicit operator bool() const { return bool(table); }
};

// A name made of a table's separate name columns, taken apart again: views into the
// name as it is shown ("Smith, Jr., Bob Lee, III" holds the three below).
struct NameParts {
    QStringView lastName; // the last-name cell as it stands ("Smith, Jr.")
    QStringView given;    // the first- and middle-name cells ("Bob Lee"); may be empty
    QStringView suffix;   // the suffix cell ("III"); may be empty
};

// What a list can tell of a row besides its text.
enum class RowNote {
    ToolTip,    // the row's tooltip
    FiledUnder, // the words a sort filed the row under
    GroupStart, // on a group's first row: the group's column and value ("Homeroom: 7B")
};

// How a list keeps a name's row: its table's place among the list's tables (counted
// from 1; 0 for none) and the row.
struct RowRef {
    quint32 table = 0;
    quint32 row = 0;
};

} // namespace orvella::tables

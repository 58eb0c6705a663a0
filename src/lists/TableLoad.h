#pragma once

#include "lists/ListFileReader.h"

#include <QString>

namespace orvella::core {
class Desktop;
class SettingsStore;
} // namespace orvella::core

namespace orvella::lists {

class NameListModel;

// What became of a table file handed to ReadTableFile.
enum class TableLoad {
    Loaded,      // its names (possibly none) are in the list, each with its row
    ReadAsLines, // the user asked to read it as a names file: nothing was added
    Cancelled,   // the user loaded nothing
};

// What a table's load made of the rows that give no name.
struct TableRowCounts {
    qsizetype nameless = 0; // rows with text but an empty name: loaded with that empty name
    qsizetype empty = 0;    // rows without any text: skipped

    TableRowCounts &operator+=(const TableRowCounts &more)
    {
        nameless += more.nameless;
        empty += more.empty;
        return *this;
    }
};

// The status line's word on them, "" when there are none: "2 rows have no name: they
// sort first", "1 row has no name: it sorts first; 3 empty rows were skipped".
QString rowCountsNote(const TableRowCounts &counts);

// Reads a CSV, TSV, Excel or OpenDocument file (see tableKindOf) into the list: asks
// the desktop which columns make the name ("Choose Name Columns", proposing the choice
// remembered for the file's header row, else a guess), unless that choice was remembered
// with "Do not ask again"; then appends every row below the header that holds any
// text, each with its name (an empty one when its name cells are empty), and adds to
// counts (when given) the rows without a name and the empty rows left out. Rows above
// the header are no names: they stay in the table, unlisted. A missing file shows
// "File not found" as a names file does. Throws core::Failure when the file cannot be
// read; the list is then left as it was.
TableLoad ReadTableFile(NameListModel &list, const QString &path, core::Desktop &desktop,
                        core::SettingsStore &settings, const QString &title, TableRowCounts *counts = nullptr);

// Reads the file as a table when its name says it is one and the user does not ask
// for its lines; otherwise as a names file (ReadListFile).
void ReadNamesOrTable(NameListModel &list, const QString &path, core::Desktop &desktop,
                      core::SettingsStore &settings, const QString &title,
                      FileReading reading = FileReading::Yielding, TableRowCounts *counts = nullptr);

} // namespace orvella::lists

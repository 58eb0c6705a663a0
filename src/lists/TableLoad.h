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

// Reads a CSV, TSV, Excel or OpenDocument file (see tableKindOf) into the list: asks
// the desktop which columns make the name ("Choose Name Columns", proposing the choice
// remembered for the file's header, else a guess), unless that choice was remembered
// with "Do not ask again"; then appends the name of every row that has one, each with
// its row. A missing file shows "File not found" as a names file does. Throws
// core::Failure when the file cannot be read; the list is then left as it was.
TableLoad ReadTableFile(NameListModel &list, const QString &path, core::Desktop &desktop,
                        core::SettingsStore &settings, const QString &title);

// Reads the file as a table when its name says it is one and the user does not ask
// for its lines; otherwise as a names file (ReadListFile).
void ReadNamesOrTable(NameListModel &list, const QString &path, core::Desktop &desktop,
                      core::SettingsStore &settings, const QString &title,
                      FileReading reading = FileReading::Yielding);

} // namespace orvella::lists

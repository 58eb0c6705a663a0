#pragma once

#include "tables/TableFileReader.h"
#include "tables/TableRows.h"

#include <QString>

namespace orvella::core {
class Desktop;
} // namespace orvella::core

namespace orvella::tables {

// Reads a CSV or TSV file (kind Csv or Tsv) into rows, every record split by CsvSplitter;
// a .csv file's delimiter is found from its first records, a .tsv file's is the TAB.
// A file that is UTF-8 throughout (with a UTF-8 byte-order mark or none) is split
// straight from its bytes; any other is decoded as a names file is (see ReadListFile),
// turned into UTF-8 and split the same way.
// Calls desktop.yield() before each piece of the file. Throws TableTooLarge when the
// table would take more than its budget, and core::Failure with a message that names the
// file when it cannot be read or holds NUL characters.
TableRows readCsvTable(const QString &path, TableKind kind, core::Desktop &desktop);

} // namespace orvella::tables

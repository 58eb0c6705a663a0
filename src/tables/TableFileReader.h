#pragma once

#include "tables/TableRows.h"

#include <QString>

namespace orvella::core {
class Desktop;
} // namespace orvella::core

namespace orvella::tables {

enum class TableKind { None, Csv, Tsv, Xlsx, Ods };

// By the file name's extension, any case: .csv .tsv .xlsx .ods; None for any other.
TableKind tableKindOf(const QString &path);

// Reads every row of the file (the first sheet of a workbook). Calls desktop.yield()
// between pieces of a long file. Throws core::Failure with a message that names the file
// and the reason when it cannot be read or is not a table of that kind.
//
// A CSV or TSV file is read as readCsvTable describes: decoded as a names file is (see
// ReadListFile) and split into records as CsvSplitter describes; a .csv file's delimiter
// is found from its first records, a .tsv file's is the TAB.
// A workbook gives the text its cells show. Rows with no text in any cell are dropped,
// as an empty line of a CSV file is, and so are the empty cells at the end of a row.
TableRows readTableFile(const QString &path, TableKind kind, core::Desktop &desktop);

} // namespace orvella::tables

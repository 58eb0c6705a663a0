#pragma once

#include "lists/TableRows.h"

#include <QString>

namespace orvella::core {
class Desktop;
} // namespace orvella::core

namespace orvella::lists {

// The rows of the first sheet of an OpenDocument spreadsheet (.ods), each cell as the
// text it shows: its paragraphs joined by line ends. Repeated cells and rows are read
// as often as they are repeated; rows without text and the empty cells at the end of a
// row are dropped (a sheet writes its unused width and height as such repeats). See
// readTableFile for yields and failures.
TableRows readOdsTable(const QString &path, core::Desktop &desktop);

} // namespace orvella::lists

#pragma once

#include "tables/TableRows.h"

#include <QString>

namespace orvella::core {
class Desktop;
} // namespace orvella::core

namespace orvella::tables {

// The rows of the first sheet of an OpenDocument spreadsheet (.ods), each cell as the
// text it shows: its paragraphs joined by line ends. Repeated cells and rows are read
// as often as they are repeated; rows without text and the empty cells at the end of a
// row are dropped (a sheet writes its unused width and height as such repeats). See
// readTableFile for yields and failures.
//
// XML cannot hold some characters (most control characters, U+FFFE, U+FFFF), and an
// OpenDocument paragraph has no way of writing them. A cell that holds them is written
// by the program with its whole text in an attribute of its own besides the paragraph,
// those characters written as "_xHHHH_" as a workbook's text writes them; other
// programs read the paragraph and leave the attribute alone, this reader takes the text
// from it.
TableRows readOdsTable(const QString &path, core::Desktop &desktop);

// The namespace of that attribute, and its name.
inline constexpr char kOdsTextNamespace[] = "urn:velmora:orvella:table:1.0";
inline constexpr char kOdsTextAttribute[] = "text";

} // namespace orvella::tables

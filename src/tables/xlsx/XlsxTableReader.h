#pragma once

#include "tables/TableRows.h"

#include <QString>

namespace orvella::core {
class Desktop;
} // namespace orvella::core

namespace orvella::tables {

// The rows of the first sheet of an Excel workbook (.xlsx), each cell as the sheet shows
// it: texts as they are, numbers in their number format (see SheetNumberFormat),
// booleans as TRUE and FALSE, errors as their text, formulas as their last result.
// Cells the sheet skips are empty; rows without text and the empty cells at the end of
// a row are dropped. See readTableFile for yields and failures.
TableRows readXlsxTable(const QString &path, core::Desktop &desktop);

// A workbook's text with its "_xHHHH_" codes read back as the characters they stand for.
QString withoutEscapes(QString text);

} // namespace orvella::tables

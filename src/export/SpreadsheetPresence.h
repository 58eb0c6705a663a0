#pragma once

#include <QStringList>

namespace orvella::exporting {

// The media type of .xlsx workbooks.
inline constexpr const char *kXlsxMimeType = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

// Spreadsheet programs that open .xlsx workbooks, looked for on the PATH.
QStringList knownSpreadsheetPrograms();

// True when the desktop can open an .xlsx workbook: an application is registered for
// the type, or a known spreadsheet program is on the PATH. Never fails.
bool spreadsheetApplicationPresent();

} // namespace orvella::exporting

#pragma once

#include <QString>

namespace orvella::lists {
class ListFileOutput;
}

namespace orvella::exporting {

// Writes the whole file at path (a finished workbook in a private folder) into out, a
// large piece at a time. Throws core::Failure when the file cannot be read or out
// cannot be written.
void copyFileInto(const QString &path, lists::ListFileOutput &out);

} // namespace orvella::exporting

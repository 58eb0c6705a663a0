#pragma once

#include <QString>

namespace orvella::core {

class FileOutput;

// Writes the whole file at path (a finished workbook in a private folder) into out, a
// large piece at a time. Throws core::Failure when the file cannot be read or out
// cannot be written.
void copyFileInto(const QString &path, core::FileOutput &out);

} // namespace orvella::core

#pragma once

#include "core/FileOutput.h"

#include <QString>

namespace orvella::core {
class Desktop;
class ProgressState;
} // namespace orvella::core

namespace orvella::lists {

class NameListModel;

// Writes the list to the file at path as a table: a header line with the caption, then
// one line per item; each field is padded with spaces to the longest text of the
// column and followed by a TAB. With a progress state, shows the way through the list
// ("Writing file: " + the file's name, the count at every 1000th item, "Done.", then
// the idle text). Yields to the desktop between items; the file gets the items there
// were when the save began (items appended meanwhile are not written). Throws
// core::Failure when the file cannot be written or an item vanishes meanwhile; a file
// that was there before then stays untouched (unless it is written in place, see
// core::FileOutput) and the progress state as it last was.
void WriteListFile(const NameListModel &list, const QString &path, core::ProgressState *progress,
                   core::Desktop &desktop);
void WriteListFile(const NameListModel &list, const QString &path, core::ProgressState *progress,
                   core::Desktop &desktop, const core::FileOutput::DeviceFilter &filter);
// The same table into an output of the caller's (the program's standard output), which
// it commits; the progress texts name `name`.
void WriteListTable(const NameListModel &list, core::FileOutput &out, const QString &name,
                    core::ProgressState *progress, core::Desktop &desktop);

} // namespace orvella::lists

#pragma once

#include <QString>

class QIODevice;

namespace orvella::core {

// Replaces the whole text of a regular file that cannot be replaced by a new file (it
// has a second name, or its folder takes no new file), writing into the file itself.
// Afterwards the file holds either its whole old text or the whole new text, never a
// part of one:
// - the room the new text needs is reserved before the first byte is changed; when
//   the disk has no room for it, the file is not touched;
// - the old text is kept in memory until the new text is on the disk, and written
//   back when writing the new one fails.
// `fd` is the file, open for reading and writing; `newText` is read from its start to
// its end (a temporary file holding the finished text, or a buffer). Throws a Failure
// whose text says whether the old text is still there.
void replaceTextInPlace(int fd, const QString &path, QIODevice &newText);

} // namespace orvella::core

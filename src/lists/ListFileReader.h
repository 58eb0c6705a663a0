#pragma once

#include "tables/TextFileDecoder.h"
#include "tables/TextRows.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>

namespace orvella::core {
class Desktop;
} // namespace orvella::core

namespace orvella::lists {

class NameListModel;

// How a long names file is read: in one reading, piece by piece with a yield between the
// pieces (the window, which goes on meanwhile), or in two halves at once, split at a line
// end near the middle, the second on a worker (a run without a window: nothing else
// waits for its thread, and the file is read in about half the time).
enum class FileReading { Yielding, TwoHalves };

// Appends every non-empty line of the file at path to the list, in file order and in
// one batch. Lines end at CR LF, a lone CR or a lone LF. A file that starts with a
// byte-order mark is read as the mark says (UTF-16 either way, or UTF-8; the mark is
// dropped). Without one, each line is read as UTF-8 when it is valid UTF-8 and as
// Windows-1252 when it is not.
// A file that is exactly a list table as WriteListFile writes it (a first line that is
// one of the lists' captions, " Name(s)", "Result(s)" or "Suffix List", and every line
// padded with spaces to one width and ended with a TAB) gives the names it holds:
// without the caption line, the padding and the TAB. Any other file is read line by line.
// A missing file shows "File not found" (OK box with the given title) and adds nothing.
// Throws core::Failure for any other problem (a folder, an unreadable file, a file that
// holds NUL characters); the list is then left as it was.
void ReadListFile(NameListModel &list, const QString &path, core::Desktop &desktop, const QString &title,
                  FileReading reading = FileReading::Yielding);
// The same for a path given as the bytes the system knows it by (a name from the command
// line need be no valid text in the locale's encoding); messages show it decoded.
void ReadListFile(NameListModel &list, const QByteArray &nativePath, core::Desktop &desktop, const QString &title,
                  FileReading reading = FileReading::Yielding);

// The same for a stream that is already open (standard input), read to its end; `name`
// names it in messages. A stream need not end: one that gives more than `most` bytes
// fails the read.
void ReadListStream(NameListModel &list, QFile &stream, const QString &name, core::Desktop &desktop,
                    qint64 most = tables::defaultStreamBytes());

// The names of the lines of a list table (see ReadListFile); other lines as they are.
tables::TextRows namesOfListTable(tables::TextRows lines);

} // namespace orvella::lists

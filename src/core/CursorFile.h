#pragma once

#include <QCursor>
#include <QString>

namespace orvella::core {

// The hand pointer's file in the program's folder.
QString pointerFilePath(const QString &folder);

// True when the path names a regular file (or a link to one). A folder, a named pipe
// or a device of that name does not count: opening a pipe would wait for a writer
// before any window shows.
bool pointerFileExists(const QString &path);

// Loads a pointer image file (a Windows .cur cursor, or any image Qt can read) as a
// custom pointer. A .cur file's own hot spot is kept; other images point from their
// top-left corner. Throws a Failure when the file cannot be read as an image.
QCursor loadCursorFile(const QString &path);

} // namespace orvella::core

#pragma once

#include <QCursor>
#include <QString>

namespace orvella::core {
class Procedure;
} // namespace orvella::core

namespace orvella::ui {

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

// Start-up steps 104 and 106 of both windows: when the folder holds the hand pointer's
// file, it becomes the window's custom pointer. A file that cannot be read is reported
// under step 106 and the pointer stays as it was.
void loadHandPointer(core::Procedure &p, const QString &folder, QCursor &pointer);

} // namespace orvella::ui

#pragma once

#include <QCursor>
#include <QString>

namespace orvella::core {

// Loads a pointer image file (a Windows .cur cursor, or any image Qt can read) as a
// custom pointer. A .cur file's own hot spot is kept; other images point from their
// top-left corner. Throws a Failure when the file cannot be read as an image.
QCursor loadCursorFile(const QString &path);

} // namespace orvella::core

#pragma once

#include <QFileInfo>
#include <QSaveFile>

struct stat;

namespace orvella::core {

// Replacing a file through a temporary one would get past its write protection: a file
// that is not writable, or that nobody may write (which protects it from the superuser
// too), is to be left alone.
bool isWriteProtected(const QFileInfo &info);

// Opens the temporary file that is to replace the file at its name. The new file takes
// the old one's mode, owner and group (old: the old file's status, none for a new
// file); false (and no temporary file left behind) when the folder takes no new file or
// the owner or group cannot be kept.
bool openBeside(QSaveFile &file, const struct stat *old);

} // namespace orvella::core

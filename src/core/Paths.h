#pragma once

#include <QString>
#include <QStringView>

namespace orvella::core {

// True when the path names an existing file or folder; never fails.
bool FileExists(const QString &path);

// The text after the last "/" (empty when the text ends with one), or the whole text
// when it holds none. Progress texts show file paths through it.
QStringView FileNamePart(QStringView text);

// The folder that holds the program file, without a trailing "/".
QString programFolder();

} // namespace orvella::core

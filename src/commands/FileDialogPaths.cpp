#include "commands/FileDialogPaths.h"

#include <QFileInfo>
#include <algorithm>

namespace orvella::commands {

core::FileDialogRequest listFileDialogRequest(const QString &title, const QString &fileName)
{
    core::FileDialogRequest request;
    request.title = title;
    request.filter = kListFileFilter;
    request.fileName = fileName;
    request.multiSelect = true;
    return request;
}

QStringList selectedPaths(const QString &dialogAnswer)
{
    if (dialogAnswer.isEmpty())
        return {};
    const QStringList parts = dialogAnswer.split(QChar(u'\0'));
    if (parts.size() == 1)
        return parts;
    // An empty folder: the files come from several folders, each with its full path.
    const bool fullPaths = parts[0].isEmpty();
    QStringList paths;
    for (qsizetype k = 1; k < parts.size(); ++k) {
        if (parts[k].isEmpty())
            continue;
        paths << (fullPaths ? parts[k] : NormalizeBackslashes(parts[0] + QLatin1Char('/') + parts[k]));
    }
    return paths;
}

QString NormalizeBackslashes(const QString &path)
{
    QString cleaned;
    cleaned.reserve(path.size());
    for (const QChar c : path) {
        if (c == QLatin1Char('/') && cleaned.endsWith(QLatin1Char('/')))
            continue;
        cleaned.append(c);
    }
    return cleaned;
}

QString openDialogAnswer(const QStringList &files)
{
    if (files.isEmpty())
        return QString();
    if (files.size() == 1)
        return files.first();
    // Several files in one folder: the folder, then each name, separated by NUL
    // characters. Files from several folders (full paths typed into the name field):
    // an empty folder, then each full path.
    const QString folder = QFileInfo(files.first()).absolutePath();
    const bool oneFolder = std::all_of(files.begin(), files.end(), [&folder](const QString &file) {
        return QFileInfo(file).absolutePath() == folder;
    });
    QStringList parts{oneFolder ? folder : QString()};
    for (const QString &file : files)
        parts << (oneFolder ? QFileInfo(file).fileName() : file);
    return parts.join(QChar(u'\0'));
}

} // namespace orvella::commands

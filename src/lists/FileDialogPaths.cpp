#include "lists/FileDialogPaths.h"

namespace orvella::lists {

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

} // namespace orvella::lists

#include "core/Paths.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace orvella::core {

bool FileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    return QFileInfo::exists(path);
}

QStringView FileNamePart(QStringView text)
{
    const qsizetype slash = text.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? text : text.mid(slash + 1);
}

QString programFolder()
{
    QString folder = QCoreApplication::applicationDirPath();
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

} // namespace orvella::core

#include "core/AppInfo.h"

namespace orvella::core {

QString applicationTitle(const QString &productName)
{
    QString title = productName;
    do {
        const qsizetype blank = title.lastIndexOf(QLatin1Char(' '));
        if (blank < 0)
            break;
        title.truncate(blank);
    } while (title.size() > 40);
    return title;
}

} // namespace orvella::core

#include "core/ErrorReport.h"

#include "core/AppInfo.h"
#include "core/Desktop.h"

namespace orvella::core {

QString errorReportText(const QString &description, const QString &module, const QString &procedure,
                        int step)
{
    return description + QStringLiteral("\r\n") + QStringLiteral("in ") + QLatin1String(kProjectLabel)
        + QLatin1Char('.') + module + QLatin1Char('.') + procedure + QLatin1Char(' ')
        + QStringLiteral("at line ") + QString::number(step) + QStringLiteral("\r\r")
        + QStringLiteral("Please email screenshot of this message to ") + QLatin1String(kSupportEmail);
}

void showErrorReport(Desktop &desktop, const QString &description, const QString &module,
                     const QString &procedure, int step)
{
    desktop.messageBox(errorReportText(description, module, procedure, step), MessageStyle::Exclamation,
                       QLatin1String(kErrorReportTitle));
}

} // namespace orvella::core

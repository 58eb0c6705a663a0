#include "core/ErrorReport.h"

#include "core/AppInfo.h"
#include "core/Desktop.h"

#include <cstdio>

namespace orvella::core {

QString errorReportText(const QString &description, const QString &module, const QString &procedure,
                        int step)
{
    // Built in one piece of memory: when the report is about memory running out, the
    // fewer allocations it needs the likelier it is shown.
    const QLatin1String lineEnd("\r\n"), in("in "), label(kProjectLabel), atLine(" at line "),
        paragraph("\r\r"), request("Please email screenshot of this message to "), email(kSupportEmail);
    char digits[16];
    const int digitCount = std::snprintf(digits, sizeof digits, "%d", step);
    const QLatin1String number(digits, digitCount);
    QString text;
    text.reserve(description.size() + lineEnd.size() + in.size() + label.size() + 1 + module.size() + 1 +
                 procedure.size() + atLine.size() + number.size() + paragraph.size() + request.size() + email.size());
    text.append(description).append(lineEnd).append(in).append(label).append(QLatin1Char('.')).append(module);
    text.append(QLatin1Char('.')).append(procedure).append(atLine).append(number).append(paragraph);
    text.append(request).append(email);
    return text;
}

void showErrorReport(Desktop &desktop, const QString &description, const QString &module,
                     const QString &procedure, int step)
{
    desktop.messageBox(errorReportText(description, module, procedure, step), MessageStyle::Exclamation,
                       QLatin1String(kErrorReportTitle));
}

} // namespace orvella::core

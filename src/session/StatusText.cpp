#include "session/StatusText.h"

#include "core/NumberText.h"

namespace orvella::session {

QString statusText(int names, int results, const QString &lastDone)
{
    const QString separator = QStringLiteral(" \u00b7 ");
    QString text = core::countOf(names, "name", "names") + separator + core::countOf(results, "result", "results");
    if (!lastDone.isEmpty())
        text += separator + lastDone;
    return text;
}

} // namespace orvella::session

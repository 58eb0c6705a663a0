#include "export/SpreadsheetPresence.h"

#include <QProcess>
#include <QStandardPaths>

namespace orvella::exporting {
namespace {
// xdg-mime reads a few small files; a desktop that takes longer is treated as having
// no answer rather than holding up the window.
constexpr int kQueryWaitMs = 5000;
} // namespace

QStringList knownSpreadsheetPrograms()
{
    return {QStringLiteral("libreoffice"), QStringLiteral("localc"), QStringLiteral("soffice"),
            QStringLiteral("gnumeric"), QStringLiteral("ssconvert")};
}

bool spreadsheetApplicationPresent()
{
    for (const QString &program : knownSpreadsheetPrograms()) {
        if (!QStandardPaths::findExecutable(program).isEmpty())
            return true;
    }

    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return false;
    QProcess query;
    query.setProcessChannelMode(QProcess::SeparateChannels);
    query.setStandardInputFile(QProcess::nullDevice());
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QLatin1String(kXlsxMimeType)});
    if (!query.waitForFinished(kQueryWaitMs)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return false;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace orvella::exporting

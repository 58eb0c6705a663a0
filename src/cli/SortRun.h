#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace orvella::commands {
class PaperOutput;
} // namespace orvella::commands
namespace orvella::core {
class SettingsStore;
} // namespace orvella::core

namespace orvella::cli {

// "orvella --sort": reads the names, sorts them as the window would with the same
// session, and writes the results. `arguments` are those after "--sort"; `stored` is
// the user's settings store. Answers the exit status: 0 all read and written, 1 some
// input could not be read, the results could not be written or a step of the run
// reported a failure (then the output is left as it was), 2 a usage error. `paper` writes
// the PDF documents of --format pdf (none: that format fails).
int runSort(const QList<QByteArray> &arguments, const core::SettingsStore &stored, const QString &version,
            commands::PaperOutput *paper = nullptr);

} // namespace orvella::cli

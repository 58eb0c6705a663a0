#include "lists/ListFileWriter.h"

#include "core/BackgroundWork.h"
#include "core/Desktop.h"
#include "core/Failure.h"
#include "core/FileReplacement.h"
#include "core/InPlaceText.h"
#include "core/Paths.h"
#include "core/ProgressState.h"
#include "core/Utf8.h"
#include "lists/NameListModel.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvella::lists {

using core::Failure;

void WriteListFile(const NameListModel &list, const QString &path, core::ProgressState *progress,
                   core::Desktop &desktop)
{
    WriteListFile(list, path, progress, desktop, {});
}

namespace {

// Writes the table into the output that open() gives once the column is measured, and
// commits it.
template<typename Open>
void writeTable(const NameListModel &list, const QString &text, core::ProgressState *progress,
                core::Desktop &desktop, Open &&open)
{
    const auto show = [&](double position) {
        desktop.yield();
        progress->setPosition(position);
        progress->setText(text);
        desktop.yield();
    };

    if (progress)
        show(1);

    // The file holds the items there were when the save began, so that every written
    // item was measured; items appended meanwhile are not written.
    const int n = list.count();
    // The one column is as wide as its caption or its longest item.
    const QString caption = list.caption();
    qsizetype width = caption.size();
    for (int i = 1; i <= n; ++i) {
        desktop.yield();
        width = std::max(width, list.itemView(i).size());
    }
    if (progress)
        show(10);

    core::FileOutput &out = open();
    QString line;
    const auto field = [&](QStringView value) {
        line.truncate(0); // keeps the buffer for the next line
        line.append(value);
        if (line.size() < width)
            line.resize(width, QLatin1Char(' '));
        line.append(QLatin1Char('\t'));
    };

    desktop.yield();
    field(caption);
    out.writeLine(line);
    if (progress)
        show(20);

    for (int i = 1; i <= n; ++i) {
        desktop.yield();
        desktop.yield(); // before the column
        field(list.itemView(i));
        if (progress) {
            desktop.yield();
            const int now = list.count();
            if (now == 0)
                throw Failure(QStringLiteral("Division by zero"));
            progress->setPosition((double(i) + double(now / 2000)) / double(now) * 100.0);
            if (i % 1000 == 0)
                progress->setText(text + QStringLiteral(" (") + QString::number(i) + QLatin1Char(')'));
            desktop.yield();
        }
        out.writeLine(line);
    }

    // "Done." only once the file is really in place.
    out.commit([&desktop] { desktop.yield(); });
    if (progress) {
        progress->setPosition(100);
        progress->setText(QStringLiteral("Done."));
        progress->setPosition(0);
        progress->setText(core::ProgressState::kIdleText);
    }
}

} // namespace

void WriteListFile(const NameListModel &list, const QString &path, core::ProgressState *progress,
                   core::Desktop &desktop, const core::FileOutput::DeviceFilter &filter)
{
    std::optional<core::FileOutput> out;
    writeTable(list, QStringLiteral("Writing file: ") + core::FileNamePart(path).toString(), progress, desktop,
               [&]() -> core::FileOutput & { return out.emplace(path, filter); });
}

void WriteListTable(const NameListModel &list, core::FileOutput &out, const QString &name,
                    core::ProgressState *progress, core::Desktop &desktop)
{
    writeTable(list, QStringLiteral("Writing file: ") + name, progress, desktop,
               [&]() -> core::FileOutput & { return out; });
}

} // namespace orvella::lists

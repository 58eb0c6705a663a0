#include "commands/ListFileCommands.h"

#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "commands/CommandContext.h"
#include "core/NumberText.h"
#include "core/Paths.h"
#include "core/PointerState.h"
#include "core/Procedure.h"
#include "commands/FileDialogPaths.h"
#include "lists/ListFileReader.h"
#include "lists/NameListModel.h"
#include "lists/RememberedColumns.h"
#include "lists/TableLoad.h"

#include <QFile>
#include <QFileInfo>
#include <optional>
#include <utility>

namespace orvella::commands {
namespace {
const QString kSaveTitle = QStringLiteral("Save");

QString fileNameOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString fileNameOf(const QByteArray &nativePath)
{
    return fileNameOf(QFile::decodeName(nativePath));
}

// "Loaded 3 names from names.txt", "Loaded 5 names from 2 files", and what became of
// the tables' rows without a name ("Loaded 4 names from a.csv · 1 row has no name: it
// sorts first").
template<typename Path>
void tellLoaded(const CommandContext &ctx, int before, const QList<Path> &paths, const lists::TableRowCounts &counts)
{
    const QString from = paths.size() == 1 ? fileNameOf(paths.first()) : core::countOf(paths.size(), "file", "files");
    QString done = QStringLiteral("Loaded %1 from %2").arg(core::countOf(ctx.input.count() - before, "name", "names"), from);
    const QString note = lists::rowCountsNote(counts);
    if (!note.isEmpty())
        done += QStringLiteral(" \u00b7 ") + note;
    ctx.tellDone(done);
}
} // namespace

ListFileCommands::ListFileCommands(CommandContext &context) : m_context(context) {}

void ListFileCommands::loadNames()
{
    CommandContext &ctx = m_context;
    core::Procedure p(ctx.desktop, core::kMainWindowModule, "PushButton3_Click");
    p.step(100, [&] { m_fileName.clear(); });
    const core::FileDialogRequest request =
        p.value(102, core::FileDialogRequest(), [&] {
            core::FileDialogRequest names = listFileDialogRequest(kLoadListsTitle, m_fileName);
            names.filter = kNamesOrTablesFilter;
            return names;
        });
    QString answer;
    p.step(108, [&] {
        answer = ctx.desktop.openFileDialog(request);
        // With several files chosen, the first one's path is what a later dialog proposes.
        const QStringList chosen = selectedPaths(answer);
        m_fileName = chosen.isEmpty() ? QString() : chosen.first();
    });
    if (p.test(110, [&] { return answer.isEmpty(); }))
        return;

    const QStringList paths = p.value(112, QStringList(), [&] { return selectedPaths(answer); });
    const core::Pointer restore = p.value(114, core::Pointer::Default, [&] { return ctx.pointer.setBusy(); });
    const int before = ctx.input.count();
    m_rowCounts = {};
    if (p.test(116, [&] { return !answer.contains(QChar(u'\0')); })) {
        const QString path = p.value(118, QString(), [&] { return paths.value(0); });
        p.step(120, [&] { readInto(path); });
    } else {
        // A missing or unreadable file is reported, and the next one is still read.
        for (const QString &path : std::as_const(paths))
            p.step(134, [&] { readInto(path); });
    }
    tellLoaded(ctx, before, paths, m_rowCounts);
    p.step(138, [&] { ctx.pointer.set(restore); });
}

void ListFileCommands::saveNames()
{
    CommandContext &ctx = m_context;
    core::Procedure p(ctx.desktop, core::kMainWindowModule, "PushButton9_Click");
    // The loop's steps run once per name: a failure that would repeat for every name
    // (the list emptied meanwhile) shows one box, not one per remaining position.
    p.reportEachStepOnce();
    p.step(106, [&] { m_fileName.clear(); });
    const core::FileDialogRequest request =
        p.value(110, core::FileDialogRequest(), [&] { return listFileDialogRequest(kSaveTitle, m_fileName); });
    p.step(114, [&] { m_fileName = ctx.desktop.saveFileDialog(request); });
    const QString path = p.value(116, QString(), [&] { return m_fileName; });
    if (p.test(118, [&] { return path.isEmpty(); }))
        return;

    int answer = core::MessageAnswer::No;
    if (p.test(120, [&] { return core::FileExists(path); })) {
        p.step(122, [&] {
            answer = ctx.desktop.messageBox(QStringLiteral("Are you sure you wish to overwrite ") + path +
                                                QStringLiteral(" ?"),
                                            core::MessageStyle::YesNo, ctx.title);
        });
    } else {
        p.step(124, [&] { answer = core::MessageAnswer::Yes; });
    }
    if (p.test(126, [&] { return answer != core::MessageAnswer::Yes; }))
        return;

    const core::Pointer restore = p.value(128, core::Pointer::Default, [&] { return ctx.pointer.setBusy(); });
    // For an ordinary file the lines go to a temporary file that replaces the old one
    // only when all of them are written, so a failed save leaves the old file as it
    // was (see core::FileOutput for the targets written in place).
    std::optional<core::FileOutput> file;
    p.step(130, [&] { file.emplace(path, m_outputFilter); });

    const int n = p.value(132, 0, [&] { return ctx.input.count(); });
    // Without a file (creation failed, reported once) there is nothing to write to;
    // after a name that could not be written (a failed write, a name gone from the
    // list) the rest is not written either: the file would not hold the whole list.
    bool whole = file.has_value();
    for (int i = 1; i <= n && whole; ++i) {
        p.step(134, [&] { ctx.desktop.yield(); });
        whole = false;
        p.step(136, [&] {
            file->writeLine(ctx.input.itemView(i));
            whole = true;
        });
    }

    bool saved = false;
    if (whole) {
        p.step(140, [&] {
            file->commit([&ctx] { ctx.desktop.yield(); });
            saved = true;
            ctx.tellDone(QStringLiteral("Saved %1 to %2").arg(core::countOf(n, "name", "names"), fileNameOf(path)));
        });
    }
    file.reset();
    // "Done." only when the file really holds the list.
    if (saved)
        p.step(142, [&] { ctx.desktop.messageBox(QStringLiteral("Done."), core::MessageStyle::Ok, ctx.title); });
    p.step(144, [&] { ctx.pointer.set(restore); });
}

void ListFileCommands::saveResults()
{
    CommandContext &ctx = m_context;
    core::Procedure p(ctx.desktop, core::kMainWindowModule, "PushButton4_Click");
    // The dialog proposes the name chosen last in any of the window's file dialogs,
    // which after a load is the names file itself: replacing a file takes a Yes.
    const core::FileDialogRequest request = p.value(106, core::FileDialogRequest(), [&] {
        core::FileDialogRequest save = listFileDialogRequest(kSaveTitle, m_fileName);
        save.confirmOverwrite = true;
        return save;
    });
    QString path;
    p.step(112, [&] {
        path = ctx.desktop.saveFileDialog(request);
        // Cancelling keeps the name proposed this time for the next time.
        if (!path.isEmpty())
            m_fileName = path;
    });
    if (p.test(114, [&] { return path.isEmpty(); }))
        return;

    const core::Pointer restore = p.value(118, core::Pointer::Default, [&] { return ctx.pointer.setBusy(); });
    p.step(120, [&] {
        lists::WriteListFile(ctx.results, path, &ctx.progress, ctx.desktop, m_outputFilter);
        ctx.tellDone(QStringLiteral("Saved %1 to %2")
                         .arg(core::countOf(ctx.results.count(), "result", "results"), fileNameOf(path)));
    });
    p.step(122, [&] { ctx.pointer.set(restore); });
}

void ListFileCommands::appendFiles(const QStringList &paths)
{
    appendFiles("ListView1_OLEDragDrop", paths);
}

void ListFileCommands::appendStartFiles(const QList<QByteArray> &paths)
{
    appendFiles("OpenFiles", paths);
}

template<typename Path>
void ListFileCommands::appendFiles(const char *procedure, const QList<Path> &paths)
{
    CommandContext &ctx = m_context;
    core::Procedure p(ctx.desktop, core::kMainWindowModule, procedure);
    const core::Pointer restore = p.value(100, core::Pointer::Default, [&] { return ctx.pointer.setBusy(); });
    const int before = ctx.input.count();
    m_rowCounts = {};
    for (const Path &path : paths)
        p.step(102, [&] { readInto(path); });
    tellLoaded(ctx, before, paths, m_rowCounts);
    p.step(104, [&] { ctx.pointer.set(restore); });
}

void ListFileCommands::forgetRememberedColumns()
{
    CommandContext &ctx = m_context;
    core::Procedure p(ctx.desktop, core::kMainWindowModule, "mnuForgetColumns_Click");
    p.step(100, [&] {
        lists::RememberedColumns(ctx.settings).forgetAll();
        ctx.tellDone(QStringLiteral("Forgot the remembered name columns: every table asks again"));
    });
}

void ListFileCommands::readInto(const QString &path)
{
    lists::ReadNamesOrTable(m_context.input, path, m_context.desktop, m_context.settings, m_context.title,
                     lists::FileReading::Yielding, &m_rowCounts);
}

void ListFileCommands::readInto(const QByteArray &nativePath)
{
    // A name that is valid text is read by its text, as a table when it names one.
    const QString path = QFile::decodeName(nativePath);
    if (QFile::encodeName(path) == nativePath)
        readInto(path);
    else
        lists::ReadListFile(m_context.input, nativePath, m_context.desktop, m_context.title);
}

} // namespace orvella::commands

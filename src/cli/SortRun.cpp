#include "cli/SortRun.h"

#include "cli/ColumnPicks.h"
#include "cli/GroupFlags.h"
#include "cli/DuplicateReport.h"
#include "cli/OverlaySettings.h"
#include "cli/ResultWriter.h"
#include "cli/SortRequest.h"
#include "cli/TerminalDesktop.h"
#include "cli/TerminalProgress.h"
#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "core/Procedure.h"
#include "core/VectorState.h"
#include "lists/ListFileReader.h"
#include "lists/RememberedColumns.h"
#include "lists/TableLoad.h"
#include "session/Session.h"
#include "commands/SortCommand.h"
#include "suffixes/SuffixStore.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <memory>
#include <new>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace orvella::cli {
namespace {

using Reading = SortRequest::Reading;

QString shownName(const QByteArray &file)
{
    return file == "-" ? QStringLiteral("standard input") : QFile::decodeName(file);
}

// Appends the names of one input to the list; false (said on standard error) when it
// could not be read. With settings, a CSV, TSV, Excel or OpenDocument file is read as
// a table, as the window reads it: by the columns remembered for its header, else the
// columns the header names (nobody is asked).
bool readInput(lists::NameListModel &list, const QByteArray &file, TerminalDesktop &desktop,
               core::SettingsStore *tables = nullptr)
{
    const QString name = shownName(file);
    try {
        if (file == "-") {
            QFile input;
            if (!input.open(STDIN_FILENO, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
                throw core::Failure(input.errorString());
            lists::ReadListStream(list, input, name, desktop);
            return true;
        }
        struct stat status {};
        if (::stat(file.constData(), &status) != 0) {
            tellError(name + QStringLiteral(": ") + qt_error_string(errno));
            return false;
        }
        const QString path = QFile::decodeName(file);
        if (tables && QFile::encodeName(path) == file)
            lists::ReadNamesOrTable(list, path, desktop, *tables, QString(), lists::FileReading::TwoHalves);
        else
            lists::ReadListFile(list, file, desktop, QString(), lists::FileReading::TwoHalves);
        return true;
    } catch (const core::Failure &failure) {
        tellError(name + QStringLiteral(": ") + failure.description());
        return false;
    }
}

// Reads every input into the session's list, as the window opens the files named on
// its command line; false when some input could not be read. Memory running out is
// reported as the window reports it (and what was read is let go).
bool readInputs(const QList<QByteArray> &files, session::Session &session, TerminalDesktop &desktop,
                TerminalProgress &progress)
{
    core::Procedure p(desktop, core::kMainWindowModule, "OpenFiles");
    p.onOutOfMemory([&session] { session.inputList().clear(); });
    bool read = true;
    for (const QByteArray &file : files) {
        p.step(102, [&] {
            progress.note(QStringLiteral("Reading ") + shownName(file));
            if (!readInput(session.inputList(), file, desktop, &session.settings()))
                read = false;
        });
    }
    return read;
}

// The entries of a list file (suffixes, particles or titles), or none when it cannot be read.
std::optional<QStringList> readEntries(const QByteArray &file, TerminalDesktop &desktop)
{
    lists::NameListModel entries{QString()};
    if (!readInput(entries, file, desktop))
        return std::nullopt;
    return entries.items();
}

// Puts the request's choices over the stored ones; false when a list file could not
// be read.
bool applyChoices(const SortRequest &request, session::Session &session, TerminalDesktop &desktop)
{
    session::OptionSettings &options = session.options();
    if (request.reading) {
        options.chooseSortBy(*request.reading == Reading::FirstWord ? names::SortBy::FirstLast
                                                                    : names::SortBy::LastFirst);
        if (*request.reading != Reading::FirstWord)
            options.chooseLastWord(*request.reading == Reading::SkipSuffixes ? names::LastWordReading::SkipSuffixes
                                                                              : names::LastWordReading::LastWord);
    }
    if (request.alphabetical)
        session.reading().setOrder(*request.alphabetical ? names::NameOrder::Alphabetical : names::NameOrder::Exact);
    if (request.lastCommaFirst)
        session.reading().setLastCommaFirst(*request.lastCommaFirst);
    if (request.particles)
        session.reading().setKeepParticles(*request.particles);
    if (request.stepOverExtras)
        session.reading().setStepOverExtras(*request.stepOverExtras);
    if (request.familyNameFirst)
        session.reading().setFamilyNameFirst(*request.familyNameFirst);
    if (request.learnLastNames)
        session.reading().setLearnLastNames(*request.learnLastNames);
    if (request.twoFamilyNames)
        session.reading().setTwoFamilyNames(*request.twoFamilyNames);
    if (request.noFiledAs)
        session.reading().setFiledAs({});
    if (request.removeDuplicates)
        options.setRemoveDuplicates(*request.removeDuplicates);
    if (request.uniqueLastNames)
        options.setKeepUnique(*request.uniqueLastNames);
    if (request.perLastName) {
        if (*request.perLastName)
            options.setLimitText(request.perLastNameCount);
        options.setKeepLimited(*request.perLastName);
    }
    bool read = true;
    if (request.suffixFile) {
        // The session loads its live list from the store when the sort first needs it.
        if (const auto entries = readEntries(*request.suffixFile, desktop))
            session.settings().write(QLatin1String(suffixes::kSuffixListKey), suffixes::packSuffixList(*entries));
        else
            read = false;
    }
    if (request.particleFile) {
        if (const auto entries = readEntries(*request.particleFile, desktop))
            session.reading().setParticles(*entries);
        else
            read = false;
    }
    if (request.titleFile) {
        if (const auto entries = readEntries(*request.titleFile, desktop))
            session.reading().setTitles(*entries);
        else
            read = false;
    }
    if (request.filedAsFile) {
        if (const auto entries = readEntries(*request.filedAsFile, desktop))
            session.reading().setFiledAs(names::FiledAsList::readLines(entries->join(QLatin1Char('\n'))));
        else
            read = false;
    }
    return read;
}

// With --columns or --header-row the command line picks a table's name columns itself:
// the desktop answers the column dialog so, and the choices the window remembered are
// not looked at, as they might be loaded without asking.
void pickColumnsOfTables(const SortRequest &request, TerminalDesktop &desktop, OverlaySettings &settings)
{
    if (request.columns.isEmpty() && !request.headerRow)
        return;
    desktop.answerColumns = [&request](const core::ColumnRequest &asked) {
        return pickColumns(asked, request.columns, request.headerRow);
    };
    settings.hideStored = &lists::RememberedColumns::isItsKey;
}

int usageError(const QString &message)
{
    tellError(message);
    std::fprintf(stderr, "%s\n", qPrintable(sortUsageLine()));
    return 2;
}

} // namespace

namespace {
// --likely-duplicates: the groups instead of the sorted names; the exit status.
int listLikelyDuplicates(const SortRequest &request, session::Session &session, core::FileOutput &out,
                         TerminalProgress &progress, int status)
{
    try {
        writeLikelyDuplicates(session, out, request.crlf);
    } catch (const core::Failure &failure) {
        if (out.failedWith() != EPIPE)
            tellError(failure.description());
        status = 1;
    }
    progress.finish();
    return status;
}
} // namespace

int runSort(const QList<QByteArray> &arguments, const core::SettingsStore &stored, const QString &version,
            commands::PaperOutput *paper)
{
    SortRequest request;
    try {
        request = parseSortArguments(arguments);
    } catch (const UsageError &error) {
        return usageError(error.message);
    }
    if (request.help) {
        std::fputs(sortHelpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (request.version) {
        std::printf("Orvella %s\n", qPrintable(version));
        return 0;
    }
    core::clearUpperVectorState(); // before the reading, too: see there
    // A reader that goes away (| head) ends the writing with an error, not a signal.
    std::signal(SIGPIPE, SIG_IGN);

    TerminalDesktop desktop;
    OverlaySettings settings(request.defaults ? nullptr : &stored);
    pickColumnsOfTables(request, desktop, settings);
    session::Session session(desktop, settings);
    session.context().paper = paper;
    TerminalProgress progress(session.progress());
    session.restore();
    int status = applyChoices(request, session, desktop) ? 0 : 1;

    // The output is opened first: when it cannot be, there is no point in sorting.
    std::unique_ptr<core::FileOutput> out;
    try {
        out = request.output ? std::make_unique<core::FileOutput>(QFile::decodeName(*request.output))
                             : core::FileOutput::standardOutput();
    } catch (const core::Failure &failure) {
        tellError(failure.description());
        return 1;
    }
    const QList<QByteArray> files = request.files.isEmpty() ? QList<QByteArray>{"-"} : request.files;
    if (!readInputs(files, session, desktop, progress))
        status = 1;
    // A column or row a table lacks, for its names or its groups, is a usage error.
    if (const std::optional<QString> refused =
            desktop.refusedColumns() ? desktop.refusedColumns() : applyGroupFlags(request, session)) {
        out->discard();
        progress.finish();
        return usageError(*refused);
    }
    if (request.likelyDuplicates && desktop.reports() == 0)
        return listLikelyDuplicates(request, session, *out, progress, status);
    ResultWriter writer(request, session, *out, progress, desktop);
    // After a reported failure (memory ran out reading) there is nothing worth sorting.
    if (desktop.reports() == 0)
        session.sortCommand().run();
    // A reported failure means the results are not what was asked for: the output is
    // left as it was (a regular file untouched; standard output has had nothing since).
    if (desktop.reports() > 0) {
        out->discard();
        progress.finish();
        return 1;
    }
    try {
        writer.finish();
    } catch (const core::Failure &failure) {
        progress.finish();
        // A reader that has gone away wants no more and needs no message.
        if (out->failedWith() != EPIPE)
            tellError(failure.description());
        return 1;
    } catch (const std::bad_alloc &) {
        // Building the table's lines can run out of memory too: the output is left as
        // it was, as after any other report.
        out->discard();
        progress.finish();
        tellError(QStringLiteral("Out of memory in writing the results"));
        return 1;
    }
    progress.finish();
    return status;
}

} // namespace orvella::cli

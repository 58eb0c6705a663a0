#include "cli/ResultWriter.h"

#include "cli/TerminalDesktop.h"
#include "cli/TerminalProgress.h"
#include "core/FileOutput.h"
#include "export/ResultTable.h"
#include "lists/ListFileWriter.h"
#include "session/Session.h"
#include "commands/PaperOutput.h"
#include "commands/PaperRows.h"
#include "commands/PaperSettings.h"
#include "commands/SortCommand.h"
#include "commands/CommandContext.h"

#include <QFileInfo>

#include <QFile>

namespace orvella::cli {
namespace {

using Format = SortRequest::Format;

// The export format the request asks for; none for the list, the table and --explain
// (which tsv is of names that came from no table).
std::optional<tables::TableFormat> exportFormat(Format format, bool fromTable)
{
    switch (format) {
    case Format::Csv:
        return tables::TableFormat::Csv;
    case Format::Tsv:
        return fromTable ? std::optional(tables::TableFormat::Tsv) : std::nullopt;
    case Format::Xlsx:
        return tables::TableFormat::Xlsx;
    case Format::Ods:
        return tables::TableFormat::Ods;
    case Format::List:
    case Format::Table:
    case Format::Explain:
    case Format::Pdf:
        break;
    }
    return std::nullopt;
}

} // namespace

ResultWriter::ResultWriter(const SortRequest &request, session::Session &session, core::FileOutput &out,
                           TerminalProgress &progress, const TerminalDesktop &desktop)
    : m_request(request), m_session(session), m_out(out), m_progress(progress), m_desktop(desktop),
      m_export(exportFormat(request.format, session.inputList().hasRows())),
      m_steppedColumn(session.reading().choices().stepOverExtras)
{
    // The table is what "Save Results As Text File" writes, CR LF and all; --crlf is
    // for the list and --explain. An export writes its own bytes.
    const bool whole = request.format == Format::Table || request.format == Format::Pdf || m_export;
    out.setLineEnd(request.crlf || request.format == Format::Table ? QByteArrayView("\r\n") : QByteArrayView("\n"));
    if (!whole)
        out.setBatched(true);
    commands::SortCommand::Output output;
    if (!whole) {
        // The names as read are no longer needed once every key is made; results kept
        // whole are places among them.
        output.namesRead = [&session] { session.inputList().clear(); };
        output.wantsReading = request.format != Format::List;
        output.take = [this](QStringView shown, const names::NameReading *reading) { take(shown, reading); };
    }
    session.sortCommand().setOutput(std::move(output));
}

void ResultWriter::finish()
{
    if (m_failure)
        throw *m_failure;
    if (m_export)
        writeExport(*m_export);
    else if (m_request.format == Format::Pdf)
        writePdf();
    else if (m_request.format == Format::Table)
        lists::WriteListTable(m_session.resultList(), m_out, QStringLiteral("standard output"), nullptr,
                              m_session.desktop());
    else
        m_out.commit();
}

void ResultWriter::writeExport(tables::TableFormat format)
{
    m_progress.note(QStringLiteral("Writing results"));
    const QString target = m_request.output ? QFile::decodeName(*m_request.output) : QStringLiteral("standard output");
    const core::ExportOptions options = exportOptions();
    const exporting::ResultTable rows(m_session.resultList(), options, m_session.sortCommand().resultPartsReader());
    const QStringList changes = tables::writeTableInto(m_out, target, format, rows, {}, options);
    m_out.commit();
    // The file is written; what had to change in it to fit its format is told.
    for (const QString &change : changes)
        tellError(change);
}

void ResultWriter::writePdf()
{
    commands::PaperOutput *paper = m_session.context().paper;
    if (!paper)
        throw core::Failure(QStringLiteral("this program was built without its PDF writer"));
    m_progress.note(QStringLiteral("Writing results"));
    core::PaperChoices choices = commands::storedPaperChoices(m_session.settings());
    choices.layout = m_request.layout.value_or(choices.layout);
    if (!m_request.paperColumns.isEmpty())
        choices.columns = m_request.paperColumns;
    const QString firstFile = m_request.files.isEmpty() || m_request.files.front() == "-"
                                  ? QString()
                                  : QFileInfo(QFile::decodeName(m_request.files.front())).completeBaseName();
    choices.title = m_request.title.value_or(firstFile.isEmpty() ? QStringLiteral("Results") : firstFile);
    commands::PaperRows rows = commands::paperRows(m_session.resultList(), choices,
                                                   m_session.sortCommand().resultPartsReader());
    rows.title = choices.title;
    if (const QStringList missing = paper->namesWithoutFont(rows, {}); !missing.isEmpty())
        throw core::Failure(QStringLiteral("no installed font has every letter of: %1").arg(missing.join(QStringLiteral(", "))));
    m_out.writeBytes(paper->pdf(rows, choices, {}));
    m_out.commit();
}

// The export's choices as the window's dialog proposes them before anything is
// stored, with the request's over them.
core::ExportOptions ResultWriter::exportOptions() const
{
    core::ExportOptions options;
    if (const char16_t delimiter = exporting::ResultTable::sourceDelimiter(m_session.resultList()))
        options.delimiter = delimiter;
    if (m_request.delimiter)
        options.delimiter = *m_request.delimiter;
    if (m_request.nameColumns)
        options.nameColumns = *m_request.nameColumns;
    if (m_request.filedUnder)
        options.set(core::NameColumn::FiledUnder, true);
    if (m_request.encoding)
        options.encoding = *m_request.encoding;
    options.protectFormulas = m_request.protectFormulas;
    return options;
}

void ResultWriter::take(QStringView shown, const names::NameReading *reading)
{
    if (m_failure || m_desktop.reports() > 0)
        return;
    if (++m_written % 100000 == 0)
        m_progress.note(QStringLiteral("Writing results (%1)").arg(m_written));
    try {
        if (!reading)
            return m_out.writeLine(shown);
        m_line.resize(0);
        m_line.append(shown).append(QLatin1Char('\t')).append(reading->sortedUnder).append(QLatin1Char('\t'));
        m_line.append(reading->then);
        if (m_steppedColumn)
            m_line.append(QLatin1Char('\t')).append(reading->stepped);
        // A name the Filed-As list holds says so in a last field of its own.
        if (reading->filedAsSet)
            m_line.append(QStringLiteral("\tfiled as you set"));
        m_out.writeLine(m_line);
    } catch (const core::Failure &failure) {
        m_failure = failure;
    }
}

} // namespace orvella::cli

#include "commands/ResultExportCommand.h"

#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "core/NumberText.h"
#include "core/PointerState.h"
#include "core/Procedure.h"
#include "export/ResultTable.h"
#include "commands/CommandContext.h"
#include "commands/ExportSettings.h"
#include "lists/NameListModel.h"

#include <QFileInfo>

namespace orvella::commands {
namespace {

const QString kTitle = QStringLiteral("Export Results");

core::FileDialogRequest exportDialogRequest(const QString &fileName, core::ExportOptions *options)
{
    core::FileDialogRequest request;
    request.title = kTitle;
    request.filter = QStringLiteral("CSV (*.csv)|*.csv|TSV (*.tsv)|*.tsv|Excel Workbook (*.xlsx)|*.xlsx|"
                                    "OpenDocument Spreadsheet (*.ods)|*.ods|"
                                    "Plain list (one name a line) (*.txt)|*.txt|PDF document (*.pdf)|*.pdf|");
    request.fileName = fileName.isEmpty() ? QStringLiteral("Results.csv") : fileName;
    request.confirmOverwrite = true;
    request.addFilterSuffix = true;
    request.exportOptions = options;
    return request;
}

} // namespace

bool ResultExportCommand::isPdf(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

void ResultExportCommand::exportPdf(core::Procedure &p, const QString &path)
{
    CommandContext &ctx = m_context;
    core::PaperChoices choices;
    if (!p.value(120, false, [&] { return m_paper.askPdfChoices(path, choices); }))
        return;
    const core::Pointer restore = p.value(122, core::Pointer::Default, [&] { return ctx.pointer.setBusy(); });
    bool written = false;
    p.step(124, [&] { written = m_paper.writePdf(path, choices); });
    p.step(126, [&] { ctx.pointer.set(restore); });
    if (written)
        ctx.tellDone(QStringLiteral("Exported %1 to %2")
                         .arg(core::countOf(ctx.results.count(), "result", "results"), QFileInfo(path).fileName()));
}

tables::TableFormat ResultExportCommand::formatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("tsv") || suffix == QLatin1String("tab"))
        return tables::TableFormat::Tsv;
    if (suffix == QLatin1String("xlsx"))
        return tables::TableFormat::Xlsx;
    if (suffix == QLatin1String("ods"))
        return tables::TableFormat::Ods;
    if (suffix == QLatin1String("txt"))
        return tables::TableFormat::PlainList;
    return tables::TableFormat::Csv;
}

void ResultExportCommand::exportResults()
{
    CommandContext &ctx = m_context;
    core::Procedure p(ctx.desktop, core::kMainWindowModule, "ExportResults");
    if (p.test(100, [&] { return ctx.results.count() == 0; })) {
        p.step(102, [&] {
            ctx.desktop.messageBox(QStringLiteral("There are no results to export. Sort the names first."),
                                   core::MessageStyle::Ok, kTitle);
        });
        return;
    }
    // The choices as last answered; the delimiter is the one the results' own table had,
    // which is what the program that wrote that table reads.
    core::ExportOptions options = storedExportOptions(ctx.settings);
    if (const char16_t delimiter = exporting::ResultTable::sourceDelimiter(ctx.results))
        options.delimiter = delimiter;
    QString path;
    p.step(104, [&] { path = ctx.desktop.saveFileDialog(exportDialogRequest(m_fileName, &options)); });
    if (p.test(106, [&] { return path.isEmpty(); }))
        return;
    m_fileName = path;
    if (isPdf(path))
        return exportPdf(p, path);
    p.step(107, [&] { storeExportOptions(ctx.settings, options); });
    const core::Pointer restore = p.value(108, core::Pointer::Default, [&] { return ctx.pointer.setBusy(); });
    bool written = false;
    QStringList changes;
    p.step(110, [&] {
        const exporting::ResultTable rows(ctx.results, options,
                                          m_readerOfResults ? m_readerOfResults() : names::NamePartsReader());
        changes = tables::writeTable(path, formatOf(path), rows, [&] { ctx.desktop.yield(); }, options);
        written = true;
    });
    if (written)
        ctx.tellDone(QStringLiteral("Exported %1 to %2")
                         .arg(core::countOf(ctx.results.count(), "result", "results"), QFileInfo(path).fileName()));
    p.step(112, [&] { ctx.pointer.set(restore); });
    // The file is saved; what had to change in it to fit its format is told, not hidden.
    if (!changes.isEmpty())
        p.step(114, [&] { ctx.desktop.messageBox(changes.join(u'\n'), core::MessageStyle::Exclamation, kTitle); });
}

} // namespace orvella::commands

#include "commands/ExportCommands.h"

#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "commands/CommandContext.h"
#include "core/NumberText.h"
#include "core/PointerState.h"
#include "core/Procedure.h"
#include "export/Clipboard.h"
#include "export/ExportList.h"
#include "tables/xlsx/XlsxSpreadsheet.h"
#include "core/Spreadsheet.h"
#include "lists/NameListModel.h"

#include <QFileInfo>
#include <limits>

namespace orvella::commands {
namespace {

const QString kCopied = QStringLiteral("Results have been copied to the clipboard.\r\r"
                                       "Click a text area where you normally type and press Ctrl+V to paste the "
                                       "clipboard.");
const QString kNotCopied = QStringLiteral("The results could not be copied to the clipboard. Please try again.");
const QString kNotInstalledMethod = QStringLiteral(
    "Excel is not installed on this computer. You need to have it installed to use this software without error.");
const QString kNotInstalledFeature = QStringLiteral(
    "Excel is not installed on this computer. You need to have it installed to use this feature.");
const QString kSaveInstead = QStringLiteral("Save the workbook as a file instead?");

core::FileDialogRequest workbookDialogRequest()
{
    core::FileDialogRequest request;
    request.title = QStringLiteral("Save Results As Excel File");
    request.filter = QStringLiteral("Excel Workbooks (*.xlsx)|*.xlsx|All Files (*.*)|*.*|");
    request.fileName = QStringLiteral("Results.xlsx");
    request.confirmOverwrite = true;
    return request;
}

core::Spreadsheet &open(const std::unique_ptr<core::Spreadsheet> &spreadsheet)
{
    if (!spreadsheet)
        throw core::Failure(QStringLiteral("The spreadsheet application is not running"));
    return *spreadsheet;
}

} // namespace

ExportCommands::ExportCommands(CommandContext &context, std::unique_ptr<exporting::ExportList> results)
    : m_context(context),
      m_results(results ? std::move(results) : std::make_unique<exporting::NameListExport>(context.results))
{
}

ExportCommands::~ExportCommands() = default;

void ExportCommands::copyResults()
{
    core::Desktop &desktop = m_context.desktop;
    core::Procedure p(desktop, core::kMainWindowModule, "PushButton5_Click");
    // Success is claimed only when the text really is on the clipboard (or there was
    // nothing to copy); a refusing clipboard or a failure while building says otherwise.
    const bool copied = p.value(106, false, [&] { return exporting::CopyListToClipboard(desktop, *m_results); });
    p.step(108, [&] {
        if (copied) {
            m_context.tellDone(QStringLiteral("Copied ") + core::countOf(m_context.results.count(), "result", "results")
                               + QStringLiteral(" to the clipboard"));
            desktop.messageBox(kCopied, core::MessageStyle::Ok, m_context.title);
        }
        else
            desktop.messageBox(kNotCopied, core::MessageStyle::Exclamation, m_context.title);
    });
}

bool ExportCommands::spreadsheetAvailable()
{
    // Any failure of the check only means that there is no application to use.
    bool available = false;
    try {
        available = m_context.desktop.spreadsheetAvailable();
    } catch (...) {
        available = false;
    }
    if (!available) {
        try {
            m_context.desktop.messageBox(kNotInstalledMethod, core::MessageStyle::Ok, m_context.title);
        } catch (...) {
        }
    }
    return available;
}

void ExportCommands::openResultsInSpreadsheet()
{
    CommandContext &ctx = m_context;
    core::Desktop &desktop = ctx.desktop;
    const exporting::ExportList &list = *m_results;
    core::Procedure p(desktop, core::kMainWindowModule, "PushButton13_Click");
    // A spreadsheet that stops answering would otherwise report every remaining cell.
    p.reportEachStepOnce();

    if (p.test(100, [&] { return !spreadsheetAvailable(); })) {
        p.step(172, [&] { desktop.messageBox(kNotInstalledFeature, core::MessageStyle::Ok, ctx.title); });
        saveWorkbookInstead(p);
        return;
    }
    if (p.test(108, [&] { return list.itemCount() == 0; }))
        return;
    const core::Pointer restore = p.value(110, core::Pointer::Default, [&] { return ctx.pointer.setBusy(); });

    std::unique_ptr<core::Spreadsheet> application;
    p.step(112, [&] {
        application = desktop.createSpreadsheet();
        open(application);
    });
    fillWorkbook(p, application);
    p.step(168, [&] {
        open(application).makeVisible();
        ctx.tellDone(QStringLiteral("Sent ") + core::countOf(ctx.results.count(), "result", "results")
                     + QStringLiteral(" to the spreadsheet"));
    });
    p.step(170, [&] { ctx.pointer.set(restore); });
}

void ExportCommands::fillWorkbook(core::Procedure &p, const std::unique_ptr<core::Spreadsheet> &application)
{
    core::Desktop &desktop = m_context.desktop;
    const exporting::ExportList &list = *m_results;
    p.step(114, [&] { open(application).addWorkbook(); });

    int col = 1;
    p.step(116, [&] { col = 1; });
    const int columns = p.value(118, 0, [&] { return list.columnCount(); });
    for (int c = 1; c <= columns; ++c) {
        p.step(120, [&] { desktop.yield(); });
        p.step(122, [&] { open(application).setCell(1, col, list.caption(c)); });
        p.step(130, [&] { ++col; });
        p.step(132, [&] { open(application).autoFitColumn(c); });
    }

    int row = 2;
    p.step(136, [&] { row = 2; });
    const int items = p.value(138, 0, [&] { return list.itemCount(); });
    // Every row below the sheet's last one fails alike: once one has been tried (and
    // reported), the others would fail without a word, so they are not tried; ten
    // million results would otherwise take most of a minute.
    const int lastRow = application ? application->lastRow() : std::numeric_limits<int>::max();
    bool triedBelowSheet = false;
    for (int k = 1; k <= items && !triedBelowSheet; ++k) {
        p.step(140, [&] { desktop.yield(); });
        if (p.test(142, [&] { return list.isChecked(k); })) {
            triedBelowSheet = row > lastRow && columns > 0;
            p.step(144, [&] { col = 1; });
            for (int c = 1; c <= columns; ++c) {
                p.step(148, [&] { desktop.yield(); });
                if (c == 1) {
                    p.step(152, [&] { open(application).setCell(row, col, list.field(k, c)); });
                    p.step(154, [&] { ++col; });
                } else {
                    p.step(156, [&] {
                        open(application).setCell(row, col, list.field(k, c).remove(QLatin1Char('=')));
                    });
                    p.step(158, [&] { ++col; });
                }
            }
        }
        p.step(162, [&] { ++row; });
    }

    p.step(166, [&] { open(application).autoFitAllColumns(); });
}

void ExportCommands::saveWorkbookInstead(core::Procedure &p)
{
    CommandContext &ctx = m_context;
    core::Desktop &desktop = ctx.desktop;
    // Without results there is no workbook to keep.
    if (p.test(174, [&] { return m_results->itemCount() == 0; }))
        return;
    int answer = core::MessageAnswer::No;
    p.step(176, [&] { answer = desktop.messageBox(kSaveInstead, core::MessageStyle::YesNo, ctx.title); });
    if (answer != core::MessageAnswer::Yes)
        return;
    // The dialog itself asks before it names a file that is there already.
    QString path;
    p.step(178, [&] { path = desktop.saveFileDialog(workbookDialogRequest()); });
    if (path.isEmpty())
        return;

    const core::Pointer restore = p.value(180, core::Pointer::Default, [&] { return ctx.pointer.setBusy(); });
    // The same workbook the application would have been given, written to the file.
    auto workbook = std::make_unique<tables::XlsxSpreadsheet>([](const QString &) { return false; }, QString(),
                                                      [&desktop] { desktop.yield(); });
    tables::XlsxSpreadsheet &file = *workbook;
    std::unique_ptr<core::Spreadsheet> application = std::move(workbook);
    fillWorkbook(p, application);
    p.step(182, [&] {
        file.saveAs(path);
        ctx.tellDone(QStringLiteral("Saved %1 to %2")
                         .arg(core::countOf(ctx.results.count(), "result", "results"), QFileInfo(path).fileName()));
    });
    p.step(184, [&] { ctx.pointer.set(restore); });
}

} // namespace orvella::commands

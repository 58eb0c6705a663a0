#include "commands/PaperCommand.h"

#include "commands/CommandContext.h"
#include "commands/PaperOutput.h"
#include "commands/PaperRows.h"
#include "commands/PaperSettings.h"
#include "core/Desktop.h"
#include "core/ErrorReport.h"
#include "core/FileOutput.h"
#include "core/NumberText.h"
#include "core/PointerState.h"
#include "core/Procedure.h"
#include "core/ProgressState.h"
#include "lists/NameListModel.h"

#include <QFileInfo>
#include <cmath>

namespace orvella::commands {
namespace {

const QString kPrintTitle = QStringLiteral("Print Results");
const QString kExportTitle = QStringLiteral("Export Results");
// At most this many names are listed in the message about names no font has.
constexpr int kNamesTold = 10;

} // namespace

PaperRows PaperCommand::rowsFor(const core::PaperChoices &choices) const
{
    PaperRows rows = paperRows(m_context.results, choices,
                               m_readerOfResults ? m_readerOfResults() : names::NamePartsReader(),
                               [this] { m_context.desktop.yield(); });
    rows.title = choices.title;
    return rows;
}

bool PaperCommand::refusedForFonts(const PaperRows &rows) const
{
    const QStringList missing = m_context.paper->namesWithoutFont(rows, [this] { m_context.desktop.yield(); });
    if (missing.isEmpty())
        return false;
    QString text = QStringLiteral("No installed font has every letter of %1, which would print as empty boxes:\n")
                       .arg(core::countOf(int(missing.size()), "name", "names"));
    text += missing.mid(0, kNamesTold).join(u'\n');
    if (missing.size() > kNamesTold)
        text += QStringLiteral("\n\u2026");
    text += QStringLiteral("\n\nInstall a font for their script and try again.");
    m_context.desktop.messageBox(text, core::MessageStyle::Exclamation, m_context.title);
    return true;
}

void PaperCommand::showProgress(double done) const
{
    m_context.progress.setPosition(std::floor(done * 100.0));
    m_context.desktop.yield();
}

void PaperCommand::printResults()
{
    CommandContext &ctx = m_context;
    core::Procedure p(ctx.desktop, core::kMainWindowModule, "PrintResults");
    if (ctx.results.count() == 0) {
        p.step(2, [&] {
            ctx.desktop.messageBox(QStringLiteral("There are no results to print. Sort the names first."),
                                   core::MessageStyle::Ok, kPrintTitle);
        });
        return;
    }
    if (!ctx.paper)
        return;
    core::PaperChoices choices = storedPaperChoices(ctx.settings);
    choices.title = QStringLiteral("Results");
    if (p.test(4, [&] { return refusedForFonts(rowsFor(choices)); }))
        return;
    core::PrintRequest request{{kPrintTitle, paperColumnCaptions(ctx.results), &choices}, {}};
    request.paint = [this](QPagedPaintDevice &device, const core::PaperChoices &shown) {
        const core::Pointer restore = m_context.pointer.setBusy();
        m_context.paper->paint(rowsFor(shown), shown, device, [this](double done) { showProgress(done); });
        m_context.progress.setPosition(0);
        m_context.pointer.set(restore);
    };
    bool printed = false;
    p.step(6, [&] { printed = ctx.desktop.printPages(request); });
    p.step(8, [&] { storePaperChoices(ctx.settings, choices); });
    if (printed)
        ctx.tellDone(QStringLiteral("Printed %1").arg(core::countOf(ctx.results.count(), "result", "results")));
}

bool PaperCommand::askPdfChoices(const QString &path, core::PaperChoices &choices)
{
    choices = storedPaperChoices(m_context.settings);
    choices.title = QFileInfo(path).completeBaseName();
    if (!m_context.desktop.choosePaperLayout({kExportTitle, paperColumnCaptions(m_context.results), &choices}))
        return false;
    storePaperChoices(m_context.settings, choices);
    return true;
}

bool PaperCommand::writePdf(const QString &path, const core::PaperChoices &choices)
{
    if (!m_context.paper)
        return false;
    const PaperRows rows = rowsFor(choices);
    if (refusedForFonts(rows))
        return false;
    const QByteArray document = m_context.paper->pdf(rows, choices, [this](double done) { showProgress(done); });
    m_context.progress.setPosition(0);
    core::FileOutput out(path);
    out.writeBytes(document);
    out.commit([this] { m_context.desktop.yield(); });
    return true;
}

} // namespace orvella::commands

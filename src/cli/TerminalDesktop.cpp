#include "cli/TerminalDesktop.h"

#include "cli/SortRequest.h"
#include "core/ErrorReport.h"
#include "core/Spreadsheet.h"

#include <cstdio>

namespace orvella::cli {

void tellError(const QString &text)
{
    std::fprintf(stderr, "orvella: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

int TerminalDesktop::messageBox(const QString &text, int style, const QString &title)
{
    // Only the reports of failed steps matter here; "Done." and the like go unsaid.
    if (title == QLatin1String(core::kErrorReportTitle) || (style & core::MessageStyle::Exclamation)) {
        ++m_reports;
        QString line = text;
        line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\r'), QLatin1Char(' '));
        tellError(line.simplified());
    }
    return style == core::MessageStyle::YesNo ? core::MessageAnswer::No : core::MessageAnswer::Ok;
}

core::ColumnChoice TerminalDesktop::chooseNameColumns(const core::ColumnRequest &request)
{
    if (!answerColumns)
        return request.proposed;
    try {
        return answerColumns(request);
    } catch (const UsageError &error) {
        if (!m_refusedColumns)
            m_refusedColumns = error.message;
        return core::ColumnChoice{}; // Cancel
    }
}

std::unique_ptr<core::Spreadsheet> TerminalDesktop::createSpreadsheet()
{
    return nullptr;
}

} // namespace orvella::cli

#pragma once

#include "commands/PaperCommand.h"
#include "names/NameParts.h"
#include "tables/TableExport.h"

#include <QString>
#include <functional>

namespace orvella::core {
class Procedure;
} // namespace orvella::core

namespace orvella::commands {

struct CommandContext;

// File > Export Results…: the result list as a CSV, TSV, Excel or OpenDocument file,
// as a plain list of names or as a PDF document laid out as a list or name badges; rows that came from a table go out whole, after the
// name columns chosen. The dialog's choices are remembered (see ExportSettings).
class ResultExportCommand {
public:
    // readerOfResults answers the reading that sorted the results (unset: the option
    // buttons' default reading), which the name columns take the names apart by.
    explicit ResultExportCommand(CommandContext &context,
                                 std::function<names::NamePartsReader()> readerOfResults = {})
        : m_context(context), m_readerOfResults(readerOfResults), m_paper(context, std::move(readerOfResults))
    {
    }

    void exportResults();

    // The format a file name asks for by its extension (CSV for one it does not know).
    static tables::TableFormat formatOf(const QString &path);
    // A PDF document (a .pdf file), which the paper layout writes.
    static bool isPdf(const QString &path);

private:
    void exportPdf(core::Procedure &p, const QString &path);

    CommandContext &m_context;
    std::function<names::NamePartsReader()> m_readerOfResults;
    PaperCommand m_paper;
    QString m_fileName; // proposed by the next dialog
};

} // namespace orvella::commands

#pragma once

#include "tables/TableExport.h"

#include <QString>

namespace orvella::commands {

struct CommandContext;

// File > Export Results…: the result list as a CSV, TSV, Excel or OpenDocument file,
// or as a plain list of names; rows that came from a table go out whole.
class ResultExportCommand {
public:
    explicit ResultExportCommand(CommandContext &context) : m_context(context) {}

    void exportResults();

    // The format a file name asks for by its extension (CSV for one it does not know).
    static tables::TableFormat formatOf(const QString &path);

private:
    CommandContext &m_context;
    QString m_fileName; // proposed by the next dialog
    bool m_filedUnder = false;
};

} // namespace orvella::commands

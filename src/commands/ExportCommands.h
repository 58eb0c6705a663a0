#pragma once

#include "export/ExportList.h"

#include <memory>

namespace orvella::core {
class Procedure;
class Spreadsheet;
} // namespace orvella::core

namespace orvella::commands {

struct CommandContext;

// The result list's exports: "Copy Results To Clipboard" and "Save Results As Excel File".
class ExportCommands {
public:
    // Exports the context's result list, or the given list when there is one.
    explicit ExportCommands(CommandContext &context, std::unique_ptr<exporting::ExportList> results = nullptr);
    ~ExportCommands();

    // Copy Results To Clipboard.
    void copyResults();
    // Save Results As Excel File.
    void openResultsInSpreadsheet();
    // True when a spreadsheet application can be started; otherwise says so and answers false.
    bool spreadsheetAvailable();

private:
    // Makes the application's new workbook: the captions, then the checked results, fitted.
    void fillWorkbook(core::Procedure &p, const std::unique_ptr<core::Spreadsheet> &application);
    // Without a spreadsheet application: offers to save the workbook as a file.
    void saveWorkbookInstead(core::Procedure &p);

    CommandContext &m_context;
    std::unique_ptr<exporting::ExportList> m_results;
};

} // namespace orvella::commands

#pragma once

#include "export/ExportList.h"

#include <memory>

namespace orvella::lists {
struct MainContext;
}

namespace orvella::exporting {

// The result list's exports: "Copy Results To Clipboard" and "Save Results As Excel File".
class ExportCommands {
public:
    // Exports the context's result list, or the given list when there is one.
    explicit ExportCommands(lists::MainContext &context, std::unique_ptr<ExportList> results = nullptr);
    ~ExportCommands();

    // Copy Results To Clipboard.
    void PushButton5_Click();
    // Save Results As Excel File.
    void PushButton13_Click();
    // True when a spreadsheet application can be started; otherwise says so and answers false.
    bool SaveResultsAsExcelFileIsExcelInstalled();

private:
    lists::MainContext &m_context;
    std::unique_ptr<ExportList> m_results;
};

} // namespace orvella::exporting

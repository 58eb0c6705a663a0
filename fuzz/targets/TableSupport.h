#pragma once

// What the table targets share: a folder for the files they read, a desktop that never
// blocks, and the rules every table read from any file must keep.

#include "core/Desktop.h"
#include "core/Spreadsheet.h"
#include "tables/TableFileReader.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace orvella::fuzz {

// A desktop whose boxes answer at once and whose dialogs choose nothing.
class QuietTableDesktop : public core::Desktop {
public:
    int messageBox(const QString &, int style, const QString &) override
    {
        return style == core::MessageStyle::YesNo ? core::MessageAnswer::Yes : core::MessageAnswer::Ok;
    }
    QString inputBox(const QString &, const QString &, const QString &) override { return {}; }
    QString openFileDialog(const core::FileDialogRequest &) override { return {}; }
    QString saveFileDialog(const core::FileDialogRequest &) override { return {}; }
    core::ColumnChoice chooseNameColumns(const core::ColumnRequest &) override { return {}; }
    bool choosePaperLayout(const core::PaperRequest &) override { return false; }
    bool printPages(const core::PrintRequest &) override { return false; }
    void yield() override {}
    bool clearClipboard() override { return true; }
    bool setClipboardText(const QString &) override { return true; }
    std::unique_ptr<core::Spreadsheet> createSpreadsheet() override { return nullptr; }
    bool spreadsheetAvailable() override { return false; }
    bool openUrl(const QString &) override { return false; }
    void endProgram() override {}
};

// A path in the targets' own folder (made once, removed at exit).
QString scratchPath(const QString &name);
void writeScratch(const QString &path, const QByteArray &bytes);
// A ZIP archive of the given parts, as bytes.
QByteArray zipOf(const std::vector<std::pair<QString, QByteArray>> &parts);

// A table read, or the failure's description.
struct TableRead {
    std::optional<tables::TableRows> rows;
    QString failure;
};
// Reads the file as readTableFile does; a core::Failure is an answer, anything else
// escapes (and the fuzzer reports it).
TableRead readTable(const QString &path);

// The rules for any table: every row as wide as columns() when read whole, no NUL in a
// cell; for a workbook's sheet also its row, column and cell-text limits. Only the first and last rows are looked at cell by cell.
void checkTable(const tables::TableRows &rows, bool sheet);

// The budget the targets read with: what the fuzzer's memory (2 GB, with the
// sanitizers' share) leaves a table.
void useFuzzBudget();

} // namespace orvella::fuzz

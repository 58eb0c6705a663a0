#pragma once

#include "core/Desktop.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace orvella::cli {

// The desktop of a run without a window: nothing is asked, nothing is shown but the
// error reports, which go to standard error as one line each; dialogs answer "cancel",
// there is no clipboard and no spreadsheet.
class TerminalDesktop : public core::Desktop {
public:
    int messageBox(const QString &text, int style, const QString &title) override;
    QString inputBox(const QString &, const QString &, const QString &) override { return QString(); }
    QString openFileDialog(const core::FileDialogRequest &) override { return QString(); }
    QString saveFileDialog(const core::FileDialogRequest &) override { return QString(); }
    // Nobody to ask: the table is read as proposed, or as answerColumns says.
    core::ColumnChoice chooseNameColumns(const core::ColumnRequest &request) override;
    bool choosePaperLayout(const core::PaperRequest &) override { return false; }
    bool printPages(const core::PrintRequest &) override { return false; }
    void yield() override {}
    bool clearClipboard() override { return false; }
    bool setClipboardText(const QString &) override { return false; }
    std::unique_ptr<core::Spreadsheet> createSpreadsheet() override;
    bool spreadsheetAvailable() override { return false; }
    bool openUrl(const QString &) override { return false; }
    void endProgram() override {}

    // How many error reports were shown.
    int reports() const { return m_reports; }

    // Answers the column dialog in place of the user. An answer that throws a UsageError
    // loads nothing of the table; the first such error is kept for the run to end with.
    std::function<core::ColumnChoice(const core::ColumnRequest &)> answerColumns;
    const std::optional<QString> &refusedColumns() const { return m_refusedColumns; }

private:
    int m_reports = 0;
    std::optional<QString> m_refusedColumns;
};

// Writes "orvella: " and the text as one line to standard error.
void tellError(const QString &text);

} // namespace orvella::cli

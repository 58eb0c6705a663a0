#pragma once

#include "core/Desktop.h"


class QWidget;

namespace orvella::app {

// The desktop as Qt offers it: QMessageBox, QInputDialog, QFileDialog, the clipboard,
// QDesktopServices and the event loop.
class QtDesktop : public core::Desktop {
public:
    QtDesktop();

    int messageBox(const QString &text, int style, const QString &title) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText) override;
    QString openFileDialog(const core::FileDialogRequest &request) override;
    QString saveFileDialog(const core::FileDialogRequest &request) override;
    core::ColumnChoice chooseNameColumns(const core::ColumnRequest &request) override;
    bool choosePaperLayout(const core::PaperRequest &request) override;
    bool printPages(const core::PrintRequest &request) override;
    std::optional<core::RowGrouping> chooseRowGrouping(const core::GroupingRequest &request) override;
    void yield() override;
    bool clearClipboard() override;
    bool setClipboardText(const QString &text) override;
    std::unique_ptr<core::Spreadsheet> createSpreadsheet() override;
    bool spreadsheetAvailable() override;
    bool openUrl(const QString &url) override;
    void endProgram() override;

    // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|" as a Qt name filter list.
    static QStringList nameFilters(const QString &filter);

private:
    QWidget *dialogParent() const;

    static qint64 coarseMilliseconds();

    qint64 m_lastEvents = 0;
};

} // namespace orvella::app

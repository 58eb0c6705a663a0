#pragma once

#include "core/Desktop.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace orvella::testing {

// A desktop that never blocks: every dialog answers from a script given in advance
// and is recorded. Yields are counted, and a test can run its own code at an exact
// yield to play a user clicking while a command works.
class ScriptedDesktop : public core::Desktop {
public:
    struct Message {
        QString text;
        int style;
        QString title;
    };
    struct Input {
        QString prompt;
        QString title;
        QString defaultText;
    };
    struct Dialog {
        bool save;
        core::FileDialogRequest request;
    };

    // Answers, used in order; when a queue is empty the box answers OK / Yes, the
    // input box "" (cancelled) and the file dialogs "" (cancelled).
    std::deque<int> messageAnswers;
    std::deque<QString> inputAnswers;
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    // How a save dialog's export choices are answered, in turn; unset: left as proposed.
    std::deque<core::ExportOptions> exportAnswers;
    // Answers to a save dialog's own question before it replaces an existing file (for
    // requests that ask it); Yes when empty. After No the dialog answers "" (the user
    // then cancels it).
    std::deque<bool> overwriteAnswers;
    // Answers of the name columns dialog; when empty it answers the choice proposed.
    std::deque<core::ColumnChoice> columnAnswers;
    // The answers of the Group By Column dialog, in turn; none left: Cancel.
    std::deque<std::optional<core::RowGrouping>> groupingAnswers;

    // Answers of the paper layout dialog and of the print preview, in turn: a choice
    // answers it with those choices, nothing cancels it; when empty they answer the
    // choices proposed.
    std::deque<std::optional<core::PaperChoices>> paperAnswers;
    std::deque<std::optional<core::PaperChoices>> printAnswers;
    // The device a print preview paints on (none: the preview paints nothing).
    QPagedPaintDevice *printDevice = nullptr;

    std::vector<Message> messages;
    std::vector<core::PaperChoices> paperProposals; // what each paper dialog or preview showed
    std::vector<QStringList> paperColumns;          // the columns each offered
    std::vector<Input> inputs;
    std::vector<Dialog> dialogs;
    std::vector<core::ExportOptions> exportProposals; // the export choices each dialog showed
    QStringList overwriteQuestions; // the files a save dialog asked about
    std::vector<core::ColumnRequest> columnRequests;
    std::vector<core::GroupingRequest> groupingRequests;
    std::vector<core::Pointer> pointers; // as the pointer state changed (the fixtures listen)
    QStringList openedUrls;
    int yields = 0;
    int endProgramCalls = 0;

    // Runs action when the yield with this number (counted from 1) happens.
    void atYield(int number, std::function<void()> action) { m_atYield[number].push_back(std::move(action)); }
    // Runs action at every yield.
    std::function<void()> onEveryYield;
    // Runs when a message box is shown (before it answers).
    std::function<void(const Message &)> onMessage;
    // Runs when the program would end (the real desktop leaves at once).
    std::function<void()> onEndProgram;

    // Clipboard: in memory; the next `clipboardRefusals` attempts fail.
    QString clipboard;
    bool clipboardHasText = false;
    int clipboardRefusals = 0;
    int clipboardAttempts = 0;

    // Spreadsheet: what createSpreadsheet hands out (set by tests that need one).
    std::function<std::unique_ptr<core::Spreadsheet>()> spreadsheetFactory;
    bool spreadsheetInstalled = true;

    QStringList messageTexts() const;
    // Reports ("Application Error" boxes) only.
    std::vector<Message> errorReports() const;
    // Where each report says the failure happened, e.g. "Form1.PushButton9_Click at line 136".
    QStringList reportPlaces() const;

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

private:
    bool answerPaper(const core::PaperRequest &request, std::deque<std::optional<core::PaperChoices>> &answers);

    std::map<int, std::vector<std::function<void()>>> m_atYield;
};

} // namespace orvella::testing

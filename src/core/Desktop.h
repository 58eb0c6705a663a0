#pragma once

#include "core/ColumnChoice.h"
#include "core/ExportOptions.h"
#include "core/PaperChoices.h"
#include "core/RowGrouping.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QPagedPaintDevice;


namespace orvella::core {

class Spreadsheet;

// Message box styles and answers, numbered as the desktop's classic message box numbers them.
namespace MessageStyle {
inline constexpr int Ok = 0;
inline constexpr int YesNo = 4;
inline constexpr int Exclamation = 48;
} // namespace MessageStyle

namespace MessageAnswer {
inline constexpr int Ok = 1;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MessageAnswer

enum class Pointer { Default, Busy, Custom };

struct FileDialogRequest {
    QString title;
    QString filter;          // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"
    QString fileName;        // proposed name; the answer replaces it
    bool multiSelect = false;
    // Save dialogs: before answering a file that exists, the dialog asks whether to
    // replace it, and answers it only after Yes.
    bool confirmOverwrite = false;
    // Save dialogs: a name typed without an extension gets the chosen filter's.
    bool addFilterSuffix = false;
    // Save dialogs: the export's choices below the file list (none when null): the
    // name columns and how a CSV or TSV file is written. They hold the choices when the
    // dialog opens and receive them when it is answered.
    ExportOptions *exportOptions = nullptr;
};

// The layout's choices for paper: asked before a PDF is written and shown beside the
// print preview. The choices hold what the dialog opens with and receive the answer.
struct PaperRequest {
    QString title;       // the dialog's
    QStringList columns; // the columns a list can print, by caption
    PaperChoices *choices = nullptr;
};

// Print Results: the preview of the pages beside their choices, then the printer's dialog.
struct PrintRequest {
    PaperRequest paper;
    // Lays the pages out for the choices onto the device (the preview's or the printer's).
    std::function<void(QPagedPaintDevice &device, const PaperChoices &choices)> paint;
};

// Everything the program asks of the desktop goes through this one seam:
// the program uses QtDesktop, the tests a scripted double.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Shows a modal message box and answers the button pressed (MessageAnswer).
    virtual int messageBox(const QString &text, int style, const QString &title) = 0;
    // Asks for a line of text; answers "" when cancelled.
    virtual QString inputBox(const QString &prompt, const QString &title, const QString &defaultText) = 0;
    // Answers "" when cancelled, the full path of one chosen file, or for several
    // files the folder followed by each file name, all separated by NUL characters.
    // Several files that are not all in one folder come as an empty folder followed
    // by each file's full path.
    virtual QString openFileDialog(const FileDialogRequest &request) = 0;
    // Answers "" when cancelled, otherwise the chosen full path.
    virtual QString saveFileDialog(const FileDialogRequest &request) = 0;
    // Asks which columns of a table make a person's name, showing its first rows and
    // proposing request.proposed; answers the choice, Kind::Cancel when cancelled.
    virtual ColumnChoice chooseNameColumns(const ColumnRequest &request) = 0;
    // Asks which column groups the results and which rows count as the same, proposing
    // request.current; nothing when cancelled (a desktop without the dialog cancels).
    virtual std::optional<RowGrouping> chooseRowGrouping(const GroupingRequest &request)
    {
        (void)request;
        return std::nullopt;
    }

    // Asks how the results go on paper; false when cancelled.
    virtual bool choosePaperLayout(const PaperRequest &request) = 0;
    // Shows the print preview and, when the user prints, the printer's dialog and the
    // printing; false when cancelled. The request's choices receive what the user chose.
    virtual bool printPages(const PrintRequest &request) = 0;

    // Lets the window system process pending events. Cheap enough to call per item.
    virtual void yield() = 0;

    // One attempt each; false when the clipboard refused.
    virtual bool clearClipboard() = 0;
    virtual bool setClipboardText(const QString &text) = 0;

    // The user's spreadsheet application (null when none can be started).
    virtual std::unique_ptr<core::Spreadsheet> createSpreadsheet() = 0;
    virtual bool spreadsheetAvailable() = 0;

    // Opens a web address with the desktop's default handler.
    virtual bool openUrl(const QString &url) = 0;

    // Ends the program at once (closing the main window).
    virtual void endProgram() = 0;
};

} // namespace orvella::core

#include "app/QtDesktop.h"

#include "commands/FileDialogPaths.h"

#include "app/ExportOptionsPanel.h"
#include "app/GroupByColumnDialog.h"
#include "app/NameColumnsDialog.h"
#include "app/PaperDialogs.h"
#include "app/PlainBoxes.h"
#include "app/X11Clipboard.h"

#include "export/SpreadsheetPresence.h"
#include "tables/xlsx/XlsxSpreadsheet.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace orvella::app {

using namespace orvella::core;
namespace {
// How long the clipboard manager may take at most to copy the clipboard when the
// program ends (as long as the window system itself gives it).
constexpr int kClipboardHandoverMs = 5000;
// How long a program that took the clipboard over may take to give its text back.
constexpr int kReadBackMs = 500;
// How long the window system may wait at most between two passes of the event loop
// while a command works through its items.
constexpr qint64 kYieldIntervalMs = 15;
} // namespace

QtDesktop::QtDesktop() : m_lastEvents(coarseMilliseconds()) {}

QWidget *QtDesktop::dialogParent() const
{
    QWidget *active = QApplication::activeWindow();
    return active && active->isVisible() ? active : nullptr;
}

int QtDesktop::messageBox(const QString &text, int style, const QString &title)
{
    PlainMessageBox box(text, style, title, dialogParent());
    const int pressed = box.exec();
    m_lastEvents = coarseMilliseconds();
    return box.answer(pressed);
}

QString QtDesktop::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    PlainInputBox box(prompt, title, defaultText, dialogParent());
    const bool ok = box.exec() == QDialog::Accepted;
    m_lastEvents = coarseMilliseconds();
    return ok ? box.textValue() : QString();
}

QStringList QtDesktop::nameFilters(const QString &filter)
{
    // Pairs of description and pattern, separated by "|".
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            continue;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "*.*" means every file; on this platform many names have no dot.
        if (patterns == QLatin1String("*.*"))
            patterns = QStringLiteral("*");
        QString description = parts[i];
        const qsizetype bracket = description.indexOf(QLatin1Char('('));
        if (bracket >= 0)
            description.truncate(bracket);
        filters << description.trimmed() + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

QString QtDesktop::openFileDialog(const FileDialogRequest &request)
{
    QFileDialog dialog(dialogParent(), request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(request.filter));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    m_lastEvents = coarseMilliseconds();
    if (!accepted)
        return QString();
    return commands::openDialogAnswer(dialog.selectedFiles());
}

QString QtDesktop::saveFileDialog(const FileDialogRequest &request)
{
    QFileDialog dialog(dialogParent(), request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setNameFilters(nameFilters(request.filter));
    if (request.addFilterSuffix) {
        // "Results" typed with the CSV filter chosen saves "Results.csv".
        const auto takeSuffix = [&dialog](const QString &filter) {
            const QString pattern = filter.section(QLatin1Char('('), -1).section(QLatin1Char(' '), 0, 0);
            dialog.setDefaultSuffix(pattern.startsWith(QLatin1String("*.")) ? pattern.mid(2).remove(QLatin1Char(')'))
                                                                            : QString());
        };
        takeSuffix(dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, takeSuffix);
    }
    ExportOptionsPanel *choices = nullptr;
    if (request.exportOptions) {
        // The desktop's own dialog takes no widgets of ours: Qt's dialog is used instead.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        choices = new ExportOptionsPanel(*request.exportOptions, &dialog);
        if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
            grid->addWidget(choices, grid->rowCount(), 0, 1, grid->columnCount());
        choices->showFormat(dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, choices, &ExportOptionsPanel::showFormat);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    m_lastEvents = coarseMilliseconds();
    if (!accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (choices)
        *request.exportOptions = choices->options();
    return dialog.selectedFiles().first();
}

ColumnChoice QtDesktop::chooseNameColumns(const ColumnRequest &request)
{
    NameColumnsDialog dialog(request, dialogParent());
    dialog.exec();
    m_lastEvents = coarseMilliseconds();
    return dialog.choice();
}

bool QtDesktop::choosePaperLayout(const PaperRequest &request)
{
    const bool chosen = askPaperChoices(request, dialogParent());
    m_lastEvents = coarseMilliseconds();
    return chosen;
}

bool QtDesktop::printPages(const PrintRequest &request)
{
    const bool printed = showPrintPreview(request, dialogParent());
    m_lastEvents = coarseMilliseconds();
    return printed;
}

std::optional<core::RowGrouping> QtDesktop::chooseRowGrouping(const core::GroupingRequest &request)
{
    GroupByColumnDialog dialog(request, dialogParent());
    dialog.exec();
    m_lastEvents = coarseMilliseconds();
    return dialog.choice();
}

qint64 QtDesktop::coarseMilliseconds()
{
    // The coarse clock costs a few nanoseconds to read and ticks every few
    // milliseconds: fine-grained enough to pace the event loop, cheap enough to read
    // at every yield of a loop over a million items.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<qint64>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void QtDesktop::yield()
{
    const qint64 now = coarseMilliseconds();
    if (now - m_lastEvents < kYieldIntervalMs)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_lastEvents = coarseMilliseconds();
}

bool QtDesktop::clearClipboard()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    // Clearing withdraws what this program offers; there is nobody who could refuse it.
    clipboard->clear(QClipboard::Clipboard);
    return true;
}

bool QtDesktop::setClipboardText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text, QClipboard::Clipboard);
    // Placed means the clipboard now answers with this text. Qt's own ownership flag is
    // set even when the X server refused the selection, so the server is asked who holds
    // it: this program, with the text just set; or the program that took it over (a
    // clipboard manager that copied it answers with the same text), asked directly, as
    // Qt would wait long for one that never answers.
    switch (clipboardHolder()) {
    case ClipboardHolder::ThisProgram:
        return true;
    case ClipboardHolder::Nobody:
        return false;
    case ClipboardHolder::OtherProgram: {
        const ClipboardReading reading = readClipboardText(kReadBackMs);
        m_lastEvents = coarseMilliseconds();
        if (reading.outcome != ClipboardReading::Unknown)
            return reading.outcome == ClipboardReading::Text && reading.utf8 == text.toUtf8();
        break;
    }
    case ClipboardHolder::Unknown:
        break;
    }
    // Another window system, or an answer too large to be read directly: Qt asks.
    return clipboard->text(QClipboard::Clipboard) == text;
}

std::unique_ptr<core::Spreadsheet> QtDesktop::createSpreadsheet()
{
    return std::make_unique<tables::XlsxSpreadsheet>(
        [](const QString &path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }, QString(),
        [this] { yield(); });
}

bool QtDesktop::spreadsheetAvailable()
{
    return exporting::spreadsheetApplicationPresent();
}

bool QtDesktop::openUrl(const QString &url)
{
    return QDesktopServices::openUrl(QUrl(url));
}

void QtDesktop::endProgram()
{
    // Every setting is already on disk; nothing else is to be saved. Leaving at once
    // also ends a command that is yielding in the middle of its work. Only the copied
    // results are handed to the desktop's clipboard manager first, with every window
    // already gone, so that they can still be pasted.
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    handClipboardToManager(kClipboardHandoverMs);
    std::fflush(nullptr);
    ::_exit(0);
}

} // namespace orvella::app

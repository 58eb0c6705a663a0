#pragma once

#include "core/Desktop.h"

#include <QString>
#include <QStringList>

namespace orvella::commands {

// The filter of every list file dialog: text files (selected first) and all files.
inline const QString kListFileFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
// The main list's Load dialog also offers the tables whose rows it can read.
inline const QString kNamesOrTablesFilter =
    kListFileFilter + QStringLiteral("Tables (*.csv *.tsv *.xlsx *.ods)|*.csv;*.tsv;*.xlsx;*.ods|");
// Title of the main window's dialog that loads one or several list files.
inline const QString kLoadListsTitle = QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files");

// The request of a list file dialog in either window: the list file filter and the
// name to propose. The flags allow several files, which only the open dialogs use.
core::FileDialogRequest listFileDialogRequest(const QString &title, const QString &fileName);

// The full paths a file dialog's answer names: the answer itself for one file, or for
// several the folder joined to each file name (empty names skipped) and cleaned up
// with NormalizeBackslashes. With an empty folder the names are full paths already
// (files from several folders) and are taken as they are.
QStringList selectedPaths(const QString &dialogAnswer);

// The open dialog's answer for the files the user chose: one file's full path; several
// in one folder as the folder, then each name; several from different folders as an
// empty folder, then each full path; all separated by NUL characters.
QString openDialogAnswer(const QStringList &files);

// Path clean-up for a folder joined to a file name: every run of "/" becomes one "/",
// so that a file in the root folder reads "/a.txt". Other characters (backslashes
// included, which are ordinary characters in file names here) stay as they are.
QString NormalizeBackslashes(const QString &path);

} // namespace orvella::commands

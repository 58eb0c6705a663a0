#pragma once

#include <QDir>
#include <QFile>
#include <QString>

namespace orvella::tables {

// The private folder, in the temporary folder, that one exported workbook is written
// to. The run that made it holds it (an advisory lock on the folder) until it lets it go
// or ends; the spreadsheet application may have the workbook open all that time. A
// folder that no running program holds any longer is a leftover of an earlier run.
struct WorkbookFolder {
    QString path; // empty: none made yet
    int lock = -1;
};

// Makes a new folder "orvella-XXXXXX" in root that only this user can enter, and holds
// it. Throws a Failure when none can be made.
WorkbookFolder makeWorkbookFolder(const QString &root);

// Removes the folder with everything in it and lets it go.
void removeWorkbookFolder(WorkbookFolder &folder);

// Removes this user's workbook folders in root that no running program holds: those of
// earlier runs, whether their export succeeded or failed. Folders held by this run or
// by another running copy of the program stay.
void removeAbandonedWorkbookFolders(const QString &root);

// Writes all the bytes to a file of a scratch folder; false when it cannot. A write
// that the disk cuts short (it filled up part-way) is tried again for the rest, which
// fails with the reason, so that the file's error string tells it.
bool writeWhole(QFile &file, const char *bytes, qint64 size);

// A workbook folder in the temporary folder for files made on the way to a saved one
// (a workbook before it is copied to its place): removed with this object.
class ScratchFolder {
public:
    ScratchFolder() : m_folder(makeWorkbookFolder(QDir::tempPath())) {}
    ~ScratchFolder() { removeWorkbookFolder(m_folder); }
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    const QString &path() const { return m_folder.path; }
    QString filePath(const QString &name) const { return QDir(m_folder.path).filePath(name); }

private:
    WorkbookFolder m_folder;
};

} // namespace orvella::tables

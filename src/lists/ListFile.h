#pragma once

#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <memory>

class QIODevice;

namespace orvella::app {
class Desktop;
class ProgressState;
} // namespace orvella::app

namespace orvella::lists {

class NameListModel;

// The filter of every list file dialog: text files (selected first) and all files.
inline const QString kListFileFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
// Title of the main window's dialog that loads one or several list files.
inline const QString kLoadListsTitle = QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files");

// The reader takes a file in pieces of this many bytes.
inline constexpr qint64 kReadChunkBytes = qint64(1) << 20;

// Appends every non-empty line of the file at path to the list, in file order and in
// one batch. Lines end at CR LF, a lone CR or a lone LF. A file that starts with a
// byte-order mark is read as the mark says (UTF-16 either way, or UTF-8; the mark is
// dropped). Without one, each line is read as UTF-8 when it is valid UTF-8 and as
// Windows-1252 when it is not.
// A missing file shows "File not found" (OK box with the given title) and adds nothing.
// Throws app::Failure for any other problem (a folder, an unreadable file, a file that
// holds NUL characters); the list is then left as it was.
void ReadListFile(NameListModel &list, const QString &path, app::Desktop &desktop, const QString &title);

// Where a list file's lines go: a temporary file next to the target, which replaces
// the target only when every line has been written. Lines are written in UTF-8
// without byte-order mark, each followed by CR LF. Until commit() succeeds, the file
// that was there before stays as it was.
class ListFileOutput {
public:
    // Puts a device of its own between the writer and the file (it writes through to
    // the file it is given); lets a test make the writing fail part-way.
    using DeviceFilter = std::function<std::unique_ptr<QIODevice>(QIODevice &file)>;

    // Throws app::Failure when the file cannot be created.
    explicit ListFileOutput(const QString &path, const DeviceFilter &filter = {});
    ~ListFileOutput();
    ListFileOutput(const ListFileOutput &) = delete;
    ListFileOutput &operator=(const ListFileOutput &) = delete;

    // Writes the text and CR LF. Throws app::Failure when the bytes cannot be written;
    // the output is then broken: later lines are not written and commit() refuses.
    void writeLine(QStringView text);
    bool broken() const { return m_broken; }
    // Replaces the target with what was written; throws app::Failure when that fails.
    // Calls yield while the file is flushed to the disk.
    void commit(const std::function<void()> &yield = {});
    // Drops what was written; the target stays as it was.
    void discard();

private:
    QString m_path;
    QSaveFile m_file;
    std::unique_ptr<QIODevice> m_filter;
    QIODevice *m_out = nullptr;
    QByteArray m_line;
    bool m_broken = false;
    bool m_finished = false;
};

// Writes the list to the file at path as a table: a header line with the caption, then
// one line per item; each field is padded with spaces to the longest text of the
// column and followed by a TAB. With a progress state, shows the way through the list
// ("Writing file: " + the file's name, the count at every 1000th item, "Done.", then
// the idle text). Yields to the desktop between items; the file gets the items there
// were when the save began (items appended meanwhile are not written). Throws
// app::Failure when the file cannot be written or an item vanishes meanwhile; the file
// that was there before then stays untouched and the progress state as it last was.
void WriteListFile(const NameListModel &list, const QString &path, app::ProgressState *progress,
                   app::Desktop &desktop);
void WriteListFile(const NameListModel &list, const QString &path, app::ProgressState *progress,
                   app::Desktop &desktop, const ListFileOutput::DeviceFilter &filter);

// The full paths a file dialog's answer names: the answer itself for one file, or for
// several the folder joined to each file name (empty names skipped) and cleaned up
// with NormalizeBackslashes. With an empty folder the names are full paths already
// (files from several folders) and are taken as they are.
QStringList selectedPaths(const QString &dialogAnswer);

// Path clean-up for a folder joined to a file name: every run of "/" becomes one "/",
// so that a file in the root folder reads "/a.txt". Other characters (backslashes
// included, which are ordinary characters in file names here) stay as they are.
QString NormalizeBackslashes(const QString &path);

} // namespace orvella::lists

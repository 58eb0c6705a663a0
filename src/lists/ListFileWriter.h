#pragma once

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringView>
#include <functional>
#include <memory>

class QIODevice;

namespace orvella::core {
class Desktop;
class ProgressState;
} // namespace orvella::core

namespace orvella::lists {

class NameListModel;

// Where a list file's lines go. Lines are written in UTF-8 without byte-order mark,
// each followed by CR LF.
// An ordinary file (a new one, or a regular file with one name in a folder that takes
// a temporary file beside it) is written to a temporary file that replaces the target,
// with the old file's mode, owner and group, only when every line has been written;
// until commit() succeeds, the file that was there before stays as it was.
// Any other existing target is written in place: emptied, then written. So a file with
// a second name (hard link) keeps both names, a named pipe or a device node gets the
// lines and is never replaced by a regular file, and a writable file in a folder that
// takes no new files, or whose owner the new file could not keep, is still saved.
class ListFileOutput {
public:
    // Puts a device of its own between the writer and the file (it writes through to
    // the file it is given); lets a test make the writing fail part-way.
    using DeviceFilter = std::function<std::unique_ptr<QIODevice>(QIODevice &file)>;

    // Throws core::Failure when the file cannot be created or opened (a pipe that no
    // program reads counts as one that cannot be opened, rather than waiting for one).
    explicit ListFileOutput(const QString &path, const DeviceFilter &filter = {});
    ~ListFileOutput();
    ListFileOutput(const ListFileOutput &) = delete;
    ListFileOutput &operator=(const ListFileOutput &) = delete;

    // Writes the text and CR LF. Throws core::Failure when the bytes cannot be written;
    // the output is then broken: later lines are not written and commit() refuses.
    void writeLine(QStringView text);
    bool broken() const { return m_broken; }
    // True when the lines go straight into the target rather than a temporary file.
    bool inPlace() const { return m_file == &m_direct; }
    // Puts what was written in place; throws core::Failure when that fails. Calls yield
    // while the file is flushed to the disk.
    void commit(const std::function<void()> &yield = {});
    // Drops what was written; a target written through a temporary file stays as it
    // was, one written in place holds what got there.
    void discard();

private:
    void openInPlace(bool regular);
    // Qt's text for a failed write is "Unknown error" when the system took part of the
    // bytes; the system's own text for the error number says what happened.
    QString errorText(int error) const;

    QString m_path;
    QSaveFile m_replacement;
    QFile m_direct;
    QFileDevice *m_file = nullptr;
    bool m_regular = true;
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
// core::Failure when the file cannot be written or an item vanishes meanwhile; a file
// that was there before then stays untouched (unless it is written in place, see
// ListFileOutput) and the progress state as it last was.
void WriteListFile(const NameListModel &list, const QString &path, core::ProgressState *progress,
                   core::Desktop &desktop);
void WriteListFile(const NameListModel &list, const QString &path, core::ProgressState *progress,
                   core::Desktop &desktop, const ListFileOutput::DeviceFilter &filter);

} // namespace orvella::lists

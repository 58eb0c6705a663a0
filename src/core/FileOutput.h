#pragma once

#include "core/UnfinishedWrite.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QTemporaryFile>
#include <QStringView>
#include <functional>
#include <memory>

class QIODevice;

namespace orvella::core {

// Where a file's lines (or bytes) go: a list, a table or a workbook. Lines are written in UTF-8 without byte-order mark,
// each followed by CR LF. The target ends up holding either its whole old text or the
// whole new text:
// - An ordinary file (a new one, or a regular file with one name in a folder that takes
//   a temporary file beside it) is written to a temporary file that replaces the
//   target, with the old file's mode, owner and group, only when every line has been
//   written.
// - A regular file that cannot be replaced by a new file (it has a second name, its
//   folder takes no new file, or its owner could not be kept) keeps its name and
//   inode: the lines go to a temporary file (beside it, else in the temporary folder)
//   that is copied into the target once it is whole (see core::replaceTextInPlace).
//   When no temporary file can be made anywhere, the save is refused before the target
//   is touched.
// - A named pipe or a device node gets the lines as they come and is never replaced by
//   a regular file.
class FileOutput {
public:
    // Puts a device of its own between the writer and the file (it writes through to
    // the file it is given); lets a test make the writing fail part-way.
    using DeviceFilter = std::function<std::unique_ptr<QIODevice>(QIODevice &file)>;

    // Throws core::Failure when the file cannot be created or opened (a pipe that no
    // program reads counts as one that cannot be opened, rather than waiting for one).
    explicit FileOutput(const QString &path, const DeviceFilter &filter = {});
    // The program's standard output: the lines go to it as they come.
    static std::unique_ptr<FileOutput> standardOutput();
    ~FileOutput();
    FileOutput(const FileOutput &) = delete;
    FileOutput &operator=(const FileOutput &) = delete;

    // Writes the text and CR LF. Throws core::Failure when the bytes cannot be written;
    // the output is then broken: later lines are not written and commit() refuses.
    void writeLine(QStringView text);
    // Writes the bytes as they are (a file that is no list, such as a workbook). Throws
    // and breaks the output as writeLine does.
    void writeBytes(QByteArrayView bytes);
    // Lines gather in a buffer and reach the file a large piece at a time, for a run
    // that writes millions of them; a failed write then shows at the piece that failed
    // or at commit() rather than at its own line.
    void setBatched(bool batched) { m_batched = batched; }
    // What ends each line: CR LF unless set otherwise.
    void setLineEnd(QByteArrayView end) { m_lineEnd = end.toByteArray(); }
    // The system's error number of the write that failed (0 when none did, or it had none).
    int failedWith() const { return m_error; }
    bool broken() const { return m_broken; }
    // True when the lines go straight into the target (a pipe or a device).
    bool inPlace() const { return m_mode == Mode::Stream; }
    // Puts what was written in place; throws core::Failure when that fails. Calls yield
    // while the file is flushed to the disk.
    void commit(const std::function<void()> &yield = {});
    // Drops what was written; a regular target stays as it was, a pipe or a device has
    // had what got there.
    void discard();

private:
    FileOutput(); // standardOutput()
    enum class Mode { Replace, Copy, Stream };
    void openStream();
    // Appends the text's UTF-8 and the line end to `into`.
    void encodeLine(QStringView text, QByteArray &into) const;
    // Writes the bytes; throws (and breaks the output) when they do not all get there.
    void writeOut(QByteArrayView bytes);
    void openCopy();
    // Flushes the lines and puts them in place (runs on a worker thread); the error's
    // text, or an empty text when all went well.
    QString finish();
    // Removes the temporary file (and lets go of the target) without touching the target.
    void dropTemporary();
    // Qt's text for a failed write is "Unknown error" when the system took part of the
    // bytes; the system's own text for the error number says what happened.
    QString errorText(int error) const;

    core::UnfinishedWrite m_unfinished; // the program does not end while this lives
    QString m_path;
    QSaveFile m_replacement;
    QFile m_direct;         // Stream: the pipe or device itself
    QTemporaryFile m_copy;  // Copy: the new text until it is whole
    int m_target = -1;      // Copy: the target, open for reading and writing
    QFileDevice *m_file = nullptr;
    Mode m_mode = Mode::Replace;
    std::unique_ptr<QIODevice> m_filter;
    QIODevice *m_out = nullptr;
    static constexpr qsizetype kBatchBytes = qsizetype(1) << 18;
    QByteArray m_line;
    QByteArray m_batch;
    bool m_batched = false;
    QByteArray m_lineEnd = QByteArrayLiteral("\r\n");
    int m_error = 0;
    bool m_broken = false;
    bool m_finished = false;
};

} // namespace orvella::core

#include "core/FileOutput.h"

#include "core/BackgroundWork.h"
#include "core/Desktop.h"
#include "core/Failure.h"
#include "core/FileReplacement.h"
#include "core/InPlaceText.h"
#include "core/Paths.h"
#include "core/ProgressState.h"
#include "core/Utf8.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvella::core {


FileOutput::FileOutput(const QString &path, const DeviceFilter &filter)
    : m_path(path), m_replacement(path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw Failure(QStringLiteral("Cannot create %1: it is a folder").arg(path));
    if (core::isWriteProtected(info))
        throw Failure(QStringLiteral("Cannot replace %1: the file is write-protected").arg(path));

    struct stat old {};
    const bool exists = ::stat(QFile::encodeName(path).constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        openStream();
    } else if (exists && old.st_nlink > 1) {
        openCopy();
    } else if (openBeside(m_replacement, exists ? &old : nullptr)) {
        m_file = &m_replacement;
    } else if (exists) {
        openCopy();
    } else {
        m_finished = true;
        throw Failure(QStringLiteral("Cannot create %1: %2").arg(path, m_replacement.errorString()));
    }
    m_out = m_file;
    if (filter) {
        m_filter = filter(*m_file);
        if (m_filter)
            m_out = m_filter.get();
    }
}

FileOutput::FileOutput() : m_path(QStringLiteral("standard output"))
{
    if (!m_direct.open(STDOUT_FILENO, QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        throw Failure(QStringLiteral("Cannot write to standard output: %1").arg(m_direct.errorString()));
    m_mode = Mode::Stream;
    m_file = &m_direct;
    m_out = m_file;
}

std::unique_ptr<FileOutput> FileOutput::standardOutput()
{
    return std::unique_ptr<FileOutput>(new FileOutput());
}

void FileOutput::openStream()
{
    // Not blocking: a pipe that nobody reads fails at once instead of holding the window
    // until somebody does. The writes that follow wait as usual.
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        m_finished = true;
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(m_path, qt_error_string(error)));
    }
    if (!m_direct.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        m_finished = true;
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(m_path, m_direct.errorString()));
    }
    m_mode = Mode::Stream;
    m_file = &m_direct;
}

void FileOutput::openCopy()
{
    m_mode = Mode::Copy;
    // The target is opened now, so that a file this user may not write fails before any
    // line is written; it is not changed until the new text is whole.
    m_target = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CLOEXEC);
    if (m_target < 0) {
        m_finished = true;
        throw Failure(QStringLiteral("Cannot open %1: %2").arg(m_path, qt_error_string(errno)));
    }
    m_copy.setFileTemplate(m_path + QStringLiteral(".XXXXXX"));
    if (!m_copy.open()) {
        m_copy.setFileTemplate(QDir(QDir::tempPath()).filePath(QStringLiteral("orvella-save.XXXXXX")));
        if (!m_copy.open()) {
            ::close(std::exchange(m_target, -1));
            m_finished = true;
            throw Failure(QStringLiteral("Cannot save %1 safely: no temporary file for its new text could be made "
                                         "beside it or in %2 (%3). It was left as it was")
                              .arg(m_path, QDir::tempPath(), m_copy.errorString()));
        }
    }
    m_file = &m_copy;
}

FileOutput::~FileOutput()
{
    discard();
}

QString FileOutput::errorText(int error) const
{
    if (m_out == m_file && error != 0)
        return qt_error_string(error);
    return m_out->errorString();
}

void FileOutput::encodeLine(QStringView text, QByteArray &into) const
{
    // UTF-8 as QString::toUtf8 writes it, a lone surrogate as "?", then the line end.
    const qsizetype start = into.size();
    into.resize(start + 3 * text.size() + m_lineEnd.size());
    char *out = core::putUtf8(into.data() + start, text);
    const char *end = std::copy(m_lineEnd.cbegin(), m_lineEnd.cend(), out);
    into.truncate(end - into.constData());
}

void FileOutput::writeOut(QByteArrayView bytes)
{
    errno = 0;
    if (m_out->write(bytes.data(), bytes.size()) != bytes.size()) {
        const int error = errno;
        m_error = error;
        m_broken = true;
        throw Failure(QStringLiteral("Cannot write %1: %2").arg(m_path, errorText(error)));
    }
}

void FileOutput::writeLine(QStringView text)
{
    if (m_broken || m_finished)
        return;
    if (m_batched) {
        encodeLine(text, m_batch);
        if (m_batch.size() >= kBatchBytes) {
            writeOut(m_batch);
            m_batch.resize(0);
        }
        return;
    }
    // Encoded into the same buffer each time, so a save of millions of names makes no
    // string a line.
    m_line.resize(0);
    encodeLine(text, m_line);
    writeOut(m_line);
}

void FileOutput::writeBytes(QByteArrayView bytes)
{
    if (m_broken || m_finished)
        return;
    if (!m_batch.isEmpty()) {
        writeOut(m_batch);
        m_batch.resize(0);
    }
    writeOut(bytes);
}

void FileOutput::commit(const std::function<void()> &yield)
{
    if (!m_broken && !m_finished && !m_batch.isEmpty()) {
        writeOut(m_batch);
        m_batch.clear();
    }
    if (m_broken) {
        discard();
        throw Failure(QStringLiteral("%1 was not saved: writing it failed").arg(m_path));
    }
    if (m_finished)
        return;
    m_finished = true;
    // Flushing a large file to the disk can take a while: the window goes on meanwhile.
    QString error;
    core::runWhileYielding([&] { error = finish(); }, yield);
    if (!error.isEmpty())
        throw Failure(error);
}

QString FileOutput::finish()
{
    // QSaveFile::commit() misses a failure of the last buffered bytes on their way to
    // the disk (a full disk, a file-size limit) and would put the cut-short file in
    // place of the old one. So they are flushed first, and a failure drops the
    // temporary file.
    errno = 0;
    const bool flushed = m_file->flush();
    const int error = errno;
    if (!flushed) {
        m_error = error;
        const QString text = error != 0 ? qt_error_string(error) : m_file->errorString();
        dropTemporary();
        return QStringLiteral("Cannot write %1: %2").arg(m_path, text);
    }
    switch (m_mode) {
    case Mode::Replace:
        if (!m_replacement.commit())
            return QStringLiteral("Cannot save %1: %2").arg(m_path, m_replacement.errorString());
        return {};
    case Mode::Copy:
        try {
            core::replaceTextInPlace(m_target, m_path, m_copy);
        } catch (const Failure &failure) {
            dropTemporary();
            return failure.description();
        }
        dropTemporary();
        return {};
    case Mode::Stream:
        // A pipe or a device takes no sync.
        m_direct.close();
        return {};
    }
    return {};
}

void FileOutput::dropTemporary()
{
    if (m_mode == Mode::Replace) {
        m_replacement.cancelWriting();
        m_replacement.commit();
    } else if (m_mode == Mode::Copy) {
        m_copy.remove();
        m_copy.close();
        if (m_target >= 0)
            ::close(std::exchange(m_target, -1));
    }
}

void FileOutput::discard()
{
    if (m_finished)
        return;
    m_finished = true;
    if (m_mode == Mode::Stream)
        m_direct.close();
    else
        dropTemporary(); // removes the temporary file now rather than when this object goes
}

} // namespace orvella::core

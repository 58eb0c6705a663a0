#include "core/InPlaceText.h"

#include "core/Failure.h"

#include <QByteArray>
#include <QIODevice>

#include <cerrno>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvella::core {
namespace {

constexpr qint64 kChunk = qint64(1) << 20;

// Writes the bytes at the offset; 0, or the error number of the write that failed.
// Sets `wrote` as soon as any byte has reached the file.
int writeAt(int fd, const char *data, qint64 size, qint64 offset, bool &wrote)
{
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size_t(size), off_t(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        wrote = true;
        data += written;
        size -= written;
        offset += written;
    }
    return 0;
}

// The file's whole text; throws when it cannot be read or kept.
QByteArray oldTextOf(int fd, const QString &path)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw Failure(QStringLiteral("Cannot read %1: %2. It was left as it was").arg(path, qt_error_string(errno)));
    QByteArray text;
    try {
        text.resize(qsizetype(info.st_size));
    } catch (const std::bad_alloc &) {
        throw Failure(QStringLiteral("Cannot save %1 safely: there is no memory to keep its old text meanwhile. "
                                     "It was left as it was")
                          .arg(path));
    }
    qsizetype done = 0;
    while (done < text.size()) {
        const ssize_t got = ::pread(fd, text.data() + done, size_t(text.size() - done), off_t(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw Failure(QStringLiteral("Cannot read %1: %2. It was left as it was").arg(path, qt_error_string(errno)));
        if (got == 0)
            break; // shorter than it was a moment ago: what is there is the old text
        done += got;
    }
    text.truncate(done);
    return text;
}

// Copies the new text over the file's start, cuts the file to its length and puts it
// on the disk. 0, or the error number of the step that failed; `touched` tells whether
// any byte of the file was changed before that.
int copyOver(int fd, QIODevice &newText, bool &touched)
{
    if (!newText.seek(0))
        return EIO;
    QByteArray chunk;
    qint64 offset = 0;
    while (!newText.atEnd()) {
        chunk = newText.read(kChunk);
        if (chunk.isEmpty())
            return EIO;
        if (const int error = writeAt(fd, chunk.constData(), chunk.size(), offset, touched))
            return error;
        offset += chunk.size();
    }
    if (::ftruncate(fd, off_t(offset)) != 0)
        return errno;
    touched = true;
    return ::fsync(fd) == 0 ? 0 : errno;
}

} // namespace

void replaceTextInPlace(int fd, const QString &path, QIODevice &newText)
{
    const QByteArray old = oldTextOf(fd, path);

    // The blocks the longer text needs are taken now, while the file still holds its
    // old text; a file system that cannot reserve them leaves it to the writes below.
    const qint64 newSize = newText.size();
    if (newSize > old.size() && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(newSize)) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        throw Failure(QStringLiteral("Cannot write %1: %2. It was left as it was").arg(path, qt_error_string(errno)));
    }

    bool touched = false;
    const int error = copyOver(fd, newText, touched);
    if (error == 0)
        return;
    if (!touched)
        throw Failure(QStringLiteral("Cannot write %1: %2. It was left as it was").arg(path, qt_error_string(error)));
    bool restoring = false;
    const bool restored = writeAt(fd, old.constData(), old.size(), 0, restoring) == 0 &&
                          ::ftruncate(fd, off_t(old.size())) == 0 && ::fsync(fd) == 0;
    if (restored)
        throw Failure(QStringLiteral("Cannot write %1: %2. Its old text was put back").arg(path, qt_error_string(error)));
    throw Failure(QStringLiteral("Cannot write %1: %2. Its old text could not be put back either: "
                                 "the file is incomplete")
                      .arg(path, qt_error_string(error)));
}

} // namespace orvella::core
